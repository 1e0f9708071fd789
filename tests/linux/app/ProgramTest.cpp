#include "support/FakePlatform.h"
#include "support/TempStore.h"

#include "app/Program.h"
#include "options/OptionsForm.h"
#include "saver/HostedRain.h"
#include "saver/SaverForm.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

using testing::FakePlatform;
using testing::TempStore;

// The preview, and the password change: the saver has no password of its own.
TEST(Program, PreviewAndPasswordChangeEndAtOnceShowingNothing)
{
    for (const char* arguments : {"/p 1234", "/a"}) {
        FakePlatform platform;
        TempStore temp;
        Program program(platform, temp.store);
        program.Form_Load(QString::fromLatin1(arguments));
        EXPECT_EQ(platform.exitStatus, 0) << arguments;
        EXPECT_EQ(program.saver(), nullptr) << arguments;
        EXPECT_EQ(program.options(), nullptr) << arguments;
    }
}

TEST(Program, UnknownSwitchEndsWithAFailureStatus)
{
    FakePlatform platform;
    TempStore temp;
    Program program(platform, temp.store);
    program.Form_Load(QStringLiteral("/x"));
    EXPECT_EQ(platform.exitStatus, 2);
    EXPECT_EQ(program.saver(), nullptr);
    EXPECT_EQ(program.options(), nullptr);
}

TEST(Program, ConfigureShowsTheDialogAndNoSaver)
{
    for (const char* arguments : {"/c", "/c:1234", "", "   "}) {
        FakePlatform platform;
        TempStore temp;
        Program program(platform, temp.store);
        program.Form_Load(QString::fromLatin1(arguments));
        EXPECT_FALSE(platform.ended()) << arguments;
        EXPECT_EQ(program.saver(), nullptr) << arguments;
        ASSERT_NE(program.options(), nullptr) << arguments;
        EXPECT_TRUE(program.options()->window().isVisible()) << arguments;
        program.options()->window().close();
    }
}

TEST(Program, SaverCoversTheScreen)
{
    FakePlatform platform(1024, 768);
    TempStore temp;
    Program program(platform, temp.store);
    program.Form_Load(QStringLiteral(" /S "));
    ASSERT_NE(program.saver(), nullptr);
    SaverForm& form = *program.saver();
    form.form1().Timer1.setEnabled(false);
    EXPECT_TRUE(form.window().isVisible());
    EXPECT_EQ(form.window().geometry(), QRect(0, 0, 1024, 768));
    EXPECT_TRUE(form.window().flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.window().flags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(platform.cursorCount, -1);
    EXPECT_EQ(program.options(), nullptr);
}

TEST(Program, ValuesForThisRunReachTheSaver)
{
    FakePlatform platform(1024, 768);
    TempStore temp;
    temp.set(settings::kWidth, QStringLiteral("16"));
    Program program(platform, temp.store);
    CommandLine commandLine;
    commandLine.mode = Mode::Saver;
    commandLine.runOnly = {{"WIDTH", "32"}};
    program.Form_Load(commandLine);
    ASSERT_NE(program.saver(), nullptr);
    program.saver()->form1().Timer1.setEnabled(false);
    EXPECT_EQ(program.saver()->form1().state.columnCount, 32);
    EXPECT_EQ(temp.get(settings::kWidth), QStringLiteral("16"));
}

// The tests run on Qt's offscreen platform, where no X11 window can be drawn in.
TEST(Program, HostedRainTakesNoLockAndEndsWithTheReasonWhereTheWindowCannotBeDrawnIn)
{
    FakePlatform platform;
    platform.anotherInstance = true; // a saver runs: a host's program draws anyway
    TempStore temp;
    Program program(platform, temp.store);
    CommandLine commandLine;
    commandLine.mode = Mode::Hosted;
    commandLine.window = 0x1234;
    program.Form_Load(commandLine);
    ASSERT_NE(program.hosted(), nullptr);
    EXPECT_EQ(program.saver(), nullptr);
    EXPECT_EQ(program.options(), nullptr);
    EXPECT_EQ(platform.exitStatus, 1) << "the window cannot be drawn in; the other instance does not matter";
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].style, MessageStyle::Critical);
    EXPECT_EQ(platform.cursorCount, 0) << "the pointer is the host's";
    EXPECT_FALSE(program.hosted()->Timer1.isEnabled());
}

} // namespace
} // namespace korval
