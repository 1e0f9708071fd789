#pragma once

#include "core/settings/SettingsStore.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korval::windows {

// The settings in the registry, where the per-user store that these settings
// have always lived in keeps them, so that values a user already has are
// read:
//   HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>
// one REG_SZ value (UTF-16) per key.
//
// Reading is lenient, since anything may have written there: REG_SZ,
// REG_EXPAND_SZ (not expanded) and REG_MULTI_SZ read as their text up to the
// first terminator, with or without one; REG_DWORD, REG_DWORD_BIG_ENDIAN and
// REG_QWORD as their unsigned value in decimal; REG_BINARY and every other
// type, a number of the wrong size, and a value larger than kLongestValue
// bytes read as missing.
class RegistrySettingsStore final : public SettingsStore {
public:
    // The largest value read, in bytes: far beyond any setting, small enough
    // that a damaged value costs nothing.
    static constexpr std::size_t kLongestValue = 1 << 20;

    // root: HKEY_CURRENT_USER for the program; a test may hand in another
    // open key (an HKEY).
    explicit RegistrySettingsStore(void* root = nullptr);

    // The registry path of a section, below the root.
    static std::wstring sectionPath(std::string_view application, std::string_view section);

    // A value's type and bytes as read back to text (see above).
    static std::optional<std::string> valueText(unsigned long type, const std::vector<std::uint8_t>& data);

protected:
    std::optional<std::string> read(std::string_view application, std::string_view section,
                                    std::string_view key) const override;
    // All values or none: a value that cannot be set puts back what the
    // values written before it held, removes the keys made for them, and
    // raises the file-access error.
    void write(std::string_view application, std::string_view section, const SettingEntries& entries) override;

private:
    void* root_;
};

} // namespace korval::windows
