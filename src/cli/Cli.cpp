#include "Cli.h"

#include "session/AppState.h"
#include "base/Files.h"
#include "session/Projects.h"
#include "session/Version.h"
#include "lang/Texts.h"
#include "lang/FileTexts.h"
#include "broker/BrokerTest.h"
#include "broker/CertCheck.h"
#include "broker/Monitor.h"
#include "compiler/Compiler.h"
#include "compiler/Decode.h"
#include "fleet/Plan.h"
#include "fleet/Update.h"
#include "lang/LangCheck.h"
#include "lang/LangTable.h"
#include "project/DataAreaMap.h"
#include "project/TableCsv.h"
#include "project/mqtt/MqttTopics.h"
#include "project/nmea/Nmea0183Catalogue.h"
#include "project/nmea/NmeaAccess.h"
#include "project/pargen/ParGen.h"
#include "update/Echo.h"
#include "update/Ping.h"
#include "update/UpdateJob.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include <chrono>
#include <thread>

#include <functional>
#include <vector>

namespace swr {

namespace {

constexpr int Exit_Ok = 0;
constexpr int Exit_Failed = 1;
constexpr int Exit_Usage = 2;

const char* const Usage =
    "usage: swr2305-cli <command> [arguments]\n"
    "commands:\n"
    "  texts [--language FILE] [--output FILE]   the string table, one line per index\n"
    "  texts --check FILE                        compare a language file with the English table;\n"
    "                                            one line per finding, exit 1 on any\n"
    "  sentences                                 the NMEA 0183 sentence catalogue\n"
    "  check DIR                                 the data checks of a configuration folder\n"
    "  resave DIR                                load, check and write back its project files\n"
    "  compile DIR                               write DIR/bin/bank1.bin, bank2.bin, bank3.bin\n"
    "  decode FILE [--bank N]                    a readable dump of a bank file\n"
    "  job --program-dir P --config DIR --ip A.B.C.D --option 0|1|2 --read-back 0|1\n"
    "                                            write P/Ethernet_Update.xml as the update\n"
    "                                            dialog would (no echo request is sent)\n"
    "  broker-test DIR [--timeout S]             connect to the broker of DIR/ParGen.xml, one line\n"
    "                                            per stage; exit 0 when the broker accepts\n"
    "  cert-check DIR                            the check of the TLS certificates and key of\n"
    "                                            DIR/ParGen.xml; exit 1 when one of them warns\n"
    "  monitor DIR --seconds N [--json]          watch the topics of DIR/MQTT_Set_Topic.xml on the\n"
    "                                            broker of DIR/ParGen.xml for N seconds; one line\n"
    "                                            per rule or JSON; exit 0 when every rule with\n"
    "                                            OnChange or OnTimer was seen\n"
    "  map DIR [--json]                          which rows fill and read each range of the data\n"
    "                                            area, then the warnings and notes\n"
    "  table export DIR listener|publish [--output FILE]\n"
    "                                            the rows of the table that OK would save, as CSV\n"
    "  table import DIR listener|publish FILE [--append]\n"
    "                                            put the rows of a CSV file in place of the table's\n"
    "                                            (or after them), check the table and write its\n"
    "                                            project file as OK does; nothing on any error\n"
    "  fleet plan TEMPLATE_DIR DEVICES.csv [--replace]\n"
    "                                            one configuration per device of DEVICES.csv (columns\n"
    "                                            name, ip and the variables) beside TEMPLATE_DIR:\n"
    "                                            checked, compiled and mapped; the report goes to\n"
    "                                            fleet.json and fleet.csv beside DEVICES.csv\n"
    "  fleet update DEVICES.csv --program-dir P [--resume] [--only NAME,...]\n"
    "               [--option 0|1|2] [--read-back 0|1]\n"
    "                                            for each planned device in order: the echo check,\n"
    "                                            the job file and the updater of P, waited for; the\n"
    "                                            updater reads its job from P, so one device at a time\n"
    "  --help                                    this text\n"
    "  --version                                 the name and version of the program\n"
    "exit status: 0 success, 1 failure, 2 usage error\n";

// Options of the form "--name value"; positional arguments are kept in order.
struct Args {
    QStringList positional;
    QMap<QString, QString> options;
};

bool Parse_Args(const QStringList& in, const QStringList& known, Args* out)
{
    for (qsizetype i = 0; i < in.size(); ++i) {
        const QString& a = in.at(i);
        if (a.startsWith(QLatin1String("--"))) {
            if (!known.contains(a) || i + 1 >= in.size() || out->options.contains(a))
                return false;
            out->options.insert(a, in.at(++i));
        } else {
            out->positional.append(a);
        }
    }
    return true;
}

// The text of the language file an option names; when it cannot be read, the message
// goes to err.
bool Language_File_Argument(const Texts& texts, const QString& file, QString* text, QTextStream& err)
{
    QString reason = QStringLiteral("No such file");
    if (QFileInfo(file).isFile() && Read_Language_File_Text(file, text, &reason))
        return true;
    err << File_Not_Read_Text(texts, file, reason) << '\n';
    return false;
}

// texts --check FILE: one line per finding of the language file against the English table.
int Check_Language_File(const QString& file, QTextStream& out, QTextStream& err)
{
    QStringList english;
    Load_Default_Strings(english);
    QString text;
    if (!Language_File_Argument(Texts(english), file, &text, err))
        return Exit_Failed;
    const QList<Lang_Finding> findings = Check_Language_Text(english, text);
    for (const Lang_Finding& f : findings)
        out << Lang_Finding_Line(english, f) << '\n';
    return findings.isEmpty() ? Exit_Ok : Exit_Failed;
}

int Cmd_Texts(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    Args a;
    const QString check = QStringLiteral("--check");
    if (!Parse_Args(rest, {QStringLiteral("--language"), QStringLiteral("--output"), check}, &a)
        || !a.positional.isEmpty() || (a.options.contains(check) && a.options.size() > 1)) {
        err << Usage;
        return Exit_Usage;
    }
    if (a.options.contains(check))
        return Check_Language_File(a.options.value(check), out, err);
    AppState st;
    Load_Default_Strings(st.Lang_Table);
    if (a.options.contains(QStringLiteral("--language"))) {
        QString language;
        if (!Language_File_Argument(st, a.options.value(QStringLiteral("--language")), &language, err))
            return Exit_Failed;
        Apply_Language_Text(st.Lang_Table, language);
    }
    const QString text = Lang_Table_As_File_Text(st.Lang_Table);
    if (!a.options.contains(QStringLiteral("--output"))) {
        out << text;
        return Exit_Ok;
    }
    const QString file = a.options.value(QStringLiteral("--output"));
    QString reason;
    if (!Write_File_Atomic(file, QByteArray("\xEF\xBB\xBF") + text.toUtf8(), &reason)) {
        err << File_Not_Written_Text(st, file, reason) << '\n';
        return Exit_Failed;
    }
    return Exit_Ok;
}

int Cmd_Sentences(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    if (!rest.isEmpty()) {
        err << Usage;
        return Exit_Usage;
    }
    Init_NMEA0183_Map();
    out << Sentences_Listing();
    return Exit_Ok;
}

// One project file as its editor handles it: loaded (a missing file gives the defaults),
// checked, and written back.
struct ProjectFile {
    const char* name;
    std::function<FileResult(const AppState&, const QString&)> load;
    std::function<Check_Findings(const AppState&)> check;
    std::function<FileResult(const AppState&, const QString&)> save;
};

struct Loaded {
    ParGen par = ParGen_Defaults();
    NMEA_Listener_Table nmea;
    MQTT_Topic_Table mqtt;
};

std::vector<ProjectFile> Project_Files(Loaded& m)
{
    return {
        {ParGen_File_Name, [&m](const AppState& st, const QString& p) { return Load_ParGen(st, p, m.par); },
         [&m](const AppState& st) { return Data_Check(st, m.par); },
         [&m](const AppState& st, const QString& p) { return Save_ParGen(st, p, m.par); }},
        {NMEA_Access_File_Name,
         [&m](const AppState& st, const QString& p) { return Load_NMEA_Access(st, p, m.nmea); },
         [&m](const AppState& st) { return Data_Check(st, m.nmea); },
         [&m](const AppState& st, const QString& p) { return Save_NMEA_Access(st, p, m.nmea); }},
        {MQTT_Topic_File_Name,
         [&m](const AppState& st, const QString& p) { return Load_MQTT_Topic(st, p, m.mqtt); },
         [&m](const AppState& st) { return Data_Check(st, m.mqtt); },
         [&m](const AppState& st, const QString& p) { return Save_MQTT_Topic(st, p, m.mqtt); }},
    };
}

// Runs the loads and checks over the folder; prints one line per failing file, with the
// message its editor's OK would show, and one line per warning of the check after it.
// With onlyExisting, files that do not exist are passed over. Returns whether all passed.
bool Check_Folder(const AppState& st, const QString& dir, std::vector<ProjectFile>& files,
                  bool onlyExisting, bool refuseNotices, QTextStream& out, QTextStream& err)
{
    bool all = true;
    for (ProjectFile& f : files) {
        const QString path = Join_Path(dir, QString::fromLatin1(f.name));
        if (onlyExisting && !QFileInfo::exists(path))
            continue;
        const FileResult r = f.load(st, path);
        const Check_Findings findings = r.ok ? f.check(st) : Check_Findings{};
        QString message = r.ok ? First_Error_Message(findings) : r.message;
        for (const QString& n : r.notices) {
            if (refuseNotices && message.isEmpty())
                message = n;
            else
                err << f.name << ": " << n << '\n';
        }
        if (!message.isEmpty()) {
            out << f.name << ": " << message << '\n';
            all = false;
        }
        for (const Check_Finding& w : findings)
            if (w.severity == Check_Finding::Warning)
                out << f.name << ": " << w.message << '\n';
    }
    return all;
}

bool Folder_Argument(const QStringList& rest, QString* dir, QTextStream& err)
{
    if (rest.size() != 1 || rest.first().startsWith(QLatin1String("--"))) {
        err << Usage;
        return false;
    }
    *dir = rest.first();
    return true;
}

AppState Cli_State()
{
    AppState st;
    Load_Default_Strings(st.Lang_Table);
    Init_NMEA0183_Map();
    return st;
}

// check: the loads and checks of every file; resave: the same over the files that exist,
// then each written back when all passed.
int Check_Or_Resave(const QStringList& rest, QTextStream& out, QTextStream& err, bool resave)
{
    QString dir;
    if (!Folder_Argument(rest, &dir, err))
        return Exit_Usage;
    const AppState st = Cli_State();
    Loaded m;
    std::vector<ProjectFile> files = Project_Files(m);
    // Rows a file holds beyond its table would be lost by writing it back: refused then.
    if (!Check_Folder(st, dir, files, resave, resave, out, err))
        return Exit_Failed;
    if (!resave)
        return Exit_Ok;
    bool all = true;
    for (ProjectFile& f : files) {
        const QString path = Join_Path(dir, QString::fromLatin1(f.name));
        if (!QFileInfo::exists(path))
            continue;
        const FileResult r = f.save(st, path);
        if (!r.ok) {
            out << f.name << ": " << r.message << '\n';
            all = false;
        }
    }
    return all ? Exit_Ok : Exit_Failed;
}

int Cmd_Check(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    return Check_Or_Resave(rest, out, err, false);
}

int Cmd_Resave(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    return Check_Or_Resave(rest, out, err, true);
}

int Cmd_Compile(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    QString dir;
    if (!Folder_Argument(rest, &dir, err))
        return Exit_Usage;
    const AppState st = Cli_State();
    if (!QFileInfo(dir).isDir()) {
        err << File_Not_Read_Text(st, dir, QStringLiteral("No such folder")) << '\n';
        return Exit_Failed;
    }
    // The folder is compiled as the active configuration, exactly as Step 5 does.
    const QString folder = QDir::cleanPath(dir);
    Compiled_Banks banks;
    const FileResult r = Compile_And_Save_Banks(folder, st, banks);
    if (!r.ok) {
        err << r.message << '\n';
        return Exit_Failed;
    }
    out << Bank_Files_Summary(folder, st, banks) << '\n';
    return Exit_Ok;
}

int Cmd_Decode(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    Args a;
    if (!Parse_Args(rest, {QStringLiteral("--bank")}, &a) || a.positional.size() != 1) {
        err << Usage;
        return Exit_Usage;
    }
    int bank = 0;
    if (a.options.contains(QStringLiteral("--bank"))) {
        bool ok = false;
        bank = a.options.value(QStringLiteral("--bank")).toInt(&ok);
        if (!ok || bank < 1 || bank > 3) {
            err << Usage;
            return Exit_Usage;
        }
    }
    const AppState st = Cli_State();
    const QString file = a.positional.first();
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        err << File_Not_Read_Text(st, file, f.errorString()) << '\n';
        return Exit_Failed;
    }
    const QByteArray bytes = f.readAll();
    out << Decode_Bank(bytes, bank ? bank : Bank_Of_File(file, bytes));
    return Exit_Ok;
}

// One of the texts in allowed, as its position; -1 for anything else.
int Choice_Of(const QString& text, const QStringList& allowed)
{
    return int(allowed.indexOf(text));
}

QString Absolute_Native(const QString& path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

int Cmd_Job(const QStringList& rest, QTextStream&, QTextStream& err)
{
    const QStringList keys = {QStringLiteral("--program-dir"), QStringLiteral("--config"), QStringLiteral("--ip"),
                              QStringLiteral("--option"), QStringLiteral("--read-back")};
    Args a;
    if (!Parse_Args(rest, keys, &a) || !a.positional.isEmpty() || a.options.size() != keys.size()) {
        err << Usage;
        return Exit_Usage;
    }
    // The four address fields are the pieces of --ip, each as typed.
    const QStringList ip = a.options.value(QStringLiteral("--ip")).split(QLatin1Char('.'));
    Update_Choice c;
    c.Option = Choice_Of(a.options.value(QStringLiteral("--option")), {"0", "1", "2"});
    const int readBack = Choice_Of(a.options.value(QStringLiteral("--read-back")), {"0", "1"});
    if (ip.size() != 4 || c.Option < 0 || readBack < 0) {
        err << Usage;
        return Exit_Usage;
    }
    std::copy(ip.begin(), ip.end(), c.IP.begin());
    c.Read_Back = readBack == 1;
    QStringList Lang_Table;
    Load_Default_Strings(Lang_Table);
    Update_Folders folders;
    folders.Program_Dir = Absolute_Native(a.options.value(QStringLiteral("--program-dir")));
    folders.Master_Dir = Master_Dir_Of(folders.Program_Dir);
    folders.Active_Project_Dir = Absolute_Native(a.options.value(QStringLiteral("--config")));
    QString error;
    if (!Compile_XML_Parameter_New_Boot(Texts(Lang_Table), folders, c, &error)) {
        err << error << '\n';
        return Exit_Failed;
    }
    return Exit_Ok;
}

// The parameter set of the folder's ParGen.xml (the defaults when there is none).
bool Load_Folder_ParGen(const AppState& st, const QString& dir, ParGen* m, QTextStream& err)
{
    const FileResult r = Load_ParGen(st, Join_Path(dir, QString::fromLatin1(ParGen_File_Name)), *m);
    if (!r.ok)
        err << ParGen_File_Name << ": " << r.message << '\n';
    return r.ok;
}

int Cmd_Broker_Test(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    Args a;
    if (!Parse_Args(rest, {QStringLiteral("--timeout")}, &a) || a.positional.size() != 1) {
        err << Usage;
        return Exit_Usage;
    }
    BrokerTestOptions o;
    if (a.options.contains(QStringLiteral("--timeout"))) {
        bool ok = false;
        const double seconds = a.options.value(QStringLiteral("--timeout")).toDouble(&ok);
        if (!ok || seconds <= 0 || seconds > 3600) {
            err << Usage;
            return Exit_Usage;
        }
        o.stage_timeout_ms = int(seconds * 1000);
    }
    const AppState st = Cli_State();
    ParGen m = ParGen_Defaults();
    if (!Load_Folder_ParGen(st, a.positional.first(), &m, err))
        return Exit_Failed;
    // Each stage is printed as it ends.
    const BrokerTestResult r = Run_Broker_Test(m, System_Resolver(), o, nullptr, [&](const BrokerStage& s) {
        out << Broker_Stage_Line(st.Lang_Table, s) << Qt::endl;
    });
    out << Broker_Result_Lines(st.Lang_Table, r).constLast() << '\n';
    return r.Accepted() ? Exit_Ok : Exit_Failed;
}

int Cmd_Cert_Check(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    QString dir;
    if (!Folder_Argument(rest, &dir, err))
        return Exit_Usage;
    const AppState st = Cli_State();
    ParGen m = ParGen_Defaults();
    if (!Load_Folder_ParGen(st, dir, &m, err))
        return Exit_Failed;
    const TlsFieldsCheck c = Check_Tls_Fields(m);
    for (const QString& line : c.Lines(st.Lang_Table))
        out << line << '\n';
    return c.Problem() ? Exit_Failed : Exit_Ok;
}

QJsonObject Monitor_Json(const QStringList& lang, const Monitor& mon, const MonitorSnapshot& s)
{
    static const char* const states[] = {"waiting", "live", "overdue", "stale retained"};
    QJsonArray rules;
    for (size_t i = 0; i < mon.Rules().size(); ++i) {
        const MonitorRule& r = mon.Rules()[i];
        const RuleSeen& seen = s.seen[i];
        bool hex = false;
        const QString payload = Payload_Text(seen.payload, &hex);
        QJsonObject o{{"row", r.row},
                      {"topic", r.topic},
                      {"wildcard", r.wildcard},
                      {"state", states[int(Rule_State(r, seen, s.now_ms))]},
                      {"count", qint64(seen.count)}};
        if (seen.count > 0) {
            o.insert("retained", seen.retained);
            o.insert("age_ms", s.now_ms - seen.arrived_ms);
            o.insert(hex ? "payload_hex" : "payload", payload);
        }
        if (seen.interval_ms >= 0)
            o.insert("interval_ms", seen.interval_ms);
        if (r.on_timer)
            o.insert("time_ms", r.time_ms);
        rules.append(o);
    }
    return {{"broker", mon.Host()},
            {"port", mon.Port()},
            {"client_id", mon.Client_ID()},
            {"link", Monitor_Link_Line(lang, mon, s)},
            {"messages", qint64(s.messages)},
            {"all_seen", Monitor_All_Seen(mon.Rules(), s)},
            {"rules", rules}};
}

int Cmd_Monitor(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    QStringList args = rest;
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    Args a;
    bool ok = false;
    double seconds = 0;
    if (Parse_Args(args, {QStringLiteral("--seconds")}, &a) && a.positional.size() == 1)
        seconds = a.options.value(QStringLiteral("--seconds")).toDouble(&ok);
    if (!ok || seconds <= 0 || seconds > 86400) {
        err << Usage;
        return Exit_Usage;
    }
    const QString dir = a.positional.first();
    const AppState st = Cli_State();
    ParGen m = ParGen_Defaults();
    if (!Load_Folder_ParGen(st, dir, &m, err))
        return Exit_Failed;
    MQTT_Topic_Table topics;
    const FileResult r = Load_MQTT_Topic(st, Join_Path(dir, QString::fromLatin1(MQTT_Topic_File_Name)), topics);
    if (!r.ok) {
        err << MQTT_Topic_File_Name << ": " << r.message << '\n';
        return Exit_Failed;
    }
    Monitor mon(m, Monitor_Rules(topics));
    QString error;
    if (!mon.Start(st.Lang_Table, &error)) {
        err << st.Lang_Table.value(Txt::Monitor_Not_Started).arg(error) << '\n';
        return Exit_Failed;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(qint64(seconds * 1000)));
    const MonitorSnapshot s = mon.Take();
    mon.Stop();
    int seen = 0, expected = 0;
    const bool all = Monitor_All_Seen(mon.Rules(), s, &seen, &expected);
    if (json) {
        out << QString::fromUtf8(QJsonDocument(Monitor_Json(st.Lang_Table, mon, s)).toJson(QJsonDocument::Indented));
    } else {
        out << Monitor_Link_Line(st.Lang_Table, mon, s) << '\n';
        for (size_t i = 0; i < mon.Rules().size(); ++i) {
            const MonitorLine l = Monitor_Line(st.Lang_Table, mon.Rules()[i], s.seen[i], s.now_ms, 40);
            out << QStringList{l.row, l.topic, l.state_text, l.count, l.payload}.join(QLatin1Char('\t')) << '\n';
        }
        out << st.Lang_Table.value(Txt::Monitor_Seen).arg(seen).arg(expected) << '\n';
    }
    // A broker never reached is a failure even when no rule had to be seen.
    return all && s.link.connects > 0 ? Exit_Ok : Exit_Failed;
}

QJsonArray Json_Rows(const QList<int>& rows)
{
    QJsonArray a;
    for (int r : rows)
        a.append(r);
    return a;
}

QJsonDocument Map_Json(const Data_Area_Map& map)
{
    QJsonArray ranges;
    for (const Map_Range& r : Map_Ranges(map)) {
        QJsonArray listeners, rules;
        for (int i : r.listeners) {
            const Map_Listener& l = map.listeners[i];
            listeners.append(QJsonObject{{"row", l.use.row}, {"sentence", l.Sentence},
                                         {"field", l.DataField}, {"dimension", l.use.Dimension}});
        }
        for (int i : r.rules) {
            const Map_Rule& p = map.rules[i];
            rules.append(QJsonObject{{"row", p.use.row}, {"topic", p.Topic},
                                     {"data_type", p.DataType}, {"dimension", p.use.Dimension}});
        }
        ranges.append(QJsonObject{{"first", r.first}, {"last", r.last}, {"listeners", listeners}, {"rules", rules}});
    }
    QJsonArray findings;
    for (const Map_Finding& f : map.findings)
        findings.append(QJsonObject{
            {"severity", f.severity == Finding_Severity::Warning ? "warning" : "note"},
            {"rows", QJsonObject{{"listener", Json_Rows(f.listener_rows)}, {"publish", Json_Rows(f.rule_rows)}}},
            {"text", f.text}});
    return QJsonDocument(QJsonObject{{"ranges", ranges}, {"findings", findings}});
}

// map: the ranges of the data area in address order with the rows filling and reading
// them, then the findings.
int Cmd_Map(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    const bool json = rest.contains(QStringLiteral("--json"));
    QStringList args = rest;
    args.removeAll(QStringLiteral("--json"));
    QString dir;
    if (!Folder_Argument(args, &dir, err))
        return Exit_Usage;
    const AppState st = Cli_State();
    Data_Area_Map map;
    const FileResult r = Load_Data_Area_Map(st, dir, map);
    for (const QString& n : r.notices)
        err << n << '\n';
    if (!r.ok) {
        err << r.message << '\n';
        return Exit_Failed;
    }
    if (json) {
        out << Map_Json(map).toJson();
        return Exit_Ok;
    }
    for (const Map_Range& g : Map_Ranges(map)) {
        out << g.first << '-' << g.last << '\n';
        for (int i : g.listeners)
            out << "  " << Listener_Line(st, map.listeners[i]) << '\n';
        for (int i : g.rules)
            out << "  " << Rule_Line(st, map.rules[i]) << '\n';
    }
    for (const Map_Finding& f : map.findings)
        out << f.text << '\n';
    return Exit_Ok;
}

// table export|import: the CSV form of the listener or the publish table.
int Cmd_Table(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    QStringList args = rest;
    const bool append = args.removeAll(QStringLiteral("--append")) > 0;
    Args a;
    if (!Parse_Args(args, {QStringLiteral("--output")}, &a) || a.positional.size() < 3) {
        err << Usage;
        return Exit_Usage;
    }
    const QString verb = a.positional.at(0);
    const QString dir = a.positional.at(1);
    const int which = Choice_Of(a.positional.at(2), {"listener", "publish"});
    const bool exporting = verb == QLatin1String("export") && a.positional.size() == 3 && !append;
    const bool importing = verb == QLatin1String("import") && a.positional.size() == 4 && a.options.isEmpty();
    if (which < 0 || (!exporting && !importing)) {
        err << Usage;
        return Exit_Usage;
    }
    const Csv_Table table = which == 0 ? Csv_Table::Listener : Csv_Table::Publish;
    const AppState st = Cli_State();
    QByteArray csv;
    const FileResult r = exporting ? Export_Table_Csv(st, dir, table, &csv)
                                   : Import_Table_Csv(st, dir, table, a.positional.at(3), append);
    for (const QString& n : r.notices)
        err << n << '\n';
    if (!r.ok) {
        err << r.message << '\n';
        return Exit_Failed;
    }
    if (!exporting)
        return Exit_Ok;
    if (!a.options.contains(QStringLiteral("--output"))) {
        // Decoded with its byte-order mark, which the stream writes out again.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        out << QString(utf8.decode(csv));
        return Exit_Ok;
    }
    const QString file = a.options.value(QStringLiteral("--output"));
    QString reason;
    if (!Write_File_Atomic(file, csv, &reason)) {
        err << File_Not_Written_Text(st, file, reason) << '\n';
        return Exit_Failed;
    }
    return Exit_Ok;
}

// fleet plan: the devices' configurations, one line per device, then the count.
int Fleet_Plan(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    QStringList args = rest;
    Fleet_Plan_Options o;
    o.replace = args.removeAll(QStringLiteral("--replace")) > 0;
    if (args.size() != 2 || args.at(0).startsWith(QLatin1String("--")) || args.at(1).startsWith(QLatin1String("--"))) {
        err << Usage;
        return Exit_Usage;
    }
    const AppState st = Cli_State();
    Fleet_Report report;
    const FileResult r = Plan_Fleet(st, args.at(0), args.at(1), o, &report);
    int planned = 0;
    for (const Device_Record& d : std::as_const(report.devices)) {
        out << d.name << " (" << d.ip << "): " << Device_State_Text(st, d) << '\n';
        for (const QString& w : d.warnings)
            out << d.name << ": " << w << '\n';
        planned += d.planned ? 1 : 0;
    }
    if (!r.ok) {
        err << r.message << '\n';
        return Exit_Failed;
    }
    out << st.Get_Lang_Text(Txt::Fleet_Plan_Done).arg(planned).arg(report.devices.size()) << '\n';
    return planned == report.devices.size() ? Exit_Ok : Exit_Failed;
}

// fleet update: one device at a time, a line for each as it ends, then the count.
int Fleet_Update(const QStringList& rest, QTextStream& out, QTextStream& err, const Cli_Echo& seams)
{
    QStringList args = rest;
    Fleet_Update_Options o;
    o.resume = args.removeAll(QStringLiteral("--resume")) > 0;
    Args a;
    if (!Parse_Args(args, {QStringLiteral("--program-dir"), QStringLiteral("--only"), QStringLiteral("--option"),
                           QStringLiteral("--read-back")},
                    &a)
        || a.positional.size() != 1 || !a.options.contains(QStringLiteral("--program-dir"))) {
        err << Usage;
        return Exit_Usage;
    }
    // As the update dialog starts: firmware and configuration, read back on.
    o.option = Choice_Of(a.options.value(QStringLiteral("--option"), QStringLiteral("0")), {"0", "1", "2"});
    const int read_back = Choice_Of(a.options.value(QStringLiteral("--read-back"), QStringLiteral("1")),
                                    {"0", "1", "off", "on"});
    if (o.option < 0 || read_back < 0) {
        err << Usage;
        return Exit_Usage;
    }
    o.read_back = read_back % 2 == 1;
    if (a.options.contains(QStringLiteral("--only")))
        o.only = a.options.value(QStringLiteral("--only")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    o.program_dir = Absolute_Native(a.options.value(QStringLiteral("--program-dir")));

    const AppState st = Cli_State();
    SystemEcho system_echo;
    PingClock system_clock;
    IEcho& echo = seams.echo ? *seams.echo : system_echo;
    PingClock& clock = seams.clock ? *seams.clock : system_clock;
    out << st.Get_Lang_Text(Txt::Fleet_One_At_A_Time) << Qt::endl;
    Fleet_Report report;
    Fleet_Update_Outcome outcome;
    Fleet_Update_Hooks hooks;
    hooks.finished = [&](int i) {
        const Device_Record& d = report.devices.at(i);
        out << d.name << " (" << d.ip << "): " << Device_State_Text(st, d) << Qt::endl;
    };
    const FileResult r = Update_Fleet(st, a.positional.first(), o, echo, clock, &report, &outcome, hooks);
    if (!r.ok) {
        err << r.message << '\n';
        return Exit_Failed;
    }
    out << st.Get_Lang_Text(Txt::Fleet_Update_Done).arg(outcome.taken - outcome.failed).arg(outcome.taken) << '\n';
    return outcome.failed == 0 ? Exit_Ok : Exit_Failed;
}

int Cmd_Fleet(const QStringList& rest, QTextStream& out, QTextStream& err, const Cli_Echo& seams)
{
    if (rest.value(0) == QLatin1String("plan"))
        return Fleet_Plan(rest.mid(1), out, err);
    if (rest.value(0) == QLatin1String("update"))
        return Fleet_Update(rest.mid(1), out, err, seams);
    err << Usage;
    return Exit_Usage;
}

struct Command {
    const char* name;
    std::function<int(const QStringList&, QTextStream&, QTextStream&)> run;
};

const Command Commands[] = {
    {"texts", Cmd_Texts},
    {"sentences", Cmd_Sentences},
    {"check", Cmd_Check},
    {"resave", Cmd_Resave},
    {"compile", Cmd_Compile},
    {"decode", Cmd_Decode},
    {"job", Cmd_Job},
    {"broker-test", Cmd_Broker_Test},
    {"cert-check", Cmd_Cert_Check},
    {"monitor", Cmd_Monitor},
    {"map", Cmd_Map},
    {"table", Cmd_Table},
};

} // namespace

int Run_Cli(const QStringList& args, QTextStream& out, QTextStream& err, const Cli_Echo& echo)
{
    if (args.isEmpty()) {
        err << Usage;
        return Exit_Usage;
    }
    if (args.first() == QLatin1String("--version")) {
        out << Version_Line(QStringLiteral("swr2305-cli")) << '\n';
        return Exit_Ok;
    }
    if (args.first() == QLatin1String("--help")) {
        out << Usage;
        return Exit_Ok;
    }
    // The one command that reaches devices takes the echo it is given.
    if (args.first() == QLatin1String("fleet"))
        return Cmd_Fleet(args.mid(1), out, err, echo);
    for (const Command& c : Commands)
        if (args.first() == QLatin1String(c.name))
            return c.run(args.mid(1), out, err);
    err << Usage;
    return Exit_Usage;
}

} // namespace swr
