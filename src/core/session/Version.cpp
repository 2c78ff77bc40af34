#include "session/Version.h"

#include "session/AppState.h"

namespace swr {

int Conv_Version(const QString& Ver_str)
{
    const qsizetype blank = Ver_str.indexOf(QLatin1Char(' '));
    const QString v = (blank < 0 ? Ver_str : Ver_str.mid(blank + 1)).trimmed();
    if (v.size() < 5)
        return -1;
    const QString digits = QString(v.at(0)) + v.at(2) + v.at(3) + v.at(4);
    bool ok = false;
    const int n = digits.toInt(&ok, 10);
    return ok ? n : -1;
}

QString Version_Line(const QString& program)
{
    return program + QLatin1Char(' ') + QLatin1String(Program_Version);
}

bool Is_Newer_Version(const QString& answer)
{
    const QString a = answer.trimmed();
    if (a.isEmpty() || a.toUpper() == QLatin1String("VER. 0.000"))
        return false;
    const int local = Conv_Version(QString::fromLatin1(Program_Version));
    const int remote = Conv_Version(a);
    return local != -1 && remote != -1 && remote > local;
}

} // namespace swr
