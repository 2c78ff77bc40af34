#include "session/AppState.h"
#include "compiler/MqttBank.h"
#include "lang/Texts.h"
#include "project/DataArea.h"
#include "project/mqtt/MqttTopics.h"

#include "TestSupport.h"

#include <QDir>
#include <QStringDecoder>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace swr {
// Readable rows in test failures.
template <class Row>
void Print_Row(const Row& row, const auto& columns, std::ostream* os)
{
    for (const auto& c : columns)
        *os << c.name << "=\"" << (row.*c.field).toStdString() << "\" ";
}
inline void PrintTo(const MQTT_Publish_Row& r, std::ostream* os) { Print_Row(r, Publish_Columns, os); }
inline void PrintTo(const MQTT_Subscribe_Row& r, std::ostream* os) { Print_Row(r, Subscribe_Columns, os); }
} // namespace swr

using namespace swr;
using swr::test::ProgramFolder;

namespace {

constexpr const char* File = "MQTT_Set_Topic.xml";

struct TopicFolder : ProgramFolder {
    TopicFolder() { start(); }
    QString file() const { return QDir::toNativeSeparators(path(File)); }
    FileResult load(MQTT_Topic_Table& m) const { return Load_MQTT_Topic(st, file(), m); }
    FileResult load(const QByteArray& bytes, MQTT_Topic_Table& m) const
    {
        write(File, bytes);
        return load(m);
    }
    QString text(int index, const QStringList& args = {}) const
    {
        QString t = st.Get_Lang_Text(index);
        for (const QString& a : args)
            t = t.arg(a);
        return t;
    }
};

// A publish row that passes the check.
MQTT_Publish_Row Good_Row(const QString& topic = "plant/speed")
{
    return {topic, "N", "1", "Float", "4", "0", "", "", "$VALUE$", "Y", "N", "", "Speed"};
}

QByteArray Topic_File(const QByteArray& pub, const QByteArray& sub = {})
{
    return "<MQTT_Set_Topic><MQTT_Publish>" + pub + "</MQTT_Publish><MQTT_Subscribe>" + sub
           + "</MQTT_Subscribe></MQTT_Set_Topic>";
}

const QByteArray Full_Attributes =
    "Topic=\"t\" Retained=\"Y\" QoS=\"0\" DataType=\"Int\" Dimension=\"2\" Position=\"10\" "
    "IPAddress=\"\" InputTemplate=\"\" Template=\"$VALUE$\" OnChange=\"Y\" OnTimer=\"N\" "
    "Time=\"\" Mnemonic=\"m\"";

} // namespace

TEST(MQTTTopicFile, MissingFileGivesEmptyTablesAndDefaultLayout)
{
    TopicFolder p;
    MQTT_Topic_Table m;
    m.Pub[0] = Good_Row();
    const FileResult r = p.load(m);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.notices.isEmpty());
    ASSERT_EQ(m.Pub.size(), MQTT_Table_Rows);
    ASSERT_EQ(m.Sub.size(), MQTT_Table_Rows);
    EXPECT_EQ(m.Pub[0], MQTT_Publish_Row{});
    EXPECT_EQ(m.Byte_IN, 2000);
    EXPECT_EQ(m.Byte_OUT, 2000);
    EXPECT_EQ(Controllo_dati(p.st, m), "");

    ASSERT_TRUE(Save_MQTT_Topic(p.st, p.file(), m).ok);
    EXPECT_EQ(p.read(File), "<?xml version=\"1.0\"?>\n"
                            "<MQTT_Set_Topic>\n"
                            "\t<MQTT_Publish />\n"
                            "\t<MQTT_Subscribe />\n"
                            "</MQTT_Set_Topic>\n"
                            "<!--SW_VERSION = 1.002-->\n");
}

