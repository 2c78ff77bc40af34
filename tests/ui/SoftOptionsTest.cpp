#include "About.h"
#include "ConfigurationDialogs.h"
#include "MainWindow.h"
#include "SoftOptions.h"

#include "session/Settings.h"

#include "FakeDesktop.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QtTest/QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <atomic>

using namespace swr;
using swr::test::FakeVersionCheck;
using swr::test::ProgramFolder;
using swr::test::RecordingBrowser;

namespace {

const char* const Seven[] = {"Nederlands", "deutsch", "English", "Dansk", "Italiano", "Espanol", "Francais"};

// The main window with the options screen joined as the program joins it.
struct OptionsFixture : ::testing::Test {
    ProgramFolder p;
    FakeVersionCheck version;
    RecordingBrowser browser;
    std::unique_ptr<TFKonstrelFirmWare> w;
    TFSoftOptions* o = nullptr;

    void Make()
    {
        p.start();
        w = std::make_unique<TFKonstrelFirmWare>(p.st, p.msg, version);
        w->Browser = &browser;
        o = new TFSoftOptions(p.st, p.msg, version, browser, w.get());
        w->Add_Lang_Screen(o);
        o->Change_Language = [this] { w->Change_Language(); };
    }
    // Btn_Opz with the screen shown, then what the user does, then OK or Cancel.
    void Options(const std::function<void()>& use, bool ok)
    {
        w->Show_Soft_Options = [&] {
            o->show();
            use();
            (ok ? o->Btn_OK : o->Btn_Cancel)->click();
            return o->result() == QDialog::Accepted;
        };
        w->Btn_Opz->click();
    }
    void Flag(const QString& name, QColor colour) const
    {
        QImage img(24, 16, QImage::Format_RGB32);
        img.fill(colour);
        ASSERT_TRUE(img.save(p.path("LANGUAGE/" + name + ".bmp"), "BMP"));
    }
    void Settings(const char* internet, const char* update) const
    {
        p.write("Konstrel.xml", QByteArray("<Conf_Settings><lastinternet><enable_internet>") + internet
                                    + "</enable_internet><enable_update>" + update
                                    + "</enable_update></lastinternet></Conf_Settings>");
    }
    QStringList Shown_Names() const
    {
        QStringList names;
        for (QToolButton* l : o->L_L)
            if (l->isVisibleTo(o))
                names.append(l->text());
        return names;
    }
    // The colour of the flag a slot shows; invalid when it shows none.
    QColor Flag_Colour(int slot) const
    {
        if (!o->I_L[slot]->isVisibleTo(o))
            return {};
        return o->I_L[slot]->icon().pixmap(QSize(24, 16)).toImage().pixelColor(4, 4);
    }
};

} // namespace

TEST_F(OptionsFixture, SevenLanguagesOnTwoPagesWithTheirFlags)
{
    Make();
    for (const char* name : Seven)
        p.write(QString("LANGUAGE/") + name + ".lng", "; no entries\n");
    Flag("English", Qt::blue);
    Flag("DefaultFlag", Qt::red);
    o->show();
    EXPECT_EQ(o->PC_Options->currentWidget(), o->TS_Language);
    EXPECT_EQ(o->L_Sel_Lang->text(), "Selected Language : English");
    EXPECT_EQ(o->L_Page_Lang->text(), "Page 1 / 2");
    EXPECT_EQ(Shown_Names(), (QStringList{"Dansk", "deutsch", "English", "Espanol", "Francais", "Italiano"}));
    EXPECT_EQ(Flag_Colour(1), QColor(Qt::red)); // deutsch.bmp is missing: the default flag
    EXPECT_EQ(Flag_Colour(2), QColor(Qt::blue));
    EXPECT_FALSE(o->Btn_Prev->isVisibleTo(o));
    EXPECT_TRUE(o->Btn_Next->isVisibleTo(o));

    o->Btn_Next->click();
    EXPECT_EQ(o->Show_Page, 2);
    EXPECT_EQ(o->L_Page_Lang->text(), "Page 2 / 2");
    EXPECT_EQ(Shown_Names(), QStringList{"Nederlands"});
    EXPECT_TRUE(o->Btn_Prev->isVisibleTo(o));
    EXPECT_FALSE(o->Btn_Next->isVisibleTo(o));
    o->Btn_Prev->click();
    EXPECT_EQ(o->L_Page_Lang->text(), "Page 1 / 2");

    // Without the default flag a language without its own shows no picture; the list is
    // made again at every showing.
    o->reject();
    QFile::remove(p.path("LANGUAGE/DefaultFlag.bmp"));
    QFile::remove(p.path("LANGUAGE/Nederlands.lng"));
    o->show();
    EXPECT_EQ(o->L_Page_Lang->text(), "Page 1 / 1");
    EXPECT_FALSE(Flag_Colour(1).isValid());
    EXPECT_TRUE(o->L_L[1]->isVisibleTo(o));
    EXPECT_EQ(Flag_Colour(2), QColor(Qt::blue));
    o->reject();
}

TEST_F(OptionsFixture, NoLanguageFiles)
{
    Make();
    o->show();
    EXPECT_EQ(o->L_Page_Lang->text(), "Page 1 / 0");
    EXPECT_TRUE(Shown_Names().isEmpty());
    o->Btn_Next->click();
    o->Btn_Prev->click();
    EXPECT_EQ(o->Show_Page, 1);
    EXPECT_EQ(o->L_Page_Lang->text(), "Page 1 / 0");
    o->reject();
}

TEST_F(OptionsFixture, LanguageChosenThenCancelKeepsTheTextsButNotTheName)
{
    Make();
    p.write("LANGUAGE/Deutsch.lng", "STR15 = Neue Konfiguration\nSTR302 = Sprache\n"
                                    "STR304 = \xB6Gewaehlte Sprache : \xB6\nSTR100 = Neu\n");
    p.write("LANGUAGE/English.lng", "; the built-in texts\n");
    Options([&] {
        p.msg.answers = {false};
        o->L_L[0]->click(); // Deutsch, answered No
        EXPECT_EQ(p.msg.questions.last(), "Do you want to change the Language from English to Deutsch?");
        EXPECT_EQ(w->Btn_New->text(), "New Configuration");
        p.msg.answers = {true};
        o->I_L[0]->click(); // the picture chooses as well
        EXPECT_EQ(p.msg.questions.size(), 2);
        EXPECT_EQ(o->Language_In_Use, "Deutsch");
        EXPECT_EQ(p.st.Language_Name, "English");
        // Every screen at once, this one included.
        EXPECT_EQ(w->Btn_New->text(), "Neue Konfiguration");
        EXPECT_EQ(w->FNew_Project->windowTitle(), "Neu");
        EXPECT_EQ(o->PC_Options->tabText(0), "Sprache");
        EXPECT_EQ(o->L_Sel_Lang->text(), "Gewaehlte Sprache : Deutsch");
        EXPECT_EQ(o->L_Page_Lang->text(), "Page 1 / 1");
        // Back to English: the question names the language chosen on this screen.
        p.msg.answers = {true};
        o->L_L[1]->click();
        EXPECT_EQ(p.msg.questions.last(), "Do you want to change the Language from Deutsch to English?");
        EXPECT_EQ(w->Btn_New->text(), "New Configuration");
        p.msg.answers = {true};
        o->L_L[0]->click();
    }, false);
    EXPECT_EQ(p.st.Language_Name, "English");
    EXPECT_EQ(w->Btn_New->text(), "Neue Konfiguration"); // for the rest of this run
    EXPECT_FALSE(QFileInfo::exists(p.path("Konstrel.xml"))); // Cancel writes nothing
    o->show();
    EXPECT_EQ(o->Language_In_Use, "English");
    o->reject();
}

TEST_F(OptionsFixture, UntickingInternetDisablesTheUpdateControlsAndKeepsTheTick)
{
    Settings("1", "1");
    Make();
    ASSERT_TRUE(w->Timer_Update->isActive());
    Options([&] {
        EXPECT_TRUE(o->CB_En_Con->isChecked());
        EXPECT_TRUE(o->CB_Update->isEnabled());
        EXPECT_TRUE(o->Btn_Check_Update->isEnabled());
        o->CB_En_Con->click();
        EXPECT_FALSE(o->CB_Update->isEnabled());
        EXPECT_TRUE(o->CB_Update->isChecked());
        EXPECT_FALSE(o->Btn_Check_Update->isEnabled());
        o->CB_En_Con->click();
        o->CB_Update->click();
        EXPECT_TRUE(o->CB_Update->isEnabled());
        EXPECT_FALSE(o->Btn_Check_Update->isEnabled());
        o->CB_Update->click();
        o->CB_En_Con->click();
    }, true);
    EXPECT_FALSE(p.st.Enable_Internet);
    EXPECT_TRUE(p.st.Enable_Update);
    EXPECT_FALSE(w->Timer_Update->isActive());
    AppState back = p.st;
    back.Enable_Update = false;
    Read_Settings(back, p.msg);
    EXPECT_FALSE(back.Enable_Internet);
    EXPECT_TRUE(back.Enable_Update);
}

TEST_F(OptionsFixture, OkStoresEverySwitchWritesTheSettingsAndStartsTheTimer)
{
    Make();
    p.write("LANGUAGE/Deutsch.lng", "STR15 = Neue Konfiguration\n");
    ASSERT_FALSE(w->Timer_Update->isActive());
    Options([&] {
        for (QCheckBox* cb : {o->CB_En_Con, o->CB_Update, o->CB_Soft_Set_Jump_Table, o->CB_DoubleClick_Auto_Size})
            cb->click();
        p.msg.answers = {true};
        o->L_L[0]->click();
    }, true);
    EXPECT_EQ(p.st.Language_Name, "Deutsch");
    EXPECT_TRUE(p.st.Enable_Internet && p.st.Enable_Update && p.st.Enable_Jump_Field_Tables
                && p.st.Double_Click_Auto_Size);
    const QByteArray xml = p.read("Konstrel.xml");
    EXPECT_TRUE(xml.contains("<language>Deutsch</language>")) << xml.toStdString();
    for (const char* e : {"enable_internet", "enable_update", "enable_jump_field_tables", "Double_Click_Auto_Size"})
        EXPECT_TRUE(xml.contains(QByteArray("<") + e + ">1</" + e + ">")) << e;
    ASSERT_TRUE(w->Timer_Update->isActive());
    EXPECT_EQ(w->Timer_Update->interval(), 60000);

    // Confirming again with the switches as they are keeps the interval and the count.
    w->Timer_UpdateTimer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->Timer_Update->isActive(); }, 5000));
    const int left = w->Timer_Update->remainingTime();
    Options([] {}, true);
    EXPECT_TRUE(w->Timer_Update->isActive());
    EXPECT_EQ(w->Timer_Update->interval(), 7200000);
    EXPECT_LE(w->Timer_Update->remainingTime(), left);
    EXPECT_TRUE(p.msg.errors.isEmpty());

    // A settings file that cannot be written is reported; the choices stay in use.
    p.st.Program_Dir = p.path("missing/folder");
    Options([&] { o->CB_Update->click(); }, true);
    ASSERT_EQ(p.msg.errors.size(), 1);
    EXPECT_TRUE(p.msg.errors.first().contains("Konstrel.xml"));
    EXPECT_FALSE(p.st.Enable_Update);
    EXPECT_FALSE(w->Timer_Update->isActive());
}

TEST_F(OptionsFixture, CancelChangesNoSwitch)
{
    Make();
    Options([&] {
        for (QCheckBox* cb : {o->CB_En_Con, o->CB_Update, o->CB_Soft_Set_Jump_Table, o->CB_DoubleClick_Auto_Size})
            cb->click();
    }, false);
    EXPECT_FALSE(p.st.Enable_Internet || p.st.Enable_Update || p.st.Enable_Jump_Field_Tables
                 || p.st.Double_Click_Auto_Size);
    EXPECT_FALSE(w->Timer_Update->isActive());
    EXPECT_FALSE(QFileInfo::exists(p.path("Konstrel.xml")));
}

TEST_F(OptionsFixture, ManualCheckShowsTheLinkOrNoUpdate)
{
    Make();
    p.st.Enable_Internet = p.st.Enable_Update = true;
    o->show();
    o->PC_Options->setCurrentWidget(o->TS_Con_Options);
    EXPECT_FALSE(o->LL_Check_Update->isVisibleTo(o));
    version.newer = true;
    // While the server is asked the screen says so and the button waits.
    std::atomic<bool> answer{false};
    version.during = [&] {
        while (!answer)
            QThread::msleep(5);
    };
    o->Btn_Check_Update->click();
    ASSERT_TRUE(o->LL_Check_Update->isVisibleTo(o));
    EXPECT_EQ(o->LL_Check_Update->text(), "Checking for a newer version ...");
    EXPECT_FALSE(o->Btn_Check_Update->isEnabled());
    answer = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return o->Btn_Check_Update->isEnabled(); }, 5000));
    version.during = nullptr;
    EXPECT_EQ(version.calls, 1);
    ASSERT_TRUE(o->LL_Check_Update->isVisibleTo(o));
    EXPECT_EQ(o->LL_Check_Update->text(),
              "<a href=\"http://www.norvex.example/Home/download/download.asp#HDR2305\">"
              "New Version Available. Click Here for more Details</a>");
    emit o->LL_Check_Update->linkActivated("http://www.norvex.example/Home/download/download.asp#HDR2305");
    EXPECT_EQ(browser.opened, QStringList{"http://www.norvex.example/Home/download/download.asp#HDR2305"});
    version.newer = false;
    o->Btn_Check_Update->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return o->Btn_Check_Update->isEnabled(); }, 5000));
    EXPECT_EQ(o->LL_Check_Update->text(), "No Update Available");
    o->reject();
    o->show(); // hidden again at the next showing
    EXPECT_FALSE(o->LL_Check_Update->isVisibleTo(o));
    o->reject();
}

TEST_F(OptionsFixture, TimerIsOffDuringTheCheckAndThenWaitsTwoHours)
{
    Settings("1", "1");
    Make();
    ASSERT_TRUE(w->Timer_Update->isActive());
    EXPECT_EQ(w->Timer_Update->interval(), 60000);
    bool active_during = true;
    version.during = [&] { active_during = w->Timer_Update->isActive(); };
    version.newer = true;
    w->Timer_UpdateTimer(); // the first tick
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->Timer_Update->isActive(); }, 5000));
    EXPECT_EQ(version.calls, 1);
    EXPECT_FALSE(active_during);
    EXPECT_TRUE(w->Timer_Update->isActive());
    EXPECT_EQ(w->Timer_Update->interval(), 7200000);
    ASSERT_TRUE(w->LL_Update->isVisibleTo(w.get()));
    emit w->LL_Update->linkActivated("http://www.norvex.example/Home/download/download.asp#HDR2305");
    emit w->L_Norvex->linkActivated("http://www.norvex.example/HOME/default.asp?frompg=SWR2305");
    EXPECT_EQ(browser.opened, (QStringList{"http://www.norvex.example/Home/download/download.asp#HDR2305",
                                           "http://www.norvex.example/HOME/default.asp?frompg=SWR2305"}));
    EXPECT_TRUE(w->L_Norvex->text().contains("http://www.norvex.example/HOME/default.asp?frompg=SWR2305"));

    // Turning a switch off stops further checks.
    Options([&] { o->CB_Update->click(); }, true);
    EXPECT_FALSE(w->Timer_Update->isActive());
}

TEST(AboutBox, FixedTextsAndTheHomePage)
{
    ProgramFolder p;
    p.start();
    p.st.Lang_Table[300] = "Optionen"; // not followed: the texts are fixed
    RecordingBrowser browser;
    TFAbout about(p.st, browser);
    EXPECT_EQ(about.windowTitle(), "About...");
    EXPECT_EQ(about.Label1->text(), "Software Konstrel ");
    EXPECT_EQ(about.Label2->text(), "NMEA 0183 / MQTT - Converter");
    EXPECT_EQ(about.Label3->text(), "Version :");
    EXPECT_EQ(about.Label10->text(), "1.002");
    EXPECT_EQ(about.Label6->text(), "Software Code : ");
    EXPECT_EQ(about.Label9->text(), "SWR2305");
    EXPECT_EQ(about.Label8->text(), "Document Code :");
    EXPECT_EQ(about.Label12->text(), "VOR2305");
    about.Image2->click();
    emit about.Label4->linkActivated("anything");
    EXPECT_EQ(browser.opened, QStringList(2, "http://www.norvex.example/HOME/default.asp?frompg=SWR2305"));
    about.show();
    about.Btn_OK->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}
