#include "update/UpdateJob.h"

#include "base/Files.h"
#include "base/Xml.h"

#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace swr;
using swr::test::ProgramFolder;

namespace {

struct JobFixture : ::testing::Test {
    ProgramFolder p;
    void SetUp() override
    {
        p.start();
        p.st.Active_Project_Dir = Join_Path(p.st.Projects_Dir, QStringLiteral("Plant 7"));
    }
    QString Native(const QString& rel) const { return QDir::toNativeSeparators(p.path(rel)); }
    pugi::xml_document Written(const Update_Choice& c)
    {
        QString error;
        EXPECT_TRUE(Compile_XML_Parameter_New_Boot(p.st, Update_Folders_Of(p.st), c, &error)) << error.toStdString();
        pugi::xml_document doc;
        EXPECT_EQ(Load_Xml_File(p.path("Ethernet_Update.xml"), doc, nullptr), XmlLoad::Loaded);
        return doc;
    }
};

const Update_Choice Typed = {{"192", "168", "002", "205"}, Update_Firmware_Configuration, true};

} // namespace

// The whole file for firmware and configuration with Read Back, as the updater gets it.
TEST_F(JobFixture, FullJobAsWritten)
{
    ASSERT_TRUE(Compile_XML_Parameter_New_Boot(p.st, Update_Folders_Of(p.st), Typed, nullptr));
    QByteArray expected = test::Read_Test_Data("Ethernet_Update_full.xml");
    expected.replace("{MASTER}", Native("MASTER").toUtf8());
    expected.replace("{BIN}", Native("PROJECTS/Plant 7/bin").toUtf8());
    expected.replace("{SEP}", QDir::toNativeSeparators("/").toUtf8());
    EXPECT_EQ(p.read("Ethernet_Update.xml"), expected);
}

TEST_F(JobFixture, OperationsPerOptionAndReadBack)
{
    const QString fw = Native("MASTER/SimR2305.sim");
    const QString b1 = Native("PROJECTS/Plant 7/bin/bank1.bin");
    const QString b2 = Native("PROJECTS/Plant 7/bin/bank2.bin");
    const QString b3 = Native("PROJECTS/Plant 7/bin/bank3.bin");
    struct Op {
        QString file;
        const char* start;
        const char* bankType;
        const char* writeCss;
        const char* goToApp;
    };
    const Op firmware{fw, "0x8000", "1", "1", "0"}, firmwareLast{fw, "0x8000", "1", "1", "1"};
    const Op bank1{b1, "0x07000", "2", "0", "0"}, bank2{b2, "0x80000", "2", "0", "0"},
        bank3{b3, "0xA0000", "2", "0", "1"};
    const struct {
        int option;
        std::vector<Op> ops;
    } options[] = {
        {Update_Firmware_Configuration, {firmware, bank1, bank2, bank3}},
        {Update_Firmware, {firmwareLast}},
        {Update_Configuration, {bank1, bank2, bank3}},
    };
    for (const auto& o : options) {
        for (const bool readBack : {true, false}) {
            Update_Choice c = Typed;
            c.Option = o.option;
            c.Read_Back = readBack;
            const pugi::xml_document doc = Written(c);
            const pugi::xml_node root = Xml_Root(doc);
            EXPECT_EQ(Xml_Text(root.child("IP_Address_Dev")), "192.168.002.205");
            size_t i = 0;
            for (pugi::xml_node op : root.child("Operations").children()) {
                const QString what = QStringLiteral("option %1 read back %2 operation %3").arg(o.option).arg(readBack).arg(i);
                ASSERT_LT(i, o.ops.size()) << what.toStdString();
                const Op& e = o.ops[i++];
                EXPECT_EQ(Q(op.name()), "Operation");
                EXPECT_EQ(Xml_Text(op.child("Ope_FileName")), e.file) << what.toStdString();
                EXPECT_EQ(Xml_Text(op.child("Ope_Start_Address")), e.start) << what.toStdString();
                EXPECT_EQ(Xml_Text(op.child("Ope_Bank_Type")), e.bankType) << what.toStdString();
                EXPECT_EQ(Xml_Text(op.child("Ope_Write_CSS")), e.writeCss) << what.toStdString();
                EXPECT_EQ(Xml_Text(op.child("Ope_GoToApp_After")), e.goToApp) << what.toStdString();
                EXPECT_EQ(Xml_Text(op.child("Ope_Read_Back")), readBack ? "1" : "0") << what.toStdString();
            }
            EXPECT_EQ(i, o.ops.size()) << "option " << o.option;
        }
    }
}

