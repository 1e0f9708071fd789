#pragma once

#include <QLockFile>
#include <QString>

namespace korval {

// The per-user lock that tells an instance whether another one runs. Every
// instance tries to take it at start; the one that holds it keeps it until
// the process ends. A lock left behind by an instance that crashed or was
// killed is recognised as stale (its process is gone) and taken over.
class InstanceLock {
public:
    // The lock file in the user's runtime folder.
    InstanceLock();
    explicit InstanceLock(const QString& lockFilePath);

    static QString defaultPath();

    // True when this instance now holds the lock, false when another one does.
    bool tryAcquire();
    // Gives the lock back, if this instance holds it: the lock file goes.
    void release();

private:
    QLockFile lock_;
};

} // namespace korval
