#pragma once

#include "update/Echo.h"
#include "update/Ping.h"

#include <functional>
#include <vector>

namespace swr::test {

// A clock that never sleeps: pauses and the fake echo's waits only move it on.
class FakeClock : public PingClock {
public:
    qint64 Now_Ms() override { return now; }
    void Pause_Ms(int ms) override { now += ms; }
    qint64 now = 0;
};

// Echo requests answered from a script; past its end the last entry repeats. Every call
// is recorded. With a clock, a request that is not answered takes its whole time-out
// and an answered one takes answerMs.
class FakeEcho : public IEcho {
public:
    explicit FakeEcho(std::vector<EchoResult> script = {EchoResult::Answered}, FakeClock* clock = nullptr)
        : script(std::move(script)), clock(clock)
    {
    }
    EchoResult Send_Echo(quint32 ipv4, int size, int timeoutMs) override
    {
        calls.push_back({ipv4, size, timeoutMs});
        const EchoResult r = script.at(std::min(calls.size(), script.size()) - 1);
        if (clock)
            clock->now += r == EchoResult::Answered ? answerMs : timeoutMs;
        if (onSend)
            onSend();
        return r;
    }
    struct Call {
        quint32 ipv4;
        int size;
        int timeoutMs;
    };
    std::vector<EchoResult> script;
    FakeClock* clock;
    int answerMs = 1;
    std::vector<Call> calls;
    std::function<void()> onSend;
};

} // namespace swr::test
