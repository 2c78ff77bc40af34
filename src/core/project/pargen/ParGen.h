#pragma once

// The communication parameters of a project and their file ParGen.xml, and
// their data check. The 55 keys are described once, in the table Par_Keys();
// load, save, the check and the editor's binding all walk that table.

#include "project/CheckFinding.h"
#include "project/ProjectFile.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <span>

namespace swr {

class Texts;

inline constexpr const char* ParGen_Root = "Par_Gen";

// The keys, in file order; each enumerator is spelt exactly as its element in ParGen.xml.
enum class ParKey : int {
    Eth_Conn_Device_Name,
    Eth_Conn_DHCP_Cable,
    Eth_Conn_DHCP_WiFi,
    Eth_Conn_Enable_DNS,
    Eth_Conn_Primary_DNS1,
    Eth_Conn_Primary_DNS2,
    Eth_Conn_Primary_DNS3,
    Eth_Conn_Primary_DNS4,
    Eth_Conn_Secondary_DNS1,
    Eth_Conn_Secondary_DNS2,
    Eth_Conn_Secondary_DNS3,
    Eth_Conn_Secondary_DNS4,
    RS232_ENABLE,
    RS232_BAUDRATE,
    RS232_PARITY,
    RS232_STOP_BITS,
    RS485_1_ENABLE,
    RS485_1_BAUDRATE,
    RS485_1_PARITY,
    RS485_1_STOP_BITS,
    Ethernet_IP1,
    Ethernet_IP2,
    Ethernet_IP3,
    Ethernet_IP4,
    Ethernet_SM1,
    Ethernet_SM2,
    Ethernet_SM3,
    Ethernet_SM4,
    Ethernet_GAT1,
    Ethernet_GAT2,
    Ethernet_GAT3,
    Ethernet_GAT4,
    Ethernet_EN_GAT,
    MQTT_Server_URL,
    MQTT_Server_Port,
    MQTT_Client_ID,
    MQTT_Keep_Alive,
    MQTT_Clean_Session,
    MQTT_WillFlag,
    MQTT_Will_Topic_Name,
    MQTT_Will_Message,
    MQTT_Will_Retained,
    MQTT_Will_QoS,
    MQTT_Username,
    MQTT_Password,
    MQTT_ASync_Send_Time,
    TLS_Enable,
    TLS_En_Server_Auth,
    TLS_Server_Auth_Certificate,
    TLS_En_Client_Auth,
    TLS_Client_Auth_Certificate,
    TLS_Client_Auth_Key,
    TLS_Client_Auth_Key_Password,
    NTP_Server_URL,
    NTP_Poll_Time,
};
inline constexpr int Par_Key_Count = 55;

enum class ParKind : unsigned char {
    Text,   // kept and written unchanged
    Flag,   // written "1" / "0"
    Choice, // one entry of its list, written as the entry's text
};

// The choice lists. The will QoS is written as its position, which is also its entry text.
enum class ParList : unsigned char { None, Baud, Parity, StopBits, QoS };

// The editor's panels, numbered as it shows them.
enum class ParGroup : unsigned char { Ethernet_Connection = 1, MQTT, Serial, TLS, NTP, Ethernet };

// When the editor shows a key's field and when it greys it out, by the flags on screen.
// A field with visible_while shows only while that flag is on and the flag's own field is
// shown, so the server certificate hides with "Enable TLS" as well as with "Server
// Authentication". A field with disabled_while is greyed while that flag is on; it keeps
// its value and the data check still reads it.
struct ParRule {
    std::optional<ParKey> visible_while = std::nullopt;
    std::optional<ParKey> disabled_while = std::nullopt;
};

// One key of ParGen.xml: how it is stored and read, and what the editor binds to it.
struct ParKeyInfo {
    ParKey key;
    const char* name;     // element name in the file
    ParKind kind;
    const char* fallback; // default, as written: "1"/"0" for flags, the entry text for choices
    ParList list;         // None unless a choice
    bool decimal_flag;    // flag on when its text is a decimal integer equal to 1 (the TLS
                          // flags); other flags only when the text is exactly "1"
    ParGroup group;
    int octet;            // 1..4 for the octets of an address row, 0 otherwise. The "." key
                          // chain of the editor is the next key in table order while it is an
                          // octet too.
    int max_length;       // characters the editor lets the user type; 0 for no limit
    bool multi_line;      // edited in a field that takes several lines
    bool shown;           // whether the editor of this product shows the key; hidden keys are
                          // kept as loaded and written back
    int label;            // text index of the field's label or check box caption; -1 for none
                          // (the gateway octets' row starts with the Ethernet_EN_GAT box)
    int hint;             // text index of the field's hint; -1 for none
    ParRule rule = {};
    // The key whose control stands in the label column of this key's row instead of a
    // label (the "Gateway" check box before the gateway octets).
    std::optional<ParKey> label_key = std::nullopt;
};

// All 55 keys, in file order: Par_Keys()[int(k)].key == k.
std::span<const ParKeyInfo, Par_Key_Count> Par_Keys();
const ParKeyInfo& Par_Key_Info(ParKey k);
// The key whose element is called name (exact spelling); false when there is none.
bool Par_Key_From_Name(const QString& name, ParKey* key);

// The entries of a list, in list order (empty for None).
const QStringList& Par_Choices(ParList list);

// The text-to-position mappings of the file.
int Baud_to_Index(const QString& text);     // decimal 1200..115200 of the list; else 2 (4800)
int Parity_to_Index(const QString& text);   // NONE, ODD, EVEN in any case; else 0
int StopBits_to_Index(const QString& text); // "1 BIT", "2 BITS" in any case; else 0

// The parameter set: every value addressable by its key.
struct ParGen {
    // Each value as it is written to the file: texts as typed, flags "1" or "0", choices the
    // entry's text. Use the accessors, which keep flags and choices valid.
    std::array<QString, Par_Key_Count> values;