TEST(MQTTTopicFile, SavesThirteenAttributesInOrderForEveryRowWithATopic)
{
    TopicFolder p;
    MQTT_Topic_Table m;
    m.Pub[0] = Good_Row("a");
    m.Pub[2] = {"b", "Y", "", "String", "16", "4", "ip", "in", "", "N", "Y", "250", ""};
    m.Pub[3].Topic = " \t\r\n";
    m.Pub[3].Mnemonic = "a row without a topic is no rule";
    m.Pub[MQTT_Table_Rows - 1] = Good_Row("last");
    m.Sub[0].Topic = "subscribe rows are never saved";
    ASSERT_TRUE(Save_MQTT_Topic(p.st, p.file(), m).ok);
    EXPECT_EQ(p.read(File),
              "<?xml version=\"1.0\"?>\n"
              "<MQTT_Set_Topic>\n"
              "\t<MQTT_Publish>\n"
              "\t\t<row Topic=\"a\" Retained=\"N\" QoS=\"1\" DataType=\"Float\" Dimension=\"4\" "
              "Position=\"0\" IPAddress=\"\" InputTemplate=\"\" Template=\"$VALUE$\" "
              "OnChange=\"Y\" OnTimer=\"N\" Time=\"\" Mnemonic=\"Speed\" />\n"
              "\t\t<row Topic=\"b\" Retained=\"Y\" QoS=\"\" DataType=\"String\" Dimension=\"16\" "
              "Position=\"4\" IPAddress=\"ip\" InputTemplate=\"in\" Template=\"\" "
              "OnChange=\"N\" OnTimer=\"Y\" Time=\"250\" Mnemonic=\"\" />\n"
              "\t\t<row Topic=\"last\" Retained=\"N\" QoS=\"1\" DataType=\"Float\" Dimension=\"4\" "
              "Position=\"0\" IPAddress=\"\" InputTemplate=\"\" Template=\"$VALUE$\" "
              "OnChange=\"Y\" OnTimer=\"N\" Time=\"\" Mnemonic=\"Speed\" />\n"
              "\t</MQTT_Publish>\n"
              "\t<MQTT_Subscribe />\n"
              "</MQTT_Set_Topic>\n"
              "<!--SW_VERSION = 1.002-->\n");

    // Reloaded, the rules close up in table order.
    MQTT_Topic_Table back;
    ASSERT_TRUE(p.load(back).ok);
    EXPECT_EQ(back.Pub[1].Topic, "b");
    EXPECT_EQ(back.Pub[2].Topic, "last");
    EXPECT_EQ(Publish_Rule_Count(back), 3);

    for (MQTT_Publish_Row& row : m.Pub)
        row.Topic = " ";
    ASSERT_TRUE(Save_MQTT_Topic(p.st, p.file(), m).ok);
    EXPECT_TRUE(p.read(File).contains("<MQTT_Publish />"));
}

TEST(MQTTTopicFile, RowWithoutARequiredAttributeFailsTheLoad)
{
    TopicFolder p;
    const QByteArray good = "<row " + Full_Attributes + "/>";
    for (const char* attribute : {"Topic", "Retained", "QoS", "Mnemonic"}) {
        QByteArray bad = good;
        bad.replace(QByteArray(" ") + attribute + "=", " X" + QByteArray(attribute) + "=");
        MQTT_Topic_Table m;
        const FileResult r = p.load(Topic_File(good + bad + good), m);
        EXPECT_FALSE(r.ok) << attribute;
        EXPECT_EQ(r.message, p.text(Txt::MQTT_Attribute_Missing,
                                    {p.file(), "2", "MQTT_Publish", attribute}));
        EXPECT_EQ(m.Pub[0].Topic, "t") << "rows read before the fault stay";
        EXPECT_EQ(m.Pub[1], MQTT_Publish_Row{});
    }

    MQTT_Topic_Table m;
    const FileResult r = p.load(Topic_File(good, "<row Topic=\"s\" Retained=\"N\" QoS=\"0\"/>"), m);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, p.text(Txt::MQTT_Attribute_Missing,
                                {p.file(), "1", "MQTT_Subscribe", "Mnemonic"}));
}

