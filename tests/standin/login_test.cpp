// Logging in through the FreeTDS ODBC driver: success, refusals and many sessions.
#include "odbc_client.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

using namespace standin_test;

namespace {

OdbcError connectFailure(const ConnectionDetails& d) {
    try {
        Connection c(d, 5);
    } catch (const OdbcError& e) {
        return e;
    }
    throw std::runtime_error("login unexpectedly succeeded");
}

bool hasRecord(const OdbcError& e, long native, const std::string& text) {
    for (const auto& r : e.records) {
        if (r.nativeError == native && r.message.find(text) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

TEST(StandinLogin, ConnectsAndReportsTheDatabase) {
    auto details = detailsFromEnvironment();
    Connection c(details);
    SQLWCHAR name[256] = {};
    SQLSMALLINT length = 0;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLGetInfoW(c.handle(), SQL_DATABASE_NAME, name, sizeof name, &length)));
    EXPECT_EQ(utf16ToUtf8(std::u16string(reinterpret_cast<char16_t*>(name))), details.database);
}

TEST(StandinLogin, AcceptsTheHostCommaPortFormOfServer) {
    auto details = detailsFromEnvironment();
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)));
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc)));
    SQLSetConnectAttrW(dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLLEN{5}), 0);
    std::u16string text = utf8ToUtf16("Driver={SQL Server};Server=" + details.host + "," + details.port +
                                      ";Database=" + details.database + ";Uid=" + details.user + ";Pwd={" +
                                      details.password + "};TDS_Version=7.4;ClientCharset=UTF-8;");
    SQLRETURN rc = SQLDriverConnectW(dbc, nullptr, reinterpret_cast<SQLWCHAR*>(text.data()),
                                     static_cast<SQLSMALLINT>(text.size()), nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    EXPECT_TRUE(SQL_SUCCEEDED(rc)) << (diagnostics(SQL_HANDLE_DBC, dbc).empty() ? "" : diagnostics(SQL_HANDLE_DBC, dbc)[0].message);
    if (SQL_SUCCEEDED(rc)) SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
}

TEST(StandinLogin, TsqlRunsABatch) {
    auto d = detailsFromEnvironment();
    std::string command = "printf 'SELECT * FROM [no_such_table_for_tsql]\\ngo\\nexit\\n' | tsql -H '" + d.host +
                          "' -p " + d.port + " -U '" + d.user + "' -P '" + d.password + "' -D '" + d.database +
                          "' 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
    pclose(pipe);
    EXPECT_NE(output.find("Msg 208"), std::string::npos) << output;
    EXPECT_NE(output.find("Invalid object name 'no_such_table_for_tsql'."), std::string::npos) << output;
}

TEST(StandinLogin, WrongPasswordIsRefusedWith18456) {
    auto details = detailsFromEnvironment();
    details.password += "x";
    OdbcError e = connectFailure(details);
    EXPECT_TRUE(hasRecord(e, 18456, "Login failed for user '" + details.user + "'.")) << e.what();
    EXPECT_TRUE(e.first().sqlState == "28000" || e.first().sqlState == "42000") << e.first().sqlState;
}

TEST(StandinLogin, WrongUserIsRefusedWith18456) {
    auto details = detailsFromEnvironment();
    details.user = "nobody_here";
    OdbcError e = connectFailure(details);
    EXPECT_TRUE(hasRecord(e, 18456, "Login failed for user 'nobody_here'.")) << e.what();
}

TEST(StandinLogin, UnknownDatabaseIsRefusedWith4060) {
    auto details = detailsFromEnvironment();
    details.database = "no_such_database_x";
    OdbcError e = connectFailure(details);
    EXPECT_TRUE(hasRecord(e, 4060, "Cannot open database \"no_such_database_x\" requested by the login. The login failed."))
        << e.what();
}

TEST(StandinLogin, ServesManySequentialAndConcurrentSessions) {
    auto details = detailsFromEnvironment();
    for (int i = 0; i < 5; ++i) {
        Connection c(details);
        EXPECT_NO_THROW(c.exec("SET NOCOUNT OFF"));
    }
    std::atomic<int> succeeded{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            try {
                Connection c(details);
                std::string table = "[" + uniqueName("login_conc_" + std::to_string(t)) + "]";
                c.dropTableIfExists(table);
                c.exec("CREATE TABLE " + table + "([n] INT)");
                c.exec("INSERT INTO " + table + " VALUES(" + std::to_string(t) + ")");
                auto rows = c.query("SELECT * FROM " + table);
                c.exec("DROP TABLE " + table);
                if (rows.size() == 1 && rows[0][0] == std::to_string(t)) ++succeeded;
            } catch (const std::exception&) {
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(succeeded.load(), 8);
}
