#pragma once

#include <functional>

namespace korval {

// The natural size of the measuring letter "M" in whole pixels.
struct LetterSize {
    int width = 0;
    int height = 0;

    bool operator==(const LetterSize&) const = default;
};

// The natural size of the measuring letter "M" at a font size in points: the
// rule that turns stored cell sizes into the gaps the user edits and back.
// Loading and saving must use the same rule, so both take it as a parameter;
// the front end measures with its fonts: the letter's advance and one line
// of the font, each rounded up to a whole pixel.
using LetterMeasure = std::function<LetterSize(double pointSize)>;

} // namespace korval
