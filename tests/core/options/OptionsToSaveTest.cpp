#include "core/support/Formats.h"

#include "core/options/OptionsToSave.h"

#include "core/runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <string>

namespace korval {
namespace {

const RegionalFormat kInvariant = testing::invariantFormat();
const RegionalFormat kCzech = testing::czechFormat();

// One pixel wider and six taller than the font size: size 12 gives 13 x 18.
LetterSize simpleLetter(double pointSize)
{
    const int points = static_cast<int>(pointSize);
    return {points + 1, points + 6};
}

SettingEntries stored(const char* size, const char* width, const char* height, const char* system)
{
    return {{"TEXTSIZE", size}, {"WIDTH", width}, {"HEIGHT", height}, {"SYSTEM", system}};
}

struct AcceptedRow {
    const char* name;
    DialogFields fields;
    SettingEntries entries;
};

class AcceptedGaps : public ::testing::TestWithParam<AcceptedRow> {};

TEST_P(AcceptedGaps, StoreTheLetterPlusTheGapsInOrder)
{
    EXPECT_EQ(entriesToSave(GetParam().fields, simpleLetter, kInvariant), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AcceptedGaps,
    ::testing::Values(
        AcceptedRow{"GapsThreeAndOne", {"12", "3", "1", 1}, stored("12", "16", "19", "1")},
        AcceptedRow{"NoGapsStoreTheLetterItself", {"12", "0", "0", 0}, stored("12", "13", "18", "0")},
        // Each gap is checked on its own: joined, these would read 100100 and 2-1.
        AcceptedRow{"HundredAndHundred", {"8", "100", "100", 1}, stored("8", "109", "114", "1")},
        AcceptedRow{"TwoAndMinusOne", {"8", "2", "-1", 1}, stored("8", "11", "13", "1")},
        AcceptedRow{"GapLeavingOnePixel", {"24", "-24", "-29", 1}, stored("24", "1", "1", "1")},
        AcceptedRow{"WholeNumberWithADecimalPart", {"10", "2.0", "+3", 1}, stored("10", "13", "19", "1")},
        AcceptedRow{"SpacesAroundANumber", {"10", " 2 ", "3 ", 1}, stored("10", "13", "19", "1")},
        AcceptedRow{"LargestGap", {"8", "32767", "-13", 1}, stored("8", "32776", "1", "1")}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusedRow {
    const char* name;
    DialogFields fields;
    int error;
};

class RefusedGaps : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(RefusedGaps, RaiseARunTimeError)
{
    try {
        entriesToSave(GetParam().fields, simpleLetter, kInvariant);
        ADD_FAILURE() << "accepted";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), GetParam().error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RefusedGaps,
    ::testing::Values(
        RefusedRow{"LettersAsColumnGap", {"10", "abc", "1", 1}, RuntimeError::TypeMismatch},
        RefusedRow{"LettersAsRowGap", {"10", "1", "x", 1}, RuntimeError::TypeMismatch},
        RefusedRow{"FractionalGap", {"10", "1.5", "1", 1}, RuntimeError::TypeMismatch},
        RefusedRow{"HalfThatWouldRoundToEven", {"10", "1", "2.5", 1}, RuntimeError::TypeMismatch},
        RefusedRow{"EmptyGap", {"10", "", "1", 1}, RuntimeError::TypeMismatch},
        RefusedRow{"InfiniteGap", {"10", "inf", "1", 1}, RuntimeError::TypeMismatch},
        RefusedRow{"GapAboveTheRange", {"10", "32768", "1", 1}, RuntimeError::Overflow},
        RefusedRow{"GapBelowTheRange", {"10", "1", "-32769", 1}, RuntimeError::Overflow},
        RefusedRow{"WidthOfNoPixel", {"10", "-11", "1", 1}, RuntimeError::InvalidPropertyValue},
        RefusedRow{"NegativeHeight", {"10", "1", "-50", 1}, RuntimeError::InvalidPropertyValue},
        RefusedRow{"SizeTheListDoesNotOffer", {"0", "1", "1", 1}, RuntimeError::InvalidPropertyValue}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OptionsToSave, GapsAreReadInTheUsersRegionalFormat)
{
    EXPECT_EQ(wholeGap("3,0", kCzech), 3);
    EXPECT_THROW(wholeGap("1,5", kCzech), RuntimeError);
    EXPECT_THROW(wholeGap("1.5", kCzech), RuntimeError);
}

struct GapRow {
    const char* name;
    const RegionalFormat* format;
    const char* text;
    int expected;      // the gap, when the text is one
    int expectedError; // 0, or the error number
};

class WholeGap : public ::testing::TestWithParam<GapRow> {};

// A gap is a whole number in -32768..32767 or nothing: no rounding.
TEST_P(WholeGap, IsAWholeNumberInRangeOrTheError)
{
    const GapRow& row = GetParam();
    if (row.expectedError == 0) {
        EXPECT_EQ(wholeGap(row.text, *row.format), row.expected);
        return;
    }
    try {
        wholeGap(row.text, *row.format);
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), row.expectedError);
    }
}

INSTANTIATE_TEST_SUITE_P(
    OptionsToSave, WholeGap,
    ::testing::Values(GapRow{"plain", &kInvariant, "31", 31, 0},
                      GapRow{"negative", &kInvariant, "-12", -12, 0},
                      GapRow{"halfIsNoWholeNumber", &kInvariant, "2.5", 0, RuntimeError::TypeMismatch},
                      GapRow{"spacesAround", &kInvariant, "  7 ", 7, 0},
                      GapRow{"largest", &kInvariant, "32767", 32767, 0},
                      GapRow{"smallest", &kInvariant, "-32768", -32768, 0},
                      GapRow{"halfBelowTheRange", &kInvariant, "-32768.5", 0, RuntimeError::TypeMismatch},
                      GapRow{"aboveRange", &kInvariant, "32768", 0, RuntimeError::Overflow},
                      GapRow{"joinedGaps", &kInvariant, "100100", 0, RuntimeError::Overflow},
                      GapRow{"belowRange", &kInvariant, "-32769", 0, RuntimeError::Overflow},
                      GapRow{"tooLargeForDouble", &kInvariant, "1e309", 0, RuntimeError::Overflow},
                      GapRow{"empty", &kInvariant, "", 0, RuntimeError::TypeMismatch},
                      GapRow{"spacesOnly", &kInvariant, "   ", 0, RuntimeError::TypeMismatch},
                      GapRow{"letters", &kInvariant, "abc", 0, RuntimeError::TypeMismatch},
                      GapRow{"minusInside", &kInvariant, "2-1", 0, RuntimeError::TypeMismatch},
                      GapRow{"notANumber", &kInvariant, "nan", 0, RuntimeError::TypeMismatch},
                      GapRow{"infinity", &kInvariant, "inf", 0, RuntimeError::TypeMismatch},
                      GapRow{"decimalCommaFraction", &kCzech, "1,5", 0, RuntimeError::TypeMismatch},
                      GapRow{"pointUnderCommaLocale", &kCzech, "1.5", 0, RuntimeError::TypeMismatch}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval
