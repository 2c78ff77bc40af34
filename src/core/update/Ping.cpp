#include "update/Ping.h"

#include "lang/Texts.h"

#include <QStringList>
#include <QThread>

namespace swr {

void PingClock::Pause_Ms(int ms)
{
    QThread::msleep(ulong(ms));
}

std::optional<quint32> Parse_IPv4(const QString& address)
{
    const QStringList parts = address.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    quint32 ip = 0;
    for (const QString& p : parts) {
        if (p.isEmpty() || p.size() > 3)
            return std::nullopt;
        for (const QChar c : p)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
        const uint v = p.toUInt();
        if (v > 255)
            return std::nullopt;
        ip = (ip << 8) | v;
    }
    return ip;
}

PingResult Send_Ping(IEcho& echo, const QString& address, const std::function<void()>& service,
                     PingClock& clock)
{
    PingResult r;
    const qint64 start = clock.Now_Ms();
    const std::optional<quint32> ip = Parse_IPv4(address);
    if (!ip) {
        r.error = EchoResult::Unresolvable;
        return r;
    }
    int count = 0;
    for (;;) {
        const EchoResult e = echo.Send_Echo(*ip, Ping_Size, Ping_Timeout_Ms);
        ++r.requests;
        if (e == EchoResult::Answered)
            r.ping_res = 1;
        else if (e == EchoResult::Timed_Out)
            r.ping_res = 2;
        else {
            r.error = e;
            return r;
        }
        // The outcome is known when the request returns, so one pause follows it.
        clock.Pause_Ms(Ping_Pause_Ms);
        if (service)
            service();
        if (r.ping_res == 1 && ++count >= Ping_Answers_Wanted)
            break;
        if (clock.Now_Ms() - start > Ping_Limit_Ms)
            break;
    }
    r.ok = r.ping_res == 1;
    return r;
}

int Ping_Failure_Text(const PingResult& r)
{
    if (r.error == EchoResult::Not_Permitted)
        return Txt::Echo_Not_Permitted;
    return r.ping_res == 2 ? Txt::Device_Not_Found : Txt::Check_IP_Address;
}

} // namespace swr
