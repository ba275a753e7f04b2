#include "ui/widget_controls.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QProgressBar>
#include <stdexcept>

#include "core/list_order.h"

namespace dorvane::ui {
namespace {
constexpr int kProgressSteps = 100;
}

void TableListWidget::focusInEvent(QFocusEvent* event) {
    const bool hadCurrent = currentIndex().isValid();
    QListWidget::focusInEvent(event);
    if (!hadCurrent && currentIndex().isValid())
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

QString WidgetTextField::text() const {
    return edit_->text();
}

void WidgetTextField::setText(const QString& text) {
    edit_->setText(text);
}

int WidgetCheckBox::value() const {
    return box_->isChecked() ? 1 : 0;
}

void WidgetCheckBox::setValue(int value) {
    box_->setChecked(value == 1);
}

WidgetProgressBar::WidgetProgressBar(QProgressBar* bar) : bar_(bar) {
    bar_->setRange(0, kProgressSteps);
    bar_->setTextVisible(true);
    bar_->setAlignment(Qt::AlignCenter);
    setText(QStringLiteral("Progress Bar"));
    bar_->setValue(0);
}

void WidgetProgressBar::setValue(double value) {
    if (value < 0 || value > kProgressSteps) throw std::out_of_range("Invalid property value");
    value_ = value;
    bar_->setValue(static_cast<int>(value));
    bar_->repaint();  // shown at once, also while a transfer keeps the event loop waiting
}

void WidgetProgressBar::setText(const QString& text) {
    text_ = text;
    // The bar fills in "%p", "%v" and "%m" and has no escape for them: an invisible
    // space after each "%" keeps a table name's percent sign literal.
    QString format = text;
    format.replace(u'%', QStringLiteral("%\u200B"));
    bar_->setFormat(format);
    bar_->repaint();
}

void WidgetListBox::checkIndex(int index) const {
    if (index < 0 || index >= count()) throw std::out_of_range("Invalid property array index");
}

QString WidgetListBox::text(int index) const {
    if (index < 0) throw std::out_of_range("Invalid property array index");
    return index < count() ? list_->item(index)->text() : QString();
}

void WidgetListBox::setText(int index, const QString& text) {
    checkIndex(index);
    list_->item(index)->setText(text);
}

bool WidgetListBox::selected(int index) const {
    checkIndex(index);
    return list_->item(index)->isSelected();
}

void WidgetListBox::setSelected(int index, bool selected) {
    checkIndex(index);
    list_->item(index)->setSelected(selected);
}

int WidgetListBox::selectedCount() const {
    return static_cast<int>(list_->selectedItems().size());
}

int WidgetListBox::currentIndex() const {
    const QModelIndex current = list_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void WidgetListBox::setCurrentIndex(int index) {
    if (index < -1 || index >= count()) throw std::out_of_range("Invalid property value");
    if (index == -1) {
        clearCurrent();
        return;
    }
    list_->selectionModel()->setCurrentIndex(list_->model()->index(index, 0),
                                             QItemSelectionModel::NoUpdate);
}

void WidgetListBox::clearCurrent() {
    list_->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

// Inserting rows keeps the current entry on the same item.
void WidgetListBox::add(const QString& text) {
    int at = count();
    if (sorted_) {
        // After every entry that is not greater, so equal names keep their arrival order.
        int low = 0, high = count();
        while (low < high) {
            const int middle = (low + high) / 2;
            if (core::listOrderLess(text, list_->item(middle)->text())) {
                high = middle;
            } else {
                low = middle + 1;
            }
        }
        at = low;
    }
    list_->insertItem(at, text);
}

// Qt moves the current entry to a neighbour when it is removed; the list has none then.
void WidgetListBox::remove(int index) {
    checkIndex(index);
    const bool removingCurrent = currentIndex() == index;
    delete list_->takeItem(index);
    if (removingCurrent) clearCurrent();
}

}  // namespace dorvane::ui
