#pragma once
// A message box wide enough for what it must show whole: its longest run of text without
// a space (an address is not broken in the middle) and its title.

#include <QMessageBox>

namespace dorvane::ui {

class FittedMessageBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    // The box sizes itself when shown; it is widened after that where it falls short.
    void showEvent(QShowEvent* event) override;
};

}  // namespace dorvane::ui
