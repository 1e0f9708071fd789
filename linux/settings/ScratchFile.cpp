#include "ScratchFile.h"

#include "FileAccessError.h"

#include <QFile>

namespace korval {

// QSettings replaces a file by a rename of its own, so the scratch file is
// only named here and always opened afresh by its path.
ScratchFile::ScratchFile(const QString& folder) : file_(folder + QStringLiteral("/.korval-XXXXXX.ini"))
{
    if (!file_.open())
        throw fileAccessError(QStringLiteral("cannot write in ") + folder);
    file_.close();
}

void ScratchFile::write(const QByteArray& bytes) const
{
    QFile file(path());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush())
        throw fileAccessError(QStringLiteral("cannot write ") + path() + QStringLiteral(": ") + file.errorString());
}

QByteArray ScratchFile::contents() const
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        throw fileAccessError(QStringLiteral("cannot read ") + path() + QStringLiteral(": ") + file.errorString());
    return file.readAll();
}

} // namespace korval
