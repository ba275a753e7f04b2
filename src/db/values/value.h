#pragma once
// A field value as read from a server: a database null stays distinct from an empty
// text, and the value keeps its kind so it can be written out again without loss (its
// texts in statements are built in src/sql).

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <variant>

namespace dorvane::db {

struct DateTimeParts {
    // Years count as astronomers count them, 0 being 1 BC and -1 being 2 BC, and may
    // pass 9999: PostgreSQL holds both.
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
    int nanosecond = 0;
    // Dates and timestamps only: PostgreSQL's 'infinity' (1) and '-infinity' (-1), later
    // and earlier than every other value. The other parts are then zero.
    int infinity = 0;

    static DateTimeParts infinite(int sign) {
        DateTimeParts p;
        p.infinity = sign < 0 ? -1 : 1;
        return p;
    }
    bool isInfinite() const { return infinity != 0; }
    friend bool operator==(const DateTimeParts&, const DateTimeParts&) = default;
};

class Value {
  public:
    enum class Kind : std::uint8_t {
        Null,
        Text,
        Integer,
        Single,  // a 4-byte float: written at its own width
        Double,
        Decimal,  // exact digits as the server gave them ("-12.3400")
        Date,
        Time,
        Timestamp,
        Boolean,
        Binary,
        Guid,  // canonical text form
    };

    Value() = default;  // null
    static Value text(QString s) { return Value(Kind::Text, std::move(s)); }
    static Value decimal(QString digits) { return Value(Kind::Decimal, std::move(digits)); }
    static Value guid(QString s) { return Value(Kind::Guid, std::move(s)); }
    static Value integer(std::int64_t v) { return Value(Kind::Integer, v); }
    static Value single(float v) { return Value(Kind::Single, static_cast<double>(v)); }
    static Value dbl(double v) { return Value(Kind::Double, v); }
    static Value boolean(bool v) { return Value(Kind::Boolean, v); }
    static Value binary(QByteArray b) { return Value(Kind::Binary, std::move(b)); }
    static Value date(const DateTimeParts& p) { return Value(Kind::Date, p); }
    static Value time(const DateTimeParts& p) { return Value(Kind::Time, p); }
    static Value timestamp(const DateTimeParts& p) { return Value(Kind::Timestamp, p); }

    Kind kind() const { return kind_; }
    bool isNull() const { return kind_ == Kind::Null; }

    // Text, Decimal and Guid.
    const QString& asString() const { return std::get<QString>(data_); }
    std::int64_t asInteger() const { return std::get<std::int64_t>(data_); }
    double asDouble() const { return std::get<double>(data_); }
    bool asBoolean() const { return std::get<bool>(data_); }
    const QByteArray& asBinary() const { return std::get<QByteArray>(data_); }
    const DateTimeParts& asDateTime() const { return std::get<DateTimeParts>(data_); }

    friend bool operator==(const Value&, const Value&) = default;

  private:
    // The row buffer decodes into existing values, reusing their storage.
    friend class RowBuffer;

    using Data = std::variant<std::monostate, QString, std::int64_t, double, bool, QByteArray,
                              DateTimeParts>;
    template <class T>
    Value(Kind kind, T&& data) : kind_(kind), data_(std::forward<T>(data)) {}

    Kind kind_ = Kind::Null;
    Data data_;
};

}  // namespace dorvane::db
