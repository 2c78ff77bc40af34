// swr2305-cli fleet plan and fleet update over loopback devices, with the stand-in updater.
#include "CliRun.h"

#include "FleetFixture.h"

#include "base/Crc32.h"
#include "lang/LangTable.h"
#include "lang/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace swr;

namespace {

using test::Cli;
using test::CliRun;

struct FleetCli : ::testing::Test {
    test::Fleet_Workspace w;

    void SetUp() override { w.Write_Devices(test::Fleet_Workspace::Three_Devices()); }

    CliRun Plan(const QStringList& extra = {}) const
    {
        return Cli(QStringList{"fleet", "plan", w.Template_Dir(), w.Devices()} + extra);
    }
    CliRun Update(const QStringList& extra = {})
    {
        return Cli(QStringList{"fleet", "update", w.Devices(), "--program-dir", w.p.st.Program_Dir} + extra,
                   {&w.echo, &w.clock});
    }
    QJsonArray Report_Devices() const
    {
        return QJsonDocument::fromJson(w.Report("fleet.json")).object().value("devices").toArray();
    }
    QJsonObject Report_Device(const QString& name) const
    {
        for (const QJsonValue d : Report_Devices())
            if (d.toObject().value("name").toString() == name)
                return d.toObject();
        return {};
    }
    // The devices file with one value changed: column of the device's line.
    void Change_Device(int line, int column, const QByteArray& value) const
    {
        QList<QByteArray> lines = test::Fleet_Workspace::Three_Devices().split('\n');
        QList<QByteArray> values = lines[line].trimmed().split(',');
        values[column] = value;
        lines[line] = values.join(',') + '\r';
        w.Write_Devices(lines.join('\n'));
    }
    QString Text(int index) const { return w.p.st.Get_Lang_Text(index); }
    // The echo requests sent so far, as dotted addresses, each once in order.
    QStringList Asked() const
    {
        QStringList out;
        for (quint32 ip : w.echo.asked) {
            const QString dotted = QString("127.0.0.%1").arg(ip & 0xFF);
            if (!out.contains(dotted))
                out << dotted;
        }
        return out;
    }
};

QString Lines(const CliRun& r)
{
    return QString::fromUtf8(r.out) + r.err;
}

} // namespace

TEST_F(FleetCli, PlanReplacesEveryVariableAndWritesOrdinaryConfigurations)
{
    const CliRun r = Plan();
    ASSERT_EQ(r.rc, 0) << Lines(r).toStdString();
    EXPECT_EQ(QString::fromUtf8(r.out), "ship-a (127.0.0.11): Planned\n"
                                        "ship-b (127.0.0.12): Planned\n"
                                        "ship-c (127.0.0.13): Planned\n"
                                        "3 of 3 devices planned.\n");

    ParGen par;
    ASSERT_TRUE(Load_ParGen(w.p.st, w.Config("ship-b", "ParGen.xml"), par).ok);
    const std::pair<ParKey, QString> expected[] = {
        {ParKey::Eth_Conn_Device_Name, "Bravo"},
        {ParKey::MQTT_Client_ID, "hdr-2"},
        {ParKey::MQTT_Username, ""}, // an empty value is taken as it is
        {ParKey::MQTT_Password, "pw-bravo-2"},
        {ParKey::MQTT_Will_Topic_Name, "fleet/b/status"},
        {ParKey::MQTT_Will_Message, "ship-b at 127.0.0.12 is offline"},
        {ParKey::MQTT_Server_URL, "127.0.0.1"},
        {ParKey::TLS_Server_Auth_Certificate, "CA-b"},
        {ParKey::TLS_Client_Auth_Certificate, "CERT-b"},
        {ParKey::TLS_Client_Auth_Key, "KEY-bravo-2"},
        {ParKey::TLS_Client_Auth_Key_Password, "kp-bravo-2"},
        // The device's own address is the one the fleet reaches it at.
        {ParKey::Ethernet_IP1, "127"},
        {ParKey::Ethernet_IP2, "0"},
        {ParKey::Ethernet_IP3, "0"},
        {ParKey::Ethernet_IP4, "12"},
    };
    for (const auto& [key, value] : expected)
        EXPECT_EQ(par.Text(key), value) << Par_Key_Info(key).name;

    NMEA_Listener_Table t;
    ASSERT_TRUE(Load_NMEA_Access(w.p.st, w.Config("ship-b", "NMEA_0183_Set_Access.xml"), t).ok);
    EXPECT_EQ(t.row(1).Mnemonic, "fleet/b-lat");
    MQTT_Topic_Table m;
    ASSERT_TRUE(Load_MQTT_Topic(w.p.st, w.Config("ship-b", "MQTT_Set_Topic.xml"), m).ok);
    EXPECT_EQ(m.Pub[0].Topic, "fleet/b/gps/lat");
    // $VALUE$ is the payload's own; $${ is the two characters ${.
    EXPECT_EQ(m.Pub[0].Template, "{\"lat\":$VALUE$,\"ship\":\"ship-b\",\"literal\":\"${x}$\"}");
    EXPECT_EQ(m.Pub[0].Mnemonic, "fleet/b_LAT");

    // Each is an ordinary configuration: it passes the checks, and its banks compile the same.
    EXPECT_EQ(Cli({"check", w.Config("ship-b")}).rc, 0);
    const QByteArray bank3 = w.p.read("PROJECTS/ship-b/bin/bank3.bin");
    ASSERT_EQ(Cli({"compile", w.Config("ship-b")}).rc, 0);
    EXPECT_EQ(w.p.read("PROJECTS/ship-b/bin/bank3.bin"), bank3);
    EXPECT_TRUE(bank3.contains("fleet/b/gps/lat"));
}

