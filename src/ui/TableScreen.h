#pragma once

#include "WidgetKit.h"

#include "project/CheckFinding.h"
#include "project/GridRows.h"

#include <QDialog>
#include <QList>

#include <functional>
#include <initializer_list>
#include <memory>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;
class QUndoStack;

namespace swr {

struct AppState;
struct Data_Area_Map;
struct FileResult;
class FindBar;
struct Map_Finding;
class GridModel;
class IGrid;
class IMessages;
class Rows_Step;

// What tells one table screen from the other in the frame they share.
struct Table_Screen_Setup {
    // Index of the window title in the string table. The description follows, then the
    // captions of OK, Cancel, Delete Row, Insert Row, Copy Row and Paste Row, then their
    // six hints in the same order.
    int first_text;
    int delete_question; // asked with the row number after it
    // The form of the row helpers the screen's grids use. The check-box form marks column
    // 1 (Enable) of the rows it clears; the text form leaves it empty.
    Row_Form form;
    // The rows of the screen's first grid a finding of the data-area map names.
    QList<int> Map_Finding::*map_rows;
    // The project file the screen saves; the CSV of its table is proposed beside it.
    QString AppState::*file;
};

// A file the screen asks the user for: one to write (save) or one to read.
struct File_Choice {
    QString title;
    QString filter;    // as the file dialog takes it
    QString suggested; // a path
    bool save;
};

// One grid of a table screen; the first is the grid the data-area map selects rows in.
struct Table_Grid {
    QTableView* view;
    GridModel* model;
    int corner = -1; // string table index of the row-number header
    int name = -1;   // of the grid's accessible name
    bool* copied;    // the screen's flag that a row of this grid was copied
    // The model columns the find bar searches and replaces in; none: no find on this grid.
    QList<int> find_columns = {};
};

// The frame of the screens that edit a table in a grid: the status line, the row buttons
// on the grid shown (Delete, Insert, Copy and Paste Row), the data-area map, OK and
// Cancel, their texts and their tab order. OK commits the cell being edited, checks the
// table, brings the first error's cell into view, writes the file and closes.
// The row buttons work on the selected rows, one or a block; Ctrl+D fills a selection in
// one column down from its top cell. Every change of a grid is a step that Ctrl+Z undoes
// and Ctrl+Y redoes, for as long as the screen is shown.
// Ctrl+F opens the find bar above the grid, Ctrl+H the same with the focus on replacing;
// F3 and Shift+F3 go to the next and previous match. A replace is one step. Export writes
// the first grid's table as a CSV file, as OK would save it; Import fills that grid from
// one as one step and leaves the saving to OK.
class TableScreen : public QDialog, public ILangScreen {
    Q_OBJECT
public:
    ~TableScreen() override;
    void Set_Lang() override;

    void Btn_OKClick();
    void Btn_DelRowClick();
    void Btn_InsRowClick();
    void Btn_CopyRowClick();
    void Btn_PasteRowClick();
    // The data-area map of the table on screen with the other table as saved.
    void Btn_DataAreaClick();
    void Fill_Down();
    void Undo_Change();
    void Redo_Change();
    // Opens the find bar over the shown grid, the focus in its find field (in its replacing
    // field with replace). Without a selection of several rows, replacing is over the whole
    // table, with one over those rows.
    void Open_Find(bool replace);
    // F3 and Shift+F3: the bar opens first when it is closed.
    void Find_Next();
    void Find_Previous();
    // Replaces the find bar's text in its column, over the selected rows or the whole
    // table, after a question that names the count of cells that change.
    void Btn_ReplaceClick();
    void Btn_ExportClick();
    // A file the CSV reader refuses is reported with its message and changes nothing.
    void Btn_ImportClick();
    // The row of the shown grid's current cell, from 1; 0 when there is none.
    int Current_Row() const;
    // The rows of the shown grid's selection, from 1 and ascending; the current row when
    // nothing is selected.
    QList<int> Selected_Rows() const;
    // Runs change on the rows first..last (from 1) of view's grid as one step for undo and
    // redo, named by string table index name, then updates the status line: a row button,
    // a fill, a replace or an import. The change may put any cell of those rows, and may
    // ask or refuse; a change that leaves the rows as they were is no step.
    void Change_Rows(QTableView* view, int first, int last, int name, const std::function<void(IGrid&)>& change);
    // However it closes, the screen's place is kept for its next opening.
    void done(int r) override;

