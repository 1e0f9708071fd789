#pragma once

#include "CellArray.h"
#include "Controls.h"

#include "core/runtime/Geometry.h"

#include <vector>

namespace korval {

// The cell under a point of a form, in the form's pixels: -1 where no cell
// is, or where a shown control that catches the mouse (the banner's caption)
// lies in front of the cells. Later controls lie in front of earlier ones,
// and later cells in front of earlier cells.
inline int cellUnderPoint(const CellArray& cells, const std::vector<WindowlessControl*>& controls, PointF point)
{
    for (auto control = controls.rbegin(); control != controls.rend(); ++control) {
        if ((*control)->isVisible() && (*control)->catchesMouse() && (*control)->rect().contains(point.x, point.y))
            return -1;
    }
    return cells.cellAt(point.x, point.y);
}

} // namespace korval
