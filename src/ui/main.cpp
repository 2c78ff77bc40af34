#include "MainWindow.h"
#include "Program.h"

#include "app/Startup.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("SWR2305"));
    QApplication::setOrganizationName(QStringLiteral("Norvex"));

    swr::Program program(swr::Choose_Program_Dir(
        QApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
    program.Window().show();
    return app.exec();
}
