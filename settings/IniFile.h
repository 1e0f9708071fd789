#pragma once

#include "SettingEntries.h"

#include <QString>

#include <optional>

namespace korval {

// One per-user INI file of text values under sections and keys, read and
// written through QSettings.
//
// Reading never fails: a missing, unreadable or damaged file reads as
// missing keys. Writing is all or nothing: the new contents go to a
// temporary file beside the target, are checked, and replace the target in
// one rename, so the file holds either everything it held before or all the
// new values, never a mix and never a half-written file. A write that cannot
// be done raises the file-access run-time error and leaves the file as it was.
// A save over a file that exists but cannot be parsed first keeps its bytes
// beside it as <file>.damaged, so that nothing written by hand is lost.
class IniFile {
public:
    explicit IniFile(QString path);

    std::optional<QString> read(const QString& section, const QString& key) const;
    void write(const QString& section, const SettingEntries& entries) const;

private:
    QString path_;
};

} // namespace korval
