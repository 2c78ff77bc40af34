#include "TableScreen.h"

#include "DataAreaMap.h"
#include "FindBar.h"
#include "GridModel.h"
#include "UndoSteps.h"

#include "session/AppState.h"
#include "project/GridFind.h"
#include "project/GridRows.h"
#include "base/Files.h"
#include "base/Messages.h"
#include "lang/FileTexts.h"
#include "lang/Texts.h"
#include "project/ProjectFile.h"

#include <QAbstractItemDelegate>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QUndoStack>

#include <algorithm>

namespace swr {

namespace {

// A key of the screen: key itself, then whatever the platform binds to the standard key.
void Add_Key(QWidget* screen, const QKeySequence& key, QKeySequence::StandardKey standard,
             const std::function<void()>& run)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    if (!keys.contains(key))
        keys.prepend(key);
    auto* s = new QShortcut(screen);
    s->setKeys(keys);
    QObject::connect(s, &QShortcut::activated, screen, run);
}

QString Ask_File(QWidget* parent, const File_Choice& c)
{
    QFileDialog dialog(parent, c.title, QFileInfo(c.suggested).path(), c.filter);
    dialog.setAcceptMode(c.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(c.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (c.save) {
        dialog.setDefaultSuffix(QStringLiteral("csv"));
        dialog.selectFile(c.suggested);
    }
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

} // namespace

TableScreen::TableScreen(AppState& st, IMessages& msg, const Table_Screen_Setup& setup, QWidget* parent)
    : QDialog(parent), Undo_Stack(new QUndoStack(this)), st_(st), msg_(msg), setup_(setup)
{
    // Each step holds the rows it changed; a hundred full tables of the topic screen take
    // about 30 MiB.
    Undo_Stack->setUndoLimit(100);
    Attach_Undo_Keys(this, [this] { Undo_Change(); }, [this] { Redo_Change(); });
    auto* fill = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_D), this);
    connect(fill, &QShortcut::activated, this, &TableScreen::Fill_Down);
    Add_Key(this, QKeySequence(Qt::CTRL | Qt::Key_F), QKeySequence::Find, [this] { Open_Find(false); });
    Add_Key(this, QKeySequence(Qt::CTRL | Qt::Key_H), QKeySequence::Replace, [this] { Open_Find(true); });
    Add_Key(this, QKeySequence(Qt::Key_F3), QKeySequence::FindNext, [this] { Find_Next(); });
    Add_Key(this, QKeySequence(Qt::SHIFT | Qt::Key_F3), QKeySequence::FindPrevious, [this] { Find_Previous(); });
    Choose_File = [this](const File_Choice& c) { return Ask_File(this, c); };
}

TableScreen::~TableScreen() = default;

void TableScreen::Scalable(QSize size)
{
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    setMinimumSize(QSize(0, 0));
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // No smaller than the buttons and a few rows need.
    setMinimumSize(layout()->minimumSize().expandedTo(QSize(480, 240)).boundedTo(size));
    resize(size);
}

int TableScreen::Exec_Screen(const std::function<bool()>& load)
{
    return Exec_After_Load(this, load, [this](QWidget* w) { Restore_Place(w, st_.Screen_Places); });
}

void TableScreen::done(int r)
{
    Keep_Place(this, st_.Screen_Places);
    QDialog::done(r);
}

void TableScreen::Add_Grid(const Table_Grid& grid)
{
    Attach_Grid_Model(grid.view, grid.model, st_, grid.corner);
    grids_.append(grid);
    connect(grid.model, &GridModel::Editing, this, [this, i = grids_.size() - 1](int row) { Editing(grids_[i], row); });
    connect(grid.model, &GridModel::Edited, this, &TableScreen::Edited);
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
        {&Btn_Export, "Btn_Export", &TableScreen::Btn_ExportClick},
        {&Btn_Import, "Btn_Import", &TableScreen::Btn_ImportClick},
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
    QList<QPushButton*> order = {Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow, Btn_DataArea, Btn_Export, Btn_Import};
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

FindBar* TableScreen::Make_Find_Bar()
{
    P_Find = new FindBar(st_, this);
    connect(P_Find->Btn_Replace, &QPushButton::clicked, this, &TableScreen::Btn_ReplaceClick);
    return P_Find;
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
                         {Btn_DataArea, Txt::Map_Button, Txt::Map_Button + 1},
                         {Btn_Export, Txt::Btn_Export, Txt::Btn_Export + 1},
                         {Btn_Import, Txt::Btn_Import, Txt::Btn_Import + 1}});
    if (P_Find)
        P_Find->Set_Lang();
    for (const Table_Grid& g : grids_) {
        Set_Grid_Corner_Text(g.view, st_.Get_Lang_Text(g.corner));
        g.view->setAccessibleName(st_.Get_Lang_Text(g.name));
        g.model->Refresh(); // headers, hints and markers are read from the table as shown
    }
    Update_Status();
}

bool TableScreen::Report_Load(const FileResult& r)
{
    Undo_Stack->clear();
    if (P_Find)
        P_Find->Close(); // each showing opens without the bar; its text stays
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

QList<int> TableScreen::Selected_Rows() const
{
    QList<int> rows;
    for (const QItemSelectionRange& r : Shown_Grid()->selectionModel()->selection())
        for (int row = r.top(); row <= r.bottom(); ++row)
            rows.append(row + 1);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty() && Current_Row() > 0)
        rows.append(Current_Row());
    return rows;
}

QList<int> TableScreen::Rows_To_Change()
{
    Commit_Edit();
    return Selected_Rows();
}

int TableScreen::Last_Row() const { return Shown_Grid()->model()->rowCount(); }

std::unique_ptr<Rows_Step> TableScreen::Start_Step(const Table_Grid& grid, int first, int last, int name)
{
    return std::make_unique<Rows_Step>(st_.Get_Lang_Text(name), grid.view, grid.model, setup_.form, first, last,
                                       [this] { Update_Status(); });
}

void TableScreen::Change_Rows(QTableView* view, int first, int last, int name,
                              const std::function<void(IGrid&)>& change)
{
    const Table_Grid& grid = Grid_Of(view);
    std::unique_ptr<Rows_Step> step = Start_Step(grid, first, last, name);
    changing_ = true;
    {
        ModelGrid g(grid.model); // tells the views once, when the rows have moved
        change(g);
    }
    changing_ = false;
    Push(std::move(step));
    Update_Status();
}

void TableScreen::Push(std::unique_ptr<Rows_Step> step)
{
    if (step->Took_Effect())
        Undo_Stack->push(step.release());
}

void TableScreen::Editing(const Table_Grid& grid, int row)
{
    if (!changing_)
        editing_ = Start_Step(grid, row + 1, row + 1, Txt::Step_Edit);
}

void TableScreen::Edited()
{
    if (editing_)
        Push(std::move(editing_));
}

void TableScreen::Btn_DelRowClick()
{
    const QList<int> rows = Rows_To_Change();
    if (rows.isEmpty())
        return;
    const QString question = rows.size() == 1
                                 ? st_.Get_Lang_Text(setup_.delete_question) + QString::number(rows.front())
                                 : st_.Get_Lang_Text(Txt::Delete_Rows_Question).arg(rows.size());
    if (!msg_.Ask_Yes_No(question))
        return;
    Change_Rows(Shown_Grid(), rows.front(), Last_Row(), Txt::Step_Delete_Rows, [&](IGrid& g) {
        Grid_Delete_Rows(g, setup_.form, rows, setup_.form == Row_Form::Check_Box);
    });
}

void TableScreen::Btn_InsRowClick()
{
    const QList<int> rows = Rows_To_Change();
    if (rows.isEmpty())
        return;
    Change_Rows(Shown_Grid(), rows.front(), Last_Row(), Txt::Step_Insert_Rows, [&](IGrid& g) {
        Grid_Insert_Rows(g, setup_.form, rows.front(), int(rows.size()), setup_.form == Row_Form::Check_Box);
    });
}

void TableScreen::Btn_CopyRowClick()
{
    const QList<int> rows = Rows_To_Change();
    if (rows.isEmpty())
        return;
    Grid_Copy_Rows(ModelGrid(Grid_Of(Shown_Grid()).model), setup_.form, rows, st_.Row_Clipboard,
                   st_.Row_Clipboard_Below, st_.Row_Clipboard_Check);
    // The copy counts for this grid only: the screen's other grid still has none to paste.
    for (const Table_Grid& t : grids_)
        *t.copied = t.view == Shown_Grid();
}

void TableScreen::Btn_PasteRowClick()
{
    const QList<int> rows = Rows_To_Change();
    if (rows.isEmpty())
        return;
    // The block goes from the first selected row down; a block that does not fit is
    // refused before it touches a row.
    const int row = rows.front();
    const int last = qMin(Last_Row(), row + int(st_.Row_Clipboard_Below.size()));
    Change_Rows(Shown_Grid(), row, last, Txt::Step_Paste_Rows, [&](IGrid& g) {
        Grid_Paste_Rows(g, setup_.form, row, *Grid_Of(Shown_Grid()).copied, st_.Row_Clipboard,
                        st_.Row_Clipboard_Below, st_.Row_Clipboard_Check, st_, msg_);
    });
}

