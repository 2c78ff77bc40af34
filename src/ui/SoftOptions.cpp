#include "SoftOptions.h"

#include "Desktop.h"

#include "session/AppState.h"
#include "base/Browser.h"
#include "base/Maker.h"
#include "base/Messages.h"
#include "session/Options.h"
#include "session/Version.h"
#include "lang/Texts.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace swr {

namespace {

constexpr QSize Flag_Size(48, 32);
constexpr int Slot_Width = 150;
constexpr QSize Least_Size(560, 400);

QToolButton* Slot_Button(QWidget* parent, const QString& name)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setAutoRaise(true);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QVBoxLayout* Page_Layout(QWidget* page)
{
    auto* l = new QVBoxLayout(page);
    l->setContentsMargins(16, 16, 16, 12);
    l->setSpacing(12);
    return l;
}

} // namespace

TFSoftOptions::TFSoftOptions(AppState& st, IMessages& msg, IVersionCheck& version, IBrowser& browser,
                             QWidget* parent)
    : QDialog(parent), st_(st), msg_(msg), version_(new Version_Check_Runner(version, this)), browser_(browser)
{
    setObjectName(QStringLiteral("TFSoftOptions"));
    setModal(true);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 12);
    Strip = new TitleStrip(this);
    outer->addWidget(Strip);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(12, 8, 12, 0);
    outer->addLayout(body, 1);
    PC_Options = Named<QTabWidget>(this, "PC_Options");
    body->addWidget(PC_Options, 1);

    // Language: six slots of flag and name, three to a row, with the page turned below.
    TS_Language = Named<QWidget>(PC_Options, "TS_Language");
    QVBoxLayout* lang = Page_Layout(TS_Language);
    L_Sel_Lang = Named<QLabel>(TS_Language, "L_Sel_Lang");
    L_Sel_Lang->setWordWrap(true);
    lang->addWidget(L_Sel_Lang);
    auto* slot_grid = new QGridLayout;
    slot_grid->setHorizontalSpacing(8);
    slot_grid->setVerticalSpacing(4);
    for (int j = 0; j < Lang_Slots; ++j) {
        I_L[j] = Slot_Button(TS_Language, QStringLiteral("I_L%1").arg(j + 1));
        I_L[j]->setIconSize(Flag_Size);
        I_L[j]->setFocusPolicy(Qt::NoFocus); // the name takes the keyboard
        L_L[j] = Slot_Button(TS_Language, QStringLiteral("L_L%1").arg(j + 1));
        L_L[j]->setFixedWidth(Slot_Width);
        const int row = (j / 3) * 2;
        const int col = j % 3;
        slot_grid->addWidget(I_L[j], row, col, Qt::AlignHCenter | Qt::AlignBottom);
        slot_grid->addWidget(L_L[j], row + 1, col, Qt::AlignHCenter | Qt::AlignTop);
        slot_grid->setRowMinimumHeight(row, Flag_Size.height() + 8);
        for (QToolButton* b : {I_L[j], L_L[j]})
            connect(b, &QToolButton::clicked, this, [this, j] { LangClick(j); });
    }
    lang->addLayout(slot_grid);
    lang->addStretch(1);
    L_Page_Lang = Named<QLabel>(TS_Language, "L_Page_Lang");
    Btn_Prev = Make_Button(TS_Language, "Btn_Prev");
    Btn_Next = Make_Button(TS_Language, "Btn_Next");
    auto* pages = new QHBoxLayout;
    pages->addWidget(L_Page_Lang, 1);
    pages->addWidget(Btn_Prev);
    pages->addWidget(Btn_Next);
    lang->addLayout(pages);
    connect(Btn_Prev, &QPushButton::clicked, this, [this] { Btn_NextClick(false); });
    connect(Btn_Next, &QPushButton::clicked, this, [this] { Btn_NextClick(true); });
    PC_Options->addTab(TS_Language, QString());

    // Connection: internet access, the update check at start and the manual check.
    TS_Con_Options = Named<QWidget>(PC_Options, "TS_Con_Options");
    QVBoxLayout* con = Page_Layout(TS_Con_Options);
    CB_En_Con = Named<QCheckBox>(TS_Con_Options, "CB_En_Con");
    CB_Update = Named<QCheckBox>(TS_Con_Options, "CB_Update");
    Btn_Check_Update = Make_Button(TS_Con_Options, "Btn_Check_Update");
    LL_Check_Update = Named<QLabel>(TS_Con_Options, "LL_Check_Update");
    LL_Check_Update->setTextInteractionFlags(Qt::TextBrowserInteraction);
    LL_Check_Update->setWordWrap(true);
    connect(LL_Check_Update, &QLabel::linkActivated, this, [this](const QString& url) { browser_.Open_Url(url); });
    con->addWidget(CB_En_Con);
    con->addWidget(CB_Update);
    auto* check = new QHBoxLayout;
    check->addWidget(Btn_Check_Update);
    check->addStretch(1);
    con->addLayout(check);
    con->addWidget(LL_Check_Update);
    con->addStretch(1);
    connect(Btn_Check_Update, &QPushButton::clicked, this, &TFSoftOptions::Btn_Check_UpdateClick);
    PC_Options->addTab(TS_Con_Options, QString());

    // Software settings: the grid conveniences.
    TS_Soft_Settings = Named<QWidget>(PC_Options, "TS_Soft_Settings");
    QVBoxLayout* soft = Page_Layout(TS_Soft_Settings);
    CB_Soft_Set_Jump_Table = Named<QCheckBox>(TS_Soft_Settings, "CB_Soft_Set_Jump_Table");
    CB_DoubleClick_Auto_Size = Named<QCheckBox>(TS_Soft_Settings, "CB_DoubleClick_Auto_Size");
    soft->addWidget(CB_Soft_Set_Jump_Table);
    soft->addWidget(CB_DoubleClick_Auto_Size);
    soft->addStretch(1);
    PC_Options->addTab(TS_Soft_Settings, QString());

    for (QCheckBox* cb : {CB_En_Con, CB_Update, CB_Soft_Set_Jump_Table, CB_DoubleClick_Auto_Size})
        connect(cb, &QCheckBox::clicked, this, &TFSoftOptions::Update_CheckBox);

    Btn_OK = Named<QPushButton>(this, "Btn_OK");
    Btn_OK->setDefault(true);
    Btn_Cancel = Make_Button(this, "Btn_Cancel");
    auto* buttons = Button_Row({Btn_OK, Btn_Cancel});
    buttons->setContentsMargins(12, 0, 12, 0);
    outer->addLayout(buttons);
    connect(Btn_OK, &QPushButton::clicked, this, &TFSoftOptions::Btn_OKClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    Language_In_Use = st_.Language_Name;
    Set_Lang();
}

