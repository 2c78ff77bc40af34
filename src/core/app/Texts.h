#pragma once

// Indices of the string table used by name in the code. The texts themselves are in
// lang/DefaultTexts.cpp; a language file may replace any of them.
namespace swr::Txt {

inline constexpr int None_Configuration = 9;
inline constexpr int Use_Step1 = 10;
inline constexpr int Opened_Configuration = 11;
inline constexpr int Project_Not_Valid = 18;
inline constexpr int New_Version_Available = 19;
// Shown by the software options while the manual version check runs.
inline constexpr int Version_Checking = 322;

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
inline constexpr int Banks_Written = 915;
inline constexpr int Bank_File_Line = 916;    // %1 file, %2 bytes
// The update dialog's check of the device.
inline constexpr int Device_Not_Found = 836;
inline constexpr int Check_IP_Address = 837;

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
inline constexpr int Folder_Not_Replaced = 920; // %1 folder, %2 reason
inline constexpr int Waiting_For_Program = 907; // %1 program, %2 seconds
inline constexpr int Updater_Not_Started = 838;  // followed by the program's path
inline constexpr int Echo_Not_Permitted = 839;
inline constexpr int Nmea_File_No_Listener = 1047; // %1 file
inline constexpr int Nmea_Rows_Not_Loaded = 1048;  // %1 file, %2 rows in it, %3 rows loaded
inline constexpr int Nmea_Overlap = 1049;          // %1 first byte, %2 last byte, %3 other row
inline constexpr int Nmea_Status = 1050;           // %1 rows in use, %2 bytes filled, %3 area, %4 next free

// MQTT topic file and its data check. Each kind of row has its run of check texts:
// data type, dimension for "INT", for "FLOAT", for any other type, position, template.
inline constexpr int MQTT_Error_Row = 1351;
inline constexpr int MQTT_Pub_Data_Type = 1352; // 1353..1356 follow
inline constexpr int MQTT_Sub_Data_Type = 1357; // 1358..1361 follow
inline constexpr int MQTT_Pub_Template = 1378;
inline constexpr int MQTT_Sub_Template = 1380;
inline constexpr int MQTT_Pub_Time = 1389;
inline constexpr int MQTT_Rows_Not_Loaded = 1399;  // %1 file, %2 rows in the file, %3 rows loaded
inline constexpr int MQTT_Root_Not_Element = 1475; // %1 file
inline constexpr int MQTT_Element_Missing = 1476;  // %1 file, %2 element
inline constexpr int MQTT_Attribute_Missing = 1477; // %1 file, %2 row, %3 element, %4 attribute
inline constexpr int MQTT_Pub_Topic_Missing = 1478; // a filled publish row without a Topic
// A warning: a rule whose QoS is no number passes the check, but Update Device refuses it.
inline constexpr int MQTT_Pub_QoS_Not_Chosen = 1484; // %1 row
// The topic screen's status line (its row warnings are the data-area map's).
inline constexpr int MQTT_Rules_In_Use = 1481;     // %1 rules, %2 rows
inline constexpr int MQTT_Bank_Bytes = 1482;       // %1 bytes, %2 limit
inline constexpr int MQTT_Bank_Too_Large = 1483;   // %1 bytes, %2 limit

// The data-area map, its window and the question of Update Device.
inline constexpr int Map_Button = 1160;         // 1161 its hint
inline constexpr int Map_Title = 1162;
inline constexpr int Map_Overlap = 1163;        // %1 %2 rows, %3 first byte, %4 last byte
inline constexpr int Map_Unfilled = 1164;       // %1 rule, %2 %3 bytes read, %4 bytes not filled
inline constexpr int Map_Across = 1165;         // %1 rule, %2 %3 bytes read, %4 row, %5 %6 its field
inline constexpr int Map_Part = 1166;           // as Map_Across
inline constexpr int Map_Dimension = 1167;      // %1 rule, %2 its bytes, %3 byte, %4 row, %5 its bytes
inline constexpr int Map_Not_Published = 1168;  // %1 row, %2 first byte, %3 last byte
inline constexpr int Map_Question = 1169;       // then the warnings, then 1183
inline constexpr int Map_More = 1170;           // %1 warnings not listed
inline constexpr int Map_Legend = 1171;         // 1172..1175 follow, in Byte_State order
inline constexpr int Map_Byte = 1176;           // %1 byte
inline constexpr int Map_Byte_Listener = 1177;  // %1 row, %2 sentence, %3 field, %4 bytes
inline constexpr int Map_Byte_Rule = 1178;      // %1 rule, %2 topic, %3 data type, %4 bytes
inline constexpr int Map_Findings = 1179;
inline constexpr int Map_No_Findings = 1180;
inline constexpr int Map_Close = 1181;          // 1182 its hint
inline constexpr int Map_Continue = 1183;

// Topic and template editor.
inline constexpr int Topic_Editor_Caption = 1400;    // 1401 for a template
inline constexpr int Topic_Editor_Label = 1402;      // 1403 for a template
inline constexpr int Topic_Editor_List = 1404;
inline constexpr int Topic_Editor_Keyword = 1405;
inline constexpr int Topic_Editor_Description = 1406;
inline constexpr int Topic_Editor_OK = 1407;
inline constexpr int Topic_Editor_Cancel = 1408;

} // namespace swr::Txt
