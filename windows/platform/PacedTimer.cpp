#include "PacedTimer.h"

#include "core/runtime/HandlerGuard.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace korval::windows {
namespace {

constexpr wchar_t kClassName[] = L"KorvalTimer";
constexpr UINT_PTR kTimerId = 1;

// A timer message may come a little before its deadline (the system's clock
// tick is coarser than a millisecond): within this margin it still ticks.
constexpr double kEarlyMarginMs = 2.0;

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

PacedTimer::PacedTimer(TimerDesign design, Platform& platform)
    : platform_(platform), intervalMs_(design.intervalMs), pace_(design.intervalMs)
{
    registerWindowClass(kClassName, windowProc, nullptr, nullptr);
    window_.create(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
    setEnabled(design.enabled);
    window_.attach(this);
}

double PacedTimer::nowMs()
{
    using Milliseconds = std::chrono::duration<double, std::milli>;
    return Milliseconds(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void PacedTimer::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    if (enabled && intervalMs_ > 0) {
        const double now = nowMs();
        pace_.start(now);
        armFor(now);
    } else {
        KillTimer(window_.get(), kTimerId);
    }
    enabled_ = enabled;
}

void PacedTimer::armFor(double now)
{
    setUncoalescedTimer(window_.get(), static_cast<UINT>(std::max(1.0, std::floor(pace_.nextDueMs() - now))));
}

// The tick's handler runs under the form's guard; arming the timer again runs
// under the platform's, since no handler of the form has started yet.
void PacedTimer::fire()
{
    if (!enabled_)
        return;
    const double now = nowMs();
    if (now + kEarlyMarginMs < pace_.nextDueMs()) {
        runGuarded(platform_, [&] { armFor(now); });
        return;
    }
    // Armed again before the handler runs, so that a handler which disables
    // the timer stops it for good.
    pace_.tick(now);
    runGuarded(platform_, [&] { armFor(now); });
    if (enabled_ && onTick_)
        onTick_();
}

LRESULT CALLBACK PacedTimer::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kTimerId) {
        if (auto* timer = OwnedWindow::ownerOf<PacedTimer>(window))
            timer->fire();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace korval::windows
