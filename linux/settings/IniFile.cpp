#include "IniFile.h"

#include "IniSave.h"

#include "FileAccessError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>
#include <string>
#include <string_view>

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

std::string_view textOf(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
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

// What the file is to hold after the save (see ini::saved); a file that
// exists but cannot be read counts as damaged.
QByteArray nextContents(const QString& target, const QString& section, const SettingEntries& entries)
{
    const ini::Entries& texts = entries;
    const std::optional<QByteArray> bytes = contentsOf(target);
    std::optional<ini::Save> save;
    if (bytes)
        save = ini::saved(textOf(*bytes), section.toStdString(), texts);
    else
        save = ini::saved(std::nullopt, section.toStdString(), texts);
    if (!save)
        throw fileAccessError(target + QStringLiteral(": the new values would not read back as saved"));
    if (QFileInfo(target).isFile() && (!bytes || save->copy == ini::Save::Copy::Damaged))
        keepCopy(target, QStringLiteral(".damaged"));
    else if (save->copy == ini::Save::Copy::Kept)
        keepCopy(target, QStringLiteral(".kept"));
    return QByteArray::fromStdString(save->text);
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
    const std::optional<QByteArray> bytes = contentsOf(resolvedTarget(path_));
    if (!bytes)
        return std::nullopt;
    const std::optional<std::string> text = ini::valueIn(textOf(*bytes), section.toStdString(), key.toStdString());
    if (!text)
        return std::nullopt;
    return QString::fromStdString(*text);
}

void IniFile::write(const QString& section, const SettingEntries& entries) const
{
    const QString target = resolvedTarget(path_);
    requireWritable(target);
    replaceContents(target, nextContents(target, section, entries));
}

} // namespace korval
