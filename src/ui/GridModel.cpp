#include "GridModel.h"

#include "GridHelpers.h"

#include "session/AppState.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <QStylePainter>
#include <QStyleOptionHeader>
#include <QTableView>

namespace swr {

namespace {

// The find colour: a light amber that the text of a light or a dark palette stays readable
// on, and that is not the selection's colour.
QBrush Found_Brush()
{
    return QColor(255, 200, 40, 110);
}

bool Is_Choice(Cell_Editor e)
{
    return e == Cell_Editor::Choice || e == Cell_Editor::Editable_Choice;
}

// The corner cell above the row numbers is the header of the row-number column; the
// table view paints it without a text, so this paints it as a header section with one.
class CornerText : public QObject {
public:
    CornerText(QAbstractButton* corner, const QString& text) : QObject(corner), corner_(corner)
    {
        setObjectName(QStringLiteral("Corner_Text"));
        Set(text);
        corner->installEventFilter(this);
    }
    void Set(const QString& text)
    {
        text_ = text;
        corner_->setAccessibleName(text);
        corner_->update();
    }

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override
    {
        if (obj != corner_ || ev->type() != QEvent::Paint)
            return false;
        QStyleOptionHeader opt;
        opt.initFrom(corner_);
        opt.state |= QStyle::State_Raised;
        opt.rect = corner_->rect();
        opt.position = QStyleOptionHeader::OnlyOneSection;
        opt.text = text_;
        opt.textAlignment = Qt::AlignCenter;
        QStylePainter painter(corner_);
        painter.drawControl(QStyle::CE_Header, opt);
        return true;
    }

private:
    QAbstractButton* corner_;
    QString text_;
};

QAbstractButton* Corner_Button(QTableView* view)
{
    for (auto* b : view->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
        return b;
    return nullptr;
}

// Alt+Down or F4 on a drop-down cell opens its list, as in any drop-down.
class ChoiceKeys : public QObject {
public:
    explicit ChoiceKeys(QTableView* view) : QObject(view), view_(view) {}

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override
    {
        if (obj != view_ || ev->type() != QEvent::KeyPress)
            return false;
        const auto* k = static_cast<QKeyEvent*>(ev);
        const bool open = (k->key() == Qt::Key_Down && (k->modifiers() & Qt::AltModifier))
                          || (k->key() == Qt::Key_F4 && k->modifiers() == Qt::NoModifier);
        const QModelIndex cur = view_->currentIndex();
        if (!open || !cur.isValid() || !cur.data(Choices_Role).isValid()
            || !(cur.flags() & Qt::ItemIsEditable))
            return false;
        view_->edit(cur);
        for (auto* combo : view_->viewport()->findChildren<QComboBox*>())
            if (combo->isVisible())
                combo->showPopup();
        return true;
    }

private:
    QTableView* view_;
};

// A cell's drop-down that knows whether its list has been open: a value picked there ends
// the editing, while the arrow keys on the closed box only step through the values.
class GridCombo final : public QComboBox {
public:
    using QComboBox::QComboBox;
    bool listed = false;
    void showPopup() override
    {
        listed = true;
        QComboBox::showPopup();
    }
};

} // namespace

Row_Marker Findings_Marker(const Check_Findings& findings, const QStringList& warnings)
{
    QStringList lines;
    for (const Check_Finding& f : findings)
        lines.append(f.message);
    lines.append(warnings);
    if (lines.isEmpty())
        return {};
    return {First_Error(findings) ? Row_Marker::Error : Row_Marker::Warning, lines.join(QLatin1Char('\n'))};
}

// ---- GridModel ----

GridModel::GridModel(const AppState& st, QList<Grid_Column_Desc> columns, int rows, QObject* parent)
    : QAbstractTableModel(parent), st_(st), columns_(std::move(columns)), rows_(rows)
{
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

void GridModel::Put_Text(int row, int column, const QString& text)
{
    Store_Text(row, column, text);
    Changed(row, column, Qt::DisplayRole);
}

void GridModel::Put_Checked(int row, int column, bool checked)
{
    Store_Checked(row, column, checked);
    Changed(row, column, Qt::CheckStateRole);
}

QString GridModel::Check_Text(int row, int column) const
{
    return QLatin1String(Checked(row, column) ? "Y" : "N");
}

void GridModel::Put_Check_Text(int row, int column, const QString& text)
{
    Put_Checked(row, column, text == QLatin1String("Y"));
}

void GridModel::Changed(int row, int column, int role)
{
    if (batch_ > 0) {
        batchFirst_ = batchFirst_ < 0 ? row : qMin(batchFirst_, row);
        batchLast_ = qMax(batchLast_, row);
        return;
    }
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i, {role, Qt::EditRole});
    emit headerDataChanged(Qt::Vertical, 0, rows_ - 1); // a row's marker may depend on others
}

void GridModel::Begin_Batch()
{
    ++batch_;
}

void GridModel::End_Batch()
{
    if (--batch_ > 0 || batchFirst_ < 0)
        return;
    emit dataChanged(index(batchFirst_, 0), index(batchLast_, int(columns_.size()) - 1));
    emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
    batchFirst_ = batchLast_ = -1;
}

void GridModel::Set_Found_Rows(const QList<int>& rows)
{
    QList<bool> found(rows_, false);
    for (const int r : rows)
        if (r >= 0 && r < rows_)
            found[r] = true;
    int first = -1, last = -1;
    for (int r = 0; r < rows_; ++r)
        if (found.at(r) != Found(r)) {
            first = first < 0 ? r : first;
            last = r;
        }
    found_ = std::move(found);
    if (first >= 0)
        emit dataChanged(index(first, 0), index(last, int(columns_.size()) - 1), {Qt::BackgroundRole});
}

void GridModel::Refresh()
{
    if (rows_ > 0 && !columns_.isEmpty())
        emit dataChanged(index(0, 0), index(rows_ - 1, int(columns_.size()) - 1));
    emit headerDataChanged(Qt::Horizontal, 0, int(columns_.size()) - 1);
    emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Grid_Column_Desc& c = columns_.at(index.column());
    const bool check = c.editor == Cell_Editor::Check;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return check ? QVariant() : QVariant(Text(index.row(), index.column()));
    case Qt::CheckStateRole:
        return check ? QVariant(Checked(index.row(), index.column()) ? Qt::Checked : Qt::Unchecked)
                     : QVariant();
    case Choices_Role:
        return Is_Choice(c.editor) ? QVariant(Choices(index.row(), index.column())) : QVariant();
    case Qt::BackgroundRole:
        if (Found(index.row()))
            return Found_Brush();
        // Read-only cells look like the window behind the grid.
        return flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)
                   ? QVariant()
                   : QVariant(QApplication::palette().window());
    default:
        return {};
    }
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || !(flags(index) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)))
        return false;
    const int row = index.row(), column = index.column();
    const Grid_Column_Desc& c = columns_.at(column);
    if (role == Qt::CheckStateRole && c.editor == Cell_Editor::Check) {
        emit Editing(row);
        Put_Checked(row, column, Qt::CheckState(value.toInt()) == Qt::Checked);
    } else if (role == Qt::EditRole && c.editor != Cell_Editor::Check) {
        const QString text = value.toString();
        // A drop-down that takes only listed values takes nothing else from anywhere.
        if (c.editor == Cell_Editor::Choice && !Choices(row, column).contains(text))
            return false;
        emit Editing(row);
        Put_Text(row, column, text);
    } else {
        return false;
    }
    Cell_Edited(row, column);
    emit Edited(row, column);
    return true;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Grid_Column_Desc& c = columns_.at(index.column());
    const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const bool locked = c.lock == Cell_Lock::Always || c.editor == Cell_Editor::Hidden
                        || (c.lock == Cell_Lock::By_Row && Row_Locked(index.row(), index.column()));
    if (locked)
        return base;
    if (c.editor == Cell_Editor::Check)
        return base | Qt::ItemIsUserCheckable;
    return base | Qt::ItemIsEditable;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= columns_.size())
            return {};
        const Grid_Column_Desc& c = columns_.at(section);
        if (role == Qt::DisplayRole)
            return st_.Get_Lang_Text(c.header);
        if (role == Qt::ToolTipRole && c.hint >= 0)
            return st_.Get_Lang_Text(c.hint);
        return {};
    }
    if (section < 0 || section >= rows_)
        return {};
    if (role == Qt::DisplayRole)
        return section + 1;
    if (role == Qt::DecorationRole || role == Qt::ToolTipRole) {
        const Row_Marker m = Marker(section);
        if (m.kind == Row_Marker::None)
            return {};
        if (role == Qt::ToolTipRole)
            return m.text;
        return QApplication::style()->standardIcon(m.kind == Row_Marker::Error ? QStyle::SP_MessageBoxCritical
                                                                               : QStyle::SP_MessageBoxWarning);
    }
    return {};
}

