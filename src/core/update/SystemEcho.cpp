#include "update/Echo.h"

#include <QElapsedTimer>
#include <QtEndian>

#include <algorithm>
#include <vector>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <ipexport.h>
#include <icmpapi.h>
#else
#include <atomic>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace swr {

namespace {

// The largest data an IPv4 echo request can carry.
constexpr int Max_Echo_Data = 65507;

size_t Echo_Size(int size)
{
    return size_t(std::clamp(size, 0, Max_Echo_Data));
}

void Fill_Echo_Data(unsigned char* p, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        p[i] = static_cast<unsigned char>('a' + i % 23);
}

} // namespace

#ifdef Q_OS_WIN

EchoResult SystemEcho::Send_Echo(quint32 ipv4, int size, int timeoutMs)
{
    // The helper API waits in one piece; waiting_ is not called here.
    HANDLE h = IcmpCreateFile();
    if (h == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_ACCESS_DENIED ? EchoResult::Not_Permitted : EchoResult::Send_Error;
    std::vector<unsigned char> data(Echo_Size(size));
    Fill_Echo_Data(data.data(), data.size());
    std::vector<unsigned char> reply(sizeof(ICMP_ECHO_REPLY) + data.size() + 8 + sizeof(IO_STATUS_BLOCK));
    const DWORD n = IcmpSendEcho(h, qToBigEndian(ipv4), data.data(), WORD(data.size()), nullptr,
                                 reply.data(), DWORD(reply.size()), DWORD(timeoutMs));
    const DWORD err = n == 0 ? GetLastError() : 0;
    IcmpCloseHandle(h);
    if (n > 0) {
        const auto* r = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply.data());
        return r->Status == IP_SUCCESS ? EchoResult::Answered : EchoResult::Timed_Out;
    }
    switch (err) {
    case IP_REQ_TIMED_OUT:
    case IP_DEST_HOST_UNREACHABLE:
    case IP_DEST_NET_UNREACHABLE:
    case IP_DEST_PORT_UNREACHABLE:
        return EchoResult::Timed_Out;
    case IP_BAD_DESTINATION:
        return EchoResult::Unresolvable;
    case ERROR_ACCESS_DENIED:
        return EchoResult::Not_Permitted;
    default:
        return EchoResult::Send_Error;
    }
}

#else

namespace {

constexpr unsigned char Icmp_Echo_Request = 8;
constexpr unsigned char Icmp_Echo_Reply = 0;
constexpr size_t Icmp_Header = 8;

struct Socket {
    int fd = -1;
    bool raw = false;
    ~Socket()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

quint16 Checksum(const unsigned char* p, size_t n)
{
    quint32 sum = 0;
    for (size_t i = 0; i + 1 < n; i += 2)
        sum += quint32(p[i] << 8 | p[i + 1]);
    if (n % 2)
        sum += quint32(p[n - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum);
}

bool Out_Of_Resources(int e)
{
    return e == EMFILE || e == ENFILE || e == ENOBUFS || e == ENOMEM;
}

// A datagram ICMP socket where the system grants one to this user, else a raw socket.
// Neither possible: Not_Permitted, unless the system is only short of resources.
bool Open_Socket(Socket& s, EchoResult* failure)
{
    s.fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (s.fd >= 0)
        return true;
    const int datagramError = errno;
    s.fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (s.fd >= 0) {
        s.raw = true;
        return true;
    }
    *failure = Out_Of_Resources(datagramError) || Out_Of_Resources(errno) ? EchoResult::Send_Error
                                                                          : EchoResult::Not_Permitted;
    return false;
}

// Each raw request has an identifier of its own, so a late reply to an earlier request is
// not taken for this one; a datagram socket gets its identifier from the system, and only
// the replies to its own requests.
quint16 Next_Identifier()
{
    static std::atomic<quint16> counter{0};
    return quint16(quint16(::getpid()) * 31u + ++counter);
}

bool Is_Reply(const Socket& s, const unsigned char* p, size_t n, quint16 id)
{
    if (s.raw) {
        if (n < 20)
            return false;
        const size_t ihl = size_t(p[0] & 0x0F) * 4;
        if (ihl < 20 || n < ihl + Icmp_Header)
            return false;
        p += ihl;
        n -= ihl;
        if (qFromBigEndian<quint16>(p + 4) != id)
            return false;
    }
    return n >= Icmp_Header && p[0] == Icmp_Echo_Reply && p[1] == 0 && qFromBigEndian<quint16>(p + 6) == 0;
}

// Errors that mean the device cannot be reached now; they count as no answer.
bool Unreachable(int e)
{
    return e == ENETUNREACH || e == EHOSTUNREACH || e == EHOSTDOWN || e == ECONNREFUSED;
}

} // namespace

EchoResult SystemEcho::Send_Echo(quint32 ipv4, int size, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    Socket s;
    EchoResult failure = EchoResult::Send_Error;
    if (!Open_Socket(s, &failure))
        return failure;

    const quint16 id = Next_Identifier();
    std::vector<unsigned char> packet(Icmp_Header + Echo_Size(size));
    packet[0] = Icmp_Echo_Request;
    qToBigEndian<quint16>(id, packet.data() + 4);
    qToBigEndian<quint16>(0, packet.data() + 6); // sequence number
    Fill_Echo_Data(packet.data() + Icmp_Header, packet.size() - Icmp_Header);
    qToBigEndian<quint16>(Checksum(packet.data(), packet.size()), packet.data() + 2);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = qToBigEndian(ipv4);
    ssize_t sent;
    do
        sent = ::sendto(s.fd, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    while (sent < 0 && errno == EINTR);
    if (sent < 0) {
        const int e = errno;
        if (e == EINVAL || e == EADDRNOTAVAIL || e == EDESTADDRREQ)
            return EchoResult::Unresolvable;
        if (!Unreachable(e))
            return EchoResult::Send_Error;
    }

    std::vector<unsigned char> buffer(65536);
    for (;;) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0)
            return EchoResult::Timed_Out;
        pollfd p{s.fd, POLLIN, 0};
        const int slice = int(waiting_ ? std::min<qint64>(left, 10) : left);
        const int ready = ::poll(&p, 1, slice);
        if (ready < 0 && errno != EINTR)
            return EchoResult::Send_Error;
        while (ready > 0) {
            sockaddr_in from{};
            socklen_t fromLen = sizeof from;
            const ssize_t n = ::recvfrom(s.fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                         reinterpret_cast<sockaddr*>(&from), &fromLen);
            if (n < 0)
                break; // nothing more pending, or an error report of the network: wait on
            if (from.sin_addr.s_addr == to.sin_addr.s_addr && Is_Reply(s, buffer.data(), size_t(n), id))
                return EchoResult::Answered;
        }
        if (waiting_)
            waiting_();
    }
}

#endif

} // namespace swr
