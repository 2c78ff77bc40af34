// Change_Language over every screen, as after choosing a language in the options: the
// main window and the options screen shown, the other screens hidden. Aim: at most
// 100 ms. Run offscreen by scripts/bench.sh.
#include "MainWindow.h"
#include "SoftOptions.h"
#include "UpdateDialog.h"

#include "session/AppState.h"
#include "session/Startup.h"
#include "session/Version.h"

#include "FakeDesktop.h"
#include "FakeEcho.h"
#include "TestSupport.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace swr;

namespace {

void BM_Change_Language(benchmark::State& state)
{
    QTemporaryDir dir;
    AppState st;
    test::RecordingMessages msg;
    Start_Up(st, dir.path(), msg);
    NoVersionCheck version;
    test::RecordingBrowser browser;
    test::FakeEcho echo;
    TFKonstrelFirmWare w(st, msg, version);
    auto* options = new TFSoftOptions(st, msg, version, browser, &w);
    w.Add_Lang_Screen(options);
    auto* boot = new TFBoot(st, msg, echo, &w);
    w.Add_Lang_Screen(boot);
    w.show();
    options->show();
    QApplication::processEvents();

    // Two tables that differ in every text, taken in turn.
    QStringList english = st.Lang_Table;
    QStringList other = english;
    for (QString& t : other)
        t += QStringLiteral(" (x)");
    bool flip = false;
    for (auto _ : state) {
        st.Lang_Table = flip ? english : other;
        flip = !flip;
        w.Change_Language();
        QApplication::processEvents();
    }
    state.SetLabel("main window, new and open configuration, options, update dialog");
}
BENCHMARK(BM_Change_Language)->Unit(benchmark::kMillisecond);

} // namespace
