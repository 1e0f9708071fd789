#include "SettingsStore.h"

#include "IniFile.h"

#include <QStandardPaths>

namespace korval {

SettingsStore::SettingsStore() : SettingsStore(defaultRootFolder()) {}

SettingsStore::SettingsStore(QString rootFolder) : rootFolder_(std::move(rootFolder)) {}

QString SettingsStore::defaultRootFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString SettingsStore::filePath(const QString& application) const
{
    return rootFolder_ + QLatin1Char('/') + application + QLatin1Char('/') + application + QStringLiteral(".ini");
}

QString SettingsStore::GetSetting(const QString& application, const QString& section, const QString& key,
                                  std::optional<int> defaultValue) const
{
    if (auto stored = IniFile(filePath(application)).read(section, key))
        return *stored;
    return defaultValue ? QString::number(*defaultValue) : QString();
}

QString SettingsStore::stored(const settings::SettingKey& key) const
{
    return GetSetting(settings::kApplication, settings::kSection, key.name);
}

QString SettingsStore::storedOrSaverDefault(const settings::SettingKey& key) const
{
    for (const auto& [name, value] : runOnly_) {
        if (name == key.name)
            return value;
    }
    return GetSetting(settings::kApplication, settings::kSection, key.name, key.saverDefault);
}

void SettingsStore::SaveSetting(const QString& application, const QString& section, const QString& key,
                                const QString& value)
{
    SaveSettings(application, section, {{key, value}});
}

void SettingsStore::SaveSettings(const QString& application, const QString& section,
                                 const SettingEntries& entries)
{
    IniFile(filePath(application)).write(section, entries);
}

} // namespace korval
