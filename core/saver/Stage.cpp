#include "Stage.h"

#include <algorithm>

namespace korval {

Stage::~Stage()
{
    for (Surface* surface : surfaces_)
        surface->stage_ = nullptr;
}

void Stage::add(Surface& surface)
{
    surface.stage_ = this;
    surfaces_.push_back(&surface);
}

void Stage::remove(Surface& surface)
{
    surface.stage_ = nullptr;
    surfaces_.erase(std::remove(surfaces_.begin(), surfaces_.end(), &surface), surfaces_.end());
}

int Stage::cellAt(PointF globalPosition) const
{
    for (const Surface* surface : surfaces_) {
        if (const std::optional<int> cell = surface->cellUnder(globalPosition))
            return *cell;
    }
    return -1;
}

void Stage::click(PointF desktopPosition)
{
    if (const int cell = cellAt(desktopPosition); cell >= 0)
        run([&] { call(input_.cellClick, cell); });
}

void Stage::pointerMoved(PointF desktopPosition)
{
    if (moves_.moved(desktopPosition))
        moveOverCell(desktopPosition);
}

void Stage::pointerEntered(PointF desktopPosition)
{
    if (moves_.entered(desktopPosition))
        moveOverCell(desktopPosition);
}

void Stage::moveOverCell(PointF desktopPosition)
{
    if (const int cell = cellAt(desktopPosition); cell >= 0)
        run([&] { call(input_.cellMouseMove, cell); });
}

void Stage::repaintChanges()
{
    // By index: an error's box runs messages that may add or remove surfaces.
    for (std::size_t index = 0; index < surfaces_.size(); ++index)
        runGuarded(platform_, [surface = surfaces_[index]] { surface->repaintChanges(); });
}

} // namespace korval
