#include "platform/InstanceLock.h"

#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace korval {
namespace {

TEST(InstanceLock, OnlyOneHolderAtATime)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("korval.lock"));
    InstanceLock first(path);
    ASSERT_TRUE(first.tryAcquire());
    InstanceLock second(path);
    EXPECT_FALSE(second.tryAcquire()) << "a live holder means another instance runs";
}

TEST(InstanceLock, LockOfAProcessThatIsGoneIsTakenOver)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("korval.lock"));
    // A child takes the lock and dies without letting it go, as an instance
    // that was killed does.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile holder(path);
        holder.lock();
        _exit(holder.isLocked() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(path));

    InstanceLock lock(path);
    EXPECT_TRUE(lock.tryAcquire());
}

TEST(InstanceLock, MissingRuntimeFolderDoesNotBlockTheSaver)
{
    InstanceLock lock(QStringLiteral("/nonexistent-folder/for/korval.lock"));
    EXPECT_TRUE(lock.tryAcquire());
}

} // namespace
} // namespace korval
