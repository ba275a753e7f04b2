#include <gtest/gtest.h>

#include "customize/number_text.h"

namespace dorvane {
namespace {

class ReadsAsNumber : public ::testing::TestWithParam<const char*> {};
TEST_P(ReadsAsNumber, Yes) {
    EXPECT_TRUE(customize::readsAsNumber(QString::fromUtf8(GetParam())));
}
INSTANTIATE_TEST_SUITE_P(Numbers, ReadsAsNumber,
                         ::testing::Values("1", "42", "3.5", "0", "007", "-1", "+2", ".5", "7.",
                                           "1e5", "1E5", "2.5E-3", "6e+2", " 42", "42 ", "\t9\t",
                                           "-.25"));

class DoesNotReadAsNumber : public ::testing::TestWithParam<const char*> {};
TEST_P(DoesNotReadAsNumber, No) {
    EXPECT_FALSE(customize::readsAsNumber(QString::fromUtf8(GetParam())));
}
INSTANTIATE_TEST_SUITE_P(Names, DoesNotReadAsNumber,
                         ::testing::Values("", " ", "id", "12a", "a12", "1,000", "1 000", "$5",
                                           "5%", "0x1F", "e5", "1e", "1e+", ".", "-", "+-1",
                                           "1.2.3", "--1", "newfieldname0", "\xd9\xa3", "1\n"));

}  // namespace
}  // namespace dorvane
