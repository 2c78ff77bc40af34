#include "ConfigurationDialogs.h"
#include "MainWindow.h"
#include "ProgramWait.h"

#include "session/Projects.h"
#include "session/Settings.h"
#include "session/Version.h"
#include "project/mqtt/MqttTopics.h"
#include "lang/LangTable.h"

#include "FakeDesktop.h"
#include "ModalDialogs.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QStyle>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <atomic>

using namespace swr;
using swr::test::On_Next_Modal;
using swr::test::ProgramFolder;

namespace {


struct MainFixture : ::testing::Test {
    ProgramFolder p;
    test::FakeVersionCheck version;
    std::unique_ptr<TFKonstrelFirmWare> w;
    void Make()
    {
        p.start();
        w = std::make_unique<TFKonstrelFirmWare>(p.st, p.msg, version);
    }
};

} // namespace

TEST_F(MainFixture, StepsNeedAnActiveConfiguration)
{
    Make();
    EXPECT_EQ(w->windowTitle(), "Norvex - Configurator SWR2305 - NMEA 0183 / MQTT ");
    EXPECT_EQ(w->L_Name_Conf->text(), "None Configuration Opened ");
    EXPECT_EQ(w->Btn_CreateBin->text(), "Update Device");
    EXPECT_EQ(w->Btn_Info->toolTip(), "Information");
    EXPECT_FALSE(w->Timer_Update->isActive());
    int ran = 0;
    for (QPushButton* b :
         {w->Btn_Prm_Gen, w->Btn_NMEA0183_Access, w->Btn_MQTT_Set_Topic, w->Btn_CreateBin, w->Btn_Fleet})
        w->Set_Step_Action(b, [&] { ++ran; });
    for (QPushButton* b :
         {w->Btn_Prm_Gen, w->Btn_NMEA0183_Access, w->Btn_MQTT_Set_Topic, w->Btn_CreateBin, w->Btn_Fleet})
        b->click();
    EXPECT_EQ(p.msg.errors, QStringList(5, "Error! Project not Valid"));
    EXPECT_EQ(ran, 0);
}

TEST_F(MainFixture, NewConfigurationThroughTheDialogThenStepsRun)
{
    Make();
    On_Next_Modal([](QDialog* d) {
        auto* dlg = qobject_cast<TFNew_Project*>(d);
        ASSERT_NE(dlg, nullptr);
        EXPECT_TRUE(dlg->E_New_Proj->text().isEmpty());
        QTest::keyClicks(dlg->E_New_Proj, "Plant 7");
        QTest::keyClick(dlg->E_New_Proj, Qt::Key_Return); // Enter acts as OK
    });
    w->Btn_New->click();
    EXPECT_TRUE(p.msg.errors.isEmpty());
    EXPECT_EQ(p.st.Active_Project_Name, "Plant 7");
    EXPECT_EQ(w->L_Name_Conf->text(), "Opened Configuration of the Converter : ");
    EXPECT_EQ(w->L_Name_Conf_L2->text(), "Plant 7");
    EXPECT_TRUE(QFileInfo(p.path("PROJECTS/Plant 7/bin")).isDir());
    int ran = 0;
    w->Set_Step_Action(w->Btn_MQTT_Set_Topic, [&] { ++ran; });
    w->Btn_MQTT_Set_Topic->click();
    w->Btn_Prm_Gen->click(); // no screen yet: nothing happens
    EXPECT_EQ(ran, 1);
    // From the keyboard: Enter and Space on the focused step button.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        w->Btn_MQTT_Set_Topic->setFocus();
        QTest::keyClick(w->Btn_MQTT_Set_Topic, key);
    }
    EXPECT_EQ(ran, 4);
    EXPECT_TRUE(p.msg.errors.isEmpty());
}

TEST_F(MainFixture, NewConfigurationErrorKeepsTheDialogOpen)
{
    Make();
    QDir().mkpath(p.path("PROJECTS/Taken"));
    auto* dlg = w->FNew_Project;
    dlg->show();
    dlg->E_New_Proj->setText("Taken");
    dlg->Btn_OKClick();
    EXPECT_EQ(p.msg.errors, QStringList{"Error! Name project is not valid because directory already exists"});
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->E_New_Proj->text(), "Taken");
    dlg->reject();
}

