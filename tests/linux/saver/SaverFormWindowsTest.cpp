// The saver form in its real windows on the offscreen platform: input that
// reaches the rules through the window, what the window shows, the keyboard
// it keeps, and start-ups from settings files that the real INI store reads.

#include "support/FakePlatform.h"
#include "core/support/Errors.h"
#include "core/support/StartupOutcome.h"
#include "support/SettingsFiles.h"
#include "support/TempStore.h"

#include "app/Program.h"
#include "core/runtime/HandlerGuard.h"
#include "core/runtime/RuntimeError.h"
#include "core/saver/Palette.h"
#include "platform/LocaleFormat.h"
#include "saver/HostedRain.h"
#include "saver/SaverForm.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace korval {
namespace {

using testing::FakePlatform;
using testing::errorOf;
using testing::TempStore;
using testing::binaryGarbage;
using testing::deeplyNestedVariant;
using testing::variantSpellings;
using testing::writeBytes;
namespace keys = settings;

constexpr Colour kRgb = 0x00FFFFFF;

// A started saver whose "SYSTEM" setting holds the given text, shown on the
// offscreen screen; its input goes through the window's stage and handler
// guard as it does in the program. The animation timer is stopped so that
// nothing but the test's own events happens.
struct ShownSaver {
    explicit ShownSaver(const QString& system) : platform(1024, 768)
    {
        temp.set(keys::kSystem, system);
        form = std::make_unique<SaverForm>(platform, temp.store);
        form->form1().Timer1.setEnabled(false);
        form->form1().StartSaver();
        form->show();
        window = &form->window();
    }

    bool bannerShown() const { return form->form1().Label1.isVisible() && form->form1().Shape1.isVisible(); }

