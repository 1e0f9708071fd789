#pragma once

#include "windows/platform/Win32Platform.h"

#include <cstdint>
#include <optional>

namespace korval {
class SettingsStore;
}

namespace korval::windows {

// The options dialog, owned by the host's window when one is named, until it
// ends; returns the exit status.
int runOptions(Win32Platform& platform, SettingsStore& store, std::optional<std::uint64_t> ownerWindow);

// The window the dialog stays above: the top-level window of the handle the
// host named, or none when it named none or the handle is no window (the
// host has closed it, or the number was never one).
HWND ownerWindowOf(std::optional<std::uint64_t> handle);

} // namespace korval::windows
