#include "core/saver/PointerTarget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace korval {
namespace {

struct PointRow {
    const char* name;
    PointF point;
    bool captionShown;
    int cell;
};

class PointerTarget : public ::testing::TestWithParam<PointRow> {};

// Two columns of two cells of 10 x 10 and the edge column of three below
// each other, cell 3 hidden, and a caption over the right half of the
// second column when shown; the frame behind the caption lets the mouse
// through.
TEST_P(PointerTarget, IsTheCellThereUnlessTheCaptionCatchesIt)
{
    Cell templateCell;
    templateCell.width = 10;
    templateCell.height = 10;
    CellArray cells(templateCell, CellFont{});
    cells.arrange(2, 2);
    for (int i = 1; i <= 6; ++i) {
        cells.load(i);
        cells.setVisible(i, i != 3);
    }
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
                                           PointRow{"leftEdgeOfTheSecondColumn", {10, 2}, false, 2},
                                           PointRow{"belowTheFirst", {2, 10}, false, 1},
                                           PointRow{"hiddenCell", {12, 12}, false, -1},
                                           PointRow{"edgeColumnBelowTheRows", {25, 25}, false, 6},
                                           PointRow{"belowTheFullColumns", {5, 25}, false, -1},
                                           PointRow{"rightOfEverything", {30, 2}, false, -1},
                                           PointRow{"leftOfEverything", {-0.5, 2}, false, -1},
                                           PointRow{"notANumber", {NAN, 2}, false, -1},
                                           PointRow{"captionHidden", {15, 2}, false, 2},
                                           PointRow{"captionShownCatchesIt", {15, 2}, true, -1},
                                           PointRow{"besideTheCaption", {12, 2}, true, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

// The cell under a point is found by arithmetic; it must be the one a scan
// of every cell, frontmost first, finds, on grids whose sums drift from the
// products and whose edge column reaches below the full columns.
struct GridRow {
    const char* name;
    float left;
    float width;
    float height;
    int rows;
    int columns;
};

class CellUnderAPoint : public ::testing::TestWithParam<GridRow> {};

int scanFrontToBack(const CellArray& cells, double x, double y)
{
    for (int index = cells.count() - 1; index >= 0; --index) {
        if (cells[index].contains(x, y))
            return index;
    }
    return -1;
}

TEST_P(CellUnderAPoint, IsTheOneAScanOfEveryCellFinds)
{
    const GridRow& row = GetParam();
    Cell templateCell;
    templateCell.left = row.left;
    templateCell.width = row.width;
    templateCell.height = row.height;
    CellArray cells(templateCell, CellFont{});
    cells.arrange(row.rows, row.columns);
    const int count = row.rows * row.columns + row.columns + 2;
    for (int i = 1; i < count; ++i) {
        cells.load(i);
        cells.setVisible(i, i % 7 != 3);
    }
    const Cell last = cells[count - 1];
    const double right = double(last.left) + 2 * row.width;
    const double bottom = double(last.top) + 2 * row.height;
    int mismatches = 0;
    for (double y = -1; y < bottom; y += row.height / 3.7) {
        for (double x = double(row.left) - 1; x < right; x += row.width / 3.3) {
            // The point itself and the nearest values on either side of
            // every edge it is close to.
            for (const double px : {x, std::nextafter(x, -1e9), std::nextafter(x, 1e9)}) {
                if (cells.cellAt(px, y) != scanFrontToBack(cells, px, y) && mismatches++ < 5)
                    ADD_FAILURE() << "at (" << px << ", " << y << ")";
            }
        }
    }
    for (int i = 0; i < count; ++i) {
        const Cell cell = cells[i];
        for (const double x : {double(cell.left), std::nextafter(double(cell.left) + cell.width, -1e9)}) {
            if (cells.cellAt(x, cell.top) != scanFrontToBack(cells, x, cell.top) && mismatches++ < 5)
                ADD_FAILURE() << "at the corner of cell " << i;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, CellUnderAPoint,
                         ::testing::Values(GridRow{"wholePixels", 0, 13, 18, 5, 7},
                                           GridRow{"fractionalSizes", 0, 13.7f, 18.3f, 6, 9},
                                           GridRow{"tenthsThatDrift", 0.5f, 0.1f, 0.3f, 20, 30},
                                           GridRow{"onePixel", 0, 1, 1, 30, 20},
                                           GridRow{"edgeColumnLongerThanTheRows", 0, 13, 18, 2, 9},
                                           GridRow{"noRow", 0, 13, 18, 0, 0},
                                           GridRow{"noColumn", 0, 13, 18, 4, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval
