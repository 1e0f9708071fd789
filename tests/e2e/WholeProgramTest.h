#pragma once

#include "ProgramTest.h"
#include "VirtualDisplay.h"

#include <memory>

namespace korval::e2e {

// Each whole-program test gets its own X display (Xvfb, one screen of
// 1024 x 768 unless the test's fixture asks for another size), its own user
// and a desktop driver for both.
class WholeProgramTest : public ProgramTest {
protected:
    explicit WholeProgramTest(int width = VirtualDisplay::kWidth, int height = VirtualDisplay::kHeight)
        : width_(width), height_(height)
    {
    }

    void SetUp() override
    {
        if (const QString tool = missingTool({"Xvfb", "xdotool", "xev"}); !tool.isEmpty())
            GTEST_SKIP() << tool.toStdString() << " is not installed (scripts/install-deps.sh installs it)";
        display_ = std::make_unique<VirtualDisplay>(width_, height_);
        ASSERT_TRUE(display_->isReady()) << display_->error().toStdString();
        ASSERT_TRUE(user.isValid());
        useDisplay(display_->name());
    }

private:
    int width_;
    int height_;
    std::unique_ptr<VirtualDisplay> display_;
};

} // namespace korval::e2e
