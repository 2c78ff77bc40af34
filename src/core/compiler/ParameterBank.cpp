#include "compiler/ParameterBank.h"

#include "project/pargen/ParGen.h"

#include "compiler/Layouts.h"
#include "compiler/MqttBank.h"
#include "compiler/Reading.h"
#include "project/ProjectFile.h"

#include <initializer_list>

namespace swr {

namespace {

// The four octets of an address, octet 1 (leftmost in dotted notation) first.
void Put_Octets(Parameter_Bank_Bytes& bank, const Par_Field& f, std::initializer_list<int> octets)
{
    uint32_t at = f.Offset;
    for (int o : octets)
        bank[at++] = uint8_t(o);
}

// The address groups of ParGen.xml: a key per octet (key + "1" to key + "4").
enum class Octets_When { Always, DNS_On, Gateway };
struct Octet_Group {
    const Par_Field* field;
    const char* key;
    int defaults[4];
    Octets_When when;
};
constexpr Octet_Group Octet_Groups[] = {
    {&Par("IP_Address"), "Ethernet_IP", {192, 168, 0, 10}, Octets_When::Always},
    {&Par("Subnet_Mask"), "Ethernet_SM", {255, 255, 255, 0}, Octets_When::Always},
    {&Par("Gateway"), "Ethernet_GAT", {192, 168, 0, 1}, Octets_When::Gateway},
    {&Par("Primary_DNS"), "Eth_Conn_Primary_DNS", {8, 8, 8, 8}, Octets_When::DNS_On},
    {&Par("Secondary_DNS"), "Eth_Conn_Secondary_DNS", {8, 8, 4, 4}, Octets_When::DNS_On},
};

// Broker, TLS and NTP values of ParGen.xml that go to the MQTT picture. Numbers keep the
// low bits that fit their field.
struct MQTT_Number_Key {
    const char* key;
    int d;
    void (*set)(TMQTT&, int);
};
constexpr MQTT_Number_Key MQTT_Number_Keys[] = {
    {"MQTT_ASync_Send_Time", 10, [](TMQTT& m, int v) { m.Time_Poll = uint32_t(v); }},
    {"MQTT_Server_Port", 1883, [](TMQTT& m, int v) { m.Server_Port = uint16_t(v); }},
    {"MQTT_Keep_Alive", 0, [](TMQTT& m, int v) { m.Connect_Data.KeepAliveInterval = uint16_t(v); }},
    {"MQTT_Clean_Session", 0, [](TMQTT& m, int v) { m.Connect_Data.CleanSession = uint8_t(v); }},
    {"MQTT_WillFlag", 0, [](TMQTT& m, int v) { m.Connect_Data.WillFlag = uint8_t(v); }},
    {"MQTT_Will_Retained", 0, [](TMQTT& m, int v) { m.Connect_Data.Will.Retained = uint8_t(v); }},
    {"MQTT_Will_QoS", 0, [](TMQTT& m, int v) { m.Connect_Data.Will.QoS = uint8_t(v); }},
    {"TLS_Enable", 0, [](TMQTT& m, int v) { m.TLS_Flag = uint32_t(v); }},
    {"TLS_En_Server_Auth", 0, [](TMQTT& m, int v) { m.TLS_Server_Authentication = uint32_t(v); }},
    {"TLS_En_Client_Auth", 0, [](TMQTT& m, int v) { m.TLS_Client_Authentication = uint32_t(v); }},
    {"NTP_Poll_Time", 1000, [](TMQTT& m, int v) { m.NTP_Server_Poll = uint32_t(v); }},
};

// Texts are taken as they stand, line breaks included; a missing key gives an empty text.
struct MQTT_Text_Key {
    const char* key;
    QString& (*field)(TMQTT&);
};
constexpr MQTT_Text_Key MQTT_Text_Keys[] = {
    {"MQTT_Server_URL", [](TMQTT& m) -> QString& { return m.Server_Address; }},
    {"MQTT_Client_ID", [](TMQTT& m) -> QString& { return m.Connect_Data.ClientID.CString; }},
    {"MQTT_Will_Topic_Name", [](TMQTT& m) -> QString& { return m.Connect_Data.Will.TopicName.CString; }},
    {"MQTT_Will_Message", [](TMQTT& m) -> QString& { return m.Connect_Data.Will.WillMessage.CString; }},
    {"MQTT_Username", [](TMQTT& m) -> QString& { return m.Connect_Data.Username.CString; }},
    {"MQTT_Password", [](TMQTT& m) -> QString& { return m.Connect_Data.Password.CString; }},
    {"TLS_Server_Auth_Certificate", [](TMQTT& m) -> QString& { return m.TLS_Server_Cert; }},
    {"TLS_Client_Auth_Certificate", [](TMQTT& m) -> QString& { return m.TLS_Client_Cert; }},
    {"TLS_Client_Auth_Key", [](TMQTT& m) -> QString& { return m.TLS_Client_Key; }},
    {"TLS_Client_Auth_Key_Password", [](TMQTT& m) -> QString& { return m.TLS_Client_Key_Pass; }},
    {"NTP_Server_URL", [](TMQTT& m) -> QString& { return m.NTP_Server_Address; }},
};

void Read_MQTT_Keys(const pugi::xml_node& root, TMQTT& m)
{
    m.Mode = 2;
    for (const MQTT_Number_Key& k : MQTT_Number_Keys)
        k.set(m, Key_Int(root, k.key, k.d));
    for (const MQTT_Text_Key& k : MQTT_Text_Keys)
        k.field(m) = Key_Text(root, k.key);
}

constexpr uint8_t RS232_Enabled = 0x01;

} // namespace

void Clear_Parameter_Bank(Parameter_Bank_Bytes& bank)
{
    bank.fill(0);
    Put_Field(bank, Par("Fixed_000"), 250000);
    Put_Field(bank, Par("Fixed_004"), 250000);
    Put_Field(bank, Par("Fixed_00C"), 9600);
    Put_Octets(bank, Par("IP_Address"), {192, 168, 2, 205});
    Put_Octets(bank, Par("Subnet_Mask"), {255, 255, 255, 0});
    Put_Octets(bank, Par("Gateway"), {255, 255, 255, 255});
    Put_Field(bank, Par("Fixed_034"), 10000);
    Put_Field(bank, Par("Fixed_036"), 10001);
    Put_Field(bank, Par("Fixed_038"), 10001);
    Put_Octets(bank, Par("Fixed_1B4"), {8, 8, 8, 8, 8, 8, 8, 8});
}

FileResult Read_Parameter_Bank(const Texts& texts, const QString& File_ParGen, Parameter_Bank_Bytes& bank,
                               TMQTT& MQTT_Config)
{
    Put_Field(bank, Par("Fixed_034"), 10000);
    Put_Field(bank, Par("NMEA_Bank_Address"), NMEA_Bank_Base);

    pugi::xml_document doc;
    bool missing = false;
    FileResult r = Load_Project_Xml(texts, File_ParGen, doc, &missing);
    if (!r.ok || missing)
        return r;
    const pugi::xml_node root = Xml_Root(doc);

    // Only the RS232 line exists on this device: it is on whatever RS232_ENABLE holds,
    // and no other line's settings are read.
    const uint8_t flags = RS232_Enabled;
    Put_Field(bank, Par("Serial_Baud"), uint32_t(Key_Int(root, "RS232_BAUDRATE", 4800)));
    Put_Field(bank, Par("Serial_Parity"), Parity_to_Index(Key_Text(root, "RS232_PARITY")));
    Put_Field(bank, Par("Serial_Stop_Bits"), StopBits_to_Index(Key_Text(root, "RS232_STOP_BITS")) + 1);
    Put_Field(bank, Par("Serial_Enable_Flags"), flags);

    // One byte per character; the last of the 32 bytes always stays 0.
    const Par_Field& name_field = Par("Device_Name");
    const QString name = Key_Text(root, "Eth_Conn_Device_Name").left(name_field.Width - 1);
    for (qsizetype i = 0; i < name.size(); ++i)
        bank[name_field.Offset + i] = uint8_t(name.at(i).unicode() & 0xFF);

    const auto on = [&](const char* key) { return Key_Text(root, key) == QLatin1String("1"); };
    Put_Field(bank, Par("DHCP_Flags"),
              (on("Eth_Conn_DHCP_Cable") ? 1u : 0u) | (on("Eth_Conn_DHCP_WiFi") ? 2u : 0u));

    const bool dns = on("Eth_Conn_Enable_DNS");
    const bool gateway = on("Ethernet_EN_GAT");
    for (const Octet_Group& g : Octet_Groups) {
        if (g.when == Octets_When::DNS_On && !dns)
            continue; // stays 0.0.0.0
        for (int i = 0; i < 4; ++i) {
            const QByteArray key = QByteArray(g.key) + char('1' + i);
            int v = Key_Int(root, key.constData(), g.defaults[i]);
            if (g.when == Octets_When::Gateway && !gateway)
                v = 255;
            bank[g.field->Offset + i] = uint8_t(v);
        }
    }

    Read_MQTT_Keys(root, MQTT_Config);
    return r;
}

FileResult Read_MQTT_Parameters(const Texts& texts, const QString& File_ParGen, TMQTT& m)
{
    pugi::xml_document doc;
    bool missing = false;
    FileResult r = Load_Project_Xml(texts, File_ParGen, doc, &missing);
    if (r.ok && !missing)
        Read_MQTT_Keys(Xml_Root(doc), m);
    return r;
}

uint32_t Write_Parameter_Bank(Parameter_Bank_Bytes& bank, QByteArray& buffer, uint32_t position)
{
    const Par_Field& sum_field = Par("Checksum");
    uint32_t sum = 0;
    for (uint32_t i = 0; i < sum_field.Offset; ++i)
        sum += bank[i];
    Put_Field(bank, sum_field, sum);

    Image_Writer w(buffer, position, Image_Capacity - 1);
    w.Put_Bytes(QByteArray::fromRawData(reinterpret_cast<const char*>(bank.data()),
                                        qsizetype(bank.size())));
    return w.Pos();
}

int Serial_Channel_Code(const QString& name, uint8_t flags)
{
    // Each channel's code is also the number of its bit in the flags.
    static constexpr struct {
        const char* name;
        int code;
    } channels[] = {{"RS232", 0}, {"RS485 1", 1}, {"RS485 / RS422", 1}, {"RS485 2", 2}};
    for (const auto& c : channels)
        if (name == QLatin1String(c.name))
            return (flags >> c.code) & 1 ? c.code : -1;
    return -1;
}

} // namespace swr
