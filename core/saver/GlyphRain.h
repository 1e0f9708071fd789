#pragma once

#include "SaverState.h"

#include "CellArray.h"
#include "core/runtime/RandomSource.h"

namespace korval {

// One frame of the glyph rain on one grid: every column's head moves down
// by the column's speed, writing glyphs or blanks, and every second column
// clears one random cell. Form1's Timer1_Timer runs it for each screen.
void glyphRainTick(SaverState& state, CellArray& M1, RandomSource& random);

} // namespace korval
