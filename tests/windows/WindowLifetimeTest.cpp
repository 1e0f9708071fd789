#include "core/support/FakePlatform.h"
#include "core/support/MemoryStore.h"

#include "windows/options/OptionsDialog.h"
#include "windows/platform/PacedTimer.h"
#include "windows/saver/SaverWindow.h"

#include "core/saver/CellSettings.h"
#include "core/saver/Stage.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

// How the program's windows are made and unmade, on an X display under Wine:
// creation that fails, and activation messages reaching the saver's windows.
namespace korval::windows {
namespace {

using testing::FakePlatform;

// Makes the nth window creation of this thread from now on fail, as the
// system fails it when it runs out of resources (a CBT hook that refuses
// HCBT_CREATEWND).
class FailingCreation {
public:
    explicit FailingCreation(int nth) : hook_(SetWindowsHookExW(WH_CBT, refuse, nullptr, GetCurrentThreadId()))
    {
        left_ = nth;
    }
    ~FailingCreation() { UnhookWindowsHookEx(hook_); }
    FailingCreation(const FailingCreation&) = delete;
    FailingCreation& operator=(const FailingCreation&) = delete;

    bool installed() const { return hook_ != nullptr; }
    // Whether the creation it was to fail came.
    static bool failed() { return left_ <= 0; }

private:
    static LRESULT CALLBACK refuse(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND && --left_ == 0)
            return 1;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline int left_ = 0;
    HHOOK hook_;
};

// The windows of a class, top-level or message-only.
int windowsOfClass(const wchar_t* windowClass, HWND parent = nullptr)
{
    int count = 0;
    for (HWND window = FindWindowExW(parent, nullptr, windowClass, nullptr); window;
         window = FindWindowExW(parent, window, windowClass, nullptr))
        ++count;
    return count;
}

// The pieces of the saver and the dialog, each made with its own test
// platform, and the class of the window each leaves if it is not destroyed.
struct Piece {
    const char* name;
    const wchar_t* windowClass;
    HWND parent;
    std::function<void(FakePlatform&)> make;
};

// Each piece, with each of the windows it makes (its controls' inner windows
// among them) refused in turn: either it is made whole anyway (a control
// that does without an inner window), or it raises "Out of memory" and
// leaves no window behind, none that could still reach the dead object.
TEST(WindowLifetimeTest, ACreationThatFailsRaisesAnErrorAndLeavesNoWindow)
{
    testing::MemoryStore store;
    const Piece pieces[] = {
        {"timer", L"KorvalTimer", HWND_MESSAGE, [](FakePlatform& platform) { PacedTimer timer({1, true}, platform); }},
        {"saver window", L"KorvalSaver", nullptr,
         [&](FakePlatform& platform) {
             Stage stage(platform);
             CellArray cells(templateCell(), CellFont{});
             SaverWindow window(stage, cells, {});
         }},
        {"options dialog", L"KORVAL options", nullptr,
         [&](FakePlatform& platform) { OptionsDialog dialog(platform, store, nullptr); }},
    };
    for (const Piece& piece : pieces) {
        int errors = 0;
        for (int nth = 1; nth < 100; ++nth) {
            FakePlatform platform;
            const FailingCreation failing(nth);
            ASSERT_TRUE(failing.installed());
            try {
                piece.make(platform);
            } catch (const RuntimeError& error) {
                EXPECT_EQ(error.number(), RuntimeError::OutOfMemory) << piece.name << ", creation " << nth;
                ++errors;
            }
            EXPECT_EQ(windowsOfClass(piece.windowClass, piece.parent), 0) << piece.name << ", creation " << nth;
            if (!FailingCreation::failed())
                break; // made whole without reaching the nth creation: every one was tried
        }
        EXPECT_GE(errors, 1) << piece.name;
    }
}

// The saver's windows hear of the foreground lost to another program, and
// not of activation that moves between them.
TEST(WindowLifetimeTest, SaverWindowsPassOnTheForegroundLostToAnotherProgram)
{
    FakePlatform platform;
    Stage stage(platform);
    int losses = 0;
    stage.setInput({{}, {}, {}, [&] { ++losses; }});
    CellArray cells(templateCell(), CellFont{});
    SaverWindow primary(stage, cells, {});
    SaverWindow other(stage, cells, {});

    SendMessageW(primary.handle(), WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(other.handle()));
    SendMessageW(primary.handle(), WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(losses, 0) << "activation moved to the saver's other window";

    SendMessageW(other.handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(losses, 1);

    DWORD desktopProcess = 0;
    GetWindowThreadProcessId(GetDesktopWindow(), &desktopProcess);
    ASSERT_NE(desktopProcess, GetCurrentProcessId());
    SendMessageW(primary.handle(), WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(GetDesktopWindow()));
    EXPECT_EQ(losses, 2) << "another process's window took the foreground";
}

} // namespace
} // namespace korval::windows
