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

// The bank compiler's messages, added by this program at indices the table left free.
inline constexpr int Compile_Error = 908;             // %1 file, %2 reason
inline constexpr int Compile_Element_Missing = 909;   // %1 element
inline constexpr int Compile_Attribute_Missing = 910; // %1 row, %2 attribute
inline constexpr int Compile_QoS_Not_Number = 911;    // %1 row, %2 value
inline constexpr int Compile_Too_Many_Rows = 912;     // %1 rows the bank holds
inline constexpr int Bank_Too_Large = 913;            // %1 bank file, %2 bytes, %3 limit
inline constexpr int Banks_Not_Compiled = 914;

inline constexpr int Paste_Overwrite = 900;
inline constexpr int Paste_Bad_Copy = 901;
inline constexpr int Paste_No_Copy = 902;

// Texts this program added at indices the table left free.
inline constexpr int Xml_Not_Valid = 904;      // %1 file, %2 line, %3 column, %4 reason
inline constexpr int File_Not_Written = 905;   // %1 file, %2 reason
inline constexpr int File_Not_Read = 906;      // %1 file, %2 reason
inline constexpr int Waiting_For_Program = 907; // %1 program, %2 seconds

} // namespace swr::Txt
