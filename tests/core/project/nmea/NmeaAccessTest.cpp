#include "project/nmea/NmeaAccess.h"

#include "lang/Texts.h"
#include "project/nmea/Nmea0183Catalogue.h"

#include "TestSupport.h"

#include <QDir>
#include <QStringEncoder>

#include <gtest/gtest.h>

namespace swr {
// Readable rows in test failures.
inline void PrintTo(const NMEA_Listener_Row& r, std::ostream* os)
{
    *os << "{" << r.Enable << " [" << r.Serial_Channel.toStdString() << "] ["
        << r.Sentence.toStdString() << "] [" << r.Index.toStdString() << "] ["
        << r.DataField.toStdString() << "] [" << r.PortOperation.toStdString() << "] "
        << r.SwapAll << r.Swap16 << " [" << r.Position.toStdString() << "] ["
        << r.Mnemonic.toStdString() << "]}";
}
} // namespace swr

using namespace swr;
using swr::test::ProgramFolder;

namespace {

const char* const Lat_Minutes = "Latitude, Minutes [floating point]";  // GGA 6, 4 bytes
const char* const Lat_Direction = "Latitude, Direction [character]";  // GGA 5, 1 byte

NMEA_Listener_Row Row(const QString& sentence, const QString& field, const QString& position,
                      const QString& index = {})
{
    NMEA_Listener_Row r;
    r.Serial_Channel = "RS232";
    r.Sentence = sentence;
    r.DataField = field;
    r.PortOperation = "None";
    r.Position = position;
    r.Index = index;
    return r;
}

QString Native(const ProgramFolder& p, const QString& rel)
{
    return QDir::toNativeSeparators(p.path(rel));
}

// Loads the bytes as the listener file of the folder.
FileResult Load_Bytes(ProgramFolder& p, const QByteArray& xml, NMEA_Listener_Table& t)
{
    p.write("access.xml", xml);
    return Load_NMEA_Access(p.st, p.path("access.xml"), t);
}

QByteArray Rows_File(int rows)
{
    QByteArray x = "<NMEA_0183><NMEA_Listener>";
    for (int i = 1; i <= rows; ++i)
        x += "<row Enable=\"Y\" Sentence=\"GGA\" DataField=\"Status [character]\" Mnemonic=\"r"
             + QByteArray::number(i) + "\"/>";
    return x + "</NMEA_Listener></NMEA_0183>";
}

class NmeaAccess : public ::testing::Test {
protected:
    void SetUp() override { p.start(); }
    ProgramFolder p;
    NMEA_Listener_Table t;
};

} // namespace

TEST_F(NmeaAccess, MissingFileGivesTheEmptyTable)
{
    t.row(7) = Row("GGA", Lat_Minutes, "4");
    const FileResult r = Load_NMEA_Access(p.st, p.path("none.xml"), t);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.notices.isEmpty());
    for (const NMEA_Listener_Row& row : t.rows) {
        EXPECT_EQ(row, NMEA_Listener_Row{});
        EXPECT_TRUE(row.Enable);
        EXPECT_TRUE(row.Serial_Channel.isEmpty() && row.PortOperation.isEmpty());
        EXPECT_FALSE(row.SwapAll || row.Swap16 || row.Index_Editable());
    }
    EXPECT_TRUE(Controllo_dati(p.st, t).isEmpty());
}

