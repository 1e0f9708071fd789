#include "IniSettingsStore.h"

#include "IniFile.h"

#include <QStandardPaths>

namespace korval {
namespace {

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace

IniSettingsStore::IniSettingsStore() : IniSettingsStore(defaultRootFolder()) {}

IniSettingsStore::IniSettingsStore(QString rootFolder) : rootFolder_(std::move(rootFolder)) {}

QString IniSettingsStore::defaultRootFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString IniSettingsStore::filePath(std::string_view application) const
{
    const QString name = text(application);
    return rootFolder_ + QLatin1Char('/') + name + QLatin1Char('/') + name + QStringLiteral(".ini");
}

std::optional<std::string> IniSettingsStore::read(std::string_view application, std::string_view section,
                                                  std::string_view key) const
{
    if (const std::optional<QString> value = IniFile(filePath(application)).read(text(section), text(key)))
        return value->toStdString();
    return std::nullopt;
}

void IniSettingsStore::write(std::string_view application, std::string_view section, const SettingEntries& entries)
{
    IniFile(filePath(application)).write(text(section), entries);
}

} // namespace korval
