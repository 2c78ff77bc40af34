#include "MainWindow.h"
#include "MqttTopicScreen.h"
#include "NmeaAccessScreen.h"
#include "TopicTemplate.h"
#include "UpdateDialog.h"
#include "WidgetMessages.h"

#include "app/AppState.h"
#include "app/Startup.h"
#include "app/Version.h"
#include "update/Echo.h"

#include <QApplication>
#include <QPushButton>
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
    // The device check keeps the windows painted while it waits for each answer.
    swr::SystemEcho echo([] { QApplication::processEvents(); });
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
    window.Set_Step_Action(window.Btn_MQTT_Set_Topic, [FMQTT_Set_Topic] { FMQTT_Set_Topic->exec(); });
    window.show();
    return app.exec();
}
