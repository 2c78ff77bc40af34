#include "base/IpAddress.h"

#include "base/Numbers.h"
#include "base/TextHelpers.h"

namespace swr {

SplitIP Split_IP_Address(const QString& text)
{
    SplitIP r;
    QString rest = Trim_Control(text);
    for (int i = 0; i < 3; ++i) {
        const qsizetype dot = rest.indexOf(QLatin1Char('.'));
        if (dot < 0)
            return r;
        r.octets[i] = Trim_Control(rest.left(dot));
        rest = Trim_Control(rest.mid(dot + 1));
    }
    r.octets[3] = rest;
    r.valid = true;
    for (const QString& o : r.octets) {
        const int v = Decimal_Whole_Or(o, 1000);
        if (v < 0 || v > 255)
            r.valid = false;
    }
    return r;
}

} // namespace swr
