#include "support/LocaleScope.h"
#include "core/runtime/NumberConversions.h"
#include "core/runtime/RuntimeError.h"

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
