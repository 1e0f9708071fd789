#pragma once

#include "core/settings/SettingKeys.h"
#include "settings/IniSettingsStore.h"

#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace korval::e2e {

// A user of its own for one test: a temporary home with its configuration
// folder (where the program keeps its settings) and a private runtime
// folder (where it keeps its one-instance lock), removed afterwards.
class UserSandbox {
public:
    UserSandbox();

    bool isValid() const { return valid_; }
    QString configFolder() const { return root_.path() + QStringLiteral("/home/.config"); }
    QString runtimeFolder() const { return root_.path() + QStringLiteral("/run"); }
    // Whether an instance lock is left in the runtime folder.
    bool lockLeft() const;
    QString settingsFile() const;

    // The program's environment on the given X display.
    QProcessEnvironment environment(const QString& display) const;

    // Stores a setting the way the options dialog does.
    void store(const settings::SettingKey& key, const QString& value);
    QString stored(const settings::SettingKey& key) const;

private:
    QTemporaryDir root_;
    std::unique_ptr<SettingsStore> settings_;
    bool valid_ = false;
};

} // namespace korval::e2e