TEST_F(NmeaAccess, SaveLayout)
{
    t.row(1) = Row("GGA", Lat_Minutes, "0");
    t.row(1).SwapAll = true;
    t.row(1).Serial_Channel.clear(); // always written as the one channel there is
    t.row(2) = Row("XDR", "Transducer ID [character string] (20 characters)", "4", "3");
    t.row(2).Enable = false;
    t.row(2).Swap16 = true;
    t.row(2).PortOperation = "x 10";
    t.row(2).Mnemonic = "Probe";
    ASSERT_TRUE(Save_NMEA_Access(p.st, p.path("a.xml"), t).ok);
    EXPECT_EQ(p.read("a.xml"),
              "<?xml version=\"1.0\"?>\n"
              "<NMEA_0183>\n"
              "\t<NMEA_Listener>\n"
              "\t\t<row Enable=\"Y\" Serial_Channel=\"RS232\" Sentence=\"GGA\" Index=\"\" "
              "DataField=\"Latitude, Minutes [floating point]\" PortOperation=\"None\" "
              "SwapAll=\"Y\" Swap16=\"N\" Position=\"0\" Mnemonic=\"\" />\n"
              "\t\t<row Enable=\"N\" Serial_Channel=\"RS232\" Sentence=\"XDR\" Index=\"3\" "
              "DataField=\"Transducer ID [character string] (20 characters)\" "
              "PortOperation=\"x 10\" SwapAll=\"N\" Swap16=\"Y\" Position=\"4\" "
              "Mnemonic=\"Probe\" />\n"
              "\t</NMEA_Listener>\n"
              "</NMEA_0183>\n"
              "<!--SW_VERSION = 1.002-->\n");

    ASSERT_TRUE(Save_NMEA_Access(p.st, p.path("empty.xml"), NMEA_Listener_Table{}).ok);
    EXPECT_EQ(p.read("empty.xml"), "<?xml version=\"1.0\"?>\n<NMEA_0183>\n\t<NMEA_Listener />\n"
                                   "</NMEA_0183>\n<!--SW_VERSION = 1.002-->\n");
}

// Rows without a sentence between filled ones are saved as they are, so that inserting a
// row and confirming does not drop the rows below it; rows after the last filled one are
// not saved.
TEST_F(NmeaAccess, RowsBelowAnEmptyRowAreKept)
{
    for (int r : {1, 2, 3, 5, 6})
        t.row(r) = Row("GGA", Lat_Minutes, QString::number(r * 4));
    t.row(4).Mnemonic = "spare";
    t.row(4).Position = "not checked";
    t.row(4).Serial_Channel = "RS232"; // as every loaded row shows it
    t.row(9).Mnemonic = "after the last";
    t.row(6).Position = "2000";
    EXPECT_EQ(Controllo_dati(p.st, t), "Error row 6!! Position Must be Between 0 and 2000");
    t.row(6).Position = "24";
    ASSERT_TRUE(Save_NMEA_Access(p.st, p.path("a.xml"), t).ok);

    NMEA_Listener_Table back;
    ASSERT_TRUE(Load_NMEA_Access(p.st, p.path("a.xml"), back).ok);
    for (int r = 1; r <= 6; ++r)
        EXPECT_EQ(back.row(r), t.row(r)) << r;
    EXPECT_EQ(back.row(9), NMEA_Listener_Row{});
    EXPECT_EQ(p.read("a.xml").count("<row "), 6);
}

