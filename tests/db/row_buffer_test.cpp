// The serialized row store: values come back exactly, in memory and spilled to a file,
// and the file goes with the buffer.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#ifdef __linux__
#include <sys/resource.h>

#include <csignal>
#endif

#include "db/odbc/row_buffer.h"
#include "db/values/db_error.h"

namespace dorvane::db {
namespace {

constexpr int kColumns = 7;

// Row r of a table whose values change kind, length and nullness from row to row.
std::vector<db::Value> sampleRow(int r) {
    const QString text = QString(r % 7 * 40, QChar(u'a' + r % 26)) + QStringLiteral("αβ😀");
    std::vector<db::Value> row;
    row.push_back(r % 5 == 0 ? db::Value() : db::Value::integer(std::int64_t{r} * -1000003));
    row.push_back(r % 3 == 0 ? db::Value::text(QString()) : db::Value::text(text));
    row.push_back(r % 4 == 0 ? db::Value::single(r / 8.0f) : db::Value::dbl(r / 3.0));
    row.push_back(db::Value::timestamp(
        {2000 + r % 30, 1 + r % 12, 1 + r % 28, r % 24, r % 60, r % 60, r * 1000 % 1000000000}));
    row.push_back(r % 2 ? db::Value::binary(QByteArray(r % 300, static_cast<char>(r)))
                        : db::Value::boolean(r % 4 == 0));
    row.push_back(r % 6 == 0 ? db::Value::decimal(QString::number(r) + QStringLiteral(".50"))
                             : db::Value::time({0, 0, 0, r % 24, 59, 1, 0}));
    // Dates only PostgreSQL holds take a longer form than the others.
    const db::DateTimeParts hostile[] = {db::DateTimeParts::infinite(1),
                                         db::DateTimeParts::infinite(-1),
                                         {-1999 - r, 1, 2},
                                         {5874897, 12, 31},
                                         {2024, 2, 29}};
    const db::DateTimeParts& d = hostile[r % 5];
    const db::DateTimeParts endOfDay{d.year, d.month, d.day, 23, 59, 59, 999999000};
    row.push_back(r % 2 ? db::Value::date(d) : db::Value::timestamp(d.isInfinite() ? d : endOfDay));
    return row;
}

void writeRows(db::RowBuffer& buffer, int rows) {
    for (int r = 0; r < rows; ++r) {
        for (const db::Value& v : sampleRow(r)) buffer.append(v);
        buffer.endRow();
    }
}

class DbRowBuffer : public ::testing::TestWithParam<std::size_t> {};

TEST_P(DbRowBuffer, GivesEveryRowBackExactly) {
    constexpr int kRows = 3000;
    db::RowBuffer buffer(GetParam());
    writeRows(buffer, kRows);
    ASSERT_EQ(buffer.rowCount(), kRows);
    buffer.startReading();
    std::vector<db::Value> row(kColumns);
    for (int r = 0; r < kRows; ++r) {
        buffer.readRow(row);
        ASSERT_EQ(row, sampleRow(r)) << "row " << r;
    }
}

TEST_P(DbRowBuffer, KeepsAValueLargerThanTheReadWindow) {
    db::RowBuffer buffer(GetParam());
    const QString big(3 << 20, QChar(u'ж'));
    buffer.append(db::Value::text(QStringLiteral("before")));
    buffer.endRow();
    buffer.append(db::Value::text(big));
    buffer.endRow();
    buffer.append(db::Value());
    buffer.endRow();
    buffer.startReading();
    std::vector<db::Value> row(1);
    buffer.readRow(row);
    EXPECT_EQ(row[0], db::Value::text(QStringLiteral("before")));
    buffer.readRow(row);
    EXPECT_EQ(row[0], db::Value::text(big));
    buffer.readRow(row);
    EXPECT_TRUE(row[0].isNull());
}

// Texts whose characters all fit in a byte are stored narrower; they, texts just past
// that range and other kinds take turns in the same columns.
TEST_P(DbRowBuffer, GivesByteWideAndWideTextsBackExactly) {
    const QString latin = QStringLiteral("caf\u00e9 \u00ff\x01 ") + QString(5000, QChar(u'x'));
    const QString justWider = QStringLiteral("abc\u0100");
    const QString big((3 << 20) + 7, QChar(u'\u00e4'));
    const std::vector<std::vector<db::Value>> rows{
        {db::Value::text(latin), db::Value::integer(1), db::Value::guid(QStringLiteral("AB-12"))},
        {db::Value::text(justWider), db::Value::text(QStringLiteral("x")),
         db::Value::decimal(QStringLiteral("-1.5"))},
        {db::Value::text(QString()), db::Value::text(big), db::Value()},
        {db::Value::text(latin.left(3)), db::Value::integer(2), db::Value::text(justWider)},
        {db::Value::text(QString(37, QChar(u'a')) + QChar(u'\u0100') + QString(40, QChar(u'b'))),
         db::Value::text(QString(24, QChar(u'c')) + QChar(u'\u4e2d') + QString(7, QChar(u'd'))),
         db::Value::text(latin)},
    };
    db::RowBuffer buffer(GetParam());
    for (const auto& values : rows) {
        for (const db::Value& v : values) buffer.append(v);
        buffer.endRow();
    }
    buffer.startReading();
    std::vector<db::Value> row(3);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        buffer.readRow(row);
        ASSERT_EQ(row, rows[r]) << "row " << r;
        for (std::size_t c = 0; c < row.size(); ++c) EXPECT_EQ(row[c].kind(), rows[r][c].kind());
    }
}

// Rows over a file many times the part of it that reading gives back to the system at once.
TEST(DbRowBuffer, GivesBackRowsSpreadOverManyMegabytesOfFile) {
    constexpr int kRows = 60;
    auto valueOf = [](int r) {
        return db::Value::text(QString((r % 3 + 1) << 17, QChar(r % 2 ? 0x416 : 'a' + r % 26)));
    };
    db::RowBuffer buffer(1);
    for (int r = 0; r < kRows; ++r) {
        buffer.append(db::Value::integer(r));
        buffer.append(valueOf(r));
        buffer.endRow();
    }
    buffer.startReading();
    std::vector<db::Value> row(2);
    for (int r = 0; r < kRows; ++r) {
        buffer.readRow(row);
        ASSERT_EQ(row[0], db::Value::integer(r)) << "row " << r;
        ASSERT_EQ(row[1], valueOf(r)) << "row " << r;
    }
}

TEST(DbRowBuffer, KeepsByteWideTextAtAByteACharacter) {
    db::RowBuffer buffer(1);
    for (int r = 0; r < 100; ++r) {
        buffer.append(db::Value::text(QString(1000, QChar(u'a' + r % 26))));
        buffer.endRow();
    }
    const QString fileName = buffer.spillFileName();
    buffer.startReading();
    EXPECT_LT(QFileInfo(fileName).size(), 100 * 1100);
}

TEST_P(DbRowBuffer, SpillsOnlyPastTheBound) {
    db::RowBuffer buffer(GetParam());
    writeRows(buffer, 200);
    EXPECT_EQ(buffer.spillFileName().isEmpty(), GetParam() == db::kDefaultRowMemoryBound);
}

INSTANTIATE_TEST_SUITE_P(Bounds, DbRowBuffer,
                         ::testing::Values(db::kDefaultRowMemoryBound, std::size_t{1},
                                           std::size_t{4096}),
                         [](const auto& info) { return "bound_" + std::to_string(info.param); });

TEST(DbRowBuffer, RowsHeldByTheCallerStayAsTheyWere) {
    db::RowBuffer buffer;
    writeRows(buffer, 3);
    buffer.startReading();
    std::vector<db::Value> row(kColumns);
    buffer.readRow(row);
    const std::vector<db::Value> kept = row;  // shares the strings the next row reuses
    buffer.readRow(row);
    EXPECT_EQ(kept, sampleRow(0));
    EXPECT_EQ(row, sampleRow(1));
}

TEST(DbRowBuffer, RemovesItsFileWhenDestroyed) {
    QString fileName;
    {
        db::RowBuffer buffer(1);
        writeRows(buffer, 10);
        fileName = buffer.spillFileName();
        ASSERT_FALSE(fileName.isEmpty());
        EXPECT_TRUE(QFile::exists(fileName));
    }
    EXPECT_FALSE(QFile::exists(fileName));
}

TEST(DbRowBuffer, RemovesItsFileWhenReadingIsAbandonedByAnError) {
    QString fileName;
    EXPECT_THROW(
        {
            db::RowBuffer buffer(1);
            writeRows(buffer, 10);
            fileName = buffer.spillFileName();
            buffer.startReading();
            throw std::runtime_error("failure while reading");
        },
        std::runtime_error);
    ASSERT_FALSE(fileName.isEmpty());
    EXPECT_FALSE(QFile::exists(fileName));
}

TEST(DbRowBuffer, KeepsMemoryNearTheBoundWhenSpilling) {
    constexpr std::size_t kBound = 256 * 1024;
    db::RowBuffer buffer(kBound);
    writeRows(buffer, 20000);  // several megabytes
    EXPECT_LT(buffer.memoryBytes(), 4 * kBound);
}

#ifdef __linux__
// Caps the size of the files this process writes, which fails writes as a full disk does:
// a write stores what fits, the next is refused. The signal that would end the process
// past the cap is ignored meanwhile.
class FileSizeCap {
  public:
    explicit FileSizeCap(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit capped = saved_;
        capped.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &capped);
    }
    ~FileSizeCap() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeCap(const FileSizeCap&) = delete;
    FileSizeCap& operator=(const FileSizeCap&) = delete;