TEST_F(MainFixture, OpenConfigurationPreselectsAndOpens)
{
    for (const char* d : {"Alpha", "Beta"})
        QDir().mkpath(p.path(QString("PROJECTS/") + d));
    p.write("Konstrel.xml", "<Conf_Settings><lastproj><projectname>Beta</projectname></lastproj></Conf_Settings>");
    Make();
    EXPECT_EQ(w->L_Name_Conf_L2->text(), "Beta");
    On_Next_Modal([](QDialog* d) {
        auto* dlg = qobject_cast<TFOpenConf*>(d);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->SL, (QStringList{"Alpha", "Beta"}));
        EXPECT_EQ(dlg->ListBox1->currentRow(), 1);
        QTest::keyClick(dlg->ListBox1, Qt::Key_Up);
        EXPECT_EQ(dlg->Name_Conf, "Alpha");
        dlg->Btn_OK->click();
    });
    w->Btn_Open->click();
    EXPECT_EQ(p.st.Active_Project_Name, "Alpha");
    EXPECT_EQ(w->L_Name_Conf_L2->text(), "Alpha");
}

TEST_F(MainFixture, CloseWritesTheSettings)
{
    Make();
    p.st.Last_IP_Address = "10.0.0.7";
    w->show();
    w->Btn_Close->click();
    AppState back = p.st;
    Read_Settings(back, p.msg);
    EXPECT_EQ(back.Last_IP_Address, "10.0.0.7");
    EXPECT_TRUE(p.msg.errors.isEmpty());
}

TEST_F(MainFixture, CloseReportsASettingsFileThatCannotBeWritten)
{
    Make();
    p.st.Program_Dir = p.path("missing/folder");
    w->show();
    w->close();
    ASSERT_EQ(p.msg.errors.size(), 1);
    EXPECT_TRUE(p.msg.errors.first().contains("Konstrel.xml"));
    EXPECT_FALSE(w->isVisible()); // the program still ends
}

TEST_F(MainFixture, UpdateCheckTimer)
{
    p.write("Konstrel.xml", "<Conf_Settings><lastinternet><enable_internet>1</enable_internet>"
                            "<enable_update>1</enable_update></lastinternet></Conf_Settings>");
    Make();
    ASSERT_TRUE(w->Timer_Update->isActive());
    EXPECT_EQ(w->Timer_Update->interval(), 60000);
    version.newer = true;
    w->Timer_UpdateTimer();
    EXPECT_FALSE(w->Timer_Update->isActive()); // off while the server is asked
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->Timer_Update->isActive(); }, 5000));
    EXPECT_EQ(version.calls, 1);
    EXPECT_TRUE(w->LL_Update->isVisibleTo(w.get()));
    EXPECT_TRUE(w->LL_Update->text().contains("New Version Available. Click Here for more Details"));
    EXPECT_EQ(w->Timer_Update->interval(), 7200000);
    EXPECT_TRUE(w->Timer_Update->isActive());
    version.newer = false;
    w->Timer_UpdateTimer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->Timer_Update->isActive(); }, 5000));
    EXPECT_FALSE(w->LL_Update->isVisibleTo(w.get()));
}

// The window keeps working while the server takes its time; the timer stays off when
// the options turned the check off before the answer came.
TEST_F(MainFixture, UpdateCheckNeverFreezesTheWindow)
{
    p.write("Konstrel.xml", "<Conf_Settings><lastinternet><enable_internet>1</enable_internet>"
                            "<enable_update>1</enable_update></lastinternet></Conf_Settings>");
    Make();
    std::atomic<bool> answer{false};
    version.during = [&] {
        while (!answer)
            QThread::msleep(5);
    };
    version.newer = true;
    w->Timer_UpdateTimer();
    p.st.Lang_Table[15] = "Neu";
    w->Change_Language(); // the window still does its work meanwhile
    EXPECT_EQ(w->Btn_New->text(), "Neu");
    p.st.Enable_Update = false;
    answer = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->LL_Update->isVisibleTo(w.get()); }, 5000));
    EXPECT_FALSE(w->Timer_Update->isActive());
}

TEST_F(MainFixture, ChangeLanguageReappliesEveryScreen)
{
    Make();
    p.st.Lang_Table[15] = "Neue Konfiguration";
    p.st.Lang_Table[100] = "Neu";
    p.st.Lang_Table[9] = "Keine";
    w->Change_Language();
    EXPECT_EQ(w->Btn_New->text(), "Neue Konfiguration");
    EXPECT_EQ(w->FNew_Project->windowTitle(), "Neu");
    EXPECT_EQ(w->L_Name_Conf->text(), "Keine");
    EXPECT_EQ(w->Strip->L_SW_Code->text(), "SWR2305");
}

