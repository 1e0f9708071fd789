#include "OptionsRun.h"

namespace korval::windows {

// PLACEHOLDER until the options dialog exists: ends at once with status 0.
int runOptions(Win32Platform&, SettingsStore&, std::optional<std::uint64_t>)
{
    return 0;
}

} // namespace korval::windows
