#pragma once

#include <QByteArray>
#include <QString>

namespace swr {

struct AppState;

// Joins a folder and a name with the platform's separator; folders carry none at the end.
QString Join_Path(const QString& folder, const QString& name);

// Writes data to a temporary file beside path and renames it over path, so a failed write
// never leaves a truncated or missing file. On failure returns false and sets error to
// the system's reason.
bool Write_File_Atomic(const QString& path, const QByteArray& data, QString* error);

// Message texts for file failures, built from the string table when they are shown.
QString File_Not_Written_Text(const AppState& st, const QString& path, const QString& reason);
QString File_Not_Read_Text(const AppState& st, const QString& path, const QString& reason);

} // namespace swr
