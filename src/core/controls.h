#pragma once
// The controls that commands read and change, seen without a toolkit. The Qt windows
// adapt their widgets to these; tests and benchmarks use the in-memory versions.

#include <QString>

namespace dorvane::core {

enum class MousePointer { Default, Busy, Custom };

class PointerSurface {
  public:
    virtual ~PointerSurface() = default;
    virtual MousePointer pointer() const = 0;
    virtual void setPointer(MousePointer pointer) = 0;
};

class TextField {
  public:
    virtual ~TextField() = default;
    virtual QString text() const = 0;
    // Raises the change event, as typing does.
    virtual void setText(const QString& text) = 0;
};

class CheckBox {
  public:
    virtual ~CheckBox() = default;
    virtual int value() const = 0;  // 0 or 1
    // Raises the click event, also when set from code.
    virtual void setValue(int value) = 0;
};

class ProgressBar {
  public:
    virtual ~ProgressBar() = default;
    virtual double value() const = 0;
    virtual void setValue(double value) = 0;  // 0 to 100
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
};

// A list box. With sorting on, an added entry goes to its place in alphabetical order
// ignoring case, without changing the current entry. The current index is -1 when there
// is no current entry, also after the current entry was removed. Reading an index at or
// past the end gives the empty text.
class ListBox {
  public:
    virtual ~ListBox() = default;
    virtual int count() const = 0;
    virtual QString text(int index) const = 0;
    virtual void setText(int index, const QString& text) = 0;
    virtual bool selected(int index) const = 0;
    virtual void setSelected(int index, bool selected) = 0;
    virtual int selectedCount() const = 0;
    virtual int currentIndex() const = 0;
    virtual void setCurrentIndex(int index) = 0;
    virtual void add(const QString& text) = 0;
    virtual void remove(int index) = 0;
    virtual void clear() = 0;
};

}  // namespace dorvane::core
