#pragma once

#include "project/RowValues.h"

#include <cstdint>

namespace swr {

// A publish rule of the topic file as the compiler takes it into the MQTT bank. The
// compiler, its size estimate, the data-area map and the live monitor read rules here,
// so that what they show is what the device publishes.

enum class Publish_Attr { Topic, Retained, QoS, DataType, Dimension, Position, Template, OnChange, OnTimer, Time, Mnemonic, Count };
using Publish_Values = Row_Values<Publish_Attr>;
inline constexpr Publish_Values::Names Publish_Attributes{
    "Topic", "Retained", "QoS", "DataType", "Dimension", "Position", "Template", "OnChange", "OnTimer", "Time", "Mnemonic"};

inline Publish_Values Read_Publish_Values(const pugi::xml_node& row)
{
    return {row, Publish_Attributes};
}

struct Publish_As_Compiled {
    QString Topic;          // without CR and LF
    bool Retained = false;
    int QoS = 0;
    bool OnChange = false;
    bool OnTimer = false;
    uint32_t Timer = 0;     // the Time in ms when OnTimer, else 0
    uint16_t Type_Data = 0; // Data_Type_Code of the DataType
    uint16_t Length = 4;    // the Dimension: bytes read from the data area
    uint32_t Position = 0;  // the first of them
    QString Template;       // without CR and LF; "$VALUE$" when the rule has none
    QString Mnemonic;
    // Why the compiler refuses the rule, every value above being read even then: the
    // first required attribute the rule lacks (Topic, Retained, QoS, Mnemonic), or else
    // a QoS that is no number.
    const char* missing = nullptr;
    bool QoS_Is_Number = true;
};

Publish_As_Compiled Read_Publish(const Publish_Values& v);

// Only the bytes the rule reads, as Read_Publish gives them: Position and Length.
struct Publish_Bytes {
    uint32_t Position = 0;
    uint16_t Length = 4;
};
Publish_Bytes Read_Publish_Bytes(const Publish_Values& v);

// Where the topic screen reads a value in its own way, both readings stand here.
//
// The flags Retained, OnChange and OnTimer. The compiler's (Compiled_Yes): "Y" in either
// case and nothing else, so " Y" and "Y " are not set. The screen's check (Checked_Yes)
// trims blanks and control characters first: for it " Y" is set and the rule's Time is
// checked, though the device never publishes that rule on timer.
bool Compiled_Yes(QAnyStringView flag);
bool Checked_Yes(const QString& flag);
//
// Dimension, Position and Time. The compiler's: trimmed, and the fallback (4, 0, 0) when
// they do not read as a number; Dimension and Position are then cut to their widths
// (16 and 32 bits). The check's: the whole text, blanks included, must read as a number
// in range (Decimal_Whole_Or in Check_Row).

// Removes every CR and every LF.
QString Strip_CRLF(const QString& text);

// The publish data type code of a DataType text: STRING 0, INT 1, FLOAT 2, BASE64 3,
// anything else 0; blanks around it and letter case do not count.
uint16_t Data_Type_Code(const QString& text);

} // namespace swr
