#include "TableScreen.h"

#include "DataAreaMap.h"
#include "GridHelpers.h"
#include "GridModel.h"

#include "session/AppState.h"
#include "project/GridRows.h"
#include "base/Messages.h"
#include "lang/Texts.h"
#include "project/ProjectFile.h"

#include <QAbstractItemDelegate>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace swr {

namespace {

// The row helpers of each form, as the row buttons call them.
struct Row_Helpers {
    void (*delete_row)(IGrid&, int);
    void (*insert_row)(IGrid&, int);
    void (*copy_row)(const IGrid&, int, AppState&);
    void (*paste_row)(IGrid&, int, bool, AppState&, IMessages&);
};

constexpr Row_Helpers Text_Rows{
    Grid_Delete_Row,
    [](IGrid& g, int row) { Grid_Insert_Row(g, row, false); },
    [](const IGrid& g, int row, AppState& st) { Grid_Copy_Row(g, row, st.Row_Clipboard, st.Row_Clipboard_Check); },
    [](IGrid& g, int row, bool copied, AppState& st, IMessages& msg) {
        Grid_Paste_Row(g, row, copied, st.Row_Clipboard, st, msg);
    },
};

constexpr Row_Helpers Check_Box_Rows{
    [](IGrid& g, int row) { Grid_Delete_Row_Check(g, row, true); },
    [](IGrid& g, int row) { Grid_Insert_Row_Check(g, row, true); },
    [](const IGrid& g, int row, AppState& st) { Grid_Copy_Row_Check(g, row, st.Row_Clipboard, st.Row_Clipboard_Check); },
    [](IGrid& g, int row, bool copied, AppState& st, IMessages& msg) {
        Grid_Paste_Row_Check(g, row, copied, st.Row_Clipboard, st.Row_Clipboard_Check, st, msg);
    },
};

const Row_Helpers& Helpers_Of(Row_Form form) { return form == Row_Form::Check_Box ? Check_Box_Rows : Text_Rows; }

} // namespace

TableScreen::TableScreen(AppState& st, IMessages& msg, const Table_Screen_Setup& setup, QWidget* parent)
    : QDialog(parent), st_(st), msg_(msg), setup_(setup)
{
}

void TableScreen::Add_Grid(const Table_Grid& grid)
{
    Attach_Grid_Model(grid.view, grid.model, st_, grid.corner);
    grids_.append(grid);
}

QHBoxLayout* TableScreen::Button_Bar(QWidget* after, std::initializer_list<QPushButton*> extra, int gap)
{
    L_Status = Named<QLabel>(this, "L_Status");
    const struct {
        QPushButton** button;
        const char* name;
        void (TableScreen::*click)();
    } buttons[] = {
        {&Btn_DelRow, "Btn_DelRow", &TableScreen::Btn_DelRowClick},
        {&Btn_InsRow, "Btn_InsRow", &TableScreen::Btn_InsRowClick},
        {&Btn_CopyRow, "Btn_CopyRow", &TableScreen::Btn_CopyRowClick},
        {&Btn_PasteRow, "Btn_PasteRow", &TableScreen::Btn_PasteRowClick},
        {&Btn_DataArea, "Btn_DataArea", &TableScreen::Btn_DataAreaClick},
        {&Btn_OK, "Btn_OK", &TableScreen::Btn_OKClick},
        {&Btn_Cancel, "Btn_Cancel", nullptr},
    };
    for (const auto& b : buttons) {
        *b.button = Make_Button(this, b.name);
        if (b.click)
            connect(*b.button, &QPushButton::clicked, this, b.click);
    }
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* bar = new QHBoxLayout;
    QList<QPushButton*> order = {Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow, Btn_DataArea};
    order.append(extra);
    for (QPushButton* b : order)
        bar->addWidget(b);
    if (gap > 0)
        bar->addSpacing(gap);
    else
        bar->addStretch(1);
    bar->addWidget(Btn_OK);
    bar->addWidget(Btn_Cancel);
    order << Btn_OK << Btn_Cancel;
    for (QWidget* w : order) {
        setTabOrder(after, w);
        after = w;
    }
    return bar;
}

