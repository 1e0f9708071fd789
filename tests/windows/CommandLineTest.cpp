#include "windows/app/CommandLine.h"

#include "core/dispatch/ModeDispatch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace korval::windows {
namespace {

// Whole command lines as Windows hands them to the program: the path (as the
// screen-saver host, Explorer's Install or a console writes it), then the
// host's switch. Each row: what the line is, the mode and the window handle
// that the rules read from it.
struct Row {
    const char* name;
    const wchar_t* commandLine;
    Mode mode;
    std::optional<std::uint64_t> window;
};

const Row kRows[] = {
    {"host saver", LR"("C:\Windows\system32\korval.scr" /s)", Mode::Saver, {}},
    {"short path capitals", LR"(C:\WINDOWS\KORVAL~1.SCR /S)", Mode::Saver, {}},
    {"dash", L"korval.scr -s", Mode::Saver, {}},
    {"tab after the path", L"korval.scr\t/s", Mode::Saver, {}},
    {"only the first two characters", L"korval.scr /s/c", Mode::Saver, {}},
    {"spaces around the switch", L"korval.scr    /s   ", Mode::Saver, {}},
    {"settings with colon", LR"("C:\Program Files\KORVAL\korval.scr" /c:2228)", Mode::Configure, 2228},
    {"settings with space", L"korval.scr /c 2228", Mode::Configure, 2228},
    {"settings without handle", L"korval.scr /c", Mode::Configure, {}},
    {"Install from Explorer", LR"("C:\Users\Jiří\Downloads\korval.scr" /c:131390)", Mode::Configure, 131390},
    {"no argument", L"korval.scr", Mode::Configure, {}},
    {"quoted path alone", LR"("C:\Program Files\korval.scr")", Mode::Configure, {}},
    {"blanks only", L"korval.scr \t  ", Mode::Configure, {}},
    {"unclosed quote is all path", LR"("C:\odd path /s)", Mode::Configure, {}},
    {"path goes on after the quote", LR"("C:\odd"name.scr /s)", Mode::Saver, {}},
    {"preview with space", L"korval.scr /p 1234", Mode::Preview, 1234},
    {"preview with colon", L"korval.scr /P:1234", Mode::Preview, 1234},
    {"preview handle not a number", L"korval.scr /p abc", Mode::Preview, {}},
    {"password change", L"korval.scr /a 4242", Mode::PasswordChange, 4242},
    {"unknown switch", L"korval.scr /x", Mode::Unknown, {}},
    {"a word", L"korval.scr saver", Mode::Unknown, {}},
};

TEST(CommandLine, ModeAndWindowOfWholeCommandLines)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        const std::string arguments = argumentString(row.commandLine);
        EXPECT_EQ(selectMode(arguments), row.mode);
        EXPECT_EQ(hostWindowOf(arguments), row.window);
    }
}

// The rules read UTF-8; a switch outside ASCII and an unpaired surrogate
// (which no UTF-16 to UTF-8 conversion can carry) arrive as such.
TEST(CommandLine, ArgumentsArriveAsUtf8)
{
    EXPECT_EQ(argumentString(L"korval.scr /ž"), "/\xC5\xBE");
    EXPECT_EQ(argumentString(L"korval.scr /\xD800s"), "/\xEF\xBF\xBDs");
    EXPECT_EQ(selectMode(argumentString(L"korval.scr /\xD800s")), Mode::Unknown);
}

} // namespace
} // namespace korval::windows
