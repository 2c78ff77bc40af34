#include "CliRun.h"

#include "BrokerFixture.h"
#include "FailingFiles.h"
#include "TestSupport.h"

#include "lang/Texts.h"
#include "session/AppState.h"
#include "project/mqtt/MqttTopics.h"
#include "project/nmea/NmeaAccess.h"
#include "project/pargen/ParGen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

using namespace swr;

namespace {

using test::Cli;
using test::CliRun;

} // namespace

// --help and --version answer on standard output with success; anything else that is no
// command is a usage error.
TEST(CliInfo, HelpAndVersion)
{
    const CliRun version = Cli({"--version"});
    EXPECT_EQ(version.rc, 0);
    EXPECT_EQ(version.out, QByteArray("swr2305-cli ") + Program_Version + "\n");
    EXPECT_TRUE(version.err.isEmpty());

    const CliRun help = Cli({"--help"});
    EXPECT_EQ(help.rc, 0);
    EXPECT_TRUE(help.err.isEmpty());
    EXPECT_TRUE(help.out.startsWith("usage: swr2305-cli <command>"));
    for (const char* shown : {"\n  texts ", "\n  map ", "\n  --version ", "exit status: 0 success, 1 failure, 2 usage error"})
        EXPECT_TRUE(help.out.contains(shown)) << shown;

    for (const QStringList& args : {QStringList{"--versions"}, QStringList{"-h"}, QStringList{"texts", "--version"}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.rc, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.startsWith("usage: swr2305-cli"));
    }
}

TEST(CliTexts, PrintsTheDefaultTable)
{
    const CliRun r = Cli({"texts"});
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.out, test::Read_Test_Data("english_texts.txt"));
}

TEST(CliTexts, AppliesALanguageFileAndWritesAFileThatReadsBack)
{
    test::ProgramFolder p;
    p.write("de.lng", "\xEF\xBB\xBFSTR18 = \xC2\xB6 Fehler \xC2\xB6\r\nSTR0 = Anfang\r\n");
    const CliRun r = Cli({"texts", "--language", p.path("de.lng"), "--output", p.path("out.lng")});
    ASSERT_EQ(r.rc, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    const QByteArray written = p.read("out.lng");
    ASSERT_TRUE(written.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(written.contains("STR18 = \xC2\xB6 Fehler \xC2\xB6\n"));
    EXPECT_TRUE(written.contains("STR0 = \xC2\xB6" "Anfang\xC2\xB6\n"));

    const CliRun back = Cli({"texts", "--language", p.path("out.lng")});
    EXPECT_EQ(back.out, written.mid(3));
}

TEST(CliTexts, ATemplateThatCannotBeWrittenLeavesTheOldFile)
{
    test::ProgramFolder p;
    for (test::File_Step step : {test::File_Step::Open, test::File_Step::Write, test::File_Step::Flush,
                                 test::File_Step::Rename}) {
        SCOPED_TRACE(test::Step_Name(step));
        p.write("LANGUAGE/Deutsch.lng", "old");
        test::Failing_Files fake(step, "No space left on device");
        const CliRun r = Cli({"texts", "--output", p.path("LANGUAGE/Deutsch.lng")});
        EXPECT_EQ(r.rc, 1);
        EXPECT_EQ(r.err, "Error!!! The file " + p.path("LANGUAGE/Deutsch.lng")
                             + " cannot be written: No space left on device\n");
        EXPECT_EQ(p.read("LANGUAGE/Deutsch.lng"), "old");
        EXPECT_EQ(QDir(p.path("LANGUAGE")).entryList(QDir::Files), QStringList{"Deutsch.lng"});
    }
}

TEST(CliTexts, UsageErrors)
{
    for (const QStringList& args : {QStringList{}, QStringList{"nope"}, QStringList{"texts", "--language"},
                                    QStringList{"texts", "--bogus", "x"}, QStringList{"texts", "extra"},
                                    QStringList{"texts", "--check", "a.lng", "--language", "b.lng"},
                                    QStringList{"texts", "--check", "a.lng", "--output", "b.lng"}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.rc, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("usage"));
    }
    EXPECT_EQ(Cli({"texts", "--language", "/nonexistent.lng"}).rc, 1);
}

TEST(CliTextsCheck, OneLinePerFindingAndExitOne)
{
    test::ProgramFolder p;
    QByteArray file = Cli({"texts"}).out;
    file.replace("STR15 = \xC2\xB6New Configuration\xC2\xB6\n", "");
    file += "STR99 = Schritt 9\nSTR905 = Datei %1: %3\nSTR317 = zu\n";
    p.write("de.lng", "\xEF\xBB\xBF" + file);
    const CliRun r = Cli({"texts", "--check", p.path("de.lng")});
    EXPECT_EQ(r.rc, 1);
    EXPECT_EQ(QString::fromUtf8(r.out),
              "STR15: no text; the English is \"New Configuration\"\n"
              "STR99: a text where the English table has none\n"
              "STR317: blanks at the ends differ from the English \" to \"\n"
              "STR905: lacks the placeholder %2 of the English \"Error!!! The file %1 cannot be written: %2\"\n"
              "STR905: adds the placeholder %3, which the English does not have\n");
    EXPECT_EQ(Cli({"texts", "--check", p.path("missing.lng")}).rc, 1);
}

// Every language file the program ships passes the check; a text added to the table
// without its translations fails here, naming each index that lacks one.
TEST(CliTextsCheck, EveryShippedLanguageFilePasses)
{
    const QStringList files = QDir(QStringLiteral(SWR_LANGUAGE_DIR)).entryList({"*.lng"}, QDir::Files);
    EXPECT_EQ(files, (QStringList{"Deutsch.lng", "English.lng", "Italiano.lng"}));
    for (const QString& name : files) {
        const QString path = QStringLiteral(SWR_LANGUAGE_DIR "/") + name;
        const CliRun r = Cli({"texts", "--check", path});
        EXPECT_EQ(r.rc, 0) << name.toStdString() << ":\n" << r.out.toStdString() << r.err.toStdString();
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.read(3) == "\xEF\xBB\xBF") << name.toStdString() << " has no UTF-8 byte-order mark";
    }
}

TEST(CliSentences, PrintsTheCatalogue)
{
    const CliRun r = Cli({"sentences"});
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.out, test::Read_Test_Data("nmea_sentences.txt"));
    EXPECT_EQ(Cli({"sentences", "x"}).rc, 2);
}

namespace {

// A configuration folder whose ParGen.xml fails its check and whose topic file is not XML.
struct BadFolder {
    test::ProgramFolder p;
    BadFolder()
    {
        p.start();
        ParGen m = ParGen_Defaults();
        m.Set_Text(ParKey::Ethernet_IP1, "");
        QDir().mkpath(p.path("conf"));
        EXPECT_TRUE(Save_ParGen(p.st, p.path("conf/ParGen.xml"), m).ok);
        p.write("conf/MQTT_Set_Topic.xml", "<MQTT_Topic>\n<MQTT_Publish>\n</MQTT_Topic>\n");
    }
};

} // namespace

TEST(CliCheck, OneLinePerFailingFileInOrder)
{
    BadFolder f;
    const CliRun r = Cli({"check", f.p.path("conf")});
    EXPECT_EQ(r.rc, 1);
    const QStringList lines = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << r.out.toStdString();
    EXPECT_EQ(lines[0], "ParGen.xml: " + f.p.st.Get_Lang_Text(544));
    EXPECT_TRUE(lines[1].startsWith("MQTT_Set_Topic.xml: ")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains("line 3")) << lines[1].toStdString();

    // An empty folder loads every file as its defaults, which pass.
    QDir().mkpath(f.p.path("empty"));
    const CliRun ok = Cli({"check", f.p.path("empty")});
    EXPECT_EQ(ok.rc, 0);
    EXPECT_TRUE(ok.out.isEmpty());
    EXPECT_EQ(Cli({"check"}).rc, 2);
}

TEST(CliResave, WritesNothingUnlessEveryCheckPasses)
{
    BadFolder f;
    const QByteArray before = f.p.read("conf/ParGen.xml");
    EXPECT_EQ(Cli({"resave", f.p.path("conf")}).rc, 1);
    EXPECT_EQ(f.p.read("conf/ParGen.xml"), before);

    // A sound folder written by hand is written back in the program's own layout; files
    // that do not exist stay absent.
    f.p.write("good/ParGen.xml", "<ParGen><Ethernet_IP1>10</Ethernet_IP1></ParGen>");
    const CliRun r = Cli({"resave", f.p.path("good")});
    EXPECT_EQ(r.rc, 0) << r.out.toStdString();
    ParGen m = ParGen_Defaults();
    m.Set_Text(ParKey::Ethernet_IP1, "10");
    ASSERT_TRUE(Save_ParGen(f.p.st, f.p.path("expected.xml"), m).ok);
    EXPECT_EQ(f.p.read("good/ParGen.xml"), f.p.read("expected.xml"));
    EXPECT_FALSE(QFileInfo::exists(f.p.path("good/MQTT_Set_Topic.xml")));
}

TEST(CliResave, TopicRulesBehindAnEmptyRowAreKept)
{
    test::ProgramFolder p;
    const QByteArray rule = "Retained=\"N\" QoS=\"0\" DataType=\"Int\" Dimension=\"2\" Position=\"0\" "
                            "Template=\"$VALUE$\" OnChange=\"Y\" OnTimer=\"N\" Mnemonic=\"m\"";
    const auto file = [&](const QByteArray& second) {
        return "<MQTT_Set_Topic><MQTT_Publish><row Topic=\"a\" " + rule + "/><row Topic=\" \" " + second
               + "/><row Topic=\"c\" " + rule + "/></MQTT_Publish><MQTT_Subscribe/></MQTT_Set_Topic>";
    };
    // A half-filled row without a topic is refused with its row number.
    p.write("conf/MQTT_Set_Topic.xml", file(rule));
    CliRun r = Cli({"check", p.path("conf")});
    EXPECT_EQ(r.rc, 1);
    EXPECT_EQ(r.out, "MQTT_Set_Topic.xml: Error row 2!! [MQTT Publish] Topic must be inserted\n");

    // An empty row is passed over and left out; the rule after it stays.
    p.write("conf/MQTT_Set_Topic.xml",
            file("Retained=\"N\" QoS=\"\" Mnemonic=\"\" OnChange=\"N\" OnTimer=\"N\""));
    r = Cli({"resave", p.path("conf")});
    ASSERT_EQ(r.rc, 0) << r.out.toStdString();
    const QByteArray saved = p.read("conf/MQTT_Set_Topic.xml");
    EXPECT_EQ(saved.count("<row "), 2) << saved.toStdString();
    EXPECT_TRUE(saved.contains("<row Topic=\"c\"")) << saved.toStdString();
}

TEST(CliCheck, WarningsAreExtraLinesAndRefuseNothing)
{
    test::ProgramFolder p;
    p.start();
    const QByteArray rule = "Retained=\"N\" DataType=\"Int\" Dimension=\"2\" Template=\"$VALUE$\" "
                            "OnChange=\"Y\" OnTimer=\"N\" Mnemonic=\"m\"";
    const auto file = [&](const QByteArray& position) {
        return "<MQTT_Set_Topic><MQTT_Publish><row Topic=\"a\" QoS=\"\" Position=\"0\" " + rule
               + "/><row Topic=\"b\" QoS=\"1\" Position=\"" + position + "\" " + rule
               + "/></MQTT_Publish><MQTT_Subscribe/></MQTT_Set_Topic>";
    };
    const QString warning =
        "MQTT_Set_Topic.xml: " + p.st.Get_Lang_Text(Txt::MQTT_Pub_QoS_Not_Chosen).arg(1) + "\n";

    // A rule without a QoS: a line, but the check and the resave pass.
    p.write("conf/MQTT_Set_Topic.xml", file("2"));
    CliRun r = Cli({"check", p.path("conf")});
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(QString::fromUtf8(r.out), warning);
    EXPECT_EQ(Cli({"resave", p.path("conf")}).rc, 0);
    EXPECT_TRUE(p.read("conf/MQTT_Set_Topic.xml").contains("QoS=\"\""));

    // With an error as well: the error's line as ever, the warning after it.
    p.write("conf/MQTT_Set_Topic.xml", file("2000"));
    r = Cli({"check", p.path("conf")});
    EXPECT_EQ(r.rc, 1);
    EXPECT_EQ(QString::fromUtf8(r.out), "MQTT_Set_Topic.xml: Error row 2" + p.st.Get_Lang_Text(1356) + "1999\n" + warning);
}

TEST(CliCompile, WritesTheBanksOrNothing)
{
    test::ProgramFolder p;
    QDir().mkpath(p.path("Ship/bin"));
    const CliRun r = Cli({"compile", p.path("Ship")});
    ASSERT_EQ(r.rc, 0) << r.err.toStdString();
    EXPECT_EQ(p.read("Ship/bin/bank1.bin").size(), 2048);
    EXPECT_EQ(p.read("Ship/bin/bank2.bin").size(), 1536);
    EXPECT_EQ(p.read("Ship/bin/bank3.bin").size(), 174);
    EXPECT_TRUE(QString::fromUtf8(r.out).contains("bank3.bin: 174 bytes")) << r.out.toStdString();

    const CliRun dump = Cli({"decode", p.path("Ship/bin/bank1.bin")});
    EXPECT_EQ(dump.rc, 0);
    EXPECT_FALSE(dump.out.isEmpty());
    EXPECT_EQ(Cli({"decode", p.path("Ship/bin/bank1.bin"), "--bank", "4"}).rc, 2);
    EXPECT_EQ(Cli({"decode", p.path("nothing.bin")}).rc, 1);

    // No bin folder: an error on stderr, no file.
    QDir().mkpath(p.path("NoBin"));
    const CliRun nobin = Cli({"compile", p.path("NoBin")});
    EXPECT_EQ(nobin.rc, 1);
    EXPECT_TRUE(nobin.err.contains("bank1.bin")) << nobin.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(p.path("NoBin/bin")));

    // A broken project file: its message, no bank written.
    p.write("Bad/ParGen.xml", "<Par_Gen>");
    QDir().mkpath(p.path("Bad/bin"));
    const CliRun bad = Cli({"compile", p.path("Bad")});
    EXPECT_EQ(bad.rc, 1);
    EXPECT_TRUE(bad.err.contains("ParGen.xml"));
    EXPECT_FALSE(QFileInfo::exists(p.path("Bad/bin/bank1.bin")));
}

TEST(CliJob, WritesTheJobAsTheDialogDoesWithAbsolutePaths)
{
    test::ProgramFolder p;
    const QString before = QDir::currentPath();
    QDir::setCurrent(p.dir.path());
    const CliRun r = Cli({"job", "--program-dir", ".", "--config", "PROJECTS/Plant 7", "--ip", "192.168.002.205",
                          "--option", "0", "--read-back", "1"});
    QDir::setCurrent(before);
    ASSERT_EQ(r.rc, 0) << r.err.toStdString();
    QByteArray expected = test::Read_Test_Data("Ethernet_Update_full.xml");
    const QString root = QDir::toNativeSeparators(QDir(p.dir.path()).absolutePath());
    expected.replace("{MASTER}", (root + QDir::separator() + "MASTER").toUtf8());
    expected.replace("{BIN}", QDir::toNativeSeparators(root + "/PROJECTS/Plant 7/bin").toUtf8());
    expected.replace("{SEP}", QString(QDir::separator()).toUtf8());
    EXPECT_EQ(p.read("Ethernet_Update.xml"), expected);
}

TEST(CliJob, UsageAndFailure)
{
    test::ProgramFolder p;
    const QStringList good = {"--program-dir", p.dir.path(), "--config", p.path("c"), "--ip", "10.0.0.7",
                              "--option", "2", "--read-back", "0"};
    auto with = [&](const QString& key, const QString& value) {
        QStringList a = good;
        a[a.indexOf(key) + 1] = value;
        return QStringList{"job"} + a;
    };
    const QStringList usage[] = {
        {"job"},
        QStringList{"job"} + good.mid(0, 8),
        with("--option", "3"),
        with("--read-back", "yes"),
        with("--ip", "10.0.7"),
        with("--ip", "10.0.0.7.1"),
        QStringList{"job"} + good + QStringList{"--ip", "1.2.3.4"},
        QStringList{"job", "extra"} + good,
    };
    for (const QStringList& args : usage) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.rc, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("usage:")) << args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(p.path("Ethernet_Update.xml")));

    // The fields are not checked, as in the dialog; a folder that is missing fails.
    EXPECT_EQ(Cli(with("--ip", "a.b..d")).rc, 0);
    EXPECT_TRUE(p.read("Ethernet_Update.xml").contains("<IP_Address_Dev>a.b..d</IP_Address_Dev>"));
    const CliRun missing = Cli(with("--program-dir", p.path("gone")));
    EXPECT_EQ(missing.rc, 1);
    EXPECT_TRUE(missing.err.contains(QDir::toNativeSeparators(p.path("gone/Ethernet_Update.xml"))))
        << missing.err.toStdString();
}