TEST_F(NmeaAccess, ReadingRules)
{
    const FileResult r = Load_Bytes(p,
        "<AnyRoot>"
        " <NMEA_Listener>"
        // Attributes in another order, lower-case y.
        "  <row Position='9' Mnemonic='m' Sentence='GLL' Swap16='Y' SwapAll='y'"
        "   DataField='Status [character]' Enable='y' Index=' 7 ' PortOperation='x 10'"
        "   Serial_Channel='RS485 2'/>"
        "  <!-- a comment is not a row -->"
        // Any element name; every attribute missing.
        "  <item/>"
        // Values not in the catalogue load as empty cells.
        "  <row Enable='N' Sentence='gga' DataField='Status [character]' PortOperation='X 10'"
        "   Position='abc'/>"
        "  <row Sentence='BWC' PortOperation=''/>"
        "  <row Sentence='GGA' DataField='Status [character]'/>"
        "  <row Sentence='GGA' DataField='LATITUDE, MINUTES [FLOATING POINT]' Enable='YES'/>"
        " </NMEA_Listener>"
        " <NMEA_Listener><row Sentence='ZDA'/></NMEA_Listener>"
        "</AnyRoot>",
        t);
    ASSERT_TRUE(r.ok) << r.message.toStdString();

    NMEA_Listener_Row e1 = Row("GLL", "Status [character]", "9", " 7 ");
    e1.PortOperation = "x 10";
    e1.Mnemonic = "m";
    e1.SwapAll = false;
    e1.Swap16 = true;
    NMEA_Listener_Row e2;
    e2.Serial_Channel = "RS232";
    e2.PortOperation = "None";
    NMEA_Listener_Row e3 = e2;
    e3.Enable = false;
    e3.PortOperation.clear();
    e3.Position = "abc";
    NMEA_Listener_Row e4 = e3;
    e4.Enable = true;
    e4.Position.clear();
    NMEA_Listener_Row e5 = Row("GGA", "", "");
    NMEA_Listener_Row e6 = Row("GGA", "", "");
    const NMEA_Listener_Row expected[] = {e1, e2, e3, e4, e5, e6, NMEA_Listener_Row{}};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(t.row(i + 1), expected[i]) << "row " << i + 1;
    EXPECT_TRUE(t.row(1).Enable);
}

// Every load starts from a clean table: rows the file does not fill lose their flags too.
TEST_F(NmeaAccess, RowsNotInTheFileAreReset)
{
    for (int r = 1; r <= 5; ++r) {
        t.row(r) = Row("XDR", "Units of measure [character]", "3", "2");
        t.row(r).Enable = false;
        t.row(r).SwapAll = t.row(r).Swap16 = true;
    }
    ASSERT_TRUE(Load_Bytes(p, Rows_File(2), t).ok);
    EXPECT_EQ(t.row(2).Mnemonic, "r2");
    for (int r = 3; r <= 5; ++r) {
        EXPECT_EQ(t.row(r), NMEA_Listener_Row{}) << r;
        EXPECT_FALSE(t.row(r).Index_Editable());
    }
}

TEST_F(NmeaAccess, RowsBeyondTheTableAreNotLoadedAndReported)
{
    FileResult r = Load_Bytes(p, Rows_File(100), t);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.notices.isEmpty());

    r = Load_Bytes(p, Rows_File(103), t);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(t.row(100).Mnemonic, "r100");
    ASSERT_EQ(r.notices.size(), 1);
    EXPECT_EQ(r.notices[0], p.st.Get_Lang_Text(Txt::Nmea_Rows_Not_Loaded)
                                .arg(Native(p, "access.xml"))
                                .arg(103)
                                .arg(100));
    EXPECT_TRUE(r.notices[0].contains("103"));
}

TEST_F(NmeaAccess, FileWithoutListenerListIsAnError)
{
    const char* cases[] = {
        "<!-- note --><NMEA_0183><NMEA_Listener><row Sentence='GGA'/></NMEA_Listener></NMEA_0183>",
        "<?tool x?><NMEA_0183><NMEA_Listener><row Sentence='GGA'/></NMEA_Listener></NMEA_0183>",
        "<NMEA_0183><Listener><row Sentence='GGA'/></Listener></NMEA_0183>",
        "<NMEA_0183><X><NMEA_Listener><row Sentence='GGA'/></NMEA_Listener></X></NMEA_0183>",
        "<NMEA_0183/>",
    };
    const QString expected =
        p.st.Get_Lang_Text(Txt::Nmea_File_No_Listener).arg(Native(p, "access.xml"));
    EXPECT_TRUE(expected.contains("access.xml"));
    for (const char* xml : cases) {
        t.row(1) = Row("GGA", Lat_Minutes, "0");
        const FileResult r = Load_Bytes(p, xml, t);
        EXPECT_FALSE(r.ok) << xml;
        EXPECT_EQ(r.message, expected) << xml;
        EXPECT_EQ(t.row(1), NMEA_Listener_Row{}) << xml;
    }
}

