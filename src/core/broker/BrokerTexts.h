#pragma once

// String table indices of the broker test and the certificate check, added by this
// program at indices the table left free. %n are filled in by the code.
namespace swr::Txt {

inline constexpr int Btn_Test_Connection = 1551;
inline constexpr int Btn_Test_Connection_Hint = 1552;
inline constexpr int Test_Dialog_Title = 1553;
inline constexpr int Test_Running = 1554;      // %1 host, %2 port
inline constexpr int Stage_Name_Lookup = 1555; // the four stage names follow
inline constexpr int Stage_Line = 1559;        // %1 stage, %2 outcome, %3 milliseconds
inline constexpr int Lookup_Literal = 1560;    // %1 address
inline constexpr int Lookup_Resolved = 1561;   // %1 name, %2 address
inline constexpr int Lookup_Failed = 1562;     // %1 name, %2 reason
inline constexpr int Tcp_Connected = 1563;     // %1 address, %2 port
inline constexpr int Tcp_Refused = 1564;       // %1 address, %2 port
inline constexpr int Stage_Timed_Out = 1565;   // %1 seconds
inline constexpr int Tls_Established = 1566;
inline constexpr int Tls_Unknown_CA = 1567;
inline constexpr int Tls_Host_Mismatch = 1568; // %1 host
inline constexpr int Tls_Expired = 1569;
inline constexpr int Tls_Client_Cert_Missing = 1570;
inline constexpr int Tls_Key_Password_Wrong = 1571;
inline constexpr int Tls_Key_Mismatch = 1572;
inline constexpr int Tls_Client_Unreadable = 1573;
inline constexpr int Tls_Failed = 1574;        // %1 reason
inline constexpr int Connack_Accepted = 1575;  // %1 client ID
inline constexpr int Connack_Code_1 = 1576;    // codes 1..5 follow in order
inline constexpr int Connack_Other = 1581;     // %1 code
inline constexpr int Stage_Failed = 1582;      // %1 reason
inline constexpr int Stage_Cancelled = 1583;
inline constexpr int Server_Url_Empty = 1584;
inline constexpr int Server_Port_Invalid = 1585;
inline constexpr int Cert_One = 1586;          // %1 subject, %2 issuer, %3 from, %4 until
inline constexpr int Cert_Chain = 1587;        // %1 count, %2 subject, %3 until
inline constexpr int Cert_Not_Certificate = 1588;
inline constexpr int Cert_Expired = 1589;      // %1 date, %2 subject
inline constexpr int Cert_Not_Yet_Valid = 1590; // %1 date, %2 subject
inline constexpr int Cert_Headerless = 1591;
inline constexpr int Key_Plain = 1592;
inline constexpr int Key_Opened = 1593;
inline constexpr int Key_Wrong_Password = 1594;
inline constexpr int Key_Not_Key = 1595;
inline constexpr int Key_Matches = 1596;
inline constexpr int Key_Mismatch = 1597;
inline constexpr int Test_Passed = 1598;
inline constexpr int Test_Failed = 1499;

// The live monitor.
inline constexpr int Btn_Monitor = 1200;
inline constexpr int Btn_Monitor_Hint = 1201;
inline constexpr int Monitor_Title = 1202;
inline constexpr int Monitor_Col_Row = 1203; // the seven column titles follow in order
inline constexpr int Monitor_Col_Topic = 1204;
inline constexpr int Monitor_Col_State = 1205;
inline constexpr int Monitor_Col_Payload = 1206;
inline constexpr int Monitor_Col_Age = 1207;
inline constexpr int Monitor_Col_Count = 1208;
inline constexpr int Monitor_Col_Interval = 1209;
inline constexpr int Monitor_Waiting = 1210; // the four states follow in order
inline constexpr int Monitor_Live = 1211;
inline constexpr int Monitor_Overdue = 1212;
inline constexpr int Monitor_Stale = 1213;
inline constexpr int Monitor_Wildcard = 1214; // %1 topic
inline constexpr int Btn_Monitor_Connect = 1215;
inline constexpr int Btn_Monitor_Connect_Hint = 1216;
inline constexpr int Btn_Monitor_Disconnect = 1217;
inline constexpr int Btn_Monitor_Disconnect_Hint = 1218;
inline constexpr int Link_Line = 1219; // %1 host, %2 port, %3 client ID, %4 link state
inline constexpr int Link_Disconnected = 1220; // the four link states follow in order
inline constexpr int Link_Connecting = 1221;
inline constexpr int Link_Connected = 1222; // %1 messages
inline constexpr int Link_Lost = 1223; // %1 reason
inline constexpr int Monitor_Seconds = 1224; // %1 seconds
inline constexpr int Monitor_Ms = 1225; // %1 milliseconds
inline constexpr int Monitor_Hex = 1226;
inline constexpr int Monitor_Not_Started = 1227; // %1 reason
inline constexpr int Monitor_Seen = 1228; // %1, %2 counts

} // namespace swr::Txt
