#pragma once

#include "Win32.h"

namespace korval::windows {

// A window that one object makes, handles and destroys. The window
// procedure finds its object through GWLP_USERDATA, and only from attach()
// on: the object calls it once it is whole, so that no message reaches a
// half-made object, nor one whose constructor failed. The pointer is cleared
// before the window is destroyed, so that the messages destruction brings go
// to DefWindowProcW and not into a dying object. A window that cannot be
// made is a run-time error ("Out of memory", as the system's own runtime
// reports it), raised by create().
class OwnedWindow {
public:
    OwnedWindow() = default;
    ~OwnedWindow() { reset(); }
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;

    // CreateWindowExW in the program's module, with no creation parameter.
    void create(DWORD extendedStyle, const wchar_t* windowClass, const wchar_t* title, DWORD style, int x, int y,
                int width, int height, HWND parent);

    HWND get() const { return window_; }

    template <class Owner>
    void attach(Owner* owner)
    {
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }

    // The object attached to the window, or null.
    template <class Owner>
    static Owner* ownerOf(HWND window)
    {
        return reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }

    // Detaches the object and destroys the window.
    void reset();

private:
    HWND window_ = nullptr;
};

// RegisterClassExW for a class of the program's module. Registering a class
// that is already registered is no error: the saver makes a window of its
// class for every monitor.
void registerWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background, HCURSOR cursor);

} // namespace korval::windows
