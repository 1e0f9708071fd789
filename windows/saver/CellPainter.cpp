#include "CellPainter.h"

#include "windows/platform/WideText.h"

#include "core/runtime/RuntimeError.h"

#include <cmath>
#include <memory>
#include <type_traits>

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

[[noreturn]] void cannotMake()
{
    throw RuntimeError(RuntimeError::OutOfMemory, "Out of memory");
}

// A solid brush for one fill, deleted however the painting ends.
using SolidBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, decltype(&DeleteObject)>;

SolidBrush solidBrush(Colour colour)
{
    SolidBrush brush(CreateSolidBrush(gdiColour(colour)), &DeleteObject);
    if (!brush)
        cannotMake();
    return brush;
}

} // namespace

// Whoever lent the device context gets it back with the font it had: the
// painter's fonts are its own and may be deleted while the context lives on.
class CellPainter::FontSelection {
public:
    explicit FontSelection(HDC dc) : dc_(dc) {}
    ~FontSelection()
    {
        if (original_)
            SelectObject(dc_, original_);
    }
    FontSelection(const FontSelection&) = delete;
    FontSelection& operator=(const FontSelection&) = delete;

    void select(HFONT font)
    {
        HGDIOBJ previous = SelectObject(dc_, font);
        if (!original_)
            original_ = previous;
    }

private:
    HDC dc_;
    HGDIOBJ original_ = nullptr;
};

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
// height of the font's characters in physical pixels. A font the system
// cannot make is an error, and is not kept: nothing is drawn in a font that
// does not exist.
HFONT CellPainter::fontOf(float points, int weight, const std::string& family, int charset)
{
    const auto key = std::make_pair(points, weight);
    if (const auto found = fonts_.find(key); found != fonts_.end())
        return found->second;
    const int height = -static_cast<int>(std::lround(points * 96.0 / 72.0 * scale_.factor));
    HFONT font = CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, static_cast<DWORD>(charset),
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                             toWide(family).c_str());
    if (!font)
        cannotMake();
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
    // Emptied first: a paint that failed half-way leaves nothing behind.
    for (Batch& batch : batches_)
        batch.cells.clear();
    for (int index : indices)
        batchFor(cells[index]).cells.push_back(index);
    FontSelection fonts(dc);
    for (const Batch& batch : batches_) {
        if (!batch.cells.empty())
            drawBatch(fonts, dc, cells, batch);
    }
}

// ETO_OPAQUE fills the cell's box in the back colour and ETO_CLIPPED keeps a
// wide glyph inside it; an empty caption is the fill alone.
void CellPainter::drawBatch(FontSelection& fonts, HDC dc, const CellArray& cells, const Batch& batch)
{
    fonts.select(fontOf(batch.fontSize, font_.weight, font_.family, font_.charset));
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
    FontSelection fonts(dc);
    for (const WindowlessControl* control : controls) {
        if (!control->isVisible())
            continue;
        const RECT box = gdiRect(scale_.physical(control->rect()));
        if (const auto* shape = dynamic_cast<const ShapeControl*>(control)) {
            const int border = std::max(1, static_cast<int>(std::lround(scale_.factor)));
            FillRect(dc, &box, solidBrush(shape->borderColour).get());
            const RECT inner{box.left + border, box.top + border, box.right - border, box.bottom - border};
            if (inner.right > inner.left && inner.bottom > inner.top)
                FillRect(dc, &inner, solidBrush(shape->backColour).get());
        } else if (const auto* label = dynamic_cast<const LabelControl*>(control)) {
            fonts.select(fontOf(label->fontSize, label->fontWeight, label->fontFamily, font_.charset));
            SetTextColor(dc, gdiColour(label->foreColour));
            SetBkColor(dc, gdiColour(label->backColour));
            const std::wstring caption = toWide(label->caption);
            ExtTextOutW(dc, box.left, box.top, ETO_OPAQUE | ETO_CLIPPED, &box, caption.c_str(),
                        static_cast<UINT>(caption.size()), nullptr);
        }
    }
}

} // namespace korval::windows
