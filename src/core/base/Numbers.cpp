#include "base/Numbers.h"

#include <QString> // QAnyStringView::visit is defined with QString

#include <limits>
#include <type_traits>

namespace swr {

namespace {

// Any character of any view as its code: Latin-1 and UTF-8 bytes, UTF-16 units. A digit
// or sign is ASCII in all of them, and a UTF-8 lead or trail byte is never taken for one.
template <class C>
char32_t Code(C c)
{
    if constexpr (std::is_same_v<C, QChar> || std::is_same_v<C, QLatin1Char>)
        return c.unicode();
    else
        return char32_t(static_cast<unsigned char>(c));
}

template <class View>
bool Parse(View text, bool trim, int* value)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    if (trim) {
        while (b < e && Code(text[b]) <= 0x20)
            ++b;
        while (e > b && Code(text[e - 1]) <= 0x20)
            --e;
    }
    bool negative = false;
    if (b < e && (Code(text[b]) == U'+' || Code(text[b]) == U'-')) {
        negative = Code(text[b]) == U'-';
        ++b;
    }
    if (b == e)
        return false;
    qint64 v = 0;
    for (; b < e; ++b) {
        const char32_t c = Code(text[b]);
        if (c < U'0' || c > U'9')
            return false;
        v = v * 10 + (c - U'0');
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

bool Parse_Any(QAnyStringView text, bool trim, int* value)
{
    return text.visit([&](auto view) { return Parse(view, trim, value); });
}

} // namespace

int Decimal_Whole_Or(QAnyStringView text, int fallback)
{
    int v = fallback;
    return Parse_Any(text, false, &v) ? v : fallback;
}

bool Parse_Decimal_Trimmed(QAnyStringView text, int* value)
{
    return Parse_Any(text, true, value);
}

int Decimal_Trimmed_Or(QAnyStringView text, int fallback)
{
    int v = fallback;
    return Parse_Any(text, true, &v) ? v : fallback;
}

} // namespace swr
