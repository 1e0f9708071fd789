#pragma once

#include "MonitorDisplay.h"
#include "ProgramTest.h"

#include <unistd.h>

#include <memory>

namespace korval::e2e {

// A whole-program test on an X server with several monitors (Xorg with the
// dummy driver): it starts with DUMMY0 at 1920 x 1080 as the only, primary,
// monitor, and the test switches outputs on, moves, resizes and switches
// them off through display(). Skipped where Xorg or its dummy driver is not
// installed, or where the server does not start for a test not run as root.
class MultiMonitorTest : public ProgramTest {
protected:
    void SetUp() override
    {
        if (const QString tool = missingTool({"xdotool", "xev"}); !tool.isEmpty())
            GTEST_SKIP() << tool.toStdString() << " is not installed (scripts/install-deps.sh installs it)";
        if (const QString missing = MonitorDisplay::missingSoftware(); !missing.isEmpty())
            GTEST_SKIP() << "not installed: " << missing.toStdString() << " (scripts/install-deps.sh installs it)";
        display_ = std::make_unique<MonitorDisplay>();
        if (!display_->isReady() && ::geteuid() != 0)
            GTEST_SKIP() << "Xorg with the dummy driver does not start and the test does not run as root: "
                         << display_->error().toStdString();
        ASSERT_TRUE(display_->isReady()) << display_->error().toStdString();
        ASSERT_TRUE(user.isValid());
        useDisplay(display_->name());
    }

    MonitorDisplay& display() { return *display_; }

private:
    std::unique_ptr<MonitorDisplay> display_;
};

} // namespace korval::e2e
