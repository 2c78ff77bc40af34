#pragma once

#include <QString>

namespace swr {

struct AppState;
class IMessages;

inline constexpr const char* Settings_File_Name = "Konstrel.xml";

QString Settings_File(const AppState& st);

// Reads the settings file into the state, each value on its own with its default.
// A file that is not well-formed is reported and all defaults are used.
void Read_Settings(AppState& st, IMessages& msg);

// Writes the settings file from the state, whole. On failure returns false and sets
// error to the message to show (file and reason).
bool Save_Setting(const AppState& st, QString* error);

} // namespace swr
