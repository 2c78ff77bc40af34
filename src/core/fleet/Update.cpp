#include "fleet/Update.h"

#include "base/Crc32.h"
#include "base/Files.h"
#include "compiler/Compiler.h"
#include "fleet/Devices.h"
#include "lang/LangTable.h"
#include "lang/Texts.h"
#include "update/Ping.h"

#include <QDir>
#include <QFile>

namespace swr {

namespace {

// The report belongs to the devices file when it lists the same devices, in the same order
// and at the same addresses.
bool Same_Devices(const Fleet_Devices& devices, const Fleet_Report& report)
{
    if (report.devices.size() != devices.devices.size())
        return false;
    for (int i = 0; i < int(devices.devices.size()); ++i)
        if (report.devices.at(i).name != devices.Name(i) || report.devices.at(i).ip != devices.Address(i))
            return false;
    return true;
}

// Whether the bank files in the folder are still those the plan wrote.
bool Banks_As_Planned(const Device_Record& d)
{
    for (size_t k = 0; k < d.banks.size(); ++k) {
        QFile f(Join_Path(Join_Path(d.folder, QStringLiteral("bin")), QLatin1String(Bank_File_Names[k])));
        if (!f.open(QIODevice::ReadOnly))
            return false;
        const QByteArray bytes = f.readAll();
        if (Bank_Record{bytes.size(), Crc32(bytes)} != d.banks[k])
            return false;
    }
    return true;
}

// One device: the echo check, the job and the updater. False when the run must stop
// because the updater is still running.
bool Update_Device(const Texts& texts, const Fleet_Update_Options& o, const QString& updater, IEcho& echo,
                   PingClock& clock, Device_Record& d, const std::function<void(Fleet_Step)>& step)
{
    Update_Record& u = d.update;
    u = {};
    u.started = Report_Time_Now();
    const auto failed = [&](const QString& message) {
        u.status = QLatin1String(Status_Failed);
        u.message = message;
        u.ended = Report_Time_Now();
    };
    if (o.option != Update_Firmware && !Banks_As_Planned(d)) {
        failed(texts.Get_Lang_Text(Txt::Fleet_Banks_Changed).arg(d.folder));
        return true;
    }

    step(Fleet_Step::Echo);
    const qint64 asked = clock.Now_Ms();
    const PingResult ping = Send_Ping(echo, d.ip, [] {}, clock);
    u.echo_ms = clock.Now_Ms() - asked;
    u.echo = QLatin1String(ping.ok ? Echo_Answered : ping.ping_res == 2 ? Echo_No_Answer : Echo_Error);
    if (!ping.ok) {
        failed(texts.Get_Lang_Text(Ping_Failure_Text(ping)));
        return true;
    }

    step(Fleet_Step::Job);
    Update_Choice choice;
    const QStringList octets = d.ip.split(QLatin1Char('.'));
    std::copy(octets.begin(), octets.end(), choice.IP.begin());
    choice.Option = o.option;
    choice.Read_Back = o.read_back;
    const Update_Folders folders{o.program_dir, Master_Dir_Of(o.program_dir), d.folder};
    QString error;
    if (!Compile_XML_Parameter_New_Boot(texts, folders, choice, &error)) {
        failed(error);
        return true;
    }

    step(Fleet_Step::Updater);
    // The updater reads its job from the folder it runs in.
    const StartProgramResult run = Start_Program(updater, QString(), false, {}, o.updater_limit_ms, o.program_dir);
    if (!run.started) {
        failed(texts.Get_Lang_Text(Txt::Updater_Not_Started) + QDir::toNativeSeparators(updater));
        return true;
    }
    if (!run.ended) {
        // It still reads the job file, which the next device would write over.
        failed(texts.Get_Lang_Text(Txt::Fleet_Updater_Running).arg(o.updater_limit_ms / 1000));
        return false;
    }
    u.updater_exit = run.exit_status;
    if (run.exit_status != 0) {
        failed(texts.Get_Lang_Text(Txt::Fleet_Updater_Status).arg(run.exit_status));
        return true;
    }
    u.status = QLatin1String(Status_Updated);
    u.ended = Report_Time_Now();
    return true;
}

} // namespace

QList<int> Fleet_Update_Devices(const Fleet_Report& report, const Fleet_Update_Options& options)
{
    QList<int> taken;
    for (int i = 0; i < int(report.devices.size()); ++i) {
        const Device_Record& d = report.devices.at(i);
        if (!d.planned)
            continue;
        if (!options.only.isEmpty() && !options.only.contains(d.name, Qt::CaseInsensitive))
            continue;
        if (options.resume && d.update.status == QLatin1String(Status_Updated))
            continue;
        taken.append(i);
    }
    return taken;
}

FileResult Update_Fleet(const Texts& texts, const QString& devices_file, const Fleet_Update_Options& options,
                        IEcho& echo, PingClock& clock, Fleet_Report* report, Fleet_Update_Outcome* outcome,
                        const Fleet_Update_Hooks& hooks)
{
    *outcome = {};
    Fleet_Devices devices;
    FileResult r = Load_Devices_File(texts, devices_file, &devices);
    if (!r.ok)
        return r;
    for (const QString& name : options.only) {
        bool listed = false;
        for (int i = 0; i < int(devices.devices.size()) && !listed; ++i)
            listed = devices.Name(i).compare(name, Qt::CaseInsensitive) == 0;
        if (!listed)
            return FileResult::Failed(texts.Get_Lang_Text(Txt::Fleet_No_Such_Device).arg(name));
    }
    Fleet_Report rep;
    r = Load_Fleet_Report(texts, devices_file, &rep);
    if (!r.ok)
        return r;
    if (!Same_Devices(devices, rep))
        return FileResult::Failed(texts.Get_Lang_Text(Txt::Fleet_Not_Planned));
    *report = rep;

    const QList<int> taken = Fleet_Update_Devices(rep, options);
    // What the updater needs on this computer is looked for before any device is asked.
    QString updater;
    if (!taken.isEmpty()) {
        const QStringList folders = options.updater_folders.isEmpty() ? QStringList{options.program_dir}
                                                                      : options.updater_folders;
        const QString missing = Missing_For_Update(texts, Master_Dir_Of(options.program_dir), options.option, folders, &updater);
        if (!missing.isEmpty())
            return FileResult::Failed(missing);
    }
    for (int p = 0; p < int(taken.size()); ++p) {
        if (hooks.stop && *hooks.stop)
            break;
        const int i = taken.at(p);
        Device_Record& d = report->devices[i];
        const bool go_on = Update_Device(texts, options, updater, echo, clock, d, [&](Fleet_Step s) {
            if (hooks.step)
                hooks.step(i, p + 1, int(taken.size()), s);
        });
        ++outcome->taken;
        if (d.update.status != QLatin1String(Status_Updated))
            ++outcome->failed;
        r = Save_Fleet_Report(texts, devices_file, *report);
        if (hooks.finished)
            hooks.finished(i);
        if (!r.ok || !go_on)
            return r;
    }
    return r;
}

} // namespace swr
