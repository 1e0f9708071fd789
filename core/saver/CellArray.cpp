#include "CellArray.h"

namespace korval {

CellArray::CellArray(const Cell& templateCell, CellFont font) : font_(std::move(font))
{
    cells_.push_back(templateCell);
    cells_.front().queued = false;
}

void CellArray::reserve(int count)
{
    cells_.reserve(static_cast<std::size_t>(count));
    changed_.reserve(static_cast<std::size_t>(count));
}

void CellArray::load(int index)
{
    if (index != count())
        throw RuntimeError::subscriptOutOfRange();
    Cell copy = cells_.front();
    copy.visible = false;
    copy.queued = false;
    cells_.push_back(copy);
    // Keep the repaint queue able to hold every cell once, so that queueing
    // never allocates while the saver runs.
    if (changed_.capacity() < cells_.size())
        changed_.reserve(cells_.capacity());
}

void CellArray::unloadAll()
{
    clearChanges();
    cells_.resize(1);
    geometryChanged_ = true;
    queue(cells_.front(), 0);
}

void CellArray::setWidth(int index, float width)
{
    if (!(width >= 0))
        throw RuntimeError::invalidPropertyValue();
    setGeometry(index, &Cell::width, width);
}

void CellArray::setHeight(int index, float height)
{
    if (!(height >= 0))
        throw RuntimeError::invalidPropertyValue();
    setGeometry(index, &Cell::height, height);
}

void CellArray::setFontSize(int index, float points)
{
    // The largest size a desktop font accepts; nothing above draws sensibly.
    constexpr float kLargestFontSize = 2160.0f;
    if (!(points > 0) || points > kLargestFontSize)
        throw RuntimeError::invalidPropertyValue();
    setGeometry(index, &Cell::fontSize, points);
}

void CellArray::setVisible(int index, bool visible)
{
    Cell& cell = checked(index);
    if (cell.visible != visible) {
        cell.visible = visible;
        queue(cell, index);
    }
}

void CellArray::setGeometry(int index, float Cell::*field, float value)
{
    Cell& cell = checked(index);
    if (cell.*field == value)
        return;
    cell.*field = value;
    geometryChanged_ = true;
    queue(cell, index);
}

void CellArray::clearChanges()
{
    for (int index : changed_)
        cells_[static_cast<std::size_t>(index)].queued = false;
    changed_.clear();
    geometryChanged_ = false;
}

} // namespace korval
