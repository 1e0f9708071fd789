#pragma once

#include "FakePlatform.h"
#include "MemoryStore.h"

#include "core/saver/Form1.h"
#include "core/saver/FormTimer.h"
#include "core/saver/FormWindows.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace korval::testing {

// A timer that ticks when the test says so.
class FakeTimer final : public FormTimer {
public:
    FakeTimer(int interval, bool enabled) : interval_(interval), enabled_(enabled) {}

    void setTickHandler(std::function<void()> onTick) override { onTick_ = std::move(onTick); }
    bool isEnabled() const override { return enabled_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    int interval() const override { return interval_; }

    // One tick, as the front end's event loop would run it: only while enabled.
    void tick()
    {
        if (enabled_ && onTick_)
            onTick_();
    }

private:
    int interval_;
    bool enabled_;
    std::function<void()> onTick_;
};

// The windows of the saver as a log of what the form asked of them, and
// the rains that have a window. Dropping a window allocates nothing, as a
// front end's must not fail: the log has room and its lines are short.
class FakeWindows final : public FormWindows {
public:
    FakeWindows() { log.reserve(64); }

    bool keepOnTop(const ScreenRain* screen) override
    {
        log.push_back("keepOnTop " + nameOf(screen));
        return true;
    }
    bool leaveTop(const ScreenRain* screen) override
    {
        log.push_back("leaveTop " + nameOf(screen));
        return true;
    }
    void screenAdded(ScreenRain& screen) override
    {
        if (refusedWindows > 0 && --refusedWindows == 0)
            throw RuntimeError(RuntimeError::InternalError, "no window");
        log.push_back("added " + screen.name());
        shown.push_back(&screen);
    }
    void screenRemoved(ScreenRain& screen) override
    {
        shown.erase(std::remove(shown.begin(), shown.end(), &screen), shown.end());
        log.push_back("removed " + screen.name());
    }
    void screensFollowed() override { log.push_back("followed"); }
    void releaseInput() override { log.push_back("released"); }

    std::vector<std::string> log;
    std::vector<const ScreenRain*> shown;
    int refusedWindows = 0; // the window to refuse, counted from 1; 0 for none

private:
    static std::string nameOf(const ScreenRain* screen) { return screen ? screen->name() : "form"; }
};

// The saver form with its timers and windows faked: the rules alone.
struct FakeForm {
    explicit FakeForm(int widthPixels = 1024, int heightPixels = 768, double twipsPerPixel = 15)
        : platform(widthPixels, heightPixels, twipsPerPixel)
    {
    }

    // Makes the form (after the test has scripted the platform and store).
    Form1& make()
    {
        form = std::make_unique<Form1>(platform, store, timer1, timer2, windows);
        return *form;
    }

    FakePlatform platform;
    MemoryStore store;
    FakeTimer timer1{1, true};
    FakeTimer timer2{2000, false};
    FakeWindows windows;
    std::unique_ptr<Form1> form;
};

} // namespace korval::testing