TEST(MQTTTopicFile, ReadingRules)
{
    TopicFolder p;
    // Another root name, rows of any name, comments and blanks between rows, optional
    // attributes missing or empty, an indented empty subscribe section.
    MQTT_Topic_Table m;
    FileResult r = p.load("<Other>\n  <MQTT_Publish>\n    <!-- a note -->\n"
                          "    <row Topic=\"a\" Retained=\"\" QoS=\"\" Mnemonic=\"\"/>\n"
                          "    <item Topic=\"b\" Retained=\"Y\" QoS=\"2\" Mnemonic=\"m\" "
                          "OnChange=\"\" Template=\"\"/>\n"
                          "  </MQTT_Publish>\n  <MQTT_Subscribe>\n  </MQTT_Subscribe>\n</Other>",
                          m);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    MQTT_Publish_Row a{"a", "", "", "", "", "", "", "", "", "N", "N", "", ""};
    MQTT_Publish_Row b{"b", "Y", "2", "", "", "", "", "", "", "", "N", "", "m"};
    EXPECT_EQ(m.Pub[0], a);
    EXPECT_EQ(m.Pub[1], b);
    EXPECT_EQ(m.Pub[2], MQTT_Publish_Row{});
    EXPECT_EQ(m.Sub[0], MQTT_Subscribe_Row{});

    r = p.load(Topic_File("", "<row Topic=\"s\" Retained=\"N\" QoS=\"0\" Mnemonic=\"x\" "
                              "Port=\"502\" EthType=\"TCP\"/>"),
               m);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(m.Sub[0], (MQTT_Subscribe_Row{"s", "N", "0", "", "", "", "", "502", "TCP", "", "", "x"}));

    // Structural faults, each with its message.
    struct Case {
        QByteArray file;
        QString message;
    } cases[] = {
        {"<!-- first -->" + Topic_File(""), p.text(Txt::MQTT_Root_Not_Element, {p.file()})},
        {"<MQTT_Set_Topic><MQTT_Subscribe/></MQTT_Set_Topic>",
         p.text(Txt::MQTT_Element_Missing, {p.file(), "MQTT_Publish"})},
        {"<MQTT_Set_Topic><MQTT_Publish><row " + Full_Attributes + "/></MQTT_Publish></MQTT_Set_Topic>",
         p.text(Txt::MQTT_Element_Missing, {p.file(), "MQTT_Subscribe"})},
    };
    for (const Case& c : cases) {
        r = p.load(c.file, m);
        EXPECT_FALSE(r.ok) << c.file.toStdString();
        EXPECT_EQ(r.message, c.message);
    }
    EXPECT_EQ(m.Pub[0].Topic, "t") << "publish rows read before the missing section stay";
}

TEST(MQTTTopicFile, AwkwardValuesRoundTripExactly)
{
    TopicFolder p;
    MQTT_Topic_Table m;
    m.Pub[0] = {"  lead and trail  ", "   ", "\t", "Int ", " 4", "0 ", "a\"b'c", "<&>",
                "{\r\n  \"v\": $VALUE$\r\n}", "\n", "\r", "x\ty", "Geschwindigkeit \u00fc \u65e5\u672c \U0001F6A2"};
    m.Pub[1] = Good_Row("line\r\nbreak\nand\rmore");
    m.Pub[2] = Good_Row(QStringView(u"\ufeff\ufeffbegins with byte-order marks").toString());
    ASSERT_TRUE(Save_MQTT_Topic(p.st, p.file(), m).ok);
    EXPECT_TRUE(p.read(File).contains("&#13;&#10;"));
    MQTT_Topic_Table back;
    ASSERT_TRUE(p.load(back).ok);
    EXPECT_EQ(back.Pub[0], m.Pub[0]);
    EXPECT_EQ(back.Pub[1], m.Pub[1]);
    EXPECT_EQ(back.Pub[2], m.Pub[2]);
}

