#pragma once

#include "core/settings/SettingsStore.h"

#include <QString>

namespace korval {

// The per-user store on Linux: each application has its own INI file,
// <root>/<application>/<application>.ini, where root is the user's
// configuration folder (~/.config), and each section of the store is a
// section of that file.
class IniSettingsStore final : public SettingsStore {
public:
    // The user's own store.
    IniSettingsStore();
    // A store under another root folder (tests, a temporary home).
    explicit IniSettingsStore(QString rootFolder);

    static QString defaultRootFolder();
    QString filePath(std::string_view application) const;

protected:
    std::optional<std::string> read(std::string_view application, std::string_view section,
                                    std::string_view key) const override;
    void write(std::string_view application, std::string_view section, const SettingEntries& entries) override;

private:
    QString rootFolder_;
};

} // namespace korval
