#include "MainWindow.h"
#include "WidgetMessages.h"

#include "app/AppState.h"
#include "app/Startup.h"
#include "app/Version.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("SWR2305"));
    QApplication::setOrganizationName(QStringLiteral("Norvex"));

    swr::AppState st;
    swr::WidgetMessages msg(st);
    const QString programDir = swr::Choose_Program_Dir(
        QApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    swr::Start_Up(st, programDir, msg);

    swr::NoVersionCheck version;
    swr::TFKonstrelFirmWare window(st, msg, version);
    window.show();
    return app.exec();
}
