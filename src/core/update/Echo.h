#pragma once

#include <QtGlobal>

#include <functional>

namespace swr {

enum class EchoResult {
    Answered,      // an echo reply came back
    Timed_Out,     // no reply within the time-out (an unreachable host counts as this)
    Unresolvable,  // the system refuses the address as a destination
    Send_Error,    // the request could not be sent
    Not_Permitted, // this program has no way to send echo requests on this computer
};

// ICMP echo requests. The dialog takes one by reference; tests drive it with a fake.
class IEcho {
public:
    virtual ~IEcho() = default;
    // Sends one echo request with size bytes of data and sequence number 0 to the IPv4
    // address ipv4 (host byte order) and waits for its reply at most timeoutMs.
    virtual EchoResult Send_Echo(quint32 ipv4, int size, int timeoutMs) = 0;
};

// The platform's echo. On Linux a datagram ICMP socket where net.ipv4.ping_group_range
// lets this user have one, else a raw socket (root or CAP_NET_RAW); on Windows the ICMP
// helper API. waiting, when given, is called about every 10 ms while a reply is awaited
// (where the platform lets the wait be cut up), so windows stay responsive.
class SystemEcho final : public IEcho {
public:
    explicit SystemEcho(std::function<void()> waiting = {}) : waiting_(std::move(waiting)) {}
    EchoResult Send_Echo(quint32 ipv4, int size, int timeoutMs) override;

private:
    std::function<void()> waiting_;
};

} // namespace swr
