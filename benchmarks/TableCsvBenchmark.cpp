// The CSV form of a full publish table, 1024 rules: exporting it and importing it, in
// memory (what a table screen does with its grid's rows) and through the files (what
// `swr2305-cli table` does: load the project file, check, write it). Aims: export 20 ms,
// import 50 ms.
#include "base/Files.h"
#include "lang/LangTable.h"
#include "project/TableCsv.h"
#include "project/mqtt/MqttTopics.h"
#include "project/nmea/Nmea0183Catalogue.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace swr;

namespace {

// 1024 rules with 40-character topics and mnemonics and a JSON template on two lines
// (quoted in the CSV), as a real rule set would have them.
MQTT_Topic_Table Full_Table()
{
    MQTT_Topic_Table m;
    for (int r = 0; r < MQTT_Table_Rows; ++r) {
        const QString n = QString::number(r);
        m.Pub[r] = {(QStringLiteral("ship1/bridge/sensors/") + n + QLatin1Char('/')).leftJustified(40, QLatin1Char('x')),
                    QStringLiteral("N"),
                    QStringLiteral("1"),
                    QStringLiteral("Float"),
                    QStringLiteral("4"),
                    QString::number(r % 500 * 4),
                    {},
                    {},
                    QStringLiteral("{\"value\": $VALUE$,\r\n \"unit\": \"kn\"}"),
                    QStringLiteral("Y"),
                    QStringLiteral("N"),
                    {},
                    (QStringLiteral("Speed through water, sensor ") + n).leftJustified(40, QLatin1Char(' '))};
    }
    return m;
}

struct Setup {
    QTemporaryDir dir;
    QStringList Lang_Table;
    MQTT_Topic_Table table = Full_Table();
    QByteArray csv;
    Setup()
    {
        Load_Default_Strings(Lang_Table);
        Init_NMEA0183_Map();
        Save_MQTT_Topic(Texts(Lang_Table), Join_Path(dir.path(), QString::fromLatin1(MQTT_Topic_File_Name)), table);
        csv = Table_Csv(table);
        QFile f(Join_Path(dir.path(), QStringLiteral("rules.csv")));
        if (f.open(QIODevice::WriteOnly))
            f.write(csv);
    }
};

Setup& Shared()
{
    static Setup s;
    return s;
}

void Export_Table(benchmark::State& state)
{
    Setup& s = Shared();
    for (auto _ : state)
        benchmark::DoNotOptimize(Table_Csv(s.table));
    state.counters["bytes"] = double(s.csv.size());
}

void Export_File(benchmark::State& state)
{
    Setup& s = Shared();
    QByteArray csv;
    for (auto _ : state) {
        if (!Export_Table_Csv(Texts(s.Lang_Table), s.dir.path(), Csv_Table::Publish, &csv).ok)
            state.SkipWithError("export failed");
    }
}

void Import_Table(benchmark::State& state)
{
    Setup& s = Shared();
    for (auto _ : state) {
        MQTT_Topic_Table m;
        if (!Table_From_Csv(Texts(s.Lang_Table), s.csv, false, m).ok)
            state.SkipWithError("import failed");
        benchmark::DoNotOptimize(m);
    }
}

void Import_File(benchmark::State& state)
{
    Setup& s = Shared();
    const QString csv = Join_Path(s.dir.path(), QStringLiteral("rules.csv"));
    for (auto _ : state) {
        if (!Import_Table_Csv(Texts(s.Lang_Table), s.dir.path(), Csv_Table::Publish, csv, false).ok)
            state.SkipWithError("import failed");
    }
}

} // namespace

BENCHMARK(Export_Table)->Unit(benchmark::kMillisecond);
BENCHMARK(Export_File)->Unit(benchmark::kMillisecond);
BENCHMARK(Import_Table)->Unit(benchmark::kMillisecond);
BENCHMARK(Import_File)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
