#pragma once

#include <array>
#include <string>
#include <string_view>

namespace korval {

// The font sizes the dialog offers, in the order its list shows them.
inline constexpr std::array<std::string_view, 6> kFontSizes{"8", "10", "12", "14", "17", "24"};

// What the dialog shows and the user edits: the font size, the two gaps
// between letters as text (UTF-8), and the banner choice (1 show, 0 do not).
struct DialogFields {
    std::string textSize;
    std::string columnGap;
    std::string rowGap;
    int bannerChoice = 1;

    bool operator==(const DialogFields&) const = default;
};

} // namespace korval
