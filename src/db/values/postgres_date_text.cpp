#include "db/values/postgres_date_text.h"

#include <QString>

#include "db/values/db_error.h"

namespace dorvane::db {
namespace {

// Reads the text front to back; any mismatch leaves it failed.
class Scanner {
  public:
    explicit Scanner(std::string_view text) : text_(text) {}

    bool ok() const { return ok_; }
    bool atEnd() const { return at_ == text_.size(); }
    bool peek(char c) const { return at_ < text_.size() && text_[at_] == c; }

    void expect(char c) {
        if (peek(c))
            ++at_;
        else
            ok_ = false;
    }

    // Exactly `count` digits, or at least `count` with `orMore` (up to nine).
    int digits(std::size_t count, bool orMore = false) {
        const std::size_t start = at_;
        int value = 0;
        while (at_ < text_.size() && isDigit(text_[at_]) && (orMore || at_ - start < count) &&
               at_ - start < 9)
            value = value * 10 + (text_[at_++] - '0');
        if (at_ - start < count || (at_ < text_.size() && isDigit(text_[at_]))) ok_ = false;
        return value;
    }

    // ".fraction" when there is one, in nanoseconds; digits past the ninth must be zeros.
    int fraction() {
        if (!peek('.')) return 0;
        ++at_;
        int value = 0, count = 0;
        for (; at_ < text_.size() && isDigit(text_[at_]); ++at_, ++count) {
            if (count < 9)
                value = value * 10 + (text_[at_] - '0');
            else if (text_[at_] != '0')
                ok_ = false;
        }
        if (count == 0) ok_ = false;
        for (; count < 9; ++count) value *= 10;
        return value;
    }

    // "+HH", "-HH:MM" or "+HH:MM:SS", skipped.
    void skipOffset() {
        if (!peek('+') && !peek('-')) return;
        ++at_;
        digits(2);
        for (int part = 0; part < 2 && peek(':'); ++part) {
            ++at_;
            digits(2);
        }
    }

    // " BC" at the end.
    bool era() {
        if (text_.substr(at_) != " BC") return false;
        at_ = text_.size();
        return true;
    }

  private:
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    std::string_view text_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

[[noreturn]] void refuse(std::string_view text, const char* what) {
    throw DbError(QStringLiteral("PostgreSQL wrote a %1 as \"%2\", not in the ISO DateStyle.")
                      .arg(QLatin1StringView(what),
                           QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))));
}

bool readInfinity(std::string_view text, DateTimeParts& parts) {
    if (text == "infinity") {
        parts = DateTimeParts::infinite(1);
        return true;
    }
    if (text == "-infinity") {
        parts = DateTimeParts::infinite(-1);
        return true;
    }
    return false;
}

void readDate(Scanner& in, DateTimeParts& p) {
    p.year = in.digits(4, true);
    in.expect('-');
    p.month = in.digits(2);
    in.expect('-');
    p.day = in.digits(2);
}

// Years before 1 AD counted as astronomers count them: 1 BC is year 0.
void applyEra(Scanner& in, DateTimeParts& p) {
    if (in.era()) p.year = 1 - p.year;
}

}  // namespace

DateTimeParts parsePostgresDate(std::string_view text) {
    DateTimeParts p;
    if (readInfinity(text, p)) return p;
    Scanner in(text);
    readDate(in, p);
    applyEra(in, p);
    if (!in.ok() || !in.atEnd()) refuse(text, "date");
    return p;
}

DateTimeParts parsePostgresTimestamp(std::string_view text) {
    DateTimeParts p;
    if (readInfinity(text, p)) return p;
    Scanner in(text);
    readDate(in, p);
    in.expect(' ');
    p.hour = in.digits(2);
    in.expect(':');
    p.minute = in.digits(2);
    in.expect(':');
    p.second = in.digits(2);
    p.nanosecond = in.fraction();
    in.skipOffset();
    applyEra(in, p);
    if (!in.ok() || !in.atEnd()) refuse(text, "timestamp");
    return p;
}

}  // namespace dorvane::db
