#pragma once

#include "Cell.h"
#include "core/runtime/RuntimeError.h"

#include <functional>
#include <vector>

namespace korval {

// A control array of cells. Element 0 is the template; every element loaded
// later starts as a copy of it, invisible. Changing a cell's caption, colour,
// visibility or geometry queues it for repainting once; setting a property to
// the value it already has changes nothing and queues nothing.
class CellArray {
public:
    CellArray(const Cell& templateCell, CellFont font);

    int count() const { return static_cast<int>(cells_.size()); }
    const Cell& operator[](int index) const { return cells_[static_cast<std::size_t>(index)]; }
    const CellFont& font() const { return font_; }

    // Loads element `index`, which must be the next one (count()).
    void load(int index);
    void reserve(int count);
    // Unloads every element but the template, as for a grid laid out anew:
    // the window is repainted whole.
    void unloadAll();

    void setLeft(int index, float left) { setGeometry(index, &Cell::left, left); }
    void setTop(int index, float top) { setGeometry(index, &Cell::top, top); }
    void setWidth(int index, float width);
    void setHeight(int index, float height);
    void setFontSize(int index, float points);

    void setCaptionCode(int index, int code)
    {
        Cell& cell = checked(index);
        const auto value = static_cast<std::int16_t>(code);
        if (cell.captionCode != value) {
            cell.captionCode = value;
            queue(cell, index);
        }
    }
    void clearCaption(int index) { setCaptionCode(index, kNoCaption); }
    void setForeColour(int index, Colour colour)
    {
        Cell& cell = checked(index);
        if (cell.foreColour != colour) {
            cell.foreColour = colour;
            queue(cell, index);
        }
    }
    void setVisible(int index, bool visible);

    // The cells changed since the last clearChanges, each once, in the order
    // of their first change. geometryChanged tells that some cell moved or
    // was resized, which needs a repaint of the whole window.
    const std::vector<int>& changes() const { return changed_; }
    bool geometryChanged() const { return geometryChanged_; }
    void clearChanges();

    // Called when the first change after clearChanges is queued, so that
    // a surface can schedule one repaint for a whole batch of changes.
    void setChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }

private:
    Cell& checked(int index)
    {
        if (index < 0 || index >= count())
            throw RuntimeError::subscriptOutOfRange();
        return cells_[static_cast<std::size_t>(index)];
    }
    void queue(Cell& cell, int index)
    {
        if (cell.queued)
            return;
        cell.queued = true;
        changed_.push_back(index);
        if (changed_.size() == 1 && listener_)
            listener_();
    }
    void setGeometry(int index, float Cell::*field, float value);

    std::vector<Cell> cells_;
    std::vector<int> changed_;
    CellFont font_;
    bool geometryChanged_ = false;
    std::function<void()> listener_;
};

} // namespace korval
