#pragma once

#include <QList>
#include <QString>

namespace swr {

class Texts;

// The keyword the template cell offers; the device puts the rule's value in its place.
inline constexpr const char* Value_Keyword = "$VALUE$";

// True when Str is not a valid template: its "$" signs do not pair up. Keywords are not
// looked up; any name between two "$" passes.
bool Error_In_Topic_Template(const QString& Str);

// The topic and template editor, without its widgets.
struct Topic_Editor {
    bool TopicTemplate = false; // a template is edited (not a topic)
    QString Text;               // what the edit box shows, lines separated by LF
};

// Opening the editor for column ACol of a grid whose template column is template_col:
// the cell's text with its line breaks as the edit box shows them.
Topic_Editor Open_Topic_Editor(int ACol, int template_col, const QString& cell);

// Window caption and description label for the editor's state.
QString Topic_Editor_Caption(const Texts& texts, const Topic_Editor& e);
QString Topic_Editor_Label(const Texts& texts, const Topic_Editor& e);

// The cell's text after the editor closed: on Cancel the cell as it was; on OK the edit
// box's text with its line breaks stored as CR LF, or the cell unchanged when the text
// was not edited.
QString Close_Topic_Editor(const Topic_Editor& opened, const QString& edited, bool ok,
                           const QString& cell);

// One line of the keyword grid: keyword (editable) and its description (read-only).
struct Topic_Keyword {
    QString Keyword, Description;
};

// The keyword grid's data rows for a keyword list: one per keyword, or a single empty row
// when the list is empty (always so in this product).
QList<Topic_Keyword> Laod_Keywords(const QList<Topic_Keyword>& keywords = {});

} // namespace swr
