#include "Grid.h"

#include "ColumnDraws.h"

#include "core/runtime/Arithmetic.h"
#include "core/runtime/ScreenArea.h"

#include <cstdint>

namespace korval {
namespace {

// Loads the cells column by column, every position taken from a neighbour:
// the top cell of a column from the top of the column to its left, every
// other cell from the one above it. After the full columns comes the edge
// column: one cell per full column plus two, stacked from the top.
void buildGrid(const SaverState& state, CellArray& M1)
{
    const auto rows = static_cast<std::int64_t>(state.rowsPerColumn);
    const std::int64_t full = rows * state.columnCount;
    const std::int64_t last = full + state.columnCount + 1;
    const int lastCell = toWhole(static_cast<double>(last));
    M1.reserve(lastCell + 1);

    const int R = static_cast<int>(rows);
    const int N = static_cast<int>(full);
    int columnsStarted = 0;
    for (int i = 1; i <= N; ++i) {
        M1.load(i);
        if (i % R == 0) {
            ++columnsStarted;
            M1.setTop(i, M1[i - R].top);
            M1.setLeft(i, static_cast<float>(double(M1[i].width) + M1[i - R].left));
        } else {
            M1.setTop(i, static_cast<float>(double(M1[i].height) + M1[i - 1].top));
            M1.setLeft(i, M1[i - 1].left);
        }
        M1.clearCaption(i);
        M1.setVisible(i, true);
    }
    for (int i = N + 1; i <= N + 1 + columnsStarted; ++i) {
        M1.load(i);
        M1.setTop(i, static_cast<float>(double(M1[i].height) + M1[i - 1].top));
        M1.setLeft(i, M1[i - 1].left);
        M1.setVisible(i, true);
    }
}

} // namespace

void layOutGrid(SaverState& state, CellArray& M1, SizeF screenTwips)
{
    state.rowsPerColumn = static_cast<float>(Int(divide(screenTwips.height / TWIPS_PER_PIXEL, M1[0].height)));
    state.columnCount = toWhole(Int(divide(screenTwips.width / TWIPS_PER_PIXEL, M1[0].width)));
    buildGrid(state, M1);
}

void rebuildGrid(SaverState& state, CellArray& M1, SizeF screenTwips, RandomSource& random)
{
    M1.unloadAll();
    state.forgetGrid();
    layOutGrid(state, M1, screenTwips);
    seedColumns(state, random);
}

void seedColumns(SaverState& state, RandomSource& random)
{
    state.sizeColumnTables(state.columnCount);
    for (int column = 1; column <= state.columnCount; ++column) {
        state.columnSpeed[static_cast<std::size_t>(column)] = drawSpeed(random);
        state.columnMode[static_cast<std::size_t>(column)] = drawMode(random);
    }
}

} // namespace korval
