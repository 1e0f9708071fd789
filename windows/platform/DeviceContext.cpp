#include "DeviceContext.h"

#include "core/runtime/RuntimeError.h"

namespace korval::windows {
namespace {

[[noreturn]] void noDeviceContext()
{
    throw RuntimeError(RuntimeError::OutOfMemory, "Out of memory");
}

} // namespace

WindowDc::WindowDc(HWND window) : window_(window), dc_(GetDC(window))
{
    if (!dc_)
        noDeviceContext();
}

PaintDc::PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_))
{
    if (!dc_) {
        EndPaint(window_, &paint_);
        noDeviceContext();
    }
}

} // namespace korval::windows
