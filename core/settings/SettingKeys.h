#pragma once

#include <array>
#include <string_view>

// The four per-user settings, declared once: everything else reads this table.
namespace korval::settings {

inline constexpr std::string_view kApplication{"KORVAL"};
inline constexpr std::string_view kSection{"OPTION"};

struct SettingKey {
    std::string_view name;
    int saverDefault; // what the saver uses when the key is not stored
};

inline constexpr SettingKey kTextSize{"TEXTSIZE", 10}; // font size of the cells, points
inline constexpr SettingKey kWidth{"WIDTH", 13};       // cell width, pixels
inline constexpr SettingKey kHeight{"HEIGHT", 18};     // cell height, pixels
inline constexpr SettingKey kSystem{"SYSTEM", 1};      // 1: show the banner before ending

inline constexpr std::array<SettingKey, 4> kAllKeys{kTextSize, kWidth, kHeight, kSystem};

} // namespace korval::settings
