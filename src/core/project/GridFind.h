#pragma once

#include <QList>
#include <QString>

namespace swr {

class IGrid;

// Finding a text in the cells of an editing grid and replacing it, as the table screens'
// find bar does. A match is the text anywhere in a cell; capitals and small letters count
// as the same unless match_case is set. An empty text matches nothing.
struct Grid_Search {
    QString text;
    bool match_case = false;
};

bool Matches(const Grid_Search& search, const QString& cell);

// The rows, from 1 and ascending, with a match in one of columns (data columns from 1).
QList<int> Grid_Find_Rows(const IGrid& grid, const QList<int>& columns, const Grid_Search& search);

// The found row after row (before it with back), going round the end of the table; 0 when
// nothing was found. found is ascending.
int Next_Found_Row(const QList<int>& found, int row, bool back);

// A cell's new text.
struct Cell_Change {
    int row; // from 1
    QString text;
};

// What putting with in place of every match in column col of rows makes of the cells: one
// entry for each cell that changes, in the order of rows.
QList<Cell_Change> Grid_Replaced_Cells(const IGrid& grid, int col, const QList<int>& rows, const Grid_Search& search,
                                       const QString& with);

} // namespace swr
