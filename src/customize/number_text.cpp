#include "customize/number_text.h"

namespace dorvane::customize {
namespace {

class Cursor {
  public:
    explicit Cursor(const QString& text) : text_(text) {}

    bool atEnd() const { return at_ >= text_.size(); }
    bool take(QChar c) {
        if (atEnd() || text_[at_] != c) return false;
        ++at_;
        return true;
    }
    bool takeAnyOf(QStringView set) {
        if (atEnd() || !set.contains(text_[at_])) return false;
        ++at_;
        return true;
    }
    // ASCII digits only: a number in a name is never written in another script.
    int takeDigits() {
        const qsizetype start = at_;
        while (!atEnd() && text_[at_] >= u'0' && text_[at_] <= u'9') ++at_;
        return static_cast<int>(at_ - start);
    }
    void skipBlanks() {
        while (takeAnyOf(u" \t")) {
        }
    }

  private:
    const QString& text_;
    qsizetype at_ = 0;
};

}  // namespace

bool readsAsNumber(const QString& text) {
    Cursor c(text);
    c.skipBlanks();
    c.takeAnyOf(u"+-");
    const int wholeDigits = c.takeDigits();
    int fractionDigits = 0;
    if (c.take(u'.')) fractionDigits = c.takeDigits();
    if (wholeDigits == 0 && fractionDigits == 0) return false;
    if (c.takeAnyOf(u"eE")) {
        c.takeAnyOf(u"+-");
        if (c.takeDigits() == 0) return false;
    }
    c.skipBlanks();
    return c.atEnd();
}

}  // namespace dorvane::customize