  private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
};
#endif

// The refusal shows at a write of rows Qt sends straight on, at one of small rows Qt held
// back, or only when reading starts and Qt hands over what it held back.
TEST(DbRowBuffer, ReportsTheSystemsReasonAndWhereWhenTheFileCannotBeWritten) {
#ifndef __linux__
    GTEST_SKIP() << "needs a cap on file sizes";
#else
    struct {
        const char* when;
        rlim_t cap;
        int rows;
        int rowCharacters;
    } cases[] = {
        {"large rows", 64 << 10, 10, 40 << 10},
        {"small rows", 64 << 10, 2000, 100},
        {"at the start of reading", 100, 10, 100},
    };
    const QString reason = QString::fromLocal8Bit(std::strerror(EFBIG));
    const QString directory = QDir::toNativeSeparators(QDir::tempPath());
    for (const auto& c : cases) {
        QString description;
        {
            FileSizeCap cap(c.cap);
            try {
                db::RowBuffer buffer(1);
                for (int r = 0; r < c.rows; ++r) {
                    buffer.append(db::Value::text(QString(c.rowCharacters, QChar(u'a' + r % 26))));
                    buffer.endRow();
                }
                buffer.startReading();
            } catch (const db::DbError& e) {
                description = e.description();
            }
        }
        EXPECT_TRUE(description.contains(reason)) << c.when << ": " << description.toStdString();
        EXPECT_TRUE(description.contains(directory)) << c.when << ": " << description.toStdString();
    }
#endif
}

}  // namespace
}  // namespace dorvane::db
