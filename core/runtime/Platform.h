#pragma once

#include "MessageStyle.h"
#include "RandomSource.h"
#include "RegionalFormat.h"
#include "RuntimeError.h"
#include "ScreenArea.h"

#include <string>

#include <functional>
#include <vector>

namespace korval {

// How long the screens must stay unchanged before a burst of changes (a
// monitor waking, a resolution set in steps) is followed, once.
inline constexpr int SCREENS_SETTLE_MS = 200;

// What the forms reach of the world outside them: the screen, the pointer, the
// random generator, the user's number format, message boxes, the
// other-instance flag and the end of the program. Each front end implements
// it over its system; tests substitute one that records and scripts.
class Platform {
public:
    virtual ~Platform() = default;

    virtual RandomSource& random() = 0;

    // The user's regional number format, for every conversion between a
    // text and a number.
    virtual const RegionalFormat& regionalFormat() const = 0;

    // The screens to cover, the primary one first; empty while there is
    // none (every monitor asleep).
    virtual std::vector<ScreenArea> screens() const = 0;
    // Called whenever screens have come, gone, moved or changed size, or
    // another one became the primary screen: once the changes have settled
    // (SCREENS_SETTLE_MS without another), well within a second.
    virtual void setScreensChangedHandler(std::function<void()> handler) = 0;

    // True while another instance of the program (saver or dialog) runs.
    virtual bool anotherInstanceRunning() const = 0;

    // The pointer over the program's windows: hidden once the saver starts,
    // shown again when it is to end. Either call may come more than once.
    virtual void hidePointer() = 0;
    virtual void showPointer() = 0;

    // A modal message box titled with the application title; the text is
    // UTF-8.
    virtual void messageBox(const std::string& text, MessageStyle style) = 0;

    // Ends the process at once: no further handler runs. The desktop
    // implementation never returns; a test's may, so callers return at once
    // after calling it.
    virtual void endProgram(int status) = 0;

    // An error that nothing handled: one message box with its number and
    // text, then the end of the program with a failure status. The hook runs
    // first, so that the form can stop what would go on under the box. An
    // error raised while that box is open (a window that cannot paint behind
    // it) opens no second box: the first one's end stands.
    void reportUnhandled(const RuntimeError& error)
    {
        if (reporting_)
            return;
        reporting_ = true;
        if (unhandledErrorHook_)
            unhandledErrorHook_();
        messageBox(error.message(), MessageStyle::Critical);
        endProgram(1);
        reporting_ = false;
    }

    void setUnhandledErrorHook(std::function<void()> hook) { unhandledErrorHook_ = std::move(hook); }

private:
    std::function<void()> unhandledErrorHook_;
    bool reporting_ = false;
};

} // namespace korval