    FakePlatform platform;
    TempStore temp;
    std::unique_ptr<SaverForm> form;
    SaverWindow* window = nullptr;
};

TEST(SaverFormWindows, NonNumericFlagEndsWithTheTypeMismatchMessage)
{
    for (const QString& stored : {QStringLiteral("yes"), QString()}) {
        ShownSaver saver(stored);
        QTest::keyClick(saver.window, Qt::Key_A);

        ASSERT_EQ(saver.platform.messages.size(), 1u) << "stored \"" << qPrintable(stored) << '"';
        EXPECT_NE(saver.platform.messages[0].text.find("Type mismatch"), std::string::npos)
            << saver.platform.messages[0].text;
        EXPECT_EQ(saver.platform.messages[0].style, MessageStyle::Critical);
        EXPECT_EQ(saver.platform.exitStatus, 1);
        EXPECT_FALSE(saver.bannerShown());
        EXPECT_EQ(saver.platform.cursorCount, -1) << "the saver's own showPointer call is not made";
    }
}

// Nothing ticks over a grid in an unknown state while the error's box waits
// for the user, and the box gets the keyboard and the pointer.
TEST(SaverFormWindows, TimersStopAndTheGrabIsReleasedBeforeTheErrorBoxOpens)
{
    ShownSaver saver(QStringLiteral("yes"));
    saver.form->form1().Timer1.setEnabled(true);
    bool tickingUnderTheBox = true;
    bool holdingUnderTheBox = true;
    saver.platform.onMessageBox = [&] {
        tickingUnderTheBox = saver.form->form1().Timer1.isEnabled() || saver.form->form1().Timer2.isEnabled();
        holdingUnderTheBox = saver.form->inputGrab().holdsKeyboard() || saver.form->inputGrab().holdsPointer();
    };
    QTest::keyClick(saver.window, Qt::Key_A);
    ASSERT_EQ(saver.platform.messages.size(), 1u);
    EXPECT_FALSE(tickingUnderTheBox);
    EXPECT_FALSE(holdingUnderTheBox);
}

enum class Gesture { Key, Click, Move };

struct WindowInputRow {
    const char* name;
    Gesture gesture;
    Qt::Key key;
    QPoint point;
    bool endsSaver;
    int moves;
};

class WindowInput : public ::testing::TestWithParam<WindowInputRow> {};

TEST_P(WindowInput, ReachesTheHandlers)
{
    const WindowInputRow& row = GetParam();
    ShownSaver saver(QStringLiteral("0"));
    int movesBefore = 0;
    switch (row.gesture) {
    case Gesture::Key:
        QTest::keyClick(saver.window, row.key);
        break;
    case Gesture::Click:
        // The pointer gets there first: Qt reports a click at a new place as
        // a move followed by the press, and only the press is looked at here.
        QTest::mouseMove(saver.window, row.point);
        movesBefore = saver.form->form1().state.moveCount;
        QTest::mouseClick(saver.window, Qt::LeftButton, Qt::NoModifier, row.point);
        break;
    case Gesture::Move:
        QTest::mouseMove(saver.window, row.point);
        break;
    }
    EXPECT_EQ(saver.platform.ended(), row.endsSaver);
    EXPECT_EQ(saver.form->form1().state.moveCount - movesBefore, row.moves);
    EXPECT_TRUE(saver.platform.messages.empty());
}

// On 1024 x 768 with the default 13 x 18 cells the full rows end at 756; the
// edge column starts at x 1014 and runs on below the last full row.
INSTANTIATE_TEST_SUITE_P(
    SaverFormWindows, WindowInput,
    ::testing::Values(WindowInputRow{"letter", Gesture::Key, Qt::Key_A, {}, true, 0},
                      WindowInputRow{"digit", Gesture::Key, Qt::Key_7, {}, true, 0},
                      WindowInputRow{"escape", Gesture::Key, Qt::Key_Escape, {}, true, 0},
                      WindowInputRow{"enter", Gesture::Key, Qt::Key_Return, {}, true, 0},
                      WindowInputRow{"space", Gesture::Key, Qt::Key_Space, {}, true, 0},
                      WindowInputRow{"shiftAlone", Gesture::Key, Qt::Key_Shift, {}, false, 0},
                      WindowInputRow{"controlAlone", Gesture::Key, Qt::Key_Control, {}, false, 0},
                      WindowInputRow{"arrow", Gesture::Key, Qt::Key_Left, {}, false, 0},
                      WindowInputRow{"functionKey", Gesture::Key, Qt::Key_F1, {}, false, 0},
                      WindowInputRow{"clickOnACell", Gesture::Click, {}, {100, 100}, true, 0},
                      WindowInputRow{"clickOnTheEdgeColumn", Gesture::Click, {}, {1020, 20}, true, 0},
                      WindowInputRow{"clickOnTheEdgeColumnBelowTheRows", Gesture::Click, {}, {1020, 760}, true, 0},
                      WindowInputRow{"clickOnTheEmptyStrip", Gesture::Click, {}, {500, 760}, false, 0},
                      WindowInputRow{"moveOverACell", Gesture::Move, {}, {300, 200}, false, 1},
                      WindowInputRow{"moveOverTheEmptyStrip", Gesture::Move, {}, {10, 766}, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Moves count from where the pointer stood as the windows showed (asked of
// the platform, or given by its entering them): a report there is none, the
// first one elsewhere is the first move.
TEST(SaverFormWindows, MovesCountFromWhereThePointerStoodAsTheWindowsShowed)
{
    for (const auto& [first, counted] : {std::pair{QPoint(640, 480), 0}, std::pair{QPoint(641, 480), 1}}) {
        QCursor::setPos(640, 480);
        ShownSaver saver(QStringLiteral("0"));
        QTest::mouseMove(saver.window, first);
        EXPECT_EQ(saver.form->form1().state.moveCount, counted) << "first report at x " << first.x();
    }
}

TEST(SaverFormWindows, ClickOnTheShownCaptionDoesNothingButTheFrameLetsClicksThrough)
{
    ShownSaver saver(QStringLiteral("1"));
    QTest::keyClick(saver.window, Qt::Key_Space);
    ASSERT_TRUE(saver.bannerShown());
    EXPECT_EQ(saver.platform.cursorCount, 0);

    QTest::mouseClick(saver.window, Qt::LeftButton, Qt::NoModifier, QPoint(512, 384));
    EXPECT_EQ(saver.platform.cursorCount, 0) << "the caption catches the click";
    QTest::mouseMove(saver.window, QPoint(500, 380));
    EXPECT_EQ(saver.form->form1().state.moveCount, 0) << "a move over the caption does not count";

    // Between the caption's box and the frame's border lie cells.
    QTest::mouseClick(saver.window, Qt::LeftButton, Qt::NoModifier, QPoint(421, 380));
    EXPECT_EQ(saver.platform.cursorCount, 1);
    EXPECT_FALSE(saver.platform.ended());
}

// Any key must reach the saver, so it takes the keyboard back from another
// window; a modal box, such as the one reporting an error, keeps it.
TEST(SaverFormWindows, SaverKeepsTheKeyboardExceptFromAModalBox)
{
    ShownSaver saver(QStringLiteral("1"));
    saver.window->requestActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(saver.window));

    QWindow other;
    other.resize(100, 100);
    other.show();
    other.requestActivate();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == saver.window; }, 2000));

    QWindow box;
    box.setModality(Qt::ApplicationModal);
    box.resize(100, 100);
    box.show();
    box.requestActivate();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == &box; }, 2000));
    QTest::qWait(100);
    EXPECT_EQ(QGuiApplication::focusWindow(), &box);
}

