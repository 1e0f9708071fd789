#pragma once

#include "ScriptedRandom.h"

#include "core/runtime/Platform.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korval::testing {

// The platform as a test sees it: a screen of any size and any number of
// twips per pixel, a scripted random source, a number format, a pointer
// display count, and message boxes and program ends that are recorded
// instead of shown or done.
class FakePlatform final : public Platform {
public:
    struct Message {
        std::string text;
        MessageStyle style;
    };

    FakePlatform() = default;
    FakePlatform(int widthPixels, int heightPixels, double twipsPerPixel = 15)
    {
        setScreen(widthPixels, heightPixels, twipsPerPixel);
    }

    // One screen of that size at the desktop's origin.
    void setScreen(int widthPixels, int heightPixels, double twipsPerPixel = 15)
    {
        screens_ = {{"primary", {0, 0, widthPixels, heightPixels}, twipsPerPixel}};
    }
    void setScreens(std::vector<ScreenArea> screens) { screens_ = std::move(screens); }
    // The screens change while the program runs: it hears of it at once.
    void changeScreens(std::vector<ScreenArea> screens)
    {
        screens_ = std::move(screens);
        if (screensChanged_)
            screensChanged_();
    }

    RandomSource& random() override { return randomSource; }
    const RegionalFormat& regionalFormat() const override { return format; }
    std::vector<ScreenArea> screens() const override { return screens_; }
    void setScreensChangedHandler(std::function<void()> handler) override { screensChanged_ = std::move(handler); }
    bool anotherInstanceRunning() const override { return anotherInstance; }
    // Counted as the display count that they stand for: each hide lowers
    // it, each show raises it.
    void hidePointer() override { --cursorCount; }
    void showPointer() override { ++cursorCount; }
    void messageBox(const std::string& text, MessageStyle style) override
    {
        messages.push_back({text, style});
        if (onMessageBox)
            onMessageBox();
    }
    void endProgram(int status) override
    {
        if (!exitStatus)
            exitStatus = status;
        ++endCalls;
    }

    bool ended() const { return exitStatus.has_value(); }

    ScriptedRandom randomSource;
    RegionalFormat format; // the invariant format unless a test sets another
    bool anotherInstance = false;
    int cursorCount = 0;
    std::vector<Message> messages;
    std::function<void()> onMessageBox; // looks at the program while its box is open
    std::optional<int> exitStatus;
    int endCalls = 0;

private:
    std::vector<ScreenArea> screens_{{"primary", {0, 0, 1024, 768}, 15}};
    std::function<void()> screensChanged_;
};

} // namespace korval::testing
