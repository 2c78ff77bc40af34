#include "TableGrid.h"

#include <QTableWidget>

namespace swr::test {

namespace {

QTableWidgetItem* Item(QTableWidget* t, int col, int row)
{
    QTableWidgetItem* it = t->item(row - 1, col - 1);
    if (!it) {
        it = new QTableWidgetItem;
        t->setItem(row - 1, col - 1, it);
    }
    return it;
}

} // namespace

int TableGrid::Row_Count() const { return table_->rowCount() + 1; }
int TableGrid::Col_Count() const { return table_->columnCount(); }

QString TableGrid::Cell_Text(int col, int row) const
{
    const QTableWidgetItem* it = table_->item(row - 1, col - 1);
    return it ? it->text() : QString();
}

void TableGrid::Set_Cell_Text(int col, int row, const QString& text)
{
    Item(table_, col, row)->setText(text);
}

bool TableGrid::Is_Check_Cell(int col, int row) const
{
    const QTableWidgetItem* it = table_->item(row - 1, col - 1);
    return it && it->data(Qt::CheckStateRole).isValid();
}

bool TableGrid::Cell_Checked(int col, int row) const
{
    const QTableWidgetItem* it = table_->item(row - 1, col - 1);
    return it && it->checkState() == Qt::Checked;
}

void TableGrid::Set_Cell_Checked(int col, int row, bool checked)
{
    Item(table_, col, row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool TableGrid::Column_Is_Check_Editor(int col) const { return checkEditors_.contains(col); }

} // namespace swr::test
