#pragma once

#include <QProcess>

namespace korval::e2e {

// Ends a helper process of a test (an X server, a tool): asks it to end,
// then kills it if it has not ended within three seconds.
inline void endProcess(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace korval::e2e
