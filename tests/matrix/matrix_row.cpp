#include "matrix_row.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QRegularExpression>
#include <QTimeZone>
#include <algorithm>
#include <cmath>
#include <iostream>
#include <optional>

#include "sql/general_value_text.h"
#include "sql/sql_quoting.h"
#include "transfer/send_tables.h"
#include "transfer_harness.h"

namespace dorvane::testing {
namespace {

using Form = std::optional<QString>;  // nullopt: NULL

// A row of the target table: its key (the source row's number) and the value.
struct Arrived {
    double key = 0;
    Form value;
};

QString shown(const Form& form) {
    if (!form) return QStringLiteral("NULL");
    const QString cut = form->size() > 80 ? form->left(80) + QStringLiteral("...") : *form;
    return u'"' + cut + u'"' +
           (form->size() > 80 ? QStringLiteral(" (%1 characters)").arg(form->size()) : QString());
}

// Reports carry the whole failed statement; its start is enough to tell what happened.
std::string shownReports(const std::vector<QString>& reports) {
    std::string out;
    for (const QString& report : reports)
        out += "\n  report: " + report.left(400).replace(u'\r', u' ').toStdString();
    return out.empty() ? std::string("\n  (no report)") : out;
}

void makeSource(Server from, const QString& table, const char* type,
                const std::vector<std::string>& literals) {
    const bool pg = from == Server::Postgres;
    const QString name = pg ? sql::doubleQuotedName(table) : sql::bracketedName(table);
    const auto exec = pg ? execPostgres : execMssql;
    exec(QStringLiteral("CREATE TABLE %1(k INT, v %2)").arg(name, QString::fromLatin1(type)));
    for (std::size_t i = 0; i < literals.size(); ++i)
        exec(QStringLiteral("INSERT INTO %1 VALUES(%2, %3)")
                 .arg(name, QString::number(i + 1), QString::fromStdString(literals[i])));
}

// Presses the button that sends the table away from `from`.
void copyTable(TransferHarness& h, Server from, const QString& table, CopyMode mode) {
    const int fast = isFast(mode) ? 1 : 0;
    h.fastCopyToPostgres.setValue(fast);
    h.fastCopyToSqlServer.setValue(fast);
    const int natural = isNatural(mode) ? 1 : 0;
    h.naturalTypesToPostgres.setValue(natural);
    h.naturalTypesToSqlServer.setValue(natural);
    if (from == Server::Postgres) {
        h.select(h.postgresTables, {table});
        transfer::sendTablesToSqlServer(h.context, core::YieldPolicy::everyCall());
    } else {
        h.select(h.mssqlTables, {table});
        transfer::sendTablesToPostgres(h.context, core::YieldPolicy::everyCall());
    }
}

// The target's rows in source order. PostgreSQL writes each value in its own text form;
// SQL Server's values are read through the program's database layer.
std::vector<Arrived> arrivedRows(Server to, const QString& table) {
    const bool pg = to == Server::Postgres;
    if (!(pg ? postgresTableExists(table) : mssqlTableExists(table))) return {};
    // The stand-in takes only SELECT *, and no ORDER BY: the rows are sorted here.
    const Rows rows = pg ? postgresRows(QStringLiteral("SELECT k::text, v::text FROM ") +
                                        sql::doubleQuotedName(table))
                         : mssqlRows(QStringLiteral("SELECT * FROM ") + sql::bracketedName(table));
    std::vector<Arrived> out;
    for (const auto& row : rows) {
        Arrived a{sql::valueText(row[0]).toDouble(), std::nullopt};
        // An empty text may come back as a null QString: it is still not NULL.
        if (!row[1].isNull())
            a.value = sql::valueText(row[1]).isNull() ? QStringLiteral("") : sql::valueText(row[1]);
        out.push_back(a);
    }
    std::sort(out.begin(), out.end(),
              [](const Arrived& a, const Arrived& b) { return a.key < b.key; });
    return out;
}

// "+007.500" and "7.5" are the same number.
QString canonicalNumber(QString digits) {
    digits = digits.trimmed();
    const bool negative = digits.startsWith(u'-');
    if (negative || digits.startsWith(u'+')) digits.remove(0, 1);
    if (digits.contains(u'.')) {
        while (digits.endsWith(u'0')) digits.chop(1);
        if (digits.endsWith(u'.')) digits.chop(1);
    }
    while (digits.startsWith(u'0')) digits.remove(0, 1);
    if (digits.isEmpty() || digits.startsWith(u'.')) digits.prepend(u'0');
    return negative && digits != u"0" ? u'-' + digits : digits;
}

// "12:00:00.500000 +02:00" and "12:00:00.5 +02:00" are the same moment.
QString canonicalMoment(QString text) {
    static const QRegularExpression fraction(QStringLiteral("(:\\d\\d)\\.(\\d*?)0*(?!\\d)"));
    text.replace(fraction, QStringLiteral("\\1.\\2"));
    static const QRegularExpression bareDot(QStringLiteral("(:\\d\\d)\\.(?!\\d)"));
    return text.replace(bareDot, QStringLiteral("\\1"));
}

// "2024-06-30 12:00:00.5+05:30" as "2024-06-30T06:30:00Z.5": the UTC time and the fraction.
QString canonicalInstant(const QString& text) {
    static const QRegularExpression form(QStringLiteral(
        "^(\\d+)-(\\d\\d)-(\\d\\d) "
        "(\\d\\d):(\\d\\d):(\\d\\d)(?:\\.(\\d*))?([+-])(\\d\\d)(?::(\\d\\d))?(?::(\\d\\d))?$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch()) return text;
    const auto n = [&](int i) { return m.captured(i).toInt(); };
    const QDateTime local(QDate(n(1), n(2), n(3)), QTime(n(4), n(5), n(6)), QTimeZone::utc());
    const int offset = (n(9) * 3600 + n(10) * 60 + n(11)) * (m.captured(8) == u"-" ? -1 : 1);
    QString fraction = m.captured(7);
    while (fraction.endsWith(u'0')) fraction.chop(1);
    return local.addSecs(-offset).toString(Qt::ISODate) + u'.' + fraction;
}

bool sameFloat(double expected, double arrived) {
    if (std::isnan(expected) || std::isnan(arrived))
        return std::isnan(expected) == std::isnan(arrived);
    return expected == arrived;
}

bool same(Compare compare, const Form& expected, const Form& arrived) {
    if (!expected || !arrived) return !expected && !arrived;
    const QString& e = *expected;
    const QString& a = *arrived;
    switch (compare) {
        case Compare::Exact:
            return e == a;
        case Compare::Number:
            return canonicalNumber(e) == canonicalNumber(a);
        case Compare::Float4:
            return sameFloat(static_cast<float>(e.toDouble()), static_cast<float>(a.toDouble()));
        case Compare::Float8:
            return sameFloat(e.toDouble(), a.toDouble());
        case Compare::Moment:
            return canonicalMoment(e) == canonicalMoment(a);
        case Compare::CaseBlind:
            return e.compare(a, Qt::CaseInsensitive) == 0;
        case Compare::Instant:
            return canonicalInstant(e) == canonicalInstant(a);
    }
    return false;
}

Form expectedForm(const Arrival& arrival) {
    if (!arrival.expected) return std::nullopt;
    return QString::fromUtf8(arrival.expected);
}

bool madeSource(Server from, const QString& table, const char* type,
                const std::vector<std::string>& literals) {
    try {
        makeSource(from, table, type, literals);
        return true;
    } catch (const std::exception& e) {
        ADD_FAILURE() << "the source table could not be made: " << e.what();
        return false;
    }
}

void checkKept(const MatrixRow& row, const std::vector<Arrival>& kept, Compare compare, Server from,
               Server to, CopyMode mode) {
    const QString table = uniqueName(QStringLiteral("m_") + QString::fromLatin1(row.label));
    const TablesDroppedAtEnd dropped(table);
    std::vector<std::string> literals;
    for (const Arrival& a : kept) literals.push_back(a.literal);
    if (!madeSource(from, table, row.sourceType, literals)) return;
    TransferHarness h;

    copyTable(h, from, table, mode);

    EXPECT_TRUE(h.platform.messages.empty()) << shownReports(h.platform.messageTexts());
    const std::vector<Arrived> arrived = arrivedRows(to, table);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const auto at = std::find_if(arrived.begin(), arrived.end(),
                                     [&](const Arrived& a) { return a.key == double(i + 1); });
        if (at == arrived.end()) {
            ADD_FAILURE() << "row " << i + 1 << " (" << kept[i].literal << ") did not arrive";
            continue;
        }
        EXPECT_TRUE(same(compare, expectedForm(kept[i]), at->value))
            << "row " << i + 1 << ": " << kept[i].literal << " arrived as "
            << shown(at->value).toStdString() << ", expected "
            << shown(expectedForm(kept[i])).toStdString();
    }
    EXPECT_EQ(arrived.size(), kept.size());
}

// The code page of the SQL Server database's VARCHAR columns, asked once.
int targetCodePage() {
    static const int codePage =
        sql::valueText(
            mssqlRows(QStringLiteral("SELECT CONVERT(int, COLLATIONPROPERTY(CONVERT(nvarchar(128), "
                                     "DATABASEPROPERTYEX(DB_NAME(), 'Collation')), 'CodePage'))"))
                .at(0)
                .at(0))
            .toInt();
    return codePage;
}

// Row 1 a kept value, row 2 the refused one, row 3 kept again: the report names row 2,
// and neither it nor any later row arrives.
void checkRefused(const MatrixRow& row, const std::vector<Arrival>& kept, const Refusal& refusal,
                  Server from, Server to, CopyMode mode) {
    SCOPED_TRACE(refusal.literal.size() > 80 ? refusal.literal.substr(0, 80) + "..."
                                             : refusal.literal);
    if (refusal.codePage != 0 && to == Server::SqlServer && targetCodePage() != refusal.codePage) {
        std::cout << "not checked: the target database's code page is " << targetCodePage()
                  << ", not " << refusal.codePage << "\n";
        return;
    }
    const QString table = uniqueName(QStringLiteral("m_") + QString::fromLatin1(row.label));
    const TablesDroppedAtEnd dropped(table);
    const std::string around = kept.empty() ? std::string("NULL") : kept.front().literal;
    if (!madeSource(from, table, row.sourceType, {around, refusal.literal, around})) return;
    TransferHarness h;

    copyTable(h, from, table, mode);

    // Other reports may list the table as not copied; exactly one names a value.
    std::vector<QString> valueReports;
    for (const QString& report : h.platform.errorReports())
        if (report.contains(QStringLiteral("Table %1, column ").arg(table)))
            valueReports.push_back(report);
    const QString where = QStringLiteral("Table %1, column v, row 2: ").arg(table);
    const bool named = valueReports.size() == 1 && valueReports[0].contains(where);
    EXPECT_TRUE(named) << "expected one report with \"" << where.toStdString() << "\""
                       << shownReports(h.platform.messageTexts());
    if (named) {
        const QString reason = valueReports[0].mid(valueReports[0].indexOf(where) + where.size());
        EXPECT_TRUE(reason.contains(QString::fromLatin1(refusal.reason), Qt::CaseInsensitive))
            << "the reason does not mention " << refusal.reason << shownReports(valueReports);
    }
    for (const Arrived& a : arrivedRows(to, table))
        EXPECT_LT(a.key, 2) << "row " << a.key << " arrived as " << shown(a.value).toStdString();
    if (isFast(mode)) {
        EXPECT_FALSE(to == Server::Postgres ? postgresTableExists(table) : mssqlTableExists(table))
            << "a fast copy that failed left its table";
    }
}

}  // namespace

std::string matrixCaseName(const MatrixCase& matrixCase) {
    static const char* const kModeNames[] = {"RowByRow", "Fast", "Natural", "NaturalFast"};
    return std::string(std::get<0>(matrixCase).label) + "_" +
           kModeNames[static_cast<int>(std::get<1>(matrixCase))];
}

void checkMatrixRow(const MatrixRow& row, Server from, CopyMode mode) {
    const Server to = from == Server::Postgres ? Server::SqlServer : Server::Postgres;
    const bool natural = isNatural(mode);
    const std::vector<Arrival>& kept = natural && row.naturalKept ? *row.naturalKept : row.kept;
    const std::vector<Refusal>& refused =
        natural && row.naturalRefused ? *row.naturalRefused : row.refused;
    const Compare compare = natural && row.naturalCompare ? *row.naturalCompare : row.compare;
    if (!kept.empty()) checkKept(row, kept, compare, from, to, mode);
    for (const Refusal& refusal : refused) checkRefused(row, kept, refusal, from, to, mode);
}

}  // namespace dorvane::testing