    TitleStrip* P_Title = nullptr;
    QLabel* L_Status = nullptr;
    QPushButton* Btn_DelRow = nullptr;
    QPushButton* Btn_InsRow = nullptr;
    QPushButton* Btn_CopyRow = nullptr;
    QPushButton* Btn_PasteRow = nullptr;
    QPushButton* Btn_DataArea = nullptr;
    QPushButton* Btn_Export = nullptr;
    QPushButton* Btn_Import = nullptr;
    QPushButton* Btn_OK = nullptr;
    QPushButton* Btn_Cancel = nullptr;
    QUndoStack* Undo_Stack;
    FindBar* P_Find = nullptr;
    // Asks for the file to export to or import from; an empty path when the user gave up.
    // The platform's file dialog unless a test answers.
    std::function<QString(const File_Choice&)> Choose_File;

protected:
    TableScreen(AppState& st, IMessages& msg, const Table_Screen_Setup& setup, QWidget* parent);

    // Makes the screen resizable and maximisable, at size when first opened.
    void Scalable(QSize size);
    // Loads the table, then shows the screen modally where it was when it last closed.
    int Exec_Screen(const std::function<bool()>& load);
    // Puts a grid's model in its view; the grids count in the order added, from 0, as the
    // check's findings count their tables.
    void Add_Grid(const Table_Grid& grid);
    // Creates the status line and the buttons, and returns the row of buttons: the row
    // buttons, Data Area and extra, then OK and Cancel after a gap of gap pixels (0: all
    // the room left). Tab goes from after through the buttons in that order.
    QHBoxLayout* Button_Bar(QWidget* after, std::initializer_list<QPushButton*> extra, int gap);
    // Creates the find bar, hidden, for the screen to put above its grid; made before the
    // grid, it comes before it in the tab order.
    FindBar* Make_Find_Bar();

    // Shows what loading the file said: the error that stops the opening, or the notices
    // as warnings. True when the table was read. A load starts the history of undo afresh.
    bool Report_Load(const FileResult& r);
    // The grid added with view; the first for a view that is none of them.
    const Table_Grid& Grid_Of(const QTableView* view) const;
    // The grid of the page shown; the row buttons work on it.
    virtual QTableView* Shown_Grid() const;
    virtual Check_Findings Check() = 0;
    virtual FileResult Save() = 0;
    // Loads the other table as saved and builds the map of both.
    virtual FileResult Build_Map(Data_Area_Map& map) = 0;
    virtual void Update_Status() = 0;
    // The first grid's table in CSV, as OK would save it.
    virtual QByteArray Table_Csv_Bytes() const = 0;
    // Fills the first grid's table from a CSV file in place of its rows; on failure the
    // table is as it was.
    virtual FileResult Read_Table_Csv(const QString& file) = 0;

    AppState& st_;
    IMessages& msg_;

private:
    void Commit_Edit();
    // The selected rows, once the cell being edited went in.
    QList<int> Rows_To_Change();
    int Last_Row() const; // of the shown grid, from 1
    std::unique_ptr<Rows_Step> Start_Step(const Table_Grid& grid, int first, int last, int name);
    // The step of the user's edit of a cell under way, while no other change runs.
    void Editing(const Table_Grid& grid, int row);
    void Edited();
    void Push(std::unique_ptr<Rows_Step> step);
    // The edit in, the file asked for, the CSV beside the project file proposed.
    QString Ask_Csv_File(bool save);

    Table_Screen_Setup setup_;
    QList<Table_Grid> grids_;
    std::unique_ptr<Rows_Step> editing_;
    bool changing_ = false; // a change of rows runs: its cell edits are part of its step
};

} // namespace swr
