#include "core/runtime/NumberConversions.h"
#include "platform/LocaleFormat.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <string>

namespace korval {
namespace {

struct FormatRow {
    const char* name;
    const char* locale;
    RegionalFormat format;
    std::string minusThirteenAndAHalf; // -13.5 as the format writes it
};

class RegionalFormatOf : public ::testing::TestWithParam<FormatRow> {};

// The signs and digits of the user's locale reach the rules without the
// direction marks that right-to-left locales put around their signs, and a
// number the rules write in them reads back as itself.
TEST_P(RegionalFormatOf, TakesTheLocalesSignsAndDigits)
{
    const FormatRow& row = GetParam();
    const RegionalFormat format = regionalFormatOf(QLocale(QString::fromLatin1(row.locale)));
    EXPECT_EQ(format.decimalSign, row.format.decimalSign);
    EXPECT_EQ(format.groupSign, row.format.groupSign);
    EXPECT_EQ(format.minusSign, row.format.minusSign);
    EXPECT_EQ(format.plusSign, row.format.plusSign);
    EXPECT_EQ(format.exponentSign, row.format.exponentSign);
    EXPECT_EQ(format.zeroDigit, row.format.zeroDigit);

    EXPECT_EQ(doubleToText(-13.5, format), row.minusThirteenAndAHalf);
    for (const double value : {-13.5, 0.0, 1234.25, 1e-7, 1e20})
        EXPECT_EQ(toDouble(doubleToText(value, format), format), value) << value;
    EXPECT_EQ(toSingle(singleToText(8.5f, format), format), 8.5f);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RegionalFormatOf,
    ::testing::Values(FormatRow{"c", "C", {".", ",", "-", "+", "e", U'0'}, "-13.5"},
                      FormatRow{"english", "en_US", {".", ",", "-", "+", "E", U'0'}, "-13.5"},
                      FormatRow{"czech", "cs_CZ", {",", "\u00a0", "-", "+", "E", U'0'}, "-13,5"},
                      FormatRow{"german", "de_DE", {",", ".", "-", "+", "E", U'0'}, "-13,5"},
                      FormatRow{"arabic", "ar_EG",
                                {"\u066b", "\u066c", "-", "+", "\u0627\u0633", U'\u0660'},
                                "-\u0661\u0663\u066b\u0665"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval
