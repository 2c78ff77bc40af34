#pragma once

#include "base/GridColumns.h"
#include "project/GridRows.h"
#include "project/CheckFinding.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStyledItemDelegate>

class QTableView;

namespace swr {

struct AppState;

// Roles the grid's delegate reads beside Qt's own.
enum Grid_Role {
    Choices_Role = Qt::UserRole + 1, // QStringList: what a drop-down cell offers
};

// A marker in a row's row-number cell: what is wrong with the row, as its tooltip.
struct Row_Marker {
    enum Kind { None, Warning, Error } kind = None;
    QString text;
};

// The marker of a row with these findings of its check and further warnings, one a line:
// an error while a finding refuses OK, else a warning; every message in its tooltip, the
// findings' first. None when there is nothing to say.
Row_Marker Findings_Marker(const Check_Findings& findings, const QStringList& warnings = {});

// An editing grid's table model, driven by the column description. The model's columns
// are the data columns 1..C (model column c - 1); the view's vertical header is the
// row-number column 0 and the horizontal header the header row 0, as the row helpers
// count them. Check columns serve Qt::CheckStateRole, drop-down columns their list in
// Choices_Role; header hints are the horizontal header's tooltips, markers the vertical
// header's decoration and tooltip.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    GridModel(const AppState& st, QList<Grid_Column_Desc> columns, int rows, QObject* parent = nullptr);

    const Grid_Column_Desc& Column(int column) const { return columns_.at(column); }
    const QList<Grid_Column_Desc>& Columns() const { return columns_; }

    // The cells by model row and column. Put_* stores without running any rule that a
    // user's edit runs (the row helpers move cells this way) and tells the views.
    virtual QString Text(int row, int column) const = 0;
    virtual bool Checked(int row, int column) const = 0;
    void Put_Text(int row, int column, const QString& text);
    void Put_Checked(int row, int column, bool checked);
    // A check cell as text, as the text form of the row helpers moves it: "Y" or "N" from
    // its state, unless the model keeps the cell's own text (nothing until touched, say).
    virtual QString Check_Text(int row, int column) const;
    virtual void Put_Check_Text(int row, int column, const QString& text);
    // Tells the views that every cell and header may have changed (after a load, or a
    // language switch).
    virtual void Refresh();
    // Between these, Put_* tell the views nothing; the end tells them once about the rows
    // put. Nested pairs count.
    void Begin_Batch();
    void End_Batch();
    // The rows (from 0) the find bar found: their cells are painted with the find colour.
    // Tells the views of the rows whose colour changed, by Qt::BackgroundRole alone.
    void Set_Found_Rows(const QList<int>& rows);
    bool Found(int row) const { return row >= 0 && row < found_.size() && found_.at(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // A user's edit of a cell of the row is about to go in. It and the rules that follow
    // it change that row only.
    void Editing(int row);
    // A user's edit went in and its rules ran.
    void Edited(int row, int column);

protected:
    virtual void Store_Text(int row, int column, const QString& text) = 0;
    virtual void Store_Checked(int row, int column, bool checked) = 0;
    // The user changed the cell (typed, picked or ticked); rules that follow run here.
    virtual void Cell_Edited(int row, int column) { Q_UNUSED(row) Q_UNUSED(column) }
    // What a drop-down cell offers; the columns of a Choice editor ask.
    virtual QStringList Choices(int row, int column) const;
    // Whether a cell of a By_Row column is read-only.
    virtual bool Row_Locked(int row, int column) const;
    virtual Row_Marker Marker(int row) const;

    const AppState& st_;

private:
    void Changed(int row, int column, int role);

    QList<Grid_Column_Desc> columns_;
    int rows_;
    int batch_ = 0;
    int batchFirst_ = -1; // rows put in the batch
    int batchLast_ = -1;
    QList<bool> found_;
};

// The one delegate of an editing grid: a drop-down for the cell being edited only,
// offering the cell's Choices_Role (only those for a Choice column, typed text as well
// for an Editable_Choice one); a picked entry goes in at once, and one picked from the open
// list also closes the editor. Other cells edit as usual.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

// The row helpers' view of a grid model: data cell (col, row) is the model's cell
// (row - 1, col - 1). While it lives the model's views are told nothing; they hear of all
// the rows it changed when it goes.
class ModelGrid final : public IGrid {
public:
    explicit ModelGrid(GridModel* model) : model_(model) { model_->Begin_Batch(); }
    ~ModelGrid() override { model_->End_Batch(); }
    ModelGrid(const ModelGrid&) = delete;
    ModelGrid& operator=(const ModelGrid&) = delete;
    int Row_Count() const override;
    int Col_Count() const override;
    QString Cell_Text(int col, int row) const override;
    void Set_Cell_Text(int col, int row, const QString& text) override;
    bool Is_Check_Cell(int col, int row) const override;
    bool Cell_Checked(int col, int row) const override;
    void Set_Cell_Checked(int col, int row, bool checked) override;
    bool Column_Is_Check_Editor(int col) const override;

private:
    GridModel* model_;
};

// A grid view named name whose headers measure each kind of section once: the view sizes its
// row-number column from the first and last hundred rows on every change of the table,
// which for the 1024-row tables cost more than the rest of the screen's making.
QTableView* Make_Grid_View(QWidget* parent, const char* name);
// Puts the model in the view: the delegate, hidden columns hidden, the header row and
// row-number column shown with the corner cell's text (by string table index), editing by
// F2, typing or double click, Alt+Down or F4 opening a drop-down cell, blocks of cells
// selected with Shift and Ctrl, and the Enter and double-click conveniences.
void Attach_Grid_Model(QTableView* view, GridModel* model, const AppState& st, int cornerText);
// Re-applies the corner text after a language switch.
void Set_Grid_Corner_Text(QTableView* view, const QString& text);

} // namespace swr
