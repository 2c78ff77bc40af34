#pragma once

#include <QStringList>
#include <QTextStream>

namespace swr {

// The command-line tool: args without the program name. Returns the exit status
// (0 success, 1 failure, 2 usage error).
int Run_Cli(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace swr
