#pragma once

#include "SaverState.h"

#include "CellArray.h"
#include "core/runtime/RandomSource.h"

#include "core/runtime/Geometry.h"

namespace korval {

// Covers a screen of the given size in twips with the grid of cells: R rows
// and C full columns of the template cell's size (the twips always divided
// by 15, whatever the display reports), laid out column by column, each from
// the top down, and the edge column at the right. A grid of more than
// CellArray::kMostCells cells raises "Out of memory".
void layOutGrid(SaverState& state, CellArray& M1, SizeF screenTwips);

// Gives every full column a speed of 1 to 4 and a mode, drawing speed then
// mode, column after column.
void seedColumns(SaverState& state, RandomSource& random);

// A grid laid out and seeded beside the one that runs, from the same
// template cell, so that a failure while it is built (no memory for a large
// screen) leaves the running grid as it was.
struct FreshGrid {
    SaverState state;
    CellArray M1;
};
FreshGrid freshGrid(const CellArray& M1, SizeF screenTwips, RandomSource& random);

// Puts the fresh grid in place of the running one, whose windows keep
// showing the same array; what belongs to the whole run stays. Cannot fail.
void adoptGrid(SaverState& state, CellArray& M1, FreshGrid&& fresh) noexcept;

// Lays a grid that already runs out anew for a screen of another size, with
// fresh columns: its heads start again at the top. On failure the grid stays
// as it was.
void rebuildGrid(SaverState& state, CellArray& M1, SizeF screenTwips, RandomSource& random);

} // namespace korval
