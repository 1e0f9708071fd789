#include "SaverRun.h"

#include "SaverScreen.h"

namespace korval::windows {

// Start-up runs through the form's stage, under its guard: an error in the
// stored settings shows its message and ends the program there. The saver
// ends by the end-of-program call of its triggers; the loop itself only ends
// if the thread is told to quit.
int runSaver(Win32Platform& platform, SettingsStore& store)
{
    SaverScreen screen(platform, store);
    screen.stage().run([&] { screen.StartSaver(); });
    screen.show();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace korval::windows
