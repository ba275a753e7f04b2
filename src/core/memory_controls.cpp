#include "core/memory_controls.h"

#include <algorithm>
#include <stdexcept>

#include "core/list_order.h"

namespace dorvane::core {

void MemoryTextField::setText(const QString& text) {
    if (text == text_) return;  // no change, no change event
    text_ = text;
    if (onChange) onChange(text_);
}

void MemoryCheckBox::setValue(int value) {
    const bool changed = value != value_;
    value_ = value;
    if (changed && onClick) onClick();
}

void MemoryProgressBar::setValue(double value) {
    if (value < 0 || value > 100) throw std::out_of_range("Invalid property value");
    value_ = value;
}

void MemoryListBox::checkIndex(int index) const {
    if (index < 0 || index >= count()) throw std::out_of_range("Invalid property array index");
}

QString MemoryListBox::text(int index) const {
    if (index < 0) throw std::out_of_range("Invalid property array index");
    return index < count() ? entries_[index].text : QString();
}

void MemoryListBox::setText(int index, const QString& text) {
    checkIndex(index);
    entries_[index].text = text;
}

bool MemoryListBox::selected(int index) const {
    checkIndex(index);
    return entries_[index].selected;
}

void MemoryListBox::setSelected(int index, bool selected) {
    checkIndex(index);
    entries_[index].selected = selected;
}

int MemoryListBox::selectedCount() const {
    return static_cast<int>(
        std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.selected; }));
}

void MemoryListBox::setCurrentIndex(int index) {
    if (index < -1 || index >= count()) throw std::out_of_range("Invalid property value");
    current_ = index;
}

void MemoryListBox::add(const QString& text) {
    auto at = entries_.end();
    if (sorted_) {
        at = std::upper_bound(
            entries_.begin(), entries_.end(), text,
            [](const QString& t, const Entry& e) { return listOrderLess(t, e.text); });
    }
    const int index = static_cast<int>(at - entries_.begin());
    entries_.insert(at, Entry{text, false});
    if (current_ >= index) ++current_;
}

void MemoryListBox::remove(int index) {
    checkIndex(index);
    entries_.erase(entries_.begin() + index);
    if (current_ == index) {
        current_ = -1;
    } else if (current_ > index) {
        --current_;
    }
}

void MemoryListBox::clear() {
    entries_.clear();
    current_ = -1;
}

void MemoryListBox::click(int index) {
    checkIndex(index);
    for (auto& e : entries_) e.selected = false;
    entries_[index].selected = true;
    current_ = index;
}

std::vector<QString> MemoryListBox::texts() const {
    std::vector<QString> out;
    out.reserve(entries_.size());
    for (const auto& e : entries_) out.push_back(e.text);
    return out;
}

}  // namespace dorvane::core
