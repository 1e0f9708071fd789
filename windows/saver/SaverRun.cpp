#include "SaverRun.h"

namespace korval::windows {

// PLACEHOLDER until the saver window exists: ends at once with status 0.
int runSaver(Win32Platform&, SettingsStore&)
{
    return 0;
}

} // namespace korval::windows
