#include "project/GridRows.h"
#include "lang/LangTable.h"

#include "base/Messages.h"
#include "lang/Texts.h"

namespace swr {

namespace {

bool Is_Check(const IGrid& g, Row_Form form, int col, int row)
{
    return form == Row_Form::Check_Box && g.Is_Check_Cell(col, row);
}

void Move_Row(IGrid& g, Row_Form form, int from, int to)
{
    for (int c = 1; c <= g.Col_Count(); ++c) {
        if (Is_Check(g, form, c, from))
            g.Set_Cell_Checked(c, to, g.Cell_Checked(c, from));
        else
            g.Set_Cell_Text(c, to, g.Cell_Text(c, from));
    }
}

void Clear_Row(IGrid& g, Row_Form form, int row, bool mark_first)
{
    for (int c = 1; c <= g.Col_Count(); ++c) {
        if (Is_Check(g, form, c, row))
            g.Set_Cell_Checked(c, row, mark_first && c == 1);
        else
            g.Set_Cell_Text(c, row, QString());
    }
    if (form == Row_Form::Text && mark_first)
        g.Set_Cell_Text(1, row, QStringLiteral("Y"));
}

bool Row_In_Use(const IGrid& g, Row_Form form, int row)
{
    for (int c = 1; c <= g.Col_Count(); ++c) {
        if (form == Row_Form::Text) {
            if (!g.Column_Is_Check_Editor(c) && !g.Cell_Text(c, row).trimmed().isEmpty())
                return true;
        } else if (!g.Is_Check_Cell(c, row) && !g.Cell_Text(c, row).isEmpty()) {
            return true;
        }
    }
    return false;
}

// Writes copied values into a row: a column the copy recorded as a check box (check-box
// form only) is checked exactly when its value is "Y".
void Put_Copied_Row(IGrid& g, Row_Form form, int row, const QStringList& values, const QList<bool>& check)
{
    for (int c = 1; c <= g.Col_Count(); ++c) {
        const QString& v = values.at(c - 1);
        if (form == Row_Form::Check_Box && c - 1 < check.size() && check.at(c - 1))
            g.Set_Cell_Checked(c, row, v == QLatin1String("Y"));
        else
            g.Set_Cell_Text(c, row, v);
    }
}

} // namespace

void Grid_Delete_Row(IGrid& grid, int row) { Grid_Delete_Rows(grid, Row_Form::Text, {row}, false); }

void Grid_Insert_Row(IGrid& grid, int row, bool mark_first)
{
    Grid_Insert_Rows(grid, Row_Form::Text, row, 1, mark_first);
}

void Grid_Copy_Row(const IGrid& grid, int row, QStringList& Row_Clipboard, QList<bool>& Row_Clipboard_Check)
{
    Row_Clipboard = Grid_Row_Texts(grid, Row_Form::Text, row);
    Row_Clipboard_Check.clear(); // no column of a text-form row pastes as a check box
}

void Grid_Paste_Row(IGrid& grid, int row, bool copied, const QStringList& Row_Clipboard, const Texts& texts,
                    IMessages& msg)
{
    Grid_Paste_Rows(grid, Row_Form::Text, row, copied, Row_Clipboard, {}, {}, texts, msg);
}

void Grid_Delete_Row_Check(IGrid& grid, int row, bool mark_first)
{
    Grid_Delete_Rows(grid, Row_Form::Check_Box, {row}, mark_first);
}

void Grid_Insert_Row_Check(IGrid& grid, int row, bool mark_first)
{
    Grid_Insert_Rows(grid, Row_Form::Check_Box, row, 1, mark_first);
}

void Grid_Copy_Row_Check(const IGrid& grid, int row, QStringList& Row_Clipboard,
                         QList<bool>& Row_Clipboard_Check)
{
    Row_Clipboard = Grid_Row_Texts(grid, Row_Form::Check_Box, row);
    Row_Clipboard_Check.clear();
    for (int c = 1; c <= grid.Col_Count(); ++c)
        Row_Clipboard_Check.append(grid.Is_Check_Cell(c, row));
}

void Grid_Paste_Row_Check(IGrid& grid, int row, bool copied, const QStringList& Row_Clipboard,
                          const QList<bool>& Row_Clipboard_Check, const Texts& texts, IMessages& msg)
{
    Grid_Paste_Rows(grid, Row_Form::Check_Box, row, copied, Row_Clipboard, {}, Row_Clipboard_Check, texts, msg);
}

void Grid_Delete_Rows(IGrid& grid, Row_Form form, const QList<int>& rows, bool mark_first)
{
    if (rows.isEmpty())
        return;
    // One pass from the first deleted row down: each kept row moves up past the deleted
    // rows above it.
    const int last = grid.Row_Count() - 1;
    int to = rows.front();
    qsizetype next = 0;
    for (int from = rows.front(); from <= last; ++from) {
        if (next < rows.size() && rows.at(next) == from) {
            ++next;
            continue;
        }
        Move_Row(grid, form, from, to++);
    }
    for (; to <= last; ++to)
        Clear_Row(grid, form, to, mark_first);
}

void Grid_Insert_Rows(IGrid& grid, Row_Form form, int row, int count, bool mark_first)
{
    const int last = grid.Row_Count() - 1;
    count = qMin(count, last - row + 1);
    for (int r = last - count; r >= row; --r)
        Move_Row(grid, form, r, r + count);
    for (int r = row; r < row + count; ++r)
        Clear_Row(grid, form, r, mark_first);
}

void Grid_Copy_Rows(const IGrid& grid, Row_Form form, const QList<int>& rows, QStringList& Row_Clipboard,
                    QList<QStringList>& Row_Clipboard_Below, QList<bool>& Row_Clipboard_Check)
{
    if (rows.isEmpty())
        return;
    if (form == Row_Form::Check_Box)
        Grid_Copy_Row_Check(grid, rows.front(), Row_Clipboard, Row_Clipboard_Check);
    else
        Grid_Copy_Row(grid, rows.front(), Row_Clipboard, Row_Clipboard_Check);
    Row_Clipboard_Below.clear();
    for (qsizetype i = 1; i < rows.size(); ++i)
        Row_Clipboard_Below.append(Grid_Row_Texts(grid, form, rows.at(i)));
}

void Grid_Paste_Rows(IGrid& grid, Row_Form form, int row, bool copied, const QStringList& Row_Clipboard,
                     const QList<QStringList>& Row_Clipboard_Below, const QList<bool>& Row_Clipboard_Check,
                     const Texts& texts, IMessages& msg)
{
    if (!copied) {
        msg.Show_Error(texts.Get_Lang_Text(Txt::Paste_No_Copy));
        return;
    }
    bool fits = Row_Clipboard.size() == grid.Col_Count();
    for (const QStringList& r : Row_Clipboard_Below)
        fits = fits && r.size() == grid.Col_Count();
    if (!fits) {
        msg.Show_Error(texts.Get_Lang_Text(Txt::Paste_Bad_Copy));
        return;
    }
    const int count = 1 + int(Row_Clipboard_Below.size());
    const int left = grid.Row_Count() - row; // rows from row to the end
    if (count > left) {
        msg.Show_Error(texts.Get_Lang_Text(Txt::Paste_Past_End).arg(count).arg(row).arg(left));
        return;
    }
    int used = 0;
    for (int r = row; r < row + count; ++r)
        used += Row_In_Use(grid, form, r) ? 1 : 0;
    if (used > 0) {
        const QString question = count == 1 ? texts.Get_Lang_Text(Txt::Paste_Overwrite)
                                            : texts.Get_Lang_Text(Txt::Paste_Rows_Overwrite)
                                                  .arg(used)
                                                  .arg(row)
                                                  .arg(row + count - 1);
        if (!msg.Ask_Yes_No(question))
            return;
    }
    Put_Copied_Row(grid, form, row, Row_Clipboard, Row_Clipboard_Check);
    for (int i = 1; i < count; ++i)
        Put_Copied_Row(grid, form, row + i, Row_Clipboard_Below.at(i - 1), Row_Clipboard_Check);
}

QStringList Grid_Row_Texts(const IGrid& grid, Row_Form form, int row)
{
    QStringList texts;
    texts.reserve(grid.Col_Count());
    for (int c = 1; c <= grid.Col_Count(); ++c)
        texts.append(Is_Check(grid, form, c, row) ? QString::fromLatin1(grid.Cell_Checked(c, row) ? "Y" : "N")
                                                  : grid.Cell_Text(c, row));
    return texts;
}

void Grid_Put_Row_Texts(IGrid& grid, Row_Form form, int row, const QStringList& texts)
{
    for (int c = 1; c <= grid.Col_Count(); ++c) {
        if (Is_Check(grid, form, c, row))
            grid.Set_Cell_Checked(c, row, texts.at(c - 1) == QLatin1String("Y"));
        else
            grid.Set_Cell_Text(c, row, texts.at(c - 1));
    }
}

bool Grid_Enter_Target(int col, int row, int lastShownCol, int rowCount, int* newCol, int* newRow)
{
    if (col <= 0 || row <= 0)
        return false;
    if (col < lastShownCol) {
        *newCol = col + 1;
        *newRow = row;
    } else {
        *newCol = 1;
        *newRow = row + 1 >= rowCount ? 1 : row + 1;
    }
    return true;
}

} // namespace swr
