#include "base/TextHelpers.h"

#include <cstring>

namespace swr {

QStringView Trim_Control_View(QStringView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s.at(b).unicode() <= 0x20)
        ++b;
    while (e > b && s.at(e - 1).unicode() <= 0x20)
        --e;
    return s.mid(b, e - b);
}

QString Utf8_Text(const char* s, qsizetype n)
{
    // fromUtf8 drops one mark at the start of what it decodes, so each mark at the start is
    // taken over here.
    qsizetype marks = 0;
    while (n - 3 * marks >= 3 && std::memcmp(s + 3 * marks, "\xEF\xBB\xBF", 3) == 0)
        ++marks;
    if (marks == 0)
        return QString::fromUtf8(s, n);
    return QString(marks, QChar(0xFEFF)) + QString::fromUtf8(s + 3 * marks, n - 3 * marks);
}

QString Trim_Control(const QString& s)
{
    const QStringView v = Trim_Control_View(s);
    return v.size() == s.size() ? s : v.toString();
}

} // namespace swr
