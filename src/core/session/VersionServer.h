#pragma once

// The version request to the maker's server: one HTTP/1.0 GET whose answer names the
// newest version of the configurator ("VER. 1.003").

#include "base/Maker.h"
#include "session/Version.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace swr {

inline constexpr const char* Version_Path = "home/download/GetversionSW.asp";
inline constexpr const char* Version_Query_Key = "nomesw";
inline constexpr const char* Version_Accept =
    "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
// This client's own User-Agent.
inline constexpr const char* Http_User_Agent = "SWR2305/1.002";
// The whole request, from connecting to the last byte of the answer.
inline constexpr int Version_Timeout_Ms = 10000;
// The answer is a few bytes; anything longer than this is not the version server.
inline constexpr int Http_Response_Limit = 64 * 1024;

// The address asked: base + Version_Path + "?nomesw=SWR2305".
QUrl Version_Url(const QString& base);

// The HTTP/1.0 GET request for url, as it goes on the wire.
QByteArray Http_Get_Request(const QUrl& url, const QByteArray& accept, const QByteArray& user_agent);

// The body of a whole HTTP response with a 2xx status; empty for any other status, for a
// body shorter than its Content-Length and for bytes that are not an HTTP response.
QByteArray Http_Response_Body(const QByteArray& response);

// Whether response already holds its headers and the Content-Length bytes they announce;
// without a length the response ends when the server closes.
bool Http_Response_Complete(const QByteArray& response);

// Sends request to host:port and collects the response until the server closes, the
// announced length has arrived or timeout_ms have passed. Empty on any failure or
// time-out, and when the thread it runs on is asked to stop (QThread::requestInterruption).
// Meant for a thread of its own: it blocks until then.
QByteArray Http_Exchange(const QString& host, quint16 port, const QByteArray& request, int timeout_ms);

// Check_Version over HTTP against the server at base.
class HttpVersionCheck final : public IVersionCheck {
public:
    explicit HttpVersionCheck(QString base = Maker_Server_Base(), int timeout_ms = Version_Timeout_Ms);
    // The server's answer as text; empty on any error.
    QString Version_Answer();
    bool Check_Version() override;

private:
    QString base_;
    int timeout_ms_;
};

} // namespace swr
