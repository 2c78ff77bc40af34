#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace swr {

class Texts;
struct FileResult;
struct TMQTT;

// The device's general parameters, a picture of exactly 2048 bytes that the firmware reads
// in place; its last 4 bytes are the byte sum of the others.
inline constexpr uint32_t Parameter_Bank_Size = 2048;
using Parameter_Bank_Bytes = std::array<uint8_t, Parameter_Bank_Size>;

// Writes the reset picture over the whole block (this clears MQTT_Bank_Address too).
void Clear_Parameter_Bank(Parameter_Bank_Bytes& bank);

// Fills Parameter_Bank and the broker, TLS and NTP fields of MQTT_Config from File_ParGen;
// a missing file leaves the reset values. Fails only when the file exists and cannot be
// loaded.
FileResult Read_Parameter_Bank(const Texts& texts, const QString& File_ParGen, Parameter_Bank_Bytes& Parameter_Bank,
                               TMQTT& MQTT_Config);

// Only the broker, TLS and NTP fields of m, from File_ParGen, as Read_Parameter_Bank
// fills them; a missing file leaves m as it is.
FileResult Read_MQTT_Parameters(const Texts& texts, const QString& File_ParGen, TMQTT& m);

// Stores the checksum, copies the 2048 bytes into buffer at position and returns the
// position after them. The buffer must hold them.
uint32_t Write_Parameter_Bank(Parameter_Bank_Bytes& bank, QByteArray& buffer, uint32_t position);

// The code of a listener row's serial channel, or -1 when the channel is unknown or its
// bit in flags (Serial_Enable_Flags) is clear. Names compare exactly.
int Serial_Channel_Code(const QString& name, uint8_t flags);

} // namespace swr
