#pragma once

#include "compiler/ParameterBank.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace swr {

class Texts;
struct FileResult;

// One listener item of the device: which field of which NMEA 0183 sentence to take and at
// which byte of the data area to store it.
struct TNMEA_Listener_Item {
    uint16_t Sentence_Index = 0;
    uint16_t Position = 0;
    uint8_t Channel_Code = 0;
    uint8_t Field_Index = 0;
    uint8_t Post_Operation = 0;
    uint8_t Swap_Flags = 0;
    uint8_t Item_Index = 0;
};

inline constexpr int NMEA_Listener_Max = 128;
inline constexpr uint32_t NMEA_Listener_Item_Size = 12;
inline constexpr uint32_t NMEA_Listener_Bank_Size = NMEA_Listener_Max * NMEA_Listener_Item_Size;
using NMEA_Listener_Bank_Items = std::array<TNMEA_Listener_Item, NMEA_Listener_Max>;

// Sets all 128 items to zero.
void Clear_NMEA_Listener(NMEA_Listener_Bank_Items& items);

// Fills NMEA_Listener_Items from File_NMEA_Access, from item 0 up without gaps, and stores
// the count in Parameter_Bank. Needs the Serial_Enable_Flags that Read_Parameter_Bank
// stored there in the same compile.
FileResult Read_NMEA_Listener(const Texts& texts, const QString& File_NMEA_Access,
                              NMEA_Listener_Bank_Items& NMEA_Listener_Items, Parameter_Bank_Bytes& Parameter_Bank);

// Writes the 1536-byte bank at start and returns the offset after it. The buffer must
// hold it.
uint32_t Write_NMEA_Listener_Bank(const NMEA_Listener_Bank_Items& items, QByteArray& buffer,
                                  uint32_t start);

} // namespace swr
