#include "fleet/Plan.h"

#include "base/Crc32.h"
#include "base/Files.h"
#include "compiler/Compiler.h"
#include "fleet/Devices.h"
#include "fleet/Secrets.h"
#include "fleet/Substitution.h"
#include "lang/LangTable.h"
#include "lang/Texts.h"
#include "project/DataAreaMap.h"
#include "update/Ping.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace swr {

namespace {

constexpr int Devices_Per_Core = 8;

// Runs work(i) for i in 0..count-1 on up to threads threads at once.
void For_Each_Parallel(int count, int threads, const std::function<void(int)>& work)
{
    std::atomic<int> next{0};
    const auto run = [&] {
        for (int i = next++; i < count; i = next++)
            work(i);
    };
    std::vector<std::thread> pool;
    for (int k = 1; k < std::min(threads, count); ++k)
        pool.emplace_back(run);
    run();
    for (std::thread& t : pool)
        t.join();
}

// What the plan knows of one device as it goes.
struct Device_Work {
    Device_Record rec;
    Fleet_Template config;
    bool substituted = false;
    std::optional<quint32> address;
    QStringList errors;
    QStringList secrets;
    QString client_id, device_name;
    QStringList topics; // the publish rules' topics, each once, in table order
};

// The device's variables: the devices file's columns.
Variable_Lookup Lookup_Of(const Fleet_Devices& devices, int device)
{
    return [&devices, device](QStringView name) { return devices.Value(device, name); };
}

QString Folded(const QString& s)
{
    return s.toCaseFolded();
}

// The other devices' names as a message lists them: the first three, then an ellipsis.
QString Other_Names(const std::vector<Device_Work>& work, const QList<int>& group, int self)
{
    QStringList names;
    for (int k : group)
        if (k != self)
            names.append(QLatin1Char('"') + work[size_t(k)].rec.name + QLatin1Char('"'));
    if (names.size() > 3) {
        names.resize(3);
        names.append(QStringLiteral("\u2026"));
    }
    return names.join(QLatin1String(", "));
}

// Every group of devices sharing a key (empty keys left out) hears of the others in it.
template <class Key>
void Same_Key(std::vector<Device_Work>& work, Key key,
              const std::function<void(Device_Work&, const QString& others)>& found)
{
    QHash<QString, QList<int>> groups;
    QStringList order;
    for (int i = 0; i < int(work.size()); ++i) {
        const std::optional<QString> k = key(work[size_t(i)]);
        if (!k || k->isEmpty())
            continue;
        QList<int>& g = groups[*k];
        if (g.isEmpty())
            order.append(*k);
        g.append(i);
    }
    for (const QString& k : order) {
        const QList<int>& g = groups[k];
        if (g.size() > 1)
            for (int i : g)
                found(work[size_t(i)], Other_Names(work, g, i));
    }
}

// A device on its own: its name, its address, its files with its variables, and their
// checks, as the editors check them.
void Prepare(const Texts& texts, const Fleet_Template& t, const Fleet_Devices& devices, const QString& projects,
             int i, Device_Work& w)
{
    w.rec.name = devices.Name(i);
    w.rec.ip = devices.Address(i);
    w.rec.folder = QDir::toNativeSeparators(Join_Path(projects, w.rec.name));
    if (w.rec.name.isEmpty())
        w.errors << texts.Get_Lang_Text(Txt::New_Name_Empty);
    else if (!Name_Stays_Inside(w.rec.name))
        w.errors << texts.Get_Lang_Text(Txt::New_Name_Invalid_Create);
    w.address = Parse_IPv4(w.rec.ip);
    if (!w.address)
        w.errors << texts.Get_Lang_Text(Txt::Fleet_Bad_Address).arg(w.rec.ip);
    const FileResult s = Substitute_Template(texts, t, Lookup_Of(devices, i), &w.config);
    if (!s.ok) {
        w.errors << s.message;
        return;
    }
    w.substituted = true;
    ParGen& par = w.config.par;
    if (w.address) {
        const ParKey octets[] = {ParKey::Ethernet_IP1, ParKey::Ethernet_IP2, ParKey::Ethernet_IP3,
                                 ParKey::Ethernet_IP4};
        for (int k = 0; k < 4; ++k)
            par.Set_Text(octets[k], QString::number((*w.address >> (24 - 8 * k)) & 0xFF));
    }
    w.secrets = Secret_Values(par);
    w.client_id = par.Text(ParKey::MQTT_Client_ID);
    // The device keeps as much of its name as its field holds.
    w.device_name = par.Text(ParKey::Eth_Conn_Device_Name).left(Par_Key_Info(ParKey::Eth_Conn_Device_Name).max_length);
    QSet<QString> seen;
    for (const MQTT_Publish_Row& row : std::as_const(w.config.mqtt.Pub))
        if (Is_Publish_Rule(row) && !seen.contains(row.Topic)) {
            seen.insert(row.Topic);
            w.topics.append(row.Topic);
        }

    const auto check = [&](const char* file, const Check_Findings& found) {
        if (const Check_Finding* e = First_Error(found))
            w.errors << QLatin1String(file) + QLatin1String(": ") + e->message;
        for (const Check_Finding& f : found)
            if (f.severity == Check_Finding::Warning)
                w.rec.warnings << QLatin1String(file) + QLatin1String(": ") + f.message;
    };
    check(ParGen_File_Name, Data_Check(texts, par));
    check(NMEA_Access_File_Name, Data_Check(texts, w.config.nmea));
    check(MQTT_Topic_File_Name, Data_Check(texts, w.config.mqtt));
}

// What no device may share with another, and the topics they had better not share. The
// values the messages quote may be made of anything, secrets included: mask hides those.
void Fleet_Checks(const Texts& texts, const QString& template_name, const Secret_Mask& mask,
                  std::vector<Device_Work>& work)
{
    Same_Key(work, [](const Device_Work& w) -> std::optional<QString> {
        return w.address ? std::optional(QString::number(*w.address)) : std::nullopt;
    }, [&](Device_Work& w, const QString& others) {
        w.errors << texts.Get_Lang_Text(Txt::Fleet_Same_Address).arg(w.rec.ip, others);
    });
    // Names that differ only in case may name one folder.
    Same_Key(work, [](const Device_Work& w) { return std::optional(Folded(w.rec.name)); },
             [&](Device_Work& w, const QString& others) {
                 w.errors << texts.Get_Lang_Text(Txt::Fleet_Same_Name).arg(others);
             });
    Same_Key(work, [](const Device_Work& w) {
        return w.substituted ? std::optional(w.client_id) : std::nullopt;
    }, [&](Device_Work& w, const QString& others) {
        w.errors << texts.Get_Lang_Text(Txt::Fleet_Same_Client_ID).arg(mask.Apply(w.client_id), others);
    });
    Same_Key(work, [](const Device_Work& w) {
        return w.substituted ? std::optional(Folded(w.device_name)) : std::nullopt;
    }, [&](Device_Work& w, const QString& others) {
        w.errors << texts.Get_Lang_Text(Txt::Fleet_Same_Device_Name).arg(mask.Apply(w.device_name), others);
    });
    // The template is no device: it keeps its folder whatever --replace says.
    for (Device_Work& w : work)
        if (!w.rec.name.isEmpty() && Folded(w.rec.name) == Folded(template_name))
            w.errors << texts.Get_Lang_Text(Txt::New_Name_Exists);

    QHash<QString, QList<int>> publishers;
    for (int i = 0; i < int(work.size()); ++i)
        for (const QString& topic : std::as_const(work[size_t(i)].topics))
            publishers[topic].append(i);
    for (int i = 0; i < int(work.size()); ++i) {
        Device_Work& w = work[size_t(i)];
        QList<int> others;
        QString first;
        int shared = 0;
        for (const QString& topic : std::as_const(w.topics)) {
            const QList<int>& p = publishers[topic];
            if (p.size() < 2)
                continue;
            if (shared++ == 0)
                first = topic;
            for (int k : p)
                if (k != i && !others.contains(k))
                    others.append(k);
        }
        if (shared > 0)
            w.rec.warnings << texts.Get_Lang_Text(Txt::Fleet_Same_Topics)
                                  .arg(shared)
                                  .arg(Other_Names(work, others, i), mask.Apply(first));
    }
}

// The device's folder gets its files, as the editors' OK writes them, its banks as one
// set and the check of its data area.
void Write_Device(const Texts& texts, Device_Work& w)
{
    const QString folder = w.rec.folder;
    const Project_Paths files = Project_Files_In(folder);
    FileResult r = Save_ParGen(texts, files.File_ParGen, w.config.par);
    if (r.ok)
        r = Save_NMEA_Access(texts, files.File_NMEA_Access, w.config.nmea);
    if (r.ok)
        r = Save_MQTT_Topic(texts, files.File_MQTT_Topic, w.config.mqtt);
    // The rules as the file now holds them, numbered as its rows: the save writes the rules
    // in table order and nothing else.
    MQTT_Topic_Table rules;
    int saved = 0;
    for (const MQTT_Publish_Row& row : std::as_const(w.config.mqtt.Pub))
        if (Is_Publish_Rule(row))
            rules.Pub[saved++] = row;
    w.config = {};
    if (!r.ok) {
        w.errors << r.message;
        return;
    }
    const Compiled_Banks banks = Compile_Configuration(folder, texts);
    r = Save_Banks(folder, texts, banks);
    if (!r.ok) {
        w.errors << (banks.Result.ok ? r.message : banks.Result.message);
        return;
    }
    const Bank_Image* images[] = {&banks.Bank1_Image, &banks.Bank2_Image, &banks.Bank3_Image};
    for (size_t k = 0; k < w.rec.banks.size(); ++k) {
        const QByteArray bytes = images[k]->File_Bytes();
        w.rec.banks[k] = {bytes.size(), Crc32(bytes)};
    }
    // The map of the listener rows as the compiler takes them, and of the rules.
    NMEA_Listener_Table listeners;
    if (Load_Compiled_Listeners(texts, files.File_NMEA_Access, files.File_ParGen, listeners).ok)
        for (const Map_Finding& f : Build_Data_Area_Map(texts, listeners, rules).findings)
            if (f.severity == Finding_Severity::Warning)
                w.rec.warnings << f.text;
}

} // namespace