namespace {

// A configuration folder whose ParGen.xml names a broker on 127.0.0.1.
struct BrokerFolder {
    test::ProgramFolder p;
    QString dir;
    BrokerFolder(const std::function<void(ParGen&)>& edit)
    {
        p.start();
        dir = p.path("conf");
        QDir().mkpath(dir);
        ParGen m = ParGen_Defaults();
        m.Set_Text(ParKey::MQTT_Server_URL, "127.0.0.1");
        m.Set_Text(ParKey::MQTT_Client_ID, "hdr");
        edit(m);
        EXPECT_TRUE(Save_ParGen(p.st, dir + "/ParGen.xml", m).ok);
    }
};

} // namespace

TEST(CliBrokerTest, OneLinePerStageAndTheExitCodeOfCONNACK)
{
    test::MosquittoBroker broker;
    QString error;
    ASSERT_TRUE(broker.Start({}, &error)) << error.toStdString();
    BrokerFolder ok([&](ParGen& m) { m.Set_Text(ParKey::MQTT_Server_Port, QString::number(broker.Port())); });
    const CliRun r = Cli({"broker-test", ok.dir, "--timeout", "5"});
    EXPECT_EQ(r.rc, 0) << r.out.toStdString();
    const QStringList lines = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << r.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("Name lookup: "));
    EXPECT_TRUE(lines[1].startsWith("TCP connection: connected to 127.0.0.1 port "));
    EXPECT_TRUE(lines[2].startsWith("MQTT connection: accepted; test client ID hdr-test"));
    EXPECT_EQ(lines[3], "The connection to the broker works");

    const int closed = test::Free_Loopback_Port();
    BrokerFolder refused([&](ParGen& m) { m.Set_Text(ParKey::MQTT_Server_Port, QString::number(closed)); });
    const CliRun no = Cli({"broker-test", refused.dir});
    EXPECT_EQ(no.rc, 1);
    EXPECT_TRUE(QString::fromUtf8(no.out).contains("TCP connection: refused by 127.0.0.1")) << no.out.toStdString();

    EXPECT_EQ(Cli({"broker-test", ok.dir, "--timeout", "zero"}).rc, 2);
    EXPECT_EQ(Cli({"broker-test"}).rc, 2);
}

TEST(CliCertCheck, LinesOfTheTlsFieldsAndExitOneOnAWarning)
{
    QString error;
    const test::TestCertificates* shared = test::Shared_Certificates(&error);
    ASSERT_TRUE(shared) << error.toStdString();
    const test::TestCertificates& certs = *shared;
    BrokerFolder good([&](ParGen& m) {
        m.Set_Text(ParKey::TLS_Server_Auth_Certificate, certs.Text("ca.crt"));
        m.Set_Text(ParKey::TLS_Client_Auth_Certificate, certs.Text("client.crt"));
        m.Set_Text(ParKey::TLS_Client_Auth_Key, certs.Text("client.key"));
    });
    const CliRun r = Cli({"cert-check", good.dir});
    EXPECT_EQ(r.rc, 0) << r.out.toStdString();
    const QStringList lines = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("Server Certificate: Certificate: CN=Test CA"));
    EXPECT_TRUE(lines[1].startsWith("Client Certificate: Certificate: CN=device, issued by CN=Test CA"));
    EXPECT_EQ(lines[2], "Client Key: Key: not encrypted, matches the Client Certificate");

    BrokerFolder bad([&](ParGen& m) { m.Set_Text(ParKey::TLS_Server_Auth_Certificate, certs.Text("expired.crt")); });
    const CliRun w = Cli({"cert-check", bad.dir});
    EXPECT_EQ(w.rc, 1);
    EXPECT_EQ(QString::fromUtf8(w.out), "Server Certificate: Certificate expired on 2020-01-02: CN=localhost\n");
}

