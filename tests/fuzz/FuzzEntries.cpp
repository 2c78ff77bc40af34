#include "FuzzEntries.h"

#include "session/AppState.h"
#include "base/Files.h"
#include "base/Messages.h"
#include "session/Settings.h"
#include "session/Projects.h"
#include "compiler/Compiler.h"
#include "fleet/Devices.h"
#include "fleet/Report.h"
#include "fleet/Substitution.h"
#include "lang/LangCheck.h"
#include "lang/LangTable.h"
#include "project/TableCsv.h"
#include "project/mqtt/MqttTopics.h"
#include "project/nmea/Nmea0183Catalogue.h"
#include "project/nmea/NmeaAccess.h"
#include "project/pargen/ParGen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace swr::fuzz {

namespace {

const AppState& State()
{
    static const AppState st = [] {
        AppState s;
        Load_Default_Strings(s.Lang_Table);
        Init_NMEA0183_Map();
        return s;
    }();
    return st;
}

// The readers take paths: the input goes to a file in a folder of this process.
QString Input_File(const char* name, const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}

// Load, check, save and load again: whatever was read must survive its own save.
template <typename Model, typename Load, typename Save, typename Check>
void Round_Trip(const char* name, const uint8_t* data, size_t size, Model m, Load load, Save save,
                Check check)
{
    const AppState& st = State();
    const QString path = Input_File(name, data, size);
    if (!load(st, path, m).ok)
        return;
    (void)check(st, m);
    if (!save(st, path, m).ok)
        return;
    Model again = m;
    load(st, path, again);
}

} // namespace

void ParGen_File(const uint8_t* data, size_t size)
{
    Round_Trip("ParGen.xml", data, size, ParGen_Defaults(), Load_ParGen, Save_ParGen,
               [](const AppState& st, const ParGen& m) { return Controllo_Dati(st, m); });
}

void NMEA_Access_File(const uint8_t* data, size_t size)
{
    Round_Trip("NMEA_0183_Set_Access.xml", data, size, NMEA_Listener_Table{}, Load_NMEA_Access,
               Save_NMEA_Access,
               [](const AppState& st, const NMEA_Listener_Table& m) { return Controllo_dati(st, m); });
}

void MQTT_Topic_File(const uint8_t* data, size_t size)
{
    Round_Trip("MQTT_Set_Topic.xml", data, size, MQTT_Topic_Table{}, Load_MQTT_Topic, Save_MQTT_Topic,
               [](const AppState& st, const MQTT_Topic_Table& m) { return Controllo_dati(st, m); });
}

void Language_File(const uint8_t* data, size_t size)
{
    QStringList table;
    Load_Default_Strings(table);
    const QString text = Decode_Language_Bytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    Apply_Language_Text(table, text);
    if (table.size() != Lang_Count)
        __builtin_trap();
    // The translator's check reads the same file.
    static const QStringList english = [] {
        QStringList t;
        Load_Default_Strings(t);
        return t;
    }();
    for (const Lang_Finding& f : Check_Language_Text(english, text))
        if (f.index < 0 || f.index >= Lang_Count || Lang_Finding_Line(english, f).isEmpty())
            __builtin_trap();
}

void Compile_Folder(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static AppState st = [] {
        AppState s = State();
        s.Active_Project_Name = QStringLiteral("Fuzz");
        s.Active_Project_Dir = QDir::toNativeSeparators(dir.path());
        Set_Files(s);
        QDir().mkpath(Join_Path(s.Active_Project_Dir, QStringLiteral("bin")));
        return s;
    }();
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\x1e');
    const QString files[] = {st.File_ParGen, st.File_NMEA_Access, st.File_MQTT_Topic};
    for (int i = 0; i < 3; ++i) {
        QFile::remove(files[i]);
        if (i < parts.size()) {
            QFile f(files[i]);
            if (f.open(QIODevice::WriteOnly))
                f.write(parts[i]);
        }
    }
    Compiled_Banks b;
    const FileResult r = Compile_And_Save_Banks(st.Active_Project_Dir, st, b);
    if (r.ok && (b.Bank1_Image.Length != 2048 || b.Bank2_Image.Length != 1536 || b.Bank3_Image.Length < 174
                 || b.Bank3_Image.Length > 0x20000))
        __builtin_trap();
}

