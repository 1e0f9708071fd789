#include "IniRendering.h"

#include "ScratchFile.h"

#include "FileAccessError.h"

#include <QSettings>

#include <algorithm>

namespace korval {
namespace {

void storeAndSync(QSettings& settings, const QString& section, const SettingEntries& entries)
{
    for (const auto& [key, value] : entries)
        settings.setValue(section + QLatin1Char('/') + QString::fromStdString(key), QString::fromStdString(value));
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw fileAccessError(QStringLiteral("cannot write ") + settings.fileName());
}

QStringList sorted(QStringList keys)
{
    keys.sort();
    keys.removeDuplicates();
    return keys;
}

} // namespace

QByteArray renderedSection(const QString& folder, const QString& section, const SettingEntries& entries)
{
    const ScratchFile scratch(folder);
    {
        QSettings settings(scratch.path(), QSettings::IniFormat);
        storeAndSync(settings, section, entries);
    }
    return scratch.contents();
}

QByteArray renderedWhole(const QString& folder, const QString& current, const QString& section,
                         const SettingEntries& entries)
{
    const ScratchFile scratch(folder);
    {
        QSettings settings(scratch.path(), QSettings::IniFormat);
        const QSettings held(current, QSettings::IniFormat);
        for (const QString& key : held.allKeys())
            settings.setValue(key, held.value(key));
        storeAndSync(settings, section, entries);
    }
    return scratch.contents();
}

// The values are looked up first, as the program looks them up, before
// every section is parsed.
bool readsBackAsSaved(const QString& current, const QString& next, const QString& section,
                      const SettingEntries& entries)
{
    const QSettings after(next, QSettings::IniFormat);
    QStringList written;
    for (const auto& [key, value] : entries) {
        written.append(section + QLatin1Char('/') + QString::fromStdString(key));
        const QVariant stored = after.value(written.back());
        if (stored.metaType().id() != QMetaType::QString || stored.toString() != QString::fromStdString(value))
            return false;
    }
    const QSettings before(current, QSettings::IniFormat);
    const QStringList keys = before.allKeys();
    if (sorted(after.allKeys()) != sorted(keys + written) || after.status() != before.status())
        return false;
    return std::all_of(keys.begin(), keys.end(), [&](const QString& key) {
        return written.contains(key) || before.value(key) == after.value(key);
    });
}

} // namespace korval
