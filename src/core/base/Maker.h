#pragma once

#include <QString>

namespace swr {

// The maker's site: its web pages, opened in the user's browser, and the version server.
inline constexpr const char* Maker_Host = "www.norvex.example";

inline QString Maker_Web_Address() { return QString::fromLatin1(Maker_Host); }

inline QString Maker_Home_Page()
{
    return QStringLiteral("http://%1/HOME/default.asp?frompg=SWR2305").arg(QLatin1String(Maker_Host));
}

inline QString Maker_Download_Page()
{
    return QStringLiteral("http://%1/Home/download/download.asp#HDR2305").arg(QLatin1String(Maker_Host));
}

// Where the version server's pages lie; the version request's path is relative to it.
inline QString Maker_Server_Base()
{
    return QStringLiteral("http://%1/").arg(QLatin1String(Maker_Host));
}

} // namespace swr
