#pragma once

#include <QByteArray>
#include <QFile>

namespace korval::bench {

// The most memory this process has held resident so far (VmHWM), in KiB,
// or -1 where /proc does not say.
inline long peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return -1;
}

} // namespace korval::bench
