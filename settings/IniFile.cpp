#include "IniFile.h"

#include "IniDamage.h"
#include "ListValueText.h"

#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>

#include <filesystem>
#include <optional>
#include <system_error>

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
        throw RuntimeError::fileAccess(target + QStringLiteral(" is not a regular file"));
    if (file.exists() && !file.permission(QFileDevice::WriteOwner))
        throw RuntimeError::fileAccess(target + QStringLiteral(" is read-only"));

    const QString folder = file.absolutePath();
    if (!QDir().mkpath(folder))
        throw RuntimeError::fileAccess(QStringLiteral("cannot create the folder ") + folder);
    const QFileInfo folderInfo(folder);
    if (!folderInfo.isWritable() || !folderInfo.permission(QFileDevice::WriteOwner))
        throw RuntimeError::fileAccess(QStringLiteral("the folder ") + folder + QStringLiteral(" is read-only"));
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

// A file that exists but cannot be parsed may still hold what a user wrote
// by hand; before a save replaces it, its bytes are kept beside it under a
// name not yet taken. If they cannot be kept, the save is refused.
void keepDamagedCopy(const QString& target)
{
    QString copy = target + QStringLiteral(".damaged");
    for (int number = 2; QFileInfo::exists(copy) || QFileInfo(copy).isSymLink(); ++number)
        copy = target + QStringLiteral(".damaged-") + QString::number(number);
    if (!QFile::copy(target, copy))
        throw RuntimeError::fileAccess(QStringLiteral("cannot keep a copy of the damaged file ") + target);
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

    // The new contents start from what the file holds now, so that other
    // sections and keys survive; a damaged file contributes nothing.
    QTemporaryFile staging(QFileInfo(target).absolutePath() + QStringLiteral("/.korval-XXXXXX.ini"));
    if (!staging.open())
        throw RuntimeError::fileAccess(QStringLiteral("cannot write in ") + QFileInfo(target).absolutePath());
    staging.close();
    const QString stagingPath = staging.fileName();
    {
        QSettings next(stagingPath, QSettings::IniFormat);
        const std::optional<QByteArray> bytes = contentsOf(target);
        if (bytes && parsable(target, *bytes) && plainText(*bytes)) {
            const QSettings current(target, QSettings::IniFormat);
            for (const QString& key : current.allKeys())
                next.setValue(key, current.value(key));
        } else if (QFileInfo(target).isFile()) {
            keepDamagedCopy(target);
        }
        for (const auto& [key, value] : entries)
            next.setValue(section + QLatin1Char('/') + key, value);
        next.sync();
        if (next.status() != QSettings::NoError)
            throw RuntimeError::fileAccess(QStringLiteral("cannot write ") + stagingPath);
    }

    // QSettings replaced the staging file by its own rename; a file of the
    // staging name must now exist and be complete before it takes the
    // target's place.
    std::error_code error;
    std::filesystem::rename(stagingPath.toStdString(), target.toStdString(), error);
    if (error) {
        QFile::remove(stagingPath);
        throw RuntimeError::fileAccess(target + QStringLiteral(": ") + QString::fromStdString(error.message()));
    }
    staging.setAutoRemove(false);
}

} // namespace korval