TEST(MQTTTopicFile, LiteralLineBreaksInAttributesAreKept)
{
    // Written by another tool, unescaped, with CR LF lines throughout.
    TopicFolder p;
    MQTT_Topic_Table m;
    const FileResult r = p.load("<MQTT_Set_Topic>\r\n<MQTT_Publish>\r\n"
                                "<row Topic=\"a\r\nb\" Retained=\"N\" QoS=\"0\" Mnemonic=\"\tm\" "
                                "Template=\"{\r\n$VALUE$\n}\"/>\r\n"
                                "</MQTT_Publish>\r\n<MQTT_Subscribe/>\r\n</MQTT_Set_Topic>\r\n",
                                m);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(m.Pub[0].Topic, "a\r\nb");
    EXPECT_EQ(m.Pub[0].Template, "{\r\n$VALUE$\n}");
    EXPECT_EQ(m.Pub[0].Mnemonic, "\tm");
}

TEST(MQTTTopicFile, EncodingsAndDeclaration)
{
    TopicFolder p;
    const QString topic = QString::fromUtf8("B\u00fchne/\u65e5\u672c");
    const QString body = "<MQTT_Set_Topic>\n    <MQTT_Publish>\n        <row Topic=\"" + topic
                         + "\" Retained=\"N\" QoS=\"0\" Mnemonic=\"m\"/>\n    </MQTT_Publish>\n"
                           "    <MQTT_Subscribe/>\n</MQTT_Set_Topic>\n";
    struct Case {
        QStringConverter::Encoding encoding;
        QString declaration;
    } cases[] = {
        {QStringConverter::Utf8, ""},
        {QStringConverter::Utf8, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"},
        {QStringConverter::Utf16LE, ""},
        {QStringConverter::Utf16LE, "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"},
        {QStringConverter::Utf16BE, "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"},
    };
    for (const Case& c : cases) {
        for (const bool bom : {false, true}) {
            if (!bom && c.encoding != QStringConverter::Utf8)
                continue; // UTF-16 is read with its byte-order mark
            QStringEncoder enc(c.encoding, bom ? QStringEncoder::Flag::WriteBom
                                               : QStringEncoder::Flag::Default);
            const QByteArray bytes = enc(c.declaration + body);
            MQTT_Topic_Table m;
            const FileResult r = p.load(bytes, m);
            ASSERT_TRUE(r.ok) << r.message.toStdString();
            EXPECT_EQ(m.Pub[0].Topic, topic) << int(c.encoding) << bom;
            EXPECT_EQ(m.Pub[0].Mnemonic, "m");
            EXPECT_EQ(m.Pub[1].Topic, "");
        }
    }
}

TEST(MQTTTopicFile, MalformedFileGivesTheParserMessage)
{
    TopicFolder p;
    p.write(File, "<MQTT_Set_Topic><MQTT_Publish><row Topic=\"a\"></MQTT_Set_Topic>");
    MQTT_Topic_Table m;
    m.Pub[0] = Good_Row();
    const FileResult r = p.load(m);
    EXPECT_FALSE(r.ok);
    pugi::xml_document doc;
    EXPECT_EQ(r.message, Load_Project_Xml(p.st, p.file(), doc).message);
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_EQ(m.Pub[0], MQTT_Publish_Row{});
}

TEST(MQTTTopicFile, RowsBeyondTheTableAreNotLoadedAndTheUserIsTold)
{
    TopicFolder p;
    for (const int rows : {MQTT_Table_Rows, MQTT_Table_Rows + 6}) {
        QByteArray pub;
        for (int i = 1; i <= rows; ++i)
            pub += "<row Topic=\"T" + QByteArray::number(i)
                   + "\" Retained=\"N\" QoS=\"0\" Mnemonic=\"\"/>";
        MQTT_Topic_Table m;
        const FileResult r = p.load(Topic_File(pub), m);
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(m.Pub.size(), MQTT_Table_Rows);
        EXPECT_EQ(m.Pub.last().Topic, "T1024");
        if (rows == MQTT_Table_Rows) {
            EXPECT_TRUE(r.notices.isEmpty());
        } else {
            ASSERT_EQ(r.notices.size(), 1);
            EXPECT_EQ(r.notices[0], p.text(Txt::MQTT_Rows_Not_Loaded, {p.file(), "1030", "1024"}));
        }
    }
}

TEST(MQTTTopicCheck, MessagesAndOrderOfTheChecks)
{
    TopicFolder p;
    const auto pub = [&](int index, const char* tail = "") {
        return "Error row 1" + p.st.Get_Lang_Text(index) + tail;
    };
    struct Case {
        const char* what;
        MQTT_Publish_Row row;
        QString message;
    } cases[] = {
        {"passes", Good_Row(), ""},
        {"no type before a bad dimension", {"t", "", "", " ", "x", "-1", "", "", "$", "Y", "Y", "0", ""}, pub(1352)},
        {"Int 3", {"t", "", "", "Int", "3", "0", "", "", "", "", "", "", ""}, pub(1353)},
        {"Int 8", {"t", "", "", " int ", "8", "0", "", "", "", "", "", "", ""}, ""},
        {"Int not a number", {"t", "", "", "INT", "4x", "0", "", "", "", "", "", "", ""}, pub(1353)},
        {"Int with a blank", {"t", "", "", "Int", " 4", "0", "", "", "", "", "", "", ""}, pub(1353)},
        {"Float 2", {"t", "", "", "Float", "2", "0", "", "", "", "", "", "", ""}, pub(1354)},
        {"Float 8", {"t", "", "", "Float", "8", "1999", "", "", "", "", "", "", ""}, ""},
        {"String 0", {"t", "", "", "String", "0", "0", "", "", "", "", "", "", ""}, pub(1355)},
        {"Base64 empty", {"t", "", "", "Base64", "", "0", "", "", "", "", "", "", ""}, pub(1355)},
        {"other type 1", {"t", "", "", "Other", "1", "0", "", "", "", "", "", "", ""}, ""},
        {"dimension before position", {"t", "", "", "Float", "3", "2000", "", "", "", "", "", "", ""}, pub(1354)},
        {"position 2000", {"t", "", "", "Int", "1", "2000", "", "", "", "", "", "", ""}, pub(1356, "1999")},
        {"position -1", {"t", "", "", "Int", "1", "-1", "", "", "", "", "", "", ""}, pub(1356, "1999")},
        {"position empty", {"t", "", "", "Int", "1", "", "", "", "", "", "", "", ""}, pub(1356, "1999")},
        {"position before template", {"t", "", "", "Int", "1", "x", "", "", "$", "", "", "", ""}, pub(1356, "1999")},
        {"one $", {"t", "", "", "Int", "1", "0", "", "", "$VALUE", "", "", "", ""}, pub(1378)},
        {"template before time", {"t", "", "", "Int", "1", "0", "", "", "$$$", "", "Y", "", ""}, pub(1378)},
        {"timer, no time", {"t", "", "", "Int", "1", "0", "", "", "", "", " y ", "", ""}, pub(1389)},
        {"timer, time 0", {"t", "", "", "Int", "1", "0", "", "", "", "", "Y", "0", ""}, pub(1389)},
        {"timer, time 10^9", {"t", "", "", "Int", "1", "0", "", "", "", "", "Y", "1000000000", ""}, pub(1389)},
        {"timer, huge time", {"t", "", "", "Int", "1", "0", "", "", "", "", "Y", "99999999999999999999", ""}, pub(1389)},
        {"timer, time 999999999", {"t", "", "", "Int", "1", "0", "", "", "", "", "Y", "999999999", ""}, ""},
        {"no timer, no time", {"t", "", "", "Int", "1", "0", "", "", "", "", "N", "", ""}, ""},
        {"QoS, flags and mnemonic unchecked", {"t", "?", "", "Int", "1", "0", "", "", "", "?", "N", "", ""}, ""},
    };
    for (const Case& c : cases) {
        MQTT_Topic_Table m;
        m.Pub[0] = c.row;
        EXPECT_EQ(Controllo_dati(p.st, m), c.message) << c.what;
    }

    // The row number, the subscribe table after the publish one.
    MQTT_Topic_Table m;
    m.Pub[0] = m.Pub[1] = Good_Row();
    m.Pub[2] = Good_Row();
    m.Pub[2].DataType = "";
    EXPECT_EQ(Controllo_dati(p.st, m), "Error row 3" + p.st.Get_Lang_Text(1352));
    m.Pub[1] = MQTT_Publish_Row{};
    m.Pub[2] = MQTT_Publish_Row{};
    m.Sub[0] = {"s", "", "", "Int", "2", "1999", "", "", "", "", "$VALUE$", ""};
    m.Sub[1] = {"s", "", "", "Float", "4", "2000", "", "", "", "", "", ""};
    EXPECT_EQ(Controllo_dati(p.st, m), "Error row 2" + p.st.Get_Lang_Text(1361) + "1999");
    const struct {
        MQTT_Subscribe_Row row;
        int text;
    } sub[] = {
        {{"s", "", "", "", "", "", "", "", "", "", "", ""}, 1357},
        {{"s", "", "", "Int", "3", "0", "", "", "", "", "", ""}, 1358},
        {{"s", "", "", "Float", "1", "0", "", "", "", "", "", ""}, 1359},
        {{"s", "", "", "String", "0", "0", "", "", "", "", "", ""}, 1360},
        {{"s", "", "", "String", "1", "0", "", "", "", "", "$", ""}, 1380},
    };
    for (const auto& c : sub) {
        m.Sub[1] = c.row;
        EXPECT_EQ(Controllo_dati(p.st, m), "Error row 2" + p.st.Get_Lang_Text(c.text)) << c.text;
    }
    m.Pub[0].Dimension = "3";
    EXPECT_EQ(Controllo_dati(p.st, m), "Error row 1" + p.st.Get_Lang_Text(1354));

    // Texts are taken from the table when the check runs.
    p.st.Lang_Table[Txt::MQTT_Error_Row] = "Fehler Zeile ";
    EXPECT_TRUE(Controllo_dati(p.st, m).startsWith("Fehler Zeile 1"));
}

TEST(MQTTTopicCheck, NoRuleIsLostBehindAnEmptyRow)
{
    TopicFolder p;
    const QString no_topic = "Error row 2" + p.st.Get_Lang_Text(Txt::MQTT_Pub_Topic_Missing);
    EXPECT_EQ(no_topic, "Error row 2!! [MQTT Publish] Topic must be inserted");
    // Row 2 has no Topic; what else it holds decides whether it is empty.
    const struct {
        const char* what;
        MQTT_Publish_Row row;
        QString message;
    } cases[] = {
        {"never touched", {}, ""},
        {"blanks and unchecked boxes", {" \t", "N", "", " ", "", "", "", "", "", "n", " N ", "", "\r\n"}, ""},
        {"only hidden cells filled", {"", "", "", "", "", "", "10.0.0.1", "in", "", "", "", "", ""}, ""},
        {"retained checked", {"", "Y", "", "", "", "", "", "", "", "", "", "", ""}, no_topic},
        {"a QoS", {"", "", "0", "", "", "", "", "", "", "", "", "", ""}, no_topic},
        {"a data type", {"", "", "", "Int", "", "", "", "", "", "", "", "", ""}, no_topic},
        {"a template", {"", "", "", "", "", "", "", "", "$VALUE$", "", "", "", ""}, no_topic},
        {"on timer", {"", "", "", "", "", "", "", "", "", "", "Y", "", ""}, no_topic},
        {"a time", {"", "", "", "", "", "", "", "", "", "", "", "100", ""}, no_topic},
        {"a mnemonic", {" ", "", "", "", "", "", "", "", "", "", "", "", "speed"}, no_topic},
    };
    for (const auto& c : cases) {
        MQTT_Topic_Table m;
        m.Pub[0] = m.Pub[2] = Good_Row();
        m.Pub[1] = c.row;
        EXPECT_EQ(Controllo_dati(p.st, m), c.message) << c.what;
        EXPECT_EQ(Is_Empty_Row(c.row), c.message.isEmpty()) << c.what;
        EXPECT_EQ(Publish_Row_Fault(p.st, m, 2), c.message) << c.what;
        EXPECT_EQ(Publish_Rule_Count(m), 2) << c.what;
    }

    // Rows after an empty row are still checked, down to the last row of the table.
    MQTT_Topic_Table m;
    m.Pub[0] = Good_Row();
    m.Pub[MQTT_Table_Rows - 1] = Good_Row();
    m.Pub[MQTT_Table_Rows - 1].Position = "2000";
    EXPECT_EQ(Controllo_dati(p.st, m), "Error row 1024" + p.st.Get_Lang_Text(1356) + "1999");
    EXPECT_EQ(Publish_Row_Fault(p.st, m, 1024), Controllo_dati(p.st, m));
    EXPECT_EQ(Publish_Row_Fault(p.st, m, 1), "");

    // The subscribe table still ends at its first blank Topic.
    m.Pub[MQTT_Table_Rows - 1] = Good_Row();
    m.Sub[1] = {"s", "", "", "", "", "", "", "", "", "", "", ""};
    EXPECT_EQ(Controllo_dati(p.st, m), "");
    m.Sub[0] = {"s", "", "", "Int", "2", "0", "", "", "", "", "", ""};
    EXPECT_EQ(Controllo_dati(p.st, m), "Error row 2" + p.st.Get_Lang_Text(1357));
}

// Each finding names its table, row and column, its text and the finished message, and
// only errors refuse OK: the first error is what Controllo_dati gives.
TEST(MQTTTopicCheck, FindingsSayWhereWhatAndHowBad)
{
    TopicFolder p;
    MQTT_Topic_Table m;
    m.Pub[0] = Good_Row();
    m.Pub[1] = Good_Row();
    m.Pub[1].QoS = "";
    m.Pub[2] = Good_Row();
    m.Pub[2].Position = "2000";
    m.Pub[2].QoS = "x";
    m.Pub[3].Mnemonic = "no topic, no QoS"; // not a rule: no QoS warning
    m.Pub[4] = Good_Row();
    m.Pub[4].OnTimer = "Y";
    m.Sub[0] = {"s", "", "", "", "", "", "", "", "", "", "", ""};
    const QString pub_error = p.st.Get_Lang_Text(Txt::MQTT_Error_Row);
    const struct {
        int table, row, column, text;
        Check_Finding::Severity severity;
        QString message;
    } expected[] = {
        {Publish_Table, 2, 3, Txt::MQTT_Pub_QoS_Not_Chosen, Check_Finding::Warning,
         p.text(Txt::MQTT_Pub_QoS_Not_Chosen, {"2"})},
        {Publish_Table, 3, 6, 1356, Check_Finding::Error, pub_error + "3" + p.text(1356) + "1999"},
        {Publish_Table, 3, 3, Txt::MQTT_Pub_QoS_Not_Chosen, Check_Finding::Warning,
         p.text(Txt::MQTT_Pub_QoS_Not_Chosen, {"3"})},
        {Publish_Table, 4, 1, Txt::MQTT_Pub_Topic_Missing, Check_Finding::Error,
         pub_error + "4" + p.text(Txt::MQTT_Pub_Topic_Missing)},
        {Publish_Table, 5, 12, Txt::MQTT_Pub_Time, Check_Finding::Error, pub_error + "5" + p.text(Txt::MQTT_Pub_Time)},
        {Subscribe_Table, 1, 4, 1357, Check_Finding::Error, pub_error + "1" + p.text(1357)},
    };
    const Check_Findings found = Data_Check(p.st, m);
    ASSERT_EQ(found.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const Check_Finding& f = found[qsizetype(i)];
        const auto& e = expected[i];
        EXPECT_EQ(f.table, e.table) << i;
        EXPECT_EQ(f.row, e.row) << i;
        EXPECT_EQ(f.column, e.column) << i;
        EXPECT_EQ(f.text, e.text) << i;
        EXPECT_EQ(f.severity, e.severity) << i;
        EXPECT_EQ(f.message, e.message) << i;
        EXPECT_EQ(f.key, -1) << i;
    }
    EXPECT_EQ(p.text(Txt::MQTT_Pub_QoS_Not_Chosen, {"2"}).left(14), "Warning row 2:");
    EXPECT_EQ(Controllo_dati(p.st, m), expected[1].message) << "a warning never refuses OK";
    EXPECT_EQ(Publish_Row_Findings(p.st, m, 3), found.mid(1, 2));

    // Warnings alone: OK passes.
    m.Pub[2] = m.Pub[4] = Good_Row();
    m.Pub[3] = {};
    m.Sub[0] = {};
    EXPECT_EQ(Data_Check(p.st, m).size(), 1);
    EXPECT_EQ(Controllo_dati(p.st, m), "");
}

// The QoS warning stands exactly for the rules Update Device refuses to compile.
TEST(MQTTTopicCheck, QoSWarningMatchesWhatTheCompilerRefuses)
{
    TopicFolder p;
    p.st.File_MQTT_Topic = p.path(File);
    for (const char* qos : {"", " ", "x", "1.5", "0", "2", " 1 ", "7"}) {
        MQTT_Topic_Table m;
        m.Pub[0] = Good_Row();
        m.Pub[0].QoS = QString::fromLatin1(qos);
        ASSERT_TRUE(Save_MQTT_Topic(p.st, p.st.File_MQTT_Topic, m).ok);
        const bool warned = !Data_Check(p.st, m).isEmpty();
        TMQTT compiled;
        EXPECT_EQ(warned, !Read_MQTT_Topics(p.st, p.st.File_MQTT_Topic, compiled).ok) << "QoS \"" << qos << "\"";
    }
}

TEST(MQTTTopicCheck, WarningsAgainstTheListenerUses)
{
    TopicFolder p;
    const auto L = Data_Area_User::Listener;
    const QList<Data_Area_Use> uses = {{L, 1, 0, 4}, {L, 3, 4, 8}};
    MQTT_Topic_Table m;
    const auto warning = [&](const char* position, const char* dimension, const char* topic = "t") {
        m.Pub[1] = Good_Row(topic);
        m.Pub[1].Position = position;
        m.Pub[1].Dimension = dimension;
        return Publish_Row_Warning(p.st, m, 2, uses);
    };
    const auto text = [&](int i, std::initializer_list<int> args) {
        QString t = p.st.Get_Lang_Text(i);
        for (int a : args)
            t = t.arg(a);
        return t;
    };
    // The rule's findings in the data-area map, one a line.
    EXPECT_EQ(warning("0", "4"), "");
    EXPECT_EQ(warning("20", "4"), text(Txt::Map_Unfilled, {2, 20, 23, 4}));
    EXPECT_EQ(warning("0", "12"), text(Txt::Map_Across, {2, 0, 11, 1, 0, 3}) + "\n"
                                      + text(Txt::Map_Dimension, {2, 12, 0, 1, 4}));
    EXPECT_EQ(warning("2", "2"), text(Txt::Map_Part, {2, 2, 3, 1, 0, 3}));
    // Rows the check refuses, and rows that are no rule, carry no warning.
    EXPECT_EQ(warning("2000", "4"), "");
    EXPECT_EQ(warning("20", "0"), "");
    EXPECT_EQ(warning("20", "4", " "), "");

    EXPECT_EQ(Topic_Status_Text(p.st, 3, 241), "Rules in use: 3 of 1024    Bank 3: 241 of 131072 bytes");
    EXPECT_EQ(Topic_Status_Text(p.st, 1024, 131073),
              "Rules in use: 1024 of 1024    Bank 3: 131073 bytes, more than the 131072 bytes the "
              "device holds: Update Device will refuse it");
    EXPECT_TRUE(Topic_Status_Text(p.st, 0, 131072).endsWith("131072 of 131072 bytes"));
}
