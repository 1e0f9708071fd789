#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <linux/input-event-codes.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <set>
#include <string>

// A pointer for the whole-program tests on a wlroots compositor (sway): a
// virtual pointer device driven by commands on standard input, one a line:
//   to X Y WIDTH HEIGHT   moves to (X, Y) of the layout, WIDTH x HEIGHT
//   by DX DY              moves by (DX, DY)
//   press, release, click the left button
//   outputs               counts the outputs the compositor offers clients
// Each input goes out as one frame of pointer events. The answer, one line,
// comes once the compositor has handled the command (a round trip): "ok",
// "outputs N", or "error: ..." for a command it does not know. "ready"
// comes first, once the device exists.
//
// The device lives as long as the program: a compositor adds a new pointer
// to the seat, and a client learns of it only some time later, so the
// events of a device made for a single input could reach no client. The
// program ends at the end of its input, or when the compositor goes.
namespace {

struct Globals {
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
    std::set<uint32_t> outputs;
};

void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        globals->manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    else if (std::strcmp(interface, wl_output_interface.name) == 0)
        globals->outputs.insert(name);
}

void globalRemove(void* data, wl_registry*, uint32_t name)
{
    static_cast<Globals*>(data)->outputs.erase(name);
}

const wl_registry_listener kRegistryListener = {global, globalRemove};

// Input events carry milliseconds of a clock that never goes back.
uint32_t now()
{
    timespec time{};
    ::clock_gettime(CLOCK_MONOTONIC, &time);
    return static_cast<uint32_t>(time.tv_sec * 1000 + time.tv_nsec / 1000000);
}

void button(zwlr_virtual_pointer_v1* pointer, wl_pointer_button_state state)
{
    zwlr_virtual_pointer_v1_button(pointer, now(), BTN_LEFT, state);
    zwlr_virtual_pointer_v1_frame(pointer);
}

// Sends one command's input; an error's text, or an empty string.
std::string send(const char* line, zwlr_virtual_pointer_v1* pointer)
{
    char word[16] = {};
    unsigned x = 0, y = 0, width = 0, height = 0;
    double dx = 0, dy = 0;
    if (std::sscanf(line, "%15s", word) != 1)
        return "error: empty command";
    const std::string command = word;
    if (command == "to" && std::sscanf(line, "to %u %u %u %u", &x, &y, &width, &height) == 4 && x <= width
        && y <= height) {
        zwlr_virtual_pointer_v1_motion_absolute(pointer, now(), x, y, width, height);
        zwlr_virtual_pointer_v1_frame(pointer);
    } else if (command == "by" && std::sscanf(line, "by %lf %lf", &dx, &dy) == 2) {
        zwlr_virtual_pointer_v1_motion(pointer, now(), wl_fixed_from_double(dx), wl_fixed_from_double(dy));
        zwlr_virtual_pointer_v1_frame(pointer);
    } else if (command == "press") {
        button(pointer, WL_POINTER_BUTTON_STATE_PRESSED);
    } else if (command == "release") {
        button(pointer, WL_POINTER_BUTTON_STATE_RELEASED);
    } else if (command == "click") {
        button(pointer, WL_POINTER_BUTTON_STATE_PRESSED);
        button(pointer, WL_POINTER_BUTTON_STATE_RELEASED);
    } else {
        return "error: unknown command or bad values: " + std::string(line);
    }
    return {};
}

} // namespace

int main()
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fputs("korval_wayland_pointer: cannot connect to the Wayland display\n", stderr);
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &globals);
    if (wl_display_roundtrip(display) < 0 || !globals.manager) {
        std::fputs("korval_wayland_pointer: the compositor offers no virtual pointers\n", stderr);
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager, nullptr);
    if (wl_display_roundtrip(display) < 0) {
        std::fputs("korval_wayland_pointer: the compositor refuses the pointer\n", stderr);
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);

    char line[256];
    while (std::fgets(line, sizeof line, stdin)) {
        line[std::strcspn(line, "\n")] = '\0';
        // After an input the round trip is the compositor's receipt of it;
        // before a count, it brings the outputs that came or went until now.
        const bool count = std::strcmp(line, "outputs") == 0;
        const std::string error = count ? std::string() : send(line, pointer);
        if (wl_display_roundtrip(display) < 0) {
            std::fputs("korval_wayland_pointer: the connection to the compositor is lost\n", stderr);
            return 1;
        }
        if (count)
            std::printf("outputs %zu\n", globals.outputs.size());
        else
            std::puts(error.empty() ? "ok" : error.c_str());
        std::fflush(stdout);
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(globals.manager);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return 0;
}
