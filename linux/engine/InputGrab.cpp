#include "InputGrab.h"

#include <QGuiApplication>

namespace korval {
namespace {

// Often enough that a menu closed by the user hands its grab over at once,
// seldom enough to cost nothing while it stays open.
constexpr int kRetryMs = 100;

} // namespace

InputGrab::InputGrab()
{
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, [this] { tryGrab(); });
}

void InputGrab::holdFor(QWindow* window)
{
    if (window_ && window_ != window)
        release();
    // Only X11 lends grabs to programs; elsewhere the window system itself
    // gives the saver's window the input.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    window_ = window;
    keyboard_ = false;
    pointer_ = false;
    tryGrab();
}

void InputGrab::release()
{
    retry_.stop();
    if (window_) {
        if (keyboard_)
            window_->setKeyboardGrabEnabled(false);
        if (pointer_)
            window_->setMouseGrabEnabled(false);
    }
    keyboard_ = false;
    pointer_ = false;
    window_.clear();
}

void InputGrab::tryGrab()
{
    if (!window_) {
        retry_.stop();
        return;
    }
    // A window that does not show yet cannot be grabbed for; a modal box
    // must keep its input.
    const bool canTry = window_->isExposed() && !QGuiApplication::modalWindow();
    if (canTry) {
        if (!keyboard_)
            keyboard_ = window_->setKeyboardGrabEnabled(true);
        if (!pointer_)
            pointer_ = window_->setMouseGrabEnabled(true);
    }
    if (!canTry || !(keyboard_ && pointer_))
        retry_.start();
    else
        retry_.stop();
}

} // namespace korval
