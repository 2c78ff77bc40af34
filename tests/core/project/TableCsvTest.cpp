#include "project/TableCsv.h"

#include "lang/Texts.h"
#include "project/mqtt/MqttTopics.h"
#include "project/nmea/NmeaAccess.h"

#include "TableFiles.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace swr;
using swr::test::Gsv_Total;
using swr::test::Lat_Minutes;
using swr::test::Listener_Row;
using swr::test::ProgramFolder;

namespace {

const QByteArray Listener_Header =
    "Enable,Serial_Channel,Sentence,Index,DataField,PortOperation,SwapAll,Swap16,Position,Mnemonic\r\n";
const QByteArray Publish_Header =
    "Topic,Retained,QoS,DataType,Dimension,Position,IPAddress,InputTemplate,Template,OnChange,OnTimer,Time,Mnemonic\r\n";

MQTT_Publish_Row Rule(const QString& topic, const QString& position = "0")
{
    return {topic, "N", "1", "Float", "4", position, "", "", "$VALUE$", "Y", "N", "", ""};
}

// A configuration folder and its two table files.
struct CsvFolder : ProgramFolder {
    CsvFolder() { start(); }
    QString folder() const { return dir.path(); }
    QString listener_file() const { return path(NMEA_Access_File_Name); }
    QString publish_file() const { return path(MQTT_Topic_File_Name); }
    template <class Table>
    QByteArray saved(const Table& t) const
    {
        return test::Saved_Bytes(*this, t);
    }
    FileResult import(Csv_Table table, const QByteArray& csv, bool append = false) const
    {
        write("in.csv", csv);
        return Import_Table_Csv(st, folder(), table, path("in.csv"), append);
    }
    QString not_imported(const QString& why) const
    {
        return st.Get_Lang_Text(Txt::Csv_Not_Imported).arg(QDir::toNativeSeparators(path("in.csv")), why);
    }
};

} // namespace

TEST(TableCsvExport, WritesTheRowsASaveWritesWithQuotesWhereNeeded)
{
    CsvFolder p;
    // Listener rows up to the last with a sentence, the empty row between them included.
    NMEA_Listener_Table t;
    t.row(1) = Listener_Row("GGA", Lat_Minutes, "0");
    t.row(1).Mnemonic = "lat, \"deg\"";
    t.row(3) = Listener_Row("GSV", Gsv_Total, "5");
    t.row(3).Enable = false;
    t.row(3).SwapAll = true;
    t.row(5).Mnemonic = "not saved";
    EXPECT_EQ(Table_Csv(t), "\xEF\xBB\xBF" + Listener_Header
                                + "Y,RS232,GGA,,\"Latitude, Minutes [floating point]\",None,N,N,0,\"lat, \"\"deg\"\"\"\r\n"
                                  "Y,RS232,,,,,N,N,,\r\n"
                                  "N,RS232,GSV,,Total number of sentences [decimal],None,Y,N,5,\r\n");

    // Publish rules only, empty rows left out; a template on two lines stays one value.
    MQTT_Topic_Table m;
    m.Pub[0] = Rule("ship/a");
    m.Pub[0].Template = "{\"v\":$VALUE$,\r\n\"u\":\"kn\"}";
    m.Pub[2] = Rule("ship/b;c", "4");
    m.Pub[2].Mnemonic = "=HYPERLINK(\"x\")";
    EXPECT_EQ(Table_Csv(m), "\xEF\xBB\xBF" + Publish_Header
                                + "ship/a,N,1,Float,4,0,,,\"{\"\"v\"\":$VALUE$,\r\n\"\"u\"\":\"\"kn\"\"}\",Y,N,,\r\n"
                                  "ship/b;c,N,1,Float,4,4,,,$VALUE$,Y,N,,\"'=HYPERLINK(\"\"x\"\")\"\r\n");
    EXPECT_EQ(Table_Csv(MQTT_Topic_Table{}), "\xEF\xBB\xBF" + Publish_Header);
}

