#include "core/dispatch/ModeDispatch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

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
    EXPECT_EQ(selectMode(GetParam().arguments), GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(Table, ModeDispatchTest,
                         ::testing::Values(DispatchRow{"saver", "/s", Mode::Saver},
                                           DispatchRow{"saverInCapitals", "/S", Mode::Saver},
                                           DispatchRow{"saverInSpaces", " /s ", Mode::Saver},
                                           DispatchRow{"onlyTwoCharactersCount", "/s/c", Mode::Saver},
                                           DispatchRow{"saverWithADash", "-s", Mode::Saver},
                                           DispatchRow{"saverWithADashInCapitals", "-S", Mode::Saver},
                                           DispatchRow{"previewWithHandle", "/p 123", Mode::Preview},
                                           DispatchRow{"previewInCapitals", "/P", Mode::Preview},
                                           DispatchRow{"configureWithHandle", "/c:456", Mode::Configure},
                                           DispatchRow{"configureWithADashAndHandle", "-c:12", Mode::Configure},
                                           DispatchRow{"configure", "/c", Mode::Configure},
                                           DispatchRow{"passwordChange", "/a", Mode::PasswordChange},
                                           DispatchRow{"passwordChangeInCapitals", "/A", Mode::PasswordChange},
                                           DispatchRow{"noArgument", "", Mode::Configure},
                                           DispatchRow{"spacesOnly", "   ", Mode::Configure},
                                           DispatchRow{"unknownSwitch", "/x", Mode::Unknown},
                                           DispatchRow{"singleSlash", "/", Mode::Unknown},
                                           DispatchRow{"singleDash", "-", Mode::Unknown},
                                           DispatchRow{"tabIsNotTrimmed", "\t/s", Mode::Unknown},
                                           DispatchRow{"longOption", "--help", Mode::Unknown}),
                         [](const auto& info) { return std::string(info.param.name); });

struct HostWindowRow {
    const char* name;
    const char* arguments;
    std::optional<std::uint64_t> window;
};

class HostWindow : public ::testing::TestWithParam<HostWindowRow> {};

TEST_P(HostWindow, IsTheWholeNumberAfterTheSwitch)
{
    EXPECT_EQ(hostWindowOf(GetParam().arguments), GetParam().window);
}

INSTANTIATE_TEST_SUITE_P(
    ModeDispatch, HostWindow,
    ::testing::Values(HostWindowRow{"configureColon", "/c:1234", 1234},
                      HostWindowRow{"configureSpace", "/c 1234", 1234},
                      HostWindowRow{"previewSpace", "/p 1234", 1234},
                      HostWindowRow{"previewColon", "/p:1234", 1234},
                      HostWindowRow{"capitalsAndZero", "/C:0", 0},
                      HostWindowRow{"dash", "-c:12", 12},
                      HostWindowRow{"spacesAround", "  /p 1234  ", 1234},
                      HostWindowRow{"spacesAfterTheColon", "/c:  77", 77},
                      HostWindowRow{"largestHandle", "/p 18446744073709551615", UINT64_MAX},
                      HostWindowRow{"tooLargeForSixtyFourBits", "/p 18446744073709551616", std::nullopt},
                      HostWindowRow{"switchAlone", "/c", std::nullopt},
                      HostWindowRow{"colonAlone", "/c:", std::nullopt},
                      HostWindowRow{"spaceAlone", "/p ", std::nullopt},
                      HostWindowRow{"lettersAfterDigits", "/c:12ab", std::nullopt},
                      HostWindowRow{"spaceInsideTheNumber", "/c:12 34", std::nullopt},
                      HostWindowRow{"negative", "/p -5", std::nullopt},
                      HostWindowRow{"plusSign", "/p +5", std::nullopt},
                      HostWindowRow{"saverSwitch", "/s", std::nullopt},
                      HostWindowRow{"nothing", "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval
