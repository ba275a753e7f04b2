#pragma once
// "Natural types": each source column as its counterpart on the other server, with its
// size, its NULL rule, the table's primary key and an identity column kept. Each direction
// has one table, keyed by the source column's own type as its server's catalogue names it.

#include <QString>
#include <optional>
#include <vector>

#include "sql/value_text.h"

namespace dorvane::sql {

// A source column as its server's catalogue describes it.
struct SourceColumn {
    QString name;
    // The server's own name of the type, lower case and without its size: "nvarchar",
    // "datetime2", "character varying", "integer". A PostgreSQL domain is its base type.
    QString type;
    // Text and binary types: the declared length (characters, or bytes for binary); 0 when
    // unbounded ("max", or none declared).
    qint64 length = 0;
    // Exact numbers: digits in all and after the point (0 and 0: unconstrained). Times:
    // `scale` is the digits of the fraction of a second.
    int precision = 0;
    int scale = 0;
    bool nullable = true;
    // SQL Server IDENTITY; PostgreSQL identity or serial.
    bool identity = false;
};

struct SourceTable {
    std::vector<SourceColumn> columns;
    // The primary key's columns in key order; empty without one.
    std::vector<QString> primaryKey;
    bool hasIdentity() const;
};

namespace to_postgres {
// The PostgreSQL type of a SQL Server column.
QString naturalType(const SourceColumn& column);
// A column's type with its NULL rule and identity.
QString naturalDefinition(const SourceColumn& column);
}  // namespace to_postgres

namespace to_sqlserver {
// The SQL Server type of a PostgreSQL column.
QString naturalType(const SourceColumn& column);
// The size of the DECIMAL a column becomes; none for other types.
std::optional<ExactSize> naturalExactSize(const SourceColumn& column);
QString naturalDefinition(const SourceColumn& column);
}  // namespace to_sqlserver

// CREATE TABLE with natural types, NULL rules, identity and primary key, towards
// PostgreSQL (`toPostgres`) or SQL Server.
QString naturalCreateTable(bool toPostgres, const QString& table, const SourceTable& source);
// What the customization dialog proposes for column `column`: its definition, and the key
// where it is the key's one column.
QString naturalProposal(bool toPostgres, const SourceTable& source, std::size_t column);

}  // namespace dorvane::sql
