#include "DialogFonts.h"

#include "DialogLayout.h"

#include "core/runtime/RuntimeError.h"
#include "core/saver/Typeface.h"
#include "windows/platform/WideText.h"

#include <string>

namespace korval::windows {
namespace {

GdiFont regularFace(double pointSize, unsigned dpi, BYTE characterSet)
{
    const std::wstring face = toWide(kFaceName);
    return GdiFont(CreateFontW(fontHeight(pointSize, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, characterSet,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                               face.c_str()),
                   &DeleteObject);
}

// Selects the font into the device context for as long as it lives.
class SelectedFont {
public:
    SelectedFont(HDC dc, HFONT font) : dc_(dc), previous_(SelectObject(dc, font)) {}
    ~SelectedFont() { SelectObject(dc_, previous_); }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace

GdiFont captionFont(unsigned dpi)
{
    return regularFace(12.0, dpi, EASTEUROPE_CHARSET);
}

GdiFont defaultFont(unsigned dpi)
{
    return regularFace(8.25, dpi, DEFAULT_CHARSET);
}

GdiFont measuringFont(double pointSize, unsigned dpi)
{
    return regularFace(pointSize, dpi, DEFAULT_CHARSET);
}

// GDI measures in whole pixels already, so nothing is left to round up. A
// letter that cannot be measured (no font, no device context) raises an
// error rather than turning gaps into cell sizes of nothing.
LetterSize letterSize(HDC dc, HFONT font)
{
    SIZE advance{};
    TEXTMETRICW metrics{};
    bool measured = false;
    if (dc && font) {
        const SelectedFont selected(dc, font);
        measured = GetTextExtentPoint32W(dc, L"M", 1, &advance) && GetTextMetricsW(dc, &metrics);
    }
    if (!measured || advance.cx <= 0 || metrics.tmHeight <= 0)
        throw RuntimeError(RuntimeError::InternalError, "Internal error: the letter M could not be measured");
    return {static_cast<int>(advance.cx), static_cast<int>(metrics.tmHeight)};
}

SIZE textExtent(HDC dc, HFONT font, const std::wstring& text)
{
    const SelectedFont selected(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}

} // namespace korval::windows