TEST(TableCsvExport, ApostropheBeforeAFormulaAndOneTakenOffOnImport)
{
    CsvFolder p;
    // The value, and the cell written for it; reading the cell gives the value back.
    const struct {
        const char* value;
        const char* cell;
    } both_ways[] = {
        {"=1+2", "'=1+2"}, {"+49 40", "'+49 40"}, {"-5", "'-5"},     {"@SUM(A1)", "'@SUM(A1)"},
        {"'=x", "''=x"},   {"''-x", "'''-x"},     {"'quoted", "'quoted"}, {"'", "'"},
        {"a=b", "a=b"},    {" =x", " =x"},
    };
    for (const auto& c : both_ways) {
        SCOPED_TRACE(c.value);
        MQTT_Topic_Table m;
        m.Pub[0] = Rule("t");
        m.Pub[0].Mnemonic = c.value;
        const QByteArray csv = Table_Csv(m);
        EXPECT_TRUE(csv.endsWith(QByteArray(",Y,N,,") + c.cell + "\r\n")) << csv.toStdString();
        MQTT_Topic_Table back;
        ASSERT_TRUE(Table_From_Csv(p.st, csv, false, back).ok);
        EXPECT_EQ(back.Pub[0].Mnemonic, c.value);
    }
    // A formula typed without the apostrophe is read as it stands.
    MQTT_Topic_Table m;
    ASSERT_TRUE(Table_From_Csv(p.st, "Topic,Mnemonic\nt,=A1\n", false, m).ok);
    EXPECT_EQ(m.Pub[0].Mnemonic, "=A1");
}

TEST(TableCsvImport, ExportThenImportSavesTheSameBytes)
{
    CsvFolder p;
    const QStringList awkward = {" padded ", "a;b", "x,\"y\"", "two\r\nlines", "lf\nonly", "tab\there",
                                 "Grüße €", "'=A1", "-1", "@x", QStringView(u"\ufeffmark").toString(), ""};
    MQTT_Topic_Table m;
    for (int i = 0; i < awkward.size(); ++i) {
        m.Pub[i * 2] = Rule(QString("ship/%1").arg(i), QString::number(i * 4)); // every other row empty
        m.Pub[i * 2].Mnemonic = awkward[i];
        m.Pub[i * 2].Template = awkward[(i + 3) % awkward.size()];
        m.Pub[i * 2].Time = awkward[(i + 5) % awkward.size()];
    }
    MQTT_Topic_Table m_back;
    ASSERT_TRUE(Table_From_Csv(p.st, Table_Csv(m), false, m_back).ok);
    EXPECT_EQ(p.saved(m_back), p.saved(m));
    EXPECT_EQ(Table_Csv(m_back), Table_Csv(m));

    NMEA_Listener_Table t;
    for (int i = 0; i < awkward.size(); ++i) {
        t.row(i + 1) = Listener_Row("GGA", Lat_Minutes, QString::number(i * 4));
        t.row(i + 1).Enable = i % 2;
        t.row(i + 1).Swap16 = i % 3 == 0;
        t.row(i + 1).Mnemonic = awkward[i];
        t.row(i + 1).Index = awkward[(i + 1) % awkward.size()];
    }
    t.row(4) = NMEA_Listener_Row{}; // an empty row between used ones
    NMEA_Listener_Table t_back;
    ASSERT_TRUE(Table_From_Csv(p.st, Table_Csv(t), false, t_back).ok);
    EXPECT_EQ(p.saved(t_back), p.saved(t));
}

