#include "copy_check.h"

#include <charconv>
#include <chrono>
#include <cstdint>
#include <map>
#include <vector>

#include "db/odbc/ado_types.h"
#include "db/odbc/connection.h"
#include "db/odbc/recordset.h"
#include "sql/general_value_text.h"
#include "sql/sql_quoting.h"
#include "test_servers.h"

namespace dorvane::testing {
namespace {

using db::Value;
using Kind = db::Value::Kind;

// Above this many rows only the checksums are kept, not the values themselves.
constexpr std::int64_t kListedRowLimit = 2000;

template <class Float>
QString shortest(Float v) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return QString::fromLatin1(buffer, end - buffer);
}

// "+007.500" and "7.5" are the same number: no sign for zero, no leading or trailing zeros.
QString canonicalDecimal(QString digits) {
    digits = digits.trimmed();
    if (digits.contains(u'e', Qt::CaseInsensitive) || digits.isEmpty()) return digits;
    bool negative = false;
    if (digits.startsWith(u'-') || digits.startsWith(u'+')) {
        negative = digits.startsWith(u'-');
        digits.remove(0, 1);
    }
    if (digits.contains(u'.')) {
        while (digits.endsWith(u'0')) digits.chop(1);
        if (digits.endsWith(u'.')) digits.chop(1);
    }
    while (digits.size() > 1 && digits.startsWith(u'0') && digits[1] != u'.') digits.remove(0, 1);
    if (digits.isEmpty() || digits.startsWith(u'.')) digits.prepend(u'0');
    if (digits == u"0") negative = false;
    return negative ? u'-' + digits : digits;
}

double asDouble(const db::Value& v) {
    switch (v.kind()) {
        case Kind::Integer:
            return static_cast<double>(v.asInteger());
        case Kind::Single:
        case Kind::Double:
            return v.asDouble();
        case Kind::Boolean:
            return v.asBoolean() ? 1 : 0;
        default:
            return sql::valueText(v).trimmed().toDouble();
    }
}

QString exactForm(const db::Value& v) {
    switch (v.kind()) {
        case Kind::Integer:
            return QString::number(v.asInteger());
        case Kind::Boolean:
            return v.asBoolean() ? QStringLiteral("1") : QStringLiteral("0");
        default:
            return canonicalDecimal(sql::valueText(v));
    }
}

QString booleanForm(const db::Value& v) {
    if (v.kind() == Kind::Boolean) return v.asBoolean() ? QStringLiteral("1") : QStringLiteral("0");
    if (v.kind() == Kind::Integer)
        return v.asInteger() != 0 ? QStringLiteral("1") : QStringLiteral("0");
    const QString t = sql::valueText(v).trimmed().toLower();
    const bool truth = t == u"true" || t == u"t" || t == u"1" || t == u"yes" || t == u"on";
    return truth ? QStringLiteral("1") : QStringLiteral("0");
}

// The time a column holds: microseconds on PostgreSQL, milliseconds on a SQL Server
// DATETIME (rounded half up, carrying into the date).
QString timestampForm(const db::Value& v, Server server) {
    if (v.kind() != Kind::Date && v.kind() != Kind::Timestamp) return sql::valueText(v);
    using namespace std::chrono;
    const db::DateTimeParts& p = v.asDateTime();
    const sys_days day{year{p.year} / month{static_cast<unsigned>(p.month)} /
                       std::chrono::day{static_cast<unsigned>(p.day)}};
    const microseconds unit =
        server == Server::SqlServer ? microseconds{milliseconds{1}} : microseconds{1};
    // Counted in microseconds: nanoseconds would overflow outside 1678 to 2262.
    sys_time<microseconds> whole = day;
    if (v.kind() == Kind::Timestamp) {
        const auto fraction =
            floor<microseconds>(nanoseconds{p.nanosecond} + nanoseconds{unit} / 2);
        whole += hours{p.hour} + minutes{p.minute} + seconds{p.second} + fraction / unit * unit;
    }
    const sys_days roundedDay = floor<days>(whole);
    const year_month_day ymd{roundedDay};
    const hh_mm_ss<microseconds> t{whole - roundedDay};
    return QString::asprintf(
        "%04d-%02u-%02u %02d:%02d:%02d.%06lld", static_cast<int>(ymd.year()),
        static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
        static_cast<int>(t.hours().count()), static_cast<int>(t.minutes().count()),
        static_cast<int>(t.seconds().count()), static_cast<long long>(t.subseconds().count()));
}

QString dateForm(const db::Value& v) {
    if (v.kind() != Kind::Date && v.kind() != Kind::Timestamp) return sql::valueText(v).left(10);
    const db::DateTimeParts& p = v.asDateTime();
    return QString::asprintf("%04d-%02d-%02d", p.year, p.month, p.day);
}

QString textForm(const db::Value& v, Server server) {
    // A SQL Server text column gets a timestamp in the ISO form with a "T".
    if (v.kind() == Kind::Timestamp && server == Server::SqlServer) {
        QString t = timestampForm(v, server);
        t[10] = u'T';
        const QString millis = t.mid(20, 3);
        return t.left(19) + (millis == u"000" ? QString() : u'.' + millis);
    }
    return sql::valueText(v);
}

// What a code page 1252 column keeps: every UTF-16 unit it cannot hold becomes "?".
QString codePage1252(const QString& text) {
    static const QString kHigh = QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ");
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xa0 && u <= 0xff) || kHigh.contains(c)) continue;
        c = u'?';
    }
    return out;
}

