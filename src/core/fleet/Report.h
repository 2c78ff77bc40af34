#pragma once

#include "project/ProjectFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace swr {

class Texts;

// The report of a fleet, fleet.json and fleet.csv beside the devices file: one entry per
// device of the last plan, in the devices file's order, with what its last update did.
// Neither holds a variable's value beyond the name and the address, nor anything secret.

inline constexpr const char* Fleet_Json_Name = "fleet.json";
inline constexpr const char* Fleet_Csv_Name = "fleet.csv";

// The words the report's status fields hold (a format, never translated).
inline constexpr const char* Status_Planned = "planned";
inline constexpr const char* Status_Failed = "failed";
inline constexpr const char* Status_Updated = "updated";

// How the echo check of an update ended.
inline constexpr const char* Echo_Answered = "answered";
inline constexpr const char* Echo_No_Answer = "no answer";
inline constexpr const char* Echo_Error = "error";

struct Bank_Record {
    qint64 length = 0;
    uint32_t crc32 = 0;
    bool operator==(const Bank_Record&) const = default;
};

struct Update_Record {
    QString status;  // empty while never run, else Status_Updated or Status_Failed
    QString message; // why it failed
    QString echo;    // Echo_Answered, Echo_No_Answer or Echo_Error; empty when not sent
    qint64 echo_ms = -1;
    int updater_exit = -1; // -1 when the updater did not end, or did not run
    QString started, ended; // ISO 8601 with milliseconds and the offset from UTC
    bool operator==(const Update_Record&) const = default;
};

struct Device_Record {
    QString name, ip;
    QString folder;  // the configuration folder
    bool planned = false;
    QString message; // why the plan failed
    QStringList warnings;
    std::array<Bank_Record, 3> banks{};
    Update_Record update;
    bool operator==(const Device_Record&) const = default;
};

struct Fleet_Report {
    QString template_dir;
    QString projects_dir;
    QList<Device_Record> devices;
    bool operator==(const Fleet_Report&) const = default;
};

// The two report files of the devices file at devices_file.
QString Fleet_Report_Path(const QString& devices_file, const char* name);

QByteArray Fleet_Report_Json(const Fleet_Report& r);
QByteArray Fleet_Report_Csv(const Fleet_Report& r);
// Reads fleet.json's text; false when it is no report.
bool Fleet_Report_From_Json(const QByteArray& json, Fleet_Report* out, QString* reason);

// Writes both files, each whole.
FileResult Save_Fleet_Report(const Texts& texts, const QString& devices_file, const Fleet_Report& r);
// Reads fleet.json; a missing one gives an empty report and no error.
FileResult Load_Fleet_Report(const Texts& texts, const QString& devices_file, Fleet_Report* out);

// The device's state as the window and the command line show it: its last update's
// outcome, or else its plan's.
QString Device_State_Text(const Texts& texts, const Device_Record& d);

// The time now as the report writes it.
QString Report_Time_Now();

} // namespace swr
