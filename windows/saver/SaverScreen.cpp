#include "SaverScreen.h"

#include <algorithm>
#include <cstdint>

namespace korval::windows {
namespace {

// The monitor of that name, or null.
const Monitor* monitorNamed(const std::vector<Monitor>& monitors, const std::string& name)
{
    const auto found =
        std::find_if(monitors.begin(), monitors.end(), [&](const Monitor& monitor) { return monitor.area.name == name; });
    return found == monitors.end() ? nullptr : &*found;
}

} // namespace

SaverScreen::SaverScreen(Win32Platform& platform, SettingsStore& store)
    : win32_(platform), timer1_(TIMER1_DESIGN, platform), timer2_(TIMER2_DESIGN, platform),
      form1_(platform, store, timer1_, timer2_, *this),
      window_(form1_.stage(), form1_.M1, {&form1_.Shape1, &form1_.Label1})
{
    window_.followDisplayChanges([this] { return win32_.monitorsChanged(); }, [this] { win32_.displayChanged(); });
}

SaverWindow* SaverScreen::windowOf(const ScreenRain* screen)
{
    return screen ? screenWindows_.find(screen) : &window_;
}

bool SaverScreen::keepOnTop(const ScreenRain* screen)
{
    return placeInBand(screen, HWND_TOPMOST);
}

bool SaverScreen::leaveTop(const ScreenRain* screen)
{
    return placeInBand(screen, HWND_NOTOPMOST);
}

// The window goes into (or out of) the topmost band, keeping its place and size.
bool SaverScreen::placeInBand(const ScreenRain* screen, HWND band)
{
    SaverWindow* window = windowOf(screen);
    return window && ::SetWindowPos(window->handle(), band, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void SaverScreen::screenAdded(ScreenRain& screen)
{
    screenWindows_.add(screen, form1_.stage(), screen.M1, std::vector<WindowlessControl*>{});
}

void SaverScreen::screenRemoved(ScreenRain& screen)
{
    screenWindows_.remove(screen);
}

void SaverScreen::screensFollowed()
{
    if (shown_)
        showOnMonitors();
}

void SaverScreen::releaseInput()
{
    ReleaseCapture();
}

// The form's window takes the keyboard and the mouse; moves count from where
// the pointer stands, so that showing the windows under it is no move.
void SaverScreen::show()
{
    shown_ = true;
    POINT pointer{};
    if (GetCursorPos(&pointer))
        form1_.stage().startMovesAt({double(pointer.x), double(pointer.y)});
    showOnMonitors();
    SetForegroundWindow(window_.handle());
    SetFocus(window_.handle());
}

// Every window over its monitor, on top, the form's holding the mouse.
void SaverScreen::showOnMonitors()
{
    const std::vector<Monitor> monitors = win32_.monitors();
    if (const Monitor* monitor = monitorNamed(monitors, form1_.area().name))
        window_.place(*monitor);
    for (const std::unique_ptr<ScreenRain>& screen : form1_.otherScreens()) {
        const Monitor* monitor = monitorNamed(monitors, screen->name());
        SaverWindow* window = windowOf(screen.get());
        if (monitor && window)
            window->place(*monitor);
    }
    SetCapture(window_.handle());
}

} // namespace korval::windows
