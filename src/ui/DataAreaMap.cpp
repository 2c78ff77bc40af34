#include "DataAreaMap.h"

#include "session/AppState.h"
#include "lang/Texts.h"

#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace swr {

namespace {

constexpr int Cell_Size = 14; // pixels a byte takes at the window's first size

// Free is white, filled light, filled and published dark; the two faults carry hatches.
const Byte_Look Looks[] = {
    {QColor(255, 255, 255), Qt::NoBrush, {}},                           // Free
    {QColor(158, 202, 225), Qt::NoBrush, {}},                           // Filled
    {QColor(33, 102, 172), Qt::NoBrush, {}},                            // Filled and published
    {QColor(254, 217, 118), Qt::BDiagPattern, QColor(0, 0, 0)},          // Published, not filled
    {QColor(203, 24, 29), Qt::DiagCrossPattern, QColor(255, 255, 255)}, // Conflict
};

QPixmap Swatch(int size, Byte_State s)
{
    QPixmap pm(size, size);
    QPainter p(&pm);
    Paint_Byte(p, QRect(0, 0, size, size), s);
    p.setPen(Qt::gray);
    p.drawRect(0, 0, size - 1, size - 1);
    return pm;
}

} // namespace

const Byte_Look& Look_Of(Byte_State s)
{
    return Looks[size_t(s)];
}

void Paint_Byte(QPainter& p, const QRect& r, Byte_State s)
{
    const Byte_Look& l = Look_Of(s);
    p.fillRect(r, l.fill);
    if (l.pattern != Qt::NoBrush)
        p.fillRect(r, QBrush(l.pattern_colour, l.pattern));
}