void TFSoftOptions::Set_Lang()
{
    setWindowTitle(st_.Get_Lang_Text(Txt::Options_Title));
    Set_Title_Strip(Strip, st_, st_.Get_Lang_Text(Txt::Options_Description));
    struct Tab {
        QWidget* page;
        int text;
    };
    for (const Tab& t : {Tab{TS_Language, 302}, Tab{TS_Con_Options, 303}, Tab{TS_Soft_Settings, 319}}) {
        PC_Options->setTabText(PC_Options->indexOf(t.page), st_.Get_Lang_Text(t.text));
        t.page->setAccessibleName(st_.Get_Lang_Text(t.text));
    }
    Apply_Captions(st_, {
        {Btn_Prev, 307},
        {Btn_Next, 308},
        {CB_En_Con, 309},
        {CB_Update, 310},
        {Btn_Check_Update, 311},
        {CB_Soft_Set_Jump_Table, 320},
        {CB_DoubleClick_Auto_Size, 321},
        {Btn_OK, 312},
        {Btn_Cancel, 313},
    });
    Show_Lang_State();
    Show_Check_Result();
    // Fixed, but never smaller than a translation's texts need.
    Fit_When_Shown(this, [this] {
        layout()->activate();
        setFixedSize(sizeHint().expandedTo(Least_Size));
    });
}

void TFSoftOptions::Show_Lang_State()
{
    L_Sel_Lang->setText(Selected_Language_Text(st_, Language_In_Use));
    L_Page_Lang->setText(Lang_Page_Text(st_, Show_Page, Lang_Page_Count(SL_Languages.size())));
}

void TFSoftOptions::Show_Check_Result()
{
    switch (check_) {
    case Check_Result::None:
        LL_Check_Update->clear();
        break;
    case Check_Result::Newer:
        LL_Check_Update->setText(Html_Link(Maker_Download_Page(), st_.Get_Lang_Text(Txt::Options_New_Version)));
        break;
    case Check_Result::Not_Newer:
        LL_Check_Update->setText(st_.Get_Lang_Text(Txt::Options_No_Update).toHtmlEscaped());
        break;
    }
}

void TFSoftOptions::showEvent(QShowEvent* e)
{
    FormShow();
    QDialog::showEvent(e);
}

