// The topic screen on a full table, offscreen: opening it (from show to its first
// complete paint) against the floor of parsing the file and filling the grid's model
// without a view, and against a bare widget; Insert Row and Delete Row; undo of a delete of
// every row; resizing the screen at the size a maximised window has on a 1920 x 1080
// desktop, and maximising it; import and export of the table as CSV, one keystroke in the
// find bar and a replace over every rule; and the memory the open screen takes beyond the
// main window. Run by scripts/bench.sh.
#include "FindBar.h"
#include "MainWindow.h"
#include "MqttTopicScreen.h"
#include "TopicTemplate.h"

#include "session/AppState.h"
#include "base/Messages.h"
#include "session/Projects.h"
#include "session/Startup.h"
#include "session/Version.h"
#include "project/TableCsv.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QUndoStack>

#include "Resident.h"

#include <benchmark/benchmark.h>

#include <functional>

#include <unistd.h>

using namespace swr;

namespace {

// Every question is answered Yes; nothing is shown.
class YesMessages final : public IMessages {
public:
    void Show_Error(const QString&) override {}
    void Show_Warning(const QString&) override {}
    void Show_Info(const QString&) override {}
    bool Ask_Yes_No(const QString&) override { return true; }
};

// The client area of a window maximised on a 1920 x 1080 desktop under a task bar and a
// title bar; the offscreen platform's own screen is smaller, so the size is set, not
// asked of the window manager.
constexpr QSize Maximised(1920, 1010);
constexpr QSize First_Size(1100, 337); // the screen's size when it first opens

MQTT_Publish_Row Rule(int n)
{
    const QString i = QString::number(n);
    return {QStringLiteral("ship/nav/gga/lat/") + i, QStringLiteral("N"), QStringLiteral("1"),
            QStringLiteral("Float"), QStringLiteral("4"), QString::number(n % 500 * 4), QString(), QString(),
            QStringLiteral("{\r\n  \"lat\": $VALUE$, \"n\": ") + i + QStringLiteral(" }"), QStringLiteral("Y"),
            QStringLiteral("N"), QString(), QStringLiteral("Latitude ") + i};
}

// A program folder with one configuration whose topic file holds 1024 rules.
struct Folder {
    QTemporaryDir dir;
    AppState st;
    YesMessages msg;
    Folder()
    {
        Start_Up(st, dir.path(), msg);
        Create_New_Project(st, QStringLiteral("Bench"));
        MQTT_Topic_Table m;
        for (int r = 0; r < MQTT_Table_Rows; ++r)
            m.Pub[r] = Rule(r + 1);
        Save_MQTT_Topic(st, st.File_MQTT_Topic, m);
    }
};

// Shows w and returns once its watched part has painted.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

// Runs act and returns once watched has painted.
void Until_Painted(QWidget* watched, PaintWatch& watch, const std::function<void()>& act)
{
    watch.painted = false;
    watched->installEventFilter(&watch);
    act();
    while (!watch.painted)
        QApplication::processEvents();
    watched->removeEventFilter(&watch);
}

void Show_Until_Painted(QWidget* w, QWidget* watched, PaintWatch& watch)
{
    Until_Painted(watched, watch, [w] { w->show(); });
}

// On the full table, and on no file at all: the screen's own cost.
void Open_Screen(benchmark::State& state, bool full)
{
    Folder f;
    if (!full)
        QFile::remove(f.st.File_MQTT_Topic);
    TFTopicTemplate tpl(f.st);
    TFMQTT_Set_Topic scr(f.st, f.msg, &tpl);
    PaintWatch watch;
    for (auto _ : state) {
        // The screen opens as the step opens it: the file is loaded, then it shows.
        scr.FormShow();
        Show_Until_Painted(&scr, scr.ACG_Pub->viewport(), watch);
        state.PauseTiming();
        scr.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["rules"] = Publish_Rule_Count(scr.Table);
}

// Parsing the file and filling the grid's model, no view.
void Floor_Parse_And_Model(benchmark::State& state)
{
    Folder f;
    MQTT_Topic_Table m;
    MqttPublishModel model(f.st, m.Pub, Publish_Columns);
    for (auto _ : state)
        model.Reset([&] { benchmark::DoNotOptimize(Load_MQTT_Topic(f.st, f.st.File_MQTT_Topic, m)); });
}

void Floor_Bare_Widget(benchmark::State& state)
{
    QWidget w;
    w.resize(First_Size);
    PaintWatch watch;
    for (auto _ : state) {
        Show_Until_Painted(&w, &w, watch);
        state.PauseTiming();
        w.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// The screen shown on the full table and painted.
struct Shown_Screen {
    Folder f;
    TFTopicTemplate tpl{f.st};
    TFMQTT_Set_Topic scr{f.st, f.msg, &tpl};
    PaintWatch watch;
    Shown_Screen()
    {
        scr.FormShow();
        Show_Until_Painted(&scr, scr.ACG_Pub->viewport(), watch);
    }
};

// Insert Row or Delete Row on row 3 of the shown, full table, with the repaint and the
// status line that follow; the row that went is put back untimed, so the table stays full.
void Row_Button(benchmark::State& state, bool insert)
{
    Shown_Screen shown;
    TFMQTT_Set_Topic& scr = shown.scr;
    scr.ACG_Pub->setCurrentIndex(scr.Pub_Model->index(2, 0));
    for (auto _ : state) {
        (insert ? scr.Btn_InsRow : scr.Btn_DelRow)->click();
        QApplication::processEvents();
        state.PauseTiming();
        scr.Table.Pub[insert ? 2 : MQTT_Table_Rows - 1] = Rule(7);
        state.ResumeTiming();
    }
    state.counters["rules"] = Publish_Rule_Count(scr.Table);
}

// Undo of Delete Row on a block of all 1024 rules of the shown table, until the grid has
// repainted; the delete is done again untimed (redo), so each round undoes the same block.
void Undo_Block_Delete(benchmark::State& state)
{
    Shown_Screen shown;
    TFMQTT_Set_Topic& scr = shown.scr;
    const QAbstractItemModel* m = scr.Pub_Model;
    scr.ACG_Pub->selectionModel()->select(QItemSelection(m->index(0, 0), m->index(m->rowCount() - 1, 0)),
                                          QItemSelectionModel::ClearAndSelect);
    scr.Btn_DelRow->click();
    int restored = 0;
    for (auto _ : state) {
        Until_Painted(scr.ACG_Pub->viewport(), shown.watch, [&] { scr.Undo_Change(); });
        state.PauseTiming();
        restored = Publish_Rule_Count(scr.Table);
        scr.Redo_Change();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["rules"] = restored;
}

// The screen on the full table, shown at size until its grid has painted.
struct Sized_Screen {
    Folder f;
    TFTopicTemplate tpl{f.st};
    TFMQTT_Set_Topic scr{f.st, f.msg, &tpl};
    PaintWatch watch;
    explicit Sized_Screen(QSize size)
    {
        scr.FormShow();
        scr.resize(size);
        Show_Until_Painted(&scr, scr.ACG_Pub->viewport(), watch);
    }
    // Runs change and waits until the grid has painted after it.
    template <class Change>
    void Until_Painted(Change change)
    {
        watch.painted = false;
        scr.ACG_Pub->viewport()->installEventFilter(&watch);
        change();
        while (!watch.painted)
            QApplication::processEvents();
        scr.ACG_Pub->viewport()->removeEventFilter(&watch);
    }
    void Resize(QSize size)
    {
        Until_Painted([&] { scr.resize(size); });
    }
};

// The full table at the maximised size, its corner dragged 20 pixels in and out again:
// each resize lays the columns out anew and repaints the grid.
void Resize_Maximised(benchmark::State& state)
{
    Sized_Screen s(Maximised);
    bool smaller = true;
    for (auto _ : state) {
        s.Resize(smaller ? Maximised - QSize(20, 20) : Maximised);
        smaller = !smaller;
    }
    state.counters["rows_shown"] = s.scr.ACG_Pub->viewport()->height() / s.scr.ACG_Pub->rowHeight(0);
}

// The floor of the two: the grid's cells at the maximised size repainted, no resize.
void Floor_Repaint_Maximised(benchmark::State& state)
{
    Sized_Screen s(Maximised);
    for (auto _ : state)
        s.Until_Painted([&] { s.scr.ACG_Pub->viewport()->update(); });
}

// From the first size to the maximised one, the grid repainted whole; put back untimed.
void Maximise(benchmark::State& state)
{
    Sized_Screen s(First_Size);
    for (auto _ : state) {
        s.Resize(Maximised);
        state.PauseTiming();
        s.Resize(First_Size);
        state.ResumeTiming();
    }
}

// Import of a CSV file of 1024 rules into the shown, full table, until the grid has
// repainted; two files take turns, so every import changes every row.
void Import_Csv(benchmark::State& state)
{
    Shown_Screen shown;
    TFMQTT_Set_Topic& scr = shown.scr;
    QString files[2];
    for (int i = 0; i < 2; ++i) {
        MQTT_Topic_Table m;
        for (int r = 0; r < MQTT_Table_Rows; ++r)
            m.Pub[r] = Rule(r + 1 + i);
        files[i] = shown.f.dir.filePath(QStringLiteral("in%1.csv").arg(i));
        QFile out(files[i]);
        out.open(QIODevice::WriteOnly);
        out.write(Table_Csv(m));
    }
    int turn = 0;
    scr.Choose_File = [&](const File_Choice&) { return files[turn]; };
    for (auto _ : state) {
        Until_Painted(scr.ACG_Pub->viewport(), shown.watch, [&] { scr.Btn_Import->click(); });
        turn = 1 - turn;
    }
    state.counters["rules"] = Publish_Rule_Count(scr.Table);
    state.counters["steps"] = scr.Undo_Stack->count(); // each one a step, up to the history's 100
}

// Export of the shown, full table to a CSV file.
void Export_Csv(benchmark::State& state)
{
    Shown_Screen shown;
    TFMQTT_Set_Topic& scr = shown.scr;
    const QString path = shown.f.dir.filePath(QStringLiteral("out.csv"));
    scr.Choose_File = [&](const File_Choice&) { return path; };
    for (auto _ : state)
        scr.Btn_Export->click();
    state.counters["bytes"] = double(QFile(path).size());
}

// One key typed in the find bar over the full table (a digit, then Backspace, in turns),
// until the grid has repainted: the rows found, coloured and counted, the first selected.
void Find_Keystroke(benchmark::State& state)
{
    Shown_Screen shown;
    TFMQTT_Set_Topic& scr = shown.scr;
    scr.Open_Find(false);
    QLineEdit* field = scr.P_Find->E_Find;
    field->setText(QStringLiteral("lat/1"));
    QApplication::processEvents();
    bool typed = false;
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, typed ? Qt::Key_Backspace : Qt::Key_0, Qt::NoModifier,
                      typed ? QString() : QStringLiteral("0"));
        Until_Painted(scr.ACG_Pub->viewport(), shown.watch, [&] { QApplication::sendEvent(field, &key); });
        typed = !typed;
    }
    state.counters["found"] = double(scr.P_Find->Found_Rows().size());
}

// Replace in the Topic column of all 1024 rules ("ship/" and "boat/" in turns), the
// question answered Yes, until the grid has repainted.
void Replace_All(benchmark::State& state)
{
    Shown_Screen shown;
    TFMQTT_Set_Topic& scr = shown.scr;
    scr.Open_Find(true);
    FindBar& bar = *scr.P_Find;
    bar.CB_Replace_Column->setCurrentIndex(0); // Topic
    const QString words[2] = {QStringLiteral("ship/"), QStringLiteral("boat/")};
    int turn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bar.E_Find->setText(words[turn]);
        bar.E_Replace->setText(words[1 - turn]);
        QApplication::processEvents();
        state.ResumeTiming();
        Until_Painted(scr.ACG_Pub->viewport(), shown.watch, [&] { bar.Btn_Replace->click(); });
        turn = 1 - turn;
    }
    state.counters["rules"] = Publish_Rule_Count(scr.Table);
    state.counters["steps"] = scr.Undo_Stack->count(); // each one a step, up to the history's 100
}

using bench::Resident_KiB;

// Resident memory of the main window alone, then with the screen open on 1024 rules.
void Memory(benchmark::State& state)
{
    Folder f;
    NoVersionCheck version;
    TFKonstrelFirmWare window(f.st, f.msg, version);
    PaintWatch watch;
    Show_Until_Painted(&window, &window, watch);
    const long before = Resident_KiB();
    long after = before;
    for (auto _ : state) {
        auto* tpl = new TFTopicTemplate(f.st, &window);
        auto* scr = new TFMQTT_Set_Topic(f.st, f.msg, tpl, &window);
        scr->FormShow();
        Show_Until_Painted(scr, scr->ACG_Pub->viewport(), watch);
        after = Resident_KiB();
        delete scr;
        delete tpl;
    }
    state.counters["main_window_MiB"] = double(before) / 1024;
    state.counters["screen_open_extra_MiB"] = double(after - before) / 1024;
}

} // namespace

// The memory first, before the other runs leave the heap grown.
BENCHMARK(Memory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open_Screen, full, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open_Screen, empty, false)->Unit(benchmark::kMillisecond);
BENCHMARK(Floor_Parse_And_Model)->Unit(benchmark::kMillisecond);
BENCHMARK(Floor_Bare_Widget)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Row_Button, insert, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Row_Button, delete, false)->Unit(benchmark::kMillisecond);
BENCHMARK(Undo_Block_Delete)->Unit(benchmark::kMillisecond);
BENCHMARK(Resize_Maximised)->Unit(benchmark::kMillisecond);
BENCHMARK(Maximise)->Unit(benchmark::kMillisecond);
BENCHMARK(Floor_Repaint_Maximised)->Unit(benchmark::kMillisecond);
BENCHMARK(Import_Csv)->Unit(benchmark::kMillisecond);
BENCHMARK(Export_Csv)->Unit(benchmark::kMillisecond);
BENCHMARK(Find_Keystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(Replace_All)->Unit(benchmark::kMillisecond);
