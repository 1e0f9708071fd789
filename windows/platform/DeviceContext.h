#pragma once

#include "Win32.h"

namespace korval::windows {

// A window's device context (GetDC) for as long as it lives. One that the
// system cannot give is a run-time error ("Out of memory"), as a window
// that cannot be made: nothing can be drawn or measured without it.
class WindowDc {
public:
    explicit WindowDc(HWND window);
    ~WindowDc() { ReleaseDC(window_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint and EndPaint around a WM_PAINT. EndPaint runs however the
// painting ends, so that the window is valid again and no further WM_PAINT
// comes for what was tried once; BeginPaint without a device context is a
// run-time error, as for WindowDc.
class PaintDc {
public:
    explicit PaintDc(HWND window);
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

} // namespace korval::windows