void TFSoftOptions::FormShow()
{
    ++showing_;
    Language_In_Use = st_.Language_Name;
    Create_Lang_List();
    check_ = Check_Result::None;
    Show_Check_Result();
    LL_Check_Update->hide();
    PC_Options->setCurrentWidget(TS_Language);
    const SoftOptionValues v = Current_Options(st_);
    CB_En_Con->setChecked(v.internet);
    CB_Update->setChecked(v.update);
    CB_Soft_Set_Jump_Table->setChecked(v.jump_field_tables);
    CB_DoubleClick_Auto_Size->setChecked(v.double_click_auto_size);
    Update_CheckBox();
}

void TFSoftOptions::Create_Lang_List()
{
    SL_Languages = swr::Create_Lang_List(st_.Language_Dir);
    Show_Page = 1;
    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::Update_Lang_Page(int Num_Page)
{
    const LangPage p = Lang_Page(SL_Languages.size(), Num_Page);
    L_Sel_Lang->setText(Selected_Language_Text(st_, Language_In_Use));
    L_Page_Lang->setText(Lang_Page_Text(st_, Num_Page, p.page_count));
    Btn_Prev->setVisible(p.prev_visible);
    Btn_Next->setVisible(p.next_visible);
    for (int j = 0; j < Lang_Slots; ++j) {
        const bool shown = j < p.shown;
        QString name;
        QString flag;
        if (shown) {
            name = Lang_Display_Name(SL_Languages.at(p.first + j));
            flag = Flag_Picture(st_.Language_Dir, name);
        }
        const QFontMetrics fm(L_L[j]->font());
        L_L[j]->setText(fm.elidedText(name, Qt::ElideRight, Slot_Width - 12));
        L_L[j]->setToolTip(name);
        L_L[j]->setAccessibleName(name);
        L_L[j]->setVisible(shown);
        const QPixmap picture = flag.isEmpty() ? QPixmap() : QPixmap(flag);
        I_L[j]->setIcon(picture.isNull() ? QIcon() : QIcon(picture.scaled(Flag_Size, Qt::KeepAspectRatio,
                                                                             Qt::SmoothTransformation)));
        I_L[j]->setAccessibleName(name);
        I_L[j]->setVisible(shown && !picture.isNull());
    }
}

void TFSoftOptions::Btn_NextClick(bool forward)
{
    Show_Page = Turn_Lang_Page(SL_Languages.size(), Show_Page, forward);
    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::LangClick(int slot)
{
    const int at = Lang_Page(SL_Languages.size(), Show_Page).first + slot;
    if (slot < 0 || slot >= Lang_Slots || at >= SL_Languages.size())
        return;
    const QString chosen = Lang_Display_Name(SL_Languages.at(at));
    if (!msg_.Ask_Yes_No(Change_Language_Question(st_, Language_In_Use, chosen)))
        return;
    Language_In_Use = chosen;
    Load_Chosen_Language(st_, msg_, chosen);
    if (Change_Language)
        Change_Language();
    else
        Set_Lang();
    Show_Lang_State();
}

void TFSoftOptions::Update_CheckBox()
{
    const UpdateEnabling e = swr::Update_CheckBox(CB_En_Con->isChecked(), CB_Update->isChecked());
    CB_Update->setEnabled(e.update_enabled);
    Btn_Check_Update->setEnabled(e.check_enabled && !version_->Running());
}

void TFSoftOptions::Btn_Check_UpdateClick()
{
    // The server is asked away from the window, which says so meanwhile.
    const int showing = showing_;
    if (!version_->Start([this, showing](bool newer) {
            Update_CheckBox();
            if (showing != showing_)
                return; // an answer for an earlier showing
            check_ = newer ? Check_Result::Newer : Check_Result::Not_Newer;
            Show_Check_Result();
            LL_Check_Update->show();
        }))
        return;
    Update_CheckBox();
    LL_Check_Update->setText(st_.Get_Lang_Text(Txt::Version_Checking).toHtmlEscaped());
    LL_Check_Update->show();
}

void TFSoftOptions::Btn_OKClick()
{
    SoftOptionValues v;
    v.language = Language_In_Use;
    v.internet = CB_En_Con->isChecked();
    v.update = CB_Update->isChecked();
    v.jump_field_tables = CB_Soft_Set_Jump_Table->isChecked();
    v.double_click_auto_size = CB_DoubleClick_Auto_Size->isChecked();
    Store_Options(st_, v);
    accept();
}

} // namespace swr
