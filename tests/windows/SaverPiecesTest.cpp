#include "windows/platform/PacedTimer.h"
#include "windows/saver/CodePageGlyphs.h"

#include <gtest/gtest.h>

#include <chrono>

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
    PacedTimer timer({1, false});
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
}

} // namespace
} // namespace korval::windows
