// The three banks replace the previous three as one set, whatever stops the write.
#include "base/Files.h"
#include "lang/Texts.h"
#include "update/UpdateJob.h"

#include "CompilerFixture.h"
#include "FailingFiles.h"

#include <QDir>

#include <array>

using namespace swr;
using namespace swr::test;

namespace {

using Bank_Set = std::array<QByteArray, 3>;

Bank_Set Set_In(const Ship& s) { return {s.bank(1), s.bank(2), s.bank(3)}; }

// The configuration folder's entries: what a bank write leaves beside bin shows here.
QStringList Entries(const Ship& s)
{
    return QDir(s.p.path("PROJECTS/Ship")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The files the update job of the configuration option hands to the updater, read now.
Bank_Set Job_Files(const Ship& s)
{
    pugi::xml_document doc;
    Build_Update_Job(Update_Folders_Of(s.p.st), {{"10", "0", "0", "7"}, Update_Configuration, true}, doc);
    Bank_Set set;
    int n = 0;
    for (pugi::xml_node op : doc.first_child().child("Operations").children("Operation")) {
        QFile f(Q(op.child_value("Ope_FileName")));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
        set.at(n++) = f.readAll();
    }
    EXPECT_EQ(n, 3);
    return set;
}

// A configuration whose three banks all differ from those of an empty folder.
void Change_Every_Bank(Ship& s)
{
    s.write("ParGen.xml", ParGen_Xml({{"Ethernet_IP4", "77"}, {"MQTT_Server_URL", "broker"}}));
    s.write("NMEA_0183_Set_Access.xml",
            R"(<NMEA_0183_Set_Access><NMEA_Listener><row Enable="Y" Sentence="GGA" )"
            R"(DataField="Latitude, Minutes [floating point]" Position="9"/></NMEA_Listener></NMEA_0183_Set_Access>)");
}

} // namespace

TEST(BankSet, AWriteStoppedAnywhereLeavesTheOldSetAndTheNextOneCleansUp)
{
    struct Case {
        const char* what;
        File_Step step;
        const char* only;
    } cases[] = {
        {"at bank 2", File_Step::Open, "bank2.bin"},
        {"in bank 3", File_Step::Write, "bank3.bin"},
        {"flushing bank 3", File_Step::Flush, "bank3.bin"},
        {"after the files, before the swap", File_Step::Swap, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ship s;
        s.build();
        const Bank_Set old = Set_In(s);
        Change_Every_Bank(s);
        {
            // Stopped there: nothing after the failing step runs, not even the clean-up.
            Failing_Files fake(c.step, "No space left on device", c.only);
            fake.Keep_Leftovers = true;
            ASSERT_FALSE(s.compile_and_save().ok);
        }
        EXPECT_EQ(Set_In(s), old);
        EXPECT_EQ(Job_Files(s), old); // the updater would get the old set, whole
        EXPECT_EQ(Entries(s).filter("bin.new-").size(), 1); // the new set's folder is left

        s.build();
        const Bank_Set now = Set_In(s);
        for (int i = 0; i < 3; ++i)
            EXPECT_NE(now[i], old[i]) << "bank " << i + 1;
        EXPECT_EQ(Job_Files(s), now);
        EXPECT_EQ(Entries(s), QStringList({"bin", "NMEA_0183_Set_Access.xml", "ParGen.xml"}));
    }
}

TEST(BankSet, WithoutAFolderExchangeTheSetMovesByTwoRenames)
{
    Ship s;
    s.build();
    const Bank_Set old = Set_In(s);
    Change_Every_Bank(s);
    {
        // The second rename fails: the old set goes back in place.
        Failing_Files fake(File_Step::Rename, "Device or resource busy", "bin.new-");
        fake.Swap_Supported = false;
        const FileResult r = s.compile_and_save();
        EXPECT_EQ(r.message, s.p.st.Get_Lang_Text(Txt::Folder_Not_Replaced)
                                 .arg(s.p.path("PROJECTS/Ship/bin"), "Device or resource busy"));
        EXPECT_EQ(fake.failures, 1);
    }
    EXPECT_EQ(Set_In(s), old);
    EXPECT_EQ(Entries(s), QStringList({"bin", "NMEA_0183_Set_Access.xml", "ParGen.xml"}));

    // Stopped between the two renames: bin is missing, the old set lies aside and the new
    // one beside it. The next write puts the old set back, even when it fails itself.
    const QString config = s.p.path("PROJECTS/Ship") + "/";
    ASSERT_TRUE(QDir().rename(config + "bin", config + "bin.old-5a"));
    ASSERT_TRUE(QDir().mkdir(config + "bin.new-5a"));
    s.write("bin.new-5a/bank1.bin", "new bank 1");
    {
        Failing_Files fake(File_Step::Open, "Permission denied", "bank1.bin");
        fake.Swap_Supported = false;
        EXPECT_FALSE(s.compile_and_save().ok);
    }
    EXPECT_EQ(Set_In(s), old);
    EXPECT_EQ(Entries(s), QStringList({"bin", "NMEA_0183_Set_Access.xml", "ParGen.xml"}));

    Failing_Files no_exchange(File_Step::Swap, "never asked"); // and nothing else fails
    no_exchange.Swap_Supported = false;
    ASSERT_TRUE(s.compile_and_save().ok);
    EXPECT_EQ(Set_In(s), Bank_Set({s.image(1), s.image(2), s.image(3)}));
    EXPECT_NE(Set_In(s), old);
    EXPECT_EQ(Entries(s), QStringList({"bin", "NMEA_0183_Set_Access.xml", "ParGen.xml"}));
}

TEST(BankSet, WhatElseStandsInBinMovesOnWithTheNewSet)
{
    // The banks are replaced; a user's own files and folders in bin are kept, and a folder
    // in the place of a bank file gives way to the bank.
    Ship s;
    s.build();
    s.write("bin/notes.txt", "x");
    s.write("bin/old/bank1.bin", "kept");
    QFile::remove(s.p.path("PROJECTS/Ship/bin/bank3.bin"));
    ASSERT_TRUE(QDir().mkdir(s.p.path("PROJECTS/Ship/bin/bank3.bin")));
    s.build();
    EXPECT_EQ(s.bank(3), s.image(3));
    EXPECT_EQ(QDir(s.p.path("PROJECTS/Ship/bin")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"bank1.bin", "bank2.bin", "bank3.bin", "notes.txt", "old"}));
    s.build();
    QFile notes(s.p.path("PROJECTS/Ship/bin/notes.txt")), kept(s.p.path("PROJECTS/Ship/bin/old/bank1.bin"));
    ASSERT_TRUE(notes.open(QIODevice::ReadOnly) && kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(notes.readAll(), "x");
    EXPECT_EQ(kept.readAll(), "kept");
}
