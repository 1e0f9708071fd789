#include "IniFile.h"

#include "IniDamage.h"
#include "IniRendering.h"
#include "IniSplice.h"
#include "ListValueText.h"
#include "ScratchFile.h"

#include "FileAccessError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include <optional>

namespace korval {
namespace {

// Where the values really live: a settings path that is a symbolic link (as
// dotfile managers make them) is written through to the link's target, so
// the link survives a save.
QString resolvedTarget(const QString& path)
{
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : path;
}


// The owner's write bit is honoured even where the file system would let the
// process write anyway (a user running as root): a settings file or folder
// that its owner made read-only is not to be changed.
void requireWritable(const QString& target)
{
    const QFileInfo file(target);
    if (file.exists() && !file.isFile())
        throw fileAccessError(target + QStringLiteral(" is not a regular file"));
    if (file.exists() && !file.permission(QFileDevice::WriteOwner))
        throw fileAccessError(target + QStringLiteral(" is read-only"));

    const QString folder = file.absolutePath();
    if (!QDir().mkpath(folder))
        throw fileAccessError(QStringLiteral("cannot create the folder ") + folder);
    const QFileInfo folderInfo(folder);
    if (!folderInfo.isWritable() || !folderInfo.permission(QFileDevice::WriteOwner))
        throw fileAccessError(QStringLiteral("the folder ") + folder + QStringLiteral(" is read-only"));
}

std::optional<QByteArray> contentsOf(const QString& path)
{
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !info.isReadable() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// Whether the file's bytes may go to the INI parser, and parse without error.
bool parsable(const QString& path, const QByteArray& bytes)
{
    return !holdsBinaryValue(bytes) && QSettings(path, QSettings::IniFormat).status() == QSettings::NoError;
}

// Whether a save may build on what the file holds: it parses, and holds only
// text a settings writer would write.
bool sound(const QString& path, const QByteArray& bytes)
{
    return parsable(path, bytes) && plainText(bytes);
}

// Before a save replaces a file whose lines it cannot keep, the file's bytes
// are kept beside it under a name not yet taken (<file><suffix>, then
// <file><suffix>-2, ...). If they cannot be kept, the save is refused.
void keepCopy(const QString& target, const QString& suffix)
{
    QString copy = target + suffix;
    for (int number = 2; QFileInfo::exists(copy) || QFileInfo(copy).isSymLink(); ++number)
        copy = target + suffix + QLatin1Char('-') + QString::number(number);
    if (!QFile::copy(target, copy))
        throw fileAccessError(QStringLiteral("cannot keep a copy of ") + target + QStringLiteral(" as ") + copy);
}

// The file's own text with the section's lines put in (see IniSplice.h), if
// it reads back as it should; otherwise nothing.
std::optional<QByteArray> splicedIfSound(const QString& target, const QByteArray& bytes, const QString& folder,
                                         const QByteArray& lines, const QString& section,
                                         const SettingEntries& entries)
{
    const QByteArray spliced = splicedSection(bytes, lines);
    if (holdsBinaryValue(spliced))
        return std::nullopt;
    const ScratchFile check(folder);
    check.write(spliced);
    if (!readsBackAsSaved(target, check.path(), section, entries))
        return std::nullopt;
    return spliced;
}

// What the file is to hold after the save. The lines of the keys written are
// put into the file's own text. A damaged file contributes nothing, and one
// whose text the lines cannot go into is written whole by QSettings; either
// is first kept beside the file.
QByteArray nextContents(const QString& target, const QString& section, const SettingEntries& entries)
{
    const QString folder = QFileInfo(target).absolutePath();
    const QByteArray lines = renderedSection(folder, section, entries);
    const std::optional<QByteArray> bytes = contentsOf(target);
    if (!bytes || !sound(target, *bytes)) {
        if (QFileInfo(target).isFile())
            keepCopy(target, QStringLiteral(".damaged"));
        return lines;
    }
    if (std::optional<QByteArray> spliced = splicedIfSound(target, *bytes, folder, lines, section, entries))
        return *spliced;
    keepCopy(target, QStringLiteral(".kept"));
    return renderedWhole(folder, target, section, entries);
}

// Replaces the file in one rename of a complete, synced copy written beside
// it, which takes the permissions of the file it replaces.
void replaceContents(const QString& target, const QByteArray& bytes)
{
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw fileAccessError(target + QStringLiteral(": ") + file.errorString());
}

} // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

std::optional<QString> IniFile::read(const QString& section, const QString& key) const
{
    const QString target = resolvedTarget(path_);
    const std::optional<QByteArray> bytes = contentsOf(target);
    if (!bytes || !parsable(target, *bytes))
        return std::nullopt;
    const QSettings settings(target, QSettings::IniFormat);
    const QVariant value = settings.value(section + QLatin1Char('/') + key);
    if (!value.isValid())
        return std::nullopt;
    // A value with a comma outside quotes, as written by hand ("13,5"),
    // comes back as a list; give it back as the text the user wrote.
    if (value.metaType().id() == QMetaType::QStringList) {
        const QStringList elements = value.toStringList();
        return listAsWritten(*bytes, section, key, elements).value_or(elements.join(QStringLiteral(", ")));
    }
    return value.toString();
}

void IniFile::write(const QString& section, const SettingEntries& entries) const
{
    const QString target = resolvedTarget(path_);
    requireWritable(target);
    replaceContents(target, nextContents(target, section, entries));
}

} // namespace korval
