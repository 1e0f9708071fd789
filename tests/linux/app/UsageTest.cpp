#include "app/Usage.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

TEST(ArgumentString, JoinsTheArgumentsAfterTheProgramName)
{
    EXPECT_EQ(argumentString({QStringLiteral("korval")}), QString());
    EXPECT_EQ(argumentString({QStringLiteral("korval"), QStringLiteral("/p"), QStringLiteral("123")}),
              QStringLiteral("/p 123"));
}

} // namespace
} // namespace korval
