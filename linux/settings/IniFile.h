#pragma once

#include "core/settings/SettingEntries.h"

#include <QString>

#include <optional>

namespace korval {

// One per-user INI file of text values under sections and keys: the file
// system's side of the store (links, permissions, the copies kept, the
// rename). What the file's text says and what a save makes of it is
// IniText.h and IniSave.h, which never read a value as anything but text.
//
// Reading never fails: a missing, unreadable or unparsable file (a header
// without its "]") reads as missing keys. A value reads as the text that
// stands in the file, a comma outside quotes included.
//
// Writing changes only the lines of the keys written; every other byte of
// the file stays as it was, comments included. It is all or nothing: the new
// contents are checked to read back as meant and replace the target in one
// rename, with the target's permissions, so the file holds either everything
// it held before or all the new values, never a mix and never a half-written
// file. A write that cannot be done raises the file-access run-time error and
// leaves the file as it was. A save over a file that exists but is damaged
// (not UTF-8, NUL bytes, a header without its "]", or unreadable) first keeps
// its bytes beside it as <file>.damaged; one over a file the lines cannot be
// put into, which is then written whole, keeps it as <file>.kept. Nothing
// written by hand is lost.
class IniFile {
public:
    explicit IniFile(QString path);

    std::optional<QString> read(const QString& section, const QString& key) const;
    void write(const QString& section, const SettingEntries& entries) const;

private:
    QString path_;
};

} // namespace korval
