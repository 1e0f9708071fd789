#pragma once

#include <QSize>

#include <functional>

namespace korval {

// The natural size of the measuring letter "M" at a font size in points: the
// rule that turns stored cell sizes into the gaps the user edits and back.
// Loading and saving must use the same rule, so both take it as a parameter.
using LetterMeasure = std::function<QSize(double pointSize)>;

// The dialog's rule: the letter "M" in the regular weight of the face that the
// saver draws its cells in, at the given size and the screen's resolution.
// The width is the letter's advance and the height one line of the font
// (ascent plus descent), each rounded up to a whole pixel so that the letter
// always fits a cell of that size with gaps of 0.
QSize naturalLetterSize(double pointSize);

} // namespace korval
