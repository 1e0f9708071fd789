#include "GlyphRain.h"

#include "ColumnDraws.h"

#include "Palette.h"
#include "core/runtime/Arithmetic.h"

namespace korval {
namespace {

constexpr int kBlankMode = 1;
constexpr std::int64_t kLastGlyphCode = 255;

// One column's view of the state for the steps of a pass: the column number
// n, the index of its top cell and the number of cells in it.
struct ColumnPass {
    int column;
    int columnBase;
    int rows;
};

// Advances the shared glyph code for one step and returns the caption the
// step writes: a code 0..255, or kNoCaption in blank mode. A blank step
// pushes the code forward by a random jump; a glyph step counts up and
// restarts at a random code once it passes 255, so no code above 255 is
// ever written however far the blank steps pushed it.
int nextCaption(SaverState& state, int mode, RandomSource& random)
{
    if (mode == kBlankMode) {
        state.glyphCode += static_cast<std::int64_t>(Int(255 * random.next()));
        return kNoCaption;
    }
    state.glyphCode += 1;
    if (state.glyphCode > kLastGlyphCode)
        state.glyphCode = static_cast<std::int64_t>(Int(255 * random.next()));
    return static_cast<int>(state.glyphCode);
}

// Moves the column's head one cell down, wrapping to the top past row R
// (row R itself is the top cell of the column to the right). The text
// follows the mode from before a wrap, the head's brightness the mode after
// it.
void stepColumn(const ColumnPass& pass, SaverState& state, CellArray& cells, RandomSource& random)
{
    const auto n = static_cast<std::size_t>(pass.column);
    const int caption = nextCaption(state, state.columnMode[n], random);

    int head = pass.columnBase + state.headRow[n] + 1;
    if (head > pass.columnBase + pass.rows) {
        head = pass.columnBase;
        state.columnSpeed[n] = drawSpeed(random);
        state.columnMode[n] = drawMode(random);
    }

    cells.setCaptionCode(head, caption);
    if (state.columnMode[n] != kBlankMode)
        cells.setForeColour(head, HEAD_COLOUR);
    cells.setForeColour(state.lastHead[n], TRAIL_COLOUR);
    state.lastHead[n] = head;
    state.headRow[n] = head - pass.columnBase;
}

// The per-column tables hold the full columns and the edge column; without
// them start-up never seeded the grid and there is nothing to animate.
bool gridReady(const SaverState& state, int rows)
{
    return rows >= 1 && state.columnCount >= 0
           && state.columnSpeed.size() >= static_cast<std::size_t>(state.columnCount) + 2;
}

} // namespace

// One frame: a pass per column from left to right, the last over the edge
// column, which never moves; every second pass first clears one random cell
// of the full columns. A column's speed is fixed for its pass, so a speed
// drawn by a wrap counts from the next tick.
void glyphRainTick(SaverState& state, CellArray& M1, RandomSource& random)
{
    const int rows = static_cast<int>(state.rowsPerColumn);
    // Without a row the passes would never advance: the screen stays still.
    if (!gridReady(state, rows))
        return;
    const int columns = state.columnCount;
    state.cellCount = rows * columns;

    const int lastBase = columns * rows;
    int passNumber = 0;
    for (int columnBase = 0; columnBase <= lastBase; columnBase += rows) {
        ++passNumber;
        if (passNumber % 2 == 0)
            M1.clearCaption(static_cast<int>(Int(state.cellCount * random.next())));
        const ColumnPass pass{passNumber, columnBase, rows};
        const int speed = state.columnSpeed[static_cast<std::size_t>(passNumber)];
        for (int step = 0; step < speed; ++step)
            stepColumn(pass, state, M1, random);
    }
}

} // namespace korval
