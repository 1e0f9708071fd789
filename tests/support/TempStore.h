#pragma once

#include "core/settings/SettingKeys.h"
#include "settings/IniSettingsStore.h"

#include <QFile>
#include <QTemporaryDir>

namespace korval::testing {

// A settings store of its own under a temporary folder, removed afterwards.
struct TempStore {
    QTemporaryDir folder;
    IniSettingsStore store{folder.path()};

    QString filePath() const { return store.filePath(settings::kApplication); }

    void set(const settings::SettingKey& key, const QString& value)
    {
        store.SaveSetting(settings::kApplication, settings::kSection, key.name, value.toStdString());
    }
    QString get(const settings::SettingKey& key) const
    {
        return QString::fromStdString(store.stored(key));
    }
    QByteArray fileBytes() const
    {
        QFile file(filePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace korval::testing
