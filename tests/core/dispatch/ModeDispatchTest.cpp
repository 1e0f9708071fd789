#include "app/ModeDispatch.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

struct DispatchRow {
    const char* name;
    const char* arguments;
    Mode mode;
};

class ModeDispatchTest : public ::testing::TestWithParam<DispatchRow> {};

TEST_P(ModeDispatchTest, FirstTwoCharactersOfTheTrimmedLowerCasedArgumentsChoose)
{
    EXPECT_EQ(selectMode(QString::fromUtf8(GetParam().arguments)), GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(Table, ModeDispatchTest,
                         ::testing::Values(DispatchRow{"saver", "/s", Mode::Saver},
                                           DispatchRow{"saverInCapitals", "/S", Mode::Saver},
                                           DispatchRow{"saverInSpaces", " /s ", Mode::Saver},
                                           DispatchRow{"onlyTwoCharactersCount", "/s/c", Mode::Saver},
                                           DispatchRow{"previewWithHandle", "/p 123", Mode::Preview},
                                           DispatchRow{"previewInCapitals", "/P", Mode::Preview},
                                           DispatchRow{"configureWithHandle", "/c:456", Mode::Configure},
                                           DispatchRow{"configure", "/c", Mode::Configure},
                                           DispatchRow{"noArgument", "", Mode::Configure},
                                           DispatchRow{"spacesOnly", "   ", Mode::Configure},
                                           DispatchRow{"unknownSwitch", "/x", Mode::Unknown},
                                           DispatchRow{"singleSlash", "/", Mode::Unknown},
                                           DispatchRow{"tabIsNotTrimmed", "\t/s", Mode::Unknown},
                                           DispatchRow{"longOption", "--help", Mode::Unknown}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ArgumentString, JoinsTheArgumentsAfterTheProgramName)
{
    EXPECT_EQ(argumentString({QStringLiteral("korval")}), QString());
    EXPECT_EQ(argumentString({QStringLiteral("korval"), QStringLiteral("/p"), QStringLiteral("123")}),
              QStringLiteral("/p 123"));
}

} // namespace
} // namespace korval
