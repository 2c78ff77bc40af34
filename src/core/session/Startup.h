#pragma once

#include <QString>

namespace swr {

struct AppState;
class IMessages;

// Where the workspace lives: the executable's folder, or fallback when that folder
// cannot be written (an installed program).
QString Choose_Program_Dir(const QString& exeDir, const QString& fallbackDir);

// The default English texts, then the language file of Language_Name, falling back to
// English. A file that exists but cannot be read is reported; the defaults stay.
void Load_Language(AppState& st, IMessages& msg);

// The start-up sequence, from the workspace folders to the sentence catalogue. The main
// window applies its own texts and timer afterwards from the state.
void Start_Up(AppState& st, const QString& programDir, IMessages& msg);

// The update-check timer runs exactly when both internet switches are on.
bool Update_Timer_Wanted(const AppState& st);

} // namespace swr
