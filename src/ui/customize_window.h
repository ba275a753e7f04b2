#pragma once
// The data type customization dialog's window (Form3): the designed controls, their
// adapters and the wiring of their events to the dialog's logic. The object lives for
// the whole program; each modal showing loads the window afresh.

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <memory>

#include "customize/customize_dialog_logic.h"
#include "ui/designed_window.h"
#include "ui/widget_controls.h"
#include "ui/widget_events.h"

namespace dorvane::ui {

class CustomizeWindow : public DesignedWindow,
                        public transfer::CustomizationDialog,
                        private customize::CustomizeWindowActions {
  public:
    CustomizeWindow(core::Platform& platform, const db::ProfileSource& profiles,
                    bool& customizationCancelled);

    transfer::CustomizationMembers& members() override { return logic_->members(); }
    // Loads the window (discovery included) and returns once it has been unloaded.
    void showModal() override { form_.showModal(); }

    customize::CustomizeDialogLogic& logic() { return *logic_; }

    // The designed client area, 8040 x 5790 twips.
    static constexpr int kClientWidth = 536;
    static constexpr int kClientHeight = 386;

  private:
    void build();
    void connectEvents();

    void applyFormColors() override { form_.applyFormColors(); }
    void setApplicationIcon() override { form_.setAppIcon(); }
    void loadCustomPointer(const QString& path) override { form_.loadCustomPointer(path); }
    void unload() override { form_.unload(); }

    QPushButton* helpButton_ = nullptr;
    QGroupBox* fieldsFrame_ = nullptr;
    QGroupBox* dataTypesFrame_ = nullptr;
    QGroupBox* changeFrame_ = nullptr;  // "Change selected data type to"
    QPushButton* changeButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QListWidget* fieldsList_ = nullptr;
    QListWidget* dataTypesList_ = nullptr;
    QLineEdit* dataTypeEdit_ = nullptr;
    std::unique_ptr<WidgetListBox> fields_;
    std::unique_ptr<WidgetListBox> dataTypes_;
    std::unique_ptr<WidgetTextField> typeText_;
    std::unique_ptr<customize::CustomizeDialogLogic> logic_;
};

}  // namespace dorvane::ui
