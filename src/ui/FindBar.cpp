#include "FindBar.h"

#include "GridModel.h"
#include "TitleStrip.h"
#include "WidgetKit.h"

#include "session/AppState.h"
#include "lang/Texts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QTimer>

#include <initializer_list>

namespace swr {

namespace {

QPushButton* Icon_Button(QWidget* parent, const char* name, Strip_Glyph glyph)
{
    QPushButton* b = Make_Button(parent, name);
    b->setIcon(Strip_Icon(glyph, parent->palette().color(QPalette::ButtonText)));
    b->setFlat(true);
    return b;
}

} // namespace

FindBar::FindBar(const AppState& st, QWidget* parent) : QWidget(parent), st_(st)
{
    setObjectName(QStringLiteral("P_Find"));
    L_Find = Named<QLabel>(this, "L_Find");
    E_Find = Named<QLineEdit>(this, "E_Find");
    // A button that empties the field while it holds text. Qt's own would look the
    // picture up in the desktop's icon theme at every screen's start.
    QAction* clear = E_Find->addAction(Strip_Icon(Strip_Glyph::Close, palette().color(QPalette::Text)),
                                       QLineEdit::TrailingPosition);
    clear->setObjectName(QStringLiteral("A_Find_Clear"));
    clear->setVisible(false);
    connect(E_Find, &QLineEdit::textChanged, clear, [clear](const QString& t) { clear->setVisible(!t.isEmpty()); });
    connect(clear, &QAction::triggered, E_Find, &QLineEdit::clear);
    L_Find->setBuddy(E_Find);
    CB_Match_Case = Named<QCheckBox>(this, "CB_Match_Case");
    Btn_Find_Previous = Icon_Button(this, "Btn_Find_Previous", Strip_Glyph::Up);
    Btn_Find_Next = Icon_Button(this, "Btn_Find_Next", Strip_Glyph::Down);
    L_Find_Count = Named<QLabel>(this, "L_Find_Count");
    L_Replace = Named<QLabel>(this, "L_Replace");
    E_Replace = Named<QLineEdit>(this, "E_Replace");
    L_Replace->setBuddy(E_Replace);
    L_Replace_Column = Named<QLabel>(this, "L_Replace_Column");
    CB_Replace_Column = Named<QComboBox>(this, "CB_Replace_Column");
    L_Replace_Column->setBuddy(CB_Replace_Column);
    CB_Replace_Selection = Named<QCheckBox>(this, "CB_Replace_Selection");
    Btn_Replace = Make_Button(this, "Btn_Replace");
    Btn_Find_Close = Icon_Button(this, "Btn_Find_Close", Strip_Glyph::Close);

    // Finding on the first line, replacing on the second, each label before its field, so
    // that a long translation of either never squeezes the other.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    // The two fields share the room the rest leaves, up to a width that shows long topics.
    for (QLineEdit* e : {E_Find, E_Replace}) {
        e->setMinimumWidth(140);
        e->setMaximumWidth(320);
    }
    const auto line = [grid](int at, QLabel* label, QLineEdit* field, std::initializer_list<QWidget*> rest) {
        grid->addWidget(label, at, 0);
        grid->addWidget(field, at, 1);
        auto* tail = new QHBoxLayout;
        tail->setSpacing(6);
        for (QWidget* w : rest)
            tail->addWidget(w);
        tail->addStretch(1);
        grid->addLayout(tail, at, 2);
    };
    line(0, L_Find, E_Find, {CB_Match_Case, Btn_Find_Previous, Btn_Find_Next, L_Find_Count});
    line(1, L_Replace, E_Replace, {L_Replace_Column, CB_Replace_Column, CB_Replace_Selection, Btn_Replace});
    grid->addWidget(Btn_Find_Close, 0, 3, Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    hide();

    again_ = new QTimer(this);
    again_->setSingleShot(true);
    again_->setInterval(0); // once after a burst of changes
    connect(again_, &QTimer::timeout, this, &FindBar::Find_Again);
    connect(E_Find, &QLineEdit::textChanged, this, &FindBar::Search_Changed);
    connect(CB_Match_Case, &QCheckBox::toggled, this, &FindBar::Search_Changed);
    connect(E_Find, &QLineEdit::returnPressed, this, &FindBar::Find_Next);
    connect(Btn_Find_Next, &QPushButton::clicked, this, &FindBar::Find_Next);
    connect(Btn_Find_Previous, &QPushButton::clicked, this, &FindBar::Find_Previous);
    connect(Btn_Find_Close, &QPushButton::clicked, this, &FindBar::Close);
    // Escape in the bar closes the bar; the screen stays.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &FindBar::Close);
    Btn_Replace->setEnabled(false);
}

void FindBar::Set_Lang()
{
    Apply_Captions(st_, {{L_Find, Txt::Find_Label},
                         {CB_Match_Case, Txt::Find_Match_Case, Txt::Find_Match_Case + 1},
                         {Btn_Find_Previous, -1, Txt::Find_Previous_Hint},
                         {Btn_Find_Next, -1, Txt::Find_Next_Hint},
                         {L_Replace, Txt::Replace_Label},
                         {E_Replace, -1, Txt::Replace_Label + 1},
                         {L_Replace_Column, Txt::Replace_Column},
                         {CB_Replace_Column, -1, Txt::Replace_Column + 1},
                         {CB_Replace_Selection, Txt::Replace_Selection, Txt::Replace_Selection + 1},
                         {Btn_Replace, Txt::Btn_Replace, Txt::Btn_Replace + 1},
                         {Btn_Find_Close, -1, Txt::Find_Close_Hint}});
    Set_Columns_Texts();
    // Room for the longest count, so the bar does not jump while typing.
    L_Find_Count->setMinimumWidth(
        fontMetrics().horizontalAdvance(st_.Get_Lang_Text(Txt::Find_Count).arg(1024).arg(1024)) + 8);
    Show_Count();
}

void FindBar::Set_Columns_Texts()
{
    QStringList headers;
    for (int i = 0; i < CB_Replace_Column->count(); ++i) {
        const QString h = Column_Header(CB_Replace_Column->itemData(i).toInt());
        CB_Replace_Column->setItemText(i, h);
        headers.append(h);
    }
    Apply_Caption(E_Find, QString(), st_.Get_Lang_Text(Txt::Find_Hint).arg(headers.join(QLatin1String(", "))));
}

QString FindBar::Column_Header(int column) const
{
    return model_ ? st_.Get_Lang_Text(model_->Column(column).header) : QString();
}

void FindBar::Open(QTableView* view, GridModel* model, const QList<int>& columns, bool replace)
{
    if (view != view_ || model != model_) {
        for (const QMetaObject::Connection& c : std::as_const(watching_))
            disconnect(c);
        watching_.clear();
        if (model_)
            model_->Set_Found_Rows({});
        view_ = view;
        model_ = model;
        // The colour changes of the find itself are no change of the grid.
        watching_.append(connect(model, &QAbstractItemModel::dataChanged, this,
                                 [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                                     if (roles != QList<int>{Qt::BackgroundRole})
                                         again_->start();
                                 }));
        watching_.append(connect(model, &QAbstractItemModel::modelReset, again_, qOverload<>(&QTimer::start)));
        watching_.append(connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
                                 &FindBar::Show_Count));
    }
    if (columns != columns_) {
        columns_ = columns;
        CB_Replace_Column->clear();
        for (const int c : columns_)
            CB_Replace_Column->addItem(QString(), c);
        Set_Columns_Texts();
    }
    if (const int i = CB_Replace_Column->findData(view_->currentIndex().column()); i >= 0)
        CB_Replace_Column->setCurrentIndex(i);
    show();
    Find_Again();
    QLineEdit* field = replace ? E_Replace : E_Find;
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
}

void FindBar::Close()
{
    hide();
    again_->stop();
    found_.clear();
    if (model_)
        model_->Set_Found_Rows({});
    if (view_)
        view_->setFocus(Qt::OtherFocusReason);
}

Grid_Search FindBar::Search() const
{
    return {E_Find->text(), CB_Match_Case->isChecked()};
}

int FindBar::Replace_Column() const
{
    return CB_Replace_Column->count() > 0 ? CB_Replace_Column->currentData().toInt() : -1;
}

void FindBar::Find_Again()
{
    again_->stop();
    if (isHidden() || !model_)
        return;
    QList<int> grid_columns;
    for (const int c : std::as_const(columns_))
        grid_columns.append(c + 1);
    found_ = Grid_Find_Rows(ModelGrid(model_), grid_columns, Search());
    QList<int> rows;
    rows.reserve(found_.size());
    for (const int r : std::as_const(found_))
        rows.append(r - 1);
    model_->Set_Found_Rows(rows);
    Btn_Replace->setEnabled(!E_Find->text().isEmpty());
    Show_Count();
}

void FindBar::Search_Changed()
{
    Find_Again();
    if (!found_.isEmpty())
        Go(found_.front());
}

void FindBar::Find_Next()
{
    if (again_->isActive())
        Find_Again();
    if (view_)
        Go(Next_Found_Row(found_, view_->currentIndex().row() + 1, false));
}

void FindBar::Find_Previous()
{
    if (again_->isActive())
        Find_Again();
    if (view_) {
        const QModelIndex cur = view_->currentIndex();
        // Without a current row, the previous match is the last one.
        Go(Next_Found_Row(found_, cur.isValid() ? cur.row() + 1 : model_->rowCount() + 1, true));
    }
}

// Selects the row, its first matching cell current.
void FindBar::Go(int row)
{
    if (row <= 0)
        return;
    const Grid_Search search = Search();
    int column = columns_.value(0);
    for (const int c : std::as_const(columns_))
        if (Matches(search, model_->Text(row - 1, c))) {
            column = c;
            break;
        }
    const QModelIndex i = model_->index(row - 1, column);
    view_->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view_->scrollTo(i);
    Show_Count();
}

void FindBar::Show_Count()
{
    if (E_Find->text().isEmpty() || !view_) {
        L_Find_Count->clear();
        return;
    }
    if (found_.isEmpty()) {
        L_Find_Count->setText(st_.Get_Lang_Text(Txt::Find_None));
        return;
    }
    const qsizetype at = found_.indexOf(view_->currentIndex().row() + 1);
    L_Find_Count->setText(at >= 0 ? st_.Get_Lang_Text(Txt::Find_Count).arg(at + 1).arg(found_.size())
                                  : st_.Get_Lang_Text(Txt::Find_Matches).arg(found_.size()));
}

} // namespace swr
