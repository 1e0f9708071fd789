#include "core/support/FakeForm.h"

#include "core/saver/Form1.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korval {
namespace {

using testing::FakeForm;

ScreenArea screen(const char* name, int x, int y, int width, int height)
{
    return {name, {x, y, width, height}, 15};
}

// What the form asks of a screen's window when it makes it: the window stays
// above all others.
std::string topmost(const std::string& window)
{
    return "keepOnTop " + window;
}

const ScreenArea kLeft = screen("left", 0, 0, 1024, 768);
const ScreenArea kRight = screen("right", 1024, 0, 800, 600);
const ScreenArea kBelow = screen("below", 0, 768, 1280, 1024);

// A saver started on the given screens, the first one primary. The timers
// are off: tests tick by hand.
struct ScreensSaver {
    explicit ScreensSaver(std::vector<ScreenArea> screens, const std::string& system = "0")
        : platform(fake.platform)
    {
        platform.setScreens(std::move(screens));
        fake.store.put(settings::kSystem, system);
        form = &fake.make();
        form->Timer1.setEnabled(false);
        form->StartSaver();
    }

    // Every grid as "name:CxR", the form's first.
    std::vector<std::string> grids() const
    {
        std::vector<std::string> all{gridOf(form->area(), form->state)};
        for (const auto& other : form->otherScreens())
            all.push_back(gridOf(other->area(), other->state));
        return all;
    }
    static std::string gridOf(const ScreenArea& area, const SaverState& state)
    {
        return area.name + ":" + std::to_string(state.columnCount) + "x"
               + std::to_string(static_cast<int>(state.rowsPerColumn));
    }

    // The screens whose grid was laid out anew since the heads last moved:
    // their heads are all back at the top.
    std::vector<std::string> freshGrids() const
    {
        std::vector<std::string> fresh;
        const auto check = [&](const ScreenArea& area, const SaverState& state) {
            bool atTop = true;
            for (int row : state.headRow)
                atTop = atTop && row == 0;
            if (atTop)
                fresh.push_back(area.name);
        };
        check(form->area(), form->state);
        for (const auto& other : form->otherScreens())
            check(other->area(), other->state);
        return fresh;
    }

