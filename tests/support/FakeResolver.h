#pragma once

// A name lookup for tests: it answers only for the names it was given, so the system's
// resolver is never asked. With hold it waits until the caller cancels.

#include "broker/BrokerTest.h"

#include <QThread>

#include <atomic>
#include <map>

namespace swr::test {

class FakeResolver : public IResolver {
public:
    std::map<QString, QStringList> names;
    QStringList asked;
    std::atomic<bool> hold{false};
    std::atomic<bool> cancelled{false};
    ResolveResult Resolve(const QString& host, int, const std::atomic<bool>& cancel) override
    {
        asked << host;
        ResolveResult r;
        while (hold && !cancel)
            QThread::msleep(5);
        if (cancel) {
            cancelled = true;
            r.cancelled = true;
            return r;
        }
        const auto it = names.find(host);
        if (it == names.end())
            r.error = QStringLiteral("unknown host");
        else
            r.addresses = it->second;
        return r;
    }
};

} // namespace swr::test
