#include "ui/program.h"

namespace dorvane::ui {

Program::Program(core::Platform& platform, core::SettingsStore& settings,
                 screens::DatabaseGateway& databases,
                 const CustomizationWindowFactory& makeCustomization)
    : settings_(settings, platform),
      app_{platform, settings_, commands_, databases},
      connectionScreen_(app_, connectionWindow_.controls()),
      customization_(makeCustomization(platform, connectionScreen_, customizationCancelled_)),
      transferScreen_(app_, transferWindow_.form(), transferWindow_.controls(), connectionScreen_,
                      *customization_, customizationCancelled_) {
    connectionWindow_.form().placeAmong(screenPlacement_);
    transferWindow_.form().placeAmong(screenPlacement_);
    connectionScreen_.attachTransferScreen(transferScreen_);
    connectionWindow_.connectTo(connectionScreen_);
    transferWindow_.connectTo(transferScreen_);
}

}  // namespace dorvane::ui
