#pragma once

#include <string_view>

namespace korval {

// The face that the cells, the banner and the options dialog ask for. Where
// it is not installed the font system substitutes a sans-serif face.
inline constexpr std::string_view kFaceName{"MS Sans Serif"};

} // namespace korval