TEST_F(FleetCli, ReportGivesEachBankFilesLengthAndCrcAndNoSecret)
{
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    const CliRun r = Plan();
    ASSERT_EQ(r.rc, 0) << Lines(r).toStdString();
    const QString csv = QString::fromUtf8(w.Report("fleet.csv"));
    ASSERT_EQ(Report_Devices().size(), 3);
    for (const QString name : {"ship-a", "ship-b", "ship-c"}) {
        SCOPED_TRACE(name.toStdString());
        const QJsonObject d = Report_Device(name);
        EXPECT_EQ(d.value("status").toString(), "planned");
        EXPECT_EQ(d.value("folder").toString(), QDir::toNativeSeparators(w.Config(name)));
        const QJsonArray banks = d.value("banks").toArray();
        ASSERT_EQ(banks.size(), 3);
        QStringList line{name};
        for (int k = 0; k < 3; ++k) {
            const QByteArray file = w.p.read(QString("PROJECTS/%1/bin/bank%2.bin").arg(name).arg(k + 1));
            const QString crc = QString("%1").arg(Crc32(file), 8, 16, QChar('0'));
            EXPECT_EQ(banks[k].toObject().value("file").toString(), QString("bank%1.bin").arg(k + 1));
            EXPECT_EQ(banks[k].toObject().value("length").toInt(), file.size());
            EXPECT_EQ(banks[k].toObject().value("crc32").toString(), crc);
            line << QString::number(file.size()) << crc;
        }
        EXPECT_TRUE(csv.contains(line.join(',').replace(name + ",", ""))) << csv.toStdString();
    }
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF" "name,ip,status,message,warnings,bank1_length,bank1_crc32,"));

    // No password, key or key password anywhere: the reports, the output.
    const QByteArray all = w.Report("fleet.json") + w.Report("fleet.csv") + r.out + r.err.toUtf8();
    for (const char* secret : {"pw-alpha-1", "pw-bravo-2", "KEY-charlie-3", "kp-alpha-1", "kp-charlie-3"})
        EXPECT_FALSE(all.contains(secret)) << secret;
}

