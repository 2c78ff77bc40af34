#include "UndoSteps.h"

#include "GridModel.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTableView>

namespace swr {

void Attach_Undo_Keys(QWidget* screen, const std::function<void()>& undo, const std::function<void()>& redo)
{
    QList<QKeySequence> redo_keys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (const QKeySequence y(Qt::CTRL | Qt::Key_Y); !redo_keys.contains(y))
        redo_keys.prepend(y);
    auto* u = new QShortcut(screen);
    u->setKeys(QKeySequence::Undo);
    QObject::connect(u, &QShortcut::activated, screen, undo);
    auto* r = new QShortcut(screen);
    r->setKeys(redo_keys);
    QObject::connect(r, &QShortcut::activated, screen, redo);
}

Rows_Step::Rows_Step(const QString& name, QTableView* view, GridModel* model, Row_Form form, int first, int last,
                     std::function<void()> changed)
    : QUndoCommand(name), view_(view), model_(model), form_(form), first_(first),
      selection_(view->selectionModel()->selection()), current_(view->currentIndex()), changed_(std::move(changed))
{
    const ModelGrid g(model_);
    for (int r = first; r <= last; ++r)
        texts_.append(Grid_Row_Texts(g, form_, r));
}

bool Rows_Step::Took_Effect()
{
    const ModelGrid g(model_);
    QList<QStringList> before;
    for (qsizetype i = 0; i < texts_.size(); ++i) {
        const int r = first_ + int(i);
        if (Grid_Row_Texts(g, form_, r) != texts_.at(i)) {
            rows_.append(r);
            before.append(std::move(texts_[i]));
        }
    }
    texts_ = std::move(before);
    return !rows_.isEmpty();
}

void Rows_Step::undo() { Swap(); }

void Rows_Step::redo()
{
    if (pushed_)
        Swap();
    pushed_ = true;
}

void Rows_Step::Swap()
{
    {
        ModelGrid g(model_); // the views hear of the rows once, when it goes
        for (qsizetype i = 0; i < rows_.size(); ++i) {
            QStringList now = Grid_Row_Texts(g, form_, rows_.at(i));
            Grid_Put_Row_Texts(g, form_, rows_.at(i), texts_.at(i));
            texts_[i] = std::move(now);
        }
    }
    if (QItemSelectionModel* sel = view_->selectionModel()) {
        sel->setCurrentIndex(current_, QItemSelectionModel::NoUpdate);
        sel->select(selection_, QItemSelectionModel::ClearAndSelect);
    }
    view_->scrollTo(current_);
    changed_();
}

} // namespace swr
