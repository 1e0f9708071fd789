#include "Win32Platform.h"

#include "InstanceMutex.h"
#include "UserNumberFormat.h"
#include "WideText.h"

namespace korval::windows {

// GetDpiForMonitor lives in shcore.dll from Windows 8.1 on; it is looked up
// rather than imported, so that the program still starts where it is missing.
Win32Platform::Win32Platform(const InstanceMutex* mutex) : mutex_(mutex), format_(userNumberFormat())
{
    if (HMODULE shcore = LoadLibraryW(L"shcore.dll"))
        dpiForMonitor_ = reinterpret_cast<DpiForMonitor>(
            reinterpret_cast<void (*)()>(GetProcAddress(shcore, "GetDpiForMonitor")));
}

namespace {

struct MonitorList {
    std::vector<Monitor> monitors;
    std::function<unsigned(HMONITOR)> dpiOf;
};

BOOL CALLBACK addMonitor(HMONITOR handle, HDC, LPRECT, LPARAM listParam)
{
    auto& list = *reinterpret_cast<MonitorList*>(listParam);
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(handle, &info))
        return TRUE;
    const RECT& r = info.rcMonitor;
    Monitor monitor;
    monitor.physical = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    monitor.scale = MonitorScale::ofDpi(list.dpiOf(handle));
    monitor.area = {toUtf8(info.szDevice), monitor.scale.logical(monitor.physical), TWIPS_PER_PIXEL};
    if (info.dwFlags & MONITORINFOF_PRIMARY)
        list.monitors.insert(list.monitors.begin(), std::move(monitor));
    else
        list.monitors.push_back(std::move(monitor));
    return TRUE;
}

// The DPI of the whole desktop, where the system cannot tell each monitor's.
unsigned systemDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return static_cast<unsigned>(dpi);
}

} // namespace

std::vector<Monitor> Win32Platform::monitors() const
{
    MonitorList list;
    list.dpiOf = [this](HMONITOR monitor) {
        UINT x = 0;
        UINT y = 0;
        if (dpiForMonitor_ && SUCCEEDED(dpiForMonitor_(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y)) && x > 0)
            return static_cast<unsigned>(x);
        return systemDpi();
    };
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&list));
    return std::move(list.monitors);
}

std::vector<ScreenArea> Win32Platform::screens() const
{
    lastRead_ = monitors();
    std::vector<ScreenArea> areas;
    for (const Monitor& monitor : lastRead_)
        areas.push_back(monitor.area);
    return areas;
}

bool Win32Platform::monitorsChanged() const
{
    return monitors() != lastRead_;
}

void Win32Platform::setScreensChangedHandler(std::function<void()> handler)
{
    screensChanged_ = std::move(handler);
}

// Called once the monitor changes have settled, so the handler reads the
// layout they left.
void Win32Platform::displayChanged()
{
    if (screensChanged_)
        screensChanged_();
}

bool Win32Platform::anotherInstanceRunning() const
{
    return mutex_ && mutex_->anotherInstance();
}

void Win32Platform::hidePointer()
{
    while (::ShowCursor(FALSE) >= 0) {
    }
}

void Win32Platform::showPointer()
{
    while (::ShowCursor(TRUE) < 0) {
    }
}

// The saver may have hidden the pointer and covers the screen topmost: the
// box comes to the front above it, with the pointer shown while it is open.
void Win32Platform::messageBox(const std::string& text, MessageStyle style)
{
    int raised = 1;
    while (::ShowCursor(TRUE) < 0)
        ++raised;
    MessageBoxW(owner_, toWide(text).c_str(), L"KORVAL",
                (style == MessageStyle::Critical ? MB_ICONERROR : MB_OK) | MB_SETFOREGROUND | (owner_ ? 0u : MB_TOPMOST | MB_TASKMODAL));
    while (raised-- > 0)
        ::ShowCursor(FALSE);
}

void Win32Platform::endProgram(int status)
{
    ExitProcess(static_cast<UINT>(status));
}

} // namespace korval::windows
