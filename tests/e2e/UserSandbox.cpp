#include "UserSandbox.h"

#include "core/settings/SettingKeys.h"

#include <QDir>
#include <QFile>

namespace korval::e2e {

UserSandbox::UserSandbox()
{
    if (!root_.isValid())
        return;
    const QString runtime = runtimeFolder();
    valid_ = QDir().mkpath(configFolder()) && QDir().mkpath(runtime)
             && QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    settings_ = std::make_unique<SettingsStore>(configFolder());
}

QString UserSandbox::settingsFile() const
{
    return settings_->filePath(QString(settings::kApplication));
}

QProcessEnvironment UserSandbox::environment(const QString& display) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    environment.insert(QStringLiteral("HOME"), root_.path() + QStringLiteral("/home"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("XAUTHORITY"));
    return environment;
}

bool UserSandbox::lockLeft() const
{
    return QFile::exists(runtimeFolder() + QStringLiteral("/korval.lock"));
}

void UserSandbox::store(const settings::SettingKey& key, const QString& value)
{
    settings_->SaveSetting(settings::kApplication, settings::kSection, key.name, value);
}

QString UserSandbox::stored(const settings::SettingKey& key) const
{
    return settings_->stored(key);
}

} // namespace korval::e2e
