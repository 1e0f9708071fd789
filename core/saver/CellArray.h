#pragma once

#include "Cell.h"
#include "core/runtime/RuntimeError.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace korval {

// A control array of cells. Element 0 is the template; every element loaded
// later starts as a copy of it, invisible. Changing a cell's caption, colour
// or visibility queues it for repainting once; setting a property to the
// value it already has changes nothing and queues nothing.
//
// The cells form a regular grid, so that a screen of tiny cells stays cheap:
// all share the template's size, font size and background, and stand in
// columns (arrange), each a cell's width right of the one before, each cell
// a cell's height below the one above. A cell itself keeps only its caption,
// colour and visibility, in four bytes; finding the cell under a point is
// arithmetic.
class CellArray {
public:
    // The most cells an array holds: 8 bytes each with their place in the
    // repaint queue, 64 MiB in all. A 3840 x 2160 screen of cells of one
    // pixel fits. Loading more raises "Out of memory", as an allocation that
    // failed would, instead of taking the machine's memory.
    static constexpr int kMostCells = 1 << 23;

    CellArray(const Cell& templateCell, CellFont font);

    int count() const { return static_cast<int>(cells_.size()); }
    // The cell as the painter sees it.
    Cell operator[](int index) const;
    const CellFont& font() const { return font_; }

    // Loads element `index`, which must be the next one (count()).
    void load(int index);
    // Makes room for `count` cells at once; "Out of memory" above kMostCells.
    void reserve(int count);
    // Takes the cells of another array of the same template (a grid built
    // beside this one) in place of its own; the window is repainted whole.
    // Cannot fail, so that a grid is replaced whole or not at all.
    void adopt(CellArray&& fresh) noexcept;

    // From here on the cells stand in columns of `rows` cells, numbered
    // column by column, each from the top down: `columns` full columns, then
    // one that holds every cell after them. Each position is its neighbour's
    // plus the cell's size, rounded to single precision as a stored
    // coordinate is. Until arranged, the cells stand in one column.
    void arrange(int rows, int columns);

    // Every cell's size in pixels and font size in points.
    void setWidth(float width);
    void setHeight(float height);
    void setFontSize(float points);

    void setCaptionCode(int index, int code)
    {
        CellState& cell = checked(index);
        const auto value = static_cast<std::int16_t>(code);
        if (cell.captionCode != value) {
            cell.captionCode = value;
            queue(cell, index);
        }
    }
    void clearCaption(int index) { setCaptionCode(index, kNoCaption); }
    void setForeColour(int index, Colour colour);
    void setVisible(int index, bool visible);

    // The frontmost visible cell that holds the point (pixels of the form),
    // or -1: later cells lie in front of earlier ones.
    int cellAt(double x, double y) const;

    // The cells changed since the last clearChanges, each once, in the order
    // of their first change. geometryChanged tells that the cells moved or
    // were resized, which needs a repaint of the whole window.
    const std::vector<int>& changes() const { return changed_; }
    bool geometryChanged() const { return geometryChanged_; }
    void clearChanges();

    // Called when the first change after clearChanges is queued, so that
    // a surface can schedule one repaint for a whole batch of changes.
    void setChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }

private:
    // What one cell holds of its own. Its colour is an entry of the array's
    // palette.
    struct CellState {
        std::int16_t captionCode = kNoCaption;
        std::uint8_t colour = 0;
        bool visible : 1 = false;
        bool queued : 1 = false; // waiting in the repaint queue
    };
    static_assert(sizeof(CellState) == 4);
    // A cell's column and row in the arrangement.
    struct Place {
        int column;
        int row;
    };

    CellState& checked(int index)
    {
        if (index < 0 || index >= count())
            throw RuntimeError::subscriptOutOfRange();
        return cells_[static_cast<std::size_t>(index)];
    }
    void queue(CellState& cell, int index)
    {
        if (cell.queued)
            return;
        cell.queued = true;
        changed_.push_back(index);
        if (changed_.size() == 1 && listener_)
            listener_();
    }
    Place placeOf(int index) const;
    int indexAt(Place place) const;
    void extendRowsTo(int rows);
    std::uint8_t paletteEntry(Colour colour);
    void setSize(float& field, float value);

    std::vector<CellState> cells_;
    std::vector<int> changed_;
    std::vector<Colour> palette_;
    std::vector<float> columnLefts_; // columns_ + 1 entries
    std::vector<float> rowTops_;     // every row a loaded cell stands in
    int rows_ = 0;
    int columns_ = 0;
    float width_ = 0;
    float height_ = 0;
    float fontSize_ = 0;
    Colour backColour_ = BLACK;
    CellFont font_;
    bool geometryChanged_ = false;
    std::function<void()> listener_;
};

} // namespace korval
