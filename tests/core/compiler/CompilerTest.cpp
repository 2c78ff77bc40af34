#include "lang/Texts.h"

#include "CompilerFixture.h"

#include <QDir>

using namespace swr;
using namespace swr::test;

namespace {

QByteArray Row(const QByteArray& topic, const QByteArray& templ = "$VALUE$")
{
    return "<row Topic=\"" + topic + "\" Retained=\"N\" QoS=\"0\" Mnemonic=\"a\" Template=\"" + templ
           + "\"/>";
}

QStringList Bin_Entries(const Ship& s)
{
    return QDir(s.p.path("PROJECTS/Ship/bin")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(CompileBanks, EmptyFolderGivesTheThreeResetBanks)
{
    Ship s;
    s.build();
    EXPECT_EQ(s.bank(1).size(), 2048);
    EXPECT_EQ(LE(s.bank(1), 0x590), 0xA0000u);
    EXPECT_EQ(LE(s.bank(1), 0x7FC), 3476u);
    EXPECT_EQ(s.bank(2), QByteArray(1536, '\0'));
    EXPECT_EQ(s.bank(3).size(), 174);
    EXPECT_EQ(Bin_Entries(s), QStringList({"bank1.bin", "bank2.bin", "bank3.bin"}));
}

TEST(CompileBanks, RecompilingReplacesTheFilesWhole)
{
    Ship s;
    s.write("ParGen.xml", Read_Test_Data("ParGen_defaults.xml"));
    s.write("MQTT_Set_Topic.xml", Topic_Xml(Row("a/long/topic/name") + Row("second")));
    s.build();
    const QByteArray b1 = s.bank(1), b2 = s.bank(2), b3 = s.bank(3);
    s.build();
    EXPECT_EQ(s.bank(1), b1);
    EXPECT_EQ(s.bank(2), b2);
    EXPECT_EQ(s.bank(3), b3);

    // Only the topic file changes: only bank 3 changes, and the shorter file has no tail.
    s.write("MQTT_Set_Topic.xml", Topic_Xml(Row("t")));
    s.build();
    EXPECT_EQ(s.bank(1), b1);
    EXPECT_EQ(s.bank(2), b2);
    EXPECT_EQ(s.bank(3), s.image(3));
    EXPECT_LT(s.bank(3).size(), b3.size());
    EXPECT_EQ(s.bank(3).size(), 174 + 13 + 49 + 2 + 2 + 8); // NTP server, record, texts
}

TEST(CompileBanks, BankThreeUpToItsLimit)
{
    // 174 fixed + 49 record + "a" + "t" take 227 bytes; the template fills the rest.
    const int fits = 0x20000 - 227 - 1;
    struct Case {
        int template_length;
        bool ok;
    } cases[] = {{fits, true}, {fits + 1, false}, {300000, false}};
    for (const Case& c : cases) {
        Ship s;
        s.write("MQTT_Set_Topic.xml", Topic_Xml(Row("t", QByteArray(c.template_length, 'x'))));
        const FileResult r = s.compile();
        EXPECT_EQ(r.ok, c.ok) << c.template_length;
        if (c.ok) {
            EXPECT_EQ(s.image(3).size(), 0x20000);
            continue;
        }
        const qint64 size = 227 + c.template_length + 1;
        EXPECT_EQ(r.message, s.p.st.Get_Lang_Text(Txt::Bank_Too_Large).arg("bank3.bin").arg(size).arg(131072));
        EXPECT_FALSE(Save_Banks(s.p.st).ok);
        EXPECT_TRUE(Bin_Entries(s).isEmpty());
    }
}

TEST(SaveBanks, MissingBinFolderIsReported)
{
    Ship s;
    ASSERT_TRUE(QDir(s.p.path("PROJECTS/Ship/bin")).removeRecursively());
    ASSERT_TRUE(s.compile().ok);
    const FileResult r = Save_Banks(s.p.st);
    EXPECT_FALSE(r.ok);
    const QString path = QDir::toNativeSeparators(s.p.path("PROJECTS/Ship/bin/bank1.bin"));
    EXPECT_EQ(r.message, s.p.st.Get_Lang_Text(Txt::File_Not_Written).arg(path, "No such file or directory"));
    EXPECT_FALSE(QFileInfo::exists(s.p.path("PROJECTS/Ship/bin")));
}

TEST(SaveBanks, RefusesWithoutACompiledConfiguration)
{
    Ship s;
    EXPECT_EQ(Save_Banks(s.p.st).message, s.p.st.Get_Lang_Text(Txt::Banks_Not_Compiled));
    ASSERT_TRUE(s.compile().ok);
    AppState none = s.p.st;
    none.Active_Project_Dir.clear();
    EXPECT_EQ(Save_Banks(none).message, s.p.st.Get_Lang_Text(Txt::Project_Not_Valid));
    EXPECT_TRUE(Bin_Entries(s).isEmpty());
}

TEST(CompileBanks, ListenerFileIsReadAndItsBrokenFormsStopTheCompile)
{
    Ship s;
    s.write("ParGen.xml", Read_Test_Data("ParGen_defaults.xml"));
    s.write("NMEA_0183_Set_Access.xml",
            "<NMEA_0183><NMEA_Listener><row Enable=\"Y\" Serial_Channel=\"RS232\" Sentence=\"GGA\""
            " Index=\"\" DataField=\"x\" PortOperation=\"None\" SwapAll=\"N\" Swap16=\"N\""
            " Position=\"0\" Mnemonic=\"\"/></NMEA_Listener></NMEA_0183>");
    s.build(); // a row whose data field is not one of its sentence's compiles to nothing
    EXPECT_EQ(s.bank(2), QByteArray(1536, '\0'));
    EXPECT_EQ(LE(s.bank(1), 0x6F8), 0u);

    for (const QByteArray& bad : {QByteArray("<NMEA_0183><row/></NMEA_0183>"), QByteArray("<NMEA_0183>")}) {
        s.write("NMEA_0183_Set_Access.xml", bad);
        const FileResult r = s.compile();
        EXPECT_FALSE(r.ok) << bad.constData();
        EXPECT_TRUE(r.message.contains("NMEA_0183_Set_Access.xml")) << bad.constData();
    }
}
