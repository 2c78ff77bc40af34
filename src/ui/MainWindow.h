#pragma once

#include "WidgetKit.h"

#include <QWidget>

#include <functional>
#include <map>
#include <vector>

class QAbstractButton;
class QLabel;
class QPushButton;
class QTimer;
class QTranslator;
class QToolButton;

namespace swr {

struct AppState;
class IBrowser;
class IMessages;
class IVersionCheck;
class Version_Check_Runner;
class TFNew_Project;
class TFOpenConf;

// The main window: product identity, active configuration and the numbered steps.
class TFKonstrelFirmWare : public QWidget, public ILangScreen {
    Q_OBJECT
public:
    TFKonstrelFirmWare(AppState& st, IMessages& msg, IVersionCheck& version, QWidget* parent = nullptr);
    ~TFKonstrelFirmWare() override;

    void Set_Lang() override;
    void Change_Language();
    void Btn_Click(QAbstractButton* button);
    void Timer_UpdateTimer();
    // Step 5: compile the banks, write them, then open the update dialog.
    void Update_Device();
    // Opens the update dialog once the banks are written.
    std::function<void()> Show_Update_Dialog;
    // Shows the software options modally; true when they closed with OK.
    std::function<bool()> Show_Soft_Options;
    // Opens the maker's pages; without one the links do nothing.
    IBrowser* Browser = nullptr;
    // After the options are confirmed: runs exactly when both internet switches are on,
    // keeping its interval and its count when it already runs.
    void Set_Update_Timer();

    // What a step button does once its screen exists; until then it only refuses
    // without an active configuration.
    void Set_Step_Action(QAbstractButton* button, std::function<void()> action);
    // Screens whose texts Change_Language re-applies, after this window, in order.
    void Add_Lang_Screen(ILangScreen* screen);

    TitleStrip* Strip;
    QToolButton* Btn_Info;
    QToolButton* Btn_Opz;
    QToolButton* Btn_Close;
    QLabel* LL_Update;
    QLabel* L_Begin;
    QLabel* L_Name_Conf;
    QLabel* L_Name_Conf_L2;
    QLabel* L_Step_1;
    QLabel* L_Step_2;
    QLabel* L_Step_3;
    QLabel* L_Step_4;
    QLabel* L_Step_5;
    QPushButton* Btn_New;
    QPushButton* Btn_Open;
    QPushButton* Btn_Prm_Gen;
    QPushButton* Btn_NMEA0183_Access;
    QPushButton* Btn_MQTT_Set_Topic;
    QPushButton* Btn_CreateBin;
    QPushButton* Btn_Fleet; // beside Update Device: many devices from the active configuration
    QLabel* L_Norvex;
    QTimer* Timer_Update;

    TFNew_Project* FNew_Project;
    TFOpenConf* FOpenConf;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void Show_Active_Configuration();
    void Create_New_Project();
    void Open_Project();
    void Open_Url(const QString& url);
    void Show_Update_Link();
    void Use_Qt_Texts();

    AppState& st_;
    IMessages& msg_;
    Version_Check_Runner* version_;
    std::map<QAbstractButton*, std::function<void()>> stepActions_;
    std::vector<ILangScreen*> langScreens_;
    // Qt's own texts (file dialogs, a field's context menu) in the chosen language; none
    // for English or a language Qt has no texts for.
    QTranslator* qtTexts_ = nullptr;
};

} // namespace swr