TEST(TableCsvImport, HeaderDecidesTheSeparatorAndTheColumns)
{
    CsvFolder p;
    // Semicolons, a mark, names in another order and case, LF and CR LF mixed, a quoted
    // line break, blank lines, and lines of empty values after the last row.
    const QByteArray csv = "\xEF\xBB\xBF"
                           "\n MNEMONIC ;position;sentence;DataField;swapall\r\n"
                           "\"first\nsecond\";0;GGA;Latitude, Minutes [floating point];Y\n"
                           "\r\n"
                           ";;;;\r\n"
                           "x;4;GGA;Latitude, Minutes [floating point];\r\n"
                           ";;;;\r\n;;;;\r\n";
    NMEA_Listener_Table t;
    const FileResult r = Table_From_Csv(p.st, csv, false, t);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    // Missing columns take an empty cell's value: Enable set, no post operation.
    NMEA_Listener_Row first = Listener_Row("GGA", Lat_Minutes, "0");
    first.Serial_Channel = "RS232";
    first.PortOperation = "";
    first.SwapAll = true;
    first.Mnemonic = "first\nsecond";
    EXPECT_EQ(t.row(1), first);
    EXPECT_TRUE(t.row(2).Is_Empty());
    EXPECT_EQ(t.row(3).Mnemonic, "x");
    EXPECT_EQ(t.row(3).Position, "4");
    EXPECT_FALSE(t.row(3).SwapAll);
    EXPECT_TRUE(t.row(4).Is_Empty());
    EXPECT_TRUE(t.row(4).Mnemonic.isEmpty());
}

TEST(TableCsvImport, ReplacesOrAppendsAfterTheLastRowASaveWrites)
{
    CsvFolder p;
    const QByteArray lat = QByteArray("\"") + Lat_Minutes + "\"";
    NMEA_Listener_Table t;
    t.row(1) = Listener_Row("GGA", Lat_Minutes, "0");
    t.row(3) = Listener_Row("GGA", Lat_Minutes, "4");
    t.row(4).Mnemonic = "no sentence: not saved, so overwritten";

    ASSERT_TRUE(Save_NMEA_Access(p.st, p.listener_file(), t).ok);
    const FileResult replaced =
        p.import(Csv_Table::Listener, "Sentence,DataField,PortOperation,Position\nGGA," + lat + ",None,8\n");
    ASSERT_TRUE(replaced.ok) << replaced.message.toStdString();
    NMEA_Listener_Table one;
    one.row(1) = Listener_Row("GGA", Lat_Minutes, "8");
    EXPECT_EQ(p.read(NMEA_Access_File_Name), p.saved(one));

    ASSERT_TRUE(Save_NMEA_Access(p.st, p.listener_file(), t).ok);
    const FileResult appended = p.import(Csv_Table::Listener,
                                         "Position,Sentence,DataField,PortOperation\n12,GGA," + lat
                                             + ",None\n16,GGA," + lat + ",None\n",
                                         true);
    ASSERT_TRUE(appended.ok) << appended.message.toStdString();
    NMEA_Listener_Table longer = t;
    longer.row(4) = Listener_Row("GGA", Lat_Minutes, "12");
    longer.row(5) = Listener_Row("GGA", Lat_Minutes, "16");
    EXPECT_EQ(p.read(NMEA_Access_File_Name), p.saved(longer));

    // Publish: after the last rule; the empty row before it stays out of the file as ever.
    MQTT_Topic_Table m;
    m.Pub[0] = Rule("a");
    m.Pub[2] = Rule("c");
    ASSERT_TRUE(Table_From_Csv(p.st, "Topic,QoS\r\nd,2\r\n", true, m).ok);
    EXPECT_EQ(m.Pub[2].Topic, "c");
    EXPECT_EQ(m.Pub[3].Topic, "d");
    EXPECT_EQ(m.Pub[3].QoS, "2");
    EXPECT_EQ(m.Pub[3].DataType, "");
}

