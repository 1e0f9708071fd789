#pragma once

#include <QByteArray>
#include <QFile>

namespace korval::bench {

// A figure of this process's memory from /proc/self/status, in KiB, or -1
// where /proc does not give it.
inline long statusKiB(const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').front().toLong();
    }
    return -1;
}

// The memory this process holds resident now, and the most it has held.
inline long residentKiB() { return statusKiB("VmRSS"); }
inline long peakResidentKiB() { return statusKiB("VmHWM"); }

} // namespace korval::bench
