#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <xcb/xcb.h>

#include <functional>
#include <memory>

namespace korval {

// A connection of the program's own to the X server, beside Qt's, for
// watching windows that are not the program's: the root window's children,
// or a window another program handed it. What it selects and receives never
// reaches Qt, and Qt's events never reach it. Its events are read on the GUI
// thread as they come.
class X11EventSource final : public QObject {
    Q_OBJECT

public:
    // A connection to the display Qt uses, or null where there is none.
    static std::unique_ptr<X11EventSource> open();
    ~X11EventSource() override;

    xcb_connection_t* connection() const { return connection_; }
    xcb_window_t root() const { return root_; }

    // Adds events to those this connection selects on a window. False when
    // the window does not exist (any more).
    bool select(xcb_window_t window, std::uint32_t eventMask);

    // Events that came while a request waited for its reply sit in the
    // connection's queue, where the socket no longer announces them: after
    // such a request, read them at the next turn of the event loop.
    void readSoon();

    // Called for every event, and once with a null event when the
    // connection to the server is lost.
    void setHandler(std::function<void(const xcb_generic_event_t* event)> handler) { handler_ = std::move(handler); }

private:
    X11EventSource(xcb_connection_t* connection, xcb_window_t root);
    void readEvents();

    xcb_connection_t* connection_;
    xcb_window_t root_;
    QSocketNotifier notifier_;
    std::function<void(const xcb_generic_event_t*)> handler_;
};

// The event's type without the bit that marks events sent by other clients.
inline std::uint8_t eventType(const xcb_generic_event_t* event)
{
    return event->response_type & 0x7F;
}

} // namespace korval