TEST(TableCsvImport, RefusesABadFileAndWritesNothing)
{
    CsvFolder p;
    MQTT_Topic_Table m;
    m.Pub[0] = Rule("kept");
    ASSERT_TRUE(Save_MQTT_Topic(p.st, p.publish_file(), m).ok);
    NMEA_Listener_Table full;
    for (int r = 1; r <= NMEA_Listener_Rows; ++r)
        full.row(r) = Listener_Row("GGA", Lat_Minutes, QString::number(r));
    ASSERT_TRUE(Save_NMEA_Access(p.st, p.listener_file(), full).ok);

    QByteArray rules = "Topic\n";
    for (int r = 1; r <= MQTT_Table_Rows + 1; ++r)
        rules += "t" + QByteArray::number(r) + "\n";
    const QString check = p.st.Get_Lang_Text(Txt::Csv_Check_Failed)
                              .arg(p.st.Get_Lang_Text(Txt::MQTT_Error_Row) + "2"
                                   + p.st.Get_Lang_Text(Txt::MQTT_Pub_Data_Type));
    const struct {
        const char* what;
        Csv_Table table;
        QByteArray csv;
        bool append;
        QString message;
    } cases[] = {
        {"unknown column", Csv_Table::Publish, "Topic,Colour\nx,red\n", false,
         p.not_imported("Line 1: \"Colour\" is not a column of this table; its columns are Topic, Retained, QoS, "
                        "DataType, Dimension, Position, IPAddress, InputTemplate, Template, OnChange, OnTimer, "
                        "Time, Mnemonic")},
        {"column twice", Csv_Table::Publish, "Topic,QoS,topic\n", false,
         p.not_imported("Line 1: the column Topic is named twice")},
        {"more fields", Csv_Table::Publish, "Topic,QoS\r\na,1\r\nb,1,2\r\n", false,
         p.not_imported("Line 3: the line has 3 fields where the header line names 2 columns. Check the "
                        "separator: the header line uses \",\", and every line has to use the same")},
        {"fewer fields", Csv_Table::Publish, "Topic;QoS\na,1\n", false,
         p.not_imported("Line 2: the line has 1 fields where the header line names 2 columns. Check the "
                        "separator: the header line uses \";\", and every line has to use the same")},
        {"unclosed quote", Csv_Table::Publish, "Topic,Template,QoS\na,\"{\n\"\"v\"\":1}\n", false,
         p.not_imported("Line 2, column Template: a quoted value has no closing quote")},
        {"quote inside a value, after a value on two lines", Csv_Table::Publish,
         "Topic,Template,QoS\r\na,\"x\r\ny\",1\r\nb,x\"y,1\r\n", false,
         p.not_imported("Line 4, column Template: a quote is out of place: only a whole value can stand in "
                        "quotes, and a quote inside a quoted value is written twice")},
        {"text after a closing quote", Csv_Table::Publish, "Topic,QoS\n\"a\"b,1\n", false,
         p.not_imported("Line 2, column Topic: a quote is out of place: only a whole value can stand in "
                        "quotes, and a quote inside a quoted value is written twice")},
        {"more rows than the table", Csv_Table::Publish, rules, false,
         p.not_imported("Line 1026: the table holds 1024 rows, and this line would be row 1025")},
        {"appended past the end", Csv_Table::Listener, "Sentence\nGGA\n", true,
         p.not_imported("Line 2: the table holds 100 rows, and this line would be row 101")},
        {"a sentence the list does not offer", Csv_Table::Listener, "Sentence,Enable\nGGA,Y\ngga,Y\n", false,
         p.not_imported("Line 3, column Sentence: \"gga\" is not a value this column offers")},
        {"a check mark neither Y nor N", Csv_Table::Listener, "Sentence,Enable\nGGA,yes\n", false,
         p.not_imported("Line 2, column Enable: \"yes\" is not a value this column offers")},
        {"no header", Csv_Table::Listener, "\xEF\xBB\xBF\r\n", false,
         p.not_imported("Line 1: the file is empty: its first line has to name the columns")},
        {"rows the data check refuses", Csv_Table::Publish,
         "Topic,QoS,DataType,Dimension,Position\na,1,Int,2,0\nb,1,,2,0\n", false, check},
    };
    p.write("in.csv", "");
    const QStringList files = QDir(p.folder()).entryList(QDir::Files);
    const QByteArray listener_before = p.read(NMEA_Access_File_Name);
    const QByteArray publish_before = p.read(MQTT_Topic_File_Name);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const FileResult r = p.import(c.table, c.csv, c.append);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(p.read(NMEA_Access_File_Name), listener_before);
        EXPECT_EQ(p.read(MQTT_Topic_File_Name), publish_before);
        EXPECT_EQ(QDir(p.folder()).entryList(QDir::Files), files);
    }
    // In memory, the table stays as it was.
    MQTT_Topic_Table same = m;
    EXPECT_FALSE(Table_From_Csv(p.st, "Topic,QoS\na,1\nb\n", false, same).ok);
    EXPECT_EQ(same.Pub, m.Pub);
}