QStringList GridModel::Choices(int, int) const
{
    return {};
}

bool GridModel::Row_Locked(int, int) const
{
    return false;
}

Row_Marker GridModel::Marker(int) const
{
    return {};
}

// ---- GridDelegate ----

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    const QVariant choices = index.data(Choices_Role);
    if (!choices.isValid())
        return QStyledItemDelegate::createEditor(parent, option, index);
    const QStringList list = choices.toStringList();
    const auto* model = qobject_cast<const GridModel*>(index.model());
    const bool editable = model && model->Column(index.column()).editor == Cell_Editor::Editable_Choice;
    if (list.isEmpty() && !editable)
        return nullptr; // nothing to choose from
    auto* combo = new GridCombo(parent);
    combo->addItems(list);
    combo->setEditable(editable);
    combo->setMaxVisibleItems(20);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // A picked entry goes in at once, so the rules that follow it run while the list
    // closes. Picked from the list, it also closes the editor: the grid has the keys
    // again, and Escape closes the screen. A value stepped to with the arrows on the
    // closed box keeps the editor until Enter or the cell is left.
    connect(combo, &QComboBox::activated, this, [this, combo] {
        auto* self = const_cast<GridDelegate*>(this);
        emit self->commitData(combo);
        if (!combo->listed)
            return;
        QWidget* viewport = combo->parentWidget();
        emit self->closeEditor(combo, QAbstractItemDelegate::NoHint);
        // The grid has the keys back, also where the list took the window's focus along.
        if (viewport && viewport->parentWidget())
            viewport->parentWidget()->setFocus(Qt::PopupFocusReason);
    });
    return combo;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    const QString value = index.data(Qt::EditRole).toString();
    const int i = combo->findText(value, Qt::MatchExactly);
    combo->setCurrentIndex(i);
    if (combo->isEditable())
        combo->setEditText(value);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    const QString value = combo->isEditable() ? combo->currentText()
                          : combo->currentIndex() >= 0 ? combo->itemText(combo->currentIndex())
                                                       : QString();
    if (value == index.data(Qt::EditRole).toString())
        return; // nothing picked: the rules that a pick runs stay quiet
    if (combo->isEditable() || combo->currentIndex() >= 0)
        model->setData(index, value, Qt::EditRole);
}

