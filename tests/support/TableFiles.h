#pragma once

#include "TestSupport.h"

#include "project/mqtt/MqttTopics.h"
#include "project/nmea/NmeaAccess.h"

#include <gtest/gtest.h>

// Rows and files of the two table screens, for the tests of their CSV form.
namespace swr::test {

inline constexpr const char* Lat_Minutes = "Latitude, Minutes [floating point]"; // GGA, 4 bytes
inline constexpr const char* Gsv_Total = "Total number of sentences [decimal]"; // GSV, 1 byte

// An enabled listener row of the sentence and field at the position, post operation "None".
inline NMEA_Listener_Row Listener_Row(const QString& sentence, const QString& field, const QString& position)
{
    NMEA_Listener_Row r;
    r.Sentence = sentence;
    r.DataField = field;
    r.PortOperation = "None";
    r.Position = position;
    return r;
}

// The bytes the screen's OK writes for the table (saved as expected.xml in the folder).
inline QByteArray Saved_Bytes(const ProgramFolder& p, const NMEA_Listener_Table& t)
{
    EXPECT_TRUE(Save_NMEA_Access(p.st, p.path("expected.xml"), t).ok);
    return p.read("expected.xml");
}

inline QByteArray Saved_Bytes(const ProgramFolder& p, const MQTT_Topic_Table& m)
{
    EXPECT_TRUE(Save_MQTT_Topic(p.st, p.path("expected.xml"), m).ok);
    return p.read("expected.xml");
}

} // namespace swr::test
