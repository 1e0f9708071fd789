#include "core/support/Errors.h"
#include "core/support/Formats.h"

#include "core/runtime/NumberConversions.h"
#include "core/runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace korval {
namespace {

using testing::errorOf;

const RegionalFormat kInvariant = testing::invariantFormat();
const RegionalFormat kCzech = testing::czechFormat();
const RegionalFormat kGerman = testing::germanFormat();
const RegionalFormat kArabic = testing::arabicFormat();

TEST(ToSingle, ReadsTheUsersDecimalSeparator)
{
    EXPECT_FLOAT_EQ(toSingle("13.5", kInvariant), 13.5f);
    EXPECT_EQ(errorOf([] { toSingle("13,5", kInvariant); }), RuntimeError::TypeMismatch);

    EXPECT_FLOAT_EQ(toSingle("13,5", kCzech), 13.5f);
    EXPECT_EQ(errorOf([] { toSingle("13.5", kCzech); }), RuntimeError::TypeMismatch);
}

TEST(ToSingle, RefusesWhatASingleCannotHold)
{
    EXPECT_EQ(errorOf([] { toSingle("1e39", kInvariant); }), RuntimeError::Overflow);
    EXPECT_EQ(errorOf([] { toSingle("-1e39", kInvariant); }), RuntimeError::Overflow);
    EXPECT_EQ(errorOf([] { toSingle("", kInvariant); }), RuntimeError::TypeMismatch);
    EXPECT_FLOAT_EQ(toSingle("-0", kInvariant), 0.0f);
}

TEST(ToDouble, RaisesOverflowOnlyForNumbersTooLarge)
{
    EXPECT_DOUBLE_EQ(toDouble("1e39", kInvariant), 1e39);
    EXPECT_EQ(errorOf([] { toDouble("1e309", kInvariant); }), RuntimeError::Overflow);
    EXPECT_EQ(errorOf([] { toDouble("12a", kInvariant); }), RuntimeError::TypeMismatch);
}

TEST(NumberToText, UsesSignificantDigitsWithoutGroupingOrWholeDecimals)
{
    EXPECT_EQ(singleToText(16.0f, kInvariant), "16");
    EXPECT_EQ(singleToText(16.1f, kInvariant), "16.1");
    EXPECT_EQ(singleToText(1234567.0f, kInvariant), "1234567");
    EXPECT_EQ(doubleToText(-1.0, kInvariant), "-1");
    EXPECT_EQ(doubleToText(-0.0, kInvariant), "0");
    EXPECT_EQ(doubleToText(123456789012.0, kInvariant), "123456789012");

    EXPECT_EQ(singleToText(13.5f, kCzech), "13,5");
    EXPECT_EQ(doubleToText(2.25, kCzech), "2,25");
}

// What a text reads as in a format: the number, or the error it raises.
struct ReadRow {
    const char* name;
    const RegionalFormat* format;
    const char* text; // UTF-8
    std::optional<double> value;
    int error = 0;
};

ReadRow reads(const char* name, const RegionalFormat& format, const char* text, double value)
{
    return {name, &format, text, value, 0};
}
ReadRow refuses(const char* name, const RegionalFormat& format, const char* text, int error)
{
    return {name, &format, text, std::nullopt, error};
}

class ToDoubleReads : public ::testing::TestWithParam<ReadRow> {};

TEST_P(ToDoubleReads, TheFormatsSpellingOfANumber)
{
    const ReadRow& row = GetParam();
    if (row.value) {
        double value = -12345;
        EXPECT_EQ(errorOf([&] { value = toDouble(row.text, *row.format); }), std::nullopt);
        EXPECT_DOUBLE_EQ(value, *row.value);
    } else {
        EXPECT_EQ(errorOf([&] { toDouble(row.text, *row.format); }), row.error);
    }
}

constexpr int kMismatch = RuntimeError::TypeMismatch;
constexpr int kOverflow = RuntimeError::Overflow;

INSTANTIATE_TEST_SUITE_P(
    NumberConversions, ToDoubleReads,
    ::testing::Values(
        // Group signs: only between whole digits, each followed by three digits.
        reads("invariantGroupOfThousands", kInvariant, "1,000", 1000),
        reads("invariantTwoGroups", kInvariant, "1,000,000", 1000000),
        reads("invariantGroupsAndDecimals", kInvariant, "1,000.5", 1000.5),
        refuses("invariantGroupOfTwo", kInvariant, "1,00", kMismatch),
        refuses("invariantCommaAsDecimal", kInvariant, "13,5", kMismatch),
        refuses("invariantGroupOfFour", kInvariant, "1,0000", kMismatch),
        refuses("invariantGroupAfterFourDigits", kInvariant, "1000,000", kMismatch),
        refuses("invariantLeadingGroupSign", kInvariant, ",100", kMismatch),
        refuses("invariantPlainSpaceInside", kInvariant, "1 000", kMismatch),
        reads("germanPointGroups", kGerman, "1.000", 1000),
        reads("germanCommaDecimal", kGerman, "13,5", 13.5),
        reads("germanBoth", kGerman, "1.000,5", 1000.5),
        refuses("germanPointAsDecimal", kGerman, "13.5", kMismatch),
        reads("czechNoBreakSpaceGroup", kCzech, "1\u00a0000", 1000),
        reads("czechPlainSpaceGroup", kCzech, "1 000", 1000),
        reads("czechNarrowNoBreakSpaceGroup", kCzech, "1\u202f000", 1000),
        // Direction marks around a sign are no part of the number.
        reads("markBeforeMinus", kInvariant, "\u200e-5", -5),
        reads("markAfterMinus", kInvariant, "-\u200e5", -5),
        reads("arabicLetterMarkBeforeMinus", kArabic, "\u061c-\u0665", -5),
        reads("rightToLeftMarkBeforeMinus", kArabic, "\u200f-\u0665", -5),
        reads("minusSignCharacter", kInvariant, "\u2212" "5", -5),
        // A format's own digits, and the ASCII ones everywhere.
        reads("arabicIndicDigits", kArabic, "\u0661\u0666", 16),
        reads("arabicDecimalSign", kArabic, "\u0661\u066b\u0665", 1.5),
        reads("arabicExponentSign", kArabic, "\u0661\u0623\u0633\u0662", 100),
        reads("asciiDigitsUnderArabic", kArabic, "16", 16),
        refuses("arabicIndicDigitsUnderInvariant", kInvariant, "\u0661\u0666", kMismatch),
        // Out of range: too small reads as 0, too large is an overflow.
        reads("belowTheSmallestDouble", kInvariant, "1e-400", 0),
        refuses("aboveTheLargestDouble", kInvariant, "1e309", kOverflow),
        refuses("belowTheLowestDouble", kInvariant, "-1e309", kOverflow),
        refuses("exponentBeyondSixtyFourBits", kInvariant, "1e99999999999999999999", kOverflow),
        reads("negativeExponentBeyondSixtyFourBits", kInvariant, "1e-99999999999999999999", 0),
        reads("zeroWithAHugeExponent", kInvariant, "0e999999", 0),
        // A missing whole or decimal part is read as std::from_chars reads it.
        reads("noWholePart", kInvariant, ".5", 0.5),
        reads("noDecimalPart", kInvariant, "5.", 5),
        reads("noDecimalPartBeforeAnExponent", kInvariant, "5.e3", 5000),
        reads("capitalExponent", kInvariant, "1E5", 100000),
        reads("plusSign", kInvariant, "+5", 5),
        // Infinity and not-a-number are no numbers a user can type.
        refuses("inf", kInvariant, "inf", kMismatch),
        refuses("minusInf", kInvariant, "-inf", kMismatch),
        refuses("infinity", kInvariant, "Infinity", kMismatch),
        refuses("nan", kInvariant, "nan", kMismatch),
        refuses("nanInCapitals", kInvariant, "NaN", kMismatch),
        refuses("hexadecimal", kInvariant, "0x10", kMismatch),
        // Spaces around a number are ignored; a sign or exponent alone is nothing.
        reads("spacesAround", kInvariant, "  16  ", 16),
        reads("tabAndNewlineAround", kGerman, "\t20,5\n", 20.5),
        refuses("loneMinus", kInvariant, "-", kMismatch),
        refuses("lonePlus", kInvariant, "+", kMismatch),
        refuses("twoMinusSigns", kInvariant, "--5", kMismatch),
        refuses("lonePoint", kInvariant, ".", kMismatch),
        refuses("exponentWithoutMantissa", kInvariant, "e5", kMismatch),
        refuses("pointBeforeExponent", kInvariant, ".e3", kMismatch),
        refuses("exponentWithoutDigits", kInvariant, "1e", kMismatch)),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumberToText, WritesTheFormatsOwnDigitsAndSigns)
{
    EXPECT_EQ(singleToText(-16.5f, kArabic), "-\u0661\u0666\u066b\u0665");
    EXPECT_EQ(doubleToText(1234.5, kArabic), "\u0661\u0662\u0663\u0664\u066b\u0665") << "no group signs";
    EXPECT_DOUBLE_EQ(toDouble(doubleToText(-0.125, kArabic), kArabic), -0.125) << "what it writes, it reads";
    EXPECT_EQ(doubleToText(1e300, kInvariant), "1e+300");
}

} // namespace
} // namespace korval
