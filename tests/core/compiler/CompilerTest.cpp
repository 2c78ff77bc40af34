#include "lang/Texts.h"

#include "CompilerFixture.h"

#include <QDir>

#include <latch>
#include <thread>
#include <utility>

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
        EXPECT_FALSE(s.save().ok);
        EXPECT_TRUE(Bin_Entries(s).isEmpty());
    }
}

TEST(SaveBanks, MissingBinFolderIsReported)
{
    Ship s;
    ASSERT_TRUE(QDir(s.p.path("PROJECTS/Ship/bin")).removeRecursively());
    ASSERT_TRUE(s.compile().ok);
    const FileResult r = s.save();
    EXPECT_FALSE(r.ok);
    const QString path = QDir::toNativeSeparators(s.p.path("PROJECTS/Ship/bin/bank1.bin"));
    EXPECT_EQ(r.message, s.p.st.Get_Lang_Text(Txt::File_Not_Written).arg(path, "No such file or directory"));
    EXPECT_FALSE(QFileInfo::exists(s.p.path("PROJECTS/Ship/bin")));
}

TEST(SaveBanks, RefusesWithoutACompiledConfiguration)
{
    Ship s;
    EXPECT_EQ(s.save().message, s.p.st.Get_Lang_Text(Txt::Banks_Not_Compiled));
    ASSERT_TRUE(s.compile().ok);
    EXPECT_EQ(Save_Banks(QString(), s.p.st, s.banks).message, s.p.st.Get_Lang_Text(Txt::Project_Not_Valid));
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

// Each compilation builds a value of its own: two configurations compiled at the same
// moment on two threads give exactly what each gives alone, a refused one included.
TEST(CompileConfiguration, TwoAtOnceOnTwoThreadsGiveWhatEachGivesAlone)
{
    Ship s;
    const auto configuration = [&](const QString& name, const char* ip, int rows, const QByteArray& qos) {
        QByteArray listeners, topics;
        for (int i = 0; i < rows; ++i) {
            const QByteArray n = QByteArray::number(i);
            listeners += R"(<row Enable="Y" Sentence="GGA" DataField="Latitude, Minutes [floating point]" Position=")"
                         + QByteArray::number(i * 4) + "\"/>";
            topics += "<row Topic=\"" + name.toUtf8() + "/" + n + "\" Retained=\"N\" QoS=\""
                      + (i ? QByteArray("0") : qos) + "\" Mnemonic=\"m" + n + "\" Template=\"v" + n + "=$VALUE$\"/>";
        }
        s.p.write(name + "/ParGen.xml", ParGen_Xml({{"Ethernet_IP4", ip}, {"MQTT_Server_URL", name + ".example"}}));
        s.p.write(name + "/NMEA_0183_Set_Access.xml", Listener_Xml(listeners));
        s.p.write(name + "/MQTT_Set_Topic.xml", Topic_Xml(topics));
        return s.p.path(name);
    };
    const QString a = configuration("A", "10", 120, "0"), b = configuration("B", "11", 90, "1");
    const QString refused = configuration("C", "12", 60, "x"); // QoS that is not a number

    const auto same = [](const Compiled_Banks& x, const Compiled_Banks& y) {
        return x.Result.ok == y.Result.ok && x.Result.message == y.Result.message
               && x.Bank1_Image.File_Bytes() == y.Bank1_Image.File_Bytes()
               && x.Bank2_Image.File_Bytes() == y.Bank2_Image.File_Bytes()
               && x.Bank3_Image.File_Bytes() == y.Bank3_Image.File_Bytes();
    };
    const Texts texts = s.p.st;
    for (const auto& [first, second] : {std::pair{a, b}, std::pair{a, refused}}) {
        const Compiled_Banks alone[] = {Compile_Configuration(first, texts), Compile_Configuration(second, texts)};
        ASSERT_TRUE(alone[0].Result.ok) << alone[0].Result.message.toStdString();
        ASSERT_EQ(alone[1].Result.ok, second != refused) << alone[1].Result.message.toStdString();
        ASSERT_FALSE(same(alone[0], alone[1]));
        for (int round = 0; round < 20; ++round) {
            Compiled_Banks together[2];
            std::latch start(2);
            std::thread other([&] {
                start.arrive_and_wait();
                together[1] = Compile_Configuration(second, texts);
            });
            start.arrive_and_wait();
            together[0] = Compile_Configuration(first, texts);
            other.join();
            ASSERT_TRUE(same(together[0], alone[0])) << "round " << round;
            ASSERT_TRUE(same(together[1], alone[1])) << "round " << round;
        }
    }
}
