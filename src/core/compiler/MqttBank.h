#pragma once

#include "compiler/Image.h"
#include "project/mqtt/PublishReading.h"

#include <QList>

#include <array>

namespace swr {

class Texts;
struct FileResult;
struct MQTT_Publish_Row;

// The MQTT picture the firmware uses in place: connect and will options as its MQTT
// client keeps them, TLS material, NTP, and the subscribe and publish tables. Fields
// ending in _Add hold offsets in the bank; the writer turns them into device addresses.

struct TMQTTPacket_WillOption {
    std::array<char, 4> Struct_ID{'M', 'Q', 'T', 'W'};
    int32_t Struct_Version = 0;
    TMQTTString TopicName;
    TMQTTString WillMessage;
    uint8_t Retained = 0;
    uint8_t QoS = 0;
};

struct TMQTTPacket_ConnectData {
    std::array<char, 4> Struct_ID{'M', 'Q', 'T', 'C'};
    int32_t Struct_Version = 0;
    uint8_t MQTTVersion = 4;
    TMQTTString ClientID;
    uint16_t KeepAliveInterval = 0;
    uint8_t CleanSession = 0;
    uint8_t WillFlag = 0;
    TMQTTPacket_WillOption Will;
    TMQTTString Username;
    TMQTTString Password;
};

struct TMQTT_Subscribe_Data {
    uint32_t Position = 0;
    uint32_t Length = 0;
    uint32_t Type_SubData = 0;
    QString Input_Template;
    uint32_t Input_Template_Add = 0;
    QString Output_Template;
    uint32_t Output_Template_Add = 0;
    uint32_t IP_Address = 0;
    uint16_t Port = 0;
    uint8_t Proto = 0;
};

struct TMQTT_Publish_Data {
    QString Description;
    uint32_t Desc_Add = 0;
    TMQTTString Publish_Topic;
    uint8_t Retained = 0;
    int32_t QoS = 0;
    QString Input_Template;
    uint32_t Input_Template_Add = 0;
    QString Output_Template;
    uint32_t Output_Template_Add = 0;
    uint32_t Source_IP_Address = 0;
    uint32_t Position = 0;
    uint16_t Length = 0;
    uint16_t Type_Data = 0;
    uint32_t Timer = 0;
    uint32_t Options = 0;
};

struct TMQTT {
    uint32_t Mode = 0;
    uint32_t Time_Poll = 0;
    QString Server_Address;
    uint32_t Server_Address_Add = 0;
    uint16_t Server_Port = 0;
    TMQTTPacket_ConnectData Connect_Data;
    int32_t Topic_Filter_Count = 0;
    QList<TMQTTString> Topic_Filters;
    uint32_t Topic_Filters_Add = 0;
    QList<int32_t> Topic_Filter_QoS;
    uint32_t Topic_Filter_QoS_Add = 0;
    QList<TMQTT_Subscribe_Data> Subscribe_Data;
    uint32_t Subscribe_Data_Add = 0;
    int32_t Publish_Topic_Count = 0;
    QList<TMQTT_Publish_Data> Publish_Data;
    uint32_t Publish_Data_Add = 0;
    uint32_t TLS_Flag = 0;
    uint32_t TLS_Server_Authentication = 0;
    QString TLS_Server_Cert;
    uint32_t TLS_Server_Cert_Len = 0;
    uint32_t TLS_Server_Cert_Add = 0;
    uint32_t TLS_Client_Authentication = 0;
    QString TLS_Client_Cert;
    uint32_t TLS_Client_Cert_Len = 0;
    uint32_t TLS_Client_Cert_Add = 0;
    QString TLS_Client_Key;
    uint32_t TLS_Client_Key_Len = 0;
    uint32_t TLS_Client_Key_Add = 0;
    uint32_t TLS_Client_Key_Password = 0;
    QString TLS_Client_Key_Pass;
    uint32_t TLS_Client_Key_Add_Pass = 0;
    QString NTP_Server_Address;
    uint32_t NTP_Server_Address_Add = 0;
    uint32_t NTP_Server_Poll = 0;
};

inline constexpr uint32_t MQTT_Fixed_Size = 174;
inline constexpr uint32_t Empty_String_Offset = 173; // the 0 byte every empty text points at
inline constexpr uint32_t MQTT_Bank_Limit = Image_Capacity - 1; // last offset the bank may use

// Every number 0, every text and list empty, the structure marks "MQTC"/"MQTW", level 4.
void Clear_MQTT(TMQTT& m);

// Fills the publish and subscribe tables of MQTT_Config from File_MQTT_Topic, then places
// every string and table (Place_MQTT_Strings). bank_size, when given, receives the size
// the placement measured. Fails when the file exists and cannot be compiled.
FileResult Read_MQTT_Topics(const Texts& texts, const QString& File_MQTT_Topic, TMQTT& MQTT_Config,
                            uint64_t* bank_size = nullptr);

// Gives every text and table its offset, and sets the counts and lengths. Returns the
// size of the bank that Write_MQTT_Bank will produce.
uint64_t Place_MQTT_Strings(TMQTT& m);

// Writes the bank at start with addresses relative to base and returns the offset after
// its last byte, or 0 (writing nothing beyond limit) when the bank does not fit below
// limit or the picture changed since it was placed.
uint32_t Write_MQTT_Bank(uint32_t base, uint32_t start, QByteArray& image, uint32_t limit,
                         const TMQTT& m);

// The size of bank 3 once the publish rules among rows are saved and compiled, with the
// broker, TLS and NTP part of broker (Read_MQTT_Parameters): the compiler's own
// placement measures it, so it is exactly the size a compilation will find.
uint64_t MQTT_Bank_Estimate(const Texts& texts, const TMQTT& broker,
                            const QList<MQTT_Publish_Row>& rows);

// The status line: rules in use of the table's rows, and the size of bank 3 against the
// bank's limit.
QString Topic_Status_Text(const Texts& texts, int rules, uint64_t bank_bytes);

} // namespace swr
