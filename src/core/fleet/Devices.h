#pragma once

#include "project/ProjectFile.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace swr {

class Texts;

// The devices file of a fleet: a CSV file (read as the tables' CSV is) whose header names
// the columns. Two are required: "name", the device's configuration name, and "ip", its
// address A.B.C.D. Every column, these two included, is a variable that ${column} in the
// template's files stands for. Column names are compared without regard to case.

inline constexpr const char* Device_Name_Column = "name";
inline constexpr const char* Device_Address_Column = "ip";

struct Fleet_Device {
    int line = 0;       // the line of the file where its row begins
    QStringList values; // one per column, in column order
};

struct Fleet_Devices {
    QStringList columns; // the header's names, trimmed, in file order
    QList<Fleet_Device> devices;

    // The column of a name, in any case; -1 when there is none.
    int Column(QAnyStringView name) const;
    QString Name(int device) const;
    QString Address(int device) const;
    // The value of the variable for the device; nullptr when no column is called so.
    const QString* Value(int device, QStringView variable) const;

    QHash<QString, int> index; // folded column name -> column
};

// Reads the devices file's text. On failure the message names the line, and the column
// where there is one. Lines of empty values are passed over.
FileResult Read_Devices(const Texts& texts, const QByteArray& csv, Fleet_Devices* out);

// Reads the file at path; a file without a device is refused too.
FileResult Load_Devices_File(const Texts& texts, const QString& path, Fleet_Devices* out);

} // namespace swr
