// The data-area map: building it for the largest tables (100 listener rows, 1024 publish
// rules) should take at most 2 ms, repainting its window at most 16 ms. Run offscreen by
// scripts/bench.sh. With SWR_MAP_SHOT=/tmp/name set it instead saves the window for a
// commissioning-sized configuration as /tmp/name.png and /tmp/name-grey.png.
#include "DataAreaMap.h"

#include "session/AppState.h"
#include "lang/LangTable.h"
#include "project/DataAreaMap.h"
#include "project/mqtt/MqttTopics.h"
#include "project/nmea/Nmea0183Catalogue.h"
#include "project/nmea/NmeaAccess.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWindow>

#include <benchmark/benchmark.h>

using namespace swr;

namespace {

struct Place_Of_Field {
    int position, dimension;
};

struct Tables {
    NMEA_Listener_Table listeners;
    MQTT_Topic_Table topics;
};

AppState& State()
{
    static AppState st = [] {
        AppState s;
        Load_Default_Strings(s.Lang_Table);
        Init_NMEA0183_Map();
        s.Product_Code = QStringLiteral("SWR2305");
        return s;
    }();
    return st;
}

// rows listener rows over the fields of GGA and RMC, in blocks of five fields with room
// after each block; then rules publish rules, each reading one of the first published
// fields whole, again from the first once all have a rule.
Tables Make(int rows, int rules, int published)
{
    Tables t;
    const char* const sentences[] = {"GGA", "RMC"};
    QList<Place_Of_Field> placed;
    int position = 0;
    for (int r = 1; r <= rows; ++r) {
        NMEA_Listener_Row& row = t.listeners.row(r);
        row.Sentence = QString::fromLatin1(sentences[(r - 1) / 19 % 2]);
        const auto& fields = NMEA0183_Map(GetIndexSentence(row.Sentence)).Fields;
        const TFieldSentence& f = fields.at((r - 1) % fields.size());
        row.DataField = f.Field;
        row.PortOperation = QStringLiteral("None");
        row.Position = QString::number(position);
        placed.append({position, f.Dimension});
        position += f.Dimension + (r % 5 ? 0 : 12);
    }
    for (int i = 0; i < rules; ++i) {
        const Place_Of_Field& f = placed.at(i % published);
        t.topics.Pub[i] = {QStringLiteral("ship/nav/value%1").arg(i + 1), "N", "1", f.dimension == 4 ? "Float" : "Int",
                           QString::number(f.dimension), QString::number(f.position), "", "", "$VALUE$", "Y", "N", "", ""};
    }
    return t;
}

void Build_Full(benchmark::State& state)
{
    const Tables t = Make(NMEA_Listener_Rows, MQTT_Table_Rows, NMEA_Listener_Rows);
    for (auto _ : state) {
        Data_Area_Map map = Build_Data_Area_Map(State(), t.listeners, t.topics);
        benchmark::DoNotOptimize(map.findings);
    }
}

void Show(QWidget& w)
{
    w.show();
    while (!w.windowHandle() || !w.windowHandle()->isExposed())
        QApplication::processEvents();
    QApplication::processEvents();
}

void Repaint_Window(benchmark::State& state)
{
    const Tables t = Make(NMEA_Listener_Rows, MQTT_Table_Rows, NMEA_Listener_Rows);
    TFData_Area_Map w(State(), Build_Data_Area_Map(State(), t.listeners, t.topics), {});
    Show(w);
    for (auto _ : state)
        w.repaint();
}

// A commissioning-sized configuration: 25 listener rows and 40 rules, the last listener
// row laid over the one before it, one rule reading bytes nothing fills.
Tables Realistic()
{
    Tables t = Make(25, 39, 22);
    NMEA_Listener_Row& last = t.listeners.row(25);
    last.Position = QString::number(t.listeners.row(24).Position.toInt() + 1);
    t.topics.Pub[39] = {"ship/nav/spare", "N", "1", "Int", "4", "1500", "", "", "$VALUE$", "Y", "N", "", ""};
    return t;
}

int Save_Shot(const QString& base)
{
    const Tables t = Realistic();
    TFData_Area_Map w(State(), Build_Data_Area_Map(State(), t.listeners, t.topics), {});
    Show(w);
    w.Map_Grid->setFocus();
    w.Map_Grid->Set_Current_Byte(60);
    QApplication::processEvents();
    const QImage shot = w.grab().toImage();
    shot.save(base + QStringLiteral(".png"));
    shot.convertToFormat(QImage::Format_Grayscale8).save(base + QStringLiteral("-grey.png"));
    return 0;
}

} // namespace

BENCHMARK(Build_Full)->Unit(benchmark::kMillisecond);
BENCHMARK(Repaint_Window)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    if (const QString shot = qEnvironmentVariable("SWR_MAP_SHOT"); !shot.isEmpty())
        return Save_Shot(shot);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
