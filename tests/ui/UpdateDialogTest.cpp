#include "UpdateDialog.h"

#include "session/Projects.h"
#include "session/Settings.h"
#include "session/Startup.h"

#include "FakeEcho.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace swr;
using swr::test::FakeEcho;
using swr::test::ProgramFolder;

namespace {

struct BootFixture : ::testing::Test {
    ProgramFolder p;
    FakeEcho echo;
    std::unique_ptr<TFBoot> dlg;

    void SetUp() override
    {
        p.start();
        dlg = std::make_unique<TFBoot>(p.st, p.msg, echo);
    }
    std::array<QString, 4> Fields() const
    {
        return {dlg->E_IP1->text(), dlg->E_IP2->text(), dlg->E_IP3->text(), dlg->E_IP4->text()};
    }
    void Type(const std::array<QString, 4>& ip)
    {
        for (int i = 0; i < 4; ++i)
            std::array{dlg->E_IP1, dlg->E_IP2, dlg->E_IP3, dlg->E_IP4}[i]->setText(ip[i]);
    }
    // The stand-in updater in the program folder, and a configuration whose firmware image
    // and banks have the sizes the updater wants.
    void Prepare_Update(int bank2Size = 1536)
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(SWR_STANDIN_UPDATER), Updater_Program(p.st.Program_Dir)));
        ASSERT_EQ(Create_New_Project(p.st, "Plant 7"), 0);
        p.write("MASTER/SimR2305.sim", "firmware");
        p.write("PROJECTS/Plant 7/bin/bank1.bin", QByteArray(2048, '\1'));
        p.write("PROJECTS/Plant 7/bin/bank2.bin", QByteArray(bank2Size, '\2'));
        p.write("PROJECTS/Plant 7/bin/bank3.bin", QByteArray(174, '\3'));
    }
    QByteArray Report() const { return p.read("standin_report.txt"); }
};

} // namespace

TEST_F(BootFixture, FirstShowingWithoutSettings)
{
    dlg->show();
    EXPECT_EQ(dlg->windowTitle(), "Update Device by Ethernet (UDP)");
    EXPECT_EQ(dlg->P_Title->L_SW_Code->text(), "SWR2305");
    EXPECT_EQ(dlg->P_Title->L_SW_Desc->text(), "Update Device Using the Ethernet Port");
    EXPECT_EQ(dlg->E_IP3->toolTip(), "Insert third byte of IP Address");
    EXPECT_EQ(dlg->Btn_Update->text(), "Execute Update Firmware");
    EXPECT_EQ(Fields(), (std::array<QString, 4>{"192", "168", "2", "205"}));
    ASSERT_EQ(dlg->CB_Update_Options->count(), 3);
    EXPECT_EQ(dlg->CB_Update_Options->itemText(2), "Configuration");
    EXPECT_EQ(dlg->CB_Update_Options->currentIndex(), 0);
    EXPECT_TRUE(dlg->CB_Update_Option_Read_Back->isChecked());
    EXPECT_EQ(dlg->focusWidget(), dlg->E_IP1);
    EXPECT_EQ(dlg->width(), 449);
    EXPECT_EQ(dlg->minimumSize(), dlg->maximumSize());

    // The texts are applied again at every showing.
    dlg->hide();
    p.st.Lang_Table[820] = "Aggiorna";
    dlg->show();
    EXPECT_EQ(dlg->Btn_Update->text(), "Aggiorna");
}

TEST_F(BootFixture, DotKeyMovesToTheNextFieldAndIsNeverInserted)
{
    dlg->show();
    for (QLineEdit* f : {dlg->E_IP1, dlg->E_IP2, dlg->E_IP3, dlg->E_IP4})
        f->clear();
    for (const char c : QByteArray("10.0.0.7."))
        QTest::keyClick(dlg->focusWidget(), c);
    EXPECT_EQ(Fields(), (std::array<QString, 4>{"10", "0", "0", "7"}));
    EXPECT_EQ(dlg->focusWidget(), dlg->E_IP4);

    // The keypad's dot does the same.
    dlg->E_IP1->setFocus();
    QTest::keyClick(dlg->E_IP1, Qt::Key_Period, Qt::KeypadModifier);
    EXPECT_EQ(dlg->E_IP1->text(), "10");
    EXPECT_EQ(dlg->focusWidget(), dlg->E_IP2);
}

