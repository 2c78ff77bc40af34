#pragma once

// What undo and redo take back and put again on the screens that edit: the keys, and the
// steps of a grid's rows.

#include "project/GridRows.h"

#include <QItemSelection>
#include <QPersistentModelIndex>
#include <QUndoCommand>

#include <functional>

class QTableView;
class QWidget;

namespace swr {

class GridModel;

// On the screen, Ctrl+Z runs undo, and Ctrl+Y and the platform's redo keys run redo.
void Attach_Undo_Keys(QWidget* screen, const std::function<void()>& undo, const std::function<void()>& redo);

// One undoable change of a grid's rows. Made before the change, it takes the rows the
// change may touch, as the form moves them, and the view's selection; Took_Effect, after
// the change, keeps only the rows that changed. Undo and redo swap those rows with what the
// grid holds, bring back the selection of the time and call changed. The first redo, that
// of the push, finds the change made already and does nothing.
class Rows_Step : public QUndoCommand {
public:
    Rows_Step(const QString& name, QTableView* view, GridModel* model, Row_Form form, int first, int last,
              std::function<void()> changed);
    // False when the change left every row as it was.
    bool Took_Effect();
    void undo() override;
    void redo() override;

private:
    void Swap();

    QTableView* view_;
    GridModel* model_;
    Row_Form form_;
    int first_;
    QList<int> rows_;           // from 1
    QList<QStringList> texts_;  // of rows_ on the other side of the change
    QItemSelection selection_;
    QPersistentModelIndex current_;
    std::function<void()> changed_;
    bool pushed_ = false;
};

} // namespace swr
