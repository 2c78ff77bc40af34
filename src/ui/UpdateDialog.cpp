#include "UpdateDialog.h"

#include "OctetRow.h"
#include "ProgramWait.h"

#include "session/AppState.h"
#include "base/IpAddress.h"
#include "base/Messages.h"
#include "lang/Texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

namespace swr {

namespace {

constexpr int Dialog_Width = 449;

QFrame* Panel(QDialog* d, const char* name, QBoxLayout* layout)
{
    auto* p = new QFrame(d);
    p->setObjectName(QLatin1String(name));
    p->setLayout(layout);
    layout->setContentsMargins(16, 8, 16, 8);
    return p;
}

} // namespace

Update_Option_Controls Make_Update_Options(QWidget* parent, QBoxLayout* layout)
{
    const Update_Option_Controls c{Named<QLabel>(parent, "L_Update_Option"),
                                   Named<QComboBox>(parent, "CB_Update_Options"),
                                   Named<QCheckBox>(parent, "CB_Update_Option_Read_Back")};
    c.L_Update_Option->setBuddy(c.CB_Update_Options);
    layout->addWidget(c.L_Update_Option);
    layout->addWidget(c.CB_Update_Options);
    layout->addWidget(c.CB_Update_Option_Read_Back);
    return c;
}

void Set_Update_Options_Lang(const AppState& st, const Update_Option_Controls& c)
{
    c.CB_Update_Options->clear();
    for (int i = 0; i < Update_Option_Count; ++i)
        c.CB_Update_Options->addItem(st.Get_Lang_Text(Txt::Update_Options + i));
    c.CB_Update_Options->setCurrentIndex(0);
    Apply_Captions(st, {{c.L_Update_Option, 814},
                        {c.CB_Update_Options, -1, 832},
                        {c.CB_Update_Option_Read_Back, 818, 833}});
}

TFBoot::TFBoot(AppState& st, IMessages& msg, IEcho& echo, QWidget* parent)
    : QDialog(parent), st_(st), msg_(msg), echo_(echo)
{
    setObjectName(QStringLiteral("TFBoot"));
    setModal(true);
    QVBoxLayout* outer = Screen_Layout(this, &P_Title);

    auto* address = new QVBoxLayout;
    P_IP_Address = Panel(this, "P_IP_Address", address);
    L_IP_Address = Named<QLabel>(P_IP_Address, "L_IP_Address");
    address->addWidget(L_IP_Address);
    auto* octets = new OctetRow(P_IP_Address,
                                {QStringLiteral("E_IP1"), QStringLiteral("E_IP2"), QStringLiteral("E_IP3"),
                                 QStringLiteral("E_IP4")},
                                56);
    fields_ = octets->Fields();
    for (QLineEdit* f : fields_)
        f->setText(QStringLiteral("0"));
    address->addWidget(octets);
    E_IP1 = fields_[0];
    E_IP2 = fields_[1];
    E_IP3 = fields_[2];
    E_IP4 = fields_[3];
    L_IP_Address->setBuddy(E_IP1);
    outer->addWidget(P_IP_Address);

    auto* options = new QVBoxLayout;
    P_Options = Panel(this, "P_Options", options);
    options_ = Make_Update_Options(P_Options, options);
    L_Update_Option = options_.L_Update_Option;
    CB_Update_Options = options_.CB_Update_Options;
    CB_Update_Option_Read_Back = options_.CB_Update_Option_Read_Back;
    outer->addWidget(P_Options);

    auto* buttons = new QHBoxLayout;
    P_Button = Panel(this, "P_Button", buttons);
    Btn_Cancel = Make_Button(P_Button, "Btn_Cancel");
    Btn_Update = Make_Button(P_Button, "Btn_Update");
    buttons->addStretch(1);
    buttons->addWidget(Btn_Cancel);
    buttons->addWidget(Btn_Update);
    outer->addWidget(P_Button);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Btn_Update, &QPushButton::clicked, this, &TFBoot::Btn_UpdateClick);

    Updater_Folders = QStringList{st_.Program_Dir};
    Set_Lang();
}

