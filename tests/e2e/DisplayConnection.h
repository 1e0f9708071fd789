#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>

struct xcb_connection_t;

namespace korval::e2e {

// The test's own connection to an X display, for what the test asks the
// server directly instead of through a tool that it would have to start:
// the pixels shown, the monitors, who holds the keyboard and the pointer,
// where the focus is and which clients are connected. Each question is one
// round trip, so the answer holds for the moment the server gave it.
class DisplayConnection {
public:
    explicit DisplayConnection(const QString& display);
    ~DisplayConnection();
    DisplayConnection(const DisplayConnection&) = delete;
    DisplayConnection& operator=(const DisplayConnection&) = delete;

    bool isOpen() const { return connection_ != nullptr; }
    xcb_connection_t* native() const { return connection_; }
    std::uint32_t root() const { return root_; }

    // The monitors as RandR lists them, the primary one first; the root
    // window as the one monitor where the server has no RandR.
    QList<QRect> monitors() const;
    // What the root window shows of a rectangle in desktop coordinates,
    // black where the rectangle goes past the root window; a null image
    // when the server does not answer or uses a pixel format other than
    // 32 bits per pixel in the machine's byte order.
    QImage image(const QRect& area) const;
    QRect rootGeometry() const;

    // Whether another client holds the keyboard and the pointer: a grab of
    // both for the root window fails with AlreadyGrabbed. Where it succeeds
    // the grab is given back at once.
    bool inputHeldByAnother() const;
    std::uint32_t focus() const;
    bool exists(std::uint32_t window) const;
    // The resource-id bases of the clients connected now (X-Resource), or
    // nothing where the server lacks that extension.
    std::optional<QList<std::uint32_t>> clients() const;
    // Waits until the server has handled every request sent on this
    // connection so far, and sent every event it caused.
    void roundTrip() const;

private:
    xcb_connection_t* connection_ = nullptr;
    std::uint32_t root_ = 0;
};

} // namespace korval::e2e
