#pragma once

#include "MonitorScale.h"
#include "Win32.h"

#include "core/runtime/Platform.h"

#include <functional>

namespace korval::windows {

class InstanceMutex;

// One monitor of the desktop: as the rules see it (in logical pixels), where
// it lies in physical pixels, and the scale between the two.
struct Monitor {
    ScreenArea area;
    PixelRect physical;
    MonitorScale scale;

    bool operator==(const Monitor&) const = default;
};

// The rules' view of Windows: monitors, the pointer, message boxes, the
// user's number format, the instance mutex and the end of the process.
class Win32Platform final : public Platform {
public:
    // mutex: the one the program took, or none when the mode needs none.
    explicit Win32Platform(const InstanceMutex* mutex);

    RandomSource& random() override { return random_; }
    const RegionalFormat& regionalFormat() const override { return format_; }

    // Every monitor of the desktop that is on, the primary one first, in
    // logical pixels (see MonitorScale). The layout read is kept for
    // monitorsChanged().
    std::vector<ScreenArea> screens() const override;
    // The same monitors with their physical places and scales.
    std::vector<Monitor> monitors() const;
    void setScreensChangedHandler(std::function<void()> handler) override;
    // Whether the monitors (names, places, sizes, scales, the primary one)
    // differ from those screens() last read. Not every system tells the
    // program's windows of a change (Wine sends them no WM_DISPLAYCHANGE
    // when the X server's monitors change, though EnumDisplayMonitors
    // reports the new layout at once), so the saver asks this now and then.
    bool monitorsChanged() const;
    // The saver's windows hear of monitor changes (WM_DISPLAYCHANGE,
    // WM_DPICHANGED, monitorsChanged()), let a burst of them settle and pass
    // them on here.
    void displayChanged();

    bool anotherInstanceRunning() const override;
    // ShowCursor keeps a display count; these bring it to where the pointer
    // is hidden (below 0) or shown, however often they are called.
    void hidePointer() override;
    void showPointer() override;

    // MessageBoxW titled "KORVAL", with the error icon for a critical
    // message. The box is modal to the owner when one is set.
    void messageBox(const std::string& text, MessageStyle style) override;
    void setMessageBoxOwner(HWND owner) { owner_ = owner; }

    // ExitProcess: no destructor or further handler runs.
    [[noreturn]] void endProgram(int status) override;

private:
    const InstanceMutex* mutex_;
    ClockSeededRandom random_;
    RegionalFormat format_;
    std::function<void()> screensChanged_;
    mutable std::vector<Monitor> lastRead_; // what screens() last reported
    HWND owner_ = nullptr;
    // GetDpiForMonitor, where the system has it (Windows 8.1 and later).
    using DpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    DpiForMonitor dpiForMonitor_ = nullptr;
};

} // namespace korval::windows
