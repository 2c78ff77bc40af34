#include "project/DataArea.h"
#include "project/nmea/NmeaAccess.h"

#include <gtest/gtest.h>

using namespace swr;

namespace {

NMEA_Listener_Row Row(const char* sentence, const char* field, const char* position, bool enable = true)
{
    NMEA_Listener_Row r;
    r.Enable = enable;
    r.Sentence = QString::fromUtf8(sentence);
    r.DataField = QString::fromUtf8(field);
    r.Position = QString::fromUtf8(position);
    r.PortOperation = QStringLiteral("None");
    return r;
}

} // namespace

TEST(DataArea, ListenerUsesAreTheRowsThatCompile)
{
    NMEA_Listener_Table t;
    t.row(1) = Row("GGA", "UTC of position, Hours [decimal]", "1");                // 1 byte
    t.row(2) = Row("GGA", "Latitude, Degrees [decimal]", "0", false);               // disabled
    t.row(3) = Row(" gga ", " utc of position, hours [decimal] ", " 7 ");           // as the compiler reads it
    t.row(4) = Row("BWC", "x", "9");                                                  // not enabled in the catalogue
    t.row(5) = Row("GGA", "not a field", "9");
    t.row(6) = Row("GGA", "UTC of position, Hours [decimal]", "2000");             // outside the area
    t.row(7) = Row("GGA", "UTC of position, Hours [decimal]", "x");                // compiled at 0
    t.row(9) = Row("RMC", "Speed over ground, knots [floating point]", "1999");    // 4 bytes, spills over
    const QList<Data_Area_Use> uses = Listener_Uses(t);
    ASSERT_EQ(uses.size(), 4);
    EXPECT_EQ(uses[0], (Data_Area_Use{Data_Area_User::Listener, 1, 1, 1}));
    EXPECT_EQ(uses[1], (Data_Area_Use{Data_Area_User::Listener, 3, 7, 1}));
    EXPECT_EQ(uses[2], (Data_Area_Use{Data_Area_User::Listener, 7, 0, 1}));
    EXPECT_EQ(uses[3].row, 9);
    EXPECT_EQ(uses[3].Dimension, 4);
    EXPECT_EQ(Bytes_Filled(uses), 4); // the spill past the area is not counted
    EXPECT_EQ(Next_Free_Position(uses), 2003);
    EXPECT_EQ(Next_Free_Position({}), 0);
}

TEST(DataArea, OverlapsAndBytesFilled)
{
    using U = Data_Area_Use;
    const auto L = Data_Area_User::Listener;
    const QList<U> uses = {
        {L, 1, 0, 4},  // 0..3
        {L, 2, 4, 1},  // 4: touches row 1 only at its end, no overlap
        {L, 3, 3, 2},  // 3..4: overlaps rows 1 and 2
        {L, 5, 10, 20}, // 10..29
        {L, 6, 29, 1}, // 29: inside row 5
    };
    EXPECT_EQ(Find_Overlaps(uses), (QList<Data_Area_Overlap>{{0, 2}, {1, 2}, {3, 4}}));
    EXPECT_EQ(Bytes_Filled(uses), 5 + 20);
    EXPECT_EQ(Uses_Touching(uses, 4, 7), (QList<int>{1, 2, 3}));
    EXPECT_EQ(Uses_Touching(uses, 30, 4), (QList<int>{}));
    EXPECT_EQ(Next_Free_Position(uses), 30);
}

TEST(DataArea, WhatAPublishRuleReads)
{
    const auto L = Data_Area_User::Listener;
    const QList<Data_Area_Use> uses = {{L, 1, 0, 4}, {L, 2, 4, 1}, {L, 4, 8, 8}};
    const struct {
        int position, dimension;
        int unfilled, first_unfilled, partial;
    } cases[] = {
        {0, 4, 0, -1, -1},  // exactly row 1's field
        {0, 5, 0, -1, -1},  // rows 1 and 2 whole
        {2, 2, 0, -1, 0},   // the second half of row 1
        {4, 4, 3, 5, -1},   // row 2, then bytes 5..7 nobody fills
        {6, 4, 2, 6, 2},    // 6, 7 unfilled, then the start of row 4's field
        {100, 1, 1, 100, -1},
    };
    for (const auto& c : cases) {
        const Publish_Read r = Find_Publish_Read(uses, c.position, c.dimension);
        EXPECT_EQ(r.unfilled, c.unfilled) << c.position;
        EXPECT_EQ(r.first_unfilled, c.first_unfilled) << c.position;
        EXPECT_EQ(r.partial, c.partial) << c.position;
    }
}
