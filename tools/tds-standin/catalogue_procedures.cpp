// sp_columns and sp_pkeys: the catalogue procedures behind ODBC's SQLColumns and
// SQLPrimaryKeys.
#include "column_description.hpp"
#include "procedure_arguments.hpp"
#include "server_error.hpp"
#include "statement_executor.hpp"
#include "text_encoding.hpp"
#include "value_encoding.hpp"

namespace standin {
namespace {

DeclaredType sysname() {
    return DeclaredType{SqlType::NVarChar, 128, 0, 0};
}
DeclaredType smallint() {
    return DeclaredType{SqlType::SmallInt, 0, 0, 0};
}
DeclaredType integer() {
    return DeclaredType{SqlType::Int, 0, 0, 0};
}

std::string requiredTableName(const std::map<std::string, Literal>& args,
                              const std::string& procedure) {
    auto it = args.find("@table_name");
    if (it == args.end()) {
        throw SqlError(201, 16, 4,
                       "Procedure or function '" + procedure +
                           "' expects parameter '@table_name', which was not supplied.");
    }
    return it->second.kind == Literal::Kind::Null ? std::string() : it->second.text;
}

// Only objects of the current database exist to these procedures.
void requireCurrentDatabase(const std::optional<std::string>& qualifier,
                            const std::string& database) {
    if (qualifier && !qualifier->empty() && foldCase(*qualifier) != foldCase(database)) {
        throw SqlError(15250, 16, 1,
                       "The database name component of the object qualifier must be the name of "
                       "the current database.");
    }
}

// Writes one row; a cell without a value is NULL.
class RowWriter {
  public:
    RowWriter(ResponseWriter& out, const std::vector<ResultColumn>& columns, size_t textSize)
        : out_(out), columns_(columns), textSize_(textSize) {
        out_.tokens().u8(tokens::kRow);
    }
    RowWriter& text(const std::optional<std::string>& value) {
        writeColumnValue(out_.tokens(), columns_.at(next_++).type, value ? value->c_str() : nullptr,
                         textSize_);
        return *this;
    }
    template <typename Number>
    RowWriter& number(const std::optional<Number>& value) {
        return text(value ? std::optional<std::string>(std::to_string(*value)) : std::nullopt);
    }
    RowWriter& number(int64_t value) { return number(std::optional<int64_t>(value)); }

