#pragma once

#include "SaverState.h"

#include "engine/CellArray.h"
#include "engine/SaverWindow.h"
#include "platform/RandomSource.h"
#include "platform/ScreenArea.h"

namespace korval {

// The rain on a screen other than the primary one: a grid of its own, laid
// out by the same rules from that screen's size, with its own state, in a
// window of its own. It has no banner and no controls; its input goes to the
// form's handlers like the form's own.
class ScreenRain {
public:
    // Lays the grid out for the screen, cells copied from the form's
    // template cell, and seeds its columns.
    ScreenRain(const Cell& templateCell, const ScreenArea& area, RandomSource& random);

    // Follows the screen to another place or size: the window moves, and a
    // screen of another size gets a fresh grid.
    void cover(const ScreenArea& area, RandomSource& random);

    const ScreenArea& area() const { return area_; }
    const QString& name() const { return area_.name; }
    SaverState state;
    CellArray M1;
    SaverWindow& window() { return window_; }

private:
    ScreenArea area_;
    SaverWindow window_;
};

} // namespace korval