Data_Area_Grid::Data_Area_Grid(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void Data_Area_Grid::Set_Map(const Data_Area_Map* map)
{
    map_ = map;
    update();
}

int Data_Area_Grid::Label_Width() const
{
    return fontMetrics().horizontalAdvance(QStringLiteral("1950")) + 8;
}

QSize Data_Area_Grid::sizeHint() const
{
    return {Label_Width() + Columns * Cell_Size + 2, Lines * Cell_Size + 2};
}

QSize Data_Area_Grid::minimumSizeHint() const
{
    return {Label_Width() + Columns * 8, Lines * 8};
}

QRect Data_Area_Grid::Cell(int b) const
{
    // Square bytes, as large as the widget allows.
    const int s = std::max(4, std::min((width() - Label_Width() - 2) / Columns, (height() - 2) / Lines));
    return {Label_Width() + (b % Columns) * s, 1 + (b / Columns) * s, s, s};
}

int Data_Area_Grid::Byte_At(QPoint pos) const
{
    const QRect first = Cell(0);
    if (pos.x() < first.left() || pos.y() < first.top())
        return -1;
    const int c = (pos.x() - first.left()) / first.width(), l = (pos.y() - first.top()) / first.height();
    return c < Columns && l < Lines ? l * Columns + c : -1;
}

void Data_Area_Grid::Set_Current_Byte(int b)
{
    b = std::clamp(b, 0, Data_Area_Size - 1);
    if (b != current_) {
        update(Cell(current_).adjusted(-2, -2, 2, 2));
        current_ = b;
        update(Cell(current_).adjusted(-2, -2, 2, 2));
    }
    emit Byte_Shown(b);
}

void Data_Area_Grid::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRect first = Cell(0);
    p.setPen(palette().color(QPalette::WindowText));
    for (int l = 0; l < Lines; l += 5)
        p.drawText(QRect(0, first.top() + l * first.height(), Label_Width() - 6, first.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(l * Columns));
    for (int b = 0; b < Data_Area_Size; ++b) {
        const QRect r = Cell(b);
        if (!e->rect().intersects(r))
            continue;
        Paint_Byte(p, r, map_ ? map_->bytes[size_t(b)] : Byte_State::Free);
    }
    // Lines every byte, darker every ten bytes and every five lines.
    const QRect all(first.topLeft(), Cell(Data_Area_Size - 1).bottomRight());
    for (int c = 0; c <= Columns; ++c) {
        p.setPen(c % 10 ? QColor(200, 200, 200) : QColor(90, 90, 90));
        const int x = first.left() + c * first.width();
        p.drawLine(x, all.top(), x, all.bottom() + 1);
    }
    for (int l = 0; l <= Lines; ++l) {
        p.setPen(l % 5 ? QColor(200, 200, 200) : QColor(90, 90, 90));
        const int y = first.top() + l * first.height();
        p.drawLine(all.left(), y, all.right() + 1, y);
    }
    if (hasFocus()) {
        const QRect r = Cell(current_).adjusted(-1, -1, 1, 1);
        p.setPen(QPen(Qt::black, 3));
        p.drawRect(r);
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(r);
    }
}

void Data_Area_Grid::keyPressEvent(QKeyEvent* e)
{
    int b = current_;
    switch (e->key()) {
    case Qt::Key_Left: b -= 1; break;
    case Qt::Key_Right: b += 1; break;
    case Qt::Key_Up: b -= Columns; break;
    case Qt::Key_Down: b += Columns; break;
    case Qt::Key_PageUp: b -= 10 * Columns; break;
    case Qt::Key_PageDown: b += 10 * Columns; break;
    case Qt::Key_Home: b = e->modifiers() & Qt::ControlModifier ? 0 : b - b % Columns; break;
    case Qt::Key_End: b = e->modifiers() & Qt::ControlModifier ? Data_Area_Size - 1 : b - b % Columns + Columns - 1; break;
    default: QWidget::keyPressEvent(e); return;
    }
    Set_Current_Byte(b);
}

void Data_Area_Grid::mousePressEvent(QMouseEvent* e)
{
    if (const int b = Byte_At(e->position().toPoint()); b >= 0)
        Set_Current_Byte(b);
    QWidget::mousePressEvent(e);
}

void Data_Area_Grid::mouseMoveEvent(QMouseEvent* e)
{
    if (const int b = Byte_At(e->position().toPoint()); b >= 0)
        emit Byte_Shown(b);
    QWidget::mouseMoveEvent(e);
}

bool Data_Area_Grid::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        auto* h = static_cast<QHelpEvent*>(e);
        const int b = Byte_At(h->pos());
        const auto* dlg = qobject_cast<TFData_Area_Map*>(window());
        if (b >= 0 && dlg)
            QToolTip::showText(h->globalPos(), Byte_Description(dlg->st(), *map_, b), this, Cell(b));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

TFData_Area_Map::TFData_Area_Map(const AppState& st, Data_Area_Map map,
                                 std::function<bool(const Map_Finding&)> choose, QWidget* parent)
    : QDialog(parent), Map(std::move(map)), st_(st), choose_(std::move(choose))
{
    setObjectName(QStringLiteral("TFData_Area_Map"));
    setModal(true);
    QVBoxLayout* outer = Screen_Layout(this, &P_Title);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 6, 8, 8);
    body->setSpacing(6);
    auto* top = new QHBoxLayout;
    Map_Grid = Named<Data_Area_Grid>(this, "Map_Grid");
    Map_Grid->Set_Map(&Map);
    top->addWidget(Map_Grid, 1);

    auto* side = new QVBoxLayout;
    P_Legend = Named<QWidget>(this, "P_Legend");
    auto* legend = new QVBoxLayout(P_Legend);
    legend->setContentsMargins(0, 0, 0, 0);
    for (int s = 0; s < int(std::size(Looks)); ++s) {
        auto* row = new QHBoxLayout;
        auto* swatch = new QLabel(P_Legend);
        swatch->setPixmap(Swatch(18, Byte_State(s)));
        auto* text = new QLabel(P_Legend);
        legend_.append(text);
        row->addWidget(swatch);
        row->addWidget(text, 1);
        legend->addLayout(row);
    }
    side->addWidget(P_Legend);
    L_Byte = Named<QLabel>(this, "L_Byte");
    L_Byte->setWordWrap(true);
    L_Byte->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    L_Byte->setMinimumWidth(300);
    L_Byte->setTextInteractionFlags(Qt::TextSelectableByMouse);
    side->addSpacing(8);
    side->addWidget(L_Byte, 1);
    top->addLayout(side);
    body->addLayout(top, 1);

    L_Findings = Named<QLabel>(this, "L_Findings");
    body->addWidget(L_Findings);
    LB_Findings = Named<QListWidget>(this, "LB_Findings");
    L_Findings->setBuddy(LB_Findings);
    LB_Findings->setMinimumHeight(110);
    body->addWidget(LB_Findings);
    Btn_Close = Make_Button(this, "Btn_Close");
    body->addLayout(Button_Row({Btn_Close}));
    outer->addLayout(body, 1);

    connect(Map_Grid, &Data_Area_Grid::Byte_Shown, this,
            [this](int b) { L_Byte->setText(Byte_Description(st_, Map, b)); });
    connect(LB_Findings, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { Choose_Finding(LB_Findings->row(item)); });
    connect(Btn_Close, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(Map_Grid, LB_Findings);
    setTabOrder(LB_Findings, Btn_Close);
    Set_Lang();
    resize(Map_Grid->sizeHint().width() + 360, Map_Grid->sizeHint().height() + 260);
    Map_Grid->setFocus();
}

const AppState& TFData_Area_Map::st() const
{
    return st_;
}

void TFData_Area_Map::Set_Lang()
{
    setWindowTitle(st_.Get_Lang_Text(Txt::Map_Title));
    Set_Title_Strip(P_Title, st_, st_.Get_Lang_Text(Txt::Map_Title));
    Apply_Captions(st_, {{L_Findings, Txt::Map_Findings, -1}, {Btn_Close, Txt::Map_Close, Txt::Map_Close + 1}});
    Map_Grid->setAccessibleName(st_.Get_Lang_Text(Txt::Map_Title));
    for (int s = 0; s < legend_.size(); ++s)
        legend_[s]->setText(st_.Get_Lang_Text(Txt::Map_Legend + s));
    LB_Findings->clear();
    for (const Map_Finding& f : Map.findings)
        LB_Findings->addItem(f.text);
    if (Map.findings.isEmpty())
        LB_Findings->addItem(st_.Get_Lang_Text(Txt::Map_No_Findings));
    LB_Findings->setCurrentRow(0);
    L_Byte->setText(Byte_Description(st_, Map, Map_Grid->Current_Byte()));
}

void TFData_Area_Map::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    // The keys work on the bytes first.
    Map_Grid->setFocus(Qt::OtherFocusReason);
}

void TFData_Area_Map::Choose_Finding(int i)
{
    if (i < 0 || i >= Map.findings.size())
        return;
    if (choose_ && choose_(Map.findings[i]))
        accept();
}

void Show_Data_Area_Map(QWidget* parent, const AppState& st, Data_Area_Map map, QTableView* grid,
                        std::function<int(const Map_Finding&)> row_of)
{
    TFData_Area_Map w(st, std::move(map), [&](const Map_Finding& f) {
        const int row = row_of(f);
        if (row < 1)
            return false;
        const QModelIndex at = grid->model()->index(row - 1, std::max(grid->currentIndex().column(), 0));
        grid->setCurrentIndex(at);
        grid->scrollTo(at);
        grid->setFocus(Qt::OtherFocusReason);
        return true;
    }, parent);
    w.exec();
}

} // namespace swr
