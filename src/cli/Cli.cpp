#include "Cli.h"

#include "app/AppState.h"
#include "app/Files.h"
#include "lang/LangTable.h"
#include "project/nmea/Nmea0183Catalogue.h"

#include <QFileInfo>

#include <functional>

namespace swr {

namespace {

constexpr int Exit_Ok = 0;
constexpr int Exit_Failed = 1;
constexpr int Exit_Usage = 2;

const char* const Usage =
    "usage: swr2305-cli <command> [arguments]\n"
    "commands:\n"
    "  texts [--language FILE] [--output FILE]   the string table, one line per index\n"
    "  sentences                                 the NMEA 0183 sentence catalogue\n";

// Options of the form "--name value"; positional arguments are kept in order.
struct Args {
    QStringList positional;
    QMap<QString, QString> options;
};

bool Parse_Args(const QStringList& in, const QStringList& known, Args* out)
{
    for (qsizetype i = 0; i < in.size(); ++i) {
        const QString& a = in.at(i);
        if (a.startsWith(QLatin1String("--"))) {
            if (!known.contains(a) || i + 1 >= in.size() || out->options.contains(a))
                return false;
            out->options.insert(a, in.at(++i));
        } else {
            out->positional.append(a);
        }
    }
    return true;
}

int Cmd_Texts(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    Args a;
    if (!Parse_Args(rest, {QStringLiteral("--language"), QStringLiteral("--output")}, &a)
        || !a.positional.isEmpty()) {
        err << Usage;
        return Exit_Usage;
    }
    AppState st;
    Load_Default_Strings(st.Lang_Table);
    if (a.options.contains(QStringLiteral("--language"))) {
        const QString file = a.options.value(QStringLiteral("--language"));
        QString reason;
        if (!QFileInfo(file).isFile()) {
            err << File_Not_Read_Text(st, file, QStringLiteral("No such file")) << '\n';
            return Exit_Failed;
        }
        if (!Read_Language_File(st.Lang_Table, file, &reason)) {
            err << File_Not_Read_Text(st, file, reason) << '\n';
            return Exit_Failed;
        }
    }
    const QString text = Lang_Table_As_File_Text(st.Lang_Table);
    if (!a.options.contains(QStringLiteral("--output"))) {
        out << text;
        return Exit_Ok;
    }
    const QString file = a.options.value(QStringLiteral("--output"));
    QString reason;
    if (!Write_File_Atomic(file, QByteArray("\xEF\xBB\xBF") + text.toUtf8(), &reason)) {
        err << File_Not_Written_Text(st, file, reason) << '\n';
        return Exit_Failed;
    }
    return Exit_Ok;
}

int Cmd_Sentences(const QStringList& rest, QTextStream& out, QTextStream& err)
{
    if (!rest.isEmpty()) {
        err << Usage;
        return Exit_Usage;
    }
    Init_NMEA0183_Map();
    out << Sentences_Listing();
    return Exit_Ok;
}

struct Command {
    const char* name;
    std::function<int(const QStringList&, QTextStream&, QTextStream&)> run;
};

const Command Commands[] = {
    {"texts", Cmd_Texts},
    {"sentences", Cmd_Sentences},
};

} // namespace

int Run_Cli(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty()) {
        err << Usage;
        return Exit_Usage;
    }
    for (const Command& c : Commands)
        if (args.first() == QLatin1String(c.name))
            return c.run(args.mid(1), out, err);
    err << Usage;
    return Exit_Usage;
}

} // namespace swr