  private:
    ResponseWriter& out_;
    const std::vector<ResultColumn>& columns_;
    size_t textSize_;
    size_t next_ = 0;
};

}  // namespace

StatementOutcome StatementExecutor::columns(const ProcedureCall& c) {
    auto args = namedArguments(
        c, {"@table_name", "@table_owner", "@table_qualifier", "@column_name", "@odbcver"});
    const std::string name = requiredTableName(args, c.procedure);
    auto owner = textArgument(args, "@table_owner");
    auto column = textArgument(args, "@column_name");
    requireCurrentDatabase(textArgument(args, "@table_qualifier"), state_.database);
    auto version = textArgument(args, "@odbcver");
    const int odbcVersion = version ? std::stoi(*version) : 2;

    const std::vector<ResultColumn> result = {
        {u"TABLE_QUALIFIER", sysname(), true},
        {u"TABLE_OWNER", sysname(), true},
        {u"TABLE_NAME", sysname(), true},
        {u"COLUMN_NAME", sysname(), true},
        {u"DATA_TYPE", smallint(), true},
        {u"TYPE_NAME", sysname(), true},
        {u"PRECISION", integer(), true},
        {u"LENGTH", integer(), true},
        {u"SCALE", smallint(), true},
        {u"RADIX", smallint(), true},
        {u"NULLABLE", smallint(), true},
        {u"REMARKS", DeclaredType{SqlType::VarChar, 254, 0, 0}, true},
        {u"COLUMN_DEF", DeclaredType{SqlType::NVarChar, 4000, 0, 0}, true},
        {u"SQL_DATA_TYPE", smallint(), true},
        {u"SQL_DATETIME_SUB", smallint(), true},
        {u"CHAR_OCTET_LENGTH", integer(), true},
        {u"ORDINAL_POSITION", integer(), true},
        {u"IS_NULLABLE", DeclaredType{SqlType::VarChar, 254, 0, 0}, true},
        {u"SS_DATA_TYPE", DeclaredType{SqlType::TinyInt, 0, 0, 0}, true}};
    tokens::columnMetadata(out_.tokens(), result, u"");

    // Only objects made through the stand-in exist, all owned by dbo; ordered by name, and
    // each one's columns by position.
    size_t rows = 0;
    if (like("dbo", owner)) {
        for (const auto& listed : catalogue_.objects()) {
            if (!like(listed.name, name)) continue;
            std::optional<CatalogueObject> object = catalogue_.find(listed.name);
            if (!object) continue;
            for (size_t i = 0; i < object->columns.size(); ++i) {
                const CatalogueColumn& col = object->columns[i];
                if (!like(col.name, column)) continue;
                const ColumnDescription d = describeColumn(col, odbcVersion);
                RowWriter(out_, result, state_.textSize)
                    .text(state_.database)
                    .text("dbo")
                    .text(object->name)
                    .text(col.name)
                    .number(d.dataType)
                    .text(d.typeName)
                    .number(d.precision)
                    .number(d.length)
                    .number(d.scale)
                    .number(d.radix)
                    .number(col.notNull ? 0 : 1)
                    .text(std::nullopt)
                    .text(std::nullopt)
                    .number(d.sqlDataType)
                    .number(d.dateTimeSub)
                    .number(d.charOctetLength)
                    .number(static_cast<int64_t>(i + 1))
                    .text(std::string(col.notNull ? "NO" : "YES"))
                    .number(d.ssDataType);
                out_.flushIfLarge();
                ++rows;
            }
        }
    }
    out_.done(tokens::kDoneInProc, static_cast<uint16_t>(done_status::kMore | done_status::kCount),
              done_command::kSelect, rows);
    tokens::returnStatus(out_.tokens(), 0);
    return {tokens::kDoneProc, done_command::kExecute, std::nullopt};
}

StatementOutcome StatementExecutor::primaryKeys(const ProcedureCall& c) {
    auto args = namedArguments(c, {"@table_name", "@table_owner", "@table_qualifier"});
    const std::string name = requiredTableName(args, c.procedure);
    auto owner = textArgument(args, "@table_owner");
    requireCurrentDatabase(textArgument(args, "@table_qualifier"), state_.database);

    const std::vector<ResultColumn> result = {
        {u"TABLE_QUALIFIER", sysname(), true}, {u"TABLE_OWNER", sysname(), true},
        {u"TABLE_NAME", sysname(), true},      {u"COLUMN_NAME", sysname(), true},
        {u"KEY_SEQ", smallint(), true},        {u"PK_NAME", sysname(), true}};
    tokens::columnMetadata(out_.tokens(), result, u"");

    // No wildcards here: the name and owner are taken as they stand.
    size_t rows = 0;
    std::optional<CatalogueObject> table;
    if (!owner || foldCase(*owner) == "dbo") table = catalogue_.find(name);
    if (table && !table->isView) {
        for (const auto& key : catalogue_.keysOf(*table)) {
            if (!key.primary) continue;
            for (size_t i = 0; i < key.columns.size(); ++i) {
                RowWriter(out_, result, state_.textSize)
                    .text(state_.database)
                    .text("dbo")
                    .text(table->name)
                    .text(table->columns.at(key.columns[i]).name)
                    .number(static_cast<int64_t>(i + 1))
                    .text(key.name);
                ++rows;
            }
        }
    }
    out_.done(tokens::kDoneInProc, static_cast<uint16_t>(done_status::kMore | done_status::kCount),
              done_command::kSelect, rows);
    tokens::returnStatus(out_.tokens(), 0);
    return {tokens::kDoneProc, done_command::kExecute, std::nullopt};
}

}  // namespace standin
