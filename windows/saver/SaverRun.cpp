#include "SaverRun.h"

#include "SaverScreen.h"

#include "core/runtime/HandlerGuard.h"

#include <memory>

namespace korval::windows {

// The windows and timers are made under the platform's guard and start-up
// runs through the form's stage, under its guard: a window that cannot be
// made, or an error in the stored settings, shows its message and ends the
// program there with status 1 (which gives back the instance mutex). The
// saver ends by the end-of-program call of its triggers; the loop itself
// only ends if the thread is told to quit.
int runSaver(Win32Platform& platform, SettingsStore& store)
{
    std::unique_ptr<SaverScreen> made;
    runGuarded(platform, [&] { made = std::make_unique<SaverScreen>(platform, store); });
    if (!made)
        return 1;
    SaverScreen& screen = *made;
    screen.form1().stage().run([&] { screen.form1().StartSaver(); });
    screen.show();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace korval::windows