// The cells change long before the window is first shown; the banner shown
// later must still reach the screen on its own, without any other repaint.
TEST(SaverFormWindows, BannerReachesTheScreen)
{
    ShownSaver saver(QStringLiteral("1"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(saver.window));
    QTest::keyClick(saver.window, Qt::Key_Space);

    const auto framePixel = [&] {
        const QImage shown = saver.window->screen()->grabWindow(saver.window->winId()).toImage();
        return shown.pixel(420, 384) & kRgb; // left border of the frame, 419.5 drawn at 420
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return framePixel() == (HEAD_COLOUR & kRgb); }, 2000))
        << "frame pixel " << std::hex << framePixel();
}

// The program asked for the saver while another instance runs: it ends, and
// its window never shows, not even for a moment.
TEST(SaverFormWindows, AnotherInstanceEndsTheSaverBeforeItsWindowShows)
{
    FakePlatform platform(1024, 768);
    platform.anotherInstance = true;
    TempStore temp;
    Program program(platform, temp.store);
    program.Form_Load(QStringLiteral("/s"));
    EXPECT_EQ(platform.exitStatus, 0);
    EXPECT_EQ(platform.cursorCount, 0) << "the running saver's pointer stays as it was";
    ASSERT_NE(program.saver(), nullptr);
    EXPECT_FALSE(program.saver()->window().isVisible());
    QCoreApplication::processEvents();
    EXPECT_FALSE(program.saver()->window().isVisible());
}

// --- Unusable settings in a host's window -----------------------------------

struct BadSettingRow {
    const char* name;
    const settings::SettingKey* key;
    const char* value;
    int error;
};

class StartSaverRefuses : public ::testing::TestWithParam<BadSettingRow> {};

// The rain in a host's window starts up as the saver does: the error of the
// unusable value, stored or given for this run, and no rain; nothing is written.
TEST_P(StartSaverRefuses, AlsoForAValueForThisRunAndInAHostWindow)
{
    const BadSettingRow& row = GetParam();
    for (const bool stored : {true, false}) {
        FakePlatform platform;
        TempStore temp;
        if (stored)
            temp.set(*row.key, QString::fromUtf8(row.value));
        else
            temp.store.setRunOnly({{std::string(row.key->name), row.value}});
        const QByteArray before = temp.fileBytes();
        HostedRain rain(platform, temp.store);
        EXPECT_EQ(errorOf([&] { rain.start(QSize(1024, 768)); }), row.error) << (stored ? "stored" : "for this run");
        EXPECT_FALSE(rain.Timer1.isEnabled());
        EXPECT_EQ(temp.fileBytes(), before);
        EXPECT_EQ(QFile::exists(temp.filePath()), stored);
    }
}

