// Opening Set Communication on a configuration whose certificates and key are 4 KiB each
// (loading ParGen.xml, filling the fields, applying the rules, and up to the first paint),
// and a click on "Enable TLS" re-laying the panels; a bare widget shown to its first paint
// is the floor. Offscreen; run by scripts/bench.sh.
#include "ParGenFields.h"
#include "ParGenScreen.h"

#include "session/AppState.h"
#include "base/Files.h"
#include "base/Messages.h"
#include "session/Projects.h"
#include "lang/LangTable.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

using namespace swr;

namespace {

class NoMessages : public IMessages {
public:
    void Show_Error(const QString&) override {}
    void Show_Warning(const QString&) override {}
    void Show_Info(const QString&) override {}
    bool Ask_Yes_No(const QString&) override { return true; }
};

QString Pem(const char* what)
{
    QString pem = QStringLiteral("-----BEGIN %1-----\r\n").arg(QLatin1String(what));
    while (pem.size() < 4096 - 40)
        pem += QString(64, QLatin1Char('Q')) + QStringLiteral("\r\n");
    return pem + QStringLiteral("-----END %1-----").arg(QLatin1String(what));
}

// A configuration with TLS, both authentications and the will on, its certificates and
// key 4 KiB each, and the screen over it.
struct Bench {
    QTemporaryDir dir;
    AppState st;
    NoMessages msg;
    std::unique_ptr<TFParGen> screen;
    Bench()
    {
        Load_Default_Strings(st.Lang_Table);
        st.Product_Code = QStringLiteral("SWR2305");
        st.Active_Project_Dir = QDir::toNativeSeparators(dir.path());
        st.Active_Project_Name = QStringLiteral("Bench");
        Set_Files(st);
        ParGen m = ParGen_Defaults();
        for (ParKey k : {ParKey::TLS_Enable, ParKey::TLS_En_Server_Auth, ParKey::TLS_En_Client_Auth,
                         ParKey::MQTT_WillFlag})
            m.Set_Flag(k, true);
        m.Set_Text(ParKey::TLS_Server_Auth_Certificate, Pem("CERTIFICATE"));
        m.Set_Text(ParKey::TLS_Client_Auth_Certificate, Pem("CERTIFICATE"));
        m.Set_Text(ParKey::TLS_Client_Auth_Key, Pem("PRIVATE KEY"));
        Save_ParGen(st, st.File_ParGen, m);
        screen = std::make_unique<TFParGen>(st, msg);
    }
};

// Shows w and runs the events until it is exposed and painted.
void Show_Painted(QWidget* w)
{
    w->show();
    while (!w->windowHandle() || !w->windowHandle()->isExposed())
        QApplication::processEvents();
    QApplication::processEvents();
}

void Hide(QWidget* w)
{
    w->hide();
    QApplication::processEvents();
}

// Loading the file, filling the fields and applying the rules.
void BM_Open_Load_Fill_Rules(benchmark::State& state)
{
    Bench b;
    for (auto _ : state)
        benchmark::DoNotOptimize(b.screen->FormShow());
}

// The same and then showing the screen up to its first paint.
void BM_Open_To_First_Paint(benchmark::State& state)
{
    Bench b;
    for (auto _ : state) {
        b.screen->FormShow();
        Show_Painted(b.screen.get());
        state.PauseTiming();
        Hide(b.screen.get());
        state.ResumeTiming();
    }
}

// A click on "Enable TLS" on the shown screen, with the layouts and the paint it causes.
void BM_Click_Enable_TLS(benchmark::State& state)
{
    Bench b;
    b.screen->FormShow();
    Show_Painted(b.screen.get());
    auto* tls = qobject_cast<QCheckBox*>(b.screen->Control(ParKey::TLS_Enable));
    CategoryPanel* panel = b.screen->CP_TLS;
    int rounds = 0;
    for (auto _ : state) {
        // The layouts below the panel area settle one level per round of events.
        const int before = panel->height();
        tls->click();
        for (int i = 0; i < 20 && panel->height() == before; ++i, ++rounds)
            QApplication::processEvents();
        QApplication::processEvents(); // the paint
    }
    state.counters["event_rounds"] = double(rounds) / double(state.iterations());
}

// The floor: a bare widget shown to its first paint.
void BM_Bare_Widget_To_First_Paint(benchmark::State& state)
{
    for (auto _ : state) {
        QWidget w;
        w.resize(460, 700);
        Show_Painted(&w);
    }
}

} // namespace

BENCHMARK(BM_Open_Load_Fill_Rules)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open_To_First_Paint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Click_Enable_TLS)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bare_Widget_To_First_Paint)->Unit(benchmark::kMillisecond);