TEST_F(NmeaAccess, MalformedFile)
{
    t.row(1) = Row("GGA", Lat_Minutes, "0");
    const QByteArray bad = "<NMEA_0183><NMEA_Listener><row Sentence='GGA'></NMEA_Listener>";
    const FileResult r = Load_Bytes(p, bad, t);
    EXPECT_FALSE(r.ok);
    pugi::xml_document doc;
    EXPECT_EQ(r.message, Load_Project_Xml(p.st, p.path("access.xml"), doc).message);
    EXPECT_TRUE(r.message.contains("access.xml"));
    EXPECT_EQ(t.row(1), NMEA_Listener_Row{});
}

TEST_F(NmeaAccess, EncodingsDeclarationAndIndentation)
{
    const QString mnemonic = QString::fromUtf8("Temp. \u00B0C \u20AC \U0001D11E");
    const QString body =
        "<NMEA_0183>\r\n  <NMEA_Listener>\r\n    <row Enable=\"Y\" Sentence=\"VWT\" DataField=\""
        + NMEA0183_Map(39).Fields.at(0).Field + "\" Position=\"12\" Mnemonic=\"" + mnemonic
        + "\"/>\r\n  </NMEA_Listener>\r\n</NMEA_0183>\r\n<!--SW_VERSION = 1.002-->";
    auto utf16 = [](const QString& s, QStringConverter::Encoding e) {
        QStringEncoder enc(e, QStringConverter::Flag::WriteBom);
        return QByteArray(enc(s));
    };
    const QString decl8 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const QString decl16 = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n";
    const QByteArray files[] = {
        body.toUtf8(),
        "\xEF\xBB\xBF" + body.toUtf8(),
        (decl8 + body).toUtf8(),
        "\xEF\xBB\xBF" + (decl8 + body).toUtf8(),
        utf16(body, QStringConverter::Utf16LE),
        utf16(decl16 + body, QStringConverter::Utf16LE),
        utf16(decl16 + body, QStringConverter::Utf16BE),
    };
    for (const QByteArray& f : files) {
        t = NMEA_Listener_Table{};
        const FileResult r = Load_Bytes(p, f, t);
        ASSERT_TRUE(r.ok) << r.message.toStdString();
        EXPECT_EQ(t.row(1).Sentence, "VWT");
        EXPECT_EQ(t.row(1).DataField, NMEA0183_Map(39).Fields.at(0).Field);
        EXPECT_EQ(t.row(1).Position, "12");
        EXPECT_EQ(t.row(1).Mnemonic, mnemonic);
        EXPECT_TRUE(t.row(2).Is_Empty());
    }
}

TEST_F(NmeaAccess, AwkwardValuesRoundTrip)
{
    const QString values[] = {
        "  both ends  ", " ", "\t", "line1\nline2\r\nline3\rend", "<&\"'>&amp;",
        QString::fromUtf8("\u00E4\u00DF\u00B0\u20AC\U0001F600"), "", "a\tb  c",
    };
    int r = 1;
    for (const QString& v : values) {
        NMEA_Listener_Row& row = t.row(r++);
        row = Row("GSV", "Satellite ID number [decimal]", "7", "5");
        row.Mnemonic = v;
        // A disabled row is saved unchecked, so its Index and Position may hold anything.
        NMEA_Listener_Row& off = t.row(r++);
        off = Row("GGA", Lat_Direction, v, v);
        off.Enable = false;
        off.Mnemonic = v;
    }
    ASSERT_TRUE(Save_NMEA_Access(p.st, p.path("a.xml"), t).ok);
    NMEA_Listener_Table back;
    ASSERT_TRUE(Load_NMEA_Access(p.st, p.path("a.xml"), back).ok);
    for (int i = 1; i <= NMEA_Listener_Rows; ++i)
        EXPECT_EQ(back.row(i), t.row(i)) << "row " << i;
}

