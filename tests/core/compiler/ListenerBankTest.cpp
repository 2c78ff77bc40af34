#include "CompilerFixture.h"

using namespace swr;
using swr::test::Bytes_With;
using swr::test::LE;
using swr::test::Listener_Xml;
using swr::test::Ship;

namespace {

const QByteArray GGA_Row = R"(<row Enable="Y" Sentence="GGA" DataField="Latitude, Minutes [floating point]" Position="0"/>)";
const QByteArray GLL_Row =
    R"(<row Enable="Y" Sentence="GLL" DataField="Status [character]" Position="5" PortOperation="x 10"/>)";

constexpr int Count_Offset = 0x6F8;

} // namespace

TEST(ListenerBank, TwoRowsGiveTwoItemsAndTheCount)
{
    Ship s;
    s.write("ParGen.xml", test::ParGen_Xml({}));
    s.write("NMEA_0183_Set_Access.xml", Listener_Xml(GGA_Row + GLL_Row));
    s.build();
    EXPECT_EQ(s.bank(2), Bytes_With(1536, {{0, "070000000006000000000000"}, {12, "08000500000a050000000000"}}));
    EXPECT_EQ(LE(s.bank(1), Count_Offset), 2u);

    // The first row switched off: GLL moves up, the count is 1.
    QByteArray off = GGA_Row;
    off.replace("Enable=\"Y\"", "Enable=\"N\"");
    s.write("NMEA_0183_Set_Access.xml", Listener_Xml(off + GLL_Row));
    s.build();
    EXPECT_EQ(s.bank(2), Bytes_With(1536, {{0, "08000500000a050000000000"}}));
    EXPECT_EQ(LE(s.bank(1), Count_Offset), 1u);
}

TEST(ListenerBank, RowRules)
{
    struct Case {
        const char* what;
        QByteArray row;
        const char* item; // hexadecimal item 0, nullptr: the row is skipped
    } cases[] = {
        {"lower case and blanks",
         R"(<row Enable="Y" Sentence=" gga " DataField=" latitude, minutes [floating point] " Position="0"/>)",
         "070000000006000000000000"},
        {"enable is case-sensitive", R"(<row Enable="y" Sentence="GGA" DataField="Latitude, Minutes [floating point]"/>)", nullptr},
        {"missing enable", R"(<row Sentence="GGA" DataField="Latitude, Minutes [floating point]"/>)", nullptr},
        {"unknown sentence", R"(<row Enable="Y" Sentence="XYZ" DataField="Status [character]"/>)", nullptr},
        {"field of another sentence", R"(<row Enable="Y" Sentence="GGA" DataField="Status [character]"/>)", nullptr},
        {"XDR keeps its index",
         R"(<row Enable="Y" Sentence="XDR" DataField="Units of measure [character]" Index="3"/>)",
         "220000000002000003000000"},
        {"GGA drops its index",
         R"(<row Enable="Y" Sentence="GGA" DataField="Latitude, Minutes [floating point]" Index="3"/>)",
         "070000000006000000000000"},
        {"swap flags upper-cased, position low 16 bits",
         R"(<row Enable="Y" Sentence="GGA" DataField="Latitude, Minutes [floating point]" SwapAll="y" Swap16=" Y " Position="65541"/>)",
         "070005000006000300000000"},
        {"bad optional attributes take their fallbacks",
         R"(<row Enable="Y" Sentence="GGA" DataField="Latitude, Minutes [floating point]" Position="x" PortOperation="nope"/>)",
         "070000000006000000000000"},
    };
    for (const Case& c : cases) {
        Ship s;
        s.write("ParGen.xml", test::ParGen_Xml({}));
        s.write("NMEA_0183_Set_Access.xml", Listener_Xml(c.row));
        s.build();
        const QByteArray item = s.bank(2).left(12);
        EXPECT_EQ(item.toHex(), c.item ? QByteArray(c.item) : QByteArray(24, '0')) << c.what;
        EXPECT_EQ(LE(s.bank(1), Count_Offset), c.item ? 1u : 0u) << c.what;
    }
}

TEST(ListenerBank, GsvIndexOnlyForItsIndexedFields)
{
    Ship s;
    s.write("ParGen.xml", test::ParGen_Xml({}));
    s.write("NMEA_0183_Set_Access.xml",
            Listener_Xml(R"(<row Enable="Y" Sentence="GSV" DataField="Satellite ID number [decimal]" Index="36"/>)"
                         R"(<row Enable="Y" Sentence="GSV" DataField="Signal ID [decimal]" Index="36"/>)"));
    s.build();
    EXPECT_EQ(uint8_t(s.bank(2).at(8)), 36);
    EXPECT_EQ(uint8_t(s.bank(2).at(12 + 5)), 7); // field 7
    EXPECT_EQ(uint8_t(s.bank(2).at(12 + 8)), 0);
}

TEST(ListenerBank, NoParGenMeansNoChannelAndNoItems)
{
    Ship s;
    s.write("NMEA_0183_Set_Access.xml", Listener_Xml(GGA_Row));
    s.build();
    EXPECT_EQ(s.bank(2), QByteArray(1536, '\0'));
    EXPECT_EQ(LE(s.bank(1), Count_Offset), 0u);
}

TEST(ListenerBank, MoreThan128CompilableRowsAreRefused)
{
    Ship s;
    s.write("ParGen.xml", test::ParGen_Xml({}));
    QByteArray rows;
    for (int i = 0; i < 128; ++i)
        rows += GGA_Row;
    s.write("NMEA_0183_Set_Access.xml", Listener_Xml(rows));
    s.build();
    EXPECT_EQ(LE(s.bank(1), Count_Offset), 128u);
    s.write("NMEA_0183_Set_Access.xml", Listener_Xml(rows + GLL_Row));
    const QByteArray before = s.bank(2);
    const FileResult r = s.compile();
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains("NMEA_0183_Set_Access.xml")) << r.message.toStdString();
    EXPECT_TRUE(r.message.contains("128")) << r.message.toStdString();
    EXPECT_FALSE(s.save().ok);
    EXPECT_EQ(s.bank(2), before);
}
