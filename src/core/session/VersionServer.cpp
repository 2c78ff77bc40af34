#include "session/VersionServer.h"

#include <QThread>
#include <QUrlQuery>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace swr {

namespace {

constexpr quint16 Http_Port = 80;

struct HttpHead {
    int status = 0;
    qsizetype body_at = 0;
    std::optional<qint64> content_length;
};

// The status line and headers; nothing when they are not complete or not HTTP.
std::optional<HttpHead> Parse_Head(const QByteArray& response)
{
    qsizetype end = response.indexOf("\r\n\r\n");
    qsizetype sep = 4;
    if (end < 0) {
        end = response.indexOf("\n\n");
        sep = 2;
    }
    if (end < 0)
        return std::nullopt;
    const QList<QByteArray> lines = response.left(end).split('\n');
    // "HTTP/1.0 200 OK": version, a blank, three digits.
    const QByteArray status = lines.first().trimmed();
    if (!status.startsWith("HTTP/") || status.size() < 12 || status.at(8) != ' ')
        return std::nullopt;
    if (status.size() > 12 && status.at(12) != ' ')
        return std::nullopt;
    bool ok = false;
    const int code = status.mid(9, 3).toInt(&ok);
    if (!ok || code < 100)
        return std::nullopt;
    HttpHead head;
    head.status = code;
    head.body_at = end + sep;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines.at(i);
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        if (line.left(colon).trimmed().compare("Content-Length", Qt::CaseInsensitive) != 0)
            continue;
        const qint64 length = line.mid(colon + 1).trimmed().toLongLong(&ok);
        if (!ok || length < 0)
            return std::nullopt;
        head.content_length = length;
    }
    return head;
}

} // namespace

QUrl Version_Url(const QString& base)
{
    QUrl relative(QString::fromLatin1(Version_Path));
    QUrlQuery query;
    query.addQueryItem(QString::fromLatin1(Version_Query_Key), QStringLiteral("SWR2305"));
    relative.setQuery(query);
    return QUrl(base).resolved(relative);
}

QByteArray Http_Get_Request(const QUrl& url, const QByteArray& accept, const QByteArray& user_agent)
{
    QByteArray target = url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    if (target.isEmpty())
        target = "/";
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':'))
        host = '[' + host + ']';
    const int port = url.port(Http_Port);
    if (port != Http_Port)
        host += ':' + QByteArray::number(port);
    return "GET " + target + " HTTP/1.0\r\n"
         + "Host: " + host + "\r\n"
         + "Accept: " + accept + "\r\n"
         + "User-Agent: " + user_agent + "\r\n"
         + "\r\n";
}

QByteArray Http_Response_Body(const QByteArray& response)
{
    const std::optional<HttpHead> head = Parse_Head(response);
    if (!head || head->status < 200 || head->status > 299)
        return {};
    QByteArray body = response.mid(head->body_at);
    if (head->content_length) {
        if (body.size() < *head->content_length)
            return {}; // cut off
        body.truncate(*head->content_length);
    }
    return body;
}

bool Http_Response_Complete(const QByteArray& response)
{
    const std::optional<HttpHead> head = Parse_Head(response);
    return head && head->content_length && response.size() - head->body_at >= *head->content_length;
}

namespace {

using Clock = std::chrono::steady_clock;

// The waits below look this often whether the thread was asked to stop.
constexpr int Wait_Step_Ms = 50;

struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

bool Interrupted()
{
    QThread* t = QThread::currentThread();
    return t && t->isInterruptionRequested();
}

// Milliseconds to the deadline, at most one step; negative once it has passed or the thread
// was asked to stop.
int Next_Wait(Clock::time_point deadline)
{
    if (Interrupted())
        return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0)
        return -1;
    return int(std::min<long long>(left, Wait_Step_Ms));
}

// Waits until fd is ready for events; false at the deadline, on a stop or an error.
bool Wait_Ready(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        const int wait = Next_Wait(deadline);
        if (wait < 0)
            return false;
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, wait);
        if (n > 0)
            return true;
        if (n < 0 && errno != EINTR)
            return false;
    }
}

struct Addresses {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::vector<sockaddr_storage> found;
};