void TableScreen::Set_Lang()
{
    const int t = setup_.first_text;
    setWindowTitle(st_.Get_Lang_Text(t));
    Set_Title_Strip(P_Title, st_, st_.Get_Lang_Text(t + 1));
    Apply_Captions(st_, {{Btn_OK, t + 2, t + 8},
                         {Btn_Cancel, t + 3, t + 9},
                         {Btn_DelRow, t + 4, t + 10},
                         {Btn_InsRow, t + 5, t + 11},
                         {Btn_CopyRow, t + 6, t + 12},
                         {Btn_PasteRow, t + 7, t + 13},
                         {Btn_DataArea, Txt::Map_Button, Txt::Map_Button + 1}});
    for (const Table_Grid& g : grids_) {
        Set_Grid_Corner_Text(g.view, st_.Get_Lang_Text(g.corner));
        g.view->setAccessibleName(st_.Get_Lang_Text(g.name));
        g.model->Refresh(); // headers, hints and markers are read from the table as shown
        Fit_Column_Titles(g.view);
    }
    Update_Status();
}

bool TableScreen::Report_Load(const FileResult& r)
{
    if (!r.ok) {
        msg_.Show_Error(r.message);
        return false;
    }
    for (const QString& n : r.notices)
        msg_.Show_Warning(n);
    return true;
}

QTableView* TableScreen::Shown_Grid() const { return grids_.front().view; }

const Table_Grid& TableScreen::Grid_Of(const QTableView* view) const
{
    for (const Table_Grid& g : grids_)
        if (g.view == view)
            return g;
    return grids_.front();
}

int TableScreen::Current_Row() const
{
    const QModelIndex cur = Shown_Grid()->currentIndex();
    return cur.isValid() ? cur.row() + 1 : 0;
}

void TableScreen::Commit_Edit()
{
    // The editor open in the current cell puts its text in and closes; the cell stays
    // current and selected.
    QTableView* grid = Shown_Grid();
    const QModelIndex cur = grid->currentIndex();
    if (QWidget* editor = grid->indexWidget(cur)) {
        QAbstractItemDelegate* delegate = grid->itemDelegateForIndex(cur);
        emit delegate->commitData(editor);
        emit delegate->closeEditor(editor);
    }
}

void TableScreen::Btn_OKClick()
{
    Commit_Edit();
    // A refused table writes nothing and the screen stays open on the cell of the first
    // fault, when its table is the one shown.
    Check_Save_Accept(
        this, msg_, Check(),
        [this](const Check_Finding& e) {
            if (e.table < grids_.size() && grids_[e.table].view == Shown_Grid())
                Shown_Grid()->setCurrentIndex(grids_[e.table].model->index(e.row - 1, e.column - 1));
        },
        [this] { return Save(); });
}

void TableScreen::On_Current_Row(const std::function<void(IGrid&, int)>& op)
{
    Commit_Edit();
    const int row = Current_Row();
    if (row < 1)
        return;
    {
        ModelGrid g(Grid_Of(Shown_Grid()).model); // tells the views once, when the rows have moved
        op(g, row);
    }
    Update_Status();
}

void TableScreen::Btn_DelRowClick()
{
    On_Current_Row([this](IGrid& g, int row) {
        if (msg_.Ask_Yes_No(st_.Get_Lang_Text(setup_.delete_question) + QString::number(row)))
            Helpers_Of(setup_.form).delete_row(g, row);
    });
}

void TableScreen::Btn_InsRowClick()
{
    On_Current_Row([this](IGrid& g, int row) { Helpers_Of(setup_.form).insert_row(g, row); });
}

void TableScreen::Btn_CopyRowClick()
{
    On_Current_Row([this](IGrid& g, int row) {
        Helpers_Of(setup_.form).copy_row(g, row, st_);
        // The copy counts for this grid only: the screen's other grid still has none to paste.
        for (const Table_Grid& t : grids_)
            *t.copied = t.view == Shown_Grid();
    });
}

void TableScreen::Btn_PasteRowClick()
{
    On_Current_Row([this](IGrid& g, int row) {
        Helpers_Of(setup_.form).paste_row(g, row, *Grid_Of(Shown_Grid()).copied, st_, msg_);
    });
}

void TableScreen::Btn_DataAreaClick()
{
    Commit_Edit();
    Data_Area_Map map;
    const FileResult r = Build_Map(map);
    if (!r.ok) {
        msg_.Show_Error(r.message);
        return;
    }
    Show_Data_Area_Map(this, st_, std::move(map), grids_.front().view,
                       [rows = setup_.map_rows](const Map_Finding& f) { return (f.*rows).value(0); });
}

} // namespace swr
