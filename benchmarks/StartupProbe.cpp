// The program's own start, as main runs it, on the workspace folder given as the first
// argument; the second is the benchmark's start time.
#include "FirstPaint.h"

#include "MainWindow.h"
#include "Program.h"

#include "app/Startup.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv)
{
    swr::bench::Steps steps(swr::bench::Start_Ns(argc, argv, 2));
    steps.Done("to_main");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("SWR2305"));
    QApplication::setOrganizationName(QStringLiteral("Norvex"));
    steps.Done("application");

    swr::Program program(swr::Choose_Program_Dir(
                             argc > 1 ? QString::fromLocal8Bit(argv[1]) : QApplication::applicationDirPath(),
                             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)),
                         [&steps](const char* step) { steps.Done(step); });
    program.Window().show();
    steps.Done("show");
    swr::bench::Report_At_First_Paint(program.Window(), steps);
    return app.exec();
}
