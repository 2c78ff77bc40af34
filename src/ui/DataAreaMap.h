#pragma once

#include "WidgetKit.h"

#include "project/DataAreaMap.h"

#include <QDialog>
#include <QWidget>

#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
class QTableView;

namespace swr {

struct AppState;

// The 2000 bytes of the data area, 50 to a line, each coloured by what holds it. The
// arrow keys, Home, End, Page Up and Page Down move the current byte.
class Data_Area_Grid : public QWidget {
    Q_OBJECT
public:
    static constexpr int Columns = 50;
    static constexpr int Lines = Data_Area_Size / Columns;

    explicit Data_Area_Grid(QWidget* parent = nullptr);
    void Set_Map(const Data_Area_Map* map);
    int Current_Byte() const { return current_; }
    void Set_Current_Byte(int b);
    int Byte_At(QPoint p) const; // -1 outside the bytes
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void Byte_Shown(int b); // hovered, or made current

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;

private:
    QRect Cell(int b) const;
    int Label_Width() const;

    const Data_Area_Map* map_ = nullptr;
    int current_ = 0;
};

// How a byte state is drawn: a fill and, so that the states differ without colour too,
// brightness steps and a hatch.
struct Byte_Look {
    QColor fill;
    Qt::BrushStyle pattern;
    QColor pattern_colour;
};
const Byte_Look& Look_Of(Byte_State s);
void Paint_Byte(QPainter& p, const QRect& r, Byte_State s);

// The map window. choose is called with the finding the user picks; when it selects the
// finding's row it yields true and the window closes.
class TFData_Area_Map : public QDialog, public ILangScreen {
    Q_OBJECT
public:
    TFData_Area_Map(const AppState& st, Data_Area_Map map, std::function<bool(const Map_Finding&)> choose,
                    QWidget* parent = nullptr);
    void Set_Lang() override;
    void Choose_Finding(int i);
    const AppState& st() const;

    const Data_Area_Map Map;
    TitleStrip* P_Title;
    Data_Area_Grid* Map_Grid;
    QLabel* L_Byte;
    QWidget* P_Legend;
    QLabel* L_Findings;
    QListWidget* LB_Findings;
    QPushButton* Btn_Close;

protected:
    void showEvent(QShowEvent* e) override;

private:
    const AppState& st_;
    std::function<bool(const Map_Finding&)> choose_;
    QList<QLabel*> legend_;
};

// Builds the map window over parent and shows it modally. A finding chosen selects the row
// row_of gives for it (from 1) in grid, keeping the grid's column, and closes the map;
// row_of gives 0 for a finding without a row in grid.
void Show_Data_Area_Map(QWidget* parent, const AppState& st, Data_Area_Map map, QTableView* grid,
                        std::function<int(const Map_Finding&)> row_of);

} // namespace swr
