#include "core/saver/TickPace.h"

#include <gtest/gtest.h>

#include <vector>

namespace korval {
namespace {

struct PaceRow {
    const char* name;
    int intervalMs;
    std::vector<double> tickTimes; // when each tick ran, from a start at 0
    double nextDue;                // when the next one is due after them
};

class TickPaceRows : public ::testing::TestWithParam<PaceRow> {};

// A 1 ms timer ticks 64 times per second; a late tick keeps the deadlines
// of the ones after it; ticks missed are not made up.
TEST_P(TickPaceRows, GivesTheNextDeadline)
{
    const PaceRow& row = GetParam();
    TickPace pace(row.intervalMs);
    pace.start(0);
    for (double now : row.tickTimes)
        pace.tick(now);
    EXPECT_DOUBLE_EQ(pace.nextDueMs(), row.nextDue);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TickPaceRows,
    ::testing::Values(PaceRow{"oneMillisecondAtTheDesktopsPace", 1, {}, 15.625},
                      PaceRow{"bannerTimerAtItsOwnInterval", 2000, {}, 2000},
                      PaceRow{"onTime", 1, {15.625, 31.25}, 46.875},
                      PaceRow{"aLittleLateKeepsTheDeadlines", 1, {20, 36}, 46.875},
                      PaceRow{"fallenBehindStartsAfreshFromNow", 1, {100}, 115.625}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval
