#include "MainWindow.h"

#include "ConfigurationDialogs.h"
#include "Desktop.h"

#include "session/AppState.h"
#include "base/Browser.h"
#include "base/Maker.h"
#include "base/Messages.h"
#include "session/Projects.h"
#include "session/Settings.h"
#include "session/Startup.h"
#include "session/Version.h"
#include "compiler/Compiler.h"
#include "lang/Texts.h"
#include "project/DataAreaMap.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QTranslator>
#include <QToolButton>
#include <QVBoxLayout>

namespace swr {

namespace {

constexpr int First_Check_Ms = 60000;
constexpr int Next_Check_Ms = 7200000;

} // namespace

TFKonstrelFirmWare::TFKonstrelFirmWare(AppState& st, IMessages& msg, IVersionCheck& version, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      st_(st), msg_(msg), version_(new Version_Check_Runner(version, this))
{
    setObjectName(QStringLiteral("TFKonstrelFirmWare"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 8);

    Strip = new TitleStrip(this);
    LL_Update = new QLabel(Strip);
    LL_Update->setObjectName(QStringLiteral("LL_Update"));
    LL_Update->setTextInteractionFlags(Qt::TextBrowserInteraction);
    LL_Update->setWordWrap(true); // a long translation takes two lines
    LL_Update->setMinimumWidth(290);
    QFont small = LL_Update->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    LL_Update->setFont(small);
    LL_Update->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(LL_Update, &QLabel::linkActivated, this, &TFKonstrelFirmWare::Open_Url);
    LL_Update->hide();
    Strip->extras()->addWidget(LL_Update, 0, Qt::AlignVCenter);
    Btn_Info = Strip->Add_Button("Btn_Info", Strip_Glyph::Information);
    Btn_Opz = Strip->Add_Button("Btn_Opz", Strip_Glyph::Options);
    Btn_Close = Strip->Add_Button("Btn_Close", Strip_Glyph::Close);
    outer->addWidget(Strip);

    auto* grid = new QGridLayout;
    grid->setContentsMargins(24, 16, 24, 8);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(14);
    grid->setColumnStretch(1, 1);
    auto make_label = [this](const char* name, bool bold) {
        auto* l = Named<QLabel>(this, name);
        if (bold) {
            QFont f = l->font();
            f.setBold(true);
            f.setPointSizeF(f.pointSizeF() * 1.15);
            l->setFont(f);
        }
        return l;
    };
    auto make_button = [this](const char* name) {
        QPushButton* b = Make_Button(this, name);
        b->setMinimumSize(190, 34);
        // Enter runs the step whose button has the focus, as Space does: the main window
        // has no default button for Enter to go to.
        b->setAutoDefault(true);
        return b;
    };
    L_Begin = make_label("L_Begin", true);
    L_Name_Conf = make_label("L_Name_Conf", false);
    L_Name_Conf_L2 = make_label("L_Name_Conf_L2", true);
    auto* conf = new QVBoxLayout;
    conf->addWidget(L_Name_Conf);
    conf->addWidget(L_Name_Conf_L2);
    grid->addWidget(L_Begin, 0, 0, Qt::AlignTop);
    grid->addLayout(conf, 0, 1, 1, 2);

    L_Step_1 = make_label("L_Step_1", true);
    Btn_New = make_button("Btn_New");
    Btn_Open = make_button("Btn_Open");
    // Inside the grid a row of buttons would take the grid's spacing, which differs across
    // and down and so is none at all: the buttons of a step get the style's usual gap.
    const auto button_row = [this](std::initializer_list<QPushButton*> buttons) {
        auto* row = new QHBoxLayout;
        row->setSpacing(style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, this));
        for (QPushButton* b : buttons)
            row->addWidget(b);
        row->addStretch(1);
        return row;
    };
    QHBoxLayout* step1 = button_row({Btn_New, Btn_Open});
    grid->addWidget(L_Step_1, 1, 0);
    grid->addLayout(step1, 1, 1, 1, 2);

    struct Step {
        QLabel** label;
        const char* labelName;
        QPushButton** button;
        const char* buttonName;
    };
    const Step steps[] = {
        {&L_Step_2, "L_Step_2", &Btn_Prm_Gen, "Btn_Prm_Gen"},
        {&L_Step_3, "L_Step_3", &Btn_NMEA0183_Access, "Btn_NMEA0183_Access"},
        {&L_Step_4, "L_Step_4", &Btn_MQTT_Set_Topic, "Btn_MQTT_Set_Topic"},
        {&L_Step_5, "L_Step_5", &Btn_CreateBin, "Btn_CreateBin"},
    };
    int row = 2;
    for (const Step& s : steps) {
        *s.label = make_label(s.labelName, true);
        *s.button = make_button(s.buttonName);
        grid->addWidget(*s.label, row, 0);
        grid->addWidget(*s.button, row, 1, Qt::AlignLeft);
        ++row;
    }
    Btn_Fleet = Make_Button(this, "Btn_Fleet");
    Btn_Fleet->setMinimumHeight(34);
    grid->removeWidget(Btn_CreateBin);
    grid->addLayout(button_row({Btn_CreateBin, Btn_Fleet}), row - 1, 1);
    L_Norvex = new QLabel(this);
    L_Norvex->setObjectName(QStringLiteral("L_Norvex"));
    L_Norvex->setTextInteractionFlags(Qt::TextBrowserInteraction);
    L_Norvex->setText(Html_Link(Maker_Home_Page(), Maker_Web_Address()));
    connect(L_Norvex, &QLabel::linkActivated, this, &TFKonstrelFirmWare::Open_Url);
    grid->addWidget(L_Norvex, row - 1, 2, Qt::AlignRight | Qt::AlignVCenter);
    outer->addLayout(grid);
    outer->addStretch(1);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    outer->addWidget(line);
    outer->addSpacing(8);

    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             Btn_Info, Btn_Opz, Btn_Close, Btn_New, Btn_Open, Btn_Prm_Gen, Btn_NMEA0183_Access,
             Btn_MQTT_Set_Topic, Btn_CreateBin, Btn_Fleet})
        connect(b, &QAbstractButton::clicked, this, [this, b] { Btn_Click(b); });
    // Keyboard order: the steps top to bottom, then the title strip's buttons.
    setTabOrder(Btn_New, Btn_Open);
    setTabOrder(Btn_Open, Btn_Prm_Gen);
    setTabOrder(Btn_Prm_Gen, Btn_NMEA0183_Access);
    setTabOrder(Btn_NMEA0183_Access, Btn_MQTT_Set_Topic);
    setTabOrder(Btn_MQTT_Set_Topic, Btn_CreateBin);
    setTabOrder(Btn_CreateBin, Btn_Fleet);
    setTabOrder(Btn_Fleet, Btn_Info);
    setTabOrder(Btn_Info, Btn_Opz);
    setTabOrder(Btn_Opz, Btn_Close);

    Timer_Update = new QTimer(this);
    Timer_Update->setObjectName(QStringLiteral("Timer_Update"));
    Timer_Update->setInterval(First_Check_Ms);
    connect(Timer_Update, &QTimer::timeout, this, &TFKonstrelFirmWare::Timer_UpdateTimer);
    if (Update_Timer_Wanted(st_))
        Timer_Update->start();

    setWindowTitle(st_.Product_Title);
    Set_Lang();
    setFixedSize(640, 480);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }

    // The other screens, each applying its texts at creation.
    FNew_Project = new TFNew_Project(st_, msg_, this);
    FOpenConf = new TFOpenConf(st_, this);
    Add_Lang_Screen(FNew_Project);
    Add_Lang_Screen(FOpenConf);
    Set_Step_Action(Btn_CreateBin, [this] { Update_Device(); });
    Btn_New->setFocus();
}

TFKonstrelFirmWare::~TFKonstrelFirmWare() = default;

void TFKonstrelFirmWare::Set_Lang()
{
    Set_Title_Strip(Strip, st_, st_.Product_Description);
    Apply_Captions(st_, {
        {Btn_Info, -1, 12},  {Btn_Opz, -1, 13},          {Btn_Close, -1, 14},
        {L_Begin, 0, -1},    {L_Step_1, 1, -1},          {L_Step_2, 2, -1},
        {L_Step_3, 3, -1},   {L_Step_4, 4, -1},          {L_Step_5, 5, -1},
        {Btn_New, 15, 22},   {Btn_Open, 16, 23},         {Btn_Prm_Gen, 20, 24},
        {Btn_NMEA0183_Access, 21, 25}, {Btn_MQTT_Set_Topic, 32, 33}, {Btn_CreateBin, 17, 26},
        {Btn_Fleet, Txt::Btn_Fleet, Txt::Btn_Fleet + 1},
    });
    if (LL_Update->isVisibleTo(this))
        Show_Update_Link();
    Show_Active_Configuration();
    Use_Qt_Texts();
}

