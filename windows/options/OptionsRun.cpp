#include "OptionsRun.h"

#include "OptionsDialog.h"

#include "core/runtime/HandlerGuard.h"

#include <memory>

namespace korval::windows {

HWND ownerWindowOf(std::optional<std::uint64_t> handle)
{
    if (!handle || *handle == 0 || *handle > UINTPTR_MAX)
        return nullptr;
    const HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(*handle));
    return IsWindow(window) ? GetAncestor(window, GA_ROOT) : nullptr;
}

// The dialog ends the program itself (OK, CANCEL, closing it); the loop ends
// only if the message queue does. Message boxes are modal to the dialog
// while it is up.
int runOptions(Win32Platform& platform, SettingsStore& store, std::optional<std::uint64_t> ownerWindow)
{
    std::unique_ptr<OptionsDialog> dialog;
    runGuarded(platform, [&] { dialog = std::make_unique<OptionsDialog>(platform, store, ownerWindowOf(ownerWindow)); });
    if (!dialog)
        return 1;
    platform.setMessageBoxOwner(dialog->window());
    dialog->open();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (dialog->preTranslate(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace korval::windows
