#include "support/FakePlatform.h"
#include "support/TempStore.h"

#include "saver/Form1.h"

#include "core/saver/Palette.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace korval {
namespace {

using testing::FakePlatform;
using testing::TempStore;

// A started saver whose "SYSTEM" setting holds the given text. The timers
// are stopped so that nothing but the test's own events happens.
struct RunningSaver {
    explicit RunningSaver(const QString& system, int width = 1024, int height = 768, double twipsPerPixel = 15)
        : platform(width, height, twipsPerPixel)
    {
        temp.set(settings::kSystem, system);
        form = std::make_unique<Form1>(platform, temp.store);
        form->Timer1.setEnabled(false);
        form->StartSaver();
    }

    bool bannerShown() const { return form->Label1.isVisible() && form->Shape1.isVisible(); }

    FakePlatform platform;
    TempStore temp;
    std::unique_ptr<Form1> form;
};

// --- The mouse-move count -------------------------------------------------

TEST(ExitTriggers, OnlyTheEighthMoveEndsTheSaver)
{
    RunningSaver saver(QStringLiteral("0"));
    for (int move = 1; move <= 20; ++move) {
        saver.form->M1_MouseMove(move * 37); // moves over different cells share one count
        EXPECT_EQ(saver.form->state.moveCount, move);
        EXPECT_EQ(saver.platform.endCalls, move >= 8 ? 1 : 0) << "after move " << move;
    }
    EXPECT_EQ(saver.platform.exitStatus, 0);
}

TEST(ExitTriggers, MovesPastTheLimitNeverRepeatTheBanner)
{
    RunningSaver saver(QStringLiteral("1"));
    for (int move = 1; move <= 7; ++move)
        saver.form->M1_MouseMove(0);
    EXPECT_FALSE(saver.bannerShown());
    EXPECT_EQ(saver.platform.cursorCount, -1);

    saver.form->M1_MouseMove(3355); // the last cell of the edge column counts too
    EXPECT_TRUE(saver.bannerShown());
    EXPECT_EQ(saver.platform.cursorCount, 0);

    for (int move = 9; move <= 30; ++move)
        saver.form->M1_MouseMove(1);
    EXPECT_EQ(saver.platform.cursorCount, 0) << "the pointer is shown once, by the eighth move";
    EXPECT_FALSE(saver.platform.ended());
}

struct TriggerRow {
    const char* name;
    int movesBefore;
    void (Form1::*trigger)(int);
};

class KeysAndClicks : public ::testing::TestWithParam<TriggerRow> {};

TEST_P(KeysAndClicks, EndTheSaverWhateverTheMoveCount)
{
    RunningSaver saver(QStringLiteral("0"));
    for (int move = 0; move < GetParam().movesBefore; ++move)
        saver.form->M1_MouseMove(5);
    const int endsBefore = saver.platform.endCalls;

    (saver.form.get()->*GetParam().trigger)(0);

    EXPECT_EQ(saver.platform.endCalls, endsBefore + 1);
    EXPECT_EQ(saver.form->state.moveCount, GetParam().movesBefore) << "keys and clicks do not count as moves";
}

INSTANTIATE_TEST_SUITE_P(
    ExitTriggers, KeysAndClicks,
    ::testing::Values(TriggerRow{"keyAtOnce", 0, &Form1::Form_KeyPress},
                      TriggerRow{"clickAtOnce", 0, &Form1::M1_Click},
                      TriggerRow{"keyAfterThreeMoves", 3, &Form1::Form_KeyPress},
                      TriggerRow{"clickAfterThreeMoves", 3, &Form1::M1_Click},
                      TriggerRow{"keyAfterSevenMoves", 7, &Form1::Form_KeyPress},
                      TriggerRow{"clickLongAfterTheLimit", 12, &Form1::M1_Click}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The banner's place -----------------------------------------------------

struct BannerRow {
    const char* name;
    int width;
    int height;
    double twipsPerPixel;
    QPointF caption;
    QPointF frame;
};

class BannerPlace : public ::testing::TestWithParam<BannerRow> {};

TEST_P(BannerPlace, CentredByFifteenTwipsPerPixel)
{
    const BannerRow& row = GetParam();
    RunningSaver saver(QStringLiteral("1"), row.width, row.height, row.twipsPerPixel);
    saver.form->Form_KeyPress('a');

    const LabelControl& caption = saver.form->Label1;
    const ShapeControl& frame = saver.form->Shape1;
    EXPECT_FLOAT_EQ(caption.left(), row.caption.x());
    EXPECT_FLOAT_EQ(caption.top(), row.caption.y());
    EXPECT_FLOAT_EQ(frame.left(), row.frame.x());
    EXPECT_FLOAT_EQ(frame.top(), row.frame.y());
    EXPECT_EQ(caption.rect().size(), QSizeF(175, 24));
    EXPECT_EQ(frame.rect().size(), QSizeF(185, 33));

    // Caption and frame share one centre, which lies t/15 of the way from
    // the screen's top-left corner to its centre.
    const double share = row.twipsPerPixel / 15;
    EXPECT_NEAR(caption.rect().center().x(), share * row.width / 2, 1e-3);
    EXPECT_NEAR(caption.rect().center().y(), share * row.height / 2, 1e-3);
    EXPECT_NEAR(frame.rect().center().x(), caption.rect().center().x(), 1e-3);
    EXPECT_NEAR(frame.rect().center().y(), caption.rect().center().y(), 1e-3);
}

INSTANTIATE_TEST_SUITE_P(
    ExitTriggers, BannerPlace,
    ::testing::Values(BannerRow{"screen1024x768", 1024, 768, 15, {424.5, 372}, {419.5, 367.5}},
                      BannerRow{"twelveTwipsPerPixel", 1024, 768, 12, {322.1, 295.2}, {317.1, 290.7}},
                      BannerRow{"oddScreen1365x767", 1365, 767, 15, {595, 371.5}, {590, 367}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The stored flag --------------------------------------------------------

struct FlagRow {
    const char* name;
    const char* stored;
    bool banner;
};

class BannerFlag : public ::testing::TestWithParam<FlagRow> {};

TEST_P(BannerFlag, IsComparedWithOneAsANumber)
{
    RunningSaver saver(QString::fromLatin1(GetParam().stored));
    saver.form->Form_KeyPress(' ');

    EXPECT_EQ(saver.bannerShown(), GetParam().banner);
    EXPECT_EQ(saver.platform.cursorCount, 0) << "the pointer shows either way";
    if (GetParam().banner) {
        EXPECT_FALSE(saver.platform.ended());
        EXPECT_FALSE(saver.form->Timer1.isEnabled()) << "the rain freezes";
        EXPECT_TRUE(saver.form->Timer2.isEnabled());
        EXPECT_EQ(saver.form->Timer2.interval(), 2000);
    } else {
        EXPECT_EQ(saver.platform.exitStatus, 0);
        EXPECT_FALSE(saver.form->Timer2.isEnabled());
    }
}

INSTANTIATE_TEST_SUITE_P(ExitTriggers, BannerFlag,
                         ::testing::Values(FlagRow{"one", "1", true}, FlagRow{"leadingZero", "01", true},
                                           FlagRow{"oneWithDecimals", "1.0", true}, FlagRow{"zero", "0", false},
                                           FlagRow{"two", "2", false}, FlagRow{"minusOne", "-1", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ExitTriggers, SecondTriggerDuringTheBannerRepeatsItWithoutEnding)
{
    RunningSaver saver(QStringLiteral("1"));
    saver.form->Form_KeyPress('x');
    const QRectF caption = saver.form->Label1.rect();
    const QRectF frame = saver.form->Shape1.rect();
    EXPECT_EQ(saver.platform.cursorCount, 0);

    saver.form->M1_Click(17);

    EXPECT_EQ(saver.platform.cursorCount, 1) << "every trigger raises the display count once more";
    EXPECT_EQ(saver.form->Label1.rect(), caption);
    EXPECT_EQ(saver.form->Shape1.rect(), frame);
    EXPECT_FALSE(saver.form->Timer1.isEnabled());
    EXPECT_TRUE(saver.form->Timer2.isEnabled());
    EXPECT_FALSE(saver.platform.ended());

    saver.form->Timer2_Timer();
    EXPECT_EQ(saver.platform.exitStatus, 0);
    EXPECT_EQ(saver.platform.cursorCount, 1) << "the banner timer shows nothing more";
}

// --- Input through the real window -----------------------------------------

// The saver shown on the offscreen screen, its input going through the
// window's own handler guard as it does in the program.
struct ShownSaver : RunningSaver {
    explicit ShownSaver(const QString& system) : RunningSaver(system)
    {
        form->show();
        window = &form->window();
    }
    SaverWindow* window;
};

TEST(ExitTriggers, NonNumericFlagEndsWithTheTypeMismatchMessage)
{
    for (const QString& stored : {QStringLiteral("yes"), QString()}) {
        ShownSaver saver(stored);
        QTest::keyClick(saver.window, Qt::Key_A);

        ASSERT_EQ(saver.platform.messages.size(), 1u) << "stored \"" << qPrintable(stored) << '"';
        EXPECT_TRUE(saver.platform.messages[0].text.contains(QLatin1String("Type mismatch")));
        EXPECT_EQ(saver.platform.messages[0].style, MB_CRITICAL);
        EXPECT_EQ(saver.platform.exitStatus, 1);
        EXPECT_FALSE(saver.bannerShown());
        EXPECT_EQ(saver.platform.cursorCount, -1) << "the saver's own ShowCursor call is not made";
    }
}

// Nothing ticks over a grid in an unknown state while the error's box waits
// for the user.
TEST(ExitTriggers, TimersStopBeforeTheErrorBoxOpens)
{
    ShownSaver saver(QStringLiteral("yes"));
    saver.form->Timer1.setEnabled(true);
    bool tickingUnderTheBox = true;
    saver.platform.onMessageBox = [&] {
        tickingUnderTheBox = saver.form->Timer1.isEnabled() || saver.form->Timer2.isEnabled();
    };
    QTest::keyClick(saver.window, Qt::Key_A);
    ASSERT_EQ(saver.platform.messages.size(), 1u);
    EXPECT_FALSE(tickingUnderTheBox);
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
        movesBefore = saver.form->state.moveCount;
        QTest::mouseClick(saver.window, Qt::LeftButton, Qt::NoModifier, row.point);
        break;
    case Gesture::Move:
        QTest::mouseMove(saver.window, row.point);
        break;
    }
    EXPECT_EQ(saver.platform.ended(), row.endsSaver);
    EXPECT_EQ(saver.form->state.moveCount - movesBefore, row.moves);
    EXPECT_TRUE(saver.platform.messages.empty());
}

// On 1024 x 768 with the default 13 x 18 cells the full rows end at 756; the
// edge column starts at x 1014 and runs on below the last full row.
INSTANTIATE_TEST_SUITE_P(
    ExitTriggers, WindowInput,
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

TEST(ExitTriggers, ClickOnTheShownCaptionDoesNothingButTheFrameLetsClicksThrough)
{
    ShownSaver saver(QStringLiteral("1"));
    QTest::keyClick(saver.window, Qt::Key_Space);
    ASSERT_TRUE(saver.bannerShown());
    EXPECT_EQ(saver.platform.cursorCount, 0);

    QTest::mouseClick(saver.window, Qt::LeftButton, Qt::NoModifier, QPoint(512, 384));
    EXPECT_EQ(saver.platform.cursorCount, 0) << "the caption catches the click";
    QTest::mouseMove(saver.window, QPoint(500, 380));
    EXPECT_EQ(saver.form->state.moveCount, 0) << "a move over the caption does not count";

    // Between the caption's box and the frame's border lie cells.
    QTest::mouseClick(saver.window, Qt::LeftButton, Qt::NoModifier, QPoint(421, 380));
    EXPECT_EQ(saver.platform.cursorCount, 1);
    EXPECT_FALSE(saver.platform.ended());
}

// Any key must reach the saver, so it takes the keyboard back from another
// window; a modal box, such as the one reporting an error, keeps it.
TEST(ExitTriggers, SaverKeepsTheKeyboardExceptFromAModalBox)
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
TEST(ExitTriggers, BannerReachesTheScreen)
{
    ShownSaver saver(QStringLiteral("1"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(saver.window));
    QTest::keyClick(saver.window, Qt::Key_Space);

    const auto framePixel = [&] {
        const QImage shown = saver.window->screen()->grabWindow(saver.window->winId()).toImage();
        return shown.pixel(420, 384) & RGB_MASK; // left border of the frame, 419.5 drawn at 420
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return framePixel() == (HEAD_COLOUR & RGB_MASK); }, 2000))
        << "frame pixel " << std::hex << framePixel();
}

} // namespace
} // namespace korval
