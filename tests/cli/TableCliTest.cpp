#include "CliRun.h"

#include "TableFiles.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace swr;
using test::Cli;
using test::CliRun;
using test::Gsv_Total;
using test::Lat_Minutes;
using test::Listener_Row;

namespace {

struct TableFolders : test::ProgramFolder {
    TableFolders()
    {
        start();
        QDir().mkpath(path("a"));
        QDir().mkpath(path("b"));
    }
    template <class Table>
    QByteArray saved(const Table& t) const
    {
        return test::Saved_Bytes(*this, t);
    }
};

} // namespace

TEST(CliTable, ExportThenImportWritesTheBytesOfTheScreensSave)
{
    TableFolders p;
    NMEA_Listener_Table t;
    t.row(1) = Listener_Row("GGA", Lat_Minutes, "0");
    t.row(1).Mnemonic = " Breite; \"N\" ";
    t.row(3) = Listener_Row("GSV", Gsv_Total, "5");
    t.row(3).Enable = false;
    t.row(3).Swap16 = true;
    t.row(3).Mnemonic = "=1+1";
    ASSERT_TRUE(Save_NMEA_Access(p.st, p.path("a/NMEA_0183_Set_Access.xml"), t).ok);
    MQTT_Topic_Table m;
    m.Pub[0] = {"ship1/pos", "Y", "1", "Float", "4", "0", "", "", "{\"lat\":$VALUE$,\r\n\"u\":\"min\"}",
                "Y", "N", "", "-lat, min"};
    m.Pub[2] = {" ship1/t ", "N", "0", "Int", "2", "4", "", "", "$VALUE$", "N", "Y", "500", "@now"};
    ASSERT_TRUE(Save_MQTT_Topic(p.st, p.path("a/MQTT_Set_Topic.xml"), m).ok);

    const CliRun listener = Cli({"table", "export", p.path("a"), "listener"});
    ASSERT_EQ(listener.rc, 0) << listener.err.toStdString();
    EXPECT_TRUE(listener.out.startsWith("\xEF\xBB\xBF" "Enable,Serial_Channel,Sentence,"));
    p.write("l.csv", listener.out);
    const CliRun publish = Cli({"table", "export", p.path("a"), "publish", "--output", p.path("p.csv")});
    ASSERT_EQ(publish.rc, 0) << publish.err.toStdString();
    EXPECT_TRUE(publish.out.isEmpty());
    EXPECT_EQ(Cli({"table", "export", p.path("a"), "publish"}).out, p.read("p.csv"));

    EXPECT_EQ(Cli({"table", "import", p.path("b"), "listener", p.path("l.csv")}).rc, 0);
    EXPECT_EQ(Cli({"table", "import", p.path("b"), "publish", p.path("p.csv")}).rc, 0);
    EXPECT_EQ(p.read("b/NMEA_0183_Set_Access.xml"), p.read("a/NMEA_0183_Set_Access.xml"));
    EXPECT_EQ(p.read("b/MQTT_Set_Topic.xml"), p.read("a/MQTT_Set_Topic.xml"));
    EXPECT_EQ(p.read("b/MQTT_Set_Topic.xml"), p.saved(m));

    // Appended, the same rows again follow the last rule.
    EXPECT_EQ(Cli({"table", "import", p.path("b"), "publish", p.path("p.csv"), "--append"}).rc, 0);
    m.Pub[3] = m.Pub[0];
    m.Pub[4] = m.Pub[2];
    EXPECT_EQ(p.read("b/MQTT_Set_Topic.xml"), p.saved(m));
}

