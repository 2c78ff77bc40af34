#pragma once

#include "base/Browser.h"
#include "session/Version.h"

#include <QStringList>

#include <atomic>
#include <functional>

namespace swr::test {

// Records the addresses it is asked to open instead of starting a browser.
class RecordingBrowser : public IBrowser {
public:
    void Open_Url(const QString& url) override { opened.append(url); }
    QStringList opened;
};

// A version check that answers newer as told and counts its calls; during returns what
// the caller's state was while it ran.
// The screens run the check on a thread of their own: calls, newer and during are read
// there.
class FakeVersionCheck : public IVersionCheck {
public:
    bool Check_Version() override
    {
        ++calls;
        if (during)
            during();
        return newer;
    }
    std::atomic<bool> newer = false;
    std::atomic<int> calls = 0;
    std::function<void()> during;
};

} // namespace swr::test
