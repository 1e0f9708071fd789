#include "CellArray.h"

#include <algorithm>
#include <cmath>

namespace korval {
namespace {

// A palette entry is one byte.
constexpr std::size_t kMostColours = 256;

// The next position along a row or a column: the neighbour's plus the cell's
// size, summed in double and stored in single precision.
float nextPosition(float previous, float size)
{
    return static_cast<float>(double(size) + previous);
}

// The last entry of an ascending table of edges at or before the value,
// guessed by arithmetic from the first edge and the spacing and then set
// right against the table, whose sums may have drifted from the product.
int lastEdgeAtOrBefore(const std::vector<float>& edges, float spacing, double value)
{
    const int last = static_cast<int>(edges.size()) - 1;
    const double guess = std::floor((value - edges.front()) / spacing);
    int entry = !(guess > 0) ? 0 : guess >= last ? last : static_cast<int>(guess);
    while (entry < last && edges[static_cast<std::size_t>(entry) + 1] <= value)
        ++entry;
    while (entry > 0 && edges[static_cast<std::size_t>(entry)] > value)
        --entry;
    return entry;
}

} // namespace

CellArray::CellArray(const Cell& templateCell, CellFont font)
    : width_(templateCell.width), height_(templateCell.height), fontSize_(templateCell.fontSize),
      backColour_(templateCell.backColour), font_(std::move(font))
{
    palette_.reserve(kMostColours);
    palette_.push_back(templateCell.foreColour);
    columnLefts_.push_back(templateCell.left);
    rowTops_.push_back(templateCell.top);
    CellState first;
    first.captionCode = templateCell.captionCode;
    first.visible = templateCell.visible;
    cells_.push_back(first);
}

Cell CellArray::operator[](int index) const
{
    const CellState& state = cells_[static_cast<std::size_t>(index)];
    const Place place = placeOf(index);
    Cell cell;
    cell.left = columnLefts_[static_cast<std::size_t>(place.column)];
    cell.top = rowTops_[static_cast<std::size_t>(place.row)];
    cell.width = width_;
    cell.height = height_;
    cell.fontSize = fontSize_;
    cell.foreColour = palette_[state.colour];
    cell.backColour = backColour_;
    cell.captionCode = state.captionCode;
    cell.visible = state.visible;
    return cell;
}

CellArray::Place CellArray::placeOf(int index) const
{
    const int column = rows_ > 0 && index < rows_ * columns_ ? index / rows_ : columns_;
    return {column, index - column * rows_};
}

// The index of the cell at that place, or -1 where there is none.
int CellArray::indexAt(Place place) const
{
    if (place.column < 0 || place.row < 0 || place.column > columns_)
        return -1;
    if (place.column < columns_ && place.row >= rows_)
        return -1;
    const int index = place.column * rows_ + place.row;
    return index < count() ? index : -1;
}

void CellArray::reserve(int count)
{
    if (count > kMostCells)
        throw RuntimeError::outOfMemory();
    cells_.reserve(static_cast<std::size_t>(count));
    changed_.reserve(static_cast<std::size_t>(count));
}

void CellArray::load(int index)
{
    if (index != count())
        throw RuntimeError::subscriptOutOfRange();
    if (index >= kMostCells)
        throw RuntimeError::outOfMemory();
    extendRowsTo(placeOf(index).row + 1);
    CellState copy = cells_.front();
    copy.visible = false;
    copy.queued = false;
    cells_.push_back(copy);
    // Keep the repaint queue able to hold every cell once, so that queueing
    // never allocates while the saver runs.
    if (changed_.capacity() < cells_.size())
        changed_.reserve(cells_.capacity());
}

void CellArray::extendRowsTo(int rows)
{
    while (static_cast<int>(rowTops_.size()) < rows)
        rowTops_.push_back(nextPosition(rowTops_.back(), height_));
}

void CellArray::arrange(int rows, int columns)
{
    if (rows < 0 || columns < 0)
        throw RuntimeError::invalidPropertyValue();
    // More full columns or cells than an array holds could never be loaded.
    if (columns > kMostCells || static_cast<std::int64_t>(rows) * columns > kMostCells)
        throw RuntimeError::outOfMemory();
    std::vector<float> lefts{columnLefts_.front()};
    lefts.reserve(static_cast<std::size_t>(columns) + 1);
    for (int column = 1; column <= columns; ++column)
        lefts.push_back(nextPosition(lefts.back(), width_));
    columnLefts_ = std::move(lefts);
    rows_ = rows;
    columns_ = columns;
    rowTops_.resize(1);
    extendRowsTo(std::max(placeOf(count() - 1).row + 1, rows));
    geometryChanged_ = true;
    queue(cells_.front(), 0);
}

void CellArray::adopt(CellArray&& fresh) noexcept
{
    clearChanges();
    cells_.swap(fresh.cells_);
    changed_.swap(fresh.changed_);
    palette_.swap(fresh.palette_);
    columnLefts_.swap(fresh.columnLefts_);
    rowTops_.swap(fresh.rowTops_);
    rows_ = fresh.rows_;
    columns_ = fresh.columns_;
    width_ = fresh.width_;
    height_ = fresh.height_;
    fontSize_ = fresh.fontSize_;
    backColour_ = fresh.backColour_;
    // The fresh cells were queued as they were loaded; the whole window is
    // repainted instead. The listener is not called: grids are replaced
    // inside a handler, after which the stage repaints every surface.
    for (CellState& cell : cells_)
        cell.queued = false;
    changed_.clear();
    geometryChanged_ = true;
}

void CellArray::setWidth(float width)
{
    if (!(width >= 0))
        throw RuntimeError::invalidPropertyValue();
    setSize(width_, width);
}

void CellArray::setHeight(float height)
{
    if (!(height >= 0))
        throw RuntimeError::invalidPropertyValue();
    setSize(height_, height);
}

void CellArray::setFontSize(float points)
{
    // The largest size a desktop font accepts; nothing above draws sensibly.
    constexpr float kLargestFontSize = 2160.0f;
    if (!(points > 0) || points > kLargestFontSize)
        throw RuntimeError::invalidPropertyValue();
    setSize(fontSize_, points);
}

void CellArray::setSize(float& field, float value)
{
    if (field == value)
        return;
    field = value;
    geometryChanged_ = true;
    queue(cells_.front(), 0);
}

void CellArray::setForeColour(int index, Colour colour)
{
    CellState& cell = checked(index);
    const std::uint8_t entry = paletteEntry(colour);
    if (cell.colour != entry) {
        cell.colour = entry;
        queue(cell, index);
    }
}

// The palette's entry for a colour, made on its first use. The palette has
// room for every entry from the start, so that a colour never allocates
// while the saver runs.
std::uint8_t CellArray::paletteEntry(Colour colour)
{
    const auto known = std::find(palette_.begin(), palette_.end(), colour);
    if (known != palette_.end())
        return static_cast<std::uint8_t>(known - palette_.begin());
    if (palette_.size() == kMostColours)
        throw RuntimeError::invalidPropertyValue();
    palette_.push_back(colour);
    return static_cast<std::uint8_t>(palette_.size() - 1);
}

void CellArray::setVisible(int index, bool visible)
{
    CellState& cell = checked(index);
    if (cell.visible != visible) {
        cell.visible = visible;
        queue(cell, index);
    }
}

int CellArray::cellAt(double x, double y) const
{
    if (!(width_ > 0 && height_ > 0))
        return -1;
    const int column = lastEdgeAtOrBefore(columnLefts_, width_, x);
    const int row = lastEdgeAtOrBefore(rowTops_, height_, y);
    // The sums may leave a sliver where a cell overlaps its neighbour to the
    // left or above: the later cell is in front, the earlier one shows where
    // the later one is hidden.
    int found = -1;
    for (const Place place : {Place{column, row}, Place{column, row - 1}, Place{column - 1, row},
                              Place{column - 1, row - 1}}) {
        const int index = indexAt(place);
        if (index > found && (*this)[index].contains(x, y))
            found = index;
    }
    return found;
}

void CellArray::clearChanges()
{
    for (int index : changed_)
        cells_[static_cast<std::size_t>(index)].queued = false;
    changed_.clear();
    geometryChanged_ = false;
}

} // namespace korval
