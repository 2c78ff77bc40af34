#include "lang/LangTable.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

#include <climits>

using namespace swr;

namespace {

QStringList Defaults()
{
    QStringList t;
    Load_Default_Strings(t);
    return t;
}

} // namespace

TEST(DefaultStrings, TableMatchesTheReferenceListing)
{
    const QStringList t = Defaults();
    ASSERT_EQ(t.size(), Lang_Count);
    EXPECT_EQ(Lang_Table_As_File_Text(t).toUtf8(), test::Read_Test_Data("english_texts.txt"));
    EXPECT_EQ(t[18], "Error! Project not Valid");
    EXPECT_EQ(t[9], "None Configuration Opened ");
    EXPECT_EQ(t[1599], " ");
}

struct LineCase {
    const char* line;
    int index;
    const char* expected; // nullptr: the entry keeps its default
};

class LanguageLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(LanguageLine, AppliesAsTheFormatSays)
{
    const LineCase& c = GetParam();
    QStringList t = Defaults();
    const QStringList before = t;
    Apply_Language_Text(t, QString::fromUtf8(c.line));
    const QString want = c.expected ? QString::fromUtf8(c.expected) : before[c.index];
    EXPECT_EQ(t[c.index], want) << c.line;
    for (int i = 0; i < Lang_Count; ++i) {
        if (i != c.index) {
            ASSERT_EQ(t[i], before[i]) << "entry " << i << " changed by " << c.line;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LanguageLine,
    ::testing::Values(LineCase{"STR15 = New configuration", 15, "New configuration"},
                      LineCase{"STR0009 = \xC2\xB6No configuration \xC2\xB6", 9, "No configuration "},
                      LineCase{"STR12 = Info /#/ tooltip of the information button", 12, "Info"},
                      LineCase{"STR12=Info", 1, "Info"},
                      LineCase{"STR1600 = x", 1599, nullptr},
                      LineCase{"STR20 = ", 20, nullptr},
                      LineCase{"# STR20 = x", 20, nullptr},
                      LineCase{"   \tSTR21 = indented\r", 21, "indented"},
                      LineCase{"str22 = lower", 22, nullptr},
                      LineCase{"STR23 = \xC2\xB6\xC2\xB6", 23, ""},
                      LineCase{"STR24 = \xC2\xB6  open to the end  ", 24, "  open to the end"},
                      LineCase{"STR25 = /#/ only a comment", 25, nullptr},
                      LineCase{"STRx5 = not a number", 5, nullptr},
                      LineCase{"STR-1 = negative", 0, nullptr},
                      LineCase{"STR26 no equals sign", 26, nullptr}));

TEST(LanguageFile, LastLineForAnIndexWins)
{
    QStringList t = Defaults();
    Apply_Language_Text(t, "STR18 = first\nSTR18 = second\n");
    EXPECT_EQ(t[18], "second");
}

TEST(LanguageFile, EncodingsByByteOrderMark)
{
    const QString text = QString::fromUtf8("STR18 = Fehler \xC3\xBC\xE2\x82\xAC\r\nSTR19 = zwei\r\n");
    QByteArray le("\xFF\xFE"), be("\xFE\xFF");
    for (QChar c : text) {
        le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    }
    const QByteArray utf8 = QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    for (const QByteArray& bytes : {utf8, le, be}) {
        QStringList t = Defaults();
        Apply_Language_Text(t, Decode_Language_Bytes(bytes));
        EXPECT_EQ(t[18], QString::fromUtf8("Fehler \xC3\xBC\xE2\x82\xAC"));
        EXPECT_EQ(t[19], "zwei");
    }
    // Without a mark: Windows-1252, where 0x80 is the euro sign and 0xFC is u-umlaut.
    QStringList t = Defaults();
    Apply_Language_Text(t, Decode_Language_Bytes("STR18 = Fehler \xFC\x80\n"));
    EXPECT_EQ(t[18], QString::fromUtf8("Fehler \xC3\xBC\xE2\x82\xAC"));
}

TEST(LanguageFile, TranslatorDumpReadsBackUnchanged)
{
    QStringList t = Defaults();
    t[30] = "  blanks around  ";
    t[31] = "";
    QStringList back = Defaults();
    back[30] = back[31] = "changed";
    Apply_Language_Text(back, Decode_Language_Bytes(QByteArray("\xEF\xBB\xBF") + Lang_Table_As_File_Text(t).toUtf8()));
    EXPECT_EQ(back, t);
}

TEST(TextsView, ReadsTheTableAsItStandsAndGivesNothingOutsideIt)
{
    QStringList t = Defaults();
    const Texts texts(t);
    EXPECT_EQ(texts.Get_Lang_Text(18), "Error! Project not Valid");
    EXPECT_EQ(texts.Get_Lang_Text(Lang_Count - 1), " ");
    for (int outside : {-1, Lang_Count, INT_MAX})
        EXPECT_TRUE(texts.Get_Lang_Text(outside).isNull()) << outside;
    Apply_Language_Text(t, QStringLiteral("STR18 = Projekt?"));
    EXPECT_EQ(texts.Get_Lang_Text(18), "Projekt?"); // a language loaded later shows through
}

// The shipped English file is what the template writer gives for the built-in table, so a
// text added or changed in the table cannot leave it behind.
TEST(ShippedLanguages, EnglishFileIsTheWrittenTable)
{
    QFile shipped(QStringLiteral(SWR_LANGUAGE_DIR "/English.lng"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly)) << shipped.errorString().toStdString();
    EXPECT_TRUE(shipped.readAll() == QByteArray("\xEF\xBB\xBF") + Lang_Table_As_File_Text(Defaults()).toUtf8())
        << "rewrite it: swr2305-cli texts --output data/LANGUAGE/English.lng";
}
