#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace swr {

class IMessages;
class Texts;

// An editing grid as the row helpers see it: header row 0 and row-number column 0,
// data cells in columns 1..Col_Count() and rows 1..Row_Count()-1. The screens adapt
// their table widgets to it.
class IGrid {
public:
    virtual ~IGrid() = default;
    virtual int Row_Count() const = 0;  // R, header row included; fixed by the screen
    virtual int Col_Count() const = 0;  // C, shown and hidden data columns alike
    virtual QString Cell_Text(int col, int row) const = 0;
    virtual void Set_Cell_Text(int col, int row, const QString& text) = 0;
    // Check-box cells (the check-box form).
    virtual bool Is_Check_Cell(int col, int row) const = 0;
    virtual bool Cell_Checked(int col, int row) const = 0;
    virtual void Set_Cell_Checked(int col, int row, bool checked) = 0;
    // Whether the column is edited with a check box (the text form).
    virtual bool Column_Is_Check_Editor(int col) const = 0;
};

// The two forms of the row helpers. The check-box form moves a check-box cell by its state
// and, when asked, marks column 1 of a row it clears; the text form moves every cell as text.
enum class Row_Form { Text, Check_Box };

// The copies go through the shared row clipboard: the cells' texts and, per cell,
// whether it was a check box. A paste that cannot be done, or would overwrite a row in
// use, is reported or asked about through msg with texts from the string table.

// Text form.
void Grid_Delete_Row(IGrid& grid, int row);
void Grid_Insert_Row(IGrid& grid, int row, bool mark_first);
void Grid_Copy_Row(const IGrid& grid, int row, QStringList& Row_Clipboard, QList<bool>& Row_Clipboard_Check);
void Grid_Paste_Row(IGrid& grid, int row, bool copied, const QStringList& Row_Clipboard, const Texts& texts,
                    IMessages& msg);

// Check-box form.
void Grid_Delete_Row_Check(IGrid& grid, int row, bool mark_first);
void Grid_Insert_Row_Check(IGrid& grid, int row, bool mark_first);
void Grid_Copy_Row_Check(const IGrid& grid, int row, QStringList& Row_Clipboard,
                         QList<bool>& Row_Clipboard_Check);
void Grid_Paste_Row_Check(IGrid& grid, int row, bool copied, const QStringList& Row_Clipboard,
                          const QList<bool>& Row_Clipboard_Check, const Texts& texts, IMessages& msg);

// Blocks of rows: a block is a list of rows from 1, ascending, without repeats. A block of
// one row does exactly what the one-row helpers above do, their messages included. A block
// copy keeps its first row in Row_Clipboard, as a one-row copy does, and the rows after it
// in Row_Clipboard_Below (empty after a one-row copy).

// The rows below each deleted row move up to close the gap; the rows freed at the end are
// cleared.
void Grid_Delete_Rows(IGrid& grid, Row_Form form, const QList<int>& rows, bool mark_first);
// Inserts count empty rows at row; the rows pushed past the end are lost.
void Grid_Insert_Rows(IGrid& grid, Row_Form form, int row, int count, bool mark_first);
void Grid_Copy_Rows(const IGrid& grid, Row_Form form, const QList<int>& rows, QStringList& Row_Clipboard,
                    QList<QStringList>& Row_Clipboard_Below, QList<bool>& Row_Clipboard_Check);
// Pastes the copied block over the rows from row down. It refuses a block that runs past
// the end of the grid, with a message, and asks once before it overwrites rows in use.
void Grid_Paste_Rows(IGrid& grid, Row_Form form, int row, bool copied, const QStringList& Row_Clipboard,
                     const QList<QStringList>& Row_Clipboard_Below, const QList<bool>& Row_Clipboard_Check,
                     const Texts& texts, IMessages& msg);

// A row's data cells as the form moves them: texts, and in the check-box form a check-box
// cell as "Y" or "N". Putting them back restores the row exactly.
QStringList Grid_Row_Texts(const IGrid& grid, Row_Form form, int row);
void Grid_Put_Row_Texts(IGrid& grid, Row_Form form, int row, const QStringList& texts);

// Where Enter moves the current cell (col, row); lastShownCol is the last column not
// hidden. Returns false when the cell is in the header row or row-number column.
bool Grid_Enter_Target(int col, int row, int lastShownCol, int rowCount, int* newCol, int* newRow);

} // namespace swr
