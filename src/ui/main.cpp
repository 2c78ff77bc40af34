#include "About.h"
#include "Desktop.h"
#include "MainWindow.h"
#include "ParGenScreen.h"
#include "SoftOptions.h"
#include "MqttTopicScreen.h"
#include "NmeaAccessScreen.h"
#include "TopicTemplate.h"
#include "UpdateDialog.h"
#include "WidgetMessages.h"

#include "app/AppState.h"
#include "app/Startup.h"
#include "app/VersionServer.h"
#include "update/Echo.h"

#include <QApplication>
#include <QPushButton>
#include <QToolButton>
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

    swr::HttpVersionCheck server;
    swr::DesktopBrowser browser;
    swr::TFKonstrelFirmWare window(st, msg, server);
    window.Browser = &browser;
    // The screens are created in this order, each joining Change_Language as it is made:
    // (main window, new and open configuration,) software options, About, Set
    // Communication, update dialog, NMEA 0183 access, MQTT topics, topic template.
    auto* FSoftOptions = new swr::TFSoftOptions(st, msg, server, browser, &window);
    window.Add_Lang_Screen(FSoftOptions);
    FSoftOptions->Change_Language = [&window] { window.Change_Language(); };
    window.Show_Soft_Options = [FSoftOptions] { return FSoftOptions->exec() == QDialog::Accepted; };
    auto* FAbout = new swr::TFAbout(st, browser, &window);
    window.Set_Step_Action(window.Btn_Info, [FAbout] { FAbout->exec(); });
    // The device check keeps the windows painted while it waits for each answer.
    swr::SystemEcho echo([] { QApplication::processEvents(); });
    auto* FParGen = new swr::TFParGen(st, msg, &window);
    window.Add_Lang_Screen(FParGen);
    window.Set_Step_Action(window.Btn_Prm_Gen, [FParGen] { FParGen->Execute(); });
    auto* FBoot = new swr::TFBoot(st, msg, echo, &window);
    window.Add_Lang_Screen(FBoot);
    window.Show_Update_Dialog = [FBoot] { FBoot->Show_Update(1); };
    auto* FNMEA_0183_Set_Access2 = new swr::TFNMEA_0183_Set_Access2(st, msg, &window);
    window.Add_Lang_Screen(FNMEA_0183_Set_Access2);
    window.Set_Step_Action(window.Btn_NMEA0183_Access,
                           [FNMEA_0183_Set_Access2] { FNMEA_0183_Set_Access2->Show_Access(); });
    auto* FTopicTemplate = new swr::TFTopicTemplate(st, &window);
    auto* FMQTT_Set_Topic = new swr::TFMQTT_Set_Topic(st, msg, FTopicTemplate, &window);
    window.Add_Lang_Screen(FMQTT_Set_Topic);
    window.Add_Lang_Screen(FTopicTemplate);
    window.Set_Step_Action(window.Btn_MQTT_Set_Topic, [FMQTT_Set_Topic] { FMQTT_Set_Topic->Show_Topics(); });
    window.show();
    return app.exec();
}
