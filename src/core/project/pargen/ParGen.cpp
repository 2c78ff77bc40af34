#include "project/pargen/ParGen.h"

#include "base/Numbers.h"

namespace swr {

namespace {

using enum ParKind;
using enum ParList;
using enum ParGroup;

constexpr bool Multi = true;
constexpr bool Hidden = false;
constexpr bool Shown = true;

// The editor's rules (ParRule), by the flag each follows.
constexpr ParRule While_Will = {.visible_while = ParKey::MQTT_WillFlag};
constexpr ParRule While_TLS = {.visible_while = ParKey::TLS_Enable};
constexpr ParRule While_Server_Auth = {.visible_while = ParKey::TLS_En_Server_Auth};
constexpr ParRule While_Client_Auth = {.visible_while = ParKey::TLS_En_Client_Auth};
// The static addressing is the DHCP server's business while the cable takes its address.
constexpr ParRule Off_With_DHCP = {.disabled_while = ParKey::Eth_Conn_DHCP_Cable};

// The row's key and its element name, spelt once.
#define K(k) ParKey::k, #k

// key, element | kind | default | list | decimal flag | panel | octet | max length |
// multi-line | shown | label | hint | editor rule | control in the label column
constexpr ParKeyInfo Table[] = {
    {K(Eth_Conn_Device_Name), Text, "", None, false, Ethernet_Connection, 0, 31, false, Shown, 1122, 1123},
    {K(Eth_Conn_DHCP_Cable), Flag, "0", None, false, Ethernet_Connection, 0, 0, false, Shown, 1124, 1125},
    {K(Eth_Conn_DHCP_WiFi), Flag, "0", None, false, Ethernet_Connection, 0, 0, false, Shown, 1126, 1127},
    {K(Eth_Conn_Enable_DNS), Flag, "0", None, false, Ethernet_Connection, 0, 0, false, Shown, 1128, 1129},
    {K(Eth_Conn_Primary_DNS1), Text, "8", None, false, Ethernet_Connection, 1, 0, false, Shown, 1130, 1131},
    {K(Eth_Conn_Primary_DNS2), Text, "8", None, false, Ethernet_Connection, 2, 0, false, Shown, 1130, 1132},
    {K(Eth_Conn_Primary_DNS3), Text, "8", None, false, Ethernet_Connection, 3, 0, false, Shown, 1130, 1133},
    {K(Eth_Conn_Primary_DNS4), Text, "8", None, false, Ethernet_Connection, 4, 0, false, Shown, 1130, 1134},
    {K(Eth_Conn_Secondary_DNS1), Text, "8", None, false, Ethernet_Connection, 1, 0, false, Shown, 1135, 1136},
    {K(Eth_Conn_Secondary_DNS2), Text, "8", None, false, Ethernet_Connection, 2, 0, false, Shown, 1135, 1137},
    {K(Eth_Conn_Secondary_DNS3), Text, "4", None, false, Ethernet_Connection, 3, 0, false, Shown, 1135, 1138},
    {K(Eth_Conn_Secondary_DNS4), Text, "4", None, false, Ethernet_Connection, 4, 0, false, Shown, 1135, 1139},
    {K(RS232_ENABLE), Flag, "1", None, false, Serial, 0, 0, false, Hidden, 428, 432},
    {K(RS232_BAUDRATE), Choice, "4800", Baud, false, Serial, 0, 0, false, Shown, 429, 590},
    {K(RS232_PARITY), Choice, "NONE", Parity, false, Serial, 0, 0, false, Shown, 430, 591},
    {K(RS232_STOP_BITS), Choice, "1 bit", StopBits, false, Serial, 0, 0, false, Shown, 431, 592},
    {K(RS485_1_ENABLE), Flag, "1", None, false, Serial, 0, 0, false, Hidden, -1, -1},
    {K(RS485_1_BAUDRATE), Choice, "4800", Baud, false, Serial, 0, 0, false, Hidden, -1, -1},
    {K(RS485_1_PARITY), Choice, "NONE", Parity, false, Serial, 0, 0, false, Hidden, -1, -1},
    {K(RS485_1_STOP_BITS), Choice, "1 bit", StopBits, false, Serial, 0, 0, false, Hidden, -1, -1},
    {K(Ethernet_IP1), Text, "192", None, false, Ethernet, 1, 0, false, Shown, 518, 519, Off_With_DHCP},
    {K(Ethernet_IP2), Text, "168", None, false, Ethernet, 2, 0, false, Shown, 518, 520, Off_With_DHCP},
    {K(Ethernet_IP3), Text, "0", None, false, Ethernet, 3, 0, false, Shown, 518, 521, Off_With_DHCP},
    {K(Ethernet_IP4), Text, "10", None, false, Ethernet, 4, 0, false, Shown, 518, 522, Off_With_DHCP},
    {K(Ethernet_SM1), Text, "255", None, false, Ethernet, 1, 0, false, Shown, 523, 524, Off_With_DHCP},
    {K(Ethernet_SM2), Text, "255", None, false, Ethernet, 2, 0, false, Shown, 523, 525, Off_With_DHCP},
    {K(Ethernet_SM3), Text, "255", None, false, Ethernet, 3, 0, false, Shown, 523, 526, Off_With_DHCP},
    {K(Ethernet_SM4), Text, "0", None, false, Ethernet, 4, 0, false, Shown, 523, 527, Off_With_DHCP},
    {K(Ethernet_GAT1), Text, "192", None, false, Ethernet, 1, 0, false, Shown, -1, 530, Off_With_DHCP, ParKey::Ethernet_EN_GAT},
    {K(Ethernet_GAT2), Text, "168", None, false, Ethernet, 2, 0, false, Shown, -1, 531, Off_With_DHCP},
    {K(Ethernet_GAT3), Text, "0", None, false, Ethernet, 3, 0, false, Shown, -1, 532, Off_With_DHCP},
    {K(Ethernet_GAT4), Text, "1", None, false, Ethernet, 4, 0, false, Shown, -1, 533, Off_With_DHCP},
    {K(Ethernet_EN_GAT), Flag, "0", None, false, Ethernet, 0, 0, false, Shown, 528, 529, Off_With_DHCP},
    {K(MQTT_Server_URL), Text, "", None, false, MQTT, 0, 0, false, Shown, 563, 564},
    {K(MQTT_Server_Port), Text, "1883", None, false, MQTT, 0, 0, false, Shown, 565, 566},
    {K(MQTT_Client_ID), Text, "", None, false, MQTT, 0, 0, false, Shown, 567, 568},
    {K(MQTT_Keep_Alive), Text, "", None, false, MQTT, 0, 0, false, Shown, 569, 570},
    {K(MQTT_Clean_Session), Flag, "0", None, false, MQTT, 0, 0, false, Shown, 571, 572},
    {K(MQTT_WillFlag), Flag, "0", None, false, MQTT, 0, 0, false, Shown, 573, 574},
    {K(MQTT_Will_Topic_Name), Text, "", None, false, MQTT, 0, 0, false, Shown, 575, 576, While_Will},
    {K(MQTT_Will_Message), Text, "", None, false, MQTT, 0, 0, false, Shown, 577, 578, While_Will},
    {K(MQTT_Will_Retained), Flag, "0", None, false, MQTT, 0, 0, false, Shown, 579, 580, While_Will},
    {K(MQTT_Will_QoS), Choice, "0", QoS, false, MQTT, 0, 0, false, Shown, 581, 582, While_Will},
    {K(MQTT_Username), Text, "", None, false, MQTT, 0, 0, false, Shown, 583, 584},
    {K(MQTT_Password), Text, "", None, false, MQTT, 0, 0, Multi, Shown, 585, 586},
    {K(MQTT_ASync_Send_Time), Text, "", None, false, MQTT, 0, 0, false, Hidden, 587, 588},
    {K(TLS_Enable), Flag, "0", None, true, TLS, 0, 0, false, Shown, 1101, 1102},
    {K(TLS_En_Server_Auth), Flag, "0", None, true, TLS, 0, 0, false, Shown, 1103, 1104, While_TLS},
    {K(TLS_Server_Auth_Certificate), Text, "", None, false, TLS, 0, 0, Multi, Shown, 1105, 1106, While_Server_Auth},
    {K(TLS_En_Client_Auth), Flag, "0", None, true, TLS, 0, 0, false, Shown, 1107, 1108, While_TLS},
    {K(TLS_Client_Auth_Certificate), Text, "", None, false, TLS, 0, 0, Multi, Shown, 1109, 1110, While_Client_Auth},
    {K(TLS_Client_Auth_Key), Text, "", None, false, TLS, 0, 0, Multi, Shown, 1111, 1112, While_Client_Auth},
    {K(TLS_Client_Auth_Key_Password), Text, "", None, false, TLS, 0, 0, false, Shown, 1113, 1114, While_Client_Auth},
    {K(NTP_Server_URL), Text, "pool.ntp.org", None, false, NTP, 0, 0, false, Shown, 1116, 1117},
    {K(NTP_Poll_Time), Text, "1000", None, false, NTP, 0, 0, false, Shown, 1118, 1119},
};

#undef K

constexpr bool Table_In_Key_Order()
{
    for (int i = 0; i < Par_Key_Count; ++i)
        if (int(Table[i].key) != i)
            return false;
    return true;
}
// The rules name flags; the four octets of a row share their rules, as the row greys and
// hides as one; a control in a label column is a flag's check box.
constexpr bool Rules_Consistent()
{
    const auto is_flag = [](std::optional<ParKey> k) { return !k || Table[int(*k)].kind == ParKind::Flag; };
    for (int i = 0; i < Par_Key_Count; ++i) {
        const ParKeyInfo& k = Table[i];
        if (!is_flag(k.rule.visible_while) || !is_flag(k.rule.disabled_while) || !is_flag(k.label_key))
            return false;
        if (k.octet > 1) {
            const ParRule& first = Table[i - k.octet + 1].rule;
            if (first.visible_while != k.rule.visible_while || first.disabled_while != k.rule.disabled_while)
                return false;
        }
    }
    return true;
}
static_assert(std::size(Table) == Par_Key_Count);
static_assert(Table_In_Key_Order(), "Par_Keys rows must follow the order of ParKey");
static_assert(Rules_Consistent(), "rules and label controls must name flags; octets of a row share rules");

// The text a file gives for a key, as the key's value (the file's reading rules).
QString Read_Value(const ParKeyInfo& k, const QString& text)
{
    switch (k.kind) {
    case ParKind::Text:
        return text;
    case ParKind::Flag: {
        const bool on = k.decimal_flag ? Decimal_Whole_Or(text, 0) == 1 : text == QLatin1String("1");
        return QLatin1String(on ? "1" : "0");
    }
    case ParKind::Choice:
        break;
    }
    int pos = 0;
    switch (k.list) {
    case ParList::Baud:
        pos = Baud_to_Index(text);
        break;
    case ParList::Parity:
        pos = Parity_to_Index(text);
        break;
    case ParList::StopBits:
        pos = StopBits_to_Index(text);
        break;
    case ParList::QoS:
        // Read as the list position; one outside the list takes the default position.
        pos = Decimal_Whole_Or(text, 0);
        if (pos < 0 || pos >= Par_Choices(ParList::QoS).size())
            pos = 0;
        break;
    case ParList::None:
        return QString::fromUtf8(k.fallback);
    }
    return Par_Choices(k.list).at(pos);
}

} // namespace

std::span<const ParKeyInfo, Par_Key_Count> Par_Keys()
{
    return std::span<const ParKeyInfo, Par_Key_Count>(Table);
}

const ParKeyInfo& Par_Key_Info(ParKey k)
{
    return Table[size_t(k)];
}

bool Par_Key_From_Name(const QString& name, ParKey* key)
{
    for (const ParKeyInfo& k : Table) {
        if (name == QLatin1String(k.name)) {
            if (key)
                *key = k.key;
            return true;
        }
    }
    return false;
}

bool Par_Key_Visible(const ParGen& m, ParKey k)
{
    const ParKeyInfo& info = Par_Key_Info(k);
    if (!info.shown)
        return false;
    const std::optional<ParKey> w = info.rule.visible_while;
    return !w || (m.Flag(*w) && Par_Key_Visible(m, *w));
}

bool Par_Key_Enabled(const ParGen& m, ParKey k)
{
    const std::optional<ParKey> d = Par_Key_Info(k).rule.disabled_while;
    return !d || !m.Flag(*d);
}

bool Par_Key_Drives_Rules(ParKey k)
{
    for (const ParKeyInfo& i : Table)
        if (i.rule.visible_while == k || i.rule.disabled_while == k)
            return true;
    return false;
}

std::optional<ParKey> Par_Dot_Next(ParKey k)
{
    const int next = int(k) + 1;
    if (Par_Key_Info(k).octet == 0 || next == Par_Key_Count || Table[next].octet == 0)
        return std::nullopt;
    return ParKey(next);
}

const QStringList& Par_Choices(ParList list)
{
    static const QStringList none;
    static const QStringList baud = {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};
    static const QStringList parity = {"NONE", "ODD", "EVEN"};
    static const QStringList stop = {"1 bit", "2 bits"};
    static const QStringList qos = {"0", "1", "2"};
    switch (list) {
    case ParList::Baud:
        return baud;
    case ParList::Parity:
        return parity;
    case ParList::StopBits:
        return stop;
    case ParList::QoS:
        return qos;
    case ParList::None:
        break;
    }
    return none;
}

int Baud_to_Index(const QString& text)
{
    const int baud = Decimal_Whole_Or(text, 4800);
    const int pos = int(Par_Choices(ParList::Baud).indexOf(QString::number(baud)));
    return pos < 0 ? 2 : pos;
}

int Parity_to_Index(const QString& text)
{
    const int pos = int(Par_Choices(ParList::Parity).indexOf(text.toUpper()));
    return pos < 0 ? 0 : pos;
}

int StopBits_to_Index(const QString& text)
{
    const QString t = text.toUpper();
    if (t == QLatin1String("2 BITS"))
        return 1;
    return 0; // "1 BIT" and anything else
}

void ParGen::Set_Text(ParKey k, const QString& text)
{
    values[size_t(k)] = Read_Value(Par_Key_Info(k), text);
}

void ParGen::Set_Flag(ParKey k, bool on)
{
    values[size_t(k)] = QLatin1String(on ? "1" : "0");
}

int ParGen::Choice(ParKey k) const
{
    return int(Par_Choices(Par_Key_Info(k).list).indexOf(Text(k)));
}

void ParGen::Set_Choice(ParKey k, int position)
{
    const QStringList& entries = Par_Choices(Par_Key_Info(k).list);
    if (position >= 0 && position < entries.size())
        values[size_t(k)] = entries.at(position);
}

ParGen ParGen_Defaults()
{
    ParGen m;
    for (const ParKeyInfo& k : Table)
        m.values[size_t(k.key)] = QString::fromUtf8(k.fallback);
    return m;
}

} // namespace swr
