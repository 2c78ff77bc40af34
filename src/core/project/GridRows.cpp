#include "project/GridRows.h"
#include "lang/LangTable.h"

#include "base/Messages.h"
#include "lang/Texts.h"

namespace swr {

namespace {

enum class Form { Text, Check };

void Move_Cell(IGrid& g, Form form, int col, int from, int to)
{
    if (form == Form::Check && g.Is_Check_Cell(col, from))
        g.Set_Cell_Checked(col, to, g.Cell_Checked(col, from));
    else
        g.Set_Cell_Text(col, to, g.Cell_Text(col, from));
}

void Move_Row(IGrid& g, Form form, int from, int to)
{
    for (int c = 1; c <= g.Col_Count(); ++c)
        Move_Cell(g, form, c, from, to);
}

void Clear_Row(IGrid& g, Form form, int row, bool mark_first)
{
    for (int c = 1; c <= g.Col_Count(); ++c) {
        if (form == Form::Check && g.Is_Check_Cell(c, row))
            g.Set_Cell_Checked(c, row, mark_first && c == 1);
        else
            g.Set_Cell_Text(c, row, QString());
    }
    if (form == Form::Text && mark_first)
        g.Set_Cell_Text(1, row, QStringLiteral("Y"));
}

void Delete_Row(IGrid& g, Form form, int row, bool mark_first)
{
    const int last = g.Row_Count() - 1;
    for (int r = row; r <= last - 1; ++r)
        Move_Row(g, form, r + 1, r);
    Clear_Row(g, form, last, mark_first);
}

void Insert_Row(IGrid& g, Form form, int row, bool mark_first)
{
    const int last = g.Row_Count() - 1;
    for (int r = last - 1; r >= row; --r)
        Move_Row(g, form, r, r + 1);
    Clear_Row(g, form, row, mark_first);
}

bool Row_In_Use(const IGrid& g, Form form, int row)
{
    for (int c = 1; c <= g.Col_Count(); ++c) {
        if (form == Form::Text) {
            if (!g.Column_Is_Check_Editor(c) && !g.Cell_Text(c, row).trimmed().isEmpty())
                return true;
        } else if (!g.Is_Check_Cell(c, row) && !g.Cell_Text(c, row).isEmpty()) {
            return true;
        }
    }
    return false;
}

void Paste_Row(IGrid& g, Form form, int row, bool copied, const QStringList& Row_Clipboard,
               const QList<bool>& Row_Clipboard_Check, const Texts& texts, IMessages& msg)
{
    if (!copied) {
        msg.Show_Error(texts.Get_Lang_Text(Txt::Paste_No_Copy));
        return;
    }
    if (Row_Clipboard.size() != g.Col_Count()) {
        msg.Show_Error(texts.Get_Lang_Text(Txt::Paste_Bad_Copy));
        return;
    }
    if (Row_In_Use(g, form, row) && !msg.Ask_Yes_No(texts.Get_Lang_Text(Txt::Paste_Overwrite)))
        return;
    for (int c = 1; c <= g.Col_Count(); ++c) {
        const QString& v = Row_Clipboard.at(c - 1);
        const bool wasCheck = form == Form::Check && c - 1 < Row_Clipboard_Check.size()
                              && Row_Clipboard_Check.at(c - 1);
        if (wasCheck)
            g.Set_Cell_Checked(c, row, v == QLatin1String("Y"));
        else
            g.Set_Cell_Text(c, row, v);
    }
}

} // namespace

void Grid_Delete_Row(IGrid& grid, int row) { Delete_Row(grid, Form::Text, row, false); }

void Grid_Insert_Row(IGrid& grid, int row, bool mark_first)
{
    Insert_Row(grid, Form::Text, row, mark_first);
}

void Grid_Copy_Row(const IGrid& grid, int row, QStringList& Row_Clipboard, QList<bool>& Row_Clipboard_Check)
{
    Row_Clipboard.clear();
    Row_Clipboard_Check.clear(); // no column of a text-form row pastes as a check box
    for (int c = 1; c <= grid.Col_Count(); ++c)
        Row_Clipboard.append(grid.Cell_Text(c, row));
}

void Grid_Paste_Row(IGrid& grid, int row, bool copied, const QStringList& Row_Clipboard, const Texts& texts,
                    IMessages& msg)
{
    Paste_Row(grid, Form::Text, row, copied, Row_Clipboard, {}, texts, msg);
}

void Grid_Delete_Row_Check(IGrid& grid, int row, bool mark_first)
{
    Delete_Row(grid, Form::Check, row, mark_first);
}

void Grid_Insert_Row_Check(IGrid& grid, int row, bool mark_first)
{
    Insert_Row(grid, Form::Check, row, mark_first);
}

void Grid_Copy_Row_Check(const IGrid& grid, int row, QStringList& Row_Clipboard,
                         QList<bool>& Row_Clipboard_Check)
{
    Row_Clipboard.clear();
    Row_Clipboard_Check.clear();
    for (int c = 1; c <= grid.Col_Count(); ++c) {
        const bool check = grid.Is_Check_Cell(c, row);
        Row_Clipboard.append(check ? QString::fromLatin1(grid.Cell_Checked(c, row) ? "Y" : "N")
                                   : grid.Cell_Text(c, row));
        Row_Clipboard_Check.append(check);
    }
}

void Grid_Paste_Row_Check(IGrid& grid, int row, bool copied, const QStringList& Row_Clipboard,
                          const QList<bool>& Row_Clipboard_Check, const Texts& texts, IMessages& msg)
{
    Paste_Row(grid, Form::Check, row, copied, Row_Clipboard, Row_Clipboard_Check, texts, msg);
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
