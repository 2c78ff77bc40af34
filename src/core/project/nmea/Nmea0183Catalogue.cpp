// The built-in NMEA 0183 catalogue and its lookups. The table below is the device's
// vocabulary: a sentence's index, the order of its fields and the field texts must stay
// exactly as they are (doubled blanks included), since the device bank carries the
// indices and the project files carry the texts.
#include "project/nmea/Nmea0183Catalogue.h"

#include "base/TextHelpers.h"
#include "lang/Texts.h"

#include <QHash>

#include <array>
#include <span>

namespace swr {

namespace {

struct Raw_Field {
    const char* text; // UTF-8
    qint32 dimension;
};

struct Raw_Sentence {
    int index;
    const char* name;
    std::span<const Raw_Field> fields; // empty: the sentence is not enabled
};

// Field lists, one per enabled sentence; sentences that share a list point to the same one.
const Raw_Field F_ZDA[] = {
    {"hour [decimal]", 1},
    {"minutes [decimal]", 1},
    {"seconds [decimal]", 1},
    {"decimal-fraction of seconds [decimal]", 2},
    {"day [decimal]", 1},
    {"month [decimal]", 1},
    {"year [decimal]", 2},
    {"local zone hours [decimal +/-]", 1},
    {"local zone minutes [decimal]", 1},
};

const Raw_Field F_DBT[] = {
    {"Water depth, feet, Number [floating point]", 4},
    {"Water depth, feet, Unit [character]", 1},
    {"Water depth, meters, Number [floating point]", 4},
    {"Water depth, meters, Unit [character]", 1},
    {"Water depth, Fathoms, Number [floating point]", 4},
    {"Water depth, Fathoms, Unit [character]", 1},
};

const Raw_Field F_DPT[] = {
    {"Water depth relative to transducer, meters [floating point]", 4},
    {"Offset from transducer [floating point]", 4},
    {"Maximum range scale in use [floating point]", 4},
};

const Raw_Field F_GGA[] = {
    {"UTC of position, Hours [decimal]", 1},
    {"UTC of position, Minutes  [decimal]", 1},
    {"UTC of position, Seconds  [decimal]", 1},
    {"UTC of position, decimal-fraction of seconds [decimal]", 2},
    {"Latitude, Degrees [decimal]", 1},
    {"Latitude, Direction [character]", 1},
    {"Latitude, Minutes [floating point]", 4},
    {"Longitude, Degrees [decimal]", 1},
    {"Longitude, Direction [character]", 1},
    {"Longitude, Minutes [floating point]", 4},
    {"GPS Quality indicator [decimal]", 1},
    {"Number of satellites in use [decimal]", 1},
    {"Horizontal dilution of precision [floating point]", 4},
    {"Altitude re: mean-sea-level (geoid), Number [floating point]", 4},
    {"Altitude re: mean-sea-level (geoid), Unit [character]", 1},
    {"Geoidal separation, Number [floating point]", 4},
    {"Geoidal separation, Unit [character]", 1},
    {"Age of Differential GPS data [floating point]", 4},
    {"Differential reference station ID [decimal]", 2},
};

const Raw_Field F_GLL[] = {
    {"Latitude, Minutes [floating point]", 4},
    {"Latitude, Degrees [decimal]", 1},
    {"Latitude, Direction [character]", 1},
    {"Longitude, Minutes [floating point]", 4},
    {"Longitude, Degrees [decimal]", 1},
    {"Longitude, Direction [character]", 1},
    {"UTC of position, Hours [decimal]", 1},
    {"UTC of position, Minutes [decimal]", 1},
    {"UTC of position, Seconds [decimal]", 1},
    {"UTC of position, Decimal-fraction of seconds [decimal]", 2},
    {"Status [character]", 1},
    {"Mode Indicator [character]", 1},
};

const Raw_Field F_GSA[] = {
    {"Mode [character]", 1},
    {"Mode_1 [character]", 1},
    {"ID number of satellite 1 used in solution [decimal]", 1},
    {"ID number of satellite 2 used in solution [decimal]", 1},
    {"ID number of satellite 3 used in solution [decimal]", 1},
    {"ID number of satellite 4 used in solution [decimal]", 1},
    {"ID number of satellite 5 used in solution [decimal]", 1},
    {"ID number of satellite 6 used in solution [decimal]", 1},
    {"ID number of satellite 7 used in solution [decimal]", 1},
    {"ID number of satellite 8 used in solution [decimal]", 1},
    {"ID number of satellite 9 used in solution [decimal]", 1},
    {"ID number of satellite 10 used in solution [decimal]", 1},
    {"ID number of satellite 11 used in solution [decimal]", 1},
    {"ID number of satellite 12 used in solution [decimal]", 1},
    {"PDOP [floating point]", 4},
    {"HDOP [floating point]", 4},
    {"VDOP  [floating point]", 4},
    {"GNSS System ID [decimal]", 1},
};

const Raw_Field F_GSV[] = {
    {"Total number of sentences [decimal]", 1},
    {"Sentence number [decimal]", 1},
    {"Total number of satellites in view [decimal]", 1},
    {"Satellite ID number [decimal]", 1},
    {"Elevation, degrees, 90o maximum [decimal]", 1},
    {"Azimuth, degrees True, 000 to 359 [decimal]", 2},
    {"SNR (C/No) 00-99 dB-Hz, null when not tracking [decimal]", 1},
    {"Signal ID [decimal]", 1},
};

const Raw_Field F_HDG[] = {
    {"Magnetic sensor heading, degrees [floating point]", 4},
    {"Magnetic deviation, degrees,Number [floating point]", 4},
    {"Magnetic deviation, degrees, Unit [character]", 1},
    {"Magnetic variation, degrees, Number [floating point]", 4},
    {"Magnetic variation, degrees, Unit [character]", 1},
};

const Raw_Field F_HDT[] = {
    {"Heading, degrees True, Number [floating point]", 4},
    {"Heading, degrees True [character]", 1},
};

const Raw_Field F_MDA[] = {
    {"Barometric pressure, inches of mercury, Number [floating point]", 4},
    {"Barometric pressure, inches of mercury, Unit [character]", 1},
    {"Barometric pressure, bars, Number [floating point]", 4},
    {"Barometric pressure, bars, Unit [character]", 1},
    {"Air temperature, degrees C, Number [floating point]", 4},
    {"Air temperature, degrees C, Unit [character]", 1},
    {"Water temperature, degrees C, Number [floating point]", 4},
    {"Water temperature, degrees C, Unit [character]", 1},
    {"Relative humidity, percent [floating point]", 4},
    {"Absolute humidity, percent [floating point]", 4},
    {"Dew point, degrees C, Number [floating point]", 4},
    {"Dew point, degrees C, Unit [character]", 1},
    {"Wind direction, degrees True, Number [floating point]", 4},
    {"Wind direction, degrees True, Unit [character]", 1},
    {"Wind direction, degrees Magnetic, Number [floating point]", 4},
    {"Wind direction, degrees Magnetic, Unit [character]", 1},
    {"Wind speed, knots, Number [floating point]", 4},
    {"Wind speed, knots, Unit [character]", 1},
    {"Wind speed, meters/second, Number [floating point]", 4},
    {"Wind speed, meters/second, Unit [character]", 1},
};

const Raw_Field F_MTW[] = {
    {"Water temperature, Number [floating point]", 4},
    {"Water temperature, Unit [character]", 1},
};

const Raw_Field F_MWD[] = {
    {"Wind direction, 0 to 359 degrees True, Number", 4},
    {"Wind direction True, Unit", 1},
    {"Wind direction, 0 to 359 degrees Magnetic, Number", 4},
    {"Wind direction Magnetic, Unit", 1},
    {"Wind speed, knots, Number", 4},
    {"Wind speed, knots, Unit", 1},
    {"Wind speed, meters/second, Number", 4},
    {"Wind speed, meters/second, Unit", 1},
};

const Raw_Field F_MWV[] = {
    {"wind angle [floating point]", 4},
    {"reference [character]", 1},
    {"wind speed [floating point]", 4},
    {"wind speed units [character]", 1},
    {"status [character]", 1},
};

const Raw_Field F_RMC[] = {
    {"UTC of position, Hours [decimal]", 1},
    {"UTC of position, Minutes [decimal]", 1},
    {"UTC of position, Seconds [decimal]", 1},
    {"UTC of position, decimal-fraction of seconds [decimal]", 2},
    {"Status [character]", 1},
    {"Latitude, Degrees [decimal]", 1},
    {"Latitude, Direction [character]", 1},
    {"Latitude, Minutes [floating point]", 4},
    {"Longitude, Degrees [decimal]", 1},
    {"Longitude, Direction [character]", 1},
    {"Longitude, Minutes [floating point]", 4},
    {"Speed over ground, knots [floating point]", 4},
    {"Course Over Ground, degrees True [floating point]", 4},
    {"Date, Day [decimal]", 1},
    {"Date, Month [decimal]", 1},
    {"Date, Year [decimal]", 2},
    {"Magnetic variation, degrees, Number [floating point]", 4},
    {"Magnetic variation, degrees, Unit [character]", 1},
    {"Mode Indicator [character]", 1},
    {"Navigational status [character]", 1},
};

const Raw_Field F_ROT[] = {
    {"Rate of turn, degrees/minute, Number [floating point]", 4},
    {"Status [character]", 1},
};

const Raw_Field F_RSA[] = {
    {"Starboard (or single) rudder sensor, Number [floating point]", 4},
    {"Starboard (or single) rudder sensor, Status [character]", 1},
    {"Port rudder sensor, Number [floating point]", 4},
    {"Port rudder sensor, Status [character]", 1},
};

const Raw_Field F_VBW[] = {
    {"Longitudinal water speed, knots, Number [floating point]", 4},
    {"Transverse water speed, knots, Number [floating point]", 4},
    {"Water speed, Status [character]", 1},
    {"Longitudinal ground speed, knots, Number [floating point]", 4},
    {"Transverse ground speed, knots, Number [floating point]", 4},
    {"Ground speed, Status [character]", 1},
    {"Stern transverse water speed, Number [floating point]", 4},
    {"Stern water speed, Status [character]", 1},
    {"Stern transverse ground speed, Number [floating point]", 4},
    {"Stern ground speed, Status [character]", 1},
};

const Raw_Field F_VHW[] = {
    {"Degress True, Number [floating point]", 4},
    {"Degress True, Unit [character]", 1},
    {"Degrees, Number [floating point]", 4},
    {"Degrees, Unit [character]", 1},
    {"Knots (speed of vessel relative to the water), Number [floating point]", 4},
    {"Knots (speed of vessel relative to the water), Unit [character]", 1},
    {"Kilometers (speed of vessel relative to the water), Number [floating point]", 4},
    {"Kilometers (speed of vessel relative to the water), Unit [character]", 1},
};

const Raw_Field F_VTG[] = {
    {"Course over ground, degrees True, Number [floating point]", 4},
    {"Course over ground, degrees True, Unit [character]", 1},
    {"Course over ground, degrees Magnetic, Number [floating point]", 4},
    {"Course over ground, degrees Magnetic, Unit [character]", 1},
    {"Speed over ground, knots, Number [floating point]", 4},
    {"Speed over ground, knots, Unit [character]", 1},
    {"Speed over ground, km/hr, Number [floating point]", 4},
    {"Speed over ground, km/hr, Unit [character]", 1},
    {"Mode Indicator [character]", 1},
};

const Raw_Field F_VWR[] = {
    {"Wind_Angle, Measured wind angle relative to the vessel, 0 to 180o, Number [floating point]", 4},
    {"Wind_Angle, left/right L/R of vessel heading, Unit [character]", 1},
    {"Wind speed, knots, Number [floating point]", 4},
    {"Wind speed, knots, Unit [character]", 1},
    {"Wind speed, meters/second, Number [floating point]", 4},
    {"Wind speed, meters/second, Unit [character]", 1},
    {"Wind speed, Km/h, Number [floating point]", 4},
    {"Wind speed, Km/h, Unit [character]", 1},
};

const Raw_Field F_XTE[] = {
    {"status 1 [character]", 1},
    {"status 2 [character]", 1},
    {"Magnitude of Cross-Track-Error [floating point]", 4},
    {"direction to steer, L/R [character]", 1},
    {"units [character]", 1},
    {"mode Indicator [character]", 1},
};

const Raw_Field F_XDR[] = {
    {"Transducer type [character]", 1},
    {"Measurement data [floating point]", 4},
    {"Units of measure [character]", 1},
    {"Transducer ID [character string] (20 characters)", 20},
};

const Raw_Field F_PJELA[] = {
    {"Alarm [character]", 1},
};

const Raw_Field F_DBK[] = {
    {"Depth, feet, Number [floating point]", 4},
    {"Depth, feet, Unit [character]", 1},
    {"Depth, meters, Number [floating point]", 4},
    {"Depth, meters, Unit [character]", 1},
    {"Depth, Fathoms, Number [floating point]", 4},
    {"Depth, Fathoms, Unit [character]", 1},
};

const Raw_Field F_DTM[] = {
    {"Local datum code [string of 3 characters]", 3},
    {"Local datum subdivision code [character]", 1},
    {"Latitude offset, Minutes [floating point]", 4},
    {"Latitude, Direction [character]", 1},
    {"Longitude offset, Minutes [floating point]", 4},
    {"Longitude, Direction [character]", 1},
    {"Altitude offset, Meters [floating point]", 4},
    {"Reference datum code [string of 3 characters]", 3},
};

const Raw_Field F_VWT[] = {
    {"Calculated wind angle relative to the vessel, 0 to 180°, Number [floating point]", 4},
    {"Calculated left/right L/R of vessel heading, Unit [character]", 1},
    {"Calculated wind speed, knots, Number [floating point]", 4},
    {"Calculated wind speed, knots, Unit [character]", 1},
    {"Calculated wind speed, meters/second, Number [floating point]", 4},
    {"Calculated wind speed, meters/second, Unit [character]", 1},
    {"Calculated wind speed, Km/h, Number [floating point]", 4},
    {"Calculated wind speed, Km/h, Unit [character]", 1},
};

const Raw_Field F_PJELC[] = {
    {"Feedback angle, Number [floating point]", 4},
    {"Command angle, Number [floating point]", 4},
    {"Directional solenoid current, Number [floating point]", 4},
    {"Speed solenoid status, Status [character]", 1},
    {"Helm bypass solenoid status, Status [character]", 1},
    {"Helm limit solenoid status, Status [character]", 1},
};

const Raw_Field F_VTHA0[] = {
    {"Alarm, Value [decimal]", 1},
};

const Raw_Field F_VTHC0[] = {
    {"Position command, Number [decimal]", 2},
    {"RPM command (lever), Number [decimal]", 1},
    {"Throttle direction command, Number [decimal]", 1},
    {"Throttle state, Number [decimal]", 1},
    {"Number, Number [decimal]", 1},
    {"RPM output (diesel), Number [decimal]", 1},
    {"RPM output (electric), Number [decimal]", 1},
    {"LOAD output (electric), Number [decimal]", 1},
};

const Raw_Field F_VTHC1[] = {
    {"Control type, Number [decimal]", 1},
    {"Throttle control position, Number [decimal]", 1},
    {"Azimuth control position, Number [decimal]", 1},
};

const Raw_Field F_VTHF0[] = {
    {"Position feedback, Number [decimal]", 2},
    {"RPM feedback Engine, Number [decimal]", 2},
    {"RPM feedback Shaft, Number [decimal]", 2},
    {"Engine coolant temp, Number [decimal]", 1},
    {"Engine oil Pressure, Number [floating point]", 4},
    {"Engine load, Number [decimal]", 1},
    {"Electric load, Number [decimal]", 1},
    {"General alarm, Value [decimal]", 1},
    {"Engine alarm, Value [decimal]", 1},
    {"Alarm buzzer, Value [decimal]", 1},
    {"Throttle direction feedback, Value [decimal]", 1},
};

const Raw_Field F_VTHF1[] = {
    {"Steering oil pressure, Number [floating point]", 4},
    {"Clutch oil pressure, Number [floating point]", 4},
    {"Gearbox lub oil pressure, Number [floating point]", 4},
    {"Steering oil temperature 1, Number [floating point]", 4},
    {"Steering oil temperature 2, Number [floating point]", 4},
    {"Gearbox lub oil temperature, Number [floating point]", 4},
    {"Primary voltage, Number [floating point]", 4},
    {"Secondary voltage, Value [floating point]", 4},
};

const Raw_Field F_PSTKTSX5[] = {
    {"Speed, rev/min, Number [floating point]", 4},
    {"Torque, kNm, Number [decimal]", 2},
    {"Thrust, kNm, Number [decimal]", 2},
    {"Power, kW, Number [decimal]", 4},
};

const Raw_Field F_PRDID[] = {
    {"Pitch in degrees (positive bow up), Number [floating point]", 4},
    {"Roll in degrees (positive bow up), Number [floating point]", 4},
    {"True heading in degrees, Number [floating point]", 4},
};

const Raw_Field F_PSONCMS[] = {
    {"Q0 from quaternions, Number [floating point]", 4},
    {"Q1 from quaternions, Number [floating point]", 4},
    {"Q2 from quaternions, Number [floating point]", 4},
    {"Q3 from quaternions, Number [floating point]", 4},
    {"Acceleration X in m/s2, Number [floating point]", 4},
    {"Acceleration Y in m/s2, Number [floating point]", 4},
    {"Acceleration Z in m/s2, Number [floating point]", 4},
    {"Rate of turn X in rad/s, Number [floating point]", 4},
    {"Rate of turn Y in rad/s, Number [floating point]", 4},
    {"Rate of turn Z in rad/s, Number [floating point]", 4},
    {"Magnetic field X in a.u., Number [floating point]", 4},
    {"Magnetic field Y in a.u., Number [floating point]", 4},
    {"Magnetic field Z in a.u., Number [floating point]", 4},
    {"Sensor temperature in degrees Celsius, Number [floating point]", 4},
};

const Raw_Field F_PRRS[] = {
    {"Message number [decimal]", 2},
    {"Pitch command for port propeller, set value [floating point]", 4},
    {"Pitch response for port propeller, actual value [floating point]", 4},
    {"Rpm command for port propeller, set value [floating point]", 4},
    {"Rpm response for port propeller, actual value [floating point]", 4},
    {"Status word 1 (port propeller) [decimal]", 2},
    {"Lever command for port propeller, set value [floating point]", 4},
    {"Port propeller shaft torque [floating point]", 4},
    {"All available Propeller SHAFTs - SHAFT POWER [floating point]", 4},
    {"Not used, always 0 (1) [floating point]", 4},
    {"Not used, always 0 (2) [floating point]", 4},
    {"Not used, always 0 (3) [decimal]", 2},
};

const Raw_Field F_PVTM0[] = {
    {"Station ID [decimal]", 1},
    {"Date, day [decimal]", 1},
    {"Date, month [decimal]", 1},
    {"Date, year [decimal]", 2},
    {"Time, hour [decimal]", 1},
    {"Time, minutes [decimal]", 1},
    {"Time, seconds [decimal]", 1},
    {"Tide height [floating point]", 4},
    {"Tide height stdev [floating point]", 4},
    {"Tide height units [character]", 1},
    {"Battery voltage [floating point]", 4},
    {"Status [decimal]", 2},
};

const Raw_Field F_PVRS[] = {
    {"Station ID [decimal]", 1},
    {"Range [floating point]", 4},
    {"Level [floating point]", 4},
    {"Standard deviation [floating point]", 4},
    {"Status [decimal]", 2},
    {"Units [character]", 1},
};

// All 57 sentences by index.
const Raw_Sentence Raw_Sentences[NMEA0183_Sentence_Count] = {
    {1, "ZDA", F_ZDA},
    {2, "BWC", {}},
    {3, "BWR", {}},
    {4, "DBT", F_DBT},
    {5, "DPT", F_DPT},
    {6, "DSC", {}},
    {7, "GGA", F_GGA},
    {8, "GLL", F_GLL},
    {9, "GSA", F_GSA},
    {10, "GSV", F_GSV},
    {11, "HDG", F_HDG},
    {12, "HDM", {}},
    {13, "HDT", F_HDT},
    {14, "HSC", {}},
    {15, "MDA", F_MDA},
    {16, "MTW", F_MTW},
    {17, "MWD", F_MWD},
    {18, "MWV", F_MWV},
    {19, "RMB", {}},
    {20, "RMC", F_RMC},
    {21, "ROT", F_ROT},
    {22, "RPM", {}},
    {23, "RSA", F_RSA},
    {24, "VBW", F_VBW},
    {25, "VDM", {}},
    {26, "VDO", {}},
    {27, "VDR", {}},
    {28, "VHW", F_VHW},
    {29, "VLW", {}},
    {30, "VTG", F_VTG},
    {31, "VWR", F_VWR},
    {32, "XTE", F_XTE},
    {33, "THS", F_HDT},
    {34, "XDR", F_XDR},
    {35, "$PJELA", F_PJELA},
    {36, "DBK", F_DBK},
    {37, "DBS", F_DBK},
    {38, "DTM", F_DTM},
    {39, "VWT", F_VWT},
    {40, "$PJELC", F_PJELC},
    {41, "$VTHA0", F_VTHA0},
    {42, "$VTHA1", F_VTHA0},
    {43, "$VTHA2", F_VTHA0},
    {44, "$VTHA3", F_VTHA0},
    {45, "$VTHA4", F_VTHA0},
    {46, "$VTHA5", F_VTHA0},
    {47, "$VTHS0", F_VTHA0},
    {48, "$VTHC0", F_VTHC0},
    {49, "$VTHC1", F_VTHC1},
    {50, "$VTHF0", F_VTHF0},
    {51, "$VTHF1", F_VTHF1},
    {52, "$PSTKTSX5", F_PSTKTSX5},
    {53, "$PRDID", F_PRDID},
    {54, "$PSONCMS", F_PSONCMS},
    {55, "$PRRS", F_PRRS},
    {56, "$PVTM0", F_PVTM0},
    {57, "$PVRS", F_PVRS},
};

const char* const Post_Operation_Texts[] = {
    "None", ": 10", ": 100", ": 1000", ": 10000", "x 10", "x 100", "x 1000", "x 10000",
};

const char* const Serial_Channel_Texts[] = {"RS232", "RS485 / RS422", "RS485 2"};

// Sentences whose rows carry an Index, and for which fields (bit n: field n).
constexpr quint32 All_Fields = 0xFFFFFFFFu;
struct Index_Use {
    int first_sentence;
    int last_sentence;
    quint32 fields;
    TIndex_Range range;
};
const Index_Use Index_Uses[] = {
    {10, 10, 1u << 1, {1, 9, Txt::Nmea_Index_1_9}},     // GSV sentence number
    {10, 10, 0xFu << 3, {1, 36, Txt::Nmea_Index_1_36}}, // GSV satellite ID .. SNR
    {34, 34, All_Fields, {1, 10, Txt::Nmea_Index_1_10}},
    {35, 35, All_Fields, {1, 50, Txt::Nmea_Index_1_50}},
    {41, 47, All_Fields, {1, 32, Txt::Nmea_Index_1_32}},
};

QStringList To_List(std::span<const char* const> texts)
{
    QStringList l;
    for (const char* t : texts)
        l.append(QString::fromUtf8(t));
    return l;
}

struct Catalogue {
    // Slot 0 stays empty so that records are addressed by sentence index.
    std::array<TNMEA0183_Sentence, NMEA0183_Sentence_Count + 1> sentences;
    std::array<TMNEA0183_Map, NMEA0183_Sentence_Count + 1> maps;
    std::array<QStringList, NMEA0183_Sentence_Count + 1> fields;       // texts as they are
    std::array<QStringList, NMEA0183_Sentence_Count + 1> upper_fields; // upper-cased, trimmed
    QHash<QString, int> by_name;
    QStringList post_operations = To_List(Post_Operation_Texts);
    QStringList serial_channels = To_List(Serial_Channel_Texts);

