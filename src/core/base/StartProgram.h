#pragma once

#include <QString>

#include <functional>

namespace swr {

inline constexpr int Start_Program_Limit_Ms = 150000;

struct StartProgramResult {
    bool started = false;  // the program could be started
    bool ended = false;    // it ended within the limit (else it is left running)
    int exit_status = -1;  // once ended: its exit code, or -1 when it was killed by a signal
    QString error;         // the system's reason when it could not be started
};

// Starts the program NomeSW directly (no shell) with the command line Parameter and waits
// for its end, at most limitMs; a program still running then is left running. The program
// runs in a session of its own, so it outlives this one. tipo asks
// for a hidden window where the platform has such a thing. tick is called about every
// 10 ms with the milliseconds elapsed, so the caller can keep its windows painted. The
// program runs in workingDir, or in the caller's own working folder when that is empty.
StartProgramResult Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo,
                                 const std::function<void(qint64)>& tick = {},
                                 int limitMs = Start_Program_Limit_Ms, const QString& workingDir = {});

} // namespace swr
