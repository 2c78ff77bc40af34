#pragma once

#include <QString>

namespace swr {

struct AppState;
class IMessages;

// Where the workspace lives: the executable's folder, or fallbackDir (the per-user data
// folder) when that folder cannot be written or the program is installed for every user
// (even root, who may write there, then keeps the workspace in the data folder).
QString Choose_Program_Dir(const QString& exeDir, const QString& fallbackDir, bool installed = false);

// The default English texts, then the language file of Language_Name, falling back to
// English. A file that exists but cannot be read is reported; the defaults stay.
void Load_Language(AppState& st, IMessages& msg);

// Copies into Language_Dir each plain file of shippedDir that it does not hold yet: the
// language files and flags an installed program carries. A file the user has is never
// replaced; a shippedDir that does not exist copies nothing. Failures are not reported.
void Seed_Language_Dir(const QString& shippedDir, const QString& Language_Dir);

// The start-up sequence, from the workspace folders to the sentence catalogue. The main
// window applies its own texts and timer afterwards from the state. shippedLanguageDir,
// when given, seeds the workspace's LANGUAGE before the language is loaded.
void Start_Up(AppState& st, const QString& programDir, IMessages& msg, const QString& shippedLanguageDir = {});

// The update-check timer runs exactly when both internet switches are on.
bool Update_Timer_Wanted(const AppState& st);

} // namespace swr
