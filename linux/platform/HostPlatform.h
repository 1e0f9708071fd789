#pragma once

#include "core/runtime/Platform.h"

namespace korval {

// The platform of the program drawing in a window that a screen-saver host
// made. The host owns the screen, the pointer and the user's input, so this
// platform covers no screen of its own, takes no instance lock (a host
// starts one program per monitor, and one more for its settings preview),
// never shows or hides the pointer, and writes to standard error what the
// desktop would show in a message box: nobody could answer a box under the
// host's window.
class HostPlatform final : public Platform {
public:
    HostPlatform();

    RandomSource& random() override { return random_; }
    const RegionalFormat& regionalFormat() const override { return format_; }
    std::vector<ScreenArea> screens() const override { return {}; }
    void setScreensChangedHandler(std::function<void()>) override {}
    bool anotherInstanceRunning() const override { return false; }
    // The pointer is the host's: it stays as the host left it.
    void hidePointer() override {}
    void showPointer() override {}
    void messageBox(const std::string& text, MessageStyle style) override;
    [[noreturn]] void endProgram(int status) override;

private:
    ClockSeededRandom random_;
    RegionalFormat format_;
};

} // namespace korval
