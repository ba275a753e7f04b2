#include "shapes.h"

#include <QStringList>

namespace dorvane::bench {
namespace {

// Every fourth column of each kind; none is NULL and the texts vary from row to row.
QString wideSelectList() {
    QStringList columns{QStringLiteral("g AS id")};
    for (int i = 1; i < 50; ++i) {
        switch (i % 4) {
            case 0:
                columns << QStringLiteral("g + %1 AS i%1").arg(i);
                break;
            case 1:
                columns << QStringLiteral("'value ' || g || ' of column %1' AS t%1").arg(i);
                break;
            case 2:
                columns << QStringLiteral("(g * 0.01 + %1)::numeric(14,2) AS n%1").arg(i);
                break;
            default:
                columns << QStringLiteral(
                               "timestamp '2024-01-01' + (g + %1) * interval '1 second' AS d%1")
                               .arg(i);
        }
    }
    return columns.join(QStringLiteral(", "));
}

}  // namespace

const std::vector<Shape>& shapes() {
    static const std::vector<Shape> all{
        {QStringLiteral("narrow"), 100000, QStringLiteral("integer, text, timestamp, numeric"),
         QStringLiteral("g AS id, 'row ' || g AS label, timestamp '2024-01-01' + g * interval "
                        "'1 second' AS at, (g * 0.25)::numeric(12,2) AS amount"),
         QString(), QString()},
        {QStringLiteral("wide"), 20000, QStringLiteral("50 columns"), wideSelectList(), QString(),
         QString()},
        // md5 gives 32 characters: 250 of them fill VARCHAR(8000), 32 768 make 1 MiB.
        {QStringLiteral("text"), 1000, QStringLiteral("integer, text"),
         QStringLiteral("g AS id, repeat(md5(g::text), 250) AS body"),
         QStringLiteral("id INT, body VARCHAR(MAX)"),
         QStringLiteral("g, repeat(md5(g::text), 32768)")},
        {QStringLiteral("numbers"), 100000,
         QStringLiteral("integer, bigint, float, date, timestamp, numeric"),
         QStringLiteral("g AS id, g::bigint * 1000003 AS big, g / 7.0::float8 AS ratio, date "
                        "'2024-01-01' + g % 3000 AS day, timestamp '2024-01-01' + g * interval "
                        "'1 second' AS at, (g * 0.25)::numeric(12,2) AS amount"),
         QString(), QString(), true},
    };
    return all;
}

bool chosen(const Shape& shape, const QStringList& names) {
    return names.isEmpty() ? !shape.onlyWhenNamed : names.contains(shape.name);
}

QString createSourceStatement(const Shape& shape, const QString& table, long rows) {
    return QStringLiteral("CREATE TABLE \"%1\" AS SELECT %2 FROM generate_series(1, %3) g")
        .arg(table, shape.selectList)
        .arg(rows);
}

}  // namespace dorvane::bench
