#include "core/saver/CellArray.h"

#include <gtest/gtest.h>

#include <vector>

namespace korval {
namespace {

CellArray threeCells()
{
    Cell templateCell;
    templateCell.width = 13;
    templateCell.height = 18;
    templateCell.captionCode = 65;
    CellArray cells(templateCell, CellFont{"Sans", 700, 238});
    cells.load(1);
    cells.load(2);
    cells.clearChanges();
    return cells;
}

TEST(CellArray, NewElementsCopyTheTemplateAndStartInvisible)
{
    CellArray cells = threeCells();
    EXPECT_EQ(cells.count(), 3);
    EXPECT_EQ(cells[2].width, 13);
    EXPECT_EQ(cells[2].captionCode, 65);
    EXPECT_TRUE(cells[0].visible);
    EXPECT_FALSE(cells[2].visible);
    EXPECT_THROW(cells.load(5), RuntimeError) << "elements load in order";
}

TEST(CellArray, QueuesEachChangedCellOnceAndNothingUnchanged)
{
    CellArray cells = threeCells();
    int notices = 0;
    cells.setChangeListener([&] { ++notices; });

    cells.setCaptionCode(0, 65); // the value it has
    EXPECT_TRUE(cells.changes().empty());

    cells.setCaptionCode(1, 66);
    cells.setForeColour(1, 0xFF00FF00);
    cells.clearCaption(2);
    cells.setForeColour(0, 0xFF00FF00);
    EXPECT_EQ(cells.changes(), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(notices, 1) << "one notice per batch of changes";
    EXPECT_FALSE(cells.geometryChanged());

    cells.clearChanges();
    cells.setVisible(2, true);
    EXPECT_EQ(cells.changes(), std::vector<int>{2});
    EXPECT_EQ(notices, 2);
}

TEST(CellArray, RefusesNegativeSizesAndUnknownIndices)
{
    CellArray cells = threeCells();
    try {
        cells.setWidth(-1);
        ADD_FAILURE();
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), RuntimeError::InvalidPropertyValue);
    }
    EXPECT_THROW(cells.setHeight(-0.5f), RuntimeError);
    EXPECT_THROW(cells.setCaptionCode(3, 65), RuntimeError);
    EXPECT_THROW(cells.setForeColour(-1, 0), RuntimeError);
    cells.setWidth(0);
    EXPECT_EQ(cells[2].width, 0) << "a width of 0 is the cell's to accept";
}

// Each column starts a cell's width right of the one before and each row a
// cell's height below the one above, every sum stored in single precision;
// the cells after the full columns stack in the column after them.
TEST(CellArray, ArrangesItsCellsInColumnsFromTheirNeighbours)
{
    Cell templateCell;
    templateCell.left = 0.5f;
    templateCell.width = 0.1f;
    templateCell.height = 18;
    CellArray cells(templateCell, CellFont{});
    cells.reserve(9);
    cells.arrange(2, 3);
    for (int i = 1; i < 9; ++i)
        cells.load(i);
    std::vector<std::pair<float, float>> corners;
    for (int i = 0; i < 9; ++i)
        corners.emplace_back(cells[i].left, cells[i].top);
    const float second = static_cast<float>(0.1f + 0.5);
    const float third = static_cast<float>(0.1f + double(second));
    const float fourth = static_cast<float>(0.1f + double(third));
    EXPECT_EQ(corners, (std::vector<std::pair<float, float>>{{0.5f, 0},
                                                             {0.5f, 18},
                                                             {second, 0},
                                                             {second, 18},
                                                             {third, 0},
                                                             {third, 18},
                                                             {fourth, 0},
                                                             {fourth, 18},
                                                             {fourth, 36}}));
}

TEST(CellArray, RefusesMoreCellsThanItsCeilingAsOutOfMemory)
{
    CellArray cells = threeCells();
    try {
        cells.reserve(CellArray::kMostCells + 1);
        ADD_FAILURE();
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), RuntimeError::OutOfMemory);
        EXPECT_EQ(error.text(), "Out of memory");
    }
    EXPECT_EQ(cells.count(), 3);
}

TEST(Cell, FractionalEdgesRoundSoNeighboursNeitherOverlapNorLeaveGaps)
{
    Cell first;
    first.left = 0;
    first.width = 13.5f;
    first.height = 18;
    Cell second = first;
    second.left = 13.5f;
    EXPECT_EQ(first.pixelRect().x + first.pixelRect().width, second.pixelRect().x);
}

} // namespace
} // namespace korval