// Each value's own error is the core's rule (its table stands with the core's
// tests); here one of each kind goes through the INI file and the X window's
// rain.
INSTANTIATE_TEST_SUITE_P(
    Table, StartSaverRefuses,
    ::testing::Values(BadSettingRow{"zeroWidth", &keys::kWidth, "0", RuntimeError::DivisionByZero},
                      BadSettingRow{"wordAsTextSize", &keys::kTextSize, "big", RuntimeError::TypeMismatch},
                      BadSettingRow{"hugeWidth", &keys::kWidth, "1e39", RuntimeError::Overflow}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Hostile settings files -------------------------------------------------

using testing::Outcome;
using testing::cell;
using testing::fails;

// Starts a saver on a 1024 x 768 screen the way the program does: inside the
// handler guard, so that an error ends in the platform's message box.
struct GuardedStart {
    GuardedStart(TempStore& temp, const RegionalFormat& format = {}) : platform(1024, 768)
    {
        platform.format = format;
        form = std::make_unique<SaverForm>(platform, temp.store);
        form->form1().Timer1.setEnabled(false);
        runGuarded(platform, [this] { form->form1().StartSaver(); });
    }

    FakePlatform platform;
    std::unique_ptr<SaverForm> form;
};

void expectOutcome(const GuardedStart& start, const Outcome& outcome)
{
    testing::expectOutcome(start.platform, start.form->form1().M1, outcome);
}

// A user of a decimal-comma format writes fractions by hand without quotes,
// as the program's own format shows them; the INI parser would split them
// into lists at the comma.
TEST(HostileStartup, HandWrittenDecimalCommasBuildTheGrid)
{
    TempStore temp;
    writeBytes(temp.filePath(), "[OPTION]\nTEXTSIZE=8,5\nWIDTH=13,5\nHEIGHT=18,25\n");
    const GuardedStart start(temp, regionalFormatOf(QLocale(QStringLiteral("cs_CZ"))));
    expectOutcome(start, cell(13.5f, 18.25f, 8.5f));
}

struct HostileFileRow {
    const char* name;
    std::function<void(const QString& path)> make; // puts something where the settings file goes
    Outcome outcome;
};

class HostileFile : public ::testing::TestWithParam<HostileFileRow> {};

TEST_P(HostileFile, StartsWithWhatCanBeReadAndLeavesTheFileAlone)
{
    TempStore temp;
    GetParam().make(temp.filePath());
    const QByteArray before = temp.fileBytes();

    const GuardedStart start(temp);

    expectOutcome(start, GetParam().outcome);
    EXPECT_TRUE(temp.fileBytes() == before);
    QFile::setPermissions(QFileInfo(temp.filePath()).absolutePath(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostileFile,
    ::testing::Values(
        HostileFileRow{"binaryGarbage", [](const QString& path) { writeBytes(path, binaryGarbage(4096)); }, cell(13)},
        HostileFileRow{"tenMegabytesOfGarbage", [](const QString& path) { writeBytes(path, binaryGarbage(10 << 20)); },
                       cell(13)},
        HostileFileRow{"tenMegabytesBeforeTheKeys",
                       [](const QString& path) {
                           writeBytes(path, "[PAD]\nX=" + QByteArray(10 << 20, 'x') + "\n[OPTION]\nWIDTH=16\nHEIGHT=20\n");
                       },
                       cell(16, 20)},
        HostileFileRow{"garbageAfterTheKeys",
                       [](const QString& path) { writeBytes(path, "[OPTION]\nWIDTH=16\n" + binaryGarbage(1024)); },
                       cell(16)},
        // Values that a binary decoder would take for serialised ones are text,
        // and not numbers; a comment mentioning one is a comment.
        HostileFileRow{"escapedSerialisedValue",
                       [](const QString& path) { writeBytes(path, "[OPTION]\nWIDTH=\\x40Variant(\\0\\0\\0\\x7f)\n"); },
                       fails(RuntimeError::TypeMismatch)},
        HostileFileRow{"serialisedValueSpellings", [](const QString& path) { writeBytes(path, variantSpellings()); },
                       fails(RuntimeError::TypeMismatch)},
        HostileFileRow{"deeplyNestedSerialisedValue", [](const QString& path) { writeBytes(path, deeplyNestedVariant()); },
                       fails(RuntimeError::TypeMismatch)},
        HostileFileRow{"commentMentioningASerialisedValue",
                       [](const QString& path) {
                           writeBytes(path, "; never write WIDTH=@Variant(...) here\n[OPTION]\nWIDTH=16\n");
                       },
                       cell(16)},
        HostileFileRow{"aFolder", [](const QString& path) { QDir().mkpath(path); }, cell(13)},
        HostileFileRow{"aDanglingLink",
                       [](const QString& path) {
                           QDir().mkpath(QFileInfo(path).absolutePath());
                           QFile::link(path + QStringLiteral(".gone"), path);
                       },
                       cell(13)},
        HostileFileRow{"aLinkToItself",
                       [](const QString& path) {
                           QDir().mkpath(QFileInfo(path).absolutePath());
                           QFile::link(path, path);
                       },
                       cell(13)},
        HostileFileRow{"aReadOnlyFolder",
                       [](const QString& path) {
                           writeBytes(path, "[OPTION]\nWIDTH=16\n");
                           QFile::setPermissions(QFileInfo(path).absolutePath(),
                                                 QFileDevice::ReadOwner | QFileDevice::ExeOwner);
                       },
                       cell(16)}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval
