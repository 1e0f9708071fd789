#pragma once

#include "windows/platform/Win32Platform.h"

namespace korval {
class SettingsStore;
}

namespace korval::windows {

// The saver on every monitor until it ends; returns the exit status.
int runSaver(Win32Platform& platform, SettingsStore& store);

} // namespace korval::windows
