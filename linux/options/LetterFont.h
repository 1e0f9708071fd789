#pragma once

#include "core/options/LetterMeasure.h"

namespace korval {

// The dialog's rule on Linux: the letter "M" in the regular weight of the
// face that the saver draws its cells in, at the given size and the screen's
// resolution. The width is the letter's advance and the height one line of
// the font (ascent plus descent), each rounded up to a whole pixel so that
// the letter always fits a cell of that size with gaps of 0.
LetterSize naturalLetterSize(double pointSize);

} // namespace korval
