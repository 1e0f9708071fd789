#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace korval {

enum class Mode {
    Preview,        // "/p": end at once, show nothing
    Configure,      // "/c" or no argument: the options dialog
    Saver,          // "/s": the saver
    PasswordChange, // "/a": no password of its own to change; end at once
    Hosted,         // the rain in a window another program made (a front end's own switches)
    Unknown,        // anything else
};

// The argument without the spaces a host put around it (spaces only: a host
// pads with nothing else).
std::string_view withoutPadding(std::string_view argument);

// The mode chosen by the first two characters of the trimmed, lower-cased
// argument string; the rest (a window handle after "/c:" or "/p ") is
// ignored. A dash stands for the slash, as some hosts write "-s".
Mode selectMode(std::string_view argumentString);

// The window a host named after the switch: the digits after its two
// characters, whatever separates them ("/c:1234", "/c 1234", "/p 1234",
// "/p:1234"). Nothing when no window follows, or what follows is not a
// whole number that a handle can hold.
std::optional<std::uint64_t> hostWindowOf(std::string_view argumentString);

} // namespace korval
