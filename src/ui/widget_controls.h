#pragma once
// The controls of controls.h on Qt widgets, keeping the behaviour the commands rely
// on where Qt's own differs.

#include <QListWidget>

#include "core/controls.h"

class QCheckBox;
class QLineEdit;
class QProgressBar;

namespace dorvane::ui {

// Keeps "no current entry" when the list gets the focus (Qt would make the first
// entry current).
class TableListWidget : public QListWidget {
  public:
    using QListWidget::QListWidget;

  protected:
    void focusInEvent(QFocusEvent* event) override;
};

class WidgetTextField : public core::TextField {
  public:
    explicit WidgetTextField(QLineEdit* edit) : edit_(edit) {}
    QString text() const override;
    // QLineEdit::textChanged raises the change event, as typing does.
    void setText(const QString& text) override;

  private:
    QLineEdit* edit_;
};

class WidgetCheckBox : public core::CheckBox {
  public:
    explicit WidgetCheckBox(QCheckBox* box) : box_(box) {}
    int value() const override;
    // QCheckBox::toggled raises the click event, also when set from code.
    void setValue(int value) override;

  private:
    QCheckBox* box_;
};

class WidgetProgressBar : public core::ProgressBar {
  public:
    explicit WidgetProgressBar(QProgressBar* bar);
    double value() const override { return value_; }
    void setValue(double value) override;
    QString text() const override { return text_; }
    void setText(const QString& text) override;

  private:
    QProgressBar* bar_;
    double value_ = 0;
    QString text_;
};

class WidgetListBox : public core::ListBox {
  public:
    explicit WidgetListBox(QListWidget* list, bool sorted = true) : list_(list), sorted_(sorted) {}
    int count() const override { return list_->count(); }
    QString text(int index) const override;
    void setText(int index, const QString& text) override;
    bool selected(int index) const override;
    void setSelected(int index, bool selected) override;
    int selectedCount() const override;
    int currentIndex() const override;
    void setCurrentIndex(int index) override;
    void add(const QString& text) override;
    void remove(int index) override;
    void clear() override { list_->clear(); }

  private:
    void checkIndex(int index) const;
    void clearCurrent();

    QListWidget* list_;
    bool sorted_;
};

}  // namespace dorvane::ui
