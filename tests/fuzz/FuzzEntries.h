#pragma once

#include <cstddef>
#include <cstdint>

// One input through each reader; shared by the fuzz targets and the regression test that
// replays every input the fuzzers once found troublesome.
namespace swr::fuzz {

void ParGen_File(const uint8_t* data, size_t size);
void NMEA_Access_File(const uint8_t* data, size_t size);
void MQTT_Topic_File(const uint8_t* data, size_t size);
void Language_File(const uint8_t* data, size_t size);
// The input split at the byte 0x1E into ParGen.xml, NMEA_0183_Set_Access.xml and
// MQTT_Set_Topic.xml of a configuration folder, compiled and saved.
void Compile_Folder(const uint8_t* data, size_t size);
// Konstrel.xml read, written and read again.
void Settings_File(const uint8_t* data, size_t size);
// A CSV file read into the listener table and appended to the publish table; what was
// read is exported, and the export reads back to the same export. The same file read as a
// fleet's devices file, its values substituted, its devices' report read back.
void Table_Csv_File(const uint8_t* data, size_t size);

struct Entry {
    const char* name;
    void (*run)(const uint8_t*, size_t);
};
extern const Entry Entries[];
extern const int Entry_Count;

} // namespace swr::fuzz