TEST_F(FleetCli, ASecretThatReachesAMessageIsMasked)
{
    // A client ID made of the password, the same on two devices: the message that names
    // it hides it.
    w.Write_Template(test::Template_Rule(), [](ParGen& m) { m.Set_Text(ParKey::MQTT_Client_ID, "hdr-${pw}"); });
    Change_Device(3, 5, "pw-alpha-1");
    const CliRun r = Plan();
    EXPECT_EQ(r.rc, 1);
    const QString masked = Text(Txt::Fleet_Same_Client_ID).arg("hdr-******", "\"ship-c\"");
    EXPECT_TRUE(QString::fromUtf8(r.out).contains("ship-a (127.0.0.11): Failed: " + masked)) << Lines(r).toStdString();
    const QByteArray all = w.Report("fleet.json") + w.Report("fleet.csv") + r.out + r.err.toUtf8();
    EXPECT_FALSE(all.contains("pw-alpha-1"));
}

TEST_F(FleetCli, FleetChecksRefuseSharedAddressesIdsAndNamesAndWarnOfSharedTopics)
{
    const QString b = "ship-b (127.0.0.12): Planned\n";
    struct Case {
        const char* what;
        int column;
        QByteArray value; // ship-c's
        QString a, c;     // what the lines of ship-a and ship-c say
        int rc;
    } cases[] = {
        {"same address", 1, "127.0.0.11",
         "ship-a (127.0.0.11): Failed: " + Text(Txt::Fleet_Same_Address).arg("127.0.0.11", "\"ship-c\""),
         "ship-c (127.0.0.11): Failed: " + Text(Txt::Fleet_Same_Address).arg("127.0.0.11", "\"ship-a\""), 1},
        {"same client ID", 3, "1",
         "ship-a (127.0.0.11): Failed: " + Text(Txt::Fleet_Same_Client_ID).arg("hdr-1", "\"ship-c\""),
         "ship-c (127.0.0.13): Failed: " + Text(Txt::Fleet_Same_Client_ID).arg("hdr-1", "\"ship-a\""), 1},
        {"same device name, in another case", 2, "ALPHA",
         "ship-a (127.0.0.11): Failed: " + Text(Txt::Fleet_Same_Device_Name).arg("Alpha", "\"ship-c\""),
         "ship-c (127.0.0.13): Failed: " + Text(Txt::Fleet_Same_Device_Name).arg("ALPHA", "\"ship-a\""), 1},
        {"same configuration name, in another case", 0, "Ship-A",
         "ship-a (127.0.0.11): Failed: " + Text(Txt::Fleet_Same_Name).arg("\"Ship-A\""),
         "Ship-A (127.0.0.13): Failed: " + Text(Txt::Fleet_Same_Name).arg("\"ship-a\""), 1},
        {"same publish topics: a warning", 6, "fleet/a",
         "ship-a (127.0.0.11): Planned\nship-a: "
             + Text(Txt::Fleet_Same_Topics).arg(1).arg("\"ship-c\"", "fleet/a/gps/lat"),
         "ship-c (127.0.0.13): Planned\nship-c: "
             + Text(Txt::Fleet_Same_Topics).arg(1).arg("\"ship-a\"", "fleet/a/gps/lat"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(w.p.path("PROJECTS")).removeRecursively();
        w.Write_Template();
        Change_Device(3, c.column, c.value);
        const CliRun r = Plan();
        EXPECT_EQ(r.rc, c.rc);
        const QString out = QString::fromUtf8(r.out);
        EXPECT_TRUE(out.contains(c.a + "\n")) << out.toStdString();
        EXPECT_TRUE(out.contains(b)) << out.toStdString();
        EXPECT_TRUE(out.contains(c.c + "\n")) << out.toStdString();
        // A device that failed has no folder; the others are planned.
        EXPECT_EQ(QFileInfo(w.Config("ship-a")).isDir(), c.rc == 0);
        EXPECT_TRUE(QFileInfo(w.Config("ship-b", "bin/bank1.bin")).isFile());
    }
}

TEST_F(FleetCli, TheDataAreaMapsWarningsGoIntoTheReport)
{
    MQTT_Publish_Row rule = test::Template_Rule();
    rule.Position = "100"; // bytes no listener row fills
    w.Write_Template(rule);
    const CliRun r = Plan();
    EXPECT_EQ(r.rc, 0);
    const QString warning = Text(Txt::Map_Unfilled).arg(1).arg(100).arg(103).arg(4);
    EXPECT_TRUE(QString::fromUtf8(r.out).contains("ship-b (127.0.0.12): Planned\nship-b: " + warning + "\n"))
        << r.out.toStdString();
    EXPECT_EQ(Report_Device("ship-b").value("warnings").toArray(), QJsonArray{warning});
}

TEST_F(FleetCli, UnknownVariableNamesTheFileThePlaceAndTheVariable)
{
    struct Case {
        const char* what;
        MQTT_Publish_Row rule;
        std::function<void(ParGen&)> edit;
        QString message;
    };
    MQTT_Publish_Row topic = test::Template_Rule();
    topic.Topic = "${prefx}/gps/lat";
    MQTT_Publish_Row mnemonic = test::Template_Rule();
    mnemonic.Mnemonic = "${prefix";
    const Case cases[] = {
        {"a publish topic", topic, {},
         Text(Txt::Fleet_Unknown_Variable).arg("MQTT_Set_Topic.xml", "row 1, Topic", "prefx")},
        {"a key of the parameters", test::Template_Rule(),
         [](ParGen& m) { m.Set_Text(ParKey::MQTT_Will_Message, "${Name} went ${where}"); },
         Text(Txt::Fleet_Unknown_Variable).arg("ParGen.xml", "MQTT_Will_Message", "where")},
        {"a ${ without its }", mnemonic, {},
         Text(Txt::Fleet_Unclosed_Variable).arg("MQTT_Set_Topic.xml", "row 1, Mnemonic")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        w.Write_Template(c.rule, c.edit);
        const CliRun r = Plan();
        EXPECT_EQ(r.rc, 1);
        EXPECT_TRUE(QString::fromUtf8(r.out).startsWith("ship-a (127.0.0.11): Failed: " + c.message + "\n"))
            << r.out.toStdString();
        EXPECT_FALSE(QFileInfo::exists(w.Config("ship-a"))); // nothing written
        EXPECT_EQ(Report_Device("ship-c").value("message").toString(), c.message);
    }

    // The listener rows' Mnemonic too.
    w.Write_Template();
    NMEA_Listener_Table t;
    ASSERT_TRUE(Load_NMEA_Access(w.p.st, w.Template_Dir() + "/NMEA_0183_Set_Access.xml", t).ok);
    t.row(1).Mnemonic = "${site}-lat";
    ASSERT_TRUE(Save_NMEA_Access(w.p.st, w.Template_Dir() + "/NMEA_0183_Set_Access.xml", t).ok);
    const CliRun r = Plan();
    EXPECT_TRUE(QString::fromUtf8(r.out).contains(
        Text(Txt::Fleet_Unknown_Variable).arg("NMEA_0183_Set_Access.xml", "row 1, Mnemonic", "site")));
}

TEST_F(FleetCli, AFailingDeviceDoesNotStopTheOthers)
{
    // ship-a's address is no address, ship-b's poll time fails the check of its
    // parameters, ship-c's name leaves the projects folder; one more device is planned.
    w.Write_Template(test::Template_Rule(), [](ParGen& m) { m.Set_Text(ParKey::NTP_Poll_Time, "${poll}"); });
    w.Write_Devices("name;ip;dev;id;user;pw;prefix;broker;ca;cert;key;keypw;poll\n"
                    "ship-a;127.0.0.300;A;1;u;p;f/a;b;c;d;e;f;100\n"
                    "ship-b;127.0.0.12;B;2;u;p;f/b;b;c;d;e;f;often\n"
                    "../ship-c;127.0.0.13;C;3;u;p;f/c;b;c;d;e;f;100\n"
                    "ship-d;127.0.0.14;D;4;u;p;f/d;b;c;d;e;f;100\n");
    const CliRun r = Plan();
    EXPECT_EQ(r.rc, 1);
    EXPECT_EQ(QString::fromUtf8(r.out),
              "ship-a (127.0.0.300): Failed: " + Text(Txt::Fleet_Bad_Address).arg("127.0.0.300") + "\n"
              "ship-b (127.0.0.12): Failed: ParGen.xml: " + Text(1120) + "\n"
              "../ship-c (127.0.0.13): Failed: " + Text(Txt::New_Name_Invalid_Create) + "\n"
              "ship-d (127.0.0.14): Planned\n"
              "1 of 4 devices planned.\n");
    EXPECT_TRUE(QFileInfo(w.Config("ship-d", "bin/bank3.bin")).isFile());
    EXPECT_FALSE(QFileInfo::exists(w.p.path("ship-c")));
    EXPECT_EQ(Report_Device("ship-b").value("status").toString(), "failed");
    EXPECT_EQ(Report_Device("ship-d").value("status").toString(), "planned");
}

TEST_F(FleetCli, AnExistingConfigurationIsWrittenOverOnlyWithReplace)
{
    ASSERT_EQ(Plan().rc, 0);
    const QByteArray bank3 = w.p.read("PROJECTS/ship-b/bin/bank3.bin");

    Change_Device(2, 6, "fleet/b2");
    const CliRun again = Plan();
    EXPECT_EQ(again.rc, 1);
    EXPECT_TRUE(QString::fromUtf8(again.out).startsWith("ship-a (127.0.0.11): Failed: " + Text(Txt::New_Name_Exists)));
    EXPECT_EQ(w.p.read("PROJECTS/ship-b/bin/bank3.bin"), bank3);

    const CliRun replaced = Plan({"--replace"});
    EXPECT_EQ(replaced.rc, 0) << Lines(replaced).toStdString();
    const QByteArray new_bank3 = w.p.read("PROJECTS/ship-b/bin/bank3.bin");
    EXPECT_TRUE(new_bank3.contains("fleet/b2/gps/lat"));
    EXPECT_EQ(Report_Device("ship-b").value("banks").toArray()[2].toObject().value("crc32").toString(),
              QString("%1").arg(Crc32(new_bank3), 8, 16, QChar('0')));

    // The template is no device's to replace.
    const QByteArray template_topics = w.p.read("PROJECTS/Template/MQTT_Set_Topic.xml");
    Change_Device(2, 0, "template");
    const CliRun over = Plan({"--replace"});
    EXPECT_EQ(over.rc, 1);
    EXPECT_TRUE(QString::fromUtf8(over.out).contains("template (127.0.0.12): Failed: " + Text(Txt::New_Name_Exists)));
    EXPECT_EQ(w.p.read("PROJECTS/Template/MQTT_Set_Topic.xml"), template_topics);
}

TEST_F(FleetCli, DevicesFileIsReadAsTheTablesCsvAndRefusedWithItsLine)
{
    const QString file = QDir::toNativeSeparators(w.Devices());
    const auto not_read = [&](const QString& why) { return Text(Txt::File_Not_Read).arg(file, why); };
    const struct {
        const char* what;
        QByteArray csv;
        QString message;
    } cases[] = {
        {"no ip column", "name,dev\nship-a,A\n",
         not_read("Line 1: " + Text(Txt::Fleet_Missing_Column).arg("ip"))},
        {"a column twice", "name,ip,Name\nship-a,127.0.0.11,x\n",
         not_read("Line 1: " + Text(Txt::Csv_Column_Twice).arg("Name"))},
        {"a column that cannot be a variable", "name,ip,${x}\nship-a,127.0.0.11,x\n",
         not_read("Line 1: " + Text(Txt::Fleet_Bad_Column_Name).arg("${x}"))},
        {"a line of another length", "\xEF\xBB\xBFname;ip\r\nship-a;127.0.0.11\r\nship-b,127.0.0.12\r\n",
         not_read("Line 3: " + Text(Txt::Csv_Field_Count).arg(1).arg(2).arg(";"))},
        {"a stray quote", "name,ip\nship-a,127.0\"0.11\n",
         not_read("Line 2, column ip: " + Text(Txt::Csv_Stray_Quote))},
        {"no device", "name,ip\n,\n\n", Text(Txt::Fleet_No_Devices).arg(file)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        w.Write_Devices(c.csv);
        const CliRun r = Plan();
        EXPECT_EQ(r.rc, 1);
        EXPECT_EQ(r.err, c.message + "\n");
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_TRUE(w.Report("fleet.json").isEmpty()); // nothing planned, nothing reported
}

TEST_F(FleetCli, UpdateRunsEveryPlannedDeviceInOrderOneAtATime)
{
    ASSERT_EQ(Plan().rc, 0);
    const CliRun r = Update();
    ASSERT_EQ(r.rc, 0) << Lines(r).toStdString();
    EXPECT_EQ(QString::fromUtf8(r.out), Text(Txt::Fleet_One_At_A_Time) + "\n"
                                            "ship-a (127.0.0.11): Updated\n"
                                            "ship-b (127.0.0.12): Updated\n"
                                            "ship-c (127.0.0.13): Updated\n"
                                            "3 of 3 devices updated.\n");
    EXPECT_EQ(Asked(), (QStringList{"127.0.0.11", "127.0.0.12", "127.0.0.13"}));
    // The last job was ship-c's, with its banks; the stand-in found it sound.
    const QByteArray job = w.p.read("Ethernet_Update.xml");
    EXPECT_TRUE(job.contains("<IP_Address_Dev>127.0.0.13</IP_Address_Dev>"));
    EXPECT_TRUE(job.contains(QDir::toNativeSeparators(w.Config("ship-c", "bin/bank3.bin")).toUtf8()));
    EXPECT_TRUE(w.p.read("standin_report.txt").endsWith("result: ok\n"));

    const QJsonObject u = Report_Device("ship-b").value("update").toObject();
    EXPECT_EQ(u.value("status").toString(), "updated");
    EXPECT_EQ(u.value("echo").toString(), "answered");
    EXPECT_GE(u.value("echo_ms").toInt(-1), 0);
    EXPECT_EQ(u.value("updater_exit").toInt(-1), 0);
    EXPECT_FALSE(u.value("started").toString().isEmpty());
    EXPECT_LE(u.value("started").toString(), u.value("ended").toString());
    EXPECT_TRUE(QString::fromUtf8(w.Report("fleet.csv")).contains(",updated,,answered,"));
}

TEST_F(FleetCli, AFailedDeviceIsReportedTheRunGoesOnAndResumeTakesItAgain)
{
    ASSERT_EQ(Plan().rc, 0);
    w.echo.silent = {"127.0.0.12"};
    const CliRun r = Update({"--option", "2", "--read-back", "off"});
    EXPECT_EQ(r.rc, 1);
    EXPECT_TRUE(QString::fromUtf8(r.out).contains("ship-b (127.0.0.12): Update failed: " + Text(Txt::Device_Not_Found) + "\n"
                                                  "ship-c (127.0.0.13): Updated\n"
                                                  "2 of 3 devices updated.\n"))
        << r.out.toStdString();
    EXPECT_EQ(Report_Device("ship-b").value("update").toObject().value("echo").toString(), "no answer");
    const QByteArray job = w.p.read("Ethernet_Update.xml");
    EXPECT_FALSE(job.contains("SimR2305.sim")); // configuration only
    EXPECT_FALSE(job.contains("<Ope_Read_Back>1</Ope_Read_Back>"));

    w.echo.silent.clear();
    w.echo.asked.clear();
    const CliRun resumed = Update({"--resume"});
    EXPECT_EQ(resumed.rc, 0) << Lines(resumed).toStdString();
    EXPECT_EQ(Asked(), QStringList{"127.0.0.12"});
    EXPECT_TRUE(QString::fromUtf8(resumed.out).endsWith("ship-b (127.0.0.12): Updated\n1 of 1 devices updated.\n"));
    for (const QJsonValue d : Report_Devices())
        EXPECT_EQ(d.toObject().value("update").toObject().value("status").toString(), "updated");

    w.echo.asked.clear();
    EXPECT_EQ(Update({"--only", "SHIP-C,ship-a"}).rc, 0);
    EXPECT_EQ(Asked(), (QStringList{"127.0.0.11", "127.0.0.13"}));
    const CliRun nobody = Update({"--only", "ship-z"});
    EXPECT_EQ(nobody.rc, 1);
    EXPECT_EQ(nobody.err, Text(Txt::Fleet_No_Such_Device).arg("ship-z") + "\n");
}

TEST_F(FleetCli, UpdateReportsTheUpdatersStatusChangedBanksAndAMissingPlan)
{
    const CliRun unplanned = Update();
    EXPECT_EQ(unplanned.rc, 1);
    EXPECT_EQ(unplanned.err, Text(Txt::Fleet_Not_Planned) + "\n");
    EXPECT_TRUE(w.echo.asked.empty());

    ASSERT_EQ(Plan().rc, 0);
    w.p.write("PROJECTS/ship-a/bin/bank2.bin", QByteArray(1536, '\7'));
    // An updater that refuses every job.
    const QString updater = Updater_Program(w.p.st.Program_Dir);
    ASSERT_TRUE(QFile::remove(updater));
    w.p.write(QFileInfo(updater).fileName(), "#!/bin/sh\nexit 1\n");
    ASSERT_TRUE(QFile::setPermissions(updater, QFile::permissions(updater) | QFile::ExeOwner));
    const CliRun r = Update();
    EXPECT_EQ(r.rc, 1);
    const QString out = QString::fromUtf8(r.out);
    EXPECT_TRUE(out.contains("ship-a (127.0.0.11): Update failed: "
                             + Text(Txt::Fleet_Banks_Changed).arg(QDir::toNativeSeparators(w.Config("ship-a")))))
        << out.toStdString();
    EXPECT_TRUE(out.contains("ship-b (127.0.0.12): Update failed: " + Text(Txt::Fleet_Updater_Status).arg(1)));
    EXPECT_EQ(Report_Device("ship-c").value("update").toObject().value("updater_exit").toInt(), 1);
    EXPECT_EQ(Asked(), (QStringList{"127.0.0.12", "127.0.0.13"}));

    // A devices file changed since the plan is planned again first.
    Change_Device(1, 1, "127.0.0.21");
    const CliRun changed = Update();
    EXPECT_EQ(changed.rc, 1);
    EXPECT_EQ(changed.err, Text(Txt::Fleet_Not_Planned) + "\n");
}

TEST_F(FleetCli, WhatTheUpdaterNeedsIsLookedForBeforeAnyDeviceIsAsked)
{
    ASSERT_EQ(Plan().rc, 0);
    ASSERT_TRUE(QFile::remove(w.p.path("MASTER/SimR2305.sim")));
    const CliRun no_image = Update();
    EXPECT_EQ(no_image.rc, 1);
    EXPECT_EQ(no_image.err, Text(Txt::Firmware_Missing)
                                    .arg("SimR2305.sim", QDir::toNativeSeparators(w.p.path("MASTER")))
                                + "\n");
    EXPECT_TRUE(w.echo.asked.empty());
    // The configuration alone needs no image.
    EXPECT_EQ(Update({"--option", "2"}).rc, 0);

    w.echo.asked.clear();
    const QString updater = Updater_Program(w.p.st.Program_Dir);
    ASSERT_TRUE(QFile::remove(updater));
    const CliRun no_updater = Update({"--option", "2"});
    EXPECT_EQ(no_updater.rc, 1);
    EXPECT_EQ(no_updater.err, Text(Txt::Updater_Missing)
                                      .arg(QFileInfo(updater).fileName(), QDir::toNativeSeparators(w.p.st.Program_Dir))
                                  + "\n");
    EXPECT_TRUE(w.echo.asked.empty());
}

TEST(FleetCliUsage, WrongArgumentsAreUsageErrors)
{
    const QStringList cases[] = {
        {"fleet"},
        {"fleet", "plan", "T"},
        {"fleet", "plan", "T", "D.csv", "--bogus"},
        {"fleet", "update", "D.csv"},
        {"fleet", "update", "D.csv", "--program-dir", "P", "--option", "3"},
        {"fleet", "update", "D.csv", "--program-dir", "P", "--read-back", "yes"},
        {"fleet", "launch", "D.csv"},
    };
    for (const QStringList& args : cases) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.rc, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("fleet plan TEMPLATE_DIR DEVICES.csv"));
    }
}
