#include "platform/Timer.h"

#include <QTest>

#include <gtest/gtest.h>

namespace korval {
namespace {

TEST(Timer, HandlerThatDisablesItsTimerStopsIt)
{
    int ticks = 0;
    Timer* self = nullptr;
    Timer timer(1, true, [&] {
        if (++ticks == 3)
            self->setEnabled(false);
    });
    self = &timer;
    QTest::qWait(250);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(timer.isEnabled());
}

TEST(Timer, DisabledTimerNeverTicksAndEnablingStartsIt)
{
    int ticks = 0;
    Timer timer(20, false, [&] { ++ticks; });
    QTest::qWait(60);
    EXPECT_EQ(ticks, 0);
    timer.setEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks > 0; }, 1000));
}

} // namespace
} // namespace korval
