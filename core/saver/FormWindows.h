#pragma once

namespace korval {

class ScreenRain;

// What the saver form needs of the windows that show it: the front end makes
// a window for the form (on the primary screen) and one for each other
// screen's rain, and puts each on the form's stage.
class FormWindows {
public:
    virtual ~FormWindows() = default;

    // SetWindowPos on the form's own window (screen null) or on the window of
    // another screen's rain. Returns nonzero on success.
    virtual int SetWindowPos(const ScreenRain* screen, int insertAfter, int x, int y, int cx, int cy,
                             unsigned flags) = 0;

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