// FNV-1a over the UTF-16 units of the form; the null form has a hash of its own.
std::uint64_t hashOf(const QString& form) {
    if (form.isNull()) return 0x9e3779b97f4a7c15ull;
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (QChar c : form) {
        h ^= c.unicode();
        h *= 0x100000001b3ull;
    }
    return h;
}

struct ColumnSums {
    std::uint64_t sum = 0;  // order-independent: rows may come back in any order
    std::uint64_t squares = 0;
    std::map<QString, int> listed;  // form -> count, small tables only
};

struct TableRead {
    std::vector<db::FieldInfo> fields;
    std::int64_t rows = 0;
    std::vector<ColumnSums> columns;
};

db::Connection connect(Server server) {
    db::Connection c;
    c.setCursorLocation(db::kUseClient);
    c.open(server == Server::Postgres ? db::postgresConnectionString(postgresProfile())
                                      : db::mssqlConnectionString(mssqlProfile()));
    return c;
}

db::Recordset openTable(db::Connection& c, Server server, const QString& table) {
    db::Recordset rs;
    rs.open(
        QStringLiteral("SELECT * FROM ") +
            (server == Server::Postgres ? sql::doubleQuotedName(table) : sql::bracketedName(table)),
        c);
    return rs;
}

}  // namespace

ColumnKind columnKindOf(db::AdoType adoType, Server server) {
    namespace ado = db::ado;
    switch (adoType) {
        case ado::kSmallInt:
        case ado::kInteger:
        case ado::kTinyInt:
        case ado::kUnsignedTinyInt:
        case ado::kUnsignedSmallInt:
        case ado::kUnsignedInt:
        case ado::kBigInt:
        case ado::kUnsignedBigInt:
        case ado::kCurrency:
        case ado::kNumeric:
            return ColumnKind::Exact;
        case ado::kSingle:
            return ColumnKind::Single;
        case ado::kDouble:
            return ColumnKind::Double;
        case ado::kBoolean:
            return ColumnKind::Boolean;
        case ado::kDBDate:
            return ColumnKind::Date;
        case ado::kDBTime:
            return ColumnKind::Time;
        case ado::kDBTimeStamp:
            return ColumnKind::Timestamp;
        case ado::kBinary:
        case ado::kVarBinary:
        case ado::kLongVarBinary:
            return ColumnKind::Binary;
        case ado::kChar:
        case ado::kVarChar:
        case ado::kLongVarChar:
            return server == Server::SqlServer ? ColumnKind::NarrowText : ColumnKind::Text;
        default:
            return ColumnKind::Text;
    }
}

QString comparableForm(const db::Value& v, ColumnKind kind, Server server, bool singleSource) {
    if (v.isNull()) return QString();
    // An empty text only stays itself in a text column; elsewhere it arrives as NULL.
    const bool textKind = kind == ColumnKind::Text || kind == ColumnKind::NarrowText;
    if (!textKind && v.kind() == Kind::Text && v.asString().isEmpty()) return QString();
    QString form;
    switch (kind) {
        case ColumnKind::Exact:
            form = exactForm(v);
            break;
        case ColumnKind::Single:
            form = shortest(static_cast<float>(asDouble(v)));
            break;
        case ColumnKind::Double:
            form = singleSource ? shortest(static_cast<float>(asDouble(v))) : shortest(asDouble(v));
            break;
        case ColumnKind::Boolean:
            form = booleanForm(v);
            break;
        case ColumnKind::Date:
            form = dateForm(v);
            break;
        case ColumnKind::Timestamp:
            form = timestampForm(v, server);
            break;
        case ColumnKind::Time:
        case ColumnKind::Binary:
            form = sql::valueText(v);
            break;
        case ColumnKind::Text:
            form = textForm(v, server);
            break;
        case ColumnKind::NarrowText:
            form = codePage1252(textForm(v, server));
            break;
    }
    return form.isNull() ? QStringLiteral("") : form;
}

