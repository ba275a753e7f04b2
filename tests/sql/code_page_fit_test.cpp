// Text against the code page of a VARCHAR column: what each code page holds exactly, the
// first character it does not (a surrogate pair whole), and the report that names it.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <stdexcept>

#include "sql/code_page_fit.h"

namespace dorvane {
namespace {

constexpr int kUnknownCodePage = 1234;

struct FitCase {
    int codePage;
    const char16_t* text;
    const char16_t* firstOutside;  // null when everything fits
};

const FitCase kFitCases[] = {
    {1252, u"", nullptr},
    {1252, u"plain ASCII, with \\ and ~", nullptr},
    {1252, u"caf\u00e9 \u20ac 5 \u2030 \u2014", nullptr},  // é, € (0x80), ‰, em dash
    {1252, u"\u03b1\u03b2", u"\u03b1"},
    {1252, u"\u4e2d\u6587", u"\u4e2d"},
    {1252, u"a\U0001F600b", u"\U0001F600"},
    {1252, u"\u0101", u"\u0101"},               // ā, which the server writes as 'a'
    {1252, u"a\u00e9\u4e2d\u03b1", u"\u4e2d"},  // the first of several
    {1252, u"x\xd83dy", u"\xd83d"},             // a surrogate without its pair
    {1253, u"\u03b1\u03b2\u03b3 \u0386", nullptr},
    {1253, u"\u03b1\u4e2d", u"\u4e2d"},
    {1251, u"\u0436\u0401", nullptr},
    {932, u"\u65e5\u672c\u8a9e \uff76", nullptr},  // 日本語 and a half-width katakana
    {932, u"\u65e5\u00a5", u"\u00a5"},             // ¥ goes out as the byte of '\'
    {932, u"\u2014", u"\u2014"},                   // comes back as U+2015
    {936, u"\u4e2d\u6587", nullptr},
    {950, u"\u7e41\u9ad4", nullptr},
    {949, u"\ud55c\uad6d\uc5b4", nullptr},
    {1258, u"\u00e2\u0103 \u0111", nullptr},  // â ă đ, letters the decoder holds back
    {1258, u"a\u0323", nullptr},              // a letter and the combining dot, each a byte
    {1258, u"\u1ea1", u"\u1ea1"},             // ạ itself would come back as the two
    {65001, u"\U0001F600 \u4e2d \u03b1 \u0101", nullptr},
    {kUnknownCodePage, u"only ASCII", nullptr},
    {kUnknownCodePage, u"ab\u00e9", u"\u00e9"},
};

// One object per code page across all the cases, as in a copy: a failure must not leave
// state behind for the next value.
TEST(TransferCodePageFit, FindsTheFirstCharacterTheCodePageCannotHoldExactly) {
    std::map<int, sql::CodePageFit> fits;
    for (int pass = 0; pass < 2; ++pass) {
        for (const FitCase& c : kFitCases) {
            const QString text = QString::fromUtf16(c.text);
            auto& fit = fits.try_emplace(c.codePage, c.codePage).first->second;
            const std::optional<QString> expected =
                c.firstOutside ? std::optional(QString::fromUtf16(c.firstOutside)) : std::nullopt;
            EXPECT_EQ(fit.firstCharacterOutside(text), expected)
                << "code page " << c.codePage << ": " << text.toStdString();
        }
    }
}

TEST(TransferCodePageFit, FindsACharacterAfterALongTextThatFits) {
    sql::CodePageFit fit(1252);
    const QString latin = QString(100000, QChar(u'\u00e9'));
    EXPECT_EQ(fit.firstCharacterOutside(latin), std::nullopt);
    EXPECT_EQ(fit.firstCharacterOutside(latin + QChar(u'\u03b1')), QStringLiteral("\u03b1"));
}

std::string reportOf(int codePage, const QString& text) {
    try {
        sql::CodePageFit(codePage).check(text);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return {};
}

TEST(TransferCodePageFit, ReportNamesTheCodePageAndTheCharacterAndTheWayOut) {
    const std::string ending =
        "The Data Type Customization dialog can choose NVARCHAR for the column.";
    struct {
        int codePage;
        QString text;
        std::vector<std::string> parts;
    } cases[] = {
        {1252, QStringLiteral("x\u03b1"), {"1252", "'\u03b1'", "(U+03B1)"}},
        {1252, QStringLiteral("\U0001F600"), {"'\U0001F600'", "(U+1F600)"}},
        {kUnknownCodePage, QStringLiteral("\u00e9"), {"1234", "(U+00E9)", "only ASCII"}},
    };
    for (const auto& c : cases) {
        const std::string report = reportOf(c.codePage, c.text);
        for (const std::string& part : c.parts)
            EXPECT_NE(report.find(part), std::string::npos) << report;
        EXPECT_TRUE(report.ends_with(ending)) << report;
    }
    EXPECT_EQ(reportOf(1252, QStringLiteral("caf\u00e9")), "");
    EXPECT_EQ(reportOf(65001, QStringLiteral("\U0001F600")), "");
}

}  // namespace
}  // namespace dorvane
