#include "lang/LangTable.h"

#include "base/Numbers.h"
#include "base/TextHelpers.h"
#include "lang/DefaultTexts.h"

#include <QFile>

#include <optional>

namespace swr {

void Load_Default_Strings(QStringList& Lang_Table)
{
    Lang_Table.clear();
    Lang_Table.reserve(Lang_Count);
    for (int i = 0; i < Lang_Count; ++i)
        Lang_Table.append(QStringLiteral(" "));
    for (int i = 0; i < Default_Texts_Count; ++i)
        Lang_Table[Default_Texts[i].index] = QString::fromUtf8(Default_Texts[i].text);
}

namespace {

// Windows-1252 characters 0x80..0x9F; the rest of the code page is Latin-1.
// Undefined positions keep their C1 code point, as the system converter does.
const char16_t Cp1252_High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString Decode_Utf16(const QByteArray& bytes, bool bigEndian)
{
    QString out;
    out.reserve(bytes.size() / 2);
    for (qsizetype i = 2; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        out.append(QChar(bigEndian ? char16_t((a << 8) | b) : char16_t((b << 8) | a)));
    }
    return out;
}

} // namespace

QString Decode_Language_Bytes(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    if (bytes.startsWith("\xFF\xFE"))
        return Decode_Utf16(bytes, false);
    if (bytes.startsWith("\xFE\xFF"))
        return Decode_Utf16(bytes, true);
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        *to++ = QChar(u >= 0x80 && u < 0xA0 ? Cp1252_High[u - 0x80] : char16_t(u));
    }
    return out;
}

namespace {

// One line of a language file: "STR" index, one blank, "=", text. Read through views of
// the file's text: only the text kept is copied.
std::optional<Language_Entry> Parse_Line(QStringView raw)
{
    const QStringView line = Trim_Control_View(raw);
    if (!line.startsWith(u"STR"))
        return std::nullopt;
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return std::nullopt;
    // Everything between "STR" and "=" except the one character just before "=".
    const qsizetype count = eq - 4;
    if (count <= 0)
        return std::nullopt;
    const int index = Decimal_Trimmed_Or(line.mid(3, count), -1);
    if (index < 0 || index >= Lang_Count)
        return std::nullopt;
    QStringView text = Trim_Control_View(line.mid(eq + 1));
    if (text.isEmpty())
        return std::nullopt;
    const qsizetype comment = text.indexOf(u"/#/");
    if (comment >= 0) {
        text = Trim_Control_View(text.left(comment));
        if (text.isEmpty())
            return std::nullopt;
    }
    const QChar pilcrow(0x00B6);
    if (text.startsWith(pilcrow))
        text = text.mid(1);
    const qsizetype close = text.indexOf(pilcrow);
    if (close >= 0)
        text = text.left(close);
    return Language_Entry{index, text.toString()};
}

} // namespace

QList<Language_Entry> Language_Entries(const QString& text)
{
    QList<Language_Entry> entries;
    const QStringView all(text);
    for (qsizetype from = 0; from <= all.size();) {
        qsizetype end = all.indexOf(u'\n', from);
        if (end < 0)
            end = all.size();
        if (std::optional<Language_Entry> e = Parse_Line(all.mid(from, end - from)))
            entries.append(std::move(*e));
        from = end + 1;
    }
    return entries;
}

void Apply_Language_Text(QStringList& Lang_Table, const QString& text)
{
    for (const Language_Entry& e : Language_Entries(text))
        if (e.index < Lang_Table.size())
            Lang_Table[e.index] = e.text;
}

bool Read_Language_File_Text(const QString& path, QString* text, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    *text = Decode_Language_Bytes(f.readAll());
    return true;
}

bool Read_Language_File(QStringList& Lang_Table, const QString& path, QString* error)
{
    QString text;
    if (!Read_Language_File_Text(path, &text, error))
        return false;
    Apply_Language_Text(Lang_Table, text);
    return true;
}

QString Lang_Table_As_File_Text(const QStringList& Lang_Table)
{
    QString out;
    const QChar pilcrow(0x00B6);
    for (qsizetype i = 0; i < Lang_Table.size(); ++i)
        out += QStringLiteral("STR%1 = ").arg(i) + pilcrow + Lang_Table.at(i) + pilcrow + QLatin1Char('\n');
    return out;
}

} // namespace swr
