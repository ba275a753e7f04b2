#include "ui/qt_platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "ui/fitted_message_box.h"

namespace dorvane::ui {

QString displayedMessageText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    return shown;
}

int QtPlatform::messageBox(const QString& text, core::MsgButtons buttons, core::MsgIcon icon,
                           const QString& title) {
    FittedMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title.isEmpty() ? appTitle_ : title);
    box.setTextFormat(Qt::PlainText);
    box.setText(displayedMessageText(text));
    box.setIcon(icon == core::MsgIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
    if (buttons == core::MsgButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int answer = box.exec();
    if (buttons == core::MsgButtons::Ok) return core::kAnswerOk;
    return answer == QMessageBox::Yes ? core::kAnswerYes : core::kAnswerNo;
}

void QtPlatform::messageBoxWithDetails(const QString& text, const QString& details) {
    FittedMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(appTitle_);
    box.setTextFormat(Qt::PlainText);
    box.setText(displayedMessageText(text));
    box.setDetailedText(details);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

QString QtPlatform::inputBox(const QString& prompt, const QString& defaultText) {
    bool accepted = false;
    const QString typed = QInputDialog::getText(QApplication::activeWindow(), appTitle_, prompt,
                                                QLineEdit::Normal, defaultText, &accepted);
    return accepted ? typed : QString();
}

void QtPlatform::processEvents() {
    QCoreApplication::processEvents();
}

void QtPlatform::shellOpen(const QString& target) {
#ifdef Q_OS_WIN
    // The file browser opens the file in its default viewer.
    if (!QProcess::startDetached(QStringLiteral("explorer"), {QDir::toNativeSeparators(target)}))
        throw std::runtime_error("File not found");
#else
    const QUrl url =
        QFileInfo(target).isAbsolute() ? QUrl::fromLocalFile(target) : QUrl::fromUserInput(target);
    if (!QDesktopServices::openUrl(url)) throw std::runtime_error("File not found");
#endif
}

QString QtPlatform::programFolder() const {
    return QCoreApplication::applicationDirPath();
}

void QtPlatform::endProgram() {
    // The settings store writes each value through at once: nothing is left to flush.
    for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(EXIT_SUCCESS);
}

}  // namespace dorvane::ui
