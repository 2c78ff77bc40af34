// The NMEA 0183 access screen on a full table: showing it (load and first paint) should
// take at most 30 ms, Insert Row and Delete Row at most 5 ms each. A bare widget shown
// the same way is the floor. Run offscreen by scripts/bench.sh.
#include "NmeaAccessModel.h"
#include "NmeaAccessScreen.h"

#include "session/AppState.h"
#include "base/Messages.h"
#include "lang/LangTable.h"
#include "project/nmea/Nmea0183Catalogue.h"
#include "project/nmea/NmeaAccess.h"

#include <QApplication>
#include <QTableView>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

using namespace swr;

namespace {

// Every question answered Yes, nothing shown.
class YesMessages : public IMessages {
public:
    void Show_Error(const QString&) override {}
    void Show_Warning(const QString&) override {}
    void Show_Info(const QString&) override {}
    bool Ask_Yes_No(const QString&) override { return true; }
};

struct Setup {
    QTemporaryDir dir;
    AppState st;
    YesMessages msg;

    Setup()
    {
        Load_Default_Strings(st.Lang_Table);
        Init_NMEA0183_Map();
        st.Product_Code = QStringLiteral("SWR2305");
        st.File_NMEA_Access = dir.filePath(QStringLiteral("NMEA_0183_Set_Access.xml"));
        // 100 rows of every kind of cell, the longest field texts included.
        NMEA_Listener_Table t;
        const char* const sentences[] = {"GGA", "RMC", "GSV", "XDR", "MDA"};
        int position = 0;
        for (int r = 1; r <= NMEA_Listener_Rows; ++r) {
            NMEA_Listener_Row& row = t.row(r);
            row.Sentence = QString::fromLatin1(sentences[r % 5]);
            const auto& fields = NMEA0183_Map(GetIndexSentence(row.Sentence)).Fields;
            const TFieldSentence& f = fields.at(r % fields.size());
            row.DataField = f.Field;
            row.Index = row.Index_Editable() ? QStringLiteral("1") : QString();
            row.PortOperation = Post_Operations().at(r % 9);
            row.SwapAll = r % 2;
            row.Position = QString::number(position);
            position += f.Dimension;
            row.Mnemonic = QStringLiteral("Listener row %1").arg(r);
        }
        Save_NMEA_Access(st, st.File_NMEA_Access, t);
    }
};

Setup& The_Setup()
{
    static Setup s;
    return s;
}

void Show_And_Paint(QWidget& w)
{
    w.show();
    while (!w.windowHandle() || !w.windowHandle()->isExposed())
        QApplication::processEvents();
    w.repaint();
    QApplication::processEvents();
}

void Open_Full(benchmark::State& state)
{
    Setup& s = The_Setup();
    TFNMEA_0183_Set_Access2 screen(s.st, s.msg);
    for (auto _ : state) {
        if (!screen.FormShow())
            state.SkipWithError("the file did not load");
        Show_And_Paint(screen);
        state.PauseTiming();
        screen.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void Bare_Widget(benchmark::State& state)
{
    QWidget w;
    w.resize(1200, 337);
    for (auto _ : state) {
        Show_And_Paint(w);
        state.PauseTiming();
        w.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void Create_Screen(benchmark::State& state)
{
    Setup& s = The_Setup();
    for (auto _ : state) {
        TFNMEA_0183_Set_Access2 screen(s.st, s.msg);
        benchmark::DoNotOptimize(screen.Model);
    }
}

// The row button on row 1 of the full table, shown, until the grid has repainted.
template <void (TableScreen::*Button)()>
void Row_Button(benchmark::State& state)
{
    Setup& s = The_Setup();
    TFNMEA_0183_Set_Access2 screen(s.st, s.msg);
    screen.FormShow();
    Show_And_Paint(screen);
    for (auto _ : state) {
        screen.ASG->setCurrentIndex(screen.Model->index(0, 9));
        (screen.*Button)();
        QApplication::processEvents();
        state.PauseTiming();
        screen.FormShow(); // back to the full table
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(Open_Full)->Unit(benchmark::kMillisecond);
BENCHMARK(Bare_Widget)->Unit(benchmark::kMillisecond);
BENCHMARK(Create_Screen)->Unit(benchmark::kMillisecond);
BENCHMARK(Row_Button<&TFNMEA_0183_Set_Access2::Btn_InsRowClick>)->Name("Insert_Row")->Unit(benchmark::kMillisecond);
BENCHMARK(Row_Button<&TFNMEA_0183_Set_Access2::Btn_DelRowClick>)->Name("Delete_Row")->Unit(benchmark::kMillisecond);
