#pragma once

namespace korval {

class ScreenRain;

// What the saver form needs of the windows that show it: the front end makes
// a window for the form (on the primary screen) and one for each other
// screen's rain, and puts each on the form's stage.
class FormWindows {
public:
    virtual ~FormWindows() = default;

    // Puts the form's own window (screen null), or the window of another
    // screen's rain, into the band of windows that stay above all others,
    // or takes it out of that band; its place and size stay. True on success.
    virtual bool keepOnTop(const ScreenRain* screen) = 0;
    virtual bool leaveTop(const ScreenRain* screen) = 0;

    // Another screen's rain came or goes: its window is made, or dropped.
    // A window that cannot be made raises an error and leaves nothing behind;
    // dropping one must not fail, since the form drops windows while it takes
    // a change of screens that it has already built whole.
    virtual void screenAdded(ScreenRain& screen) = 0;
    virtual void screenRemoved(ScreenRain& screen) = 0;

    // The screens changed and the form followed: every shown window goes
    // over its screen again, holding the input and on top.
    virtual void screensFollowed() = 0;

    // An error's message box is about to open: the windows let go of the
    // keyboard and the pointer, so that the box gets them.
    virtual void releaseInput() = 0;
};

} // namespace korval
