#pragma once

#include "core/runtime/RegionalFormat.h"

namespace korval::windows {

// The user's number format from the system's locale settings (Control
// Panel's region, overrides included): decimal sign, group sign, minus and
// plus signs, and the native digits when the user chose to see them.
RegionalFormat userNumberFormat();

} // namespace korval::windows