TEST_F(BootFixture, ChoicesKeptWithinARunAndDefaultsAfterARestart)
{
    dlg->show();
    Type({"10", "0", "0", "007"});
    dlg->CB_Update_Options->setCurrentIndex(Update_Firmware);
    dlg->CB_Update_Option_Read_Back->setChecked(false);
    // An updater that cannot be started (it may not be run): it is named in an error box;
    // the dialog stays.
    p.write("MASTER/SimR2305.sim", "firmware");
    p.write(QFileInfo(Updater_Program(p.st.Program_Dir)).fileName(), "not a program");
    dlg->Btn_Update->click();
    EXPECT_EQ(p.msg.errors, QStringList{"Error!!! The update program cannot be started: "
                                        + QDir::toNativeSeparators(Updater_Program(p.st.Program_Dir))});
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(dlg->Btn_Update->isEnabled());
    EXPECT_EQ(p.st.Last_IP_Address, "10.0.0.007");
    EXPECT_EQ(p.st.Update_Option_Index, Update_Firmware);
    EXPECT_FALSE(p.st.Update_Read_Back);
    EXPECT_TRUE(p.read("Ethernet_Update.xml").contains("<IP_Address_Dev>10.0.0.007</IP_Address_Dev>"));

    dlg->hide();
    Type({"1", "2", "3", "4"});
    dlg->show();
    EXPECT_EQ(Fields(), (std::array<QString, 4>{"10", "0", "0", "007"}));
    EXPECT_EQ(dlg->CB_Update_Options->currentIndex(), Update_Firmware);
    EXPECT_FALSE(dlg->CB_Update_Option_Read_Back->isChecked());
    dlg->hide();

    // Only the address reaches the settings file.
    QString error;
    ASSERT_TRUE(Save_Setting(p.st, &error)) << error.toStdString();
    AppState again;
    Start_Up(again, p.dir.path(), p.msg);
    TFBoot fresh(again, p.msg, echo);
    fresh.show();
    EXPECT_EQ(fresh.E_IP4->text(), "007");
    EXPECT_EQ(fresh.CB_Update_Options->currentIndex(), Update_Firmware_Configuration);
    EXPECT_TRUE(fresh.CB_Update_Option_Read_Back->isChecked());
}

TEST_F(BootFixture, FailedCheckStoresNothing)
{
    Prepare_Update();
    using E = EchoResult;
    const struct {
        E echoes;
        const char* field;
        bool warning;
        const char* text;
        size_t requests;
    } cases[] = {
        {E::Answered, "2x", false, "Error!!! Check the Ip Address", 0},
        {E::Send_Error, "2", false, "Error!!! Check the Ip Address", 1},
        {E::Not_Permitted, "2",  false,
         "Error!!! This computer does not allow the program to send echo requests (ping) to the device", 1},
    };
    for (const auto& c : cases) {
        p.msg.errors.clear();
        echo.script = {c.echoes};
        echo.calls.clear();
        dlg->show();
        Type({"192", "168", c.field, "205"});
        dlg->Btn_Update->click();
        EXPECT_EQ(p.msg.errors, QStringList{c.text}) << c.text;
        EXPECT_TRUE(p.msg.warnings.isEmpty());
        EXPECT_EQ(echo.calls.size(), c.requests) << c.text;
        EXPECT_EQ(p.st.Last_IP_Address, "192.168.2.205");
        EXPECT_FALSE(QFileInfo::exists(p.path("Ethernet_Update.xml")));
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_TRUE(dlg->Btn_Update->isEnabled());
        dlg->hide();
    }
}

