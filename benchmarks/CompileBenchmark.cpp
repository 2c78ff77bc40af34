// Compiling a configuration against only parsing its three project files: through the
// program's one conforming loader (Parse), and by libxml2 alone building its own tree of
// the same bytes (Floor_libxml2), the least any conforming reading can cost. The compile
// of the largest configuration that fits should stay within 1.5 times that floor. Run by
// scripts/bench.sh, which prints the ratios after the timings.
#include "session/AppState.h"
#include "base/Files.h"
#include "session/Projects.h"
#include "base/Xml.h"
#include "compiler/Compiler.h"
#include "fleet/Plan.h"
#include "lang/LangTable.h"
#include "project/mqtt/MqttTopics.h"
#include "project/nmea/Nmea0183Catalogue.h"
#include "project/nmea/NmeaAccess.h"
#include "project/pargen/ParGen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <libxml/parser.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

using namespace swr;

namespace {

QString Text_Of(int length, QChar fill)
{
    return QString(length, fill);
}

// A full configuration: 100 listener rows, 1024 publish rules whose topics, mnemonics and
// templates have textLength characters, 4 KiB certificates and key. With 100 characters
// it is the largest the editors can produce; its bank 3 is larger than the device holds,
// so the compile measures reading and placing everything up to the refusal. Every topic
// begins with topicRoot.
void Write_Full(const AppState& st, int textLength, const QString& topicRoot = QStringLiteral("ship/bridge/"))
{
    ParGen par = ParGen_Defaults();
    par.Set_Flag(ParKey::TLS_Enable, true);
    QString pem = QStringLiteral("-----BEGIN CERTIFICATE-----\r\n");
    while (pem.size() < 4096 - 30)
        pem += Text_Of(64, QLatin1Char('A')) + QStringLiteral("\r\n");
    pem += QStringLiteral("-----END CERTIFICATE-----");
    for (ParKey k : {ParKey::TLS_Server_Auth_Certificate, ParKey::TLS_Client_Auth_Certificate,
                     ParKey::TLS_Client_Auth_Key})
        par.Set_Text(k, pem);
    Save_ParGen(st, st.File_ParGen, par);

    NMEA_Listener_Table nmea;
    for (int r = 1; r <= NMEA_Listener_Rows; ++r) {
        NMEA_Listener_Row& row = nmea.row(r);
        row.Sentence = QStringLiteral("GGA");
        row.DataField = QStringLiteral("Latitude, Minutes [floating point]");
        row.PortOperation = QStringLiteral("None");
        row.Position = QString::number((r - 1) * 4);
        row.Mnemonic = QStringLiteral("LAT%1").arg(r);
    }
    Save_NMEA_Access(st, st.File_NMEA_Access, nmea);

    MQTT_Topic_Table mqtt;
    for (int r = 0; r < MQTT_Table_Rows; ++r) {
        MQTT_Publish_Row& row = mqtt.Pub[r];
        const QString n = QString::number(r);
        row.Topic = (topicRoot + n + QLatin1Char('/')).leftJustified(textLength, QLatin1Char('t'));
        row.Retained = QStringLiteral("N");
        row.QoS = QStringLiteral("1");
        row.DataType = QStringLiteral("FLOAT");
        row.Dimension = QStringLiteral("4");
        row.Position = QString::number(r % 500 * 4);
        row.Template = (QStringLiteral("{\"v\":[VALUE],\"n\":") + n + QLatin1Char('}')).leftJustified(textLength, QLatin1Char(' '));
        row.OnChange = QStringLiteral("Y");
        row.OnTimer = QStringLiteral("N");
        row.Time = QStringLiteral("0");
        row.Mnemonic = (QStringLiteral("M") + n).leftJustified(textLength, QLatin1Char('m'));
    }
    Save_MQTT_Topic(st, st.File_MQTT_Topic, mqtt);
}

struct Configuration {
    QTemporaryDir dir;
    AppState st;
    explicit Configuration(int textLength)
    {
        Load_Default_Strings(st.Lang_Table);
        Init_NMEA0183_Map();
        st.Active_Project_Dir = QDir::toNativeSeparators(dir.path());
        st.Active_Project_Name = QStringLiteral("Bench");
        Set_Files(st);
        QDir().mkpath(Join_Path(st.Active_Project_Dir, QStringLiteral("bin")));
        if (textLength > 0)
            Write_Full(st, textLength);
    }
};

void Compile(benchmark::State& state, int textLength)
{
    Configuration c(textLength);
    Compiled_Banks b;
    for (auto _ : state)
        b = Compile_Configuration(c.st.Active_Project_Dir, c.st);
    const bool refused = !b.Result.ok;
    state.counters["refused"] = refused ? 1 : 0;
    state.counters["bank3_bytes"] = refused ? 0 : double(b.Bank3_Image.Length);
}

void Parse(benchmark::State& state, int textLength)
{
    Configuration c(textLength);
    for (auto _ : state) {
        for (const QString& f : {c.st.File_ParGen, c.st.File_NMEA_Access, c.st.File_MQTT_Topic}) {
            pugi::xml_document doc;
            XmlError e;
            benchmark::DoNotOptimize(Load_Xml_File(f, doc, &e));
        }
    }
}

void Floor_libxml2(benchmark::State& state, int textLength)
{
    Configuration c(textLength);
    QList<QByteArray> files;
    for (const QString& f : {c.st.File_ParGen, c.st.File_NMEA_Access, c.st.File_MQTT_Topic}) {
        QFile in(f);
        if (in.open(QIODevice::ReadOnly))
            files.append(in.readAll());
    }
    for (auto _ : state) {
        for (const QByteArray& b : files) {
            xmlDocPtr doc = xmlReadMemory(b.constData(), int(b.size()), nullptr, nullptr, XML_PARSE_NONET);
            benchmark::DoNotOptimize(doc);
            xmlFreeDoc(doc);
        }
    }
}

// A fleet of 100 devices from the largest template that fits: the fitting configuration
// with its topics under ${prefix}/ and its client ID ${name}, in PROJECTS/Template of a
// workspace, and a devices file beside it. Each run plans every device again (--replace):
// substitution, the editors' checks, the fleet's checks, the three project files, compile
// and one-set write of the banks, the data-area map and the report, on threads threads
// (0: as the plan chooses). Wall time, since the work runs on several threads.
void Fleet_Plan_100(benchmark::State& state, int threads)
{
    QTemporaryDir root;
    AppState st;
    Load_Default_Strings(st.Lang_Table);
    Init_NMEA0183_Map();
    st.Active_Project_Dir = Join_Path(root.path(), QStringLiteral("PROJECTS/Template"));
    Set_Files(st);
    QDir().mkpath(Join_Path(st.Active_Project_Dir, QStringLiteral("bin")));
    Write_Full(st, 20, QStringLiteral("${prefix}/"));
    ParGen par;
    Load_ParGen(st, st.File_ParGen, par);
    par.Set_Text(ParKey::MQTT_Client_ID, QStringLiteral("hdr-${name}"));
    par.Set_Text(ParKey::Eth_Conn_Device_Name, QStringLiteral("${name}"));
    Save_ParGen(st, st.File_ParGen, par);
    QByteArray csv = "name,ip,prefix\n";
    for (int i = 1; i <= 100; ++i)
        csv += QStringLiteral("ship-%1,127.0.0.%1,s%1\n").arg(i).toUtf8();
    const QString devices = Join_Path(root.path(), QStringLiteral("devices.csv"));
    QFile f(devices);
    if (!f.open(QIODevice::WriteOnly) || f.write(csv) != csv.size()) {
        state.SkipWithError("cannot write the devices file");
        return;
    }
    f.close();
    Fleet_Plan_Options o;
    o.replace = true;
    o.threads = threads;
    Fleet_Report report;
    for (auto _ : state)
        Plan_Fleet(st, st.Active_Project_Dir, devices, o, &report);
    int planned = 0;
    for (const Device_Record& d : report.devices)
        planned += d.planned ? 1 : 0;
    state.counters["planned"] = planned;
    state.counters["bank3_bytes"] = report.devices.isEmpty() ? 0 : double(report.devices.first().banks[2].length);
}

} // namespace

