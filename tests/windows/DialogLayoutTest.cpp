#include "windows/options/DialogLayout.h"

#include <gtest/gtest.h>

// The dialog's design at other resolutions.
namespace korval::windows {
namespace {

TEST(DialogLayout, ScalesTheDesignWithTheResolution)
{
    struct Row {
        const char* name;
        DialogRect design;
        unsigned dpi;
        DialogRect expected;
    };
    const Row rows[] = {
        {"the design at 96 DPI", {264, 48, 49, 19}, 96, {264, 48, 49, 19}},
        {"the client area at 120 DPI", kClientArea, 120, {0, 0, 404, 249}},
        {"the client area at 144 DPI", kClientArea, 144, {0, 0, 485, 299}},
        {"the client area at 192 DPI", kClientArea, 192, {0, 0, 646, 398}},
        // 8 * 1.25 = 10, (8 + 81) * 1.25 = 111.25: the right edge rounds, not the width.
        {"OK at 120 DPI", {8, 168, 81, 25}, 120, {10, 210, 101, 31}},
        {"CANCEL at 120 DPI", {232, 168, 81, 25}, 120, {290, 210, 101, 31}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(scaledRect(row.design, row.dpi), row.expected) << row.name;
}

// Controls that line up in the design still line up: the gap boxes end at
// the same right edge as CANCEL, whatever the resolution.
TEST(DialogLayout, KeepsEdgesThatLineUp)
{
    for (unsigned dpi : {96u, 108u, 120u, 144u, 168u, 192u, 240u}) {
        const DialogRect box = scaledRect({264, 48, 49, 19}, dpi);
        const DialogRect cancel = scaledRect({232, 168, 81, 25}, dpi);
        EXPECT_EQ(box.left + box.width, cancel.left + cancel.width) << dpi;
        EXPECT_EQ(cancel.left + cancel.width, scaledLength(313, dpi)) << dpi;
    }
}

TEST(DialogLayout, FontHeightsInPixelsAtTheResolution)
{
    EXPECT_EQ(fontHeight(8.25, 96), -11);
    EXPECT_EQ(fontHeight(12, 96), -16);
    EXPECT_EQ(fontHeight(12, 144), -24);
    EXPECT_EQ(fontHeight(17, 96), -23);
}

} // namespace
} // namespace korval::windows