    Catalogue()
    {
        for (const Raw_Sentence& s : Raw_Sentences) {
            TNMEA0183_Sentence& rec = sentences[size_t(s.index)];
            rec.Name = QString::fromUtf8(s.name);
            rec.Enabled = !s.fields.empty();
            if (!by_name.contains(rec.Name)) // the first of equal names wins
                by_name.insert(rec.Name, s.index);
            for (const Raw_Field& f : s.fields) {
                const QString text = QString::fromUtf8(f.text);
                maps[size_t(s.index)].Fields.append(TFieldSentence{text, f.dimension});
                fields[size_t(s.index)].append(text);
                upper_fields[size_t(s.index)].append(Trim_Control(text.toUpper()));
            }
        }
    }
};

const Catalogue& Cat()
{
    static const Catalogue c;
    return c;
}

bool In_Range(int Ind_Sent)
{
    return Ind_Sent >= 1 && Ind_Sent <= NMEA0183_Sentence_Count;
}

size_t Slot(int Ind_Sent)
{
    return In_Range(Ind_Sent) ? size_t(Ind_Sent) : 0;
}

// text when it is one of list, else empty.
QString Member_Or_Empty(const QStringList& list, const QString& text)
{
    return list.contains(text) ? text : QString();
}

} // namespace

void Init_NMEA0183_Map()
{
    Cat();
}

const TNMEA0183_Sentence& NMEA0183_Sentence(int Ind_Sent)
{
    return Cat().sentences[Slot(Ind_Sent)];
}

const TMNEA0183_Map& NMEA0183_Map(int Ind_Sent)
{
    return Cat().maps[Slot(Ind_Sent)];
}

int GetIndexSentence(const QString& Sentence)
{
    return Cat().by_name.value(Sentence, -1);
}

int Find_Sentence(const QString& Sentence)
{
    return GetIndexSentence(Sentence);
}

QString Get_Sentence(const QString& Sentence)
{
    return NMEA0183_Sentence(GetIndexSentence(Sentence)).Enabled ? Sentence : QString();
}

int GetIndexDataField(int Ind_Sent, const QString& DataField)
{
    if (!In_Range(Ind_Sent))
        return -1;
    return int(Cat().upper_fields[size_t(Ind_Sent)].indexOf(DataField));
}

QString Get_DataField(const QString& DataField, const QString& Sentence)
{
    const int s = GetIndexSentence(Sentence);
    if (!In_Range(s))
        return {};
    return Member_Or_Empty(Cat().fields[size_t(s)], DataField);
}

const QStringList& Post_Operations()
{
    return Cat().post_operations;
}

int GetIndexPostOperation(const QString& PostOpe)
{
    return int(qMax<qsizetype>(0, Post_Operations().indexOf(PostOpe)));
}

QString Get_PostOperatin(const QString& PostOpe)
{
    return Member_Or_Empty(Post_Operations(), PostOpe);
}

const QStringList& Serial_Channel_Names()
{
    return Cat().serial_channels;
}

QStringList Offered_Serial_Channels(int Enable_Serial)
{
    QStringList l;
    for (int code = 0; code < Serial_Channel_Names().size(); ++code)
        if (Enable_Serial & (1 << code))
            l.append(Serial_Channel_Names().at(code));
    return l;
}

QString Get_Serial_Channel(const QString& Ser_Chan, int Enable_Serial)
{
    return Member_Or_Empty(Offered_Serial_Channels(Enable_Serial), Ser_Chan);
}

QStringList Enabled_Sentence_Names()
{
    QStringList l;
    for (int i = 1; i <= NMEA0183_Sentence_Count; ++i)
        if (NMEA0183_Sentence(i).Enabled)
            l.append(NMEA0183_Sentence(i).Name);
    return l;
}

bool Index_Capable_Sentence(int Ind_Sent)
{
    for (const Index_Use& u : Index_Uses)
        if (Ind_Sent >= u.first_sentence && Ind_Sent <= u.last_sentence)
            return true;
    return false;
}

const TIndex_Range* Index_Range(int Ind_Sent, int Field_Index)
{
    for (const Index_Use& u : Index_Uses) {
        if (Ind_Sent < u.first_sentence || Ind_Sent > u.last_sentence)
            continue;
        if (u.fields == All_Fields
            || (Field_Index >= 0 && Field_Index < 32 && ((u.fields >> Field_Index) & 1u)))
            return &u.range;
    }
    return nullptr;
}

QString Sentences_Listing()
{
    QString out;
    const QChar tab = QLatin1Char('\t');
    for (int i = 1; i <= NMEA0183_Sentence_Count; ++i) {
        const QString head = QString::number(i) + tab + NMEA0183_Sentence(i).Name;
        const QList<TFieldSentence>& fields = NMEA0183_Map(i).Fields;
        if (fields.isEmpty())
            out += head + QLatin1Char('\n');
        for (qsizetype f = 0; f < fields.size(); ++f)
            out += head + tab + QString::number(f) + tab + QString::number(fields[f].Dimension)
                   + tab + fields[f].Field + QLatin1Char('\n');
    }
    return out;
}

} // namespace swr
