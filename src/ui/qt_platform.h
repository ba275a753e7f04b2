#pragma once
// The desktop as Qt Widgets offers it.

#include "core/platform.h"

namespace dorvane::ui {

class QtPlatform : public core::Platform {
  public:
    int messageBox(const QString& text, core::MsgButtons buttons = core::MsgButtons::Ok,
                   core::MsgIcon icon = core::MsgIcon::None,
                   const QString& title = QString()) override;
    void messageBoxWithDetails(const QString& text, const QString& details) override;
    QString inputBox(const QString& prompt, const QString& defaultText) override;
    void processEvents() override;
    void shellOpen(const QString& target) override;
    QString programFolder() const override;
    QString appTitle() const override { return appTitle_; }
    void setAppTitle(const QString& title) override { appTitle_ = title; }
    // Ends the process on the spot, so no step of a running handler carries on.
    [[noreturn]] void endProgram() override;

  private:
    QString appTitle_;
};

// Message texts break lines with CR or CR LF; a label breaks them with LF.
QString displayedMessageText(const QString& text);

}  // namespace dorvane::ui