    const QString& Text(ParKey k) const { return values[size_t(k)]; }
    // Text keys take text unchanged; flag and choice keys read it as the file's text is read
    // (the file's reading rules), so "01" turns TLS_Enable on and "even" picks "EVEN".
    void Set_Text(ParKey k, const QString& text);

    bool Flag(ParKey k) const { return Text(k) == QLatin1String("1"); }
    void Set_Flag(ParKey k, bool on);

    // Position of the value in the key's list (-1 only when values was set by hand).
    int Choice(ParKey k) const;
    // Selects the entry at position; a position outside the list changes nothing.
    void Set_Choice(ParKey k, int position);

    bool operator==(const ParGen&) const = default;
};

// The editor's rules over the values m holds now: whether the key's field is shown (never
// for a key the editor of this product does not show) and whether it can be edited.
bool Par_Key_Visible(const ParGen& m, ParKey k);
bool Par_Key_Enabled(const ParGen& m, ParKey k);
// Whether some field's rule depends on the flag k, so a click on it re-applies the rules.
bool Par_Key_Drives_Rules(ParKey k);
// The octet the "." key moves on to from octet k: the next key in table order while it is
// an octet too; none after the last octet of a chain or for a key that is no octet.
std::optional<ParKey> Par_Dot_Next(ParKey k);

// Every key at its default; also what a project without ParGen.xml shows.
ParGen ParGen_Defaults();

// The editor's load: m gets the defaults, then every key found in the file by the
// reading rules. A missing file is no error. A file that is not well-formed gives ok false
// with the message of Load_Project_Xml (file, line, column, reason); m keeps the defaults.
// Eth_Conn_DHCP_WiFi is read back like the other flags.
FileResult Load_ParGen(const Texts& texts, const QString& path, ParGen& m);

// Writes ParGen.xml whole: the root Par_Gen with the 55 elements in table order (an empty
// value as an element without text), then the comment "SW_VERSION = 1.002". The caller
// runs Controllo_Dati first and saves only when it passes.
FileResult Save_ParGen(const Texts& texts, const QString& path, const ParGen& m);

// The findings of the data check, one error per failing test in the order the tests run,
// each with the key it read; texts from the string table now.
Check_Findings Data_Check(const Texts& texts, const ParGen& m);
// The check of OK: empty when the values may be saved, otherwise the text of the first
// failing test; failed (when given) is then the key that test read.
QString Controllo_Dati(const Texts& texts, const ParGen& m, ParKey* failed = nullptr);

} // namespace swr
