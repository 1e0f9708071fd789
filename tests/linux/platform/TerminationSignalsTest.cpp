#include "platform/TerminationSignals.h"

#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace korval {
namespace {

struct SignalRow {
    const char* name;
    int number;
};

class TerminationSignalsTest : public ::testing::TestWithParam<SignalRow> {};

// A host may end the program while Qt is still starting: the signal waits
// for the event loop instead of being lost or ending the program unhandled.
TEST_P(TerminationSignalsTest, OneThatCameBeforeTheHandlerRunsItOnceTheLoopRuns)
{
    TerminationSignals termination;
    ASSERT_EQ(std::raise(GetParam().number), 0); // without the catch, this would end the test program
    int calls = 0;
    termination.setHandler([&calls] { ++calls; });
    EXPECT_TRUE(QTest::qWaitFor([&calls] { return calls > 0; }, 1000));

    std::raise(GetParam().number);
    std::raise(GetParam().number);
    QTest::qWait(50);
    EXPECT_GE(calls, 2) << "later signals reach the handler too";
}

INSTANTIATE_TEST_SUITE_P(Table, TerminationSignalsTest,
                         ::testing::Values(SignalRow{"term", SIGTERM}, SignalRow{"interrupt", SIGINT},
                                           SignalRow{"hangUp", SIGHUP}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval
