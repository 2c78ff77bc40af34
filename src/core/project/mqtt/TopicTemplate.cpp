#include "project/mqtt/TopicTemplate.h"

#include "lang/Texts.h"
#include "lang/LangTable.h"

#include <QRegularExpression>

namespace swr {

namespace {

// Every kind of line break (CR LF, CR, LF and the Unicode line and paragraph separators
// a rich edit box may hand back) replaced by sep.
QString Set_Line_Breaks(const QString& text, const QString& sep)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|[\r\n\u2028\u2029]"));
    QString s = text;
    return s.replace(breaks, sep);
}

} // namespace

bool Error_In_Topic_Template(const QString& Str)
{
    return Str.count(QLatin1Char('$')) % 2 != 0;
}

Topic_Editor Open_Topic_Editor(int ACol, int template_col, const QString& cell)
{
    return {ACol == template_col, Set_Line_Breaks(cell, QStringLiteral("\n"))};
}

QString Topic_Editor_Caption(const Texts& texts, const Topic_Editor& e)
{
    return texts.Get_Lang_Text(Txt::Topic_Editor_Caption + (e.TopicTemplate ? 1 : 0));
}

QString Topic_Editor_Label(const Texts& texts, const Topic_Editor& e)
{
    return texts.Get_Lang_Text(Txt::Topic_Editor_Label + (e.TopicTemplate ? 1 : 0));
}

QString Close_Topic_Editor(const Topic_Editor& opened, const QString& edited, bool ok,
                           const QString& cell)
{
    if (!ok || Set_Line_Breaks(edited, QStringLiteral("\n")) == opened.Text)
        return cell;
    return Set_Line_Breaks(edited, QStringLiteral("\r\n"));
}

QList<Topic_Keyword> Laod_Keywords(const QList<Topic_Keyword>& keywords)
{
    return keywords.isEmpty() ? QList<Topic_Keyword>(1) : keywords;
}

} // namespace swr
