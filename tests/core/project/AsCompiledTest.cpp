// The one reading of listener rows and publish rules, and the compiler, the data-area map
// and the live monitor agreeing on it.
#include "../compiler/CompilerFixture.h"

#include "broker/Monitor.h"
#include "project/DataAreaMap.h"
#include "project/mqtt/MqttTopics.h"
#include "project/mqtt/PublishReading.h"
#include "project/nmea/ListenerReading.h"

#include <optional>

using namespace swr;
using swr::test::Base3;
using swr::test::LE;
using swr::test::Ship;

namespace {

// The listener file with one row of these attributes.
QByteArray Listener_Row_Xml(const QByteArray& attributes)
{
    return test::Listener_Xml("<row " + attributes + R"( Serial_Channel="RS232" PortOperation="None" Mnemonic=""/>)");
}

// One publish rule; attributes given later replace the defaults before them.
QByteArray Rule_Xml(std::initializer_list<std::pair<QByteArray, std::optional<QByteArray>>> set)
{
    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> a = {
        {"Topic", "dev/a"}, {"Retained", "N"}, {"QoS", "1"}, {"DataType", "Int"}, {"Dimension", "2"},
        {"Position", "0"}, {"Template", "$VALUE$"}, {"OnChange", "N"}, {"OnTimer", "N"}, {"Time", "1000"},
        {"Mnemonic", "m"}};
    for (const auto& [name, value] : set)
        for (auto& [n, v] : a)
            if (n == name)
                v = value;
    QByteArray row = "<row";
    for (const auto& [n, v] : a)
        if (v)
            row += " " + n + "=\"" + *v + "\"";
    return test::Topic_Xml(row + "/>");
}

// A rule's record in bank 3.
struct Record {
    uint32_t Retained, Position, Length, Timer, Options;
};
Record Publish_Record(const QByteArray& bank)
{
    const int at = int(LE(bank, 117) - Base3);
    return {uint8_t(bank.at(at + 16)), LE(bank, at + 33), LE(bank, at + 37, 2), LE(bank, at + 41), LE(bank, at + 45)};
}

pugi::xml_node First_Row(pugi::xml_document& doc, const QByteArray& xml, const char* list)
{
    EXPECT_TRUE(doc.load_buffer(xml.constData(), size_t(xml.size())));
    return doc.first_child().child(list).first_child();
}

constexpr int Count_Offset = 0x6F8;

} // namespace

// Each spelling of a flag, and a missing flag, through the reader, the banks, the map and
// the monitor's rule list.
TEST(AsCompiled, FlagSpellingsAgree)
{
    const struct {
        const char* spelling; // nullptr: the attribute is missing
        bool enable;          // a listener row's Enable
        bool yes;             // a publish rule's Retained, OnChange, OnTimer
    } cases[] = {
        {"Y", true, true}, {"y", false, true}, {" Y", false, false}, {"Y ", false, false},
        {"N", false, false}, {"", false, false}, {nullptr, false, false},
    };
    Ship s;
    s.write("ParGen.xml", test::ParGen_Xml({}));
    for (const auto& c : cases) {
        const std::optional<QByteArray> spelling = c.spelling ? std::optional<QByteArray>(c.spelling) : std::nullopt;
        SCOPED_TRACE(c.spelling ? c.spelling : "missing");

        // Listener Enable.
        const QByteArray enable = spelling ? "Enable=\"" + *spelling + "\" " : QByteArray();
        const QByteArray listener =
            Listener_Row_Xml(enable + R"(Sentence="GGA" DataField="Latitude, Minutes [floating point]" Position="4")");
        pugi::xml_document doc;
        Listener_As_Compiled read;
        EXPECT_EQ(Read_Listener(Read_Listener_Values(First_Row(doc, listener, "NMEA_Listener")), &read), c.enable);
        s.write("NMEA_0183_Set_Access.xml", listener);
        s.build();
        EXPECT_EQ(LE(s.bank(1), Count_Offset), c.enable ? 1u : 0u);
        s.write("MQTT_Set_Topic.xml", test::Topic_Xml({}));
        Data_Area_Map map;
        ASSERT_TRUE(Load_Data_Area_Map(s.p.st, s.p.st.Active_Project_Dir, map).ok);
        EXPECT_EQ(map.listeners.size(), c.enable ? 1 : 0);

        // Publish flags; a rule without Retained is refused by the compiler and the loader alike.
        for (const char* flag : {"Retained", "OnChange", "OnTimer"}) {
            SCOPED_TRACE(flag);
            const QByteArray topics = Rule_Xml({{flag, spelling}});
            const Publish_As_Compiled rule = Read_Publish(Read_Publish_Values(First_Row(doc, topics, "MQTT_Publish")));
            const bool refused = !spelling && QByteArray(flag) == "Retained";
            EXPECT_EQ(rule.missing != nullptr, refused);
            s.write("MQTT_Set_Topic.xml", topics);
            MQTT_Topic_Table t;
            EXPECT_EQ(Load_MQTT_Topic(s.p.st, s.p.st.File_MQTT_Topic, t).ok, !refused);
            EXPECT_EQ(Load_Data_Area_Map(s.p.st, s.p.st.Active_Project_Dir, map).ok, !refused);
            if (refused) {
                EXPECT_FALSE(s.compile().ok);
                continue;
            }
            s.build();
            const Record r = Publish_Record(s.bank(3));
            const std::vector<MonitorRule> watched = Monitor_Rules(t);
            ASSERT_EQ(watched.size(), 1u);
            EXPECT_EQ(map.rules.size(), 1);
            const bool retained = QByteArray(flag) == "Retained" && c.yes;
            const bool on_change = QByteArray(flag) == "OnChange" && c.yes;
            const bool on_timer = QByteArray(flag) == "OnTimer" && c.yes;
            EXPECT_EQ(rule.Retained, retained);
            EXPECT_EQ(r.Retained, retained ? 1u : 0u);
            EXPECT_EQ(rule.OnChange, on_change);
            EXPECT_EQ(watched[0].on_change, on_change);
            EXPECT_EQ(rule.OnTimer, on_timer);
            EXPECT_EQ(watched[0].on_timer, on_timer);
            EXPECT_EQ(r.Options, (on_change ? 1u : 0u) | (on_timer ? 4u : 0u));
            EXPECT_EQ(r.Timer, on_timer ? 1000u : 0u);
            EXPECT_EQ(watched[0].time_ms, on_timer ? 1000 : 0);
        }
    }
}

// Texts the screens' checks would refuse land where the compiler puts them, and the map
// shows them there.
TEST(AsCompiled, PlacesAgreeWithTheBanks)
{
    Ship s;
    s.write("ParGen.xml", test::ParGen_Xml({}));
    s.write("MQTT_Set_Topic.xml", test::Topic_Xml({}));
    const struct {
        const char* what;
        QByteArray row;
        int position; // -1: not in the data area
    } listeners[] = {
        {"lower case and blanks", R"(Sentence=" gga " DataField=" latitude, minutes [floating point] " Position=" 8 ")", 8},
        {"no number", R"(Sentence="GGA" DataField="Latitude, Minutes [floating point]" Position="x")", 0},
        {"low 16 bits", R"(Sentence="GGA" DataField="Latitude, Minutes [floating point]" Position="65541")", 5},
        {"outside the area", R"(Sentence="GGA" DataField="Latitude, Minutes [floating point]" Position="2000")", -1},
    };
    for (const auto& c : listeners) {
        SCOPED_TRACE(c.what);
        s.write("NMEA_0183_Set_Access.xml", Listener_Row_Xml("Enable=\"Y\" " + c.row));
        s.build();
        const uint32_t compiled = LE(s.bank(2), 2, 2);
        Data_Area_Map map;
        ASSERT_TRUE(Load_Data_Area_Map(s.p.st, s.p.st.Active_Project_Dir, map).ok);
        if (c.position < 0) {
            EXPECT_EQ(compiled, 2000u);
            EXPECT_TRUE(map.listeners.isEmpty());
            continue;
        }
        EXPECT_EQ(compiled, uint32_t(c.position));
        ASSERT_EQ(map.listeners.size(), 1);
        EXPECT_EQ(map.listeners[0].use, (Data_Area_Use{Data_Area_User::Listener, 1, c.position, 4}));
    }

    const struct {
        const char *position, *dimension;
        int at, bytes; // bytes 0: not in the data area
    } rules[] = {
        {" 8", "", 8, 4}, {"x", " 2 ", 0, 2}, {"1999", "8", 1999, 8}, {"2000", "4", 2000, 0}, {"0", "0", 0, 0},
    };
    for (const auto& c : rules) {
        SCOPED_TRACE(std::string(c.position) + "/" + c.dimension);
        s.write("MQTT_Set_Topic.xml", Rule_Xml({{"Position", c.position}, {"Dimension", c.dimension}}));
        s.build();
        const Record r = Publish_Record(s.bank(3));
        EXPECT_EQ(r.Position, uint32_t(c.at));
        Data_Area_Map map;
        ASSERT_TRUE(Load_Data_Area_Map(s.p.st, s.p.st.Active_Project_Dir, map).ok);
        EXPECT_EQ(map.rules.size(), c.bytes ? 1 : 0);
        if (c.bytes) {
            EXPECT_EQ(r.Length, uint32_t(c.bytes));
            EXPECT_EQ(map.rules[0].use, (Data_Area_Use{Data_Area_User::Publish_Rule, 1, c.at, c.bytes}));
        }
    }
}

// Where the listener screen's Position proposal reads a row otherwise than the compiler.
TEST(AsCompiled, TheProposalsReadingBesideTheCompilers)
{
    const QString field = "Latitude, Minutes [floating point]";
    const struct {
        QString sentence, field;
        int compiled, proposal; // the field's Dimension, 0 for none
    } cases[] = {
        {"GGA", field, 4, 4},
        {"GGA", field.toLower(), 4, 4},
        {" gga ", " " + field + " ", 4, 0},
        {"GGA", field + " ", 4, 0},
        {"GGA", "Status [character]", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Compiled_Field(c.sentence, c.field).Dimension, c.compiled) << c.sentence.toStdString();
        EXPECT_EQ(Proposal_Field(c.sentence, c.field).Dimension, c.proposal) << c.sentence.toStdString();
    }
    EXPECT_EQ(Compiled_Position(u" 70000 "), 70000 & 0xFFFF);
    EXPECT_EQ(Proposal_Position(u" 70000 "), 70000);
    EXPECT_EQ(Compiled_Position(u"x"), 0);
    EXPECT_EQ(Proposal_Position(u"x"), 0);
}