TEST_F(NmeaAccess, CheckMessagesAndTheirOrder)
{
    const QString gsvSat = "Satellite ID number [decimal]";
    struct Case {
        NMEA_Listener_Row row;
        int text; // 0: passes
    } cases[] = {
        {Row("GGA", Lat_Minutes, "0"), 0},
        {Row("GGA", Lat_Minutes, "1999"), 0}, // only the start is limited
        {Row("GGA", Lat_Minutes, " 5 "), 0},
        {Row("GGA", Lat_Minutes, "2000"), Txt::Nmea_Position_Range},
        {Row("GGA", Lat_Minutes, "-1"), Txt::Nmea_Position_Range},
        {Row("GGA", Lat_Minutes, ""), Txt::Nmea_Position_Range},
        {Row("GGA", Lat_Minutes, "1e3"), Txt::Nmea_Position_Range},
        {Row("GGA", "", "x"), Txt::Nmea_Data_Field_Missing}, // data field before position
        {Row("GGA", "  ", "0"), Txt::Nmea_Data_Field_Missing},
        {Row("GSV", gsvSat, "0", "36"), 0},
        {Row("GSV", gsvSat, "0", "37"), Txt::Nmea_Index_1_36},
        {Row("GSV", gsvSat, "0", "0"), Txt::Nmea_Index_1_36},
        {Row("GSV", "SNR (C/No) 00-99 dB-Hz, null when not tracking [decimal]", "0", ""),
         Txt::Nmea_Index_1_36},
        {Row("GSV", "Sentence number [decimal]", "0", "9"), 0},
        {Row("GSV", "Sentence number [decimal]", "0", "10"), Txt::Nmea_Index_1_9},
        {Row("GSV", "Total number of sentences [decimal]", "0", "99"), 0},
        {Row("GSV", "Signal ID [decimal]", "0", "x"), 0},
        {Row("XDR", "", "x", "11"), Txt::Nmea_Index_1_10}, // the Index comes first
        {Row("XDR", "Units of measure [character]", "0", "10"), 0},
        {Row("$PJELA", "Alarm [character]", "0", "51"), Txt::Nmea_Index_1_50},
        {Row("$VTHA3", "Alarm, Value [decimal]", "0", "0"), Txt::Nmea_Index_1_32},
        {Row("$VTHS0", "Alarm, Value [decimal]", "0", "32"), 0},
        {Row("GGA", Lat_Minutes, "0", "999"), 0}, // ignored elsewhere
    };
    for (const Case& c : cases) {
        NMEA_Listener_Table tab;
        tab.row(1) = Row("GGA", Lat_Minutes, "0");
        tab.row(3) = c.row;
        const QString expected =
            c.text == 0 ? QString()
                        : "Error row 3" + p.st.Get_Lang_Text(c.text)
                              + (c.text == Txt::Nmea_Position_Range ? "2000" : "");
        EXPECT_EQ(Controllo_dati(p.st, tab), expected)
            << c.row.Sentence.toStdString() << " / " << c.row.DataField.toStdString() << " / "
            << c.row.Index.toStdString() << " / " << c.row.Position.toStdString();
    }

    NMEA_Listener_Table tab;
    tab.row(2) = Row("GGA", "", "0");
    tab.row(2).PortOperation = " ";
    EXPECT_EQ(Controllo_dati(p.st, tab), "Error row 2!! Data Field Must be Selected");
    tab.row(2).DataField = Lat_Minutes;
    EXPECT_EQ(Controllo_dati(p.st, tab), "Error row 2!! Post Operation Must be Selected");
    tab.row(5) = Row("GGA", "", "");
    EXPECT_EQ(Controllo_dati(p.st, tab), "Error row 2!! Post Operation Must be Selected");
    tab.row(2).Enable = false; // disabled rows and rows without a sentence are not checked
    tab.row(4) = Row("  ", "", "-5", "abc");
    EXPECT_EQ(Controllo_dati(p.st, tab), "Error row 5!! Data Field Must be Selected");
    tab.row(5).Enable = false;
    EXPECT_EQ(Controllo_dati(p.st, tab), "");

    // The texts come from the table in use.
    p.st.Lang_Table[Txt::Nmea_Error_Row] = "Fila ";
    p.st.Lang_Table[Txt::Nmea_Data_Field_Missing] = ": falta el campo";
    tab.row(5).Enable = true;
    EXPECT_EQ(Controllo_dati(p.st, tab), "Fila 5: falta el campo");
}

