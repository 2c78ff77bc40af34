#pragma once

#include "app/GridRows.h"

#include <QSet>

class QTableView;
class QTableWidget;

namespace swr {

struct AppState;

// An editing grid over a table widget: the widget's horizontal header is row 0 and its
// vertical header column 0, so data cell (col, row) is the widget's item (row-1, col-1).
// A cell whose item carries a check state is a check-box cell.
class TableGrid final : public IGrid {
public:
    explicit TableGrid(QTableWidget* table, QSet<int> checkEditorColumns = {})
        : table_(table), checkEditors_(std::move(checkEditorColumns)) {}
    int Row_Count() const override;
    int Col_Count() const override;
    QString Cell_Text(int col, int row) const override;
    void Set_Cell_Text(int col, int row, const QString& text) override;
    bool Is_Check_Cell(int col, int row) const override;
    bool Cell_Checked(int col, int row) const override;
    void Set_Cell_Checked(int col, int row, bool checked) override;
    bool Column_Is_Check_Editor(int col) const override;

private:
    QTableWidget* table_;
    QSet<int> checkEditors_;
};

// The conveniences work on any table view whose horizontal header is row 0 and vertical
// header column 0: a table widget or a view over a GridModel.

// Double click on a header: with Double_Click_Auto_Size on, the column fits its content.
void Grid_Auto_Size_Column(QTableView* table, const AppState& st, int row, int col);

// Enter in the grid: with Enable_Jump_Field_Tables on, moves the current cell and returns
// true (the key is swallowed); otherwise false.
bool Grid_Enter_Jump(QTableView* table, const AppState& st, int key);

// Attaches both conveniences to a grid's events, including its cell editors.
void Attach_Grid_Conveniences(QTableView* table, const AppState& st);

} // namespace swr
