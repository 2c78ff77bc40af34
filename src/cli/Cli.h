#pragma once

#include <QStringList>
#include <QTextStream>

namespace swr {

class IEcho;
class PingClock;

// What the device check of "fleet update" sends its echo requests through, and the clock
// it waits by; the system's own when null (tests give fakes).
struct Cli_Echo {
    IEcho* echo = nullptr;
    PingClock* clock = nullptr;
};

// The command-line tool: args without the program name. Returns the exit status
// (0 success, 1 failure, 2 usage error).
int Run_Cli(const QStringList& args, QTextStream& out, QTextStream& err, const Cli_Echo& echo = {});

} // namespace swr
