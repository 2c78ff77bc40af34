#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace swr {

// What the check of a language file finds at one index, measured against the English
// table: the file gives no text where the English has one (or only blanks), gives a text
// where the English has none, leaves out or adds a placeholder (%1 ... %99), or has other
// blanks at the start or the end than the English text.
struct Lang_Finding {
    enum Kind { Lacks, Extra, Placeholder_Missing, Placeholder_Added, End_Blanks };
    int index;
    Kind kind;
    QString placeholder; // "%2" for the placeholder findings
};

// Checks the entries of a language file's text, as the reader takes them, against the
// English table (a full table of built-in texts). The findings come in index order.
QList<Lang_Finding> Check_Language_Text(const QStringList& english, const QString& text);

// One line of the check's report for a translator: "STR<index>: " and what is wrong,
// quoting the English text where that helps.
QString Lang_Finding_Line(const QStringList& english, const Lang_Finding& f);

} // namespace swr
