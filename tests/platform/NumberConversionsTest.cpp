#include "support/LocaleScope.h"
#include "platform/NumberConversions.h"
#include "platform/RuntimeError.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <optional>

namespace korval {
namespace {

// Sets the user's regional format for one test and restores it afterwards.
using testing::LocaleScope;

// The error number a conversion raises, or nullopt when it converts.
template <class Conversion>
std::optional<int> errorOf(Conversion&& conversion)
{
    try {
        conversion();
        return std::nullopt;
    } catch (const RuntimeError& error) {
        return error.number();
    }
}

struct IntegerRow {
    const char* name;
    const char* locale;
    const char* text;
    int expected;       // the value, when it converts
    int expectedError;  // 0, or the error number
};

class ToIntegerTest : public ::testing::TestWithParam<IntegerRow> {};

TEST_P(ToIntegerTest, ConvertsOrRaisesTheDocumentedError)
{
    const IntegerRow& row = GetParam();
    LocaleScope locale(row.locale);
    const QString text = QString::fromUtf8(row.text);
    if (row.expectedError == 0)
        EXPECT_EQ(toInteger(text), row.expected);
    else
        EXPECT_EQ(errorOf([&] { toInteger(text); }), row.expectedError);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ToIntegerTest,
    ::testing::Values(IntegerRow{"plain", "C", "31", 31, 0},
                      IntegerRow{"negative", "C", "-12", -12, 0},
                      IntegerRow{"halfGoesToEvenDown", "C", "2.5", 2, 0},
                      IntegerRow{"halfGoesToEvenUp", "C", "3.5", 4, 0},
                      IntegerRow{"negativeHalf", "C", "-2.5", -2, 0},
                      IntegerRow{"spacesAround", "C", "  7 ", 7, 0},
                      IntegerRow{"largest", "C", "32767", 32767, 0},
                      IntegerRow{"smallest", "C", "-32768", -32768, 0},
                      IntegerRow{"roundsIntoRange", "C", "-32768.5", -32768, 0},
                      IntegerRow{"aboveRange", "C", "32768", 0, RuntimeError::Overflow},
                      IntegerRow{"joinedGaps", "C", "100100", 0, RuntimeError::Overflow},
                      IntegerRow{"belowRangeAfterRounding", "C", "-32769", 0, RuntimeError::Overflow},
                      IntegerRow{"tooLargeForDouble", "C", "1e309", 0, RuntimeError::Overflow},
                      IntegerRow{"empty", "C", "", 0, RuntimeError::TypeMismatch},
                      IntegerRow{"spacesOnly", "C", "   ", 0, RuntimeError::TypeMismatch},
                      IntegerRow{"letters", "C", "abc", 0, RuntimeError::TypeMismatch},
                      IntegerRow{"minusInside", "C", "2-1", 0, RuntimeError::TypeMismatch},
                      IntegerRow{"notANumber", "C", "nan", 0, RuntimeError::TypeMismatch},
                      IntegerRow{"infinity", "C", "inf", 0, RuntimeError::TypeMismatch},
                      IntegerRow{"decimalComma", "cs_CZ", "1,5", 2, 0},
                      IntegerRow{"pointUnderCommaLocale", "cs_CZ", "1.5", 0, RuntimeError::TypeMismatch}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToSingle, ReadsTheUsersDecimalSeparator)
{
    {
        LocaleScope locale("C");
        EXPECT_FLOAT_EQ(toSingle(QStringLiteral("13.5")), 13.5f);
        EXPECT_EQ(errorOf([] { toSingle(QStringLiteral("13,5")); }), RuntimeError::TypeMismatch);
    }
    {
        LocaleScope locale("cs_CZ");
        EXPECT_FLOAT_EQ(toSingle(QStringLiteral("13,5")), 13.5f);
        EXPECT_EQ(errorOf([] { toSingle(QStringLiteral("13.5")); }), RuntimeError::TypeMismatch);
    }
}

TEST(ToSingle, RefusesWhatASingleCannotHold)
{
    LocaleScope locale("C");
    EXPECT_EQ(errorOf([] { toSingle(QStringLiteral("1e39")); }), RuntimeError::Overflow);
    EXPECT_EQ(errorOf([] { toSingle(QStringLiteral("-1e39")); }), RuntimeError::Overflow);
    EXPECT_EQ(errorOf([] { toSingle(QStringLiteral("")); }), RuntimeError::TypeMismatch);
    EXPECT_FLOAT_EQ(toSingle(QStringLiteral("-0")), 0.0f);
}

TEST(ToDouble, RaisesOverflowOnlyForNumbersTooLarge)
{
    LocaleScope locale("C");
    EXPECT_DOUBLE_EQ(toDouble(QStringLiteral("1e39")), 1e39);
    EXPECT_EQ(errorOf([] { toDouble(QStringLiteral("1e309")); }), RuntimeError::Overflow);
    EXPECT_EQ(errorOf([] { toDouble(QStringLiteral("12a")); }), RuntimeError::TypeMismatch);
}

TEST(NumberToText, UsesSignificantDigitsWithoutGroupingOrWholeDecimals)
{
    {
        LocaleScope locale("en_US");
        EXPECT_EQ(singleToText(16.0f), QStringLiteral("16"));
        EXPECT_EQ(singleToText(16.1f), QStringLiteral("16.1"));
        EXPECT_EQ(singleToText(1234567.0f), QStringLiteral("1234567"));
        EXPECT_EQ(doubleToText(-1.0), QStringLiteral("-1"));
        EXPECT_EQ(doubleToText(-0.0), QStringLiteral("0"));
        EXPECT_EQ(doubleToText(123456789012.0), QStringLiteral("123456789012"));
    }
    {
        LocaleScope locale("cs_CZ");
        EXPECT_EQ(singleToText(13.5f), QStringLiteral("13,5"));
        EXPECT_EQ(doubleToText(2.25), QStringLiteral("2,25"));
    }
}

} // namespace
} // namespace korval