TEST_F(JobFixture, ReplacesTheEarlierJob)
{
    p.write("Ethernet_Update.xml", QByteArray(20000, 'x'));
    Update_Choice c = Typed;
    c.Option = Update_Firmware;
    const pugi::xml_document doc = Written(c);
    EXPECT_EQ(std::distance(Xml_Root(doc).child("Operations").begin(), Xml_Root(doc).child("Operations").end()), 1);
    EXPECT_FALSE(p.read("Ethernet_Update.xml").contains("xxx"));
}

TEST_F(JobFixture, JobThatCannotBeWrittenIsReportedWithPathAndReason)
{
    // A folder where the file should go, and a program folder that is gone.
    QDir().mkpath(p.path("Ethernet_Update.xml"));
    QString error;
    EXPECT_FALSE(Compile_XML_Parameter_New_Boot(p.st, Update_Folders_Of(p.st), Typed, &error));
    const QString prefix = "Error!!! The file " + Native("Ethernet_Update.xml") + " cannot be written: ";
    EXPECT_TRUE(error.startsWith(prefix)) << error.toStdString();
    EXPECT_GT(error.size(), prefix.size()); // the reason follows
    EXPECT_TRUE(QFileInfo(p.path("Ethernet_Update.xml")).isDir());

    p.st.Program_Dir = Native("gone");
    error.clear();
    EXPECT_FALSE(Compile_XML_Parameter_New_Boot(p.st, Update_Folders_Of(p.st), Typed, &error));
    EXPECT_TRUE(error.contains(Native("gone/Ethernet_Update.xml"))) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(p.path("gone")));
}

// The updater is taken from the first folder that holds it; a folder of its name is none.
TEST(Updater, LookedForInTheFoldersInTheirOrder)
{
    ProgramFolder program, data;
    const QString name = QFileInfo(Updater_Program(QStringLiteral("x"))).fileName();
    const QStringList folders{program.dir.path(), data.dir.path()};
    QDir().mkpath(program.path(name));
    EXPECT_TRUE(Find_Updater(folders).isEmpty());
    data.write(name, "");
    EXPECT_EQ(Find_Updater(folders), Updater_Program(QDir::toNativeSeparators(data.dir.path())));
    QDir().rmdir(program.path(name));
    program.write(name, "");
    EXPECT_EQ(Find_Updater(folders), Updater_Program(QDir::toNativeSeparators(program.dir.path())));
}

// Before the device is asked: the firmware image for the firmware options, then the
// updater; each message says where to put what is missing.
TEST_F(JobFixture, WhatAnUpdateNeedsOnThisComputer)
{
    ProgramFolder data;
    const QStringList folders{p.dir.path(), data.dir.path()};
    QString updater;
    EXPECT_EQ(Missing_For_Update(p.st, p.st.Master_Dir, Update_Firmware, folders, &updater),
              "Error!!! The firmware image SimR2305.sim is missing. Put it into the folder " + Native("MASTER")
                  + " and start the update again.");
    EXPECT_EQ(Missing_For_Update(p.st, p.st.Master_Dir, Update_Firmware_Configuration, folders, &updater),
              Missing_For_Update(p.st, p.st.Master_Dir, Update_Firmware, folders, &updater));

    const QString name = QFileInfo(Updater_Program(QStringLiteral("x"))).fileName();
    EXPECT_EQ(Missing_For_Update(p.st, p.st.Master_Dir, Update_Configuration, folders, &updater),
              "Error!!! The update program " + name
                  + " is missing. Put it into one of these folders and start the update again: "
                  + QDir::toNativeSeparators(p.dir.path()) + ", " + QDir::toNativeSeparators(data.dir.path()));

    data.write(name, "");
    EXPECT_EQ(Missing_For_Update(p.st, p.st.Master_Dir, Update_Configuration, folders, &updater), "");
    EXPECT_EQ(updater, Updater_Program(QDir::toNativeSeparators(data.dir.path())));
    p.write("MASTER/SimR2305.sim", "firmware");
    EXPECT_EQ(Missing_For_Update(p.st, p.st.Master_Dir, Update_Firmware_Configuration, folders, &updater), "");
}
