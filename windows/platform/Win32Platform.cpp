#include "Win32Platform.h"

#include "InstanceMutex.h"
#include "UserNumberFormat.h"
#include "WideText.h"

namespace korval::windows {

Win32Platform::Win32Platform(const InstanceMutex* mutex) : mutex_(mutex), format_(userNumberFormat()) {}

namespace {

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list)
{
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        return TRUE;
    const RECT& r = info.rcMonitor;
    ScreenArea area{toUtf8(info.szDevice), {r.left, r.top, r.right - r.left, r.bottom - r.top}, TWIPS_PER_PIXEL};
    auto& areas = *reinterpret_cast<std::vector<ScreenArea>*>(list);
    if (info.dwFlags & MONITORINFOF_PRIMARY)
        areas.insert(areas.begin(), std::move(area));
    else
        areas.push_back(std::move(area));
    return TRUE;
}

} // namespace

std::vector<ScreenArea> Win32Platform::screens() const
{
    std::vector<ScreenArea> areas;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

void Win32Platform::setScreensChangedHandler(std::function<void()> handler)
{
    screensChanged_ = std::move(handler);
}

// Windows sends WM_DISPLAYCHANGE once the new layout is in place, so the
// handler may read the screens at once.
void Win32Platform::displayChanged()
{
    if (screensChanged_)
        screensChanged_();
}

bool Win32Platform::anotherInstanceRunning() const
{
    return mutex_ && mutex_->anotherInstance();
}

int Win32Platform::ShowCursor(bool show)
{
    return ::ShowCursor(show ? TRUE : FALSE);
}

// The saver may have hidden the pointer and covers the screen topmost: the
// box comes to the front above it, with the pointer shown while it is open.
void Win32Platform::messageBox(const std::string& text, int style)
{
    int raised = 1;
    while (::ShowCursor(TRUE) < 0)
        ++raised;
    MessageBoxW(owner_, toWide(text).c_str(), L"KORVAL",
                static_cast<UINT>(style) | MB_SETFOREGROUND | (owner_ ? 0u : MB_TOPMOST | MB_TASKMODAL));
    while (raised-- > 0)
        ::ShowCursor(FALSE);
}

void Win32Platform::endProgram(int status)
{
    ExitProcess(static_cast<UINT>(status));
}

} // namespace korval::windows
