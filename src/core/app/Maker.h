#pragma once

#include <QString>

namespace swr {

// The maker's web pages, opened in the user's browser.
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

} // namespace swr
