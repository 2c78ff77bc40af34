#pragma once

#include "WidgetKit.h"

#include <QDialog>
#include <QStringList>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace swr {

struct AppState;
class IBrowser;
class IMessages;
class IVersionCheck;
class Version_Check_Runner;

// Software Options: the language, internet access and the update check, and the grid
// conveniences. OK stores the choices in the state; the main window then writes the
// settings and sets its update timer.
class TFSoftOptions : public QDialog, public ILangScreen {
    Q_OBJECT
public:
    TFSoftOptions(AppState& st, IMessages& msg, IVersionCheck& version, IBrowser& browser,
                  QWidget* parent = nullptr);
    void Set_Lang() override;

    // Re-applies the texts of every screen, this one included; the main window's.
    std::function<void()> Change_Language;

    void Create_Lang_List();
    void Update_Lang_Page(int Num_Page);
    // Next when forward, else Previous.
    void Btn_NextClick(bool forward);
    // A click on the picture or the name of slot (0 to 5).
    void LangClick(int slot);
    void Update_CheckBox();
    void Btn_Check_UpdateClick();
    void Btn_OKClick();

    QStringList SL_Languages;
    int Show_Page = 1;
    QString Language_In_Use;

    TitleStrip* Strip;
    QTabWidget* PC_Options;
    QWidget* TS_Language;
    QWidget* TS_Con_Options;
    QWidget* TS_Soft_Settings;
    QLabel* L_Sel_Lang;
    QLabel* L_Page_Lang;
    std::array<QToolButton*, 6> I_L{};
    std::array<QToolButton*, 6> L_L{};
    QPushButton* Btn_Prev;
    QPushButton* Btn_Next;
    QCheckBox* CB_En_Con;
    QCheckBox* CB_Update;
    QPushButton* Btn_Check_Update;
    QLabel* LL_Check_Update;
    QCheckBox* CB_Soft_Set_Jump_Table;
    QCheckBox* CB_DoubleClick_Auto_Size;
    QPushButton* Btn_OK;
    QPushButton* Btn_Cancel;

protected:
    void showEvent(QShowEvent* e) override;

private:
    enum class Check_Result { None, Newer, Not_Newer };
    void FormShow();
    void Show_Lang_State();
    void Show_Check_Result();

    AppState& st_;
    IMessages& msg_;
    Version_Check_Runner* version_;
    IBrowser& browser_;
    Check_Result check_ = Check_Result::None;
    int showing_ = 0; // counts the showings, so a late answer meets only its own
};

} // namespace swr
