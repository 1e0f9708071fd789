#include "Grid.h"

#include "ColumnDraws.h"

#include "core/runtime/Arithmetic.h"
#include "core/runtime/ScreenArea.h"

#include <cstdint>

namespace korval {
namespace {

// Loads the cells column by column: the full columns, each from the top
// down, then the edge column, one cell per full column plus two, stacked
// from the top. The array places each cell from its neighbours.
void buildGrid(const SaverState& state, CellArray& M1)
{
    const auto rows = static_cast<std::int64_t>(state.rowsPerColumn);
    const std::int64_t full = rows * state.columnCount;
    const std::int64_t last = full + state.columnCount + 1;
    const int lastCell = toWhole(static_cast<double>(last));
    M1.reserve(lastCell + 1);

    const int R = static_cast<int>(rows);
    const int N = static_cast<int>(full);
    // Without a row no column starts: every cell stacks below the template.
    const int columnsStarted = R > 0 ? state.columnCount : 0;
    M1.arrange(R, columnsStarted);
    for (int i = 1; i <= N; ++i) {
        M1.load(i);
        M1.clearCaption(i);
        M1.setVisible(i, true);
    }
    for (int i = N + 1; i <= N + 1 + columnsStarted; ++i) {
        M1.load(i);
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

FreshGrid freshGrid(const CellArray& M1, SizeF screenTwips, RandomSource& random)
{
    FreshGrid fresh{SaverState{}, CellArray(M1[0], M1.font())};
    layOutGrid(fresh.state, fresh.M1, screenTwips);
    seedColumns(fresh.state, random);
    return fresh;
}

void adoptGrid(SaverState& state, CellArray& M1, FreshGrid&& fresh) noexcept
{
    state.takeGrid(std::move(fresh.state));
    M1.adopt(std::move(fresh.M1));
}

void rebuildGrid(SaverState& state, CellArray& M1, SizeF screenTwips, RandomSource& random)
{
    adoptGrid(state, M1, freshGrid(M1, screenTwips, random));
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
