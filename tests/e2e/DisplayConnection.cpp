#include "DisplayConnection.h"

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <sys/uio.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace korval::e2e {
namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

// The library has no bindings here for RandR and X-Resource, so their few
// requests are sent as bytes: the request's fixed part after its four-byte
// header, the reply as the server sent it.
Reply<std::uint8_t> extensionReply(xcb_connection_t* connection, xcb_extension_t* extension, std::uint8_t request,
                                   const std::vector<std::uint8_t>& body)
{
    const xcb_query_extension_reply_t* present = xcb_get_extension_data(connection, extension);
    if (!present || !present->present)
        return nullptr;
    std::vector<std::uint8_t> bytes(4);
    bytes.insert(bytes.end(), body.begin(), body.end());
    xcb_protocol_request_t protocol{1, extension, request, 0};
    // The library fills the header in, and needs two vectors of room before
    // the request's own.
    iovec parts[3]{{}, {}, {bytes.data(), bytes.size()}};
    const unsigned int sequence = xcb_send_request(connection, XCB_REQUEST_CHECKED, parts + 2, &protocol);
    xcb_generic_error_t* error = nullptr;
    Reply<std::uint8_t> reply(static_cast<std::uint8_t*>(xcb_wait_for_reply(connection, sequence, &error)));
    std::free(error);
    return reply;
}

template <typename T>
T read(const std::uint8_t* bytes, std::size_t offset)
{
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

// Numbers go in the client's own byte order, which the server learnt when
// it connected.
std::vector<std::uint8_t> words(std::initializer_list<std::uint32_t> values)
{
    std::vector<std::uint8_t> bytes(values.size() * 4);
    std::memcpy(bytes.data(), std::data(values), bytes.size());
    return bytes;
}

xcb_extension_t randr{"RANDR", 0};
xcb_extension_t resources{"X-Resource", 0};

constexpr std::uint8_t kRandrQueryVersion = 0;
constexpr std::uint8_t kRandrGetMonitors = 42;
constexpr std::uint8_t kResourceQueryClients = 1;

} // namespace

DisplayConnection::DisplayConnection(const QString& display)
{
    xcb_connection_t* connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return;
    }
    connection_ = connection;
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    // Monitor lists came with RandR 1.5: a client says which version it
    // speaks before it asks for what a later one brought.
    extensionReply(connection_, &randr, kRandrQueryVersion, words({1, 5}));
}

DisplayConnection::~DisplayConnection()
{
    if (connection_)
        xcb_disconnect(connection_);
}

QList<QRect> DisplayConnection::monitors() const
{
    if (!connection_)
        return {};
    // GetMonitors, active ones only: a header of 32 bytes, then 24 bytes for
    // each monitor followed by its outputs' ids.
    std::vector<std::uint8_t> body = words({root_});
    body.insert(body.end(), {1, 0, 0, 0}); // active monitors, three bytes of padding
    const Reply<std::uint8_t> reply = extensionReply(connection_, &randr, kRandrGetMonitors, body);
    if (!reply)
        return {rootGeometry()};
    QList<QRect> found;
    std::size_t offset = 32;
    for (std::uint32_t i = 0, count = read<std::uint32_t>(reply.get(), 12); i < count; ++i) {
        const QRect geometry(read<std::int16_t>(reply.get(), offset + 8), read<std::int16_t>(reply.get(), offset + 10),
                             read<std::uint16_t>(reply.get(), offset + 12), read<std::uint16_t>(reply.get(), offset + 14));
        if (reply.get()[offset + 4])
            found.prepend(geometry);
        else
            found.append(geometry);
        offset += 24 + 4 * read<std::uint16_t>(reply.get(), offset + 6);
    }
    return found.isEmpty() ? QList<QRect>{rootGeometry()} : found;
}

