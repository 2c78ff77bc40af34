#include "app/Numbers.h"

#include "app/TextHelpers.h"

#include <limits>

namespace swr {

namespace {

bool Parse_Whole(QStringView text, int* value)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == text.size())
        return false;
    qint64 v = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c - u'0');
        if (v > qint64(1) << 31)
            return false;
    }
    if (negative)
        v = -v;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return false;
    *value = int(v);
    return true;
}

} // namespace

int Decimal_Whole_Or(const QString& text, int fallback)
{
    int v = fallback;
    return Parse_Whole(text, &v) ? v : fallback;
}

bool Parse_Decimal_Trimmed(const QString& text, int* value)
{
    return Parse_Whole(Trim_Control_View(text), value);
}

int Decimal_Trimmed_Or(const QString& text, int fallback)
{
    int v = fallback;
    return Parse_Decimal_Trimmed(text, &v) ? v : fallback;
}

} // namespace swr
