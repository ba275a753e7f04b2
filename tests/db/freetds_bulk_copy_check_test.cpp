// The check of the driver's bulk-copy interface against real libraries: the driver
// registered as "SQL Server", another ODBC driver, a library without the ODBC entry and
// one offering bulk copy as functions.
#include <gtest/gtest.h>

#include <QSettings>
#include <QString>

#include "db/bulk/freetds_bulk_copy_check.h"

namespace dorvane::db {
namespace {

// The driver library registered under `driver` in unixODBC's driver list.
QString registeredDriverFile(const QString& driver) {
    const QString dir = qEnvironmentVariableIsSet("ODBCSYSINI") ? qEnvironmentVariable("ODBCSYSINI")
                                                                : QStringLiteral("/etc");
    QSettings list(dir + QStringLiteral("/odbcinst.ini"), QSettings::IniFormat);
    return list.value(driver + QStringLiteral("/Driver")).toString();
}

struct CheckRow {
    const char* label;
    QString file;
    bool answersFreeTdsInfo;
    const char* mismatch;  // a part of the message; empty when the driver matches
};

void PrintTo(const CheckRow& row, std::ostream* os) {
    *os << row.label;
}

class FreeTdsBulkCopyCheck : public ::testing::TestWithParam<CheckRow> {};

TEST_P(FreeTdsBulkCopyCheck, NamesWhatDiffers) {
    const CheckRow& row = GetParam();
    ASSERT_FALSE(row.file.isEmpty()) << "no such driver registered";
    BulkCopyDriver driver{QStringLiteral("driver 1.0"), row.answersFreeTdsInfo, row.file};
    readExports(driver);
    const std::optional<QString> mismatch = bulkCopyMismatch(driver);
    if (*row.mismatch == '\0') {
        EXPECT_FALSE(mismatch) << mismatch->toStdString();
    } else {
        ASSERT_TRUE(mismatch);
        EXPECT_TRUE(mismatch->contains(QLatin1String(row.mismatch))) << mismatch->toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, FreeTdsBulkCopyCheck,
    ::testing::Values(
        CheckRow{"freetds", registeredDriverFile(QStringLiteral("SQL Server")), true, ""},
        CheckRow{"another_driver", registeredDriverFile(QStringLiteral("PostgreSQL Unicode")),
                 false, "(driver 1.0) is another"},
        CheckRow{"no_odbc_entry", QStringLiteral("libc.so.6"), true,
                 "libc.so.6 does not export SQLSetConnectAttrW"},
        CheckRow{"bulk_functions", QStringLiteral(FUNCTION_BULK_DRIVER), true,
                 "function_bulk_driver.so exports bcp_initW"},
        CheckRow{"not_found", QStringLiteral("/nonexistent/libtdsodbc.so"), true,
                 "(driver 1.0) cannot be found"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace dorvane::db