// A missing firmware image or updater is named, with where to put it, before the device is
// asked; nothing is stored and no job is written.
TEST_F(BootFixture, MissingFirmwareOrUpdaterStopsBeforeTheCheck)
{
    const QString data = p.path("data");
    dlg->Updater_Folders = {p.st.Program_Dir, data};
    const struct {
        int option;
        const char* starts;
        QString folder;
    } cases[] = {
        {Update_Firmware, "Error!!! The firmware image SimR2305.sim is missing.", p.st.Master_Dir},
        {Update_Configuration, "Error!!! The update program ", QDir::toNativeSeparators(data)},
    };
    for (const auto& c : cases) {
        p.msg.errors.clear();
        dlg->show();
        dlg->CB_Update_Options->setCurrentIndex(c.option);
        dlg->Btn_Update->click();
        ASSERT_EQ(p.msg.errors.size(), 1);
        EXPECT_TRUE(p.msg.errors.first().startsWith(c.starts)) << p.msg.errors.first().toStdString();
        EXPECT_TRUE(p.msg.errors.first().contains(c.folder)) << p.msg.errors.first().toStdString();
        EXPECT_TRUE(echo.calls.empty());
        EXPECT_EQ(p.st.Update_Option_Index, Update_Firmware_Configuration);
        EXPECT_FALSE(QFileInfo::exists(p.path("Ethernet_Update.xml")));
        EXPECT_TRUE(dlg->isVisible());
        dlg->hide();
    }

    // The updater of the second folder serves when the first has none.
    Prepare_Update();
    QDir().mkpath(data);
    ASSERT_TRUE(QFile::rename(Updater_Program(p.st.Program_Dir), Updater_Program(QDir::toNativeSeparators(data))));
    p.msg.errors.clear();
    dlg->show();
    dlg->Btn_Update->click();
    EXPECT_TRUE(p.msg.errors.isEmpty()) << p.msg.errors.join("\n").toStdString();
    // It runs in the workspace, where it finds the job, and reports next to itself.
    EXPECT_TRUE(p.read("data/standin_report.txt").contains("result: ok")) << p.read("data/standin_report.txt").toStdString();
}

TEST_F(BootFixture, RunsTheUpdaterAndWaitsForIt)
{
    Prepare_Update();
    p.write("standin_delay_ms", "600");
    dlg->show();
    bool disabledMeanwhile = false, noteShown = false;
    QTimer probe;
    probe.setInterval(50);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (QFileInfo::exists(p.path("Ethernet_Update.xml")))
            disabledMeanwhile = disabledMeanwhile || !dlg->Btn_Update->isEnabled();
        for (QWidget* top : QApplication::topLevelWidgets())
            noteShown = noteShown || (top->objectName() == "Program_Wait" && top->isVisible());
    });
    probe.start();
    QElapsedTimer t;
    t.start();
    dlg->Btn_Update->click();
    EXPECT_GE(t.elapsed(), 600);
    probe.stop();
    EXPECT_TRUE(p.msg.errors.isEmpty()) << p.msg.errors.join("\n").toStdString();
    EXPECT_EQ(echo.calls.size(), 2u); // two answers end the check
    EXPECT_EQ(echo.calls.front().ipv4, 0xC0A802CDu);
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_TRUE(noteShown);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(dlg->Btn_Update->isEnabled());
    const QByteArray report = Report();
    EXPECT_TRUE(report.contains("result: ok")) << report.toStdString();
    EXPECT_TRUE(report.contains("bank3.bin at 0xA0000")) << report.toStdString();
    EXPECT_TRUE(report.contains("SimR2305.sim at 0x8000")) << report.toStdString();

    // The stand-in looks at what it is given: a bank of the wrong size fails the job.
    QFile::remove(p.path("standin_delay_ms"));
    p.write("PROJECTS/Plant 7/bin/bank2.bin", QByteArray(100, '\2'));
    dlg->Btn_Update->click();
    EXPECT_TRUE(Report().contains("has 100 bytes")) << Report().toStdString();
    EXPECT_TRUE(Report().contains("result: failed"));
}

TEST_F(BootFixture, JobThatCannotBeWrittenStopsTheUpdate)
{
    Prepare_Update();
    QDir().mkpath(p.path("Ethernet_Update.xml"));
    dlg->show();
    dlg->Btn_Update->click();
    ASSERT_EQ(p.msg.errors.size(), 1);
    EXPECT_TRUE(p.msg.errors.first().startsWith(
        "Error!!! The file " + QDir::toNativeSeparators(p.path("Ethernet_Update.xml")) + " cannot be written: "))
        << p.msg.errors.first().toStdString();
    EXPECT_TRUE(Report().isEmpty()); // the updater was not started
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(BootFixture, ClosedDuringTheCheckNothingMoreIsDone)
{
    Prepare_Update();
    echo.onSend = [this] { dlg->Btn_Cancel->click(); };
    dlg->show();
    Type({"10", "0", "0", "7"});
    dlg->Btn_Update->click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(p.st.Last_IP_Address, "192.168.2.205");
    EXPECT_FALSE(QFileInfo::exists(p.path("Ethernet_Update.xml")));
    EXPECT_TRUE(Report().isEmpty());
    EXPECT_TRUE(p.msg.errors.isEmpty());
}
