#include "project/DataAreaMap.h"

#include "TestSupport.h"

#include "lang/Texts.h"
#include "project/mqtt/MqttTopics.h"
#include "project/nmea/NmeaAccess.h"

#include <QFile>

#include <gtest/gtest.h>

#include <initializer_list>

using namespace swr;

namespace {

// GGA fields by their byte count.
const char* Field_Of(int dimension)
{
    switch (dimension) {
    case 1: return "UTC of position, Hours [decimal]";
    case 2: return "UTC of position, decimal-fraction of seconds [decimal]";
    default: return "Latitude, Minutes [floating point]"; // 4
    }
}

struct Place {
    int position, dimension;
};

NMEA_Listener_Row Listener(Place p)
{
    NMEA_Listener_Row r;
    r.Sentence = "GGA";
    r.DataField = Field_Of(p.dimension);
    r.PortOperation = "None";
    r.Position = QString::number(p.position);
    return r;
}

MQTT_Publish_Row Rule(Place p)
{
    return {"plant/value", "N", "1", "Int", QString::number(p.dimension), QString::number(p.position),
            "", "", "$VALUE$", "Y", "N", "", ""};
}

struct Tables {
    NMEA_Listener_Table listeners;
    MQTT_Topic_Table topics;
};

Tables Make(std::initializer_list<Place> listeners, std::initializer_list<Place> rules)
{
    Tables t;
    int row = 1;
    for (Place p : listeners)
        t.listeners.row(row++) = Listener(p);
    row = 0;
    for (Place p : rules)
        t.topics.Pub[row++] = Rule(p);
    return t;
}

struct Found {
    Finding_Kind kind;
    QList<int> listener_rows, rule_rows;
    bool operator==(const Found&) const = default;
};

QList<Found> Kinds(const Data_Area_Map& map)
{
    QList<Found> f;
    for (const Map_Finding& x : map.findings)
        f.append({x.kind, x.listener_rows, x.rule_rows});
    return f;
}

struct MapFolder : test::ProgramFolder {
    MapFolder() { start(); }
    Data_Area_Map map(const Tables& t) const { return Build_Data_Area_Map(st, t.listeners, t.topics); }
};

} // namespace

