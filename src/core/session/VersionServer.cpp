#include "session/VersionServer.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <QUrlQuery>

#include <optional>

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

QByteArray Http_Exchange(const QString& host, quint16 port, const QByteArray& request, int timeout_ms)
{
    QTcpSocket socket;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QByteArray response;
    bool finished = false;
    bool failed = false;
    const auto finish = [&](bool ok) {
        if (finished)
            return;
        finished = true;
        failed = !ok;
        loop.quit();
    };
    const auto take = [&] {
        response += socket.readAll();
        if (response.size() > Http_Response_Limit)
            finish(false);
        else if (Http_Response_Complete(response))
            finish(true);
    };
    QObject::connect(&socket, &QTcpSocket::connected, &loop, [&] { socket.write(request); });
    QObject::connect(&socket, &QTcpSocket::readyRead, &loop, take);
    QObject::connect(&socket, &QTcpSocket::disconnected, &loop, [&] {
        take();
        finish(true);
    });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, [&](QAbstractSocket::SocketError e) {
        if (e == QAbstractSocket::RemoteHostClosedError) {
            // The end of an HTTP/1.0 answer.
            take();
            finish(true);
        } else {
            finish(false);
        }
    });
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] { finish(false); });
    deadline.start(timeout_ms);
    // A program that ends does not wait for the server.
    QTimer interrupted;
    QObject::connect(&interrupted, &QTimer::timeout, &loop, [&] {
        if (QThread::currentThread()->isInterruptionRequested())
            finish(false);
    });
    interrupted.start(50);
    socket.connectToHost(host, port);
    if (!finished)
        loop.exec();
    QObject::disconnect(&socket, nullptr, &loop, nullptr);
    socket.abort();
    return failed ? QByteArray() : response;
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
