#pragma once
// The tables the benchmark copies, made in PostgreSQL with generate_series.

#include <QString>
#include <QStringList>
#include <vector>

namespace dorvane::bench {

struct Shape {
    QString name;     // also the stem of its tables' names
    long rows = 0;    // at scale 1
    QString columns;  // what one row holds, for the figures
    // The SELECT list over generate_series(1, rows) g that makes the rows.
    QString selectList;
    // When set, the copy to PostgreSQL reads a table made on the SQL Server side with
    // these columns and filled with this SELECT list, not the one the first copy made.
    QString mssqlColumns;
    QString mssqlSelectList;
    // Run only when named in --shapes.
    bool onlyWhenNamed = false;
};

// narrow: 100 000 rows of integer, text, timestamp, numeric; wide: 20 000 rows of 50
// columns; text: 1 000 rows of 1 MiB of text each towards PostgreSQL. Towards SQL Server
// the command makes text columns VARCHAR(8000), so those rows hold 8 000 characters.
const std::vector<Shape>& shapes();

// numbers: 100 000 rows of integers, a float, a date, a timestamp and a numeric, every
// column of a fixed-size form, so that both drivers read them in blocks; only when named.
// Whether `shape` runs when `names` (--shapes) are chosen; none chosen: the usual ones.
bool chosen(const Shape& shape, const QStringList& names);

// The statement that creates `table` holding `rows` rows of the shape.
QString createSourceStatement(const Shape& shape, const QString& table, long rows);

}  // namespace dorvane::bench
