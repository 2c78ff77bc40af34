#include "project/nmea/Nmea0183Catalogue.h"

#include "lang/Texts.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace swr;

// The whole catalogue, letter for letter: indices, names, field order, Dimensions.
TEST(NmeaCatalogue, ListingMatchesTheDeviceVocabulary)
{
    EXPECT_EQ(Sentences_Listing().toUtf8(), test::Read_Test_Data("nmea_sentences.txt"));
}

TEST(NmeaCatalogue, SentenceRecords)
{
    int enabled = 0;
    for (int i = 1; i <= NMEA0183_Sentence_Count; ++i) {
        const TNMEA0183_Sentence& s = NMEA0183_Sentence(i);
        EXPECT_FALSE(s.Name.isEmpty()) << i;
        EXPECT_EQ(s.Enabled, !NMEA0183_Map(i).Fields.isEmpty()) << i;
        enabled += s.Enabled;
    }
    EXPECT_EQ(enabled, 46);
    EXPECT_EQ(Enabled_Sentence_Names().size(), 46);
    for (const char* off : {"BWC", "BWR", "DSC", "HDM", "HSC", "RMB", "RPM", "VDM", "VDO",
                            "VDR", "VLW"})
        EXPECT_FALSE(Enabled_Sentence_Names().contains(off)) << off;
    for (int outside : {0, -1, 58}) {
        EXPECT_TRUE(NMEA0183_Sentence(outside).Name.isEmpty());
        EXPECT_FALSE(NMEA0183_Sentence(outside).Enabled);
        EXPECT_TRUE(NMEA0183_Map(outside).Fields.isEmpty());
    }
}

TEST(NmeaCatalogue, FieldTextsKeepTheirOddities)
{
    struct Case {
        int sentence, field;
        const char* text;
        int dimension;
    } cases[] = {
        {7, 1, "UTC of position, Minutes  [decimal]", 1},
        {8, 7, "UTC of position, Minutes [decimal]", 1},
        {9, 16, "VDOP  [floating point]", 4},
        {10, 4, "Elevation, degrees, 90o maximum [decimal]", 1},
        {39, 0, "Calculated wind angle relative to the vessel, 0 to 180\u00B0, Number [floating point]", 4},
        {34, 3, "Transducer ID [character string] (20 characters)", 20},
        {38, 7, "Reference datum code [string of 3 characters]", 3},
        {17, 0, "Wind direction, 0 to 359 degrees True, Number", 4},
    };
    for (const Case& c : cases) {
        const TFieldSentence& f = NMEA0183_Map(c.sentence).Fields.at(c.field);
        EXPECT_EQ(f.Field, QString::fromUtf8(c.text)) << c.sentence << "/" << c.field;
        EXPECT_EQ(f.Dimension, c.dimension) << c.sentence << "/" << c.field;
    }
    // Sentences that share a field list.
    for (auto [a, b] : {std::pair{33, 13}, {37, 36}, {42, 41}, {47, 41}}) {
        ASSERT_EQ(NMEA0183_Map(a).Fields.size(), NMEA0183_Map(b).Fields.size());
        for (qsizetype i = 0; i < NMEA0183_Map(a).Fields.size(); ++i)
            EXPECT_EQ(NMEA0183_Map(a).Fields[i].Field, NMEA0183_Map(b).Fields[i].Field);
    }
    EXPECT_EQ(NMEA0183_Map(33).Fields.at(1).Field, "Heading, degrees True [character]");
}

TEST(NmeaCatalogue, SentenceLookups)
{
    struct Case {
        const char* name;
        int index;
        bool offered;
    } cases[] = {
        {"GGA", 7, true},     {"gga", -1, false},       {" GGA", -1, false},
        {"BWC", 2, false},    {"ZDA", 1, true},         {"$PVRS", 57, true},
        {"$PJELA", 35, true}, {"PJELA", -1, false},     {"", -1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetIndexSentence(c.name), c.index) << c.name;
        EXPECT_EQ(Find_Sentence(c.name), c.index) << c.name;
        EXPECT_EQ(Get_Sentence(c.name), c.offered ? QString(c.name) : QString()) << c.name;
    }
    for (int i = 1; i <= NMEA0183_Sentence_Count; ++i)
        EXPECT_EQ(GetIndexSentence(NMEA0183_Sentence(i).Name), i);
}