void TableScreen::Fill_Down()
{
    Commit_Edit();
    QTableView* view = Shown_Grid();
    const QModelIndexList cells = view->selectionModel()->selectedIndexes();
    int top = -1, bottom = -1;
    bool one_column = cells.size() > 1;
    for (const QModelIndex& i : cells) {
        one_column = one_column && i.column() == cells.front().column();
        top = top < 0 ? i.row() : qMin(top, i.row());
        bottom = qMax(bottom, i.row());
    }
    if (!one_column) {
        msg_.Show_Error(st_.Get_Lang_Text(Txt::Fill_Down_One_Column));
        return;
    }
    // Each cell below takes the top cell's value as if the user put it there: the cells
    // that would refuse it keep theirs, and the rules that follow an edit run.
    GridModel* model = Grid_Of(view).model;
    const int column = cells.front().column();
    const int role = model->Column(column).editor == Cell_Editor::Check ? Qt::CheckStateRole : Qt::EditRole;
    const QVariant value = model->index(top, column).data(role);
    Change_Rows(view, top + 2, bottom + 1, Txt::Step_Fill_Down, [&](IGrid&) {
        for (const QModelIndex& i : cells)
            if (i.row() != top)
                model->setData(i, value, role);
    });
}

void TableScreen::Undo_Change()
{
    Commit_Edit();
    Undo_Stack->undo();
}

void TableScreen::Redo_Change()
{
    Commit_Edit();
    Undo_Stack->redo();
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


void TableScreen::Open_Find(bool replace)
{
    const Table_Grid& grid = Grid_Of(Shown_Grid());
    if (!P_Find || grid.find_columns.isEmpty())
        return;
    Commit_Edit();
    if (P_Find->isHidden())
        P_Find->CB_Replace_Selection->setChecked(Selected_Rows().size() > 1);
    P_Find->Open(grid.view, grid.model, grid.find_columns, replace);
}

void TableScreen::Find_Next()
{
    if (P_Find && P_Find->isHidden())
        Open_Find(false);
    if (P_Find && !P_Find->isHidden())
        P_Find->Find_Next();
}

void TableScreen::Find_Previous()
{
    if (P_Find && P_Find->isHidden())
        Open_Find(false);
    if (P_Find && !P_Find->isHidden())
        P_Find->Find_Previous();
}

void TableScreen::Btn_ReplaceClick()
{
    Commit_Edit();
    const Table_Grid& grid = Grid_Of(Shown_Grid());
    const Grid_Search search = P_Find->Search();
    const int column = P_Find->Replace_Column();
    if (search.text.isEmpty() || column < 0)
        return;
    const bool selected = P_Find->CB_Replace_Selection->isChecked();
    QList<int> rows = selected ? Selected_Rows() : QList<int>{};
    if (!selected)
        for (int r = 1; r <= grid.model->rowCount(); ++r)
            rows.append(r);
    const QString with = P_Find->E_Replace->text();
    const QList<Cell_Change> changes = Grid_Replaced_Cells(ModelGrid(grid.model), column + 1, rows, search, with);
    const QString header = P_Find->Column_Header(column);
    if (changes.isEmpty()) {
        msg_.Show_Info(st_.Get_Lang_Text(Txt::Replace_Nothing).arg(header, search.text));
        return;
    }
    // One pass over the placeholders: a found text may itself hold "%4".
    const QString question = st_.Get_Lang_Text(selected ? Txt::Replace_Question_Selected : Txt::Replace_Question)
                                 .arg(search.text, with, header, QString::number(changes.size()));
    if (!msg_.Ask_Yes_No(question))
        return;
    // Each cell takes its new text as if typed there, so the rules that follow an edit run.
    Change_Rows(grid.view, changes.front().row, changes.back().row, Txt::Step_Replace, [&](IGrid&) {
        for (const Cell_Change& c : changes)
            grid.model->setData(grid.model->index(c.row - 1, column), c.text, Qt::EditRole);
    });
}

QString TableScreen::Ask_Csv_File(bool save)
{
    Commit_Edit();
    const QFileInfo project_file(st_.*setup_.file);
    return Choose_File({st_.Get_Lang_Text(save ? Txt::Export_Title : Txt::Import_Title),
                        st_.Get_Lang_Text(Txt::Csv_File_Filter),
                        project_file.dir().filePath(project_file.completeBaseName() + QLatin1String(".csv")), save});
}

void TableScreen::Btn_ExportClick()
{
    const QString path = Ask_Csv_File(true);
    if (path.isEmpty())
        return;
    QString reason;
    if (!Write_File_Atomic(path, Table_Csv_Bytes(), &reason))
        msg_.Show_Error(File_Not_Written_Text(st_, path, reason));
}

void TableScreen::Btn_ImportClick()
{
    const QString path = Ask_Csv_File(false);
    if (path.isEmpty())
        return;
    const Table_Grid& grid = grids_.front();
    FileResult r;
    Change_Rows(grid.view, 1, grid.model->rowCount(), Txt::Step_Import, [&](IGrid&) {
        r = Read_Table_Csv(path);
        if (r.ok)
            grid.model->Refresh();
    });
    if (!r.ok)
        msg_.Show_Error(r.message);
}

} // namespace swr
