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

} // namespace korval::windows
