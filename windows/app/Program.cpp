#include "Program.h"

#include "CommandLine.h"

#include "windows/options/OptionsRun.h"
#include "windows/platform/InstanceMutex.h"
#include "windows/saver/SaverRun.h"
#include "windows/platform/Win32Platform.h"
#include "windows/settings/RegistrySettingsStore.h"

#include "core/dispatch/ModeDispatch.h"

namespace korval::windows {

namespace {

// The saver and the options dialog: one instance at a time.
int runWindowedMode(std::string_view argumentString)
{
    const InstanceMutex mutex;
    Win32Platform platform(&mutex);
    if (platform.anotherInstanceRunning())
        return 0;
    RegistrySettingsStore store;
    if (selectMode(argumentString) == Mode::Saver)
        return runSaver(platform, store);
    return runOptions(platform, store, hostWindowOf(argumentString));
}

} // namespace

// The preview pane stays empty and the saver has no password to change:
// both end at once. Windows has no console to print the usage on, so a
// switch the program does not know shows it in a box; the status is the one
// the program ends with for such a switch on every system.
int runProgram(std::string_view argumentString)
{
    switch (selectMode(argumentString)) {
    case Mode::Preview:
    case Mode::PasswordChange:
        return 0;
    case Mode::Saver:
    case Mode::Configure:
        return runWindowedMode(argumentString);
    case Mode::Hosted:
    case Mode::Unknown:
        break;
    }
    Win32Platform platform(nullptr);
    platform.messageBox(usageText(), MessageStyle::Plain);
    return 2;
}

} // namespace korval::windows
