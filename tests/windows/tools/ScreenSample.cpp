// Reads the screen of $DISPLAY for the whole-program tests of korval.scr and
// prints what they look for. One process, one X connection and compiled
// pixel counts: a read of a 1024 x 768 screen takes milliseconds, so a
// scenario can sample a two-second banner many times over.
//
//   korval_screen_sample [x y width height]
//       one sample of the screen or of that area
//   korval_screen_sample --every MS --for MS [x y width height]...
//       a sample of each area every MS milliseconds, for MS milliseconds
//       (or until the process gets SIGTERM)
//
// A sample is one line:
//   <ms since the epoch> <area> green=<n> bright=<n> lit=<n> hash=<hex>
// where the time is taken when the server's answer has come, so the picture
// was on the screen at that time or a little before, and
//   green   pixels whose green stands above red and blue (the rain, the banner)
//   bright  pixels of the head and banner green (50, 255, 50)
//   lit     pixels that are not black
//   hash    FNV-1a of every pixel of the area: two samples of one picture
//           have the same hash
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Area {
    int x = 0, y = 0, width = 0, height = 0;
};

struct Counts {
    long green = 0, bright = 0, lit = 0;
    std::uint64_t hash = 14695981039346656037ull;
};

volatile std::sig_atomic_t stopped = 0;

long long nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

Counts count(const std::uint8_t* pixels, int width, int height)
{
    Counts counts;
    const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* p = pixels + 4 * i; // B, G, R, unused
        const int b = p[0], g = p[1], r = p[2];
        for (int c = 0; c < 3; ++c) {
            counts.hash ^= p[c];
            counts.hash *= 1099511628211ull;
        }
        if (!(r | g | b))
            continue;
        ++counts.lit;
        if (g > r + 40 && g > b + 40) {
            ++counts.green;
            if (g > 200 && r > 30)
                ++counts.bright;
        }
    }
    return counts;
}

bool sample(xcb_connection_t* connection, xcb_window_t root, const Area& area, int index)
{
    const auto cookie = xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, root, static_cast<int16_t>(area.x),
                                      static_cast<int16_t>(area.y), static_cast<uint16_t>(area.width),
                                      static_cast<uint16_t>(area.height), ~0u);
    xcb_generic_error_t* error = nullptr;
    xcb_get_image_reply_t* reply = xcb_get_image_reply(connection, cookie, &error);
    const long long stamp = nowMs();
    if (!reply) {
        std::fprintf(stderr, "korval_screen_sample: cannot read %dx%d at %d,%d (X error %d)\n", area.width,
                     area.height, area.x, area.y, error ? error->error_code : 0);
        std::free(error);
        return false;
    }
    const int length = xcb_get_image_data_length(reply);
    if (reply->depth < 24 || length < 4 * area.width * area.height) {
        std::fprintf(stderr, "korval_screen_sample: no 32-bit picture of the screen\n");
        std::free(reply);
        return false;
    }
    const Counts counts = count(xcb_get_image_data(reply), area.width, area.height);
    std::printf("%lld %d green=%ld bright=%ld lit=%ld hash=%016llx\n", stamp, index, counts.green, counts.bright,
                counts.lit, static_cast<unsigned long long>(counts.hash));
    std::free(reply);
    return true;
}

int usage()
{
    std::fputs("usage: korval_screen_sample [--every MS --for MS] [x y width height]...\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    long everyMs = 0, forMs = 0;
    std::vector<Area> areas;
    int i = 1;
    if (argc > 1 && std::strcmp(argv[1], "--every") == 0) {
        if (argc < 5 || std::strcmp(argv[3], "--for") != 0)
            return usage();
        everyMs = std::atol(argv[2]);
        forMs = std::atol(argv[4]);
        if (everyMs <= 0 || forMs <= 0)
            return usage();
        i = 5;
    }
    for (; i + 3 < argc; i += 4)
        areas.push_back({std::atoi(argv[i]), std::atoi(argv[i + 1]), std::atoi(argv[i + 2]), std::atoi(argv[i + 3])});
    if (i != argc)
        return usage();

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fputs("korval_screen_sample: cannot open the display\n", stderr);
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (areas.empty())
        areas.push_back({0, 0, screen->width_in_pixels, screen->height_in_pixels});
    for (const Area& area : areas) {
        if (area.width <= 0 || area.height <= 0)
            return usage();
    }

    std::signal(SIGTERM, [](int) { stopped = 1; });
    const long long end = nowMs() + forMs;
    do {
        const long long started = nowMs();
        for (std::size_t a = 0; a < areas.size(); ++a) {
            if (!sample(connection, screen->root, areas[a], static_cast<int>(a)))
                return 1;
        }
        std::fflush(stdout);
        const long long next = started + everyMs;
        if (everyMs > 0 && next > nowMs())
            std::this_thread::sleep_for(std::chrono::milliseconds(next - nowMs()));
    } while (everyMs > 0 && !stopped && nowMs() < end);
    xcb_disconnect(connection);
    return 0;
}
