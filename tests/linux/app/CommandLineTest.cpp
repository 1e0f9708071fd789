#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

struct ReadRow {
    const char* name;
    QStringList arguments; // after the program's name
    const char* hostWindow; // $XSCREENSAVER_WINDOW
    Mode mode;
    std::uint32_t window;
    SettingEntries runOnly;
};

class ReadCommandLine : public ::testing::TestWithParam<ReadRow> {};

TEST_P(ReadCommandLine, GivesTheModeTheWindowAndTheSettingsForThisRun)
{
    const ReadRow& row = GetParam();
    const CommandLine line = readCommandLine(QStringList{QStringLiteral("korval")} + row.arguments,
                                             QString::fromLatin1(row.hostWindow));
    EXPECT_TRUE(line.error.isEmpty()) << qPrintable(line.error);
    EXPECT_FALSE(line.help);
    EXPECT_EQ(line.mode, row.mode);
    EXPECT_EQ(line.window, row.window);
    EXPECT_EQ(line.runOnly, row.runOnly);
}

const std::string kWidth = "WIDTH";
const std::string kHeight = "HEIGHT";
const std::string kTextSize = "TEXTSIZE";
const std::string kSystem = "SYSTEM";

INSTANTIATE_TEST_SUITE_P(
    Table, ReadCommandLine,
    ::testing::Values(
        ReadRow{"windowsSaver", {"/s"}, "", Mode::Saver, 0, {}},
        ReadRow{"windowsSaverWithValuesForThisRun", {"/s", "--cell-width", "20", "-banner"}, "", Mode::Saver, 0,
                {{kWidth, "20"}, {kSystem, "1"}}},
        ReadRow{"windowsSaverIgnoresOtherWordsAsBefore", {"/s", "1234"}, "", Mode::Saver, 0, {}},
        ReadRow{"windowsSaverInOneWord", {"/s/c"}, "", Mode::Saver, 0, {}},
        ReadRow{"windowsSaverPaddedNeedsNoHostWindow", {" /S "}, "0x600008", Mode::Saver, 0, {}},
        ReadRow{"optionsIgnoreTheRestAsBefore", {"/c", "--anything"}, "", Mode::Configure, 0, {}},
        ReadRow{"previewWithHandle", {"/p", "4242"}, "", Mode::Preview, 0, {}},
        ReadRow{"passwordChange", {"/a"}, "", Mode::PasswordChange, 0, {}},
        ReadRow{"nothing", {}, "", Mode::Configure, 0, {}},
        ReadRow{"wordWithoutDashOrSlash", {"s"}, "", Mode::Unknown, 0, {}},
        ReadRow{"rootOneDash", {"-root"}, "", Mode::Hosted, 0, {}},
        ReadRow{"rootTwoDashes", {"--root"}, "", Mode::Hosted, 0, {}},
        ReadRow{"rootInTheWindowNamedInHexadecimal", {"--root"}, "0x600008", Mode::Hosted, 0x600008, {}},
        ReadRow{"rootInTheWindowNamedInDecimal", {"-root"}, "6291464", Mode::Hosted, 0x600008, {}},
        ReadRow{"rootWithAnEmptyVariable", {"-root"}, "", Mode::Hosted, 0, {}},
        ReadRow{"windowIdBeforeTheVariable", {"--root", "--window-id", "0x1A"}, "0x600008", Mode::Hosted, 26, {}},
        ReadRow{"windowIdAloneIgnoresTheVariable", {"-window-id", "26"}, "junk", Mode::Hosted, 26, {}},
        ReadRow{"windowIdAfterAnEqualsSign", {"--window-id=0x1a"}, "", Mode::Hosted, 26, {}},
        ReadRow{"largestWindowId", {"--window-id", "0xFFFFFFFF"}, "", Mode::Hosted, 0xFFFFFFFF, {}},
        ReadRow{"paddedHostSwitch", {" --root "}, "", Mode::Hosted, 0, {}},
        ReadRow{"ownWindowIsTheSaver", {"-window"}, "0x600008", Mode::Saver, 0, {}},
        ReadRow{"everyValueForThisRun",
                {"-root", "-text-size", "12", "--cell-width", "20", "-cell-height", "30", "--no-banner"}, "",
                Mode::Hosted, 0, {{kTextSize, "12"}, {kWidth, "20"}, {kHeight, "30"}, {kSystem, "0"}}},
        ReadRow{"lastOfARepeatedValue", {"--window", "--text-size", "8", "--text-size", "24"}, "", Mode::Saver, 0,
                {{kTextSize, "24"}}},
        ReadRow{"valuesAreCheckedWhereTheSaverReadsThem", {"--root", "--cell-width", "wide"}, "", Mode::Hosted, 0,
                {{kWidth, "wide"}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusedRow {
    const char* name;
    QStringList arguments;
    const char* hostWindow;
    const char* message; // part of the error
};

class CommandLineRefused : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(CommandLineRefused, WithAMessageAndTheUsageStatus)
{
    const RefusedRow& row = GetParam();
    const CommandLine line = readCommandLine(QStringList{QStringLiteral("korval")} + row.arguments,
                                             QString::fromLatin1(row.hostWindow));
    EXPECT_TRUE(line.error.contains(QString::fromLatin1(row.message))) << qPrintable(line.error);
    testing::internal::CaptureStderr();
    EXPECT_EQ(answerWithoutWindows(line), 2);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("usage: korval"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineRefused,
    ::testing::Values(
        RefusedRow{"windowIdNotANumber", {"--window-id", "abc"}, "", "--window-id 'abc' names no window"},
        RefusedRow{"windowIdZero", {"--window-id", "0"}, "", "names no window"},
        RefusedRow{"windowIdNegative", {"--window-id", "-5"}, "", "names no window"},
        RefusedRow{"windowIdBeyond32Bits", {"--window-id", "0x100000000"}, "", "names no window"},
        RefusedRow{"windowIdWithASign", {"--window-id", "+12"}, "", "names no window"},
        RefusedRow{"windowIdHexadecimalWithoutPrefix", {"--window-id", "1a"}, "", "names no window"},
        RefusedRow{"windowIdHexadecimalPrefixAlone", {"--window-id", "0x"}, "", "names no window"},
        RefusedRow{"windowIdMissing", {"--window-id"}, "", "Missing value"},
        RefusedRow{"variableNotANumber", {"--root"}, "junk", "XSCREENSAVER_WINDOW 'junk' names no window"},
        RefusedRow{"variableWithOtherDigits", {"--root"}, "\u0663\u0664", "XSCREENSAVER_WINDOW"},
        RefusedRow{"ownWindowAndRoot", {"--window", "--root"}, "", "window of its own"},
        RefusedRow{"noMode", {"--text-size", "12"}, "", "no mode given"},
        RefusedRow{"unknownSwitch", {"--frobnicate"}, "", "Unknown option 'frobnicate'"},
        RefusedRow{"qtSwitch", {"-platform", "offscreen"}, "", "Unknown option 'platform'"},
        RefusedRow{"strayWord", {"--root", "extra"}, "", "Unexpected argument 'extra'"},
        RefusedRow{"switchWithoutAValueGivenOne", {"--root=1"}, "", "Unexpected value"},
        RefusedRow{"valueSwitchWithoutItsValue", {"--root", "--cell-height"}, "", "Missing value"},
        RefusedRow{"bannerBothWays", {"--window", "--banner", "--no-banner"}, "", "exclude each other"},
        RefusedRow{"windowsSaverWithAnUnknownSwitch", {"/s", "--frobnicate"}, "", "Unknown option"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, HelpInEveryDashStyleIsAnsweredWithoutWindows)
{
    for (const char* help : {"--help", "-help", "-h", " --help "}) {
        const CommandLine line = readCommandLine({QStringLiteral("korval"), QString::fromLatin1(help)}, QString());
        EXPECT_TRUE(line.help) << help;
        testing::internal::CaptureStdout();
        EXPECT_EQ(answerWithoutWindows(line), 0) << help;
        EXPECT_NE(testing::internal::GetCapturedStdout().find("--window-id"), std::string::npos) << help;
    }
}

} // namespace
} // namespace korval
