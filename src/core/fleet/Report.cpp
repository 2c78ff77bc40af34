#include "fleet/Report.h"

#include "base/Files.h"
#include "compiler/Compiler.h"
#include "lang/FileTexts.h"
#include "lang/LangTable.h"
#include "lang/Texts.h"
#include "project/CsvFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace swr {

namespace {

QString Crc_Text(uint32_t crc)
{
    return QStringLiteral("%1").arg(crc, 8, 16, QLatin1Char('0'));
}

// The text fields of a record by their names in the report, for its writer and reader.
template <class Record>
struct Text_Field {
    const char* key;
    QString Record::*member;
};
constexpr Text_Field<Update_Record> Update_Texts[] = {{"status", &Update_Record::status},
                                                      {"message", &Update_Record::message},
                                                      {"echo", &Update_Record::echo},
                                                      {"started", &Update_Record::started},
                                                      {"ended", &Update_Record::ended}};
constexpr Text_Field<Device_Record> Device_Texts[] = {{"name", &Device_Record::name},
                                                      {"ip", &Device_Record::ip},
                                                      {"folder", &Device_Record::folder},
                                                      {"message", &Device_Record::message}};

template <class Record, size_t N>
void Put_Texts(QJsonObject& o, const Record& r, const Text_Field<Record> (&fields)[N])
{
    for (const Text_Field<Record>& f : fields)
        o.insert(QLatin1String(f.key), r.*f.member);
}

template <class Record, size_t N>
void Take_Texts(Record& r, const QJsonObject& o, const Text_Field<Record> (&fields)[N])
{
    for (const Text_Field<Record>& f : fields)
        r.*f.member = o.value(QLatin1String(f.key)).toString();
}

QJsonObject Update_Json(const Update_Record& u)
{
    QJsonObject o;
    Put_Texts(o, u, Update_Texts);
    if (u.echo_ms >= 0)
        o.insert("echo_ms", u.echo_ms);
    if (u.updater_exit >= 0)
        o.insert("updater_exit", u.updater_exit);
    return o;
}

Update_Record Update_From(const QJsonObject& o)
{
    Update_Record u;
    Take_Texts(u, o, Update_Texts);
    u.echo_ms = o.value("echo_ms").toInteger(-1);
    u.updater_exit = int(o.value("updater_exit").toInteger(-1));
    return u;
}

QJsonObject Device_Json(const Device_Record& d)
{
    QJsonArray banks;
    for (size_t i = 0; i < d.banks.size(); ++i)
        banks.append(QJsonObject{{"file", QLatin1String(Bank_File_Names[i])},
                                 {"length", d.banks[i].length},
                                 {"crc32", Crc_Text(d.banks[i].crc32)}});
    QJsonObject o{{"status", QLatin1String(d.planned ? Status_Planned : Status_Failed)},
                  {"warnings", QJsonArray::fromStringList(d.warnings)}};
    Put_Texts(o, d, Device_Texts);
    if (d.planned)
        o.insert("banks", banks);
    if (!d.update.status.isEmpty())
        o.insert("update", Update_Json(d.update));
    return o;
}

Device_Record Device_From(const QJsonObject& o)
{
    Device_Record d;
    Take_Texts(d, o, Device_Texts);
    d.planned = o.value("status").toString() == QLatin1String(Status_Planned);
    for (const QJsonValue w : o.value("warnings").toArray())
        d.warnings.append(w.toString());
    const QJsonArray banks = o.value("banks").toArray();
    for (qsizetype i = 0; i < banks.size() && i < qsizetype(d.banks.size()); ++i) {
        const QJsonObject b = banks.at(i).toObject();
        d.banks[size_t(i)].length = b.value("length").toInteger();
        d.banks[size_t(i)].crc32 = b.value("crc32").toString().toUInt(nullptr, 16);
    }
    if (o.contains("update"))
        d.update = Update_From(o.value("update").toObject());
    return d;
}

FileResult Write(const Texts& texts, const QString& path, const QByteArray& bytes)
{
    FileResult r;
    QString reason;
    if (!Write_File_Atomic(path, bytes, &reason)) {
        r.ok = false;
        r.message = File_Not_Written_Text(texts, path, reason);
    }
    return r;
}

} // namespace

