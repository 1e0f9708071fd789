#include "core/support/FakeForm.h"

#include "core/saver/Form1.h"
#include "core/saver/Palette.h"
#include "core/saver/Stage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korval {
namespace {

using testing::FakeForm;

// A started saver whose "SYSTEM" setting holds the given text. The timers
// are stopped so that nothing but the test's own events happens.
struct RunningSaver {
    explicit RunningSaver(const std::string& system, int width = 1024, int height = 768, double twipsPerPixel = 15)
        : fake(width, height, twipsPerPixel), platform(fake.platform)
    {
        fake.store.put(settings::kSystem, system);
        form = &fake.make();
        form->Timer1.setEnabled(false);
        form->StartSaver();
    }

    bool bannerShown() const { return form->Label1.isVisible() && form->Shape1.isVisible(); }

    FakeForm fake;
    testing::FakePlatform& platform;
    Form1* form = nullptr;
};

// --- The mouse-move count -------------------------------------------------

TEST(ExitTriggers, OnlyTheEighthMoveEndsTheSaver)
{
    RunningSaver saver("0");
    for (int move = 1; move <= 20; ++move) {
        saver.form->M1_MouseMove(move * 37); // moves over different cells share one count
        EXPECT_EQ(saver.form->state.moveCount, move);
        EXPECT_EQ(saver.platform.endCalls, move >= 8 ? 1 : 0) << "after move " << move;
    }
    EXPECT_EQ(saver.platform.exitStatus, 0);
}

TEST(ExitTriggers, MovesPastTheLimitNeverRepeatTheBanner)
{
    RunningSaver saver("1");
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

// A surface with cells in its top 100 rows of pixels and none below.
struct TopCells final : Surface {
    void repaintChanges() override {}
    std::optional<int> cellUnder(PointF place) const override { return place.y < 100 ? 1 : -1; }
};

// The stage hands the form only the reports of the pointer that move it,
// and only over a cell; a click only over a cell.
TEST(ExitTriggers, TheStageCountsMovesToANewPlaceOverACell)
{
    RunningSaver saver("0");
    TopCells surface;
    Stage& stage = saver.form->stage();
    stage.add(surface);
    stage.startMovesAt({20, 20});
    const struct {
        PointF place;
        int count;
    } reports[] = {
        {{20, 20}, 0},  // where the pointer stood as the windows showed
        {{21, 20}, 1},  // the first real move
        {{21, 20}, 1},  // again, without motion
        {{21, 300}, 1}, // over no cell
        {{21, 30}, 2},
    };
    for (const auto& report : reports) {
        stage.pointerMoved(report.place);
        EXPECT_EQ(saver.form->state.moveCount, report.count) << report.place.x << ", " << report.place.y;
    }
    stage.click({21, 300});
    EXPECT_FALSE(saver.platform.ended()) << "a click over no cell";
    stage.click({21, 30});
    EXPECT_TRUE(saver.platform.ended());
    stage.remove(surface);
}

struct TriggerRow {
    const char* name;
    int movesBefore;
    void (Form1::*trigger)(int);
};

class KeysAndClicks : public ::testing::TestWithParam<TriggerRow> {};

TEST_P(KeysAndClicks, EndTheSaverWhateverTheMoveCount)
{
    RunningSaver saver("0");
    for (int move = 0; move < GetParam().movesBefore; ++move)
        saver.form->M1_MouseMove(5);
    const int endsBefore = saver.platform.endCalls;

    (saver.form->*GetParam().trigger)(0);

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
    PointF caption;
    PointF frame;
};

double centreX(const WindowlessControl& control) { return double(control.left()) + control.width() / 2.0; }
double centreY(const WindowlessControl& control) { return double(control.top()) + control.height() / 2.0; }

class BannerPlace : public ::testing::TestWithParam<BannerRow> {};

TEST_P(BannerPlace, CentredByFifteenTwipsPerPixel)
{
    const BannerRow& row = GetParam();
    RunningSaver saver("1", row.width, row.height, row.twipsPerPixel);
    saver.form->Form_KeyPress('a');

    const LabelControl& caption = saver.form->Label1;
    const ShapeControl& frame = saver.form->Shape1;
    EXPECT_FLOAT_EQ(caption.left(), row.caption.x);
    EXPECT_FLOAT_EQ(caption.top(), row.caption.y);
    EXPECT_FLOAT_EQ(frame.left(), row.frame.x);
    EXPECT_FLOAT_EQ(frame.top(), row.frame.y);
    EXPECT_EQ(caption.width(), 175);
    EXPECT_EQ(caption.height(), 24);
    EXPECT_EQ(frame.width(), 185);
    EXPECT_EQ(frame.height(), 33);

    // Caption and frame share one centre, which lies t/15 of the way from
    // the screen's top-left corner to its centre.
    const double share = row.twipsPerPixel / 15;
    EXPECT_NEAR(centreX(caption), share * row.width / 2, 1e-3);
    EXPECT_NEAR(centreY(caption), share * row.height / 2, 1e-3);
    EXPECT_NEAR(centreX(frame), centreX(caption), 1e-3);
    EXPECT_NEAR(centreY(frame), centreY(caption), 1e-3);
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
    RunningSaver saver(GetParam().stored);
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

// --- Losing the foreground ---------------------------------------------------

struct DeactivateRow {
    const char* name;
    const char* stored;
    bool bannerFirst; // a key has put the banner up before
};

class LosingTheForeground : public ::testing::TestWithParam<DeactivateRow> {};

// Whatever the flag holds (even no number, which the comparison would
// reject), the saver ends at once with status 0 and the pointer shown.
TEST_P(LosingTheForeground, EndsAtOnceWithoutTheBanner)
{
    const DeactivateRow& row = GetParam();
    RunningSaver saver(row.stored);
    if (row.bannerFirst)
        saver.form->Form_KeyPress('x');
    const bool bannerBefore = saver.bannerShown();

    saver.form->stage().deactivate();

    EXPECT_EQ(saver.platform.exitStatus, 0);
    EXPECT_EQ(saver.platform.endCalls, 1);
    EXPECT_GE(saver.platform.cursorCount, 0) << "the pointer shows again";
    EXPECT_TRUE(saver.platform.messages.empty());
    EXPECT_EQ(saver.bannerShown(), bannerBefore) << "no banner of its own";
}

INSTANTIATE_TEST_SUITE_P(ExitTriggers, LosingTheForeground,
                         ::testing::Values(DeactivateRow{"bannerOn", "1", false},
                                           DeactivateRow{"bannerOff", "0", false},
                                           DeactivateRow{"flagNoNumber", "abc", false},
                                           DeactivateRow{"duringTheBanner", "1", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The error's box takes the foreground from the saver, and the user may
// switch away while it is open; a second error under the box (another key)
// opens no second box. The first error's status 1 stands.
TEST(ExitTriggers, WhileAnErrorBoxIsOpenNothingElseEndsTheSaver)
{
    RunningSaver saver("abc");
    saver.platform.onMessageBox = [&] {
        saver.form->stage().deactivate();
        saver.form->stage().keyPress('y');
    };

    saver.form->stage().keyPress(' ');

    EXPECT_EQ(saver.platform.exitStatus, 1);
    EXPECT_EQ(saver.platform.endCalls, 1);
    ASSERT_EQ(saver.platform.messages.size(), 1u);
    EXPECT_EQ(saver.platform.messages[0].style, MessageStyle::Critical);
}

TEST(ExitTriggers, SecondTriggerDuringTheBannerRepeatsItWithoutEnding)
{
    RunningSaver saver("1");
    saver.form->Form_KeyPress('x');
    const RectF caption = saver.form->Label1.rect();
    const RectF frame = saver.form->Shape1.rect();
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

// --- Input through the form's stage ----------------------------------------

// Input reaches the handlers through the form's stage, which runs each one
// under the handler guard as the front end's windows do.
TEST(ExitTriggers, NonNumericFlagEndsWithTheTypeMismatchMessage)
{
    for (const std::string stored : {"yes", ""}) {
        RunningSaver saver(stored);
        saver.form->stage().keyPress('a');

        ASSERT_EQ(saver.platform.messages.size(), 1u) << "stored \"" << stored << '"';
        EXPECT_NE(saver.platform.messages[0].text.find("Type mismatch"), std::string::npos);
        EXPECT_EQ(saver.platform.messages[0].style, MessageStyle::Critical);
        EXPECT_EQ(saver.platform.exitStatus, 1);
        EXPECT_FALSE(saver.bannerShown());
        EXPECT_EQ(saver.platform.cursorCount, -1) << "the saver's own showPointer call is not made";
    }
}

// Nothing ticks over a grid in an unknown state while the error's box waits
// for the user, and the box gets the keyboard and the pointer.
TEST(ExitTriggers, TimersStopAndInputIsReleasedBeforeTheErrorBoxOpens)
{
    RunningSaver saver("yes");
    saver.form->Timer1.setEnabled(true);
    saver.fake.windows.log.clear();
    bool tickingUnderTheBox = true;
    std::vector<std::string> windowCallsBeforeTheBox;
    saver.platform.onMessageBox = [&] {
        tickingUnderTheBox = saver.form->Timer1.isEnabled() || saver.form->Timer2.isEnabled();
        windowCallsBeforeTheBox = saver.fake.windows.log;
    };
    saver.form->stage().keyPress('a');
    ASSERT_EQ(saver.platform.messages.size(), 1u);
    EXPECT_FALSE(tickingUnderTheBox);
    EXPECT_EQ(windowCallsBeforeTheBox, std::vector<std::string>{"released"});
}

// A click on the shown caption stops there; its frame lets clicks through to
// the cells below it.
TEST(ExitTriggers, TheCaptionCatchesTheMouseAndTheFrameDoesNot)
{
    RunningSaver saver("1");
    EXPECT_TRUE(saver.form->Label1.catchesMouse());
    EXPECT_FALSE(saver.form->Shape1.catchesMouse());
}

} // namespace
} // namespace korval
