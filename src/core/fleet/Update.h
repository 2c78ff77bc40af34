#pragma once

#include "base/StartProgram.h"
#include "fleet/Report.h"
#include "project/ProjectFile.h"
#include "update/UpdateJob.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace swr {

class IEcho;
class PingClock;
class Texts;

// The update run of a fleet: for each planned device of the devices file, in its order,
// the echo check of its address, the job file for its configuration and the updater,
// waited for. The updater reads its job from the program folder, so the devices go one at
// a time. Each device's outcome goes into the report as soon as it is known.

struct Fleet_Update_Options {
    QString program_dir;                         // the job file, MASTER; the updater runs in it
    QStringList updater_folders;                 // where the updater is looked for, in order;
                                                 // the program folder when empty
    int option = Update_Firmware_Configuration;  // as the update dialog's list
    bool read_back = true;
    bool resume = false;   // passes over the devices whose last update ended well
    QStringList only;      // only these devices, by name (any case); all when empty
    int updater_limit_ms = Start_Program_Limit_Ms;
};

// The steps of one device, in order.
enum class Fleet_Step { Plan, Echo, Job, Updater };

struct Fleet_Update_Hooks {
    // Hears each step as it begins: the device's place in the report, its position in
    // the run (from 1) and the number of devices the run takes.
    std::function<void(int device, int position, int count, Fleet_Step step)> step;
    // Hears each device's outcome, once it is in the report.
    std::function<void(int device)> finished;
    // Set to stop the run after the device being updated now.
    const std::atomic<bool>* stop = nullptr;
};

// How the run went: the devices it took, and those that did not end well.
struct Fleet_Update_Outcome {
    int taken = 0;
    int failed = 0;
};

// Runs the update. ok false when it could not start (the devices file or the report
// cannot be read, --only names no device of the file) or the report cannot be written.
FileResult Update_Fleet(const Texts& texts, const QString& devices_file, const Fleet_Update_Options& options,
                        IEcho& echo, PingClock& clock, Fleet_Report* report, Fleet_Update_Outcome* outcome,
                        const Fleet_Update_Hooks& hooks = {});

// The devices of the report that an update with these options would take, in order
// (places in report.devices).
QList<int> Fleet_Update_Devices(const Fleet_Report& report, const Fleet_Update_Options& options);

} // namespace swr
