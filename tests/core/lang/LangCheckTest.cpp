#include "lang/LangCheck.h"
#include "lang/LangTable.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace swr;

namespace {

struct Found {
    int index;
    Lang_Finding::Kind kind;
    const char* placeholder = "";
};

struct CheckCase {
    const char* name;
    int dropped;       // the index whose line is taken out of the complete file, or -1
    const char* lines; // lines after it; the last entry for an index counts
    std::vector<Found> expected;
};

class LanguageCheck : public ::testing::TestWithParam<CheckCase> {};

// Each case starts from the English table as the writer gives it, which passes as it is.
TEST_P(LanguageCheck, FindsWhatTheFileGetsWrong)
{
    const CheckCase& c = GetParam();
    QStringList english;
    Load_Default_Strings(english);
    QStringList lines = Lang_Table_As_File_Text(english).split('\n');
    if (c.dropped >= 0)
        lines.removeAt(c.dropped);
    const QString file = lines.join('\n') + QString::fromUtf8(c.lines);
    const QList<Lang_Finding> found = Check_Language_Text(english, file);
    QStringList report;
    for (const Lang_Finding& f : found)
        report << Lang_Finding_Line(english, f);
    ASSERT_EQ(found.size(), qsizetype(c.expected.size())) << report.join('\n').toStdString();
    for (qsizetype i = 0; i < found.size(); ++i) {
        SCOPED_TRACE(report[i].toStdString());
        EXPECT_EQ(found[i].index, c.expected[size_t(i)].index);
        EXPECT_EQ(found[i].kind, c.expected[size_t(i)].kind);
        EXPECT_EQ(found[i].placeholder, QString::fromLatin1(c.expected[size_t(i)].placeholder));
    }
}

using K = Lang_Finding;

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageCheck,
    ::testing::Values(
        CheckCase{"Complete", -1, "", {}},
        CheckCase{"LineTakenOut", 18, "", {{18, K::Lacks}}},
        CheckCase{"OnlyBlanksWhereEnglishHasText", -1, "STR18 = \xC2\xB6  \xC2\xB6\nSTR19 = \xC2\xB6\xC2\xB6",
                  {{18, K::Lacks}, {19, K::Lacks}}},
        CheckCase{"TextWhereEnglishIsBlank", -1, "STR99 = Schritt 9\nSTR1599 = \xC2\xB6 \xC2\xB6",
                  {{99, K::Extra}}},
        CheckCase{"PlaceholderMissingAndAdded", -1, "STR904 = Datei %1, Zeile %2: %4 %5",
                  {{904, K::Placeholder_Missing, "%3"}, {904, K::Placeholder_Added, "%5"}}},
        CheckCase{"PlaceholdersInAnotherOrderOrLocalised", -1, "STR904 = %4 (%L3, %2) %1", {}},
        CheckCase{"NoPlaceholderInPercentD", -1, "STR1533 = Zeile %d l\xC3\xB6schen?", {}},
        CheckCase{"EndBlanksLostOrAdded", -1,
                  "STR9 = Keine Konfiguration\nSTR18 = \xC2\xB6 Fehler\xC2\xB6\nSTR317 = \xC2\xB6 zu  \xC2\xB6",
                  {{9, K::End_Blanks}, {18, K::End_Blanks}, {317, K::End_Blanks}}},
        CheckCase{"LastEntryCounts", -1, "STR18 = Fehler %9\nSTR18 = Fehler\nSTR20 = x\nSTR20 = \xC2\xB6\xC2\xB6",
                  {{20, K::Lacks}}}),
    [](const ::testing::TestParamInfo<CheckCase>& i) { return std::string(i.param.name); });

} // namespace