void TFBoot::Set_Lang()
{
    setWindowTitle(st_.Get_Lang_Text(Txt::Update_Title));
    Set_Title_Strip(P_Title, st_, st_.Get_Lang_Text(Txt::Update_Description));
    Apply_Captions(st_, {{L_IP_Address, 806}});
    for (int i = 0; i < 4; ++i)
        Apply_Captions(st_, {{fields_[i], -1, Txt::Update_IP_Hints + i}});
    Set_Update_Options_Lang(st_, options_);
    Apply_Captions(st_, {{Btn_Cancel, 819, 834}, {Btn_Update, 820, 835}});
}

int TFBoot::Show_Update(int type)
{
    Form_Type = type;
    return exec();
}

void TFBoot::showEvent(QShowEvent* e)
{
    FormShow();
    QDialog::showEvent(e);
}

void TFBoot::FormShow()
{
    Set_Lang();
    // Fixed width, exactly as high as the panels with their current texts.
    setFixedSize(Dialog_Width, sizeHint().height());
    const SplitIP ip = Split_IP_Address(st_.Last_IP_Address);
    if (!st_.Last_IP_Address.isEmpty() && ip.valid)
        for (int i = 0; i < 4; ++i)
            fields_[i]->setText(ip.octets[i]);
    // An index outside the list would leave no option selected and the job without
    // operations: the first option is kept then.
    if (st_.Update_Option_Index >= 0 && st_.Update_Option_Index < Update_Option_Count)
        CB_Update_Options->setCurrentIndex(st_.Update_Option_Index);
    CB_Update_Option_Read_Back->setChecked(st_.Update_Read_Back);
    E_IP1->setFocus();
}

Update_Choice TFBoot::Current_Choice() const
{
    Update_Choice c;
    for (int i = 0; i < 4; ++i)
        c.IP[i] = fields_[i]->text();
    c.Option = CB_Update_Options->currentIndex();
    c.Read_Back = CB_Update_Option_Read_Back->isChecked();
    return c;
}

bool TFBoot::Send_Ping()
{
    ping_res = 0;
    Last_Ping = swr::Send_Ping(echo_, Device_Address(Current_Choice().IP),
                               [] { QApplication::processEvents(); }, clock_);
    ping_res = Last_Ping.ping_res;
    return Last_Ping.ok;
}

bool TFBoot::Compile_XML_Parameter_New_Boot()
{
    QString error;
    if (swr::Compile_XML_Parameter_New_Boot(st_, Update_Folders_Of(st_), Current_Choice(), &error))
        return true;
    msg_.Show_Error(error);
    return false;
}

void TFBoot::Btn_UpdateClick()
{
    if (Form_Type != 1 || busy_)
        return;
    busy_ = true;
    Btn_Update->setEnabled(false);
    const auto done = qScopeGuard([this] {
        busy_ = false;
        Btn_Update->setEnabled(true);
    });

    // What the updater will need on this computer is looked for before the device is asked.
    QString updater;
    const QString missing = Missing_For_Update(st_, st_.Master_Dir, CB_Update_Options->currentIndex(),
                                               Updater_Folders, &updater);
    if (!missing.isEmpty()) {
        msg_.Show_Error(missing);
        return;
    }
    if (!Send_Ping()) {
        const int text = Ping_Failure_Text(Last_Ping);
        if (text == Txt::Device_Not_Found)
            msg_.Show_Warning(st_.Get_Lang_Text(text));
        else
            msg_.Show_Error(st_.Get_Lang_Text(text));
        return;
    }
    // Closed during the check: the user no longer wants the update.
    if (!isVisible())
        return;
    const Update_Choice c = Current_Choice();
    st_.Last_IP_Address = Device_Address(c.IP);
    st_.Update_Option_Index = c.Option;
    st_.Update_Read_Back = c.Read_Back;
    if (!Compile_XML_Parameter_New_Boot())
        return;
    if (!Start_Program_Waiting(this, st_, updater, QString(), false).started)
        msg_.Show_Error(st_.Get_Lang_Text(Txt::Updater_Not_Started) + QDir::toNativeSeparators(updater));
}

} // namespace swr
