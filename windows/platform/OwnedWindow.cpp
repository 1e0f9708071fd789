#include "OwnedWindow.h"

#include "core/runtime/RuntimeError.h"

namespace korval::windows {

void OwnedWindow::create(DWORD extendedStyle, const wchar_t* windowClass, const wchar_t* title, DWORD style, int x,
                         int y, int width, int height, HWND parent)
{
    reset();
    window_ = CreateWindowExW(extendedStyle, windowClass, title, style, x, y, width, height, parent, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!window_)
        throw RuntimeError(RuntimeError::OutOfMemory, "Out of memory");
}

void OwnedWindow::reset()
{
    if (!window_)
        return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    window_ = nullptr;
}

void registerWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background, HCURSOR cursor)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass); // a failure shows when a window of the class cannot be made
}

} // namespace korval::windows
