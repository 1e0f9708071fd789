#pragma once

#include "core/settings/SettingEntries.h"

#include <QByteArray>
#include <QString>

namespace korval {

// QSettings as the one authority on how values stand in an INI file: what it
// writes for them, and whether it reads a file back as a save meant it to.
// QSettings writes into scratch files in `folder`; a write that fails raises
// the file-access run-time error.

// "[section]" and a line for each value, escaped and quoted as QSettings
// reads them back.
QByteArray renderedSection(const QString& folder, const QString& section, const SettingEntries& entries);

// The file at `current` written whole with the values: every key it holds,
// in QSettings' own layout and without comments.
QByteArray renderedWhole(const QString& folder, const QString& current, const QString& section,
                         const SettingEntries& entries);

// Whether the file at `next` holds the values as written, and every other key
// of the file at `current` as QSettings reads it there.
bool readsBackAsSaved(const QString& current, const QString& next, const QString& section,
                      const SettingEntries& entries);

} // namespace korval