QRect DisplayConnection::rootGeometry() const
{
    if (!connection_)
        return {};
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, root_), nullptr));
    return geometry ? QRect(0, 0, geometry->width, geometry->height) : QRect();
}

QImage DisplayConnection::image(const QRect& area) const
{
    if (!connection_ || area.isEmpty())
        return {};
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const QRect shown = area & rootGeometry();
    QImage picture(area.size(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    if (shown.isEmpty())
        return picture;
    const Reply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
        connection_,
        xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, static_cast<std::int16_t>(shown.x()),
                      static_cast<std::int16_t>(shown.y()), static_cast<std::uint16_t>(shown.width()),
                      static_cast<std::uint16_t>(shown.height()), ~0u),
        nullptr));
    if (!reply)
        return {};
    // Depth 24 in 32-bit pixels, lowest byte first, is what Qt's RGB32 holds
    // on this machine.
    const int rowBytes = shown.width() * 4;
    const bool fourBytes = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST
                           && xcb_get_image_data_length(reply.get()) == rowBytes * shown.height();
    if (!fourBytes || reply->depth != 24)
        return {};
    const std::uint8_t* data = xcb_get_image_data(reply.get());
    const QPoint corner = shown.topLeft() - area.topLeft();
    for (int y = 0; y < shown.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(corner.y() + y)) + corner.x();
        std::memcpy(line, data + y * rowBytes, rowBytes);
        for (int x = 0; x < shown.width(); ++x)
            line[x] |= 0xFF000000u;
    }
    return picture;
}

bool DisplayConnection::inputHeldByAnother() const
{
    if (!connection_)
        return false;
    // The grabs and their release go out together, so the server handles
    // them one after the other: where a grab succeeds, the test holds it
    // for no time in which the program could have tried its own.
    const xcb_grab_keyboard_cookie_t keyboardCookie =
        xcb_grab_keyboard(connection_, 0, root_, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    const xcb_grab_pointer_cookie_t pointerCookie = xcb_grab_pointer(
        connection_, 0, root_, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, XCB_CURRENT_TIME);
    xcb_ungrab_keyboard(connection_, XCB_CURRENT_TIME);
    xcb_ungrab_pointer(connection_, XCB_CURRENT_TIME);
    xcb_flush(connection_);
    const Reply<xcb_grab_keyboard_reply_t> keyboard(xcb_grab_keyboard_reply(connection_, keyboardCookie, nullptr));
    const Reply<xcb_grab_pointer_reply_t> pointer(xcb_grab_pointer_reply(connection_, pointerCookie, nullptr));
    return keyboard && keyboard->status == XCB_GRAB_STATUS_ALREADY_GRABBED && pointer
           && pointer->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
}

std::uint32_t DisplayConnection::focus() const
{
    if (!connection_)
        return 0;
    const Reply<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    return reply ? reply->focus : 0;
}

bool DisplayConnection::exists(std::uint32_t window) const
{
    if (!connection_)
        return false;
    xcb_generic_error_t* error = nullptr;
    const Reply<xcb_get_window_attributes_reply_t> reply(xcb_get_window_attributes_reply(
        connection_, xcb_get_window_attributes(connection_, window), &error));
    std::free(error);
    return reply != nullptr;
}

std::optional<QList<std::uint32_t>> DisplayConnection::clients() const
{
    if (!connection_)
        return std::nullopt;
    // QueryClients: a header of 32 bytes, then each client's resource-id
    // base and mask.
    const Reply<std::uint8_t> reply = extensionReply(connection_, &resources, kResourceQueryClients, {});
    if (!reply)
        return std::nullopt;
    QList<std::uint32_t> bases;
    for (std::uint32_t i = 0, count = read<std::uint32_t>(reply.get(), 8); i < count; ++i)
        bases.append(read<std::uint32_t>(reply.get(), 32 + 8 * i));
    return bases;
}

void DisplayConnection::roundTrip() const
{
    if (connection_)
        std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

} // namespace korval::e2e
