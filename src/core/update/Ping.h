#pragma once

#include "update/Echo.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <optional>

namespace swr {

inline constexpr int Ping_Size = 1024;        // data bytes of each request
inline constexpr int Ping_Timeout_Ms = 400;   // reply time-out of each request
inline constexpr int Ping_Limit_Ms = 5000;    // the whole check
inline constexpr int Ping_Answers_Wanted = 2; // answers that end the check at once
inline constexpr int Ping_Pause_Ms = 10;      // pause between requests, the UI serviced

// The time as the check sees it; tests put a clock of their own that never sleeps.
class PingClock {
public:
    PingClock() { started_.start(); }
    virtual ~PingClock() = default;
    virtual qint64 Now_Ms() { return started_.elapsed(); }
    virtual void Pause_Ms(int ms);

private:
    QElapsedTimer started_;
};

struct PingResult {
    bool ok = false;
    int ping_res = 0; // status of the last request: 0 none yet, 1 answered, 2 not answered
    std::optional<EchoResult> error; // what ended the check when a request could not be sent
    int requests = 0;
};

// A dotted IPv4 address of four decimal numbers 0..255 (leading zeros allowed, blanks
// not), in host byte order; nothing for anything else. Names are not looked up.
std::optional<quint32> Parse_IPv4(const QString& address);

// The reachability check: echo requests to address until two have been answered or more
// than 5 s have passed; after each request a pause of 10 ms in which service is called.
// It succeeds when the last request was answered. An address that is not a dotted IPv4
// address, or a request that cannot be sent, ends it as failed at once.
PingResult Send_Ping(IEcho& echo, const QString& address, const std::function<void()>& service,
                     PingClock& clock);

// The index of the text to show for a failed check.
int Ping_Failure_Text(const PingResult& r);

} // namespace swr
