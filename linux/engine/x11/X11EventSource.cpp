#include "X11EventSource.h"

#include <QGuiApplication>

#include <cstdlib>

namespace korval {

std::unique_ptr<X11EventSource> X11EventSource::open()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    // The display Qt connected to: its -display option or $DISPLAY.
    const QByteArray display = qgetenv("DISPLAY");
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screenNumber);
    if (!connection || xcb_connection_has_error(connection)) {
        if (connection)
            xcb_disconnect(connection);
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (!screens.rem) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<X11EventSource>(new X11EventSource(connection, screens.data->root));
}

X11EventSource::X11EventSource(xcb_connection_t* connection, xcb_window_t root)
    : connection_(connection), root_(root),
      notifier_(xcb_get_file_descriptor(connection), QSocketNotifier::Read)
{
    connect(&notifier_, &QSocketNotifier::activated, this, [this] { readEvents(); });
}

X11EventSource::~X11EventSource()
{
    xcb_disconnect(connection_);
}

bool X11EventSource::select(xcb_window_t window, std::uint32_t eventMask)
{
    xcb_get_window_attributes_reply_t* attributes
        = xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr);
    if (!attributes)
        return false;
    const std::uint32_t mask = attributes->your_event_mask | eventMask;
    std::free(attributes);
    xcb_generic_error_t* error
        = xcb_request_check(connection_, xcb_change_window_attributes_checked(connection_, window, XCB_CW_EVENT_MASK, &mask));
    const bool selected = error == nullptr;
    std::free(error);
    readSoon();
    return selected;
}

void X11EventSource::readSoon()
{
    QMetaObject::invokeMethod(this, &X11EventSource::readEvents, Qt::QueuedConnection);
}

void X11EventSource::readEvents()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        if (handler_)
            handler_(event);
        std::free(event);
    }
    if (xcb_connection_has_error(connection_)) {
        notifier_.setEnabled(false);
        if (handler_)
            handler_(nullptr);
    }
}

} // namespace korval
