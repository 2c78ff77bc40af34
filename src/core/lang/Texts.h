#pragma once

#include <cstddef>

// The names of the string table: every index the code reaches by name, in one list. The
// texts themselves are in lang/DefaultTexts.cpp; a language file may replace any of them.
// The build fails when two names share an index or a name lies outside the table.
namespace swr {

// Number of entries of the string table; a language file replaces entries, never adds any.
inline constexpr int Lang_Count = 1600;

// TEXT(name, index) names one text. RUN(name, index, count) names the first of count texts
// that the code reaches by offset from it; no other name may fall inside the run. Texts
// that follow a name in order and have names of their own are plain TEXTs. Comments give
// what the code fills in for %n.
#define SWR_TEXT_NAMES(TEXT, RUN)                                                                  \
    /* The main window and the configuration dialogs. */                                           \
    TEXT(None_Configuration, 9)                                                                    \
    TEXT(Use_Step1, 10)                                                                            \
    TEXT(Opened_Configuration, 11)                                                                 \
    TEXT(Project_Not_Valid, 18)                                                                    \
    TEXT(New_Version_Available, 19)                                                                \
    TEXT(New_Config_Title, 100)                                                                    \
    TEXT(New_Config_Description, 101)                                                              \
    TEXT(New_Name_Invalid_Create, 105)                                                             \
    TEXT(New_Name_Exists, 106)                                                                     \
    TEXT(New_Name_Empty, 107)                                                                      \
    TEXT(Open_Config_Title, 200)                                                                   \
    TEXT(Open_Config_Description, 201)                                                             \
    /* The software options. */                                                                    \
    TEXT(Options_Title, 300)                                                                       \
    TEXT(Options_Description, 301)                                                                 \
    TEXT(Selected_Language, 304)      /* followed by the language */                               \
    TEXT(Language_Page, 305)          /* followed by the page */                                   \
    TEXT(Language_Page_Of, 306)       /* followed by the page count */                             \
    TEXT(Options_New_Version, 314)                                                                 \
    TEXT(Options_No_Update, 315)                                                                   \
    TEXT(Change_Language, 316)        /* followed by the language in use */                        \
    TEXT(Change_Language_To, 317)     /* followed by the new language */                           \
    TEXT(Change_Language_End, 318)                                                                 \
    TEXT(Version_Checking, 322)       /* while the manual version check runs */                    \
    /* Set Communication. */                                                                       \
    TEXT(ParGen_Title, 400)                                                                        \
    TEXT(ParGen_Description, 401)                                                                  \
    TEXT(ParGen_OK, 402)                                                                           \
    TEXT(ParGen_Cancel, 403)                                                                       \
    TEXT(ParGen_OK_Hint, 404)                                                                      \
    TEXT(ParGen_Cancel_Hint, 405)                                                                  \
    TEXT(ParGen_Exit_Unsaved, 469)                                                                 \
    /* The update dialog and its check of the device. */                                           \
    TEXT(Update_Title, 802)                                                                        \
    TEXT(Update_Description, 803)                                                                  \
    RUN(Update_Options, 815, 3)       /* the options, in the order of the job's options */         \
    RUN(Update_IP_Hints, 821, 4)      /* the hints of the four address fields */                   \
    TEXT(Device_Not_Found, 836)                                                                    \
    TEXT(Check_IP_Address, 837)                                                                    \
    TEXT(Updater_Not_Started, 838)    /* followed by the program's path */                         \
    TEXT(Echo_Not_Permitted, 839)                                                                  \
    /* Texts this program added at indices the table left free. */                                 \
    TEXT(Paste_Overwrite, 900)                                                                     \
    TEXT(Paste_Bad_Copy, 901)                                                                      \
    TEXT(Paste_No_Copy, 902)                                                                       \
    TEXT(Xml_Not_Valid, 904)          /* %1 file, %2 line, %3 column, %4 reason */                 \
    TEXT(File_Not_Written, 905)       /* %1 file, %2 reason */                                     \
    TEXT(File_Not_Read, 906)          /* %1 file, %2 reason */                                     \
    TEXT(Waiting_For_Program, 907)    /* %1 program, %2 seconds */                                 \
    TEXT(Folder_Not_Replaced, 920)    /* %1 folder, %2 reason */                                   \
    /* The installed program's menu entry; what an update needs on this computer. */               \
    TEXT(Menu_Name, 921)                                                                           \
    TEXT(Menu_Generic_Name, 922)                                                                   \
    TEXT(Menu_Comment, 923)                                                                        \
    TEXT(Menu_Keywords, 926)          /* search words, each ended by ";" */                        \
    TEXT(Firmware_Missing, 924)       /* %1 image, %2 folder */                                    \
    TEXT(Updater_Missing, 925)        /* %1 program, %2 folders, separated by ", " */              \
    /* The table screens' find bar, replace, and Export and Import of CSV. */                      \
    RUN(Btn_Export, 941, 2)           /* then its hint */                                          \
    RUN(Btn_Import, 943, 2)           /* then its hint */                                          \
    TEXT(Export_Title, 945)                                                                        \
    TEXT(Import_Title, 946)                                                                        \
    TEXT(Csv_File_Filter, 947)        /* the file dialog's filters */                              \
    TEXT(Step_Import, 948)                                                                         \
    TEXT(Step_Replace, 949)                                                                        \
    TEXT(Find_Label, 950)                                                                          \
    TEXT(Find_Hint, 951)              /* %1 the columns searched */                                \
    RUN(Find_Match_Case, 952, 2)      /* then its hint */                                          \
    TEXT(Find_Previous_Hint, 954)                                                                  \
    TEXT(Find_Next_Hint, 955)                                                                      \
    TEXT(Find_Count, 956)             /* %1 match, %2 matches */                                   \
    TEXT(Find_Matches, 957)           /* %1 matches */                                             \
    TEXT(Find_None, 958)                                                                           \
    RUN(Replace_Label, 959, 2)        /* then the replacing field's hint */                        \
    RUN(Replace_Column, 961, 2)       /* then its hint */                                          \
    RUN(Replace_Selection, 963, 2)    /* then its hint */                                          \
    RUN(Btn_Replace, 965, 2)          /* then its hint */                                          \
    TEXT(Replace_Question, 967)       /* %1 found, %2 replacement, %3 column, %4 cells */          \
    TEXT(Replace_Question_Selected, 968)/* as Replace_Question */                                  \
    TEXT(Replace_Nothing, 969)        /* %1 column, %2 found */                                    \
    TEXT(Find_Close_Hint, 970)                                                                     \
    /* The buttons of the message boxes; "&" marks the key that presses the button. */             \
    TEXT(Box_Yes, 991)                                                                             \
    TEXT(Box_No, 992)                                                                              \
    TEXT(Box_OK, 993)                                                                              \
    TEXT(Language_Code, 994)          /* ISO 639-1: the language of the system's own dialogs */    \
    /* The bank compiler's messages. */                                                            \
    TEXT(Compile_Error, 908)          /* %1 file, %2 reason */                                     \
    TEXT(Compile_Element_Missing, 909) /* %1 element */                                            \
    TEXT(Compile_Attribute_Missing, 910) /* %1 row, %2 attribute */                                \
    TEXT(Compile_QoS_Not_Number, 911) /* %1 row, %2 value */                                       \
    TEXT(Compile_Too_Many_Rows, 912)  /* %1 rows the bank holds */                                 \
    TEXT(Bank_Too_Large, 913)         /* %1 bank file, %2 bytes, %3 limit */                       \
    TEXT(Banks_Not_Compiled, 914)                                                                  \
    TEXT(Banks_Written, 915)                                                                       \
    TEXT(Bank_File_Line, 916)         /* %1 file, %2 bytes */                                      \
    /* The NMEA 0183 access screen and its data check. */                                          \
    TEXT(Nmea_Title, 1000)                                                                         \
    TEXT(Nmea_Description, 1001)                                                                   \
    TEXT(NMEA_Row_Number_Header, 1014) /* header of the row-number column */                       \
    TEXT(Nmea_Error_Row, 1033)                                                                     \
    TEXT(Nmea_Data_Field_Missing, 1036)                                                            \
    TEXT(Nmea_Post_Operation_Missing, 1037)                                                        \
    TEXT(Nmea_Position_Range, 1038)                                                                \
    TEXT(Nmea_Delete_Row, 1039)       /* followed by the row number */                             \
    TEXT(Nmea_Index_1_10, 1042)                                                                    \
    TEXT(Nmea_Index_1_50, 1043)                                                                    \
    TEXT(Nmea_Index_1_36, 1044)                                                                    \
    TEXT(Nmea_Index_1_9, 1045)                                                                     \
    TEXT(Nmea_Index_1_32, 1046)                                                                    \
    TEXT(Nmea_File_No_Listener, 1047) /* %1 file */                                                \
    TEXT(Nmea_Rows_Not_Loaded, 1048)  /* %1 file, %2 rows in it, %3 rows loaded */                 \
    TEXT(Nmea_Overlap, 1049)          /* %1 first byte, %2 last byte, %3 other row */              \
    TEXT(Nmea_Status, 1050)           /* %1 rows in use, %2 bytes filled, %3 area, %4 next free */ \
    /* Fleet commissioning: its window, the devices file, the plan and the update run. */        \
    RUN(Btn_Fleet, 1051, 2)           /* then its hint */                                          \
    TEXT(Fleet_Title, 1053)                                                                        \
    TEXT(Fleet_Replace_Question, 1054) /* %1 devices with a configuration */                       \
    TEXT(Fleet_Template_Label, 1055)  /* %1 template folder */                                     \
    TEXT(Fleet_Devices_Label, 1056)   /* %1 devices file */                                        \
    RUN(Fleet_Buttons, 1057, 10)      /* caption, hint: choose, plan, update, stop, report */      \
    RUN(Fleet_Columns, 1067, 3)       /* name, address, status; the variables between */           \
    RUN(Fleet_States, 1070, 4)        /* planned, failed %1, updated, update failed %1 */          \
    TEXT(Fleet_Update_Question, 1074) /* %1 devices */                                             \
    TEXT(Fleet_Step_Line, 1075)       /* %1 position, %2 count, %3 device, %4 step */              \
    RUN(Fleet_Steps, 1076, 4)         /* in Fleet_Step order */                                    \
    TEXT(Fleet_Plan_Done, 1080)       /* %1 planned, %2 devices */                                 \
    TEXT(Fleet_Update_Done, 1081)     /* %1 updated, %2 devices */                                 \
    TEXT(Fleet_One_At_A_Time, 1082)                                                                \
    TEXT(Fleet_Missing_Column, 1083)  /* %1 column */                                              \
    TEXT(Fleet_Bad_Column_Name, 1084) /* %1 name */                                                \
    TEXT(Fleet_No_Devices, 1085)      /* %1 file */                                                \
    TEXT(Fleet_Bad_Address, 1086)     /* %1 value */                                               \
    TEXT(Fleet_Unknown_Variable, 1087) /* %1 file, %2 row or key, %3 variable */                   \
    TEXT(Fleet_Unclosed_Variable, 1088) /* %1 file, %2 row or key */                               \
    TEXT(Fleet_Place_Row, 1089)       /* %1 row, %2 column */                                      \
    TEXT(Fleet_Same_Address, 1090)    /* %1 address, %2 other devices */                           \
    TEXT(Fleet_Same_Name, 1091)       /* %1 other devices */                                       \
    TEXT(Fleet_Same_Client_ID, 1092)  /* %1 client ID, %2 other devices */                         \
    TEXT(Fleet_Same_Device_Name, 1093) /* %1 device name, %2 other devices */                      \
    TEXT(Fleet_Same_Topics, 1094)     /* %1 topics, %2 other devices, %3 first topic */            \
    TEXT(Fleet_Not_Planned, 1095)                                                                  \
    TEXT(Fleet_Banks_Changed, 1096)   /* %1 folder */                                              \
    TEXT(Fleet_Updater_Status, 1097)  /* %1 exit status */                                         \
    TEXT(Fleet_Updater_Running, 1098) /* %1 seconds */                                             \
    TEXT(Fleet_No_Such_Device, 1099)  /* %1 name */                                                \
    /* The data-area map, its window and the question of Update Device. */                         \
    RUN(Map_Button, 1160, 2)          /* then its hint */                                          \
    TEXT(Map_Title, 1162)                                                                          \
    TEXT(Map_Overlap, 1163)           /* %1 %2 rows, %3 first byte, %4 last byte */                \
    TEXT(Map_Unfilled, 1164)          /* %1 rule, %2 %3 bytes read, %4 bytes not filled */         \
    TEXT(Map_Across, 1165)            /* %1 rule, %2 %3 bytes read, %4 row, %5 %6 its field */     \
    TEXT(Map_Part, 1166)              /* as Map_Across */                                          \
    TEXT(Map_Dimension, 1167)         /* %1 rule, %2 its bytes, %3 byte, %4 row, %5 its bytes */   \
    TEXT(Map_Not_Published, 1168)     /* %1 row, %2 first byte, %3 last byte */                    \
    TEXT(Map_Question, 1169)          /* then the warnings, then Map_Continue */                   \
    TEXT(Map_More, 1170)              /* %1 warnings not listed */                                 \
    RUN(Map_Legend, 1171, 5)          /* in Byte_State order */                                    \
    TEXT(Map_Byte, 1176)              /* %1 byte */                                                \
    TEXT(Map_Byte_Listener, 1177)     /* %1 row, %2 sentence, %3 field, %4 bytes */                \
    TEXT(Map_Byte_Rule, 1178)         /* %1 rule, %2 topic, %3 data type, %4 bytes */              \
    TEXT(Map_Findings, 1179)                                                                       \
    TEXT(Map_No_Findings, 1180)                                                                    \
    RUN(Map_Close, 1181, 2)           /* then its hint */                                          \
    TEXT(Map_Continue, 1183)                                                                       \
    /* The live monitor. */                                                                        \
    TEXT(Btn_Monitor, 1200)                                                                        \
    TEXT(Btn_Monitor_Hint, 1201)                                                                   \
    TEXT(Monitor_Title, 1202)                                                                      \
    TEXT(Monitor_Col_Row, 1203)       /* the seven column titles follow in order */                \
    TEXT(Monitor_Col_Topic, 1204)                                                                  \
    TEXT(Monitor_Col_State, 1205)                                                                  \
    TEXT(Monitor_Col_Payload, 1206)                                                                \
    TEXT(Monitor_Col_Age, 1207)                                                                    \
    TEXT(Monitor_Col_Count, 1208)                                                                  \
    TEXT(Monitor_Col_Interval, 1209)                                                               \
    TEXT(Monitor_Waiting, 1210)       /* the four states follow in order */                        \
    TEXT(Monitor_Live, 1211)                                                                       \
    TEXT(Monitor_Overdue, 1212)                                                                    \
    TEXT(Monitor_Stale, 1213)                                                                      \
    TEXT(Monitor_Wildcard, 1214)      /* %1 topic */                                               \
    TEXT(Btn_Monitor_Connect, 1215)                                                                \
    TEXT(Btn_Monitor_Connect_Hint, 1216)                                                           \
    TEXT(Btn_Monitor_Disconnect, 1217)                                                             \
    TEXT(Btn_Monitor_Disconnect_Hint, 1218)                                                        \
    TEXT(Link_Line, 1219)             /* %1 host, %2 port, %3 client ID, %4 link state */          \
    TEXT(Link_Disconnected, 1220)     /* the four link states follow in order */                   \
    TEXT(Link_Connecting, 1221)                                                                    \
    TEXT(Link_Connected, 1222)        /* %1 messages */                                            \
    TEXT(Link_Lost, 1223)             /* %1 reason */                                              \
    TEXT(Monitor_Seconds, 1224)       /* %1 seconds */                                             \
    TEXT(Monitor_Ms, 1225)            /* %1 milliseconds */                                        \
    TEXT(Monitor_Hex, 1226)                                                                        \
    TEXT(Monitor_Not_Started, 1227)   /* %1 reason */                                              \
    TEXT(Monitor_Seen, 1228)          /* %1, %2 counts */                                          \
    /* The CSV form of the two tables: a place, then the reason. */                                \
    TEXT(Csv_Line, 1229)              /* %1 line, %2 reason */                                     \
    TEXT(Csv_Cell, 1230)              /* %1 line, %2 column, %3 reason */                          \
    TEXT(Csv_No_Header, 1231)                                                                      \
    TEXT(Csv_Unknown_Column, 1232)    /* %1 name, %2 the table's columns */                        \
    TEXT(Csv_Column_Twice, 1233)      /* %1 column */                                              \
    TEXT(Csv_Field_Count, 1234)       /* %1 fields, %2 columns of the header, %3 separator */      \
    TEXT(Csv_Unclosed_Quote, 1235)                                                                 \
    TEXT(Csv_Stray_Quote, 1236)                                                                    \
    TEXT(Csv_Too_Many_Rows, 1237)     /* %1 rows of the table, %2 the row the line would be */     \
    TEXT(Csv_Value_Not_Offered, 1238) /* %1 value */                                               \
    TEXT(Csv_Check_Failed, 1239)      /* %1 the data check's message */                            \
    TEXT(Csv_Not_Imported, 1240)      /* %1 file, %2 why */                                        \
    /* Blocks of rows and undo in the table screens and Set Communication. */                      \
    TEXT(Delete_Rows_Question, 1260)  /* %1 rows */                                                \
    TEXT(Paste_Past_End, 1261)        /* %1 rows copied, %2 row, %3 rows from it to the end */     \
    TEXT(Paste_Rows_Overwrite, 1262)  /* %1 rows used, %2 first row, %3 last row */                \
    TEXT(Fill_Down_One_Column, 1263)                                                               \
    TEXT(Step_Edit, 1264)             /* the names of the undoable steps follow in order */        \
    TEXT(Step_Delete_Rows, 1265)                                                                   \
    TEXT(Step_Insert_Rows, 1266)                                                                   \
    TEXT(Step_Paste_Rows, 1267)                                                                    \
    TEXT(Step_Fill_Down, 1268)                                                                     \
    /* The MQTT topic screen, its file and its data check. Each kind of row has its run of */      \
    /* check texts: data type, dimension for "INT", for "FLOAT", for any other type, position. */  \
    TEXT(MQTT_Title, 1300)                                                                         \
    TEXT(MQTT_Description, 1301)                                                                   \
    TEXT(Pub_Number_Header, 1314)                                                                  \
    TEXT(MQTT_Delete_Row, 1323)       /* followed by the row number */                             \
    TEXT(Sub_Number_Header, 1324)                                                                  \
    TEXT(MQTT_Publish_Page, 1333)                                                                  \
    TEXT(MQTT_Subscribe_Page, 1334)                                                                \
    TEXT(MQTT_Error_Row, 1351)                                                                     \
    RUN(MQTT_Pub_Data_Type, 1352, 5)                                                               \
    RUN(MQTT_Sub_Data_Type, 1357, 5)                                                               \
    TEXT(MQTT_Pub_Template, 1378)                                                                  \
    TEXT(MQTT_Sub_Template, 1380)                                                                  \
    TEXT(MQTT_Pub_Time, 1389)                                                                      \
    TEXT(MQTT_Rows_Not_Loaded, 1399)  /* %1 file, %2 rows in the file, %3 rows loaded */           \
    /* The topic and template editor. */                                                           \
    RUN(Topic_Editor_Caption, 1400, 2) /* then the one for a template */                           \
    RUN(Topic_Editor_Label, 1402, 2)  /* then the one for a template */                            \
    TEXT(Topic_Editor_List, 1404)                                                                  \
    TEXT(Topic_Editor_Keyword, 1405)                                                               \
    TEXT(Topic_Editor_Description, 1406)                                                           \
    TEXT(Topic_Editor_OK, 1407)                                                                    \
    TEXT(Topic_Editor_Cancel, 1408)                                                                \
    TEXT(MQTT_Root_Not_Element, 1475) /* %1 file */                                                \
    TEXT(MQTT_Element_Missing, 1476)  /* %1 file, %2 element */                                    \
    TEXT(MQTT_Attribute_Missing, 1477) /* %1 file, %2 row, %3 element, %4 attribute */             \
    TEXT(MQTT_Pub_Topic_Missing, 1478) /* a filled publish row without a Topic */                  \
    /* The topic screen's status line (its row warnings are the data-area map's). */               \
    TEXT(MQTT_Rules_In_Use, 1481)     /* %1 rules, %2 rows */                                      \
    TEXT(MQTT_Bank_Bytes, 1482)       /* %1 bytes, %2 limit */                                     \
    TEXT(MQTT_Bank_Too_Large, 1483)   /* %1 bytes, %2 limit */                                     \
    /* A warning: a rule whose QoS is no number passes the check, but Update Device */             \
    /* refuses it. */                                                                              \
    TEXT(MQTT_Pub_QoS_Not_Chosen, 1484) /* %1 row */                                               \
    /* The broker test and the certificate check. */                                               \
    TEXT(Library_Not_Loaded, 38)      /* %1 library, %2 the loader's reason */                     \
    TEXT(Cert_Not_Checked, 39)        /* %1 reason */                                              \
    TEXT(Btn_Test_Connection, 1551)                                                                \
    TEXT(Btn_Test_Connection_Hint, 1552)                                                           \
    TEXT(Test_Dialog_Title, 1553)                                                                  \
    TEXT(Test_Running, 1554)          /* %1 host, %2 port */                                       \
    RUN(Stage_Name_Lookup, 1555, 4)   /* the four stage names, in stage order */                   \
    TEXT(Stage_Line, 1559)            /* %1 stage, %2 outcome, %3 milliseconds */                  \
    TEXT(Lookup_Literal, 1560)        /* %1 address */                                             \
    TEXT(Lookup_Resolved, 1561)       /* %1 name, %2 address */                                    \
    TEXT(Lookup_Failed, 1562)         /* %1 name, %2 reason */                                     \
    TEXT(Tcp_Connected, 1563)         /* %1 address, %2 port */                                    \
    TEXT(Tcp_Refused, 1564)           /* %1 address, %2 port */                                    \
    TEXT(Stage_Timed_Out, 1565)       /* %1 seconds */                                             \
    TEXT(Tls_Established, 1566)                                                                    \
    TEXT(Tls_Unknown_CA, 1567)                                                                     \
    TEXT(Tls_Host_Mismatch, 1568)     /* %1 host */                                                \
    TEXT(Tls_Expired, 1569)                                                                        \
    TEXT(Tls_Client_Cert_Missing, 1570)                                                            \
    TEXT(Tls_Key_Password_Wrong, 1571)                                                             \
    TEXT(Tls_Key_Mismatch, 1572)                                                                   \
    TEXT(Tls_Client_Unreadable, 1573)                                                              \
    TEXT(Tls_Failed, 1574)            /* %1 reason */                                              \
    TEXT(Connack_Accepted, 1575)      /* %1 client ID */                                           \
    RUN(Connack_Code_1, 1576, 5)      /* codes 1..5 in order */                                    \
    TEXT(Connack_Other, 1581)         /* %1 code */                                                \
    TEXT(Stage_Failed, 1582)          /* %1 reason */                                              \
    TEXT(Stage_Cancelled, 1583)                                                                    \
    TEXT(Server_Url_Empty, 1584)                                                                   \
    TEXT(Server_Port_Invalid, 1585)                                                                \
    TEXT(Cert_One, 1586)              /* %1 subject, %2 issuer, %3 from, %4 until */               \
    TEXT(Cert_Chain, 1587)            /* %1 count, %2 subject, %3 until */                         \
    TEXT(Cert_Not_Certificate, 1588)                                                               \
    TEXT(Cert_Expired, 1589)          /* %1 date, %2 subject */                                    \
    TEXT(Cert_Not_Yet_Valid, 1590)    /* %1 date, %2 subject */                                    \
    TEXT(Cert_Headerless, 1591)                                                                    \
    TEXT(Key_Plain, 1592)                                                                          \
    TEXT(Key_Opened, 1593)                                                                         \
    TEXT(Key_Wrong_Password, 1594)                                                                 \
    TEXT(Key_Not_Key, 1595)                                                                        \
    TEXT(Key_Matches, 1596)                                                                        \
    TEXT(Key_Mismatch, 1597)                                                                       \
    TEXT(Test_Passed, 1598)                                                                        \
    TEXT(Test_Failed, 1499)

namespace Txt {

#define SWR_TEXT_NAME(name, index) inline constexpr int name = index;
#define SWR_RUN_NAME(name, index, count) inline constexpr int name = index;
SWR_TEXT_NAMES(SWR_TEXT_NAME, SWR_RUN_NAME)
#undef SWR_TEXT_NAME
#undef SWR_RUN_NAME

// One name of the list: the first index it stands for and how many texts it covers.
struct Named_Text {
    const char* name;
    int index;
    int count;
};

#define SWR_TEXT_ENTRY(name, index) Named_Text{#name, index, 1},
#define SWR_RUN_ENTRY(name, index, count) Named_Text{#name, index, count},
inline constexpr Named_Text Registry[] = {SWR_TEXT_NAMES(SWR_TEXT_ENTRY, SWR_RUN_ENTRY)};
#undef SWR_TEXT_ENTRY
#undef SWR_RUN_ENTRY

// The place in list of the first name that covers an index outside the table, or -1.
template <std::size_t N>
consteval int First_Name_Outside_Table(const Named_Text (&list)[N])
{
    for (int k = 0; k < int(N); ++k)
        if (list[k].index < 0 || list[k].index + list[k].count > Lang_Count)
            return k;
    return -1;
}

// The first index within the table that two names of list cover, in list order, or -1.
template <std::size_t N>
consteval int First_Shared_Index(const Named_Text (&list)[N])
{
    bool taken[Lang_Count] = {};
    for (const Named_Text& t : list)
        for (int i = t.index; i < t.index + t.count; ++i) {
            if (i < 0 || i >= Lang_Count)
                continue;
            if (taken[i])
                return i;
            taken[i] = true;
        }
    return -1;
}

static_assert(First_Name_Outside_Table(Registry) == -1, "a text name lies outside the string table");
static_assert(First_Shared_Index(Registry) == -1, "two text names share an index");

} // namespace Txt

#undef SWR_TEXT_NAMES

} // namespace swr
