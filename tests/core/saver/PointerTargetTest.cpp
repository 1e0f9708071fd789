#include "core/saver/PointerTarget.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

struct PointRow {
    const char* name;
    PointF point;
    bool captionShown;
    int cell;
};

class PointerTarget : public ::testing::TestWithParam<PointRow> {};

// Two cells of 10 x 10 side by side, the second overlapping the first by a
// pixel, and a caption over the right half of the second when shown; the
// frame behind the caption lets the mouse through.
TEST_P(PointerTarget, IsTheFrontmostCellUnlessTheCaptionCatchesIt)
{
    Cell templateCell;
    templateCell.width = 10;
    templateCell.height = 10;
    CellArray cells(templateCell, CellFont{});
    cells.load(1);
    cells.setLeft(1, 9);
    cells.setVisible(1, true);
    ShapeControl frame;
    frame.setSize(20, 10);
    frame.setVisible(true);
    LabelControl caption;
    caption.setLeft(14);
    caption.setSize(5, 10);
    caption.setVisible(GetParam().captionShown);
    EXPECT_EQ(cellUnderPoint(cells, {&frame, &caption}, GetParam().point), GetParam().cell);
}

INSTANTIATE_TEST_SUITE_P(Table, PointerTarget,
                         ::testing::Values(PointRow{"firstCell", {2, 2}, false, 0},
                                           PointRow{"overlapGoesToTheLaterCell", {9.5, 2}, false, 1},
                                           PointRow{"rightEdgeIsOutside", {19, 2}, false, -1},
                                           PointRow{"bottomEdgeIsOutside", {2, 10}, false, -1},
                                           PointRow{"captionHidden", {15, 2}, false, 1},
                                           PointRow{"captionShownCatchesIt", {15, 2}, true, -1},
                                           PointRow{"besideTheCaption", {12, 2}, true, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval
