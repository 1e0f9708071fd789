#pragma once

#include "CellArray.h"

#include "core/runtime/RegionalFormat.h"

namespace korval {

class SettingsStore;

// The template cell, element 0 of M1, as designed: every cell is a copy.
Cell templateCell();

// Gives the template cell the font size and the cell size the saver runs
// with, read in the user's number format: this run's values, else the
// stored ones, else the defaults. A value the cells cannot take raises its
// run-time error before any grid is laid.
void applyCellSettings(CellArray& M1, const SettingsStore& store, const RegionalFormat& format);

} // namespace korval
