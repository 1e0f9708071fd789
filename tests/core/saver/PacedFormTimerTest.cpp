#include "core/saver/PacedFormTimer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace korval {
namespace {

constexpr int kKilled = -1;

// A system's timer on a fake clock: it records each wait it is set for
// (kKilled where it is killed) and fires when a test says so.
class ScriptedTimer final : public PacedFormTimer {
public:
    explicit ScriptedTimer(int intervalMs) : PacedFormTimer(intervalMs) {}

    void fireAt(double at)
    {
        now = at;
        wake();
    }

    double now = 0;
    std::vector<int> set;
    bool refuses = false;

private:
    void arm(int milliseconds) override
    {
        if (refuses)
            throw std::runtime_error("no timer");
        set.push_back(milliseconds);
    }
    void disarm() override { set.push_back(kKilled); }
    double nowMs() const override { return now; }
};

TEST(PacedFormTimerTest, SetsTheSystemsTimerOnlyWhileEnabled)
{
    ScriptedTimer timer(1);
    int ticks = 0;
    timer.setTickHandler([&] { ++ticks; });
    EXPECT_TRUE(timer.set.empty()) << "made disabled";
    timer.fireAt(5); // a message left from before
    EXPECT_EQ(ticks, 0);

    timer.now = 100;
    timer.setEnabled(true);
    timer.setEnabled(true); // enabling a running timer keeps its period
    timer.fireAt(105);      // early: waits for the deadline
    timer.fireAt(115.625);
    EXPECT_EQ(ticks, 1);
    timer.setEnabled(false);
    EXPECT_EQ(timer.set, (std::vector<int>{15, 10, 15, kKilled}));

    ScriptedTimer silent(0);
    silent.setEnabled(true);
    EXPECT_TRUE(silent.isEnabled());
    EXPECT_EQ(silent.set, std::vector<int>{kKilled}) << "an interval of 0 never ticks";
}

TEST(PacedFormTimerTest, AHandlerThatDisablesItsTimerStopsIt)
{
    ScriptedTimer timer(2000);
    int ticks = 0;
    timer.setTickHandler([&] {
        ++ticks;
        timer.setEnabled(false);
    });
    timer.setEnabled(true);
    timer.fireAt(2000);
    timer.fireAt(4000);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(timer.set, (std::vector<int>{2000, 2000, kKilled}));
}

// The front end reports a timer it cannot set; the form's timer neither
// counts as enabled nor ticks on without one.
TEST(PacedFormTimerTest, ATimerThatCannotBeSetIsNoTimer)
{
    ScriptedTimer refused(1);
    refused.refuses = true;
    EXPECT_THROW(refused.setEnabled(true), std::runtime_error);
    EXPECT_FALSE(refused.isEnabled());

    ScriptedTimer lost(1);
    int ticks = 0;
    lost.setTickHandler([&] { ++ticks; });
    lost.setEnabled(true);
    lost.refuses = true;
    EXPECT_THROW(lost.fireAt(15.625), std::runtime_error);
    EXPECT_EQ(ticks, 0) << "the tick ran without a timer set for the next";
}

} // namespace
} // namespace korval