TEST(CliMonitor, ExitZeroWhenEveryPublishingRuleWasSeenAndOneWhenOneIsMissing)
{
    test::MosquittoBroker broker;
    QString error;
    ASSERT_TRUE(broker.Start({}, &error)) << error.toStdString();
    BrokerFolder conf([&](ParGen& m) { m.Set_Text(ParKey::MQTT_Server_Port, QString::number(broker.Port())); });
    auto topics = [&](bool with_missing) {
        MQTT_Topic_Table t;
        t.Pub[0].Topic = "dev/speed";
        t.Pub[0].OnTimer = "Y";
        t.Pub[0].Time = "1000";
        t.Pub[1].Topic = "dev/config";
        t.Pub[1].OnChange = "Y";
        t.Pub[2].Topic = "dev/quiet"; // publishes neither on change nor on timer: not needed
        t.Pub[2].OnChange = t.Pub[2].OnTimer = "N";
        if (with_missing) {
            t.Pub[3].Topic = "dev/missing";
            t.Pub[3].OnChange = "Y";
        }
        for (MQTT_Publish_Row& r : t.Pub)
            if (!r.Topic.isEmpty())
                r.QoS = "1";
        EXPECT_TRUE(Save_MQTT_Topic(conf.p.st, conf.dir + "/MQTT_Set_Topic.xml", t).ok);
    };
    test::TestPublisher device;
    ASSERT_TRUE(device.Connect(broker.Port(), "hdr", &error)) << error.toStdString();
    ASSERT_TRUE(device.Publish("dev/config", "{\"unit\":\"kn\"}", 1, true));
    // The device publishes its timer topic all along.
    std::atomic<bool> stop{false};
    std::thread timer([&] {
        for (int i = 0; !stop; ++i) {
            device.Publish("dev/speed", QByteArray::number(i));
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });

    topics(false);
    const CliRun r = Cli({"monitor", conf.dir, "--seconds", "3"});
    EXPECT_EQ(r.rc, 0) << r.out.toStdString() << r.err.toStdString();
    const QStringList lines = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << r.out.toStdString();
    EXPECT_TRUE(lines[0].contains("client ID hdr-monitor: connected")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("1\tdev/speed\tlive\t")) << lines[1].toStdString();
    EXPECT_EQ(lines[2], "2\tdev/config\tstale retained\t1\t{\"unit\":\"kn\"}");
    EXPECT_EQ(lines[3], "3\tdev/quiet\twaiting\t0\t");
    EXPECT_EQ(lines[4], "Rules seen: 2 of 2 that publish on change or on timer");

    topics(true);
    const CliRun missing = Cli({"monitor", conf.dir, "--seconds", "2", "--json"});
    stop = true;
    timer.join();
    EXPECT_EQ(missing.rc, 1) << missing.out.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(missing.out).object();
    EXPECT_FALSE(o.value("all_seen").toBool());
    const QJsonArray rules = o.value("rules").toArray();
    ASSERT_EQ(rules.size(), 4);
    EXPECT_EQ(rules[1].toObject().value("payload").toString(), "{\"unit\":\"kn\"}");
    EXPECT_TRUE(rules[1].toObject().value("retained").toBool());
    EXPECT_EQ(rules[3].toObject().value("state").toString(), "waiting");
    EXPECT_EQ(rules[3].toObject().value("count").toInt(), 0);

    // No broker: nothing seen.
    const int closed = test::Free_Loopback_Port();
    BrokerFolder gone([&](ParGen& m) { m.Set_Text(ParKey::MQTT_Server_Port, QString::number(closed)); });
    QFile::copy(conf.dir + "/MQTT_Set_Topic.xml", gone.dir + "/MQTT_Set_Topic.xml");
    EXPECT_EQ(Cli({"monitor", gone.dir, "--seconds", "0.3"}).rc, 1);
    QFile::remove(gone.dir + "/MQTT_Set_Topic.xml"); // no rule to see: still no broker
    EXPECT_EQ(Cli({"monitor", gone.dir, "--seconds", "0.3"}).rc, 1);

    EXPECT_EQ(Cli({"monitor", conf.dir}).rc, 2);
    EXPECT_EQ(Cli({"monitor", conf.dir, "--seconds", "0"}).rc, 2);
    EXPECT_EQ(Cli({"monitor", "--seconds", "1"}).rc, 2);
}

TEST(CliMap, RangesAndFindingsAsTextAndJson)
{
    test::ProgramFolder p;
    p.start();
    QDir().mkpath(p.path("conf"));
    p.write("conf/ParGen.xml", "<ParGen/>"); // without it the serial line is off
    NMEA_Listener_Table t;
    t.row(1).Sentence = "GGA";
    t.row(1).DataField = "Latitude, Minutes [floating point]";
    t.row(1).PortOperation = "None";
    t.row(1).Position = "0";
    ASSERT_TRUE(Save_NMEA_Access(p.st, p.path("conf/NMEA_0183_Set_Access.xml"), t).ok);
    MQTT_Topic_Table m;
    m.Pub[0] = {"ship/lat", "N", "1", "Float", "4", "0", "", "", "$VALUE$", "Y", "N", "", ""};
    m.Pub[2] = {"ship/free", "N", "1", "Int", "2", "1998", "", "", "$VALUE$", "Y", "N", "", ""};
    ASSERT_TRUE(Save_MQTT_Topic(p.st, p.path("conf/MQTT_Set_Topic.xml"), m).ok);

    const CliRun text = Cli({"map", p.path("conf")});
    EXPECT_EQ(text.rc, 0) << text.err.toStdString();
    const QStringList lines = QString::fromUtf8(text.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6) << text.out.toStdString();
    EXPECT_EQ(lines[0], "0-3");
    EXPECT_EQ(lines[1], "  Listener row 1: GGA, Latitude, Minutes [floating point] (4 bytes)");
    EXPECT_EQ(lines[2], "  Publish rule 1: ship/lat, Float (4 bytes)");
    EXPECT_EQ(lines[3], "1998-1999");
    EXPECT_EQ(lines[4], "  Publish rule 2: ship/free, Int (2 bytes)"); // the saved file keeps rules only
    EXPECT_TRUE(lines[5].startsWith("Warning: publish rule 2 reads bytes 1998 to 1999")) << lines[5].toStdString();

    const CliRun json = Cli({"map", "--json", p.path("conf")});
    EXPECT_EQ(json.rc, 0);
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(json.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.out.toStdString();
    const QJsonArray ranges = o["ranges"].toArray();
    ASSERT_EQ(ranges.size(), 2);
    EXPECT_EQ(ranges[0]["first"].toInt(), 0);
    EXPECT_EQ(ranges[0]["last"].toInt(), 3);
    EXPECT_EQ(ranges[0]["listeners"][0]["field"].toString(), "Latitude, Minutes [floating point]");
    EXPECT_EQ(ranges[0]["listeners"][0]["dimension"].toInt(), 4);
    EXPECT_EQ(ranges[1]["rules"][0]["topic"].toString(), "ship/free");
    EXPECT_EQ(ranges[1]["rules"][0]["data_type"].toString(), "Int");
    EXPECT_TRUE(ranges[1]["listeners"].toArray().isEmpty());
    const QJsonArray findings = o["findings"].toArray();
    ASSERT_EQ(findings.size(), 1);
    EXPECT_EQ(findings[0]["severity"].toString(), "warning");
    EXPECT_EQ(findings[0]["rows"]["publish"].toArray(), QJsonArray{2});
    EXPECT_EQ(findings[0]["text"].toString(), lines[5]);

    // A file that cannot be loaded, and usage.
    p.write("conf/MQTT_Set_Topic.xml", "<MQTT_Set_Topic><MQTT_Publish>");
    const CliRun broken = Cli({"map", p.path("conf")});
    EXPECT_EQ(broken.rc, 1);
    EXPECT_TRUE(broken.out.isEmpty());
    EXPECT_FALSE(broken.err.isEmpty());
    EXPECT_EQ(Cli({"map"}).rc, 2);
}
