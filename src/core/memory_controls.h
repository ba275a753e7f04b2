#pragma once
// In-memory controls with the behaviour of the windows' controls, for the command line,
// the tests and the benchmarks, which run the commands without a display.

#include <functional>
#include <vector>

#include "core/controls.h"

namespace dorvane::core {

class MemoryPointer : public PointerSurface {
  public:
    MousePointer pointer() const override { return pointer_; }
    void setPointer(MousePointer pointer) override { pointer_ = pointer; }

  private:
    MousePointer pointer_ = MousePointer::Default;
};

class MemoryTextField : public TextField {
  public:
    QString text() const override { return text_; }
    void setText(const QString& text) override;
    std::function<void(const QString&)> onChange;

  private:
    QString text_;
};

class MemoryCheckBox : public CheckBox {
  public:
    int value() const override { return value_; }
    void setValue(int value) override;
    std::function<void()> onClick;

  private:
    int value_ = 0;
};

class MemoryProgressBar : public ProgressBar {
  public:
    double value() const override { return value_; }
    void setValue(double value) override;
    QString text() const override { return text_; }
    void setText(const QString& text) override {
        text_ = text;
        shownTexts.push_back(text);
    }

    std::vector<QString> shownTexts;  // every text set, in order

  private:
    double value_ = 0;
    QString text_ = QStringLiteral("Progress Bar");
};

class MemoryListBox : public ListBox {
  public:
    explicit MemoryListBox(bool sorted = true) : sorted_(sorted) {}

    int count() const override { return static_cast<int>(entries_.size()); }
    QString text(int index) const override;
    void setText(int index, const QString& text) override;
    bool selected(int index) const override;
    void setSelected(int index, bool selected) override;
    int selectedCount() const override;
    int currentIndex() const override { return current_; }
    void setCurrentIndex(int index) override;
    void add(const QString& text) override;
    void remove(int index) override;
    void clear() override;

    // A user's click: the entry becomes current and the only selected one.
    void click(int index);
    // Texts in list order, for assertions.
    std::vector<QString> texts() const;

  private:
    struct Entry {
        QString text;
        bool selected = false;
    };
    void checkIndex(int index) const;

    bool sorted_;
    std::vector<Entry> entries_;
    int current_ = -1;
};

}  // namespace dorvane::core