TEST(NmeaCatalogue, FieldLookups)
{
    const QString gga1 = NMEA0183_Map(7).Fields.at(1).Field;
    EXPECT_EQ(GetIndexDataField(7, gga1.toUpper()), 1);
    EXPECT_EQ(GetIndexDataField(7, "UTC OF POSITION, MINUTES [DECIMAL]"), -1); // one blank
    EXPECT_EQ(GetIndexDataField(8, "UTC OF POSITION, MINUTES [DECIMAL]"), 7);
    EXPECT_EQ(GetIndexDataField(7, gga1), -1); // callers upper-case
    EXPECT_EQ(GetIndexDataField(7, ""), -1);
    for (int s : {2, 0, 58, -1})
        EXPECT_EQ(GetIndexDataField(s, "STATUS [CHARACTER]"), -1) << s;
    EXPECT_EQ(GetIndexDataField(57, "UNITS [CHARACTER]"), 5);

    EXPECT_EQ(Get_DataField(gga1, "GGA"), gga1);
    EXPECT_EQ(Get_DataField(gga1.toUpper(), "GGA"), "");
    EXPECT_EQ(Get_DataField(gga1 + " ", "GGA"), "");
    EXPECT_EQ(Get_DataField(gga1, "GLL"), "");
    EXPECT_EQ(Get_DataField(gga1, "gga"), "");
    EXPECT_EQ(Get_DataField("Status [character]", "BWC"), "");
}

TEST(NmeaCatalogue, PostOperationsAndChannels)
{
    ASSERT_EQ(Post_Operations().size(), 9);
    EXPECT_EQ(Post_Operations().at(4), ": 10000");
    struct Case {
        const char* text;
        int code;
        bool known;
    } cases[] = {{"None", 0, true},  {": 10", 1, true},    {"x 100", 6, true},
                 {"x 10000", 8, true}, {":10", 0, false},  {"x 100 ", 0, false},
                 {"X 100", 0, false}, {"", 0, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(GetIndexPostOperation(c.text), c.code) << c.text;
        EXPECT_EQ(Get_PostOperatin(c.text), c.known ? QString(c.text) : QString()) << c.text;
    }
    EXPECT_EQ(Serial_Channel_Names(), QStringList({"RS232", "RS485 / RS422", "RS485 2"}));
    EXPECT_EQ(Offered_Serial_Channels(), QStringList{"RS232"});
    EXPECT_EQ(Get_Serial_Channel("RS232"), "RS232");
    EXPECT_EQ(Get_Serial_Channel("RS485 / RS422"), "");
    EXPECT_EQ(Get_Serial_Channel("rs232"), "");
    EXPECT_EQ(Get_Serial_Channel("RS485 2", 7), "RS485 2");
}

TEST(NmeaCatalogue, IndexRanges)
{
    QList<int> capable;
    for (int i = 1; i <= NMEA0183_Sentence_Count; ++i)
        if (Index_Capable_Sentence(i))
            capable.append(i);
    EXPECT_EQ(capable, QList<int>({10, 34, 35, 41, 42, 43, 44, 45, 46, 47}));

    struct Case {
        int sentence, field;
        int max; // 0: the field does not use the Index
        int text;
    } cases[] = {
        {10, 0, 0, 0},  {10, 1, 9, Txt::Nmea_Index_1_9},   {10, 2, 0, 0},
        {10, 3, 36, Txt::Nmea_Index_1_36}, {10, 6, 36, Txt::Nmea_Index_1_36}, {10, 7, 0, 0},
        {10, -1, 0, 0}, {34, 3, 10, Txt::Nmea_Index_1_10}, {34, -1, 10, Txt::Nmea_Index_1_10},
        {35, 0, 50, Txt::Nmea_Index_1_50}, {41, 0, 32, Txt::Nmea_Index_1_32},
        {47, 0, 32, Txt::Nmea_Index_1_32}, {48, 0, 0, 0}, {7, 1, 0, 0},
    };
    for (const Case& c : cases) {
        const TIndex_Range* r = Index_Range(c.sentence, c.field);
        if (c.max == 0) {
            EXPECT_EQ(r, nullptr) << c.sentence << "/" << c.field;
            continue;
        }
        ASSERT_NE(r, nullptr) << c.sentence << "/" << c.field;
        EXPECT_EQ(r->Min, 1);
        EXPECT_EQ(r->Max, c.max) << c.sentence << "/" << c.field;
        EXPECT_EQ(r->Text, c.text) << c.sentence << "/" << c.field;
    }
}