    FakeForm fake;
    testing::FakePlatform& platform;
    Form1* form = nullptr;
};

TEST(Screens, EveryScreenGetsAGridLaidOutFromItsOwnSize)
{
    ScreensSaver saver({kLeft, kRight, kBelow});
    EXPECT_EQ(saver.grids(), (std::vector<std::string>{"left:78x42", "right:61x33", "below:98x56"}));
    EXPECT_EQ(saver.platform.randomSource.draws, 2 * (78 + 61 + 98)) << "a speed and a mode per column";
    for (const auto& other : saver.form->otherScreens()) {
        EXPECT_EQ(other->M1.count(), other->state.columnCount * (other->state.rowsPerColumn + 1) + 2);
        EXPECT_EQ(other->M1[0].width, 13);
        EXPECT_FLOAT_EQ(other->M1[0].fontSize, 10);
    }
    EXPECT_EQ(saver.form->Width, 1024 * 15) << "the form is the primary screen's";
    EXPECT_EQ(saver.fake.windows.log,
              (std::vector<std::string>{topmost("form"), "added right", topmost("right"), "added below",
                                        topmost("below")}));
}

// The primary screen's rain draws exactly what it would draw alone: the
// other screens seed after it and tick after it.
TEST(Screens, ThePrimaryScreenRainsAsIfItWereAlone)
{
    ScreensSaver alone({kLeft});
    ScreensSaver together({kLeft, kRight});
    // Both scripts ran out during the seeds; from here both draw the same
    // fallback sequence, the primary screen first.
    for (int tick = 0; tick < 20; ++tick) {
        alone.form->Timer1_Timer();
        together.form->Timer1_Timer();
    }
    ASSERT_EQ(alone.form->M1.count(), together.form->M1.count());
    int differing = 0;
    for (int i = 0; i < alone.form->M1.count(); ++i)
        differing += alone.form->M1[i].captionCode != together.form->M1[i].captionCode ? 1 : 0;
    EXPECT_GT(differing, 0) << "not so: the other screen's draws come between the primary's";
}

struct ChangeRow {
    const char* name;
    std::vector<ScreenArea> before;
    std::vector<std::vector<ScreenArea>> changes; // one after the other
    std::vector<std::string> grids;               // the form's first
    std::vector<std::string> fresh;               // grids laid out anew
    PixelRect formGeometry;
    std::vector<std::string> windowCalls;         // what the form asked of the windows
};

class ScreensChange : public ::testing::TestWithParam<ChangeRow> {};

TEST_P(ScreensChange, AreFollowedWhileTheSaverRuns)
{
    const ChangeRow& row = GetParam();
    ScreensSaver saver(row.before);
    for (int tick = 0; tick < 3; ++tick) // every head away from the top
        saver.form->Timer1_Timer();
    saver.fake.windows.log.clear();
    // The change runs through the form's stage, which then repaints every
    // window it still has: one of a screen that went would be a dangling one.
    for (const std::vector<ScreenArea>& screens : row.changes)
        saver.platform.changeScreens(screens);

    EXPECT_EQ(saver.grids(), row.grids);
    EXPECT_EQ(saver.freshGrids(), row.fresh);
    EXPECT_EQ(saver.form->area().geometry, row.formGeometry);
    EXPECT_EQ(saver.form->Width, row.formGeometry.width * 15);
    EXPECT_EQ(saver.fake.windows.log, row.windowCalls);
    EXPECT_FALSE(saver.platform.ended());
}

const ScreenArea kRightLarger = screen("right", 1024, 0, 1920, 1080);
const ScreenArea kRightBelow = screen("right", 0, 768, 800, 600);
const ScreenArea kLeftLarger = screen("left", 0, 0, 1920, 1080);
const ScreenArea kLeftMoved = screen("left", 800, 0, 1024, 768);
const ScreenArea kRightAsPrimary = screen("right", 0, 0, 800, 600);

INSTANTIATE_TEST_SUITE_P(
    Screens, ScreensChange,
    ::testing::Values(
        ChangeRow{"aScreenAppears", {kLeft}, {{kLeft, kRight}}, {"left:78x42", "right:61x33"}, {"right"},
                  kLeft.geometry,
                  {"added right", topmost("right"), "followed"}},
        ChangeRow{"aScreenGoes", {kLeft, kRight, kBelow}, {{kLeft, kBelow}}, {"left:78x42", "below:98x56"}, {},
                  kLeft.geometry,
                  {"removed right", "followed"}},
        ChangeRow{"anOtherScreenGrows", {kLeft, kRight}, {{kLeft, kRightLarger}}, {"left:78x42", "right:147x60"},
                  {"right"}, kLeft.geometry,
                  {"followed"}},
        ChangeRow{"anOtherScreenMovesOnly", {kLeft, kRight}, {{kLeft, kRightBelow}}, {"left:78x42", "right:61x33"},
                  {}, kLeft.geometry,
                  {"followed"}},
        ChangeRow{"thePrimaryGrows", {kLeft, kRight}, {{kLeftLarger, kRight}}, {"left:147x60", "right:61x33"},
                  {"left"}, kLeftLarger.geometry,
                  {"followed"}},
        ChangeRow{"thePrimaryMovesOnly", {kLeft, kRight}, {{kLeftMoved, kRight}}, {"left:78x42", "right:61x33"},
                  {}, kLeftMoved.geometry,
                  {"followed"}},
        ChangeRow{"anotherScreenBecomesPrimary", {kLeft, kRight}, {{kRightAsPrimary, kLeft}},
                  {"right:61x33", "left:78x42"}, {"right", "left"}, kRightAsPrimary.geometry,
                  {"added left", topmost("left"), "removed right", "followed"}},
        ChangeRow{"everyScreenGoesToSleep", {kLeft, kRight}, {{}}, {"left:78x42", "right:61x33"}, {},
                  kLeft.geometry,
                  {}},
        ChangeRow{"theScreensWakeUpAgain", {kLeft, kRight}, {{}, {kLeft, kRight}}, {"left:78x42", "right:61x33"},
                  {}, kLeft.geometry,
                  {"followed"}},
        ChangeRow{"otherScreensWakeUp", {kLeft}, {{}, {kLeftLarger, kBelow}}, {"left:147x60", "below:98x56"},
                  {"left", "below"}, kLeftLarger.geometry,
                  {"added below", topmost("below"), "followed"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Screens, TheBannerMovesToTheCentreOfANewPrimaryScreen)
{
    ScreensSaver saver({kLeft, kRight}, "1");
    saver.form->Form_KeyPress('a');
    ASSERT_TRUE(saver.form->Label1.isVisible());
    EXPECT_FLOAT_EQ(saver.form->Label1.left(), 424.5f);

    saver.platform.changeScreens({kLeftLarger, kRight});
    EXPECT_FLOAT_EQ(saver.form->Label1.left(), 1920 / 2.0f - 175 / 2.0f);
    EXPECT_FLOAT_EQ(saver.form->Label1.top(), 1080 / 2.0f - 24 / 2.0f);
    EXPECT_FLOAT_EQ(saver.form->Shape1.left(), 1920 / 2.0f - 185 / 2.0f);
    EXPECT_TRUE(saver.form->Label1.isVisible());
    EXPECT_FALSE(saver.form->Timer1.isEnabled()) << "every screen's rain stays frozen";
}

} // namespace
} // namespace korval
