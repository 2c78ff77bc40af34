#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

class QTableView;

namespace swr {

// A column that takes a share of the room a grid has beyond what its columns need.
struct Room_Column {
    int column; // model column
    int weight = 1;
};

// Lays out the widths of a grid's shown columns: each fits its header, its content (its
// longest texts, measured once per opening) and, for a drop-down, the entries it offers;
// the room columns share what the viewport has left over, so a larger window widens them. The user can still widen any column;
// once they have, their widths stay and only the last column follows the window, until
// the next opening.
class GridFit : public QObject {
public:
    GridFit(QTableView* view, QList<Room_Column> room);

    // Texts a column needs room for whatever it holds now (the widest value that can come).
    void Set_Samples(int column, QStringList samples);
    // Measures headers and content anew and lays the widths out: at every opening.
    void Fit_Content();
    bool User_Sized() const { return user_sized_; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    int Content_Width(int column) const;
    int Last_Shown() const; // the last column shown, by model column; -1 for none
    // resizing: called while the viewport changes size.
    void Lay_Out(bool resizing);

    QTableView* view_;
    QList<Room_Column> room_;
    QHash<int, QStringList> samples_;
    QList<int> header_; // by model column: what the header needs; content_ what the cells need
    QList<int> content_;
    bool laying_out_ = false;
    bool user_sized_ = false;
};

} // namespace swr
