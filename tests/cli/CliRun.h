#pragma once

#include "Cli.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace swr::test {

// One run of swr2305-cli inside the test process: exit status, standard output as UTF-8
// bytes, standard error as text.
struct CliRun {
    int rc;
    QByteArray out;
    QString err;
};

inline CliRun Cli(const QStringList& args, const Cli_Echo& echo = {})
{
    QByteArray out;
    QString err;
    QTextStream o(&out), e(&err);
    o.setEncoding(QStringConverter::Utf8);
    const int rc = Run_Cli(args, o, e, echo);
    o.flush();
    e.flush();
    return {rc, out, err};
}

} // namespace swr::test