FileResult Plan_Fleet(const Texts& texts, const QString& template_dir, const QString& devices_file,
                      const Fleet_Plan_Options& options, Fleet_Report* report, const Fleet_Progress& progress)
{
    FileResult r;
    Fleet_Devices devices;
    r = Load_Devices_File(texts, devices_file, &devices);
    if (!r.ok)
        return r;
    const QFileInfo template_info(QDir::cleanPath(template_dir));
    if (!template_info.isDir())
        return FileResult::Failed(texts.Get_Lang_Text(Txt::Project_Not_Valid) + QLatin1String(": ")
                                  + QDir::toNativeSeparators(template_dir));
    Fleet_Template t;
    r = Load_Fleet_Template(texts, template_info.absoluteFilePath(), &t);
    if (!r.ok)
        return r;

    const QString projects = template_info.absolutePath();
    const int count = int(devices.devices.size());
    // Writing a device waits mostly for the disk (every file is put on it before it takes
    // the old one's place), so several devices per core are worked on at once.
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    const int threads = options.threads > 0 ? options.threads : Devices_Per_Core * cores;
    std::vector<Device_Work> work(static_cast<size_t>(count));
    For_Each_Parallel(count, threads, [&](int i) { Prepare(texts, t, devices, projects, i, work[size_t(i)]); });
    QStringList secrets;
    for (const Device_Work& w : work)
        secrets << w.secrets;
    Fleet_Checks(texts, template_info.fileName(), Secret_Mask(secrets), work);
    // Folders one at a time, so that names the file system takes for one are caught.
    std::vector<int> to_write;
    for (int i = 0; i < count; ++i) {
        Device_Work& w = work[size_t(i)];
        if (w.errors.isEmpty())
            if (const int e = Create_Configuration_Folder(projects, w.rec.name, options.replace))
                w.errors << texts.Get_Lang_Text(e);
        if (w.errors.isEmpty())
            to_write.push_back(i);
    }

    std::mutex heard;
    int done = count - int(to_write.size());
    if (progress)
        progress(done, count, -1);
    For_Each_Parallel(int(to_write.size()), threads, [&](int k) {
        Write_Device(texts, work[size_t(to_write[size_t(k)])]);
        const std::lock_guard<std::mutex> lock(heard);
        if (progress)
            progress(++done, count, to_write[size_t(k)]);
    });

    Fleet_Report out;
    out.template_dir = QDir::toNativeSeparators(template_info.absoluteFilePath());
    out.projects_dir = QDir::toNativeSeparators(projects);
    for (Device_Work& w : work) {
        w.rec.planned = w.errors.isEmpty();
        if (!w.rec.planned)
            w.rec.banks = {};
        w.rec.message = w.errors.join(QLatin1String("; "));
        out.devices.append(std::move(w.rec));
    }
    *report = out;
    return Save_Fleet_Report(texts, devices_file, out);
}

} // namespace swr
