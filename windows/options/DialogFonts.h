#pragma once

#include "windows/platform/Win32.h"

#include "core/options/LetterMeasure.h"

#include <memory>
#include <type_traits>

namespace korval::windows {

// A GDI font that is deleted with its owner. A control keeps using the font
// it was given, so the font must outlive every control it is set on.
using GdiFont = std::unique_ptr<std::remove_pointer_t<HFONT>, decltype(&DeleteObject)>;

// The dialog's faces at a screen resolution. Each asks for "MS Sans Serif"
// in the regular weight; where it is not installed the font mapper
// substitutes a sans-serif face.

// The captions: 12 points, in the East European character set, which holds
// the captions' Czech letters.
GdiFont captionFont(unsigned dpi);

// Every control without a font of its own: 8.25 points.
GdiFont defaultFont(unsigned dpi);

// The default face at another size: what the measuring label measures.
GdiFont measuringFont(double pointSize, unsigned dpi);

// The letter "M" in the font as drawn on the device context: its advance and
// one line of the font (ascent plus descent, tmHeight), in whole pixels.
LetterSize letterSize(HDC dc, HFONT font);

// A text's extent in the font: what a label sized to its caption measures.
SIZE textExtent(HDC dc, HFONT font, const std::wstring& text);

} // namespace korval::windows