BENCHMARK_CAPTURE(Fleet_Plan_100, as_planned, 0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Fleet_Plan_100, two_threads, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Fleet_Plan_100, one_thread, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The largest the editors can produce (refused: bank 3 too large), the largest that still
// fits the device (1024 rules with 20-character texts), and the empty configuration (no
// files, so no libxml2 floor).
BENCHMARK_CAPTURE(Compile, largest, 100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Parse, largest, 100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Floor_libxml2, largest, 100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Compile, fitting, 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Parse, fitting, 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Floor_libxml2, fitting, 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Compile, empty, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Parse, empty, 0)->Unit(benchmark::kMicrosecond);

namespace {

// The console report, and after it the ratios of each compile to the parse and to the
// libxml2 floor of the same configuration, by CPU time (the machine may be busy with other
// work).
class Ratio_Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name != "median")
                continue;
            std::string name = r.benchmark_name();
            if (const auto cut = name.find("_median"); cut != std::string::npos)
                name.erase(cut);
            cpu_[name] = r.GetAdjustedCPUTime() * (r.time_unit == benchmark::kMicrosecond ? 1e-3 : 1.0);
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const char* floor : {"Parse", "Floor_libxml2"}) {
            std::printf("\ncompile/%-13s %12s %12s %7s\n", floor, "compile ms", "floor ms", "ratio");
            for (const char* c : {"largest", "fitting", "empty"}) {
                const auto comp = cpu_.find(std::string("Compile/") + c);
                const auto parse = cpu_.find(std::string(floor) + "/" + c);
                if (comp == cpu_.end() || parse == cpu_.end() || parse->second <= 0)
                    continue;
                std::printf("%-21s %12.3f %12.3f %7.2f\n", c, comp->second, parse->second,
                            comp->second / parse->second);
            }
        }
    }

private:
    std::map<std::string, double> cpu_;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Ratio_Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

