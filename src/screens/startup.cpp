// The connection screen's load step: the program's start-up sequence.
#include <QFileInfo>

#include "core/app_info.h"
#include "core/hand_pointer.h"
#include "core/procedure.h"
#include "screens/connection_screen.h"
#include "screens/connection_settings.h"
#include "screens/settings_problem.h"
#include "screens/transfer_screen.h"

namespace dorvane::screens {
namespace {
const QString kSkinFile = QStringLiteral("x/o.cjs");

// The numbered lines of the load step, in the order of their numbers.
namespace form_load {
enum Line : int {
    ApplySkin = 100,
    SetCaptionAndIcon = 104,
    LetEventsRun = 124,
    CursorFileCheck = 126,
    LoadCursor = 128,
    // 130 to 150: each of kConnectionSettings' restoreLine.
    BothServersGivenCheck = 152,
    PostgresOpensCheck = 154,
    MssqlOpensCheck = 156,
    PressNext = 158,
};
}  // namespace form_load

}  // namespace

void ConnectionScreen::startUp() {
    load();
    if (!(transfer_ && transfer_->loaded() && transfer_->window().visible())) controls_.form.show();
    // Once the first window is up: the fields are restored by then, whatever the file held.
    tellSettingsProblem(app_.platform, app_.settings);
}

void ConnectionScreen::load() {
    core::Procedure p(app_.platform, QStringLiteral("Form1"), QStringLiteral("Form_Load"));
    using enum form_load::Line;
    p.step(ApplySkin, [&] { applySkin(); });
    p.step(SetCaptionAndIcon, [&] {
        controls_.form.setCaption(core::kDisplayName);
        controls_.form.setAppIcon();
        app_.platform.setAppTitle(core::shortenedAppTitle(core::kDisplayName));
    });
    p.step(LetEventsRun, [&] { app_.platform.processEvents(); });
    core::loadHandPointer(p, CursorFileCheck, LoadCursor, app_.platform, controls_.form);
    restoreFields(p);
    advanceWhenBothConnect(p);
}

// No skinning component is built in; only the colour half of the skin applies.
void ConnectionScreen::applySkin() {
    if (QFileInfo(core::programFile(app_.platform.programFolder(), kSkinFile)).isFile()) {
        controls_.form.applyFormColors();
    }
}

// Each assignment raises the field's change event, whose writer stores the value back.
void ConnectionScreen::restoreFields(core::Procedure& p) {
    for (const ConnectionSetting& setting : kConnectionSettings) {
        p.step(setting.restoreLine, [&] {
            const QString stored = app_.settings.get(QString::fromLatin1(setting.key),
                                                     QString::fromLatin1(setting.defaultValue));
            if (setting.field == kLocalConnectionBox) {
                controls_.localConnection.setValue(boxValueFromSetting(stored));
            } else {
                controls_.field(setting.field).setText(stored);
            }
        });
    }
}

void ConnectionScreen::advanceWhenBothConnect(core::Procedure& p) {
    using enum form_load::Line;
    if (!p.test(BothServersGivenCheck, [&] {
            return !controls_.fields.postgresServer->text().isEmpty() &&
                   !controls_.fields.mssqlServer->text().isEmpty();
        })) {
        return;
    }
    // No window is shown yet: there is nothing to keep going while these wait.
    if (!p.test(PostgresOpensCheck,
                [&] { return app_.databases.openPostgresSucceeds(postgres(), {}); })) {
        return;
    }
    if (!p.test(MssqlOpensCheck, [&] { return app_.databases.openMssqlSucceeds(mssql(), {}); }))
        return;
    p.step(PressNext, [&] { next(); });
}

}  // namespace dorvane::screens
