#pragma once

#include "core/settings/SettingEntries.h"

#include <QString>

#include <optional>

namespace korval {

// One per-user INI file of text values under sections and keys, read and
// written through QSettings.
//
// Reading never fails: a missing, unreadable or damaged file reads as
// missing keys. A value with a comma outside quotes, written by hand, reads
// as the text that stands in the file.
//
// Writing changes only the lines of the keys written, in the lines QSettings
// writes for them; every other byte of the file stays as it was, comments
// included. It is all or nothing: the new contents are checked to read back
// as meant and replace the target in one rename, with the target's
// permissions, so the file holds either everything it held before or all the
// new values, never a mix and never a half-written file. A write that cannot
// be done raises the file-access run-time error and leaves the file as it was.
// A save over a file that exists but is damaged (cannot be parsed, or holds
// what no settings writer writes) first keeps its bytes beside it as
// <file>.damaged; one over a file the lines cannot be put into, which
// QSettings then writes whole, keeps it as <file>.kept. Nothing written by
// hand is lost.
class IniFile {
public:
    explicit IniFile(QString path);

    std::optional<QString> read(const QString& section, const QString& key) const;
    void write(const QString& section, const SettingEntries& entries) const;

private:
    QString path_;
};

} // namespace korval
