#include <xcb/xcb.h>

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// A plain X window, made the way a screen-saver host makes the one it hands
// to a display program: a black background and nothing drawn in it.
//   korval_plain_window WIDTHxHEIGHT+X+Y
// Prints the window's id as 0x hexadecimal once it is mapped, then takes
// commands, one per line, on standard input:
//   resize WIDTH HEIGHT   gives the window a new size
//   destroy               destroys it (the program runs on until killed)
// At the end of its input it keeps the window until it is killed.
namespace {

struct Geometry {
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;
};

bool readGeometry(const char* text, Geometry& geometry)
{
    return std::sscanf(text, "%dx%d+%d+%d", &geometry.width, &geometry.height, &geometry.x, &geometry.y) == 4
           && geometry.width > 0 && geometry.height > 0;
}

xcb_window_t makeWindow(xcb_connection_t* connection, const Geometry& geometry)
{
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t values[] = {screen->black_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, static_cast<std::int16_t>(geometry.x),
                      static_cast<std::int16_t>(geometry.y), static_cast<std::uint16_t>(geometry.width),
                      static_cast<std::uint16_t>(geometry.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    xcb_map_window(connection, window);
    xcb_flush(connection);
    // Announced only once it shows, so that whoever draws in it is seen.
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
        std::free(event);
        if (mapped)
            break;
    }
    return window;
}

void obey(xcb_connection_t* connection, xcb_window_t window, const std::string& command)
{
    unsigned width = 0;
    unsigned height = 0;
    if (std::sscanf(command.c_str(), "resize %u %u", &width, &height) == 2) {
        const std::uint32_t size[] = {width, height};
        xcb_configure_window(connection, window, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
    } else if (command == "destroy") {
        xcb_destroy_window(connection, window);
    } else {
        std::fprintf(stderr, "korval_plain_window: unknown command: %s\n", command.c_str());
    }
    xcb_flush(connection);
}

} // namespace

int main(int argc, char* argv[])
{
    Geometry geometry;
    if (argc != 2 || !readGeometry(argv[1], geometry)) {
        std::fputs("usage: korval_plain_window WIDTHxHEIGHT+X+Y\n", stderr);
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fputs("korval_plain_window: cannot open the display\n", stderr);
        return 1;
    }
    const xcb_window_t window = makeWindow(connection, geometry);
    std::printf("0x%x\n", window);
    std::fflush(stdout);

    pollfd watched[2] = {{xcb_get_file_descriptor(connection), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    std::string line;
    while (!xcb_connection_has_error(connection)) {
        if (::poll(watched, 2, -1) < 0)
            continue;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection))
            std::free(event);
        if (watched[1].revents == 0)
            continue;
        char byte = 0;
        if (::read(STDIN_FILENO, &byte, 1) != 1) {
            watched[1].fd = -1; // input ended: keep the window
        } else if (byte != '\n') {
            line += byte;
        } else {
            obey(connection, window, line);
            line.clear();
        }
    }
    xcb_disconnect(connection);
    return 0;
}