QString Fleet_Report_Path(const QString& devices_file, const char* name)
{
    return Join_Path(QFileInfo(devices_file).absolutePath(), QLatin1String(name));
}

QByteArray Fleet_Report_Json(const Fleet_Report& r)
{
    QJsonArray devices;
    for (const Device_Record& d : r.devices)
        devices.append(Device_Json(d));
    return QJsonDocument(QJsonObject{{"template", r.template_dir}, {"projects", r.projects_dir}, {"devices", devices}})
        .toJson(QJsonDocument::Indented);
}

QByteArray Fleet_Report_Csv(const Fleet_Report& r)
{
    QStringList header{"name", "ip", "status", "message", "warnings"};
    for (const char* bank : {"bank1", "bank2", "bank3"})
        header << QLatin1String(bank) + QLatin1String("_length") << QLatin1String(bank) + QLatin1String("_crc32");
    header << "update_status" << "update_message" << "echo" << "echo_ms" << "updater_exit" << "update_started"
           << "update_ended";
    QString out;
    Append_Csv_Line(out, header);
    for (const Device_Record& d : r.devices) {
        QStringList line{d.name, d.ip, QLatin1String(d.planned ? Status_Planned : Status_Failed), d.message,
                         d.warnings.join(QLatin1Char('\n'))};
        for (const Bank_Record& b : d.banks)
            line << (d.planned ? QString::number(b.length) : QString()) << (d.planned ? Crc_Text(b.crc32) : QString());
        const Update_Record& u = d.update;
        line << u.status << u.message << u.echo << (u.echo_ms >= 0 ? QString::number(u.echo_ms) : QString())
             << (u.updater_exit >= 0 ? QString::number(u.updater_exit) : QString()) << u.started << u.ended;
        Append_Csv_Line(out, line);
    }
    return Csv_File_Bytes(out);
}

bool Fleet_Report_From_Json(const QByteArray& json, Fleet_Report* out, QString* reason)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        *reason = error.errorString();
        return false;
    }
    // A document without a list of devices is a report of none.
    const QJsonObject root = doc.object();
    Fleet_Report r;
    r.template_dir = root.value("template").toString();
    r.projects_dir = root.value("projects").toString();
    for (const QJsonValue d : root.value("devices").toArray())
        r.devices.append(Device_From(d.toObject()));
    *out = std::move(r);
    return true;
}

FileResult Save_Fleet_Report(const Texts& texts, const QString& devices_file, const Fleet_Report& r)
{
    const FileResult json = Write(texts, Fleet_Report_Path(devices_file, Fleet_Json_Name), Fleet_Report_Json(r));
    if (!json.ok)
        return json;
    return Write(texts, Fleet_Report_Path(devices_file, Fleet_Csv_Name), Fleet_Report_Csv(r));
}

FileResult Load_Fleet_Report(const Texts& texts, const QString& devices_file, Fleet_Report* out)
{
    FileResult r;
    const QString path = Fleet_Report_Path(devices_file, Fleet_Json_Name);
    QFile f(path);
    if (!f.exists()) {
        *out = {};
        return r;
    }
    QString reason;
    if (!f.open(QIODevice::ReadOnly))
        reason = f.errorString();
    else if (Fleet_Report_From_Json(f.readAll(), out, &reason))
        return r;
    r.ok = false;
    r.message = File_Not_Read_Text(texts, path, reason);
    return r;
}

QString Device_State_Text(const Texts& texts, const Device_Record& d)
{
    if (d.update.status == QLatin1String(Status_Updated))
        return texts.Get_Lang_Text(Txt::Fleet_States + 2);
    if (!d.update.status.isEmpty())
        return texts.Get_Lang_Text(Txt::Fleet_States + 3).arg(d.update.message);
    if (d.planned)
        return texts.Get_Lang_Text(Txt::Fleet_States);
    return texts.Get_Lang_Text(Txt::Fleet_States + 1).arg(d.message);
}

QString Report_Time_Now()
{
    const QDateTime now = QDateTime::currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

} // namespace swr
