#include "db/odbc/postgres_date_query.h"

namespace dorvane::db {
namespace {

bool startsWithWord(QStringView text, QStringView word) {
    if (!text.startsWith(word, Qt::CaseInsensitive)) return false;
    if (text.size() == word.size()) return true;
    const QChar next = text[word.size()];
    return !next.isLetterOrNumber() && next != u'_' && next != u'$';
}

}  // namespace

QString wrappableQuery(const QString& sql) {
    QStringView query = QStringView(sql).trimmed();
    while (query.endsWith(u';')) query = query.chopped(1).trimmed();
    // A semicolon anywhere else may part statements; quoted ones are rare enough to
    // leave such queries as they are rather than parse their quoting.
    if (query.contains(u';')) return QString();
    QStringView start = query;
    while (start.startsWith(u'(')) start = start.sliced(1).trimmed();
    for (const QStringView word : {u"SELECT", u"VALUES", u"TABLE"}) {
        if (startsWithWord(start, word)) return query.toString();
    }
    return QString();
}

// The query goes on lines of its own, so that a comment at its end ends there.
QString describingQuery(const QString& wrappable) {
    return QStringLiteral("SELECT * FROM (\n") + wrappable +
           QStringLiteral("\n) AS described_rows LIMIT 0");
}

bool hasDateColumns(const std::vector<FetchKind>& kinds) {
    for (const FetchKind kind : kinds)
        if (kind == FetchKind::Date || kind == FetchKind::Timestamp) return true;
    return false;
}

QString datesAsTextQuery(const QString& wrappable, std::vector<FetchKind>& kinds) {
    // Columns are named by position: the query's own names may repeat or be missing.
    QString select = QStringLiteral("SELECT ");
    QString names;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const QString name = QStringLiteral("c") + QString::number(i + 1);
        if (i != 0) {
            select += u", ";
            names += u", ";
        }
        select += name;
        names += name;
        if (kinds[i] == FetchKind::Date || kinds[i] == FetchKind::Timestamp) {
            select += u"::text";
            kinds[i] = kinds[i] == FetchKind::Date ? FetchKind::PostgresDate
                                                   : FetchKind::PostgresTimestamp;
        }
    }
    return select + QStringLiteral(" FROM (\n") + wrappable + QStringLiteral("\n) AS read_rows(") +
           names + u')';
}

}  // namespace dorvane::db
