#pragma once

#include <QLatin1StringView>

namespace korval {

// The face that the cells, the banner and the options dialog ask for. Where
// it is not installed the font system substitutes a sans-serif face: every
// font of the program is made with the sans-serif style hint.
inline constexpr QLatin1StringView kFaceName{"MS Sans Serif"};

} // namespace korval
