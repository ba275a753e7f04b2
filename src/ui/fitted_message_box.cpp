#include "ui/fitted_message_box.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QRegularExpression>
#include <QScreen>
#include <algorithm>

namespace dorvane::ui {
namespace {

// The title bar also holds the window manager's icon and buttons, whose width the
// program cannot know: a generous allowance.
constexpr int kTitleBarAllowance = 120;

int longestRun(const QString& text, const QFont& font) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& run :
         text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        widest = std::max(widest, metrics.horizontalAdvance(run));
    }
    return widest;
}

}  // namespace

void FittedMessageBox::showEvent(QShowEvent* event) {
    QMessageBox::showEvent(event);
    auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label || !layout()) return;
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const int forTitle =
        QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + kTitleBarAllowance;
    const int besideText = width() - label->width();
    int wanted = std::max(longestRun(text(), label->font()) + 2 + besideText, forTitle);
    if (const QScreen* shownOn = screen()) {
        wanted = std::min(wanted, shownOn->availableGeometry().width() * 9 / 10);
    }
    if (wanted <= width()) return;
    label->setWordWrap(true);
    setFixedSize(wanted,
                 layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(wanted) : height());
}

}  // namespace dorvane::ui
