#pragma once

#include "CellArray.h"
#include "Grid.h"
#include "SaverState.h"

#include "core/runtime/RandomSource.h"
#include "core/runtime/ScreenArea.h"

#include <optional>
#include <string>

namespace korval {

// The rain on a screen other than the primary one: a grid of its own, laid
// out by the same rules from that screen's size, with its own state. It has
// no banner and no controls; the front end shows it in a window of its own,
// whose input goes to the form's handlers like the form's own.
class ScreenRain {
public:
    // Lays the grid out for the screen, cells copied from the form's
    // template cell, and seeds its columns.
    ScreenRain(const Cell& templateCell, const ScreenArea& area, RandomSource& random);

    // Follows the screen to another place, or to another size with the grid
    // built for it beside this one. Cannot fail.
    void follow(ScreenArea&& area, std::optional<FreshGrid>&& grid) noexcept;

    const ScreenArea& area() const { return area_; }
    const std::string& name() const { return area_.name; }
    SaverState state;
    CellArray M1;

private:
    ScreenArea area_;
};

} // namespace korval
