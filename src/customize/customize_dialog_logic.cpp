#include "customize/customize_dialog_logic.h"

#include "core/app_info.h"
#include "core/hand_pointer.h"
#include "core/procedure.h"
#include "customize/data_type_check.h"
#include "customize/field_discovery.h"
#include "customize/number_text.h"
#include "sql/sql_quoting.h"

namespace dorvane::customize {
namespace {

const QString kModule = QStringLiteral("Form3");

// The numbered lines of each handler, in the order of their numbers.
namespace form_load {
enum Line : int {
    ApplyColors = 100,
    SetIcon = 102,
    CursorFileCheck = 104,
    LoadCursor = 106,
    ForgetChange = 108,
    TowardsPostgresCheck = 110,
    LoadMssqlFields = 112,
    TowardsSqlServerCheck = 114,
    LoadPostgresFields = 116,
};
}  // namespace form_load

namespace change_button {
enum Line : int {
    ValidTypeCheck = 100,
    ChangeType = 102,
    MarkChanged = 104,
    RefuseType = 106,
};
}  // namespace change_button

namespace ok_button {
enum Line : int {
    TowardsPostgresCheck = 100,
    ClearNumericList = 102,
    // 104 to 130: kPostgresOkLines; 132 to 154: kSqlServerOkLines.
    ForgetChange = 156,
    MarkAccepted = 158,
    CloseWindow = 160,
};
}  // namespace ok_button

namespace help_button {
enum Line : int {
    TowardsPostgresCheck = 100,
    OpenPostgresTypes = 102,
    TowardsSqlServerCheck = 104,
    ListSqlServerTypes = 106,
};
}  // namespace help_button

namespace cancel_button {
enum Line : int {
    CloseWindow = 100,
};
}  // namespace cancel_button

namespace query_unload {
enum Line : int {
    ChangedCheck = 100,
    AskToLeave = 102,
    KeepOpen = 104,
};
}  // namespace query_unload

}  // namespace

// The numbered lines of OK's column loop, which has one copy per direction. The
// "next i" lines (126, 150) number no work of their own. Only towards PostgreSQL does the
// loop list the numeric columns, on lines of its own.
struct OkLoopLines {
    int loop, events, nameTest, newName, newColumn, oldNameAppend, newNameAppend, plainColumn;
    int numericTest, numericAppend;
    int append, dropComma, close;
    bool listsNumericColumns;
};

namespace {
// The line of a step the direction does not take.
constexpr int kNotTaken = 0;
// clang-format off
//                                      loop events name new  column old  generated plain numeric: test,      append     sql  drop-comma close numeric list
constexpr OkLoopLines kPostgresOkLines {104, 106,   108, 110, 112,   114, 116,      118,            120,       122,       124, 128,       130,  true};
constexpr OkLoopLines kSqlServerOkLines{132, 134,   136, 138, 140,   142, 144,      146,            kNotTaken, kNotTaken, 148, 152,       154,  false};
// clang-format on
}  // namespace

CustomizeDialogLogic::CustomizeDialogLogic(core::Platform& platform,
                                           const db::ProfileSource& profiles,
                                           bool& customizationCancelled,
                                           CustomizeDialogControls controls,
                                           CustomizeWindowActions& window)
    : platform_(platform),
      profiles_(profiles),
      customizationCancelled_(customizationCancelled),
      controls_(controls),
      window_(window) {}

void CustomizeDialogLogic::load() {
    core::Procedure p(platform_, kModule, QStringLiteral("Form_Load"));
    using enum form_load::Line;
    // The lists are the window's and start empty at every load.
    p.unnumbered([&] {
        controls_.fields.clear();
        controls_.dataTypes.clear();
        controls_.dataType.setText(QString());
        controls_.pointer.setPointer(core::MousePointer::Default);
    });
    p.step(ApplyColors, [&] { window_.applyFormColors(); });
    p.step(SetIcon, [&] { window_.setApplicationIcon(); });
    core::loadHandPointer(p, CursorFileCheck, LoadCursor, platform_, window_);
    p.step(ForgetChange, [&] { changed_ = false; });
    if (p.test(TowardsPostgresCheck,
               [&] { return members_.direction == transfer::Direction::ToPostgres; })) {
        p.step(LoadMssqlFields, [&] {
            LoadMSSQLFields(profiles_.mssql(), members_.tableName, controls_.fields,
                            controls_.dataTypes, [this] { platform_.processEvents(); },
                            members_.naturalTypes);
        });
    } else if (p.test(TowardsSqlServerCheck,
                      [&] { return members_.direction == transfer::Direction::ToSqlServer; })) {
        p.step(LoadPostgresFields, [&] {
            LoadPostgreSQLFields(profiles_.postgres(), members_.tableName, controls_.fields,
                                 controls_.dataTypes, [this] { platform_.processEvents(); },
                                 members_.naturalTypes);
        });
    }
}

void CustomizeDialogLogic::selectRowInStep(core::ListBox& clicked, core::ListBox& other) {
    if (clicked.count() == 0) return;
    const int row = clicked.currentIndex();
    // A list being emptied reports "no row"; there is nothing to follow then.
    if (row < 0) return;
    if (row < other.count()) {
        // As on a single-selection list: the row becomes current and the only selected one.
        for (int i = 0; i < other.count(); ++i) other.setSelected(i, i == row);
        other.setCurrentIndex(row);
    }
    controls_.dataType.setText(controls_.dataTypes.text(row));
}

void CustomizeDialogLogic::onFieldsClicked() {
    selectRowInStep(controls_.fields, controls_.dataTypes);
}

void CustomizeDialogLogic::onDataTypesClicked() {
    selectRowInStep(controls_.dataTypes, controls_.fields);
}

void CustomizeDialogLogic::onChangeClicked() {
    core::Procedure p(platform_, kModule, QStringLiteral("PushButton1_Click"));
    using enum change_button::Line;
    if (p.test(ValidTypeCheck, [&] { return IsValidDataType(controls_.dataType.text()); })) {
        // With no row selected there is nothing to change.
        if (controls_.dataTypes.currentIndex() < 0) return;
        p.step(ChangeType, [&] {
            controls_.dataTypes.setText(controls_.dataTypes.currentIndex(),
                                        controls_.dataType.text());
        });
        p.step(MarkChanged, [&] { changed_ = true; });
    } else {
        p.step(RefuseType, [&] { platform_.messageBox(QStringLiteral("Invalid datatype.")); });
    }
}

QString CustomizeDialogLogic::newFieldName(const QStringList& generatedEarlier) const {
    const core::ListBox& fields = controls_.fields;
    const int fieldCount = fields.count();
    const auto nameAt = [&](int j) {
        return j < fieldCount ? fields.text(j) : generatedEarlier[j - fieldCount];
    };
    const int taken = fieldCount + static_cast<int>(generatedEarlier.size());

    QString candidate = QStringLiteral("newfieldname0");
    int counter = 0;
    for (int j = 0; j < taken;) {
        if (nameAt(j) == candidate) {
            ++counter;
            candidate = QStringLiteral("tempid") + QString::number(counter);
            j = 0;
        } else {
            ++j;
        }
    }
    return candidate;
}

void CustomizeDialogLogic::appendColumns(core::Procedure& p, const OkLoopLines& lines) {
    core::ListBox& fields = controls_.fields;
    core::ListBox& types = controls_.dataTypes;
    QStringList generated;  // within this OK, so no two columns get the same name
    int count = 0;
    p.step(lines.loop, [&] { count = types.count(); });
    for (int i = 0; i < count; ++i) {
        QString column;
        p.step(lines.events, [&] { platform_.processEvents(); });
        if (p.test(lines.nameTest, [&] { return readsAsNumber(fields.text(i)); })) {
            QString name;
            p.step(lines.newName, [&] { name = newFieldName(generated); });
            generated << name;
            p.step(lines.newColumn, [&] { column = sql::doubleQuotedName(name); });
            p.step(lines.oldNameAppend, [&] { members_.oldFieldNames << fields.text(i); });
            p.step(lines.newNameAppend, [&] { members_.newFieldNames << name; });
        } else {
            p.step(lines.plainColumn, [&] { column = sql::doubleQuotedName(fields.text(i)); });
        }
        if (lines.listsNumericColumns) {
            if (p.test(lines.numericTest, [&] {
                    const QString type = types.text(i).toLower();
                    return type == u"int" || type == u"currency";
                })) {
                p.step(lines.numericAppend,
                       [&] { members_.numericColumns += QString::number(i) + u','; });
            }
        }
        p.step(lines.append,
               [&] { members_.createTableSql += column + u' ' + types.text(i) + u','; });
    }
    p.step(lines.dropComma, [&] { members_.createTableSql.chop(1); });
    p.step(lines.close, [&] { members_.createTableSql += u')'; });
}

void CustomizeDialogLogic::onOkClicked() {
    core::Procedure p(platform_, kModule, QStringLiteral("PushButton2_Click"));
    using enum ok_button::Line;
    if (p.test(TowardsPostgresCheck,
               [&] { return members_.direction == transfer::Direction::ToPostgres; })) {
        p.step(ClearNumericList, [&] { members_.numericColumns.clear(); });
        appendColumns(p, kPostgresOkLines);
    } else {
        appendColumns(p, kSqlServerOkLines);
    }
    p.step(ForgetChange, [&] { changed_ = false; });
    p.step(MarkAccepted, [&] { customizationCancelled_ = false; });
    p.step(CloseWindow, [&] { window_.unload(); });
}

void CustomizeDialogLogic::onHelpClicked() {
    core::Procedure p(platform_, kModule, QStringLiteral("PushButton3_Click"));
    using enum help_button::Line;
    if (p.test(TowardsPostgresCheck,
               [&] { return members_.direction == transfer::Direction::ToPostgres; })) {
        p.step(OpenPostgresTypes, [&] { platform_.shellOpen(kPostgresDataTypesAddress); });
    } else if (p.test(TowardsSqlServerCheck,
                      [&] { return members_.direction == transfer::Direction::ToSqlServer; })) {
        p.step(ListSqlServerTypes, [&] {
            platform_.messageBox(
                QStringLiteral("The following are the Data Types of MS SQL Server: \r\n") +
                helpTypeListText());
        });
    }
}

void CustomizeDialogLogic::onCancelClicked() {
    core::Procedure p(platform_, kModule, QStringLiteral("PushButton4_Click"));
    p.step(cancel_button::CloseWindow, [&] { window_.unload(); });
}

void CustomizeDialogLogic::onQueryUnload(bool& cancel) {
    core::Procedure p(platform_, kModule, QStringLiteral("Form_QueryUnload"));
    using enum query_unload::Line;
    if (p.test(ChangedCheck, [&] { return changed_; })) {
        int answer = core::kAnswerYes;
        p.step(AskToLeave, [&] {
            answer = platform_.messageBox(
                QStringLiteral(
                    "Data type has been change.\r\nDo you still want to exit without changes?"),
                core::MsgButtons::YesNo);
        });
        if (answer == core::kAnswerNo) p.step(KeepOpen, [&] { cancel = true; });
    }
}

void CustomizeDialogLogic::pushButtonMouseMove() {
    if (controls_.pointer.pointer() != core::MousePointer::Busy)
        controls_.pointer.setPointer(core::MousePointer::Custom);
}

void CustomizeDialogLogic::surfaceMouseMove() {
    if (controls_.pointer.pointer() != core::MousePointer::Busy)
        controls_.pointer.setPointer(core::MousePointer::Default);
}

}  // namespace dorvane::customize
