#include "CellPainter.h"

#include "windows/platform/WideText.h"

#include <cmath>

namespace korval::windows {
namespace {

COLORREF gdiColour(Colour colour)
{
    return RGB(redOf(colour), greenOf(colour), blueOf(colour));
}

RECT gdiRect(const PixelRect& rect)
{
    return {rect.x, rect.y, rect.x + rect.width, rect.y + rect.height};
}

} // namespace

CellPainter::CellPainter(CellFont font) : font_(std::move(font)) {}

CellPainter::~CellPainter()
{
    for (const auto& [key, font] : fonts_)
        DeleteObject(font);
}

void CellPainter::setScale(MonitorScale scale)
{
    if (scale.factor == scale_.factor)
        return;
    scale_ = scale;
    for (const auto& [key, font] : fonts_)
        DeleteObject(font);
    fonts_.clear();
}

// The size in points at 96 logical pixels per inch, times the scale: the
// height of the font's characters in physical pixels.
HFONT CellPainter::fontOf(float points, int weight, const std::string& family, int charset)
{
    const auto key = std::make_pair(points, weight);
    if (const auto found = fonts_.find(key); found != fonts_.end())
        return found->second;
    const int height = -static_cast<int>(std::lround(points * 96.0 / 72.0 * scale_.factor));
    HFONT font = CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, static_cast<DWORD>(charset),
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                             toWide(family).c_str());
    fonts_.emplace(key, font);
    return font;
}

CellPainter::Batch& CellPainter::batchFor(const Cell& cell)
{
    // A hidden cell shows the form's black, drawn as an empty black cell.
    const Colour back = cell.visible ? cell.backColour : BLACK;
    for (Batch& batch : batches_) {
        if (batch.foreColour == cell.foreColour && batch.backColour == back && batch.fontSize == cell.fontSize)
            return batch;
    }
    for (Batch& batch : batches_) {
        if (batch.cells.empty()) {
            batch.foreColour = cell.foreColour;
            batch.backColour = back;
            batch.fontSize = cell.fontSize;
            return batch;
        }
    }
    return batches_.emplace_back(Batch{cell.foreColour, back, cell.fontSize, {}});
}

void CellPainter::paintCells(HDC dc, const CellArray& cells, const std::vector<int>& indices)
{
    for (int index : indices)
        batchFor(cells[index]).cells.push_back(index);
    for (Batch& batch : batches_) {
        if (!batch.cells.empty())
            drawBatch(dc, cells, batch);
        batch.cells.clear();
    }
}

// ETO_OPAQUE fills the cell's box in the back colour and ETO_CLIPPED keeps a
// wide glyph inside it; an empty caption is the fill alone.
void CellPainter::drawBatch(HDC dc, const CellArray& cells, const Batch& batch)
{
    SelectObject(dc, fontOf(batch.fontSize, font_.weight, font_.family, font_.charset));
    SetTextColor(dc, gdiColour(batch.foreColour));
    SetBkColor(dc, gdiColour(batch.backColour));
    for (int index : batch.cells) {
        const Cell& cell = cells[index];
        const PixelRect pixels = scale_.physical(cell.left, cell.top, double(cell.left) + cell.width,
                                                 double(cell.top) + cell.height);
        if (pixels.isEmpty())
            continue;
        const RECT box = gdiRect(pixels);
        const wchar_t glyph = cell.visible ? glyphs_[cell.captionCode] : 0;
        ExtTextOutW(dc, box.left, box.top, ETO_OPAQUE | ETO_CLIPPED, &box, &glyph, glyph ? 1 : 0, nullptr);
    }
}

void CellPainter::fillBlack(HDC dc, const PixelRect& rect)
{
    const RECT box = gdiRect(rect);
    SetBkColor(dc, gdiColour(BLACK));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
}

void CellPainter::paintAll(HDC dc, const CellArray& cells, SIZE clientSize)
{
    fillBlack(dc, {0, 0, clientSize.cx, clientSize.cy});
    std::vector<int> shown;
    shown.reserve(static_cast<std::size_t>(cells.count()));
    for (int index = 0; index < cells.count(); ++index) {
        if (cells[index].showsSomething())
            shown.push_back(index);
    }
    paintCells(dc, cells, shown);
}

void CellPainter::paintArea(HDC dc, const CellArray& cells, const RectF& area)
{
    const PixelRect pixels = scale_.physical(area);
    fillBlack(dc, pixels);
    std::vector<int> met;
    for (int index = 0; index < cells.count(); ++index) {
        const Cell& cell = cells[index];
        if (cell.showsSomething() && cellMeets(cell, area))
            met.push_back(index);
    }
    paintCells(dc, cells, met);
}

// The shape: its box in its back colour inside a border in its border
// colour, as thick as one logical pixel. The label: its caption at its
// top-left corner on an opaque box of its back colour, clipped to the box.
void CellPainter::paintControls(HDC dc, const std::vector<WindowlessControl*>& controls)
{
    for (const WindowlessControl* control : controls) {
        if (!control->isVisible())
            continue;
        const RECT box = gdiRect(scale_.physical(control->rect()));
        if (const auto* shape = dynamic_cast<const ShapeControl*>(control)) {
            const int border = std::max(1, static_cast<int>(std::lround(scale_.factor)));
            HBRUSH frame = CreateSolidBrush(gdiColour(shape->borderColour));
            HBRUSH inside = CreateSolidBrush(gdiColour(shape->backColour));
            FillRect(dc, &box, frame);
            const RECT inner{box.left + border, box.top + border, box.right - border, box.bottom - border};
            if (inner.right > inner.left && inner.bottom > inner.top)
                FillRect(dc, &inner, inside);
            DeleteObject(frame);
            DeleteObject(inside);
        } else if (const auto* label = dynamic_cast<const LabelControl*>(control)) {
            SelectObject(dc, fontOf(label->fontSize, label->fontWeight, label->fontFamily, font_.charset));
            SetTextColor(dc, gdiColour(label->foreColour));
            SetBkColor(dc, gdiColour(label->backColour));
            const std::wstring caption = toWide(label->caption);
            ExtTextOutW(dc, box.left, box.top, ETO_OPAQUE | ETO_CLIPPED, &box, caption.c_str(),
                        static_cast<UINT>(caption.size()), nullptr);
        }
    }
}

} // namespace korval::windows
