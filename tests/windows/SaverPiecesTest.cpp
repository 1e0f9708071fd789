#include "core/support/FakePlatform.h"

#include "windows/platform/PacedTimer.h"
#include "windows/saver/CodePageGlyphs.h"
#include "windows/saver/ForegroundLoss.h"
#include "windows/saver/MessagePoint.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

namespace korval::windows {
namespace {

// The characters of codes that every ANSI code page shares, and codes with
// nothing to draw, looked up through Wine's own tables.
TEST(CodePageGlyphsTest, DrawsVisibleCharactersOnly)
{
    const CodePageGlyphs glyphs;
    const struct {
        int code;
        wchar_t glyph;
    } rows[] = {
        {65, L'A'}, {48, L'0'}, {126, L'~'}, {33, L'!'}, // letters, digits, signs
        {0, 0},     {9, 0},     {31, 0},     {127, 0},   // control codes
        {32, 0},                                         // the space: an empty cell
        {-1, 0},    {256, 0},                            // no code of the page
    };
    for (const auto& row : rows)
        EXPECT_EQ(glyphs[row.code], row.glyph) << "code " << row.code;
}

// Pumps the thread's messages for a while.
void pumpFor(std::chrono::milliseconds span)
{
    const auto end = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// A 1 ms timer ticks, but no more than 64 times a second, though Wine's
// own timers tick 100 times; disabled, it ticks no more, and a tick that
// disables it is its last.
TEST(PacedTimerTest, TicksAtMost64TimesPerSecondAndStops)
{
    testing::FakePlatform platform;
    PacedTimer timer({1, false}, platform);
    int ticks = 0;
    timer.setTickHandler([&] { ++ticks; });
    pumpFor(std::chrono::milliseconds(100));
    EXPECT_EQ(ticks, 0) << "a disabled timer ticked";

    timer.setEnabled(true);
    const auto start = std::chrono::steady_clock::now();
    pumpFor(std::chrono::milliseconds(500));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GT(ticks, 0);
    EXPECT_LE(ticks, 64 * seconds + 1) << "in " << seconds << " s";

    timer.setTickHandler([&] {
        ++ticks;
        timer.setEnabled(false);
    });
    ticks = 0;
    pumpFor(std::chrono::milliseconds(200));
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timer.isEnabled());
    EXPECT_TRUE(platform.messages.empty());
}

// Which activation messages to a saver window mean that another program has
// the foreground. Windows 1 to 3 are the saver's (its monitors' windows and
// its message box), 7 another program's.
DWORD processOfTestWindow(HWND window)
{
    return reinterpret_cast<std::uintptr_t>(window) == 7 ? 200 : 100;
}

TEST(ForegroundLossTest, OnlyActivationOfAnotherProgramEndsTheSaver)
{
    const auto window = [](std::uintptr_t number) { return static_cast<LPARAM>(number); };
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool lost;
    } rows[] = {
        {"another program's thread is activated", WM_ACTIVATEAPP, FALSE, 4242, true},
        {"the program is activated", WM_ACTIVATEAPP, TRUE, 4242, false},
        {"another program's window is activated", WM_ACTIVATE, WA_INACTIVE, window(7), true},
        {"another monitor's saver window is activated", WM_ACTIVATE, WA_INACTIVE, window(2), false},
        {"the saver's message box is activated", WM_ACTIVATE, WA_INACTIVE, window(3), false},
        {"no window named: WM_ACTIVATEAPP decides", WM_ACTIVATE, WA_INACTIVE, 0, false},
        {"the window itself is activated", WM_ACTIVATE, WA_ACTIVE, window(7), false},
        {"activated by a click", WM_ACTIVATE, WA_CLICKACTIVE, window(7), false},
        {"the frame shown inactive: the messages after it decide", WM_NCACTIVATE, FALSE, 0, false},
        {"the frame shown active", WM_NCACTIVATE, TRUE, 0, false},
        {"another message", WM_SETFOCUS, 0, window(7), false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(losesForeground(row.message, row.wParam, row.lParam, 100, processOfTestWindow), row.lost) << row.name;
}

// A mouse message's 16-bit coordinate taken back to the place the pointer
// is near, on desktops of any width.
TEST(MessagePointTest, UnwrapsSixteenBitCoordinatesNearThePointer)
{
    const struct {
        int wrapped;
        long around;
        long full;
    } rows[] = {
        {500, 500, 500},          // an ordinary place
        {500, 503, 500},          // the pointer moved on a little since
        {-20, -20, -20},          // left of the window, on a monitor to its left
        {-32768, 32768, 32768},   // 32,768 pixels right of the window's corner
        {-25536, 40000, 40000},   // far right on a very wide desktop
        {30000, -35536, -35536},  // far left
        {-1, 65535, 65535},       // one short of the period
        {100, 65636, 65636},      // past it
    };
    for (const auto& row : rows)
        EXPECT_EQ(fullCoordinate(row.wrapped, row.around), row.full) << row.wrapped << " around " << row.around;
}

} // namespace
} // namespace korval::windows
