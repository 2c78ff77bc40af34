#pragma once

#include <QByteArray>
#include <QString>

namespace swr {

// Joins a folder and a name with the platform's separator; folders carry none at the end.
QString Join_Path(const QString& folder, const QString& name);

// Writes data to a temporary file beside path, puts it on the disk and renames it over
// path, so a failed or interrupted write never leaves a truncated or missing file. On
// failure the old file is as it was, and error gets the system's reason.
bool Write_File_Atomic(const QString& path, const QByteArray& data, QString* error);

// Creates path, which must not exist yet, writes data to it and puts it on the disk. On
// failure the partial file is removed and error gets the system's reason.
bool Write_New_File(const QString& path, const QByteArray& data, QString* error);

// A short random text that makes the name of a temporary file or folder unique.
QString Unique_Tag();

} // namespace swr
