#include "core/saver/Cell.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

// A cell at (10, 20), 10 by 20 pixels, against areas around it: sharing an
// edge is not meeting, any overlap is, however thin.
TEST(CellMeets, OverlapMeetsAndASharedEdgeDoesNot)
{
    const Cell cell{10, 20, 10, 20};
    struct Row {
        const char* name;
        RectF area;
        bool meets;
    };
    const Row rows[] = {
        {"inside", {12, 22, 2, 2}, true},
        {"around", {0, 0, 100, 100}, true},
        {"left edge shared", {0, 20, 10, 20}, false},
        {"right edge shared", {20, 20, 5, 20}, false},
        {"top edge shared", {10, 0, 10, 20}, false},
        {"bottom edge shared", {10, 40, 10, 5}, false},
        {"a quarter pixel over the right edge", {19.75f, 25, 5, 5}, true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(cellMeets(cell, row.area), row.meets) << row.name;
}

} // namespace
} // namespace korval
