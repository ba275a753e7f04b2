#pragma once

#include "expression.hpp"
#include "literal.hpp"
#include "sql_types.hpp"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace standin {

// A possibly qualified object name: [database.][schema.]name.
struct ObjectName {
    std::vector<std::string> parts;
    const std::string& name() const { return parts.back(); }
    // As SQL Server quotes it in messages: the parts joined by dots, without brackets.
    std::string written() const;
};

struct SelectStatement {
    ObjectName table;
    std::optional<int64_t> top;
    // WHERE with a constant false condition (WHERE 1 = 0): the columns without any row.
    bool excludesAllRows = false;
};

// SELECT COUNT(*) or COUNT_BIG(*) FROM (<select>) AS alias.
struct CountStatement {
    SelectStatement source;
    bool big = false;  // COUNT_BIG: bigint rather than int
};

struct ColumnDefinition {
    std::string name;
    DeclaredType type;
    bool notNull = false;
    bool explicitNull = false;  // NULL written out, which a PRIMARY KEY refuses
    std::optional<IdentityProperty> identity;
};

// PRIMARY KEY or UNIQUE, declared with a column or for the table.
struct KeyConstraint {
    std::optional<std::string> name;  // nothing: the server names it
    bool primary = false;
    std::vector<std::string> columns;
};

struct CreateTableStatement {
    ObjectName table;
    std::vector<ColumnDefinition> columns;
    std::vector<KeyConstraint> keys;
};

struct CreateViewStatement {
    ObjectName view;
    SelectStatement select;
};

struct DropStatement {
    ObjectName object;
    bool isView = false;
};

struct InsertStatement {
    ObjectName table;
    std::vector<std::string> columns;  // empty: all, in table order
    std::vector<std::vector<Literal>> rows;
};

// INSERT BULK table (column type, ...): announces the bulk load message that follows.
struct InsertBulkStatement {
    ObjectName table;
    std::vector<std::string> columns;
};

struct ProcedureArgument {
    std::string name;  // "@objname" or empty when positional
    Literal value;
};

struct ProcedureCall {
    std::string procedure;
    std::vector<ProcedureArgument> arguments;
};

struct SetStatement {
    std::vector<std::string> options;  // lower case
    std::string value;                 // lower case: "on", "off" or a number
};

// SET IDENTITY_INSERT table ON|OFF.
struct IdentityInsertStatement {
    ObjectName table;
    bool on = false;
};

struct WaitForStatement {
    std::chrono::milliseconds delay{0};
};

enum class IsolationLevel {
    ReadUncommitted,
    ReadCommitted,
    RepeatableRead,
    Snapshot,
    Serializable
};

struct SetIsolationStatement {
    IsolationLevel level = IsolationLevel::ReadCommitted;
};

// BEGIN TRAN, COMMIT or ROLLBACK, or a transaction manager request to the same effect.
struct TransactionStatement {
    enum class Kind { Begin, Commit, Rollback };
    Kind kind = Kind::Begin;
    // A transaction manager request may begin the next transaction once this one ends.
    bool beginAfterwards = false;
    // The session's level from here on, as a transaction manager request may set it.
    std::optional<IsolationLevel> isolationLevel;
};

// ALTER DATABASE ... SET ALLOW_SNAPSHOT_ISOLATION ON|OFF.
struct AlterDatabaseStatement {
    std::optional<std::string> database;  // nothing for CURRENT
    bool allowSnapshotIsolation = false;
};

// SELECT of expressions without FROM, e.g. SELECT CONVERT(int, ...).
struct SelectValuesStatement {
    std::vector<Expression> values;
};

using Statement =
    std::variant<SelectStatement, CountStatement, SelectValuesStatement, CreateTableStatement,
                 CreateViewStatement, DropStatement, InsertStatement, InsertBulkStatement,
                 ProcedureCall, SetStatement, WaitForStatement, SetIsolationStatement,
                 TransactionStatement, AlterDatabaseStatement, IdentityInsertStatement>;

}  // namespace standin
