#include "InstanceLock.h"

#include <QDir>
#include <QStandardPaths>

namespace korval {

InstanceLock::InstanceLock() : InstanceLock(defaultPath()) {}

InstanceLock::InstanceLock(const QString& lockFilePath) : lock_(lockFilePath)
{
    // Age alone never makes the lock stale: a saver runs for hours.
    lock_.setStaleLockTime(0);
}

QString InstanceLock::defaultPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/korval.lock");
}

bool InstanceLock::tryAcquire()
{
    if (lock_.tryLock(0))
        return true;
    // A lock that cannot even be created (no runtime folder) must not keep
    // the saver from ever starting; only a live holder counts.
    return lock_.error() != QLockFile::LockFailedError;
}

void InstanceLock::release()
{
    if (lock_.isLocked())
        lock_.unlock();
}

} // namespace korval
