#pragma once

#include "project/GridFind.h"

#include <QList>
#include <QMetaObject>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace swr {

struct AppState;
class GridModel;

// The find bar above a table screen's grid. On the left the text to find, whether case
// counts, the previous and next match and how many rows match; on the right what takes
// the text's place, in which column, and whether in the selected rows only (the screen
// does the replacing). While the bar is open the rows that match carry the find colour,
// and the count follows every change of the grid; closed, the grid shows no colour.
class FindBar : public QWidget {
    Q_OBJECT
public:
    FindBar(const AppState& st, QWidget* parent);
    void Set_Lang();

    // Opens the bar over the grid, searching its model columns columns, and puts the focus
    // in the find field (in the replacing one with replace). The column of the grid's
    // current cell, when it is searched, becomes the column to replace in.
    void Open(QTableView* view, GridModel* model, const QList<int>& columns, bool replace);
    // Takes the colour off the rows and gives the focus back to the grid.
    void Close();
    // Selects the next (previous) matching row after (before) the current one, going round
    // the end of the table.
    void Find_Next();
    void Find_Previous();

    Grid_Search Search() const;
    // The matching rows, from 1 and ascending.
    const QList<int>& Found_Rows() const { return found_; }
    // The model column to replace in; -1 before the bar was opened.
    int Replace_Column() const;
    QString Column_Header(int column) const;

    QLabel* L_Find;
    QLineEdit* E_Find;
    QCheckBox* CB_Match_Case;
    QPushButton* Btn_Find_Previous;
    QPushButton* Btn_Find_Next;
    QLabel* L_Find_Count;
    QLabel* L_Replace;
    QLineEdit* E_Replace;
    QLabel* L_Replace_Column;
    QComboBox* CB_Replace_Column;
    QCheckBox* CB_Replace_Selection;
    QPushButton* Btn_Replace;
    QPushButton* Btn_Find_Close;

private:
    // The text or the case rule changed: the first matching row is selected.
    void Search_Changed();
    // The grid changed: the rows found again, the selection left as it is.
    void Find_Again();
    void Go(int row);
    void Show_Count();
    void Set_Columns_Texts();

    const AppState& st_;
    QTableView* view_ = nullptr;
    GridModel* model_ = nullptr;
    QList<int> columns_;
    QList<int> found_;
    QTimer* again_;
    QList<QMetaObject::Connection> watching_; // the grid's signals
};

} // namespace swr