// Screen readers find a control by the words on it: a button's accessible name is its
// caption and its hint the description; icon buttons are named by their hint.
TEST_F(MainFixture, AccessibleNamesAreTheCaptions)
{
    Make();
    w->show();
    const auto name = [](QWidget* b, QAccessible::Text t) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(b);
        return a ? a->text(t) : QString("(none)");
    };
    struct Expect {
        QWidget* b;
        const char* name;
        const char* description;
    };
    for (const Expect& e : {
             Expect{w->Btn_New, "New Configuration", "Create a new configuration for the device"},
             Expect{w->Btn_Open, "Open Configuration", "Open an exists configuration"},
             Expect{w->Btn_Prm_Gen, "Set Communication", "Set the main parameters of Protocols"},
             Expect{w->Btn_NMEA0183_Access, "NMEA 0183 Access", "Select the NMEA 0183 Sentences to convert"},
             Expect{w->Btn_MQTT_Set_Topic, "MQTT Set Topic", "Set the Topics for MQTT"},
             Expect{w->Btn_CreateBin, "Update Device",
                    "Update the actual Firmware and/or Configuration in the device"},
             Expect{w->Btn_Fleet, "Fleet…",
                    "Plan and update many devices from the open configuration and a file that lists the devices"},
             Expect{w->Btn_Info, "Information", "Information"},
             Expect{w->Btn_Opz, "Options", "Options"},
             Expect{w->Btn_Close, "Close Configurator", "Close Configurator"},
         }) {
        EXPECT_EQ(name(e.b, QAccessible::Name), e.name) << e.b->objectName().toStdString();
        EXPECT_EQ(name(e.b, QAccessible::Description), e.description) << e.b->objectName().toStdString();
    }
}

namespace {

// The pixels of an image that stand out from the strip's band by lightness.
int Light_Pixels(const QImage& img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += qGray(img.pixel(x, y)) > qGray(TitleStrip::Band.rgb()) + 90;
    return n;
}

// The pixels of the accent colour just inside the left and right edges, half way down.
int Ring_Pixels(const QImage& img)
{
    int n = 0;
    for (int x : {1, 2, img.width() - 3, img.width() - 2}) {
        const QColor c = img.pixel(x, img.height() / 2);
        n += c.red() > 200 && c.green() > 170 && c.blue() < 160;
    }
    return n;
}

} // namespace

// The strip is coloured by its palette, not a style sheet; its icons show on the dark band
// and the one with the keyboard focus has a ring round it. The two Step 1 buttons stand
// apart by the style's usual gap.
TEST_F(MainFixture, StripIconsShowOnTheBandAndMarkTheFocus)
{
    Make();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    EXPECT_TRUE(w->Strip->styleSheet().isEmpty());
    EXPECT_TRUE(w->styleSheet().isEmpty());
    EXPECT_EQ(w->Strip->palette().color(QPalette::Window), TitleStrip::Band);
    EXPECT_EQ(w->Strip->L_SW_Desc->palette().color(QPalette::WindowText), QColor(Qt::white));

    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    for (QToolButton* b : {w->Btn_Info, w->Btn_Opz, w->Btn_Close}) {
        SCOPED_TRACE(b->objectName().toStdString());
        w->Btn_New->setFocus(Qt::TabFocusReason);
        const QImage plain = w->Strip->grab(b->geometry()).toImage();
        // The glyph alone: white strokes on the band, a good part of the button.
        EXPECT_GT(Light_Pixels(plain), plain.width() * plain.height() / 20);
        b->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(b->hasFocus());
        const QImage focused = w->Strip->grab(b->geometry()).toImage();
        // The ring: the accent colour on the button's left and right edges, only with the focus.
        EXPECT_GE(Ring_Pixels(focused), 2);
        EXPECT_EQ(Ring_Pixels(plain), 0);
    }

    const int gap = w->Btn_Open->geometry().left() - w->Btn_New->geometry().right() - 1;
    EXPECT_EQ(gap, w->style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, w.get()));
    EXPECT_GT(gap, 0);
}

TEST(ProgramWaitTest, ShowsWhatRunsAndWaits)
{
    ProgramFolder p;
    p.start();
    QString seen;
    auto* probe = new QTimer;
    probe->setInterval(50);
    QObject::connect(probe, &QTimer::timeout, [&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "Program_Wait" && top->isVisible())
                if (auto* l = top->findChild<QLabel*>("L_Wait"))
                    seen = l->text();
    });
    probe->start();
    QElapsedTimer t;
    t.start();
    const StartProgramResult r = Start_Program_Waiting(nullptr, p.st, "/bin/sleep", "0.4", false);
    delete probe;
    EXPECT_TRUE(r.started && r.ended);
    EXPECT_GE(t.elapsed(), 350);
    EXPECT_TRUE(seen.startsWith("Waiting for the program /bin/sleep to end: ")) << seen.toStdString();
}

TEST_F(MainFixture, UpdateDeviceCompilesAndWritesTheBanks)
{
    Make();
    ASSERT_EQ(Create_New_Project(p.st, "Ship"), 0);
    int opened = 0;
    w->Show_Update_Dialog = [&] {
        ++opened;
        EXPECT_EQ(p.read("PROJECTS/Ship/bin/bank1.bin").size(), 2048); // written before
    };
    w->Btn_CreateBin->click();
    ASSERT_TRUE(p.msg.errors.isEmpty()) << p.msg.errors.join('\n').toStdString();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(p.read("PROJECTS/Ship/bin/bank2.bin").size(), 1536);
    EXPECT_EQ(p.read("PROJECTS/Ship/bin/bank3.bin").size(), 174);

    // A broken project file stops the update: its error is shown and no file changes.
    p.write("PROJECTS/Ship/MQTT_Set_Topic.xml", "<MQTT_Set_Topic><MQTT_Publish>");
    p.write("PROJECTS/Ship/bin/bank3.bin", "old");
    opened = 0;
    w->Btn_CreateBin->click();
    ASSERT_EQ(p.msg.errors.size(), 1);
    EXPECT_TRUE(p.msg.errors.first().contains("MQTT_Set_Topic.xml"));
    EXPECT_EQ(p.read("PROJECTS/Ship/bin/bank3.bin"), "old");
    EXPECT_EQ(opened, 0);
}

TEST_F(MainFixture, UpdateDeviceAsksAboutTheDataAreaWarnings)
{
    Make();
    ASSERT_EQ(Create_New_Project(p.st, "Ship"), 0);
    int opened = 0;
    w->Show_Update_Dialog = [&] { ++opened; };
    // Without warnings nothing is asked.
    w->Btn_CreateBin->click();
    EXPECT_TRUE(p.msg.questions.isEmpty());
    EXPECT_EQ(opened, 1);
    QFile::remove(p.path("PROJECTS/Ship/bin/bank3.bin"));

    // Two rules read bytes no listener row fills.
    MQTT_Topic_Table m;
    m.Pub[0] = {"ship/a", "N", "1", "Int", "4", "10", "", "", "$VALUE$", "Y", "N", "", ""};
    m.Pub[1] = {"ship/b", "N", "1", "Int", "4", "1996", "", "", "$VALUE$", "Y", "N", "", ""};
    ASSERT_TRUE(Save_MQTT_Topic(p.st, p.st.File_MQTT_Topic, m).ok);
    opened = 0;
    p.msg.answers = {false};
    w->Btn_CreateBin->click();
    ASSERT_EQ(p.msg.questions.size(), 1);
    const QString q = p.msg.questions.first();
    EXPECT_TRUE(q.contains("Warning: publish rule 1 reads bytes 10 to 13")) << q.toStdString();
    EXPECT_TRUE(q.contains("Warning: publish rule 2 reads bytes 1996 to 1999")) << q.toStdString();
    EXPECT_TRUE(q.endsWith("Continue with the update?"));
    EXPECT_FALSE(QFileInfo::exists(p.path("PROJECTS/Ship/bin/bank3.bin"))); // No: nothing written
    EXPECT_EQ(opened, 0);

    p.msg.answers = {true};
    w->Btn_CreateBin->click();
    EXPECT_EQ(p.msg.questions.size(), 2);
    EXPECT_TRUE(p.msg.errors.isEmpty()) << p.msg.errors.join('\n').toStdString();
    EXPECT_TRUE(QFileInfo::exists(p.path("PROJECTS/Ship/bin/bank3.bin")));
    EXPECT_EQ(opened, 1);
}