// A finding names the row and the cell its test reads, so the screen can go to it.
TEST_F(NmeaAccess, FindingsNameTheCellOfTheFault)
{
    const struct {
        NMEA_Listener_Row row;
        int column, text;
    } cases[] = {
        {Row("XDR", "", "x", "11"), NMEA_Col_Index, Txt::Nmea_Index_1_10},
        {Row("GGA", " ", "0"), NMEA_Col_DataField, Txt::Nmea_Data_Field_Missing},
        {Row("GGA", Lat_Minutes, "2000"), NMEA_Col_Position, Txt::Nmea_Position_Range},
    };
    NMEA_Listener_Table tab;
    tab.row(1) = Row("GGA", Lat_Minutes, "0");
    for (int i = 0; i < int(std::size(cases)); ++i)
        tab.row(3 + i) = cases[i].row;
    tab.row(7) = Row("GGA", Lat_Minutes, "0");
    tab.row(7).PortOperation = "";
    const Check_Findings found = Data_Check(p.st, tab);
    ASSERT_EQ(found.size(), 4);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(found[i].row, 3 + i);
        EXPECT_EQ(found[i].column, cases[i].column) << i;
        EXPECT_EQ(found[i].text, cases[i].text) << i;
        EXPECT_EQ(found[i].severity, Check_Finding::Error);
    }
    EXPECT_EQ(found[3].row, 7);
    EXPECT_EQ(found[3].column, NMEA_Col_PostOperation);
    EXPECT_EQ(found[3].message, "Error row 7!! Post Operation Must be Selected");
    EXPECT_EQ(found[2].message, "Error row 5" + p.st.Get_Lang_Text(Txt::Nmea_Position_Range) + "2000");
    EXPECT_EQ(Controllo_dati(p.st, tab), found[0].message);
    EXPECT_EQ(Listener_Row_Findings(p.st, tab, 4), found.mid(1, 1));
    EXPECT_TRUE(Listener_Row_Findings(p.st, tab, 1).isEmpty());
}

// Picking a sentence proposes its first field, the Position, and "None" for a post
// operation not chosen yet, so a freshly picked row passes the check.
TEST_F(NmeaAccess, PickingASentenceProposesWhatTheCheckNeeds)
{
    t.row(1) = Row("GGA", Lat_Minutes, "0");
    t.row(2).Sentence = "GGA";
    t.row(2).Index = "7";
    Sentence_Chosen(t, 2);
    EXPECT_EQ(t.row(2).DataField, "UTC of position, Hours [decimal]");
    EXPECT_EQ(t.row(2).PortOperation, "None");
    EXPECT_EQ(t.row(2).Position, "5"); // a one-byte field after four bytes
    EXPECT_EQ(t.row(2).Index, "7");
    EXPECT_EQ(Controllo_dati(p.st, t), "");

    // A post operation already chosen stays; blanks count as none.
    t.row(3).Sentence = "GGA";
    t.row(3).PortOperation = Post_Operations().at(3);
    Sentence_Chosen(t, 3);
    EXPECT_EQ(t.row(3).PortOperation, Post_Operations().at(3));
    t.row(3).PortOperation = " ";
    Sentence_Chosen(t, 3);
    EXPECT_EQ(t.row(3).PortOperation, "None");
}

