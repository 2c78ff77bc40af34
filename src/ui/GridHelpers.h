#pragma once

class QTableView;

namespace swr {

struct AppState;

// The grid conveniences, on any table view whose horizontal header is row 0 and vertical
// header column 0: a table widget or a view over a GridModel.

// Double click on a header: with Double_Click_Auto_Size on, the column fits its content.
void Grid_Auto_Size_Column(QTableView* table, const AppState& st, int row, int col);

// Enter in the grid: with Enable_Jump_Field_Tables on, moves the current cell and returns
// true (the key is swallowed); otherwise false.
bool Grid_Enter_Jump(QTableView* table, const AppState& st, int key);

// Widens each shown column that is narrower than its title needs, so that no title is cut
// in any language; a column that stretches with the view is left to the view.
void Fit_Column_Titles(QTableView* table);

// Attaches both conveniences to a grid's events, including its cell editors.
void Attach_Grid_Conveniences(QTableView* table, const AppState& st);

} // namespace swr