// ---- ModelGrid ----

int ModelGrid::Row_Count() const { return model_->rowCount() + 1; }
int ModelGrid::Col_Count() const { return model_->columnCount(); }

// A check column reads and takes text through its model ("Y"/"N" unless the model holds
// the cell's own text), so the text form of the row helpers and a row copied from a grid
// without check marks move it too.
QString ModelGrid::Cell_Text(int col, int row) const
{
    if (Is_Check_Cell(col, row))
        return model_->Check_Text(row - 1, col - 1);
    return model_->Text(row - 1, col - 1);
}

void ModelGrid::Set_Cell_Text(int col, int row, const QString& text)
{
    if (Is_Check_Cell(col, row))
        model_->Put_Check_Text(row - 1, col - 1, text);
    else
        model_->Put_Text(row - 1, col - 1, text);
}

bool ModelGrid::Is_Check_Cell(int col, int) const
{
    return model_->Column(col - 1).editor == Cell_Editor::Check;
}

bool ModelGrid::Cell_Checked(int col, int row) const
{
    return Is_Check_Cell(col, row) && model_->Checked(row - 1, col - 1);
}

void ModelGrid::Set_Cell_Checked(int col, int row, bool checked)
{
    model_->Put_Checked(row - 1, col - 1, checked);
}