// Saving writes what it is given; refusing a table that fails its check is the caller's
// part, as for every project file (the editors' OK and resave run the check first).
TEST_F(NmeaAccess, SaveLeavesTheCheckToTheCaller)
{
    t.row(1) = Row("GGA", Lat_Minutes, "2000");
    EXPECT_FALSE(Controllo_dati(p.st, t).isEmpty());
    ASSERT_TRUE(Save_NMEA_Access(p.st, p.path("a.xml"), t).ok);
    NMEA_Listener_Table back;
    ASSERT_TRUE(Load_NMEA_Access(p.st, p.path("a.xml"), back).ok);
    EXPECT_EQ(back.row(1), t.row(1));
}

TEST(NmeaPosition, Proposals)
{
    struct Earlier {
        int row;
        const char* sentence;
        const char* field;
        const char* position;
        bool enabled;
    };
    struct Case {
        std::vector<Earlier> earlier;
        int row;
        const char* sentence;
        const char* field;
        int expected;
    } cases[] = {
        {{}, 1, "GGA", Lat_Minutes, 0},
        {{}, 1, "GGA", Lat_Direction, 1},
        {{}, 1, "GGA", "UTC of position, decimal-fraction of seconds [decimal]", 0},
        {{}, 1, "DTM", "Local datum code [string of 3 characters]", 1},
        {{}, 1, "XDR", "Transducer ID [character string] (20 characters)", 0},
        {{}, 1, "XYZ", "anything", 0},
        {{{1, "GGA", Lat_Minutes, "0", true}}, 2, "GGA", Lat_Direction, 5},
        {{{1, "GGA", Lat_Minutes, "0", true}}, 2, "GGA", "Horizontal dilution of precision [floating point]", 4},
        {{{1, "GGA", Lat_Minutes, "0", true}}, 2, "GGA", "no such field", 4},
        // Disabled rows and rows without a catalogue field are passed over.
        {{{1, "GGA", Lat_Minutes, "10", true}, {2, "GGA", Lat_Minutes, "100", false},
          {3, "GGA", "not a field", "200", true}, {4, "gga", Lat_Minutes, "300", true}},
         5, "GGA", Lat_Minutes, 14},
        {{{2, "XDR", "Transducer ID [character string] (20 characters)", "30", true}}, 6, "GGA",
         Lat_Direction, 51},
        {{{1, "GGA", "latitude, minutes [floating point]", "8", true}}, 2, "GGA", Lat_Minutes, 12},
        {{{1, "GGA", Lat_Minutes, "abc", true}}, 2, "GGA", Lat_Minutes, 4},
        {{{1, "GGA", Lat_Minutes, "0", false}}, 2, "GGA", Lat_Direction, 1},
    };
    for (const Case& c : cases) {
        NMEA_Listener_Table t;
        for (const Earlier& e : c.earlier) {
            NMEA_Listener_Row& r = t.row(e.row);
            r.Sentence = e.sentence;
            r.DataField = e.field;
            r.Position = e.position;
            r.Enable = e.enabled;
        }
        t.row(c.row + 1).Position = "keep";
        Set_Position(t, c.row, c.sentence, c.field);
        EXPECT_EQ(t.row(c.row).Position, QString::number(c.expected))
            << c.row << " " << c.sentence << " / " << c.field;
        EXPECT_EQ(t.row(c.row + 1).Position, "keep");
    }

    NMEA_Listener_Table t;
    t.row(100).Sentence = "GGA";
    t.row(100).DataField = Lat_Minutes;
    t.row(100).Position = "20";
    EXPECT_EQ(Get_Last_Position(t, 101), 24);
    Set_Position(t, 0, "GGA", Lat_Minutes); // outside the table: nothing happens
    Set_Position(t, 101, "GGA", Lat_Minutes);
    EXPECT_EQ(Get_Last_Position(t, 0), 0);
}
