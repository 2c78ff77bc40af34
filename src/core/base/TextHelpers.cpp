#include "base/TextHelpers.h"

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

QString Trim_Control(const QString& s)
{
    const QStringView v = Trim_Control_View(s);
    return v.size() == s.size() ? s : v.toString();
}

} // namespace swr