TEST(DataAreaMap, EachFindingFromTheSmallestConfiguration)
{
    MapFolder p;
    using K = Finding_Kind;
    struct Case {
        const char* name;
        Tables tables;
        QList<Found> expected;
    };
    const Case cases[] = {
        {"a field read whole", Make({{0, 4}}, {{0, 4}}), {}},
        {"overlap", Make({{0, 4}, {2, 4}}, {{0, 6}}), {{K::Overlap, {1, 2}, {}}, {K::Across, {1, 2}, {1}}, {K::Dimension_Differs, {1}, {1}}}},
        {"free bytes", Make({}, {{10, 4}}), {{K::Unfilled, {}, {1}}}},
        {"free bytes before a field", Make({{12, 4}}, {{10, 4}}), {{K::Unfilled, {1}, {1}}}},
        {"across into free bytes", Make({{0, 4}}, {{2, 4}}), {{K::Across, {1}, {1}}}},
        {"across into another field", Make({{0, 4}, {4, 4}}, {{2, 4}}), {{K::Across, {1, 2}, {1}}}},
        {"part of a field", Make({{0, 4}}, {{1, 2}}), {{K::Part_Of_Field, {1}, {1}}}},
        {"another Dimension", Make({{0, 4}}, {{0, 2}}), {{K::Dimension_Differs, {1}, {1}}}},
        {"never published", Make({{0, 4}, {4, 2}}, {{4, 2}}), {{K::Not_Published, {1}, {}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Data_Area_Map map = p.map(c.tables);
        EXPECT_EQ(Kinds(map), c.expected);
        for (const Map_Finding& f : map.findings)
            EXPECT_EQ(f.severity, f.kind <= K::Across ? Finding_Severity::Warning : Finding_Severity::Note);
    }
    // The texts name the rows and bytes.
    EXPECT_EQ(p.map(Make({{0, 4}, {2, 4}}, {})).findings[0].text,
              p.st.Get_Lang_Text(Txt::Map_Overlap).arg(1).arg(2).arg(2).arg(3));
    EXPECT_EQ(p.map(Make({}, {{10, 4}})).findings[0].text,
              p.st.Get_Lang_Text(Txt::Map_Unfilled).arg(1).arg(10).arg(13).arg(4));
}

TEST(DataAreaMap, BytesAtBothEndsOfTheArea)
{
    MapFolder p;
    const Data_Area_Map map = p.map(Make({{0, 1}, {1996, 4}}, {{0, 1}, {1996, 4}, {1998, 2}}));
    EXPECT_EQ(Kinds(map), (QList<Found>{{Finding_Kind::Part_Of_Field, {2}, {3}}}));
    EXPECT_EQ(map.bytes[0], Byte_State::Published);
    EXPECT_EQ(map.bytes[1], Byte_State::Free);
    EXPECT_EQ(map.bytes[1999], Byte_State::Published);
    EXPECT_EQ(map.Listeners_At(1999), (QList<int>{1}));
    EXPECT_EQ(map.Rules_At(1999), (QList<int>{1, 2}));

    // A field or a rule at byte 1999 runs past the area: its bytes there are no map bytes.
    const Data_Area_Map past = p.map(Make({{1999, 4}}, {{1999, 4}}));
    EXPECT_TRUE(past.findings.isEmpty());
    EXPECT_EQ(past.bytes[1999], Byte_State::Published);
    const Data_Area_Map rule_only = p.map(Make({}, {{1999, 4}}));
    EXPECT_EQ(rule_only.bytes[1999], Byte_State::Unfilled_Read);
    EXPECT_EQ(Kinds(rule_only), (QList<Found>{{Finding_Kind::Unfilled, {}, {1}}}));
    EXPECT_EQ(p.map(Make({{0, 4}, {3, 1}}, {})).bytes[3], Byte_State::Conflict);
}

TEST(DataAreaMap, OnlyTheRowsThatCompileCount)
{
    MapFolder p;
    Tables t = Make({{0, 4}}, {{0, 4}});
    t.listeners.row(2) = Listener({0, 4});
    t.listeners.row(2).Enable = false;                   // disabled
    t.listeners.row(3) = Listener({0, 4});
    t.listeners.row(3).DataField = "no such field";      // not in the catalogue
    t.listeners.row(4) = Listener({0, 4});
    t.listeners.row(4).Sentence = "BWC";                 // a sentence this product does not offer
    t.listeners.row(5) = Listener({2000, 4});            // outside the area
    t.listeners.row(6) = Listener({2, 4});
    t.listeners.row(6).Sentence = " gga ";               // read as the compiler reads it: overlaps
    t.topics.Pub[1] = Rule({20, 4});
    t.topics.Pub[1].Topic = "  ";                        // no rule without a Topic
    t.topics.Pub[2] = Rule({20, 0});                     // reads nothing
    const Data_Area_Map map = p.map(t);
    ASSERT_EQ(map.listeners.size(), 2);
    EXPECT_EQ(map.listeners[1].use.row, 6);
    EXPECT_EQ(map.listeners[1].Sentence, "gga");
    ASSERT_EQ(map.rules.size(), 1);
    EXPECT_EQ(Kinds(map), (QList<Found>{{Finding_Kind::Overlap, {1, 6}, {}}, {Finding_Kind::Part_Of_Field, {6}, {1}}}));
}

TEST(DataAreaMap, RangesInAddressOrder)
{
    MapFolder p;
    const Data_Area_Map map = p.map(Make({{4, 4}, {0, 2}}, {{6, 4}}));
    const QList<Map_Range> r = Map_Ranges(map);
    ASSERT_EQ(r.size(), 4);
    EXPECT_EQ((QList<int>{r[0].first, r[0].last, r[1].first, r[1].last, r[2].first, r[2].last, r[3].first, r[3].last}),
              (QList<int>{0, 1, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(r[0].listeners, (QList<int>{1}));
    EXPECT_EQ(r[1].listeners, (QList<int>{0}));
    EXPECT_TRUE(r[1].rules.isEmpty());
    EXPECT_EQ(r[2].listeners, (QList<int>{0}));
    EXPECT_EQ(r[2].rules, (QList<int>{0}));
    EXPECT_TRUE(r[3].listeners.isEmpty());
    EXPECT_EQ(p.map(Make({{0, 4}}, {{8, 4}})).Warning_Count(), 1);
}

TEST(DataAreaMap, TheUpdateQuestionListsTenWarnings)
{
    MapFolder p;
    Tables t;
    for (int i = 0; i < 12; ++i)
        t.topics.Pub[i] = Rule({100 + 4 * i, 4});
    const Data_Area_Map map = p.map(t);
    const QString q = Map_Warnings_Question(p.st, map);
    EXPECT_TRUE(q.startsWith(p.st.Get_Lang_Text(Txt::Map_Question))) << q.toStdString();
    EXPECT_TRUE(q.contains(map.findings[9].text));
    EXPECT_FALSE(q.contains(map.findings[10].text));
    EXPECT_TRUE(q.contains(p.st.Get_Lang_Text(Txt::Map_More).arg(2)));
    EXPECT_TRUE(q.endsWith(p.st.Get_Lang_Text(Txt::Map_Continue)));
    // Notes alone ask nothing.
    EXPECT_EQ(Map_Warnings_Question(p.st, p.map(Make({{0, 4}}, {{0, 2}}))), "");
}

TEST(DataAreaMap, FromTheFilesAsTheCompilerReadsThem)
{
    MapFolder p;
    p.write("ParGen.xml", "<ParGen/>");
    // The table shows all three rows enabled; the compiler takes only the one written "Y".
    const QByteArray row = "Serial_Channel=\"RS232\" Sentence=\"GGA\" Index=\"\" DataField=\"Latitude, Minutes "
                           "[floating point]\" PortOperation=\"None\" SwapAll=\"N\" Swap16=\"N\" Mnemonic=\"\"";
    p.write("NMEA_0183_Set_Access.xml", "<NMEA_0183><NMEA_Listener><row Enable=\"Y\" " + row + " Position=\"0\"/><row Enable=\"y\" "
                                            + row + " Position=\"10\"/><row " + row + " Position=\"20\"/></NMEA_Listener></NMEA_0183>");
    Data_Area_Map map;
    const FileResult r = Load_Data_Area_Map(p.st, p.dir.path(), map);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    ASSERT_EQ(map.listeners.size(), 1);
    EXPECT_EQ(map.listeners[0].use.row, 1);
    EXPECT_TRUE(map.rules.isEmpty()); // no topic file: no rules
    // Without ParGen.xml the serial line is off: no row compiles.
    QFile::remove(p.path("ParGen.xml"));
    ASSERT_TRUE(Load_Data_Area_Map(p.st, p.dir.path(), map).ok);
    EXPECT_TRUE(map.listeners.isEmpty());

    p.write("MQTT_Set_Topic.xml", "<MQTT_Set_Topic>");
    EXPECT_FALSE(Load_Data_Area_Map(p.st, p.dir.path(), map).ok);
}