namespace {

// Reads the table once; `kinds` says how each column's values are compared.
TableRead readTable(Server server, const QString& table, const std::vector<ColumnKind>& kinds,
                    Server kindServer, const std::vector<bool>& singleSource) {
    db::Connection c = connect(server);
    db::Recordset rs = openTable(c, server, table);
    TableRead read;
    for (int i = 0; i < rs.fieldCount(); ++i) read.fields.push_back(rs.field(i));
    read.rows = rs.recordCount();
    read.columns.resize(read.fields.size());
    const std::size_t compared = std::min(read.fields.size(), kinds.size());
    for (; !rs.eof(); rs.moveNext()) {
        for (std::size_t i = 0; i < compared; ++i) {
            const QString form = comparableForm(rs.value(static_cast<int>(i)), kinds[i], kindServer,
                                                singleSource[i]);
            const std::uint64_t h = hashOf(form);
            read.columns[i].sum += h;
            read.columns[i].squares += h * h;
            if (read.rows <= kListedRowLimit) ++read.columns[i].listed[form];
        }
    }
    return read;
}

std::vector<db::FieldInfo> fieldsOf(Server server, const QString& table) {
    db::Connection c = connect(server);
    db::Recordset rs;
    rs.open(server == Server::Postgres
                ? QStringLiteral("SELECT * FROM ") + sql::doubleQuotedName(table) +
                      QStringLiteral(" LIMIT 1")
                : QStringLiteral("SELECT top 1 * FROM ") + sql::bracketedName(table),
            c);
    std::vector<db::FieldInfo> fields;
    for (int i = 0; i < rs.fieldCount(); ++i) fields.push_back(rs.field(i));
    return fields;
}

QString shownForm(const QString& form) {
    if (form.isNull()) return QStringLiteral("NULL");
    return u'"' + (form.size() > 60 ? form.left(60) + QStringLiteral("...") : form) + u'"';
}

// Forms on one side that the other lacks, at most a few.
QStringList onlyIn(const std::map<QString, int>& a, const std::map<QString, int>& b) {
    QStringList out;
    for (const auto& [form, count] : a) {
        const auto other = b.find(form);
        if (other == b.end() || other->second < count) out << shownForm(form);
        if (out.size() == 3) break;
    }
    return out;
}

}  // namespace

::testing::AssertionResult sameContents(Server from, const QString& sourceTable, Server to,
                                        const QString& targetTable) {
    try {
        const std::vector<db::FieldInfo> targetFields = fieldsOf(to, targetTable);
        const std::vector<db::FieldInfo> sourceFields = fieldsOf(from, sourceTable);
        std::vector<ColumnKind> kinds;
        std::vector<bool> singleSource;
        for (std::size_t i = 0; i < targetFields.size(); ++i) {
            kinds.push_back(columnKindOf(targetFields[i].adoType, to));
            singleSource.push_back(i < sourceFields.size() &&
                                   sourceFields[i].adoType == db::ado::kSingle);
        }
        const TableRead source = readTable(from, sourceTable, kinds, to, singleSource);
        const TableRead target = readTable(to, targetTable, kinds, to, singleSource);

        if (source.fields.size() != target.fields.size())
            return ::testing::AssertionFailure()
                   << sourceTable.toStdString() << " has " << source.fields.size() << " columns, "
                   << targetTable.toStdString() << " " << target.fields.size();
        if (source.rows != target.rows)
            return ::testing::AssertionFailure()
                   << sourceTable.toStdString() << " has " << source.rows << " rows, "
                   << targetTable.toStdString() << " " << target.rows;
        auto failure = ::testing::AssertionFailure();
        bool differs = false;
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            const ColumnSums& s = source.columns[i];
            const ColumnSums& t = target.columns[i];
            if (s.sum == t.sum && s.squares == t.squares) continue;
            differs = true;
            failure << "column " << i << " (" << target.fields[i].name.toStdString() << ") differs";
            if (source.rows <= kListedRowLimit)
                failure << ": only in the source "
                        << onlyIn(s.listed, t.listed).join(u", ").toStdString()
                        << "; only in the target "
                        << onlyIn(t.listed, s.listed).join(u", ").toStdString();
            failure << "\n";
        }
        if (differs) return failure;
        return ::testing::AssertionSuccess();
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << "reading the tables failed: " << e.what();
    }
}

::testing::AssertionResult copiedToPostgres(const QString& sqlServerTable,
                                            const QString& postgresTable) {
    return sameContents(Server::SqlServer, sqlServerTable, Server::Postgres, postgresTable);
}

::testing::AssertionResult copiedToSqlServer(const QString& postgresTable,
                                             const QString& sqlServerTable) {
    return sameContents(Server::Postgres, postgresTable, Server::SqlServer, sqlServerTable);
}

}  // namespace dorvane::testing
