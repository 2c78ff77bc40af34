#pragma once

#include "WidgetKit.h"

#include "update/Ping.h"
#include "update/UpdateJob.h"

#include <QDialog>

#include <array>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace swr {

struct AppState;
class IEcho;
class IMessages;

// The update's options: the label, the list of options and the Read Back box, as the
// update dialog shows them and the fleet window too.
struct Update_Option_Controls {
    QLabel* L_Update_Option;
    QComboBox* CB_Update_Options;
    QCheckBox* CB_Update_Option_Read_Back;
};

// Creates them under parent and adds them to layout in that order.
Update_Option_Controls Make_Update_Options(QWidget* parent, QBoxLayout* layout);
// Applies their texts; the list is filled again, its first option selected.
void Set_Update_Options_Lang(const AppState& st, const Update_Option_Controls& c);

// Update Device: the device address and what to write; checks that the device answers,
// writes the job file and runs the external updater.
class TFBoot : public QDialog, public ILangScreen {
    Q_OBJECT
public:
    TFBoot(AppState& st, IMessages& msg, IEcho& echo, QWidget* parent = nullptr);
    void Set_Lang() override;

    // Sets the layout (1: update over Ethernet, the only one) and shows the dialog
    // modally; returns when the user closes it.
    int Show_Update(int Form_Type);

    bool Send_Ping();
    void Btn_UpdateClick();
    // Writes the job from the current fields; false after the error has been shown.
    bool Compile_XML_Parameter_New_Boot();
    Update_Choice Current_Choice() const;

    // Where the external updater is looked for, in order; the program folder unless the
    // program names others.
    QStringList Updater_Folders;

    int Form_Type = 1;
    int ping_res = 0; // 0 none yet, 1 answered, 2 not answered
    PingResult Last_Ping;

    TitleStrip* P_Title;
    QFrame* P_IP_Address;
    QLabel* L_IP_Address;
    QLineEdit* E_IP1;
    QLineEdit* E_IP2;
    QLineEdit* E_IP3;
    QLineEdit* E_IP4;
    QFrame* P_Options;
    QLabel* L_Update_Option;
    QComboBox* CB_Update_Options;
    QCheckBox* CB_Update_Option_Read_Back;
    QFrame* P_Button;
    QPushButton* Btn_Cancel;
    QPushButton* Btn_Update;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FormShow();

    AppState& st_;
    IMessages& msg_;
    IEcho& echo_;
    PingClock clock_;
    std::array<QLineEdit*, 4> fields_;
    Update_Option_Controls options_;
    bool busy_ = false;
};

} // namespace swr
