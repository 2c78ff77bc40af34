#pragma once

// The resident memory of this process, for the benchmarks that watch it.

#include <QFile>
#include <QList>

#include <unistd.h>

namespace swr::bench {

// In KiB; 0 where /proc is not there.
inline long Resident_KiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> f = statm.readAll().split(' ');
    return f.size() > 1 ? f[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

} // namespace swr::bench
