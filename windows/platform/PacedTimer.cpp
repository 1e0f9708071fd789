#include "PacedTimer.h"

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

void registerClass(WNDPROC proc)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass); // fails harmlessly once the class exists
}

} // namespace

PacedTimer::PacedTimer(TimerDesign design) : intervalMs_(design.intervalMs), pace_(design.intervalMs)
{
    registerClass(windowProc);
    window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    setEnabled(design.enabled);
}

PacedTimer::~PacedTimer()
{
    if (window_) {
        KillTimer(window_, kTimerId);
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
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
    enabled_ = enabled;
    if (enabled && intervalMs_ > 0) {
        const double now = nowMs();
        pace_.start(now);
        armFor(now);
    } else {
        KillTimer(window_, kTimerId);
    }
}

// Setting the timer again replaces the one that is set.
void PacedTimer::armFor(double now)
{
    SetTimer(window_, kTimerId, static_cast<UINT>(std::max(1.0, std::floor(pace_.nextDueMs() - now))), nullptr);
}

void PacedTimer::fire()
{
    if (!enabled_)
        return;
    const double now = nowMs();
    if (now + kEarlyMarginMs < pace_.nextDueMs()) {
        armFor(now);
        return;
    }
    // Armed again before the handler runs, so that a handler which disables
    // the timer stops it for good.
    pace_.tick(now);
    armFor(now);
    if (onTick_)
        onTick_();
}

LRESULT CALLBACK PacedTimer::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kTimerId) {
        if (auto* timer = reinterpret_cast<PacedTimer*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            timer->fire();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace korval::windows