TEST(CliTable, ImportsFilesAsPythonAndAEuropeanSpreadsheetWriteThem)
{
    TableFolders p;
    // Python's csv module: DictWriter with its own column order, CR LF; writer with LF.
    p.write("python_publish.csv",
            "Mnemonic,Topic,QoS,DataType,Dimension,Position,Template,OnChange,OnTimer,Time,Retained\r\n"
            "\"Speed, over ground\",ship1/sog,1,Float,4,0,\"{\"\"sog\"\":$VALUE$}\",Y,N,,N\r\n"
            "\"Depth\nbelow keel\",ship1/depth,0,Int,2,4,$VALUE$,N,Y,1000,Y\r\n");
    p.write("python_listener.csv",
            "Sentence,DataField,PortOperation,Position,Enable,Mnemonic\n"
            "GGA,\"Latitude, Minutes [floating point]\",None,0,Y,lat\n"
            "GSV,Total number of sentences [decimal],None,5,N,\"say \"\"hi\"\"\"\n");
    ASSERT_EQ(Cli({"table", "import", p.path("a"), "publish", p.path("python_publish.csv")}).rc, 0);
    ASSERT_EQ(Cli({"table", "import", p.path("a"), "listener", p.path("python_listener.csv")}).rc, 0);
    MQTT_Topic_Table m;
    m.Pub[0] = {"ship1/sog", "N", "1", "Float", "4", "0", "", "", "{\"sog\":$VALUE$}", "Y", "N", "", "Speed, over ground"};
    m.Pub[1] = {"ship1/depth", "Y", "0", "Int", "2", "4", "", "", "$VALUE$", "N", "Y", "1000", "Depth\nbelow keel"};
    EXPECT_EQ(p.read("a/MQTT_Set_Topic.xml"), p.saved(m));
    NMEA_Listener_Table t;
    t.row(1) = Listener_Row("GGA", Lat_Minutes, "0");
    t.row(1).Mnemonic = "lat";
    t.row(2) = Listener_Row("GSV", Gsv_Total, "5");
    t.row(2).Enable = false;
    t.row(2).Mnemonic = "say \"hi\"";
    EXPECT_EQ(p.read("a/NMEA_0183_Set_Access.xml"), p.saved(t));

    // A European spreadsheet: a mark, semicolons, CR LF, a template on three lines, a
    // formula kept as text, and the rows it formatted but left empty.
    p.write("sheet.csv", "\xEF\xBB\xBF"
                         "Topic;Retained;QoS;DataType;Dimension;Position;Template;OnChange;OnTimer;Time;Mnemonic\r\n"
                         "ship2/heading;N;1;Float;4;8;\"{\n  \"\"hdg\"\": $VALUE$\n}\";Y;N;;\"Kurs; rechtweisend\"\r\n"
                         "ship2/alarm;Y;2;String;20;12;$VALUE$;N;Y;60000;'=Alarm\r\n"
                         ";;;;;;;;;;\r\n");
    ASSERT_EQ(Cli({"table", "import", p.path("b"), "publish", p.path("sheet.csv")}).rc, 0);
    MQTT_Topic_Table sheet;
    sheet.Pub[0] = {"ship2/heading", "N", "1", "Float", "4", "8", "", "", "{\n  \"hdg\": $VALUE$\n}", "Y", "N", "",
                    "Kurs; rechtweisend"};
    sheet.Pub[1] = {"ship2/alarm", "Y", "2", "String", "20", "12", "", "", "$VALUE$", "N", "Y", "60000", "=Alarm"};
    EXPECT_EQ(p.read("b/MQTT_Set_Topic.xml"), p.saved(sheet));
}

TEST(CliTable, RefusalsAndUsage)
{
    TableFolders p;
    MQTT_Topic_Table m;
    m.Pub[0] = {"kept", "N", "1", "Int", "2", "0", "", "", "$VALUE$", "Y", "N", "", ""};
    ASSERT_TRUE(Save_MQTT_Topic(p.st, p.path("a/MQTT_Set_Topic.xml"), m).ok);
    const QByteArray before = p.read("a/MQTT_Set_Topic.xml");

    p.write("bad.csv", "Topic;QoS\r\nx,1\r\n");
    const CliRun bad = Cli({"table", "import", p.path("a"), "publish", p.path("bad.csv")});
    EXPECT_EQ(bad.rc, 1);
    EXPECT_TRUE(bad.err.startsWith("Nothing was imported from " + QDir::toNativeSeparators(p.path("bad.csv"))
                                   + ". Line 2: the line has 1 fields"))
        << bad.err.toStdString();
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_EQ(p.read("a/MQTT_Set_Topic.xml"), before);

    EXPECT_EQ(Cli({"table", "import", p.path("a"), "publish", p.path("none.csv")}).rc, 1);
    const CliRun unwritable = Cli({"table", "export", p.path("a"), "publish", "--output", p.path("gone/p.csv")});
    EXPECT_EQ(unwritable.rc, 1);
    EXPECT_TRUE(unwritable.err.contains("cannot be written")) << unwritable.err.toStdString();
    EXPECT_EQ(p.read("a/MQTT_Set_Topic.xml"), before);

    const QString dir = p.path("a");
    const QStringList usage[] = {
        {"table"},
        {"table", "export", dir},
        {"table", "export", dir, "subscribe"},
        {"table", "export", dir, "listener", "extra"},
        {"table", "export", dir, "listener", "--append"},
        {"table", "export", dir, "listener", "--output"},
        {"table", "import", dir, "listener"},
        {"table", "import", dir, "listener", p.path("bad.csv"), "--output", p.path("x.csv")},
        {"table", "copy", dir, "listener", p.path("bad.csv")},
    };
    for (const QStringList& args : usage) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.rc, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("usage:")) << args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(p.path("x.csv")));
}
