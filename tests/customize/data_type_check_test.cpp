#include <gtest/gtest.h>

#include <QStringList>

#include "customize/data_type_check.h"

namespace dorvane {
namespace {

TEST(AcceptedTypeList, HoldsTheOfferedTypesOnePerLineWithMemoOnlyInTheCheck) {
    const QStringList accepted = customize::acceptedTypeListText().split(QStringLiteral("\r\n"));
    const QStringList help = customize::helpTypeListText().split(QStringLiteral("\r\n"));
    ASSERT_EQ(accepted.size(), 27);
    EXPECT_EQ(accepted.first(), "MEMO");
    EXPECT_EQ(accepted.last(), "xml");
    EXPECT_EQ(accepted[6], "decimal(18, 0)");
    EXPECT_EQ(help, accepted.mid(1));
    EXPECT_FALSE(customize::acceptedTypeListText().endsWith(u'\n'));
}

class AcceptedTypes : public ::testing::TestWithParam<const char*> {};
TEST_P(AcceptedTypes, PassTheCheck) {
    EXPECT_TRUE(customize::IsValidDataType(QString::fromUtf8(GetParam())));
}
INSTANTIATE_TEST_SUITE_P(FragmentsOfTheListIgnoringCase, AcceptedTypes,
                         ::testing::Values("int", "INT", "Int", "e", "", "MEMO", "memo",
                                           "VarChar (50)", "xml", "uniqueidentifier", "Text",
                                           "TIMESTAMP", "smallmoney", "(18, 0)", "Bit\r\nChar",
                                           "varchar"));
INSTANTIATE_TEST_SUITE_P(SizedTypes, AcceptedTypes,
                         ::testing::Values("varchar(100)", "NVARCHAR(20)", "decimal(10,2)",
                                           "numeric(5)", "varbinary(16)", "CHAR(1)",
                                           "binary(8) not null"));

class RefusedTypes : public ::testing::TestWithParam<const char*> {};
TEST_P(RefusedTypes, FailTheCheck) {
    EXPECT_FALSE(customize::IsValidDataType(QString::fromUtf8(GetParam())));
}
INSTANTIATE_TEST_SUITE_P(NotInTheList, RefusedTypes,
                         ::testing::Values("integer", "boolean", "bool", "serial",
                                           "double precision", "character(3)", "varchar (100)",
                                           "decimal (10,2)", "jsonb", "int4", " int"));

}  // namespace
}  // namespace dorvane
