#pragma once

#include <QLatin1StringView>

#include <array>

// The four per-user settings, declared once: everything else reads this table.
namespace korval::settings {

inline constexpr QLatin1StringView kApplication{"KORVAL"};
inline constexpr QLatin1StringView kSection{"OPTION"};

struct SettingKey {
    QLatin1StringView name;
    int saverDefault; // what the saver uses when the key is not stored
};

inline constexpr SettingKey kTextSize{QLatin1StringView("TEXTSIZE"), 10}; // font size of the cells, points
inline constexpr SettingKey kWidth{QLatin1StringView("WIDTH"), 13};       // cell width, pixels
inline constexpr SettingKey kHeight{QLatin1StringView("HEIGHT"), 18};     // cell height, pixels
inline constexpr SettingKey kSystem{QLatin1StringView("SYSTEM"), 1};      // 1: show the banner before ending

inline constexpr std::array<SettingKey, 4> kAllKeys{kTextSize, kWidth, kHeight, kSystem};

} // namespace korval::settings
