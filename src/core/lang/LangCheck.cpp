#include "lang/LangCheck.h"

#include "lang/LangTable.h"

#include <QMap>

#include <set>

namespace swr {

namespace {

// Entries that hold only blanks show nothing; the table's unused entries hold one blank.
bool Is_Blank(const QString& s)
{
    for (QChar c : s)
        if (!c.isSpace())
            return false;
    return true;
}

// The numbers of the placeholders a text holds, as QString::arg finds them: "%" and one
// or two digits, "%L" for the localised form.
std::set<int> Placeholders(const QString& s)
{
    std::set<int> found;
    for (qsizetype i = 0; i + 1 < s.size(); ++i) {
        if (s[i] != QLatin1Char('%'))
            continue;
        qsizetype d = i + 1;
        if (s[d] == QLatin1Char('L'))
            ++d;
        if (d >= s.size() || !s[d].isDigit())
            continue;
        int n = s[d].digitValue();
        if (d + 1 < s.size() && s[d + 1].isDigit())
            n = n * 10 + s[d + 1].digitValue();
        if (n > 0)
            found.insert(n);
    }
    return found;
}

qsizetype Leading_Blanks(const QString& s)
{
    qsizetype n = 0;
    while (n < s.size() && s[n].isSpace())
        ++n;
    return n;
}

qsizetype Trailing_Blanks(const QString& s)
{
    qsizetype n = 0;
    while (n < s.size() && s[s.size() - 1 - n].isSpace())
        ++n;
    return n;
}

} // namespace

QList<Lang_Finding> Check_Language_Text(const QStringList& english, const QString& text)
{
    QMap<int, QString> given;
    for (const Language_Entry& e : Language_Entries(text))
        given.insert(e.index, e.text); // the last entry for an index counts
    QList<Lang_Finding> out;
    for (int i = 0; i < english.size(); ++i) {
        const QString& en = english.at(i);
        const auto it = given.constFind(i);
        if (Is_Blank(en)) {
            if (it != given.cend() && !Is_Blank(*it))
                out.append({i, Lang_Finding::Extra, {}});
            continue;
        }
        if (it == given.cend() || Is_Blank(*it)) {
            out.append({i, Lang_Finding::Lacks, {}});
            continue;
        }
        const std::set<int> want = Placeholders(en);
        const std::set<int> have = Placeholders(*it);
        for (int n : want)
            if (!have.count(n))
                out.append({i, Lang_Finding::Placeholder_Missing, QLatin1Char('%') + QString::number(n)});
        for (int n : have)
            if (!want.count(n))
                out.append({i, Lang_Finding::Placeholder_Added, QLatin1Char('%') + QString::number(n)});
        if (Leading_Blanks(*it) != Leading_Blanks(en) || Trailing_Blanks(*it) != Trailing_Blanks(en))
            out.append({i, Lang_Finding::End_Blanks, {}});
    }
    return out;
}

QString Lang_Finding_Line(const QStringList& english, const Lang_Finding& f)
{
    const QString head = QStringLiteral("STR%1: ").arg(f.index);
    const QString quoted = QLatin1Char('"') + english.value(f.index) + QLatin1Char('"');
    switch (f.kind) {
    case Lang_Finding::Lacks:
        return head + QStringLiteral("no text; the English is ") + quoted;
    case Lang_Finding::Extra:
        return head + QStringLiteral("a text where the English table has none");
    case Lang_Finding::Placeholder_Missing:
        return head + QStringLiteral("lacks the placeholder %1 of the English ").arg(f.placeholder) + quoted;
    case Lang_Finding::Placeholder_Added:
        return head + QStringLiteral("adds the placeholder %1, which the English does not have").arg(f.placeholder);
    case Lang_Finding::End_Blanks:
        return head + QStringLiteral("blanks at the ends differ from the English ") + quoted;
    }
    return head;
}

} // namespace swr
