#pragma once

#include "project/GridRows.h"

#include <QSet>

class QTableWidget;

namespace swr::test {

// The row helpers over a table widget: the widget's horizontal header is row 0 and its
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

} // namespace swr::test
