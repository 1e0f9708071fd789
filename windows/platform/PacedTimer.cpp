#include "PacedTimer.h"

#include "core/runtime/HandlerGuard.h"

namespace korval::windows {
namespace {

constexpr wchar_t kClassName[] = L"KorvalTimer";
constexpr UINT_PTR kTimerId = 1;

// SetCoalescableTimer's tolerance that asks for no coalescing at all.
constexpr ULONG kNoCoalescing = 0xFFFFFFFF;

// SetCoalescableTimer exists from Windows 8 on, where timers may be
// coalesced; it is looked up so that the program still starts on Windows 7,
// which coalesces no window's timers and gets SetTimer.
using CoalescableTimer = UINT_PTR(WINAPI*)(HWND, UINT_PTR, UINT, TIMERPROC, ULONG);

CoalescableTimer coalescableTimer()
{
    static const auto function = reinterpret_cast<CoalescableTimer>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetCoalescableTimer")));
    return function;
}

// Setting the timer again replaces the one that is set.
void setUncoalescedTimer(HWND window, UINT milliseconds)
{
    const CoalescableTimer coalescable = coalescableTimer();
    const UINT_PTR set = coalescable ? coalescable(window, kTimerId, milliseconds, nullptr, kNoCoalescing)
                                     : SetTimer(window, kTimerId, milliseconds, nullptr);
    if (!set)
        throw RuntimeError(RuntimeError::OutOfMemory, "Out of memory");
}

} // namespace

PacedTimer::PacedTimer(TimerDesign design, Platform& platform) : PacedFormTimer(design.intervalMs), platform_(platform)
{
    registerWindowClass(kClassName, windowProc, nullptr, nullptr);
    window_.create(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
    setEnabled(design.enabled);
    window_.attach(this);
}

void PacedTimer::arm(int milliseconds)
{
    setUncoalescedTimer(window_.get(), static_cast<UINT>(milliseconds));
}

void PacedTimer::disarm()
{
    KillTimer(window_.get(), kTimerId);
}

LRESULT CALLBACK PacedTimer::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kTimerId) {
        // Nothing may escape into the message loop: a timer that cannot be
        // set again is reported through the platform's guard (the tick's
        // handler runs under the form's own).
        if (auto* timer = OwnedWindow::ownerOf<PacedTimer>(window))
            runGuarded(timer->platform_, [timer] { timer->wake(); });
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace korval::windows
