#include "core/support/FakeForm.h"

#include "core/saver/Form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

// Every allocation of this test program can be made to fail, one at a time:
// the one after `allocationsBeforeFailure` more have succeeded.
namespace {
long allocationsBeforeFailure = -1; // -1: none fails
bool allocationFailed = false;
} // namespace

// (GCC sees the replaced operator new and delete pair malloc with free.)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size)
{
    if (allocationsBeforeFailure == 0) {
        allocationsBeforeFailure = -1;
        allocationFailed = true;
        throw std::bad_alloc();
    }
    if (allocationsBeforeFailure > 0)
        --allocationsBeforeFailure;
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace korval {
namespace {

using testing::FakeForm;

ScreenArea screen(const char* name, int x, int y, int width, int height)
{
    return {name, {x, y, width, height}, 15};
}

const ScreenArea kLeft = screen("left", 0, 0, 1024, 768);
const ScreenArea kRight = screen("right", 1024, 0, 800, 600);
const ScreenArea kBelow = screen("below", 0, 768, 1280, 1024);
const ScreenArea kRightLarger = screen("right", 1024, 0, 1920, 1080);
const ScreenArea kLeftLarger = screen("left", 0, 0, 1920, 1080);
const ScreenArea kRightAsPrimary = screen("right", 0, 0, 800, 600);

// A running saver whose screens change: what it shows before and after.
struct FailingChange {
    explicit FailingChange(const std::vector<ScreenArea>& before)
    {
        fake.platform.setScreens(before);
        fake.store.put(settings::kSystem, "0");
        form = &fake.make();
        form->Timer1.setEnabled(false);
        form->StartSaver();
        for (int tick = 0; tick < 3; ++tick)
            form->Timer1_Timer();
    }

    // Every screen's grid and window as "name:CxR" (the form's first, then
    // those with a window), after checking that each grid is whole and runs.
    std::vector<std::string> picture()
    {
        std::vector<std::string> all{describe(form->area(), form->state, form->M1)};
        for (const auto& other : form->otherScreens()) {
            if (!other) {
                all.push_back("null rain");
                continue;
            }
            const bool shown = std::count(fake.windows.shown.begin(), fake.windows.shown.end(), other.get()) == 1;
            all.push_back(describe(other->area(), other->state, other->M1) + (shown ? "" : " without a window"));
        }
        if (fake.windows.shown.size() != form->otherScreens().size())
            all.push_back(std::to_string(fake.windows.shown.size()) + " windows");
        form->Timer1_Timer(); // every grid and column table in reach
        return all;
    }

    static std::string describe(const ScreenArea& area, const SaverState& state, const CellArray& cells)
    {
        const int columns = state.columnCount;
        const int rows = static_cast<int>(state.rowsPerColumn);
        const bool whole = cells.count() == columns * (rows + 1) + 2
                           && state.columnSpeed.size() == static_cast<std::size_t>(columns) + 2;
        return area.name + ":" + std::to_string(columns) + "x" + std::to_string(rows) + (whole ? "" : " broken");
    }

    FakeForm fake;
    Form1* form = nullptr;
};

struct ChangeRow {
    const char* name;
    std::vector<ScreenArea> before;
    std::vector<ScreenArea> after;
    std::vector<std::string> changed; // what the saver shows once the change is taken
};

class ScreensChangeFailing : public ::testing::TestWithParam<ChangeRow> {};

// Each allocation of the change fails in turn: the error's message box
// shows over the screens as they were, every rain with its window and a
// whole grid, and the program ends with status 1. With no failure the change
// is taken whole.
TEST_P(ScreensChangeFailing, LeavesTheScreensAsTheyWereAtEveryAllocation)
{
    const ChangeRow& row = GetParam();
    for (long allocation = 0;; ++allocation) {
        ASSERT_LT(allocation, 10000) << "the change never completes";
        FailingChange saver(row.before);
        const std::vector<std::string> before = saver.picture();
        std::vector<ScreenArea> after = row.after; // copied before any allocation may fail
        allocationFailed = false;
        allocationsBeforeFailure = allocation;
        saver.fake.platform.changeScreens(std::move(after));
        allocationsBeforeFailure = -1;
        if (!allocationFailed) {
            EXPECT_EQ(saver.picture(), row.changed);
            EXPECT_FALSE(saver.fake.platform.ended());
            EXPECT_GT(allocation, 0);
            return;
        }
        SCOPED_TRACE("allocation " + std::to_string(allocation) + " failed");
        ASSERT_EQ(saver.fake.platform.messages.size(), 1u);
        EXPECT_EQ(saver.fake.platform.messages[0].text, "Run-time error '7':\n\nOut of memory");
        EXPECT_EQ(saver.fake.platform.exitStatus, 1);
        EXPECT_EQ(saver.picture(), before);
        if (::testing::Test::HasFailure())
            return;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, ScreensChangeFailing,
    ::testing::Values(
        ChangeRow{"aScreenAppears", {kLeft}, {kLeft, kRight}, {"left:78x42", "right:61x33"}},
        ChangeRow{"twoScreensAppear", {kLeft}, {kLeft, kRight, kBelow}, {"left:78x42", "right:61x33", "below:98x56"}},
        ChangeRow{"aScreenGoes", {kLeft, kRight, kBelow}, {kLeft, kBelow}, {"left:78x42", "below:98x56"}},
        ChangeRow{"anOtherScreenGrows", {kLeft, kRight}, {kLeft, kRightLarger}, {"left:78x42", "right:147x60"}},
        ChangeRow{"thePrimaryGrows", {kLeft, kRight}, {kLeftLarger, kRight}, {"left:147x60", "right:61x33"}},
        ChangeRow{"anotherScreenBecomesPrimary", {kLeft, kRight}, {kRightAsPrimary, kLeft},
                  {"right:61x33", "left:78x42"}},
        ChangeRow{"everythingAtOnce", {kLeft, kRight}, {kLeftLarger, kRightLarger, kBelow},
                  {"left:147x60", "right:147x60", "below:98x56"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A window that cannot be made for the second of two new screens: the
// first one's window goes again, and nothing else changes.
TEST(ScreensChangeFailing, TakesBackTheWindowsMadeBeforeOneThatCannotBe)
{
    FailingChange saver({kLeft});
    const std::vector<std::string> before = saver.picture();
    saver.fake.windows.refusedWindows = 2;
    saver.fake.platform.changeScreens({kLeftLarger, kRight, kBelow});
    EXPECT_EQ(saver.fake.platform.exitStatus, 1);
    EXPECT_EQ(saver.picture(), before);
    EXPECT_TRUE(saver.fake.windows.shown.empty());
}

} // namespace
} // namespace korval