bool ModelGrid::Column_Is_Check_Editor(int col) const
{
    return model_->Column(col - 1).editor == Cell_Editor::Check;
}

// ---- the view ----

namespace {

// A header that measures each kind of section once, until the font or style changes: a
// column by its title, a row number by its length (the digits of a font are equally wide),
// either with or without a marker.
class Measured_Header final : public QHeaderView {
public:
    Measured_Header(Qt::Orientation orientation, QWidget* parent) : QHeaderView(orientation, parent)
    {
        // As the view's own headers: a click selects the row or column.
        setSectionsClickable(true);
        setHighlightSections(true);
    }

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override
    {
        const QAbstractItemModel* m = model();
        if (!m)
            return QHeaderView::sectionSizeFromContents(logicalIndex);
        QString key = m->headerData(logicalIndex, orientation()).toString();
        if (orientation() == Qt::Vertical)
            key.fill(QLatin1Char('0'));
        key += m->headerData(logicalIndex, orientation(), Qt::ToolTipRole).isValid() ? QLatin1Char('+')
                                                                                     : QLatin1Char('-');
        const auto known = sizes_.constFind(key);
        if (known != sizes_.cend())
            return *known;
        const QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
        sizes_.insert(key, size);
        return size;
    }
    void changeEvent(QEvent* e) override
    {
        if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange)
            sizes_.clear();
        QHeaderView::changeEvent(e);
    }

private:
    mutable QHash<QString, QSize> sizes_;
};

} // namespace

QTableView* Make_Grid_View(QWidget* parent, const char* name)
{
    auto* view = new QTableView(parent);
    view->setObjectName(QLatin1String(name));
    view->setHorizontalHeader(new Measured_Header(Qt::Horizontal, view));
    view->setVerticalHeader(new Measured_Header(Qt::Vertical, view));
    return view;
}

void Attach_Grid_Model(QTableView* view, GridModel* model, const AppState& st, int cornerText)
{
    view->setModel(model);
    view->setItemDelegate(new GridDelegate(view));
    for (int c = 0; c < model->columnCount(); ++c)
        view->setColumnHidden(c, model->Column(c).editor == Cell_Editor::Hidden);
    view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                          | QAbstractItemView::AnyKeyPressed);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setTabKeyNavigation(false); // Tab leaves the grid; the arrows move in it
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    view->horizontalHeader()->setHighlightSections(false);
    view->installEventFilter(new ChoiceKeys(view));
    if (QAbstractButton* corner = Corner_Button(view))
        new CornerText(corner, st.Get_Lang_Text(cornerText));
    Attach_Grid_Conveniences(view, st);
}

void Set_Grid_Corner_Text(QTableView* view, const QString& text)
{
    if (QAbstractButton* corner = Corner_Button(view))
        if (auto* c = corner->findChild<QObject*>(QStringLiteral("Corner_Text"), Qt::FindDirectChildrenOnly))
            static_cast<CornerText*>(c)->Set(text);
}

} // namespace swr
