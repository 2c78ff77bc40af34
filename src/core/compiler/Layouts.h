#pragma once

// The byte layout of the three banks, each field declared once. The writers and the bank
// dump both walk these tables.

#include "compiler/Layout.h"
#include "compiler/ListenerBank.h"
#include "compiler/MqttBank.h"
#include "compiler/ParameterBank.h"

namespace swr {

constexpr uint32_t Tag_Value(const std::array<char, 4>& tag)
{
    return uint32_t(uint8_t(tag[0])) | uint32_t(uint8_t(tag[1])) << 8
           | uint32_t(uint8_t(tag[2])) << 16 | uint32_t(uint8_t(tag[3])) << 24;
}

// The field is named after the record member it is written from.
#define SWR_NUM(T, off, w, member) \
    {#member, off, w, Kind::Number, [](const T& r) -> uint32_t { return uint32_t(r.member); }}
#define SWR_ADD(T, off, member) \
    {#member, off, 4, Kind::Address, [](const T& r) -> uint32_t { return r.member; }}
#define SWR_TAB(T, off, member) \
    {#member, off, 4, Kind::Table, [](const T& r) -> uint32_t { return r.member; }}
#define SWR_STR(T, off, member) \
    {#member, off, 12, Kind::Str12, nullptr, [](const T& r) -> const TMQTTString& { return r.member; }}
#define SWR_TAG(T, off, member) \
    {#member, off, 4, Kind::Tag, [](const T& r) -> uint32_t { return Tag_Value(r.member); }}

// Bank 1: the parameter block is its own picture, so its fields carry no accessors. The
// bytes between the fields are reserved and zero.
using Par_Field = Bank_Field<Parameter_Bank_Bytes>;
inline constexpr Par_Field Parameter_Bank_Layout[] = {
    {"Fixed_000", 0x000, 4, Kind::Number},
    {"Fixed_004", 0x004, 4, Kind::Number},
    {"Fixed_00C", 0x00C, 4, Kind::Number},
    {"IP_Address", 0x028, 4, Kind::Octets},
    {"Subnet_Mask", 0x02C, 4, Kind::Octets},
    {"Gateway", 0x030, 4, Kind::Octets},
    {"Fixed_034", 0x034, 2, Kind::Number},
    {"Fixed_036", 0x036, 2, Kind::Number},
    {"Fixed_038", 0x038, 2, Kind::Number},
    {"Serial_Baud", 0x190, 4, Kind::Number},
    {"Serial_Parity", 0x1A8, 1, Kind::Number},
    {"Serial_Stop_Bits", 0x1AE, 1, Kind::Number},
    {"Fixed_1B4", 0x1B4, 8, Kind::Octets},
    {"DHCP_Flags", 0x4E8, 2, Kind::Number},
    {"Device_Name", 0x514, 32, Kind::Text},
    {"Secondary_DNS", 0x53C, 4, Kind::Octets},
    {"Primary_DNS", 0x58C, 4, Kind::Octets},
    {"MQTT_Bank_Address", 0x590, 4, Kind::Number},
    {"NMEA_Bank_Address", 0x6F4, 4, Kind::Number},
    {"NMEA_Listener_Count", 0x6F8, 4, Kind::Number},
    {"Serial_Enable_Flags", 0x6FC, 1, Kind::Number},
    {"Checksum", 0x7FC, 4, Kind::Checksum},
};

static_assert(Ordered(Parameter_Bank_Layout, Parameter_Bank_Size));

consteval const Par_Field& Par(std::string_view name)
{
    return Field_Named(Parameter_Bank_Layout, name);
}

inline uint32_t Get_Field(const Parameter_Bank_Bytes& bank, const Par_Field& f)
{
    return Get_LE(bank.data() + f.Offset, f.Width);
}

inline void Put_Field(Parameter_Bank_Bytes& bank, const Par_Field& f, uint32_t value)
{
    Put_LE(bank.data() + f.Offset, value, f.Width);
}

// Bank 2: one item.
inline constexpr Bank_Field<TNMEA_Listener_Item> NMEA_Listener_Item_Layout[] = {
    SWR_NUM(TNMEA_Listener_Item, 0, 2, Sentence_Index),
    SWR_NUM(TNMEA_Listener_Item, 2, 2, Position),
    SWR_NUM(TNMEA_Listener_Item, 4, 1, Channel_Code),
    SWR_NUM(TNMEA_Listener_Item, 5, 1, Field_Index),
    SWR_NUM(TNMEA_Listener_Item, 6, 1, Post_Operation),
    SWR_NUM(TNMEA_Listener_Item, 7, 1, Swap_Flags),
    SWR_NUM(TNMEA_Listener_Item, 8, 1, Item_Index),
    {"Reserved_9", 9, 1, Kind::Zero},
    {"Reserved_10", 10, 2, Kind::Zero},
};
static_assert(Packed(NMEA_Listener_Item_Layout, NMEA_Listener_Item_Size));

// Bank 3: the fixed part, then the records of its tables.
inline constexpr Bank_Field<TMQTT> MQTT_Fixed_Layout[] = {
    SWR_NUM(TMQTT, 0, 4, Mode),
    SWR_NUM(TMQTT, 4, 4, Time_Poll),
    SWR_ADD(TMQTT, 8, Server_Address_Add),
    SWR_NUM(TMQTT, 12, 2, Server_Port),
    SWR_TAG(TMQTT, 14, Connect_Data.Struct_ID),
    SWR_NUM(TMQTT, 18, 4, Connect_Data.Struct_Version),
    SWR_NUM(TMQTT, 22, 1, Connect_Data.MQTTVersion),
    SWR_STR(TMQTT, 23, Connect_Data.ClientID),
    SWR_NUM(TMQTT, 35, 2, Connect_Data.KeepAliveInterval),
    SWR_NUM(TMQTT, 37, 1, Connect_Data.CleanSession),
    SWR_NUM(TMQTT, 38, 1, Connect_Data.WillFlag),
    SWR_TAG(TMQTT, 39, Connect_Data.Will.Struct_ID),
    SWR_NUM(TMQTT, 43, 4, Connect_Data.Will.Struct_Version),
    SWR_STR(TMQTT, 47, Connect_Data.Will.TopicName),
    SWR_STR(TMQTT, 59, Connect_Data.Will.WillMessage),
    SWR_NUM(TMQTT, 71, 1, Connect_Data.Will.Retained),
    SWR_NUM(TMQTT, 72, 1, Connect_Data.Will.QoS),
    SWR_STR(TMQTT, 73, Connect_Data.Username),
    SWR_STR(TMQTT, 85, Connect_Data.Password),
    SWR_NUM(TMQTT, 97, 4, Topic_Filter_Count),
    SWR_TAB(TMQTT, 101, Topic_Filters_Add),
    SWR_TAB(TMQTT, 105, Topic_Filter_QoS_Add),
    SWR_TAB(TMQTT, 109, Subscribe_Data_Add),
    SWR_NUM(TMQTT, 113, 4, Publish_Topic_Count),
    SWR_TAB(TMQTT, 117, Publish_Data_Add),
    SWR_NUM(TMQTT, 121, 4, TLS_Flag),
    SWR_NUM(TMQTT, 125, 4, TLS_Server_Authentication),
    SWR_ADD(TMQTT, 129, TLS_Server_Cert_Add), // address before length for the TLS texts
    SWR_NUM(TMQTT, 133, 4, TLS_Server_Cert_Len),
    SWR_NUM(TMQTT, 137, 4, TLS_Client_Authentication),
    SWR_ADD(TMQTT, 141, TLS_Client_Cert_Add),
    SWR_NUM(TMQTT, 145, 4, TLS_Client_Cert_Len),
    SWR_ADD(TMQTT, 149, TLS_Client_Key_Add),
    SWR_NUM(TMQTT, 153, 4, TLS_Client_Key_Len),
    SWR_NUM(TMQTT, 157, 4, TLS_Client_Key_Password),
    SWR_ADD(TMQTT, 161, TLS_Client_Key_Add_Pass),
    SWR_ADD(TMQTT, 165, NTP_Server_Address_Add),
    SWR_NUM(TMQTT, 169, 4, NTP_Server_Poll),
    {"Empty_String", Empty_String_Offset, 1, Kind::Zero},
};
static_assert(Packed(MQTT_Fixed_Layout, MQTT_Fixed_Size));

consteval const Bank_Field<TMQTT>& MQTT_Fixed(std::string_view name)
{
    return Field_Named(MQTT_Fixed_Layout, name);
}

inline constexpr Bank_Field<TMQTTString> Topic_Filter_Layout[] = {
    {"Topic_Filter", 0, 12, Kind::Str12, nullptr,
     [](const TMQTTString& s) -> const TMQTTString& { return s; }},
};

inline constexpr Bank_Field<int32_t> Topic_Filter_QoS_Layout[] = {
    {"QoS", 0, 4, Kind::Number, [](const int32_t& q) { return uint32_t(q); }},
};

inline constexpr Bank_Field<TMQTT_Subscribe_Data> Subscribe_Layout[] = {
    SWR_NUM(TMQTT_Subscribe_Data, 0, 4, Position),
    SWR_NUM(TMQTT_Subscribe_Data, 4, 4, Length),
    SWR_NUM(TMQTT_Subscribe_Data, 8, 4, Type_SubData),
    SWR_ADD(TMQTT_Subscribe_Data, 12, Input_Template_Add),
    SWR_ADD(TMQTT_Subscribe_Data, 16, Output_Template_Add),
    SWR_NUM(TMQTT_Subscribe_Data, 20, 4, IP_Address),
    SWR_NUM(TMQTT_Subscribe_Data, 24, 2, Port),
    SWR_NUM(TMQTT_Subscribe_Data, 26, 1, Proto),
};
static_assert(Packed(Subscribe_Layout, 27));

inline constexpr Bank_Field<TMQTT_Publish_Data> Publish_Layout[] = {
    SWR_ADD(TMQTT_Publish_Data, 0, Desc_Add),
    SWR_STR(TMQTT_Publish_Data, 4, Publish_Topic),
    SWR_NUM(TMQTT_Publish_Data, 16, 1, Retained),
    SWR_NUM(TMQTT_Publish_Data, 17, 4, QoS),
    SWR_ADD(TMQTT_Publish_Data, 21, Input_Template_Add),
    SWR_ADD(TMQTT_Publish_Data, 25, Output_Template_Add),
    SWR_NUM(TMQTT_Publish_Data, 29, 4, Source_IP_Address),
    SWR_NUM(TMQTT_Publish_Data, 33, 4, Position),
    SWR_NUM(TMQTT_Publish_Data, 37, 2, Length),
    SWR_NUM(TMQTT_Publish_Data, 39, 2, Type_Data),
    SWR_NUM(TMQTT_Publish_Data, 41, 4, Timer),
    SWR_NUM(TMQTT_Publish_Data, 45, 4, Options),
};
static_assert(Packed(Publish_Layout, 49));

#undef SWR_NUM
#undef SWR_ADD
#undef SWR_TAB
#undef SWR_STR
#undef SWR_TAG

// Size of one record of a layout.
template <class T, std::size_t N>
constexpr uint32_t Record_Size(const Bank_Field<T> (&layout)[N])
{
    return layout[N - 1].Offset + layout[N - 1].Width;
}

} // namespace swr
