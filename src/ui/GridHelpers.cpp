#include "GridHelpers.h"

#include "session/AppState.h"
#include "project/GridRows.h"

#include <QChildEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>

namespace swr {

namespace {

// Watches the grid and the cell editors that open inside its viewport for Enter.
class EnterFilter : public QObject {
public:
    EnterFilter(QTableView* table, const AppState& st) : QObject(table), table_(table), st_(st) {}

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override
    {
        if (ev->type() == QEvent::ChildAdded && obj == table_->viewport()) {
            if (auto* w = qobject_cast<QWidget*>(static_cast<QChildEvent*>(ev)->child()))
                w->installEventFilter(this);
        } else if (ev->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(ev)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                return Grid_Enter_Jump(table_, st_, key);
        }
        return false;
    }

private:
    QTableView* table_;
    const AppState& st_;
};

} // namespace

void Fit_Column_Titles(QTableView* table)
{
    QHeaderView* h = table->horizontalHeader();
    int last_shown = -1;
    for (int v = h->count() - 1; v >= 0 && last_shown < 0; --v)
        if (!h->isSectionHidden(h->logicalIndex(v)))
            last_shown = h->logicalIndex(v);
    for (int c = 0; c < h->count(); ++c) {
        if (h->isSectionHidden(c) || h->sectionResizeMode(c) == QHeaderView::Stretch
            || (c == last_shown && h->stretchLastSection()))
            continue;
        const int need = h->sectionSizeHint(c);
        if (h->sectionSize(c) < need)
            h->resizeSection(c, need);
    }
}

void Grid_Auto_Size_Column(QTableView* table, const AppState& st, int row, int col)
{
    if (st.Double_Click_Auto_Size && row == 0 && col >= 1)
        table->resizeColumnToContents(col - 1);
}

bool Grid_Enter_Jump(QTableView* table, const AppState& st, int key)
{
    if (!st.Enable_Jump_Field_Tables || (key != Qt::Key_Return && key != Qt::Key_Enter))
        return false;
    const QAbstractItemModel* model = table->model();
    if (!model)
        return true;
    const int columns = model->columnCount();
    int lastShown = 0;
    for (int c = columns; c >= 1; --c) {
        if (!table->isColumnHidden(c - 1)) {
            lastShown = c;
            break;
        }
    }
    const QModelIndex cur = table->currentIndex();
    int col = 0, row = 0;
    if (cur.isValid()
        && Grid_Enter_Target(cur.column() + 1, cur.row() + 1, lastShown, model->rowCount() + 1, &col, &row)) {
        // Skip hidden columns on the way, as the shown grid does.
        while (col < lastShown && table->isColumnHidden(col - 1))
            ++col;
        table->setCurrentIndex(model->index(row - 1, col - 1));
    }
    return true;
}

void Attach_Grid_Conveniences(QTableView* table, const AppState& st)
{
    auto* filter = new EnterFilter(table, st);
    table->installEventFilter(filter);
    table->viewport()->installEventFilter(filter);
    QObject::connect(table->horizontalHeader(), &QHeaderView::sectionDoubleClicked, table,
                     [table, &st](int section) { Grid_Auto_Size_Column(table, st, 0, section + 1); });
}

} // namespace swr