// The host's addresses: a literal at once; a name through the system's resolver on a
// thread of its own, so that the deadline and a stop are kept while it resolves. A
// resolver that does not answer in time is left to finish on its own.
std::vector<sockaddr_storage> Resolve(const QString& host, quint16 port, Clock::time_point deadline)
{
    const QByteArray name = host.toUtf8();
    auto state = std::make_shared<Addresses>();
    const auto lookup = [name, port](int flags) {
        std::vector<sockaddr_storage> found;
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = flags | AI_NUMERICSERV;
        addrinfo* list = nullptr;
        if (::getaddrinfo(name.constData(), QByteArray::number(port).constData(), &hints, &list) != 0)
            return found;
        for (addrinfo* a = list; a; a = a->ai_next)
            if (a->ai_addrlen <= sizeof(sockaddr_storage)) {
                sockaddr_storage s{};
                std::memcpy(&s, a->ai_addr, a->ai_addrlen);
                found.push_back(s);
            }
        ::freeaddrinfo(list);
        return found;
    };
    std::vector<sockaddr_storage> literal = lookup(AI_NUMERICHOST);
    if (!literal.empty())
        return literal;
    std::thread([state, lookup] {
        std::vector<sockaddr_storage> found = lookup(0);
        const std::lock_guard<std::mutex> lock(state->mutex);
        state->found = std::move(found);
        state->finished = true;
        state->done.notify_all();
    }).detach();
    std::unique_lock<std::mutex> lock(state->mutex);
    for (;;) {
        if (state->finished)
            return state->found;
        const int wait = Next_Wait(deadline);
        if (wait < 0)
            return {};
        state->done.wait_for(lock, std::chrono::milliseconds(wait));
    }
}

socklen_t Address_Length(const sockaddr_storage& a)
{
    return a.ss_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
}

// A connected socket to the first address that answers, or -1.
int Connect(const std::vector<sockaddr_storage>& addresses, Clock::time_point deadline)
{
    for (const sockaddr_storage& a : addresses) {
        const int fd = ::socket(a.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            continue;
        Fd owner(fd);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), Address_Length(a)) != 0) {
            if (errno != EINPROGRESS || !Wait_Ready(fd, POLLOUT, deadline))
                continue;
            int error = 0;
            socklen_t length = sizeof error;
            if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
                continue;
        }
        owner.fd = -1;
        return fd;
    }
    return -1;
}

bool Send_All(int fd, const QByteArray& bytes, Clock::time_point deadline)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && Wait_Ready(fd, POLLOUT, deadline))
            continue;
        return false;
    }
    return true;
}

} // namespace

QByteArray Http_Exchange(const QString& host, quint16 port, const QByteArray& request, int timeout_ms)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    const int fd = Connect(Resolve(host, port, deadline), deadline);
    if (fd < 0)
        return {};
    const Fd owner(fd);
    if (!Send_All(fd, request, deadline))
        return {};
    QByteArray response;
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n > 0) {
            response.append(chunk, n);
            if (response.size() > Http_Response_Limit)
                return {};
            if (Http_Response_Complete(response))
                return response;
            continue;
        }
        if (n == 0 || (n < 0 && errno == ECONNRESET))
            return response; // an HTTP/1.0 answer ends when the server closes
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && Wait_Ready(fd, POLLIN, deadline))
            continue;
        return {};
    }
}

HttpVersionCheck::HttpVersionCheck(QString base, int timeout_ms)
    : base_(std::move(base)), timeout_ms_(timeout_ms)
{
}

QString HttpVersionCheck::Version_Answer()
{
    const QUrl url = Version_Url(base_);
    if (!url.isValid() || url.scheme() != QLatin1String("http") || url.host().isEmpty())
        return {};
    const QByteArray request = Http_Get_Request(url, Version_Accept, Http_User_Agent);
    const QByteArray response
        = Http_Exchange(url.host(), static_cast<quint16>(url.port(Http_Port)), request, timeout_ms_);
    return QString::fromUtf8(Http_Response_Body(response));
}

bool HttpVersionCheck::Check_Version()
{
    return Is_Newer_Version(Version_Answer());
}

} // namespace swr
