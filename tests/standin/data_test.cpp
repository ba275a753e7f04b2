// Data that stresses the protocol: Unicode, values over 64 kB, packets split both ways,
// and results the client abandons.
#include "odbc_client.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace standin_test;

namespace {

class StandinData : public ::testing::Test {
  protected:
    void SetUp() override { conn = std::make_unique<Connection>(detailsFromEnvironment()); }

    std::string tableOf(const std::string& stem, const std::string& columns) {
        std::string t = "[" + uniqueName(stem) + "]";
        conn->dropTableIfExists(t);
        conn->exec("CREATE TABLE " + t + "(" + columns + ")");
        return t;
    }

    std::unique_ptr<Connection> conn;
};

// Characters from several scripts, and one outside the Basic Multilingual Plane.
const std::string kMixed = "Ωμέγα 中文 😀 é";

std::string sqlQuoted(const std::string& s) {
    std::string out;
    for (char c : s) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out;
}

std::string pattern(size_t size) {
    std::string out;
    for (size_t i = 0; out.size() < size; ++i) out += "line " + std::to_string(i) + " ω'\n";
    out.resize(size);
    return out;
}

}  // namespace

TEST_F(StandinData, UnicodeSurvivesNvarcharAndBecomesQuestionMarksInVarchar) {
    std::string t = tableOf("da_uni", "[n] NVARCHAR(40),[v] VARCHAR(40),[x] NVARCHAR(40)");
    conn->exec("INSERT INTO " + t + " VALUES(N'" + kMixed + "', N'" + kMixed + "', '" + kMixed +
               "')");
    auto rows = conn->query("SELECT * FROM " + t);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], kMixed);
    // Code page 1252 keeps é; the rest turns into one '?' per UTF-16 unit.
    EXPECT_EQ(rows[0][1], "????? ?? ?? é");
    EXPECT_EQ(rows[0][2], "????? ?? ?? é");
    conn->exec("DROP TABLE " + t);
}

TEST_F(StandinData, ValuesOverSixtyFourKilobytesRoundTrip) {
    std::string t = tableOf(
        "da_big", "[nv] NVARCHAR(max),[v] VARCHAR(max),[tx] TEXT,[nt] NTEXT,[vb] VARBINARY(max)");
    std::string text = pattern(70'000);
    std::string narrow = text;
    for (auto& c : narrow) c = (c & 0x80) ? 'w' : c;  // varchar and text hold code page 1252 only
    std::string hex = "0x";
    for (size_t i = 0; i < 70'000; ++i) hex += "0123456789abcdef"[i % 16], hex += "f";
    conn->exec("INSERT INTO " + t + " VALUES(N'" + sqlQuoted(text) + "', '" + sqlQuoted(narrow) +
               "', '" + sqlQuoted(narrow) + "', N'" + sqlQuoted(text) + "', " + hex + ")");
    {
        Statement s(*conn);
        s.execute("SELECT * FROM " + t);
        ASSERT_TRUE(s.fetch());
        EXPECT_EQ(s.text(1), text);
        EXPECT_EQ(s.text(2), narrow);
        EXPECT_EQ(s.text(3), narrow);
        EXPECT_EQ(s.text(4), text);
        auto bytes = s.binary(5);
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(bytes->size(), 70'000u);
        EXPECT_EQ(static_cast<unsigned char>((*bytes)[1]), 0x1f);
        EXPECT_FALSE(s.fetch());
    }
    conn->exec("DROP TABLE " + t);
}

TEST_F(StandinData, ManyRowsLargerThanAPacketComeBackWhole) {
    std::string t = tableOf("da_rows", "[id] INT,[payload] NVARCHAR(4000)");
    std::string payload(4000, 'x');
    std::string values;
    for (int i = 0; i < 20; ++i)
        values += std::string(i ? "," : "") + "('" + std::to_string(i) + "', N'" + payload + "')";
    conn->exec("INSERT INTO " + t + " VALUES" + values);  // one request of about 160 kB
    auto rows = conn->query("SELECT * FROM " + t);
    ASSERT_EQ(rows.size(), 20u);
    EXPECT_EQ(rows[19][0], "19");
    EXPECT_EQ(rows[19][1], payload);
    conn->exec("DROP TABLE " + t);
}

TEST_F(StandinData, AbandonedResultsDoNotHangTheConnection) {
    std::string t = tableOf("da_cancel", "[id] INT,[pad] VARCHAR(100)");
    std::string pad(100, 'p');
    for (int batch = 0; batch < 10; ++batch) {
        std::string values;
        for (int i = 0; i < 1000; ++i) {
            values += std::string(i ? "," : "") + "(" + std::to_string(batch * 1000 + i) + ", '" +
                      pad + "')";
        }
        conn->exec("INSERT INTO " + t + " VALUES" + values);
    }
    auto start = std::chrono::steady_clock::now();
    {
        Statement s(*conn, 10);
        s.execute("SELECT * FROM " + t);
        ASSERT_TRUE(s.fetch());
        EXPECT_EQ(s.text(1), "0");
        EXPECT_TRUE(SQL_SUCCEEDED(SQLFreeStmt(s.handle(), SQL_CLOSE)));
    }
    {
        Statement s(*conn, 10);
        s.execute("SELECT * FROM " + t);
        ASSERT_TRUE(s.fetch());
        EXPECT_TRUE(SQL_SUCCEEDED(SQLCancel(s.handle())));
    }
    // The connection still serves statements afterwards.
    EXPECT_EQ(conn->query("SELECT TOP 3 * FROM " + t).size(), 3u);
    // A hang is endless; a busy machine only slow.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    conn->exec("DROP TABLE " + t);
}
