#include "transfer/sqlserver_target_columns.h"

#include <cmath>
#include <stdexcept>

#include "db/odbc/recordset.h"
#include "sql/general_value_text.h"
#include "sql/sqlserver_statements.h"
#include "sql/value_text.h"

namespace dorvane::transfer {
namespace {

// The (max) types are reported with sizes of 2^30 and more: no limit worth checking.
constexpr qint64 kUnlimited = qint64{1} << 30;
constexpr int kUtf8CodePage = 65001;

// Columns that keep text in the database's code page; the n-types keep Unicode.
bool keepsCodePageText(const QString& typeName) {
    return typeName == u"varchar" || typeName == u"char" || typeName == u"text";
}

bool keepsUnicodeText(const QString& typeName) {
    return typeName == u"nvarchar" || typeName == u"nchar" || typeName == u"ntext";
}

bool keepsBytes(const QString& typeName) {
    return typeName == u"varbinary" || typeName == u"binary" || typeName == u"image";
}

bool keepsNumbers(const QString& typeName) {
    for (const char16_t* name : {u"float", u"real", u"decimal", u"numeric", u"money", u"smallmoney",
                                 u"int", u"bigint", u"smallint", u"tinyint"})
        if (typeName == QStringView(name)) return true;
    return false;
}

// Whether an exact number lies within MONEY's or SMALLMONEY's range; the digits compared
// at the types' four decimals. A number of more decimals is left to the server's rounding.
void checkMoney(const QString& typeName, const db::Value& value) {
    if (value.kind() != db::Value::Kind::Decimal) return;
    const std::optional<sql::PlainDecimal> d = sql::plainDecimal(value.asString());
    if (!d || d->fraction.size() > 4) return;
    const bool small = typeName == u"smallmoney";
    // In ten-thousandths: 922337203685477.5807 (-...5808), 214748.3647 (-...3648).
    const QString largest =
        small ? (d->negative ? QStringLiteral("2147483648") : QStringLiteral("2147483647"))
              : (d->negative ? QStringLiteral("9223372036854775808")
                             : QStringLiteral("9223372036854775807"));
    const QString digits =
        d->whole.toString() + d->fraction.toString() + QString(4 - d->fraction.size(), u'0');
    QStringView significant = digits;
    while (!significant.isEmpty() && significant.front() == u'0')
        significant = significant.sliced(1);
    if (significant.size() < largest.size() ||
        (significant.size() == largest.size() && significant <= QStringView(largest)))
        return;
    throw std::runtime_error(
        QStringLiteral("The value %1 cannot be held by a SQL Server %2 column, which holds %3.")
            .arg(value.asString(), typeName,
                 small ? QStringLiteral("-214748.3648 to 214748.3647")
                       : QStringLiteral("-922337203685477.5808 to 922337203685477.5807"))
            .toStdString());
}

bool isNonFinite(const db::Value& value) {
    switch (value.kind()) {
        case db::Value::Kind::Single:
        case db::Value::Kind::Double:
            return !std::isfinite(value.asDouble());
        case db::Value::Kind::Decimal: {
            const QString& digits = value.asString();
            return digits.contains(u"NaN", Qt::CaseInsensitive) ||
                   digits.contains(u"Infinity", Qt::CaseInsensitive);
        }
        default:
            return false;
    }
}

// Bytes of a varchar text on the server; the text fits the code page already.
qint64 codePageBytes(QStringView text, int codePage) {
    if (codePage == kUtf8CodePage) {
        // Counted without a UTF-8 copy of every value: a surrogate pair is 4 bytes.
        qint64 bytes = 0;
        for (QChar c : text)
            bytes += c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 ? 2 : c.isSurrogate() ? 2 : 3;
        return bytes;
    }
    const bool doubleByte =
        codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
    if (!doubleByte) return text.size();
    qint64 bytes = 0;
    for (QChar c : text) bytes += c.unicode() < 0x80 ? 1 : 2;
    return bytes;
}

}  // namespace

void SqlServerTargetColumns::learn(db::Connection& target, const QString& table) {
    forget();
    if (!codePage_) {
        db::Recordset answer = target.query(sql::to_sqlserver::codePageStatement());
        codePage_ = std::make_unique<sql::CodePageFit>(sql::valueText(answer.value(0)).toInt());
    }
    db::Recordset described = target.query(sql::to_sqlserver::columnsStatement(table));
    for (int i = 0; i < described.fieldCount(); ++i) {
        const db::FieldInfo& field = described.field(i);
        const qint64 length =
            field.precision > 0 && field.precision < kUnlimited ? field.precision : 0;
        columns_.push_back({field.typeName.toLower(), length});
        described_.push_back(field);
    }
}

bool SqlServerTargetColumns::holdsBytes(int index) const {
    return index < static_cast<int>(columns_.size()) && keepsBytes(columns_[index].typeName);
}

sql::SqlServerTextForm SqlServerTargetColumns::textForm(int index) const {
    if (index >= static_cast<int>(columns_.size())) return sql::SqlServerTextForm::Plain;
    const QString& typeName = columns_[index].typeName;
    if (typeName == u"datetime2" || typeName == u"datetimeoffset")
        return sql::SqlServerTextForm::FineTime;
    if (typeName == u"real") return sql::SqlServerTextForm::ExactFloat;
    return sql::SqlServerTextForm::Plain;
}

void SqlServerTargetColumns::check(int index, const db::Value& value) {
    if (index >= static_cast<int>(columns_.size()) || value.isNull()) return;
    const Column& column = columns_[index];
    sql::checkSqlServerCanHold(value, column.typeName);
    if (keepsNumbers(column.typeName) && isNonFinite(value))
        throw std::runtime_error(
            QStringLiteral("The value %1 cannot be held by a SQL Server %2 column, which holds "
                           "no NaN and no infinity.")
                .arg(sql::valueText(value), column.typeName)
                .toStdString());
    if (column.typeName == u"money" || column.typeName == u"smallmoney")
        checkMoney(column.typeName, value);
    if (value.kind() == db::Value::Kind::Text && keepsCodePageText(column.typeName))
        codePage_->check(value.asString());
    checkLength(column, value);
}

void SqlServerTargetColumns::checkLength(const Column& column, const db::Value& value) const {
    if (column.length == 0) return;
    qint64 length = -1;
    const char* unit = "characters";
    if (keepsBytes(column.typeName) && value.kind() == db::Value::Kind::Binary) {
        length = value.asBinary().size();
        unit = "bytes";
    } else if (keepsCodePageText(column.typeName) || keepsUnicodeText(column.typeName)) {
        // Numbers, dates and the like are written in far fewer characters than that.
        constexpr qint64 kLongestShortText = 64;
        const bool mayBeLong =
            value.kind() == db::Value::Kind::Text || value.kind() == db::Value::Kind::Binary;
        if (!mayBeLong && column.length >= kLongestShortText) return;
        const QString text = sql::sqlServerValueText(value);
        // n-types count UTF-16 units, the others bytes of the code page.
        length = keepsUnicodeText(column.typeName) ? text.size()
                                                   : codePageBytes(text, codePage_->codePage());
        unit = keepsUnicodeText(column.typeName) ? "UTF-16 units" : "bytes";
    }
    if (length > column.length)
        throw std::runtime_error(QStringLiteral("The value is %1 %2 long, but the SQL Server %3 "
                                                "column holds at most %4.")
                                     .arg(QString::number(length), QLatin1StringView(unit),
                                          column.typeName, QString::number(column.length))
                                     .toStdString());
}

}  // namespace dorvane::transfer
