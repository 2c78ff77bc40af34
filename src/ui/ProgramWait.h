#pragma once

#include "base/StartProgram.h"

class QWidget;

namespace swr {

struct AppState;

// Starts a program and waits for its end (at most 150 s) while a modal note names the
// program and counts the seconds: the windows keep painting but take no input. The program
// runs in the workspace (Program_Dir), where the job it may read lies.
StartProgramResult Start_Program_Waiting(QWidget* parent, const AppState& st, const QString& NomeSW,
                                         const QString& Parameter, bool tipo,
                                         int limitMs = Start_Program_Limit_Ms);

} // namespace swr
