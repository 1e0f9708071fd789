#pragma once

#include "core/runtime/Geometry.h"

#include <optional>

namespace korval {

class Stage;

// Something that shows a form's cells and controls: a window of the
// program's own, or one that another program gave it. A stage repaints its
// surfaces after every handler it runs.
class Surface {
public:
    virtual ~Surface() = default;

    // Draws what changed since the last repaint and sends it to the screen.
    virtual void repaintChanges() = 0;

    // For a point of the desktop that this surface shows: the cell under it,
    // or -1 where no cell is. Nothing for a point elsewhere.
    virtual std::optional<int> cellUnder(PointF globalPosition) const = 0;

protected:
    // The stage this surface is on, or null: input goes to the stage's
    // handlers, and changes made inside them need no repaint of their own.
    Stage* stage() const { return stage_; }

private:
    friend class Stage;
    Stage* stage_ = nullptr;
};

} // namespace korval
