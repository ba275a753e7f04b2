// The parts of the libpq copy session that need no server: the connection parameters
// taken from the psqlODBC string, and the row a refused COPY names.

#include <gtest/gtest.h>

#include "db/bulk/libpq_parameters.h"
#include "db/bulk/postgres_copy.h"
#include "db/values/connection_strings.h"
#include "db/values/db_error.h"

namespace dorvane::db {
namespace {

TEST(LibpqParameters, ProfileFieldsArriveExactlyWithoutSyntaxOfTheirOwn) {
    // Values that would end or extend a libpq conninfo or an ODBC string if not quoted.
    const PostgresProfile profile{QStringLiteral("db.example"), QStringLiteral("5433"),
                                  QStringLiteral("o'neil x"), QStringLiteral(" p w'\\=;{}} "),
                                  QStringLiteral("host=evil dbname='x'")};
    const std::vector<LibpqParameter> expected{{"host", "db.example"},
                                               {"port", "5433"},
                                               {"dbname", "host=evil dbname='x'"},
                                               {"user", "o'neil x"},
                                               {"password", " p w'\\=;{}} "},
                                               {"client_encoding", "UTF8"}};
    EXPECT_EQ(libpqParameters(postgresConnectionString(profile)), expected);
}

TEST(LibpqParameters, SslOptionsAndLongKeywordsAreTakenOver) {
    const QString odbc = QStringLiteral(
        "Driver={PostgreSQL Unicode};Servername=h;Username=u;Password=p;SSLmode=verify-full;"
        "pqopt={sslrootcert='/a b/root.crt' host=ignored}");
    const std::vector<LibpqParameter> expected{{"host", "ignored"},
                                               {"sslrootcert", "/a b/root.crt"},
                                               {"host", "h"},
                                               {"user", "u"},
                                               {"password", "p"},
                                               {"sslmode", "verify-full"},
                                               {"client_encoding", "UTF8"}};
    EXPECT_EQ(libpqParameters(odbc), expected);
    EXPECT_THROW(libpqParameters(QStringLiteral("Server=h;pqopt={sslmode='unended}")), DbError);
}

TEST(CopyLine, RowIsReadFromTheCopyContextOfTheTable) {
    struct Case {
        const char* context;
        const char* table;
        std::int64_t row;
    };
    const Case cases[] = {
        {"COPY t, line 3, column b: \"abc\"", "t", 3},
        {"COPY t, line 12: \"x\tline 9\"", "t", 12},
        {"COPY t, line 4", "t", 4},
        {"COPY t, Zeile 5, Spalte b: \"abc\"", "t", 5},  // a server speaking German
        {"COPY a, line 2, b, line 7, column c: \"x\"", "a, line 2, b", 7},
        {"PL/pgSQL function f() line 3 at RAISE\nCOPY t, line 8", "t", 8},
        {"COPY t, line 3", "u", 0},
        {"", "t", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(copyLineOf(QString::fromUtf8(c.context), QString::fromUtf8(c.table)), c.row)
            << c.context;
}

}  // namespace
}  // namespace dorvane::db
