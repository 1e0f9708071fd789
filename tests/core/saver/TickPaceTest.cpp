#include "core/saver/TickPace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace korval {
namespace {

// A timer started at 0 and woken by the system at the given times: which
// wakes tick ('x') or only wait ('.'), how long each asks the system to
// wait (the start's first), and when the tick after them is due.
struct PaceRow {
    const char* name;
    int intervalMs;
    std::vector<double> wakes;
    const char* ticks;
    std::vector<int> waits;
    double nextDue;
};

const PaceRow kPaceRows[] = {
    {"a 1 ms timer keeps the desktop's pace", 1, {}, "", {15}, 15.625},
    {"the banner's timer keeps its own interval", 2000, {2000}, "x", {2000, 2000}, 4000},
    {"on time", 1, {15.625, 31.25}, "xx", {15, 15, 15}, 46.875},
    {"a little late keeps the deadlines", 1, {20, 36}, "xx", {15, 11, 10}, 46.875},
    {"a wake within the margin before its deadline ticks", 1, {14, 29.5}, "xx", {15, 17, 17}, 46.875},
    {"a wake further before its deadline waits for it", 1, {10, 15}, ".x", {15, 5, 16}, 31.25},
    {"a deadline just ahead still waits a millisecond", 1, {30.5, 31.5}, "xx", {15, 1, 15}, 46.875},
    {"fallen behind starts afresh from now", 1, {100}, "x", {15, 15}, 115.625},
};

TEST(TickPaceTest, DecidesEachWake)
{
    for (const PaceRow& row : kPaceRows) {
        TickPace pace(row.intervalMs);
        std::vector<int> waits{pace.start(0)};
        std::string ticks;
        for (double now : row.wakes) {
            const TickPace::Wake wake = pace.wake(now);
            ticks += wake.ticks ? 'x' : '.';
            waits.push_back(wake.waitMs);
        }
        EXPECT_EQ(ticks, row.ticks) << row.name;
        EXPECT_EQ(waits, row.waits) << row.name;
        EXPECT_DOUBLE_EQ(pace.nextDueMs(), row.nextDue) << row.name;
    }
}

// How a system's timer fires when set for a wait: the time of its next
// wake, given when it was set.
using SystemTimer = double (*)(double setAt, int waitMs);

// Ticks of a 1 ms timer in its first second over the given system timer:
// the 64th is due at 1000 ms, the 65th at 1015.625, and the count ends
// halfway between, whichever side of its deadline each wake falls.
int ticksInASecond(SystemTimer fires)
{
    TickPace pace(1);
    double now = fires(0, pace.start(0));
    int ticks = 0;
    while (now < 1000 + TickPace::kFloorMs / 2) {
        const TickPace::Wake wake = pace.wake(now);
        ticks += wake.ticks ? 1 : 0;
        now = fires(now, wake.waitMs);
    }
    return ticks;
}

// 64 ticks a second, no more and no fewer, whatever the system's timers
// do with the waits asked of them.
TEST(TickPaceTest, TicksSixtyFourTimesASecondOnEverySystemsTimer)
{
    const struct {
        const char* name;
        SystemTimer fires;
    } systems[] = {
        {"to the millisecond", [](double setAt, int waitMs) { return setAt + waitMs; }},
        {"never sooner than 10 ms", [](double setAt, int waitMs) { return setAt + std::max(waitMs, 10); }},
        {"at the first clock tick of 15.625 ms that reaches the wait, counted from the last one",
         [](double setAt, int waitMs) {
             constexpr double kClockTick = 15.625;
             return std::ceil((std::floor(setAt / kClockTick) * kClockTick + waitMs) / kClockTick) * kClockTick;
         }},
        {"half a millisecond late", [](double setAt, int waitMs) { return setAt + waitMs + 0.5; }},
    };
    for (const auto& system : systems)
        EXPECT_EQ(ticksInASecond(system.fires), 64) << system.name;
}

} // namespace
} // namespace korval
