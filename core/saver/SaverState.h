#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korval {

// The saver's state shared by start-up, the animation and the exit handling.
// Values that the program has never set read as 0, like the empty values they
// stand for. The per-column tables are indexed by column number: entry 0 is
// never used, entries 1..C are the full columns and entry C + 1 is the edge
// column, which is read but never seeded, so it never moves.
struct SaverState {
    int columnCount = 0;      // C, the full columns
    float rowsPerColumn = 0;  // R, the cells in a column
    std::vector<int> headRow;      // row 0..R of the cell each column's head wrote last
    std::vector<int> columnSpeed;  // cells per tick, 1..4
    std::vector<int> lastHead;     // index of the cell each column wrote last
    std::vector<int> columnMode;   // 1: the column writes blanks, 0: glyphs
    int moveCount = 0;        // mouse-move events over cells so far
    std::string bannerFlag;      // the stored "SYSTEM" text, compared with 1 on exit
    int cellCount = 0;        // R x C, the range of the random clearing
    std::int64_t glyphCode = 0; // the running character code; grows past 255 in blank mode

    // Takes the grid of a state built beside this one (its size, its
    // columns and their heads); what belongs to the whole run stays. Cannot
    // fail.
    void takeGrid(SaverState&& fresh) noexcept
    {
        columnCount = fresh.columnCount;
        rowsPerColumn = fresh.rowsPerColumn;
        cellCount = fresh.cellCount;
        headRow = std::move(fresh.headRow);
        columnSpeed = std::move(fresh.columnSpeed);
        lastHead = std::move(fresh.lastHead);
        columnMode = std::move(fresh.columnMode);
    }

    // Sizes every per-column table for C full columns plus the edge column.
    void sizeColumnTables(int columns)
    {
        const auto entries = static_cast<std::size_t>(columns) + 2;
        headRow.assign(entries, 0);
        columnSpeed.assign(entries, 0);
        lastHead.assign(entries, 0);
        columnMode.assign(entries, 0);
    }
};

} // namespace korval