void TFKonstrelFirmWare::Use_Qt_Texts()
{
    const QString code = st_.Get_Lang_Text(Txt::Language_Code).trimmed();
    if (qtTexts_ && qtTexts_->language() == code)
        return;
    if (qtTexts_) {
        QCoreApplication::removeTranslator(qtTexts_);
        delete qtTexts_;
        qtTexts_ = nullptr;
    }
    if (code.isEmpty() || code == QLatin1String("en"))
        return; // Qt's own texts are English
    auto* t = new QTranslator(this);
    if (t->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(t))
        qtTexts_ = t;
    else
        delete t;
}

void TFKonstrelFirmWare::Change_Language()
{
    Set_Lang();
    for (ILangScreen* s : langScreens_)
        s->Set_Lang();
}

void TFKonstrelFirmWare::Add_Lang_Screen(ILangScreen* screen)
{
    langScreens_.push_back(screen);
}

void TFKonstrelFirmWare::Set_Step_Action(QAbstractButton* button, std::function<void()> action)
{
    stepActions_[button] = std::move(action);
}

void TFKonstrelFirmWare::Show_Active_Configuration()
{
    const ActiveDisplay d = Active_Configuration_Display(st_);
    L_Name_Conf->setText(d.line1);
    L_Name_Conf_L2->setText(d.line2);
}

void TFKonstrelFirmWare::Btn_Click(QAbstractButton* button)
{
    if (button == Btn_New) {
        Create_New_Project();
    } else if (button == Btn_Open) {
        Open_Project();
    } else if (button == Btn_Close) {
        close();
    } else if (button == Btn_Opz) {
        if (!Show_Soft_Options || !Show_Soft_Options())
            return;
        QString error;
        if (!Save_Setting(st_, &error))
            msg_.Show_Error(error);
        Set_Update_Timer();
    } else if (button == Btn_Info) {
        if (auto it = stepActions_.find(button); it != stepActions_.end() && it->second)
            it->second();
    } else if (st_.Active_Project_Dir.isEmpty()) {
        msg_.Show_Error(st_.Get_Lang_Text(Txt::Project_Not_Valid));
    } else if (auto it = stepActions_.find(button); it != stepActions_.end() && it->second) {
        it->second();
    }
}

void TFKonstrelFirmWare::Create_New_Project()
{
    if (FNew_Project->exec() == QDialog::Accepted)
        Show_Active_Configuration();
}

void TFKonstrelFirmWare::Open_Project()
{
    if (FOpenConf->exec() != QDialog::Accepted)
        return;
    swr::Open_Project(st_, FOpenConf->Name_Conf);
    Show_Active_Configuration();
}

void TFKonstrelFirmWare::Timer_UpdateTimer()
{
    Timer_Update->stop();
    // The server is asked away from the window; the timer runs again once it has answered.
    version_->Start([this](bool newer) {
        if (newer) {
            Show_Update_Link();
            LL_Update->show();
        } else {
            LL_Update->hide();
        }
        Timer_Update->setInterval(Next_Check_Ms);
        // The options may have turned the check off meanwhile.
        if (Update_Timer_Wanted(st_))
            Timer_Update->start();
    });
}

void TFKonstrelFirmWare::Show_Update_Link()
{
    LL_Update->setText(Html_Link(Maker_Download_Page(), st_.Get_Lang_Text(Txt::New_Version_Available),
                                 TitleStrip::Accent.name()));
}

void TFKonstrelFirmWare::Set_Update_Timer()
{
    if (!Update_Timer_Wanted(st_))
        Timer_Update->stop();
    else if (!Timer_Update->isActive())
        Timer_Update->start();
}

void TFKonstrelFirmWare::Open_Url(const QString& url)
{
    if (Browser)
        Browser->Open_Url(url);
}

void TFKonstrelFirmWare::Update_Device()
{
    // Bytes that do not meet are asked about before anything is compiled or written; a
    // file that cannot be loaded is left to the compiler to report.
    if (Data_Area_Map map; Load_Data_Area_Map(st_, st_.Active_Project_Dir, map).ok) {
        const QString question = Map_Warnings_Question(st_, map);
        if (!question.isEmpty() && !msg_.Ask_Yes_No(question))
            return;
    }
    // The pictures and images of this compilation live until the update they were built
    // for has ended.
    Compiled_Banks banks;
    FileResult r;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        r = Compile_And_Save_Banks(st_.Active_Project_Dir, st_, banks);
        QApplication::restoreOverrideCursor();
    }
    if (!r.ok) {
        msg_.Show_Error(r.message);
        return;
    }
    if (Show_Update_Dialog)
        Show_Update_Dialog();
}

void TFKonstrelFirmWare::closeEvent(QCloseEvent* e)
{
    QString error;
    if (!Save_Setting(st_, &error))
        msg_.Show_Error(error);
    e->accept();
}

} // namespace swr
