#pragma once

#include <QLatin1StringView>
#include <QString>

#include <array>

namespace korval {

// The font sizes the dialog offers, in the order its list shows them.
inline constexpr std::array<QLatin1StringView, 6> kFontSizes{
    QLatin1StringView("8"),  QLatin1StringView("10"), QLatin1StringView("12"),
    QLatin1StringView("14"), QLatin1StringView("17"), QLatin1StringView("24"),
};

// What the dialog shows and the user edits: the font size, the two gaps
// between letters as text, and the banner choice (1 show, 0 do not).
struct DialogFields {
    QString textSize;
    QString columnGap;
    QString rowGap;
    int bannerChoice = 1;

    bool operator==(const DialogFields&) const = default;
};

} // namespace korval