namespace {

class Quiet_Messages : public IMessages {
public:
    void Show_Error(const QString&) override { ++errors; }
    void Show_Warning(const QString&) override {}
    void Show_Info(const QString&) override {}
    bool Ask_Yes_No(const QString&) override { return false; }
    int errors = 0;
};

} // namespace

void Settings_File(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    AppState st = State();
    st.Program_Dir = QDir::toNativeSeparators(dir.path());
    QFile f(swr::Settings_File(st));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    f.close();
    Quiet_Messages msg;
    Read_Settings(st, msg);
    // What was read survives its own save: reading the written file gives the same values.
    if (!Save_Setting(st, nullptr))
        return;
    AppState again = st;
    Read_Settings(again, msg);
    if (again.Active_Project_Name != st.Active_Project_Name || again.Last_IP_Address != st.Last_IP_Address
        || again.Language_Name != st.Language_Name || again.Enable_Internet != st.Enable_Internet
        || again.Enable_Update != st.Enable_Update || again.Enable_Jump_Field_Tables != st.Enable_Jump_Field_Tables
        || again.Double_Click_Auto_Size != st.Double_Click_Auto_Size)
        __builtin_trap();
}

namespace {

template <class Table>
void Csv_Round_Trip(const QByteArray& csv, bool append, Table t)
{
    const AppState& st = State();
    if (!Table_From_Csv(st, csv, append, t).ok)
        return;
    const QByteArray out = Table_Csv(t);
    Table again;
    if (!Table_From_Csv(st, out, false, again).ok || Table_Csv(again) != out)
        __builtin_trap();
}

// The same file as a fleet's devices file: every device has a value per column and a
// value somewhere; each value, taken as a template's text, is substituted with the
// device's variables; and the report of those devices, read as a devices file, gives back
// their names and addresses.
void Devices_File(const QByteArray& csv)
{
    const AppState& st = State();
    Fleet_Devices devices;
    if (!Read_Devices(st, csv, &devices).ok)
        return;
    if (devices.Column(QLatin1String(Device_Name_Column)) < 0 || devices.Column(QLatin1String(Device_Address_Column)) < 0)
        __builtin_trap();
    Fleet_Report report;
    for (int i = 0; i < int(devices.devices.size()); ++i) {
        const QStringList& values = devices.devices.at(i).values;
        if (values.size() != devices.columns.size() || values.join(QString()).isEmpty())
            __builtin_trap();
        for (const QString& v : values)
            Substitute(v, [&](QStringView name) { return devices.Value(i, name); });
        Device_Record d;
        d.name = devices.Name(i);
        d.ip = devices.Address(i);
        report.devices.append(d);
    }
    Fleet_Devices back;
    if (!Read_Devices(st, Fleet_Report_Csv(report), &back).ok || back.devices.size() != devices.devices.size())
        __builtin_trap();
    for (int i = 0; i < int(back.devices.size()); ++i)
        if (back.Name(i) != devices.Name(i) || back.Address(i) != devices.Address(i))
            __builtin_trap();
}

} // namespace

void Table_Csv_File(const uint8_t* data, size_t size)
{
    const QByteArray csv(reinterpret_cast<const char*>(data), qsizetype(size));
    Csv_Round_Trip(csv, false, NMEA_Listener_Table{});
    MQTT_Topic_Table m;
    m.Pub[1].Topic = QStringLiteral("first rule");
    Csv_Round_Trip(csv, true, m);
    Devices_File(csv);
}

const Entry Entries[] = {
    {"pargen", ParGen_File},
    {"nmea", NMEA_Access_File},
    {"mqtt", MQTT_Topic_File},
    {"language", Language_File},
    {"compile", Compile_Folder},
    {"settings", Settings_File},
    {"csv", Table_Csv_File},
};
const int Entry_Count = int(sizeof(Entries) / sizeof(Entries[0]));

} // namespace swr::fuzz
