#pragma once

// Indices of the string table used by name in the code. The texts themselves are in
// lang/DefaultTexts.cpp; a language file may replace any of them.
namespace swr::Txt {

inline constexpr int None_Configuration = 9;
inline constexpr int Use_Step1 = 10;
inline constexpr int Opened_Configuration = 11;
inline constexpr int Project_Not_Valid = 18;
inline constexpr int New_Version_Available = 19;

inline constexpr int New_Name_Invalid_Create = 105;
inline constexpr int New_Name_Exists = 106;
inline constexpr int New_Name_Empty = 107;

inline constexpr int Paste_Overwrite = 900;
inline constexpr int Paste_Bad_Copy = 901;
inline constexpr int Paste_No_Copy = 902;

// The NMEA 0183 access screen's data check.
inline constexpr int Nmea_Error_Row = 1033;
inline constexpr int Nmea_Data_Field_Missing = 1036;
inline constexpr int Nmea_Post_Operation_Missing = 1037;
inline constexpr int Nmea_Position_Range = 1038;
inline constexpr int Nmea_Index_1_10 = 1042;
inline constexpr int Nmea_Index_1_50 = 1043;
inline constexpr int Nmea_Index_1_36 = 1044;
inline constexpr int Nmea_Index_1_9 = 1045;
inline constexpr int Nmea_Index_1_32 = 1046;

// Texts this program added at indices the table left free.
inline constexpr int Xml_Not_Valid = 904;      // %1 file, %2 line, %3 column, %4 reason
inline constexpr int File_Not_Written = 905;   // %1 file, %2 reason
inline constexpr int File_Not_Read = 906;      // %1 file, %2 reason
inline constexpr int Waiting_For_Program = 907; // %1 program, %2 seconds
inline constexpr int Nmea_File_No_Listener = 1047; // %1 file
inline constexpr int Nmea_Rows_Not_Loaded = 1048;  // %1 file, %2 rows in it, %3 rows loaded

} // namespace swr::Txt
