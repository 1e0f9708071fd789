#pragma once

#include "CodePageGlyphs.h"

#include "windows/platform/MonitorScale.h"
#include "windows/platform/Win32.h"

#include "core/saver/CellArray.h"
#include "core/saver/Controls.h"

#include <map>
#include <vector>

namespace korval::windows {

// Draws cells and the banner's controls with GDI into a window's device
// context, at the scale of the window's monitor. A cell is one ExtTextOutW
// that fills its box and draws its glyph in one call; the cells of a batch
// are drawn grouped by colour and font, so that each is selected once. Fonts
// are made once per size and scale and kept; every paint leaves the device
// context with the font it had. A font or brush that the system cannot make
// is a run-time error (RuntimeError), raised from the paint.
class CellPainter {
public:
    explicit CellPainter(CellFont font);
    ~CellPainter();
    CellPainter(const CellPainter&) = delete;
    CellPainter& operator=(const CellPainter&) = delete;

    // The fonts made for another scale are dropped.
    void setScale(MonitorScale scale);
    const MonitorScale& scale() const { return scale_; }

    // Draws these cells as they now are.
    void paintCells(HDC dc, const CellArray& cells, const std::vector<int>& indices);
    // Black over the whole client area, then every cell that shows something.
    void paintAll(HDC dc, const CellArray& cells, SIZE clientSize);
    // Black over the area (logical pixels), then the cells that meet it.
    void paintArea(HDC dc, const CellArray& cells, const RectF& area);
    // The visible controls, in order, the last in front.
    void paintControls(HDC dc, const std::vector<WindowlessControl*>& controls);

private:
    struct Batch {
        Colour foreColour;
        Colour backColour;
        float fontSize;
        std::vector<int> cells;
    };

    class FontSelection;

    HFONT fontOf(float points, int weight, const std::string& family, int charset);
    Batch& batchFor(const Cell& cell);
    void drawBatch(FontSelection& fonts, HDC dc, const CellArray& cells, const Batch& batch);
    void fillBlack(HDC dc, const PixelRect& rect);

    CellFont font_;
    CodePageGlyphs glyphs_;
    MonitorScale scale_;
    std::map<std::pair<float, int>, HFONT> fonts_; // by size and weight, for the scale
    std::vector<Batch> batches_; // kept from batch to batch: no allocation per tick
};

} // namespace korval::windows
