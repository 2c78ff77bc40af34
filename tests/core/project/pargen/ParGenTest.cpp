#include "project/pargen/ParGen.h"

#include "base/Xml.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

using namespace swr;
using swr::test::ProgramFolder;

namespace {

// A started program folder and the path of a ParGen.xml in it.
struct ParGenFixture : ::testing::Test {
    ProgramFolder p;
    QString file;
    void SetUp() override
    {
        p.start();
        file = p.path("PROJECTS/P/ParGen.xml");
        QDir().mkpath(p.path("PROJECTS/P"));
    }
    ParGen load(const QByteArray& bytes)
    {
        p.write("PROJECTS/P/ParGen.xml", bytes);
        ParGen m;
        const FileResult r = Load_ParGen(p.st, file, m);
        EXPECT_TRUE(r.ok) << r.message.toStdString();
        return m;
    }
    // A file with only the given children of Par_Gen.
    ParGen load_children(const QByteArray& children)
    {
        return load("<Par_Gen>" + children + "</Par_Gen>");
    }
};

QByteArray Utf16(const QString& s, bool big_endian)
{
    QByteArray out = big_endian ? QByteArray("\xFE\xFF", 2) : QByteArray("\xFF\xFE", 2);
    for (QChar c : s) {
        const char16_t u = c.unicode();
        const char hi = char(u >> 8), lo = char(u & 0xFF);
        if (big_endian) {
            out.append(hi);
            out.append(lo);
        } else {
            out.append(lo);
            out.append(hi);
        }
    }
    return out;
}

} // namespace

// ---- The key table ----------------------------------------------------------------------

TEST(ParGenTable, FiftyFiveKeysInFileOrderWithTheirKinds)
{
    const auto keys = Par_Keys();
    ASSERT_EQ(keys.size(), 55u);
    QSet<QString> names;
    int texts = 0, flags = 0, choices = 0;
    for (int i = 0; i < Par_Key_Count; ++i) {
        const ParKeyInfo& k = keys[size_t(i)];
        EXPECT_EQ(int(k.key), i);
        EXPECT_EQ(&Par_Key_Info(k.key), &k);
        names.insert(QString::fromLatin1(k.name));
        ParKey found{};
        EXPECT_TRUE(Par_Key_From_Name(QString::fromLatin1(k.name), &found));
        EXPECT_EQ(found, k.key);
        texts += k.kind == ParKind::Text;
        flags += k.kind == ParKind::Flag;
        choices += k.kind == ParKind::Choice;
        EXPECT_EQ(k.kind == ParKind::Choice, k.list != ParList::None) << k.name;
        EXPECT_EQ(k.decimal_flag, k.key == ParKey::TLS_Enable || k.key == ParKey::TLS_En_Server_Auth
                                      || k.key == ParKey::TLS_En_Client_Auth)
            << k.name;
    }
    EXPECT_EQ(names.size(), 55);
    EXPECT_EQ(texts, 36);
    EXPECT_EQ(flags, 12);
    EXPECT_EQ(choices, 7);
    EXPECT_FALSE(Par_Key_From_Name("eth_conn_device_name", nullptr));
    EXPECT_EQ(QString(keys[0].name), "Eth_Conn_Device_Name");
    EXPECT_EQ(QString(keys[54].name), "NTP_Poll_Time");
}

TEST(ParGenTable, ChoiceListsAndEditorMetadata)
{
    EXPECT_EQ(Par_Choices(ParList::Baud),
              QStringList({"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"}));
    EXPECT_EQ(Par_Choices(ParList::Parity), QStringList({"NONE", "ODD", "EVEN"}));
    EXPECT_EQ(Par_Choices(ParList::StopBits), QStringList({"1 bit", "2 bits"}));
    EXPECT_EQ(Par_Choices(ParList::QoS), QStringList({"0", "1", "2"}));
    EXPECT_TRUE(Par_Choices(ParList::None).isEmpty());

    ProgramFolder p;
    p.start();
    const auto label = [&](ParKey k) { return p.st.Get_Lang_Text(Par_Key_Info(k).label); };
    const auto hint = [&](ParKey k) { return p.st.Get_Lang_Text(Par_Key_Info(k).hint); };
    EXPECT_EQ(label(ParKey::Eth_Conn_Device_Name), "Device Name (Hostname)");
    EXPECT_EQ(Par_Key_Info(ParKey::Eth_Conn_Device_Name).max_length, 31);
    EXPECT_EQ(label(ParKey::Eth_Conn_Secondary_DNS3), "Secondary DNS");
    EXPECT_EQ(hint(ParKey::Eth_Conn_Secondary_DNS3), "Insert Third byte of Secondary DNS");
    EXPECT_EQ(label(ParKey::Ethernet_EN_GAT), "Gateway");
    EXPECT_EQ(hint(ParKey::Ethernet_GAT4), "Insert Fourth byte of Default Gateway");
    EXPECT_EQ(label(ParKey::MQTT_Will_QoS), "QoS Will");
    EXPECT_EQ(hint(ParKey::RS232_STOP_BITS), "Select the Stop Bits of Serial Port (Default 1)");
    EXPECT_EQ(label(ParKey::TLS_Client_Auth_Key), "Client Key");
    EXPECT_EQ(label(ParKey::NTP_Poll_Time), "Poll Time (seconds)");
    EXPECT_TRUE(Par_Key_Info(ParKey::TLS_Server_Auth_Certificate).multi_line);
    EXPECT_TRUE(Par_Key_Info(ParKey::MQTT_Password).multi_line);
    EXPECT_FALSE(Par_Key_Info(ParKey::MQTT_ASync_Send_Time).shown);
    EXPECT_FALSE(Par_Key_Info(ParKey::RS232_ENABLE).shown);
    EXPECT_FALSE(Par_Key_Info(ParKey::RS485_1_BAUDRATE).shown);
    EXPECT_TRUE(Par_Key_Info(ParKey::RS232_BAUDRATE).shown);

    // The "." chains of the editor follow from the octet numbers in table order.
    QStringList chain;
    for (const ParKeyInfo& k : Par_Keys())
        if (k.octet)
            chain << QString::number(k.octet);
    EXPECT_EQ(chain.join(""), "12341234123412341234"); // DNS 1, DNS 2, IP, mask, gateway
    EXPECT_EQ(Par_Key_Info(ParKey(int(ParKey::Eth_Conn_Secondary_DNS4) + 1)).octet, 0);
    EXPECT_EQ(Par_Key_Info(ParKey(int(ParKey::Ethernet_GAT4) + 1)).octet, 0);
    EXPECT_EQ(Par_Key_Info(ParKey::Eth_Conn_Primary_DNS4).group, ParGroup::Ethernet_Connection);
    EXPECT_EQ(Par_Key_Info(ParKey::Ethernet_GAT1).group, ParGroup::Ethernet);
    EXPECT_EQ(Par_Key_Info(ParKey::RS485_1_ENABLE).group, ParGroup::Serial);
}

TEST(ParGenRules, VisibilityAndEnablingFollowTheFlags)
{
    using K = ParKey;
    const auto visible = [](const ParGen& m) {
        QStringList v;
        for (const ParKeyInfo& k : Par_Keys())
            if (k.group == ParGroup::TLS && Par_Key_Visible(m, k.key))
                v << QString::fromLatin1(k.name).remove("TLS_");
        return v.join(' ');
    };
    ParGen m = ParGen_Defaults();
    EXPECT_EQ(visible(m), "Enable");
    // The authentications on without TLS show nothing more: their boxes are hidden.
    m.Set_Flag(K::TLS_En_Server_Auth, true);
    m.Set_Flag(K::TLS_En_Client_Auth, true);
    EXPECT_EQ(visible(m), "Enable");
    m.Set_Flag(K::TLS_Enable, true);
    EXPECT_EQ(visible(m), "Enable En_Server_Auth Server_Auth_Certificate En_Client_Auth "
                          "Client_Auth_Certificate Client_Auth_Key Client_Auth_Key_Password");
    m.Set_Flag(K::TLS_En_Server_Auth, false);
    EXPECT_EQ(visible(m), "Enable En_Server_Auth En_Client_Auth Client_Auth_Certificate Client_Auth_Key "
                          "Client_Auth_Key_Password");

    for (K k : {K::MQTT_Will_Topic_Name, K::MQTT_Will_Message, K::MQTT_Will_Retained, K::MQTT_Will_QoS}) {
        EXPECT_FALSE(Par_Key_Visible(ParGen_Defaults(), k));
        ParGen will = ParGen_Defaults();
        will.Set_Flag(K::MQTT_WillFlag, true);
        EXPECT_TRUE(Par_Key_Visible(will, k));
    }
    // Keys the editor of this product never shows, whatever the flags say.
    ParGen all = ParGen_Defaults();
    for (const ParKeyInfo& k : Par_Keys())
        if (k.kind == ParKind::Flag)
            all.Set_Flag(k.key, true);
    for (K k : {K::MQTT_ASync_Send_Time, K::RS232_ENABLE, K::RS485_1_BAUDRATE})
        EXPECT_FALSE(Par_Key_Visible(all, k)) << Par_Key_Info(k).name;
    EXPECT_TRUE(Par_Key_Visible(all, K::MQTT_Username));

    // DHCP on the cable greys the static addressing, never the DNS or the DHCP boxes.
    QStringList disabled;
    ParGen dhcp = ParGen_Defaults();
    dhcp.Set_Flag(K::Eth_Conn_DHCP_Cable, true);
    for (const ParKeyInfo& k : Par_Keys()) {
        EXPECT_TRUE(Par_Key_Enabled(ParGen_Defaults(), k.key)) << k.name;
        if (!Par_Key_Enabled(dhcp, k.key))
            disabled << QString::fromLatin1(k.name);
    }
    EXPECT_EQ(disabled.join(' '), "Ethernet_IP1 Ethernet_IP2 Ethernet_IP3 Ethernet_IP4 Ethernet_SM1 "
                                  "Ethernet_SM2 Ethernet_SM3 Ethernet_SM4 Ethernet_GAT1 Ethernet_GAT2 "
                                  "Ethernet_GAT3 Ethernet_GAT4 Ethernet_EN_GAT");

    QStringList drivers;
    for (const ParKeyInfo& k : Par_Keys())
        if (Par_Key_Drives_Rules(k.key))
            drivers << QString::fromLatin1(k.name);
    EXPECT_EQ(drivers.join(' '), "Eth_Conn_DHCP_Cable MQTT_WillFlag TLS_Enable TLS_En_Server_Auth TLS_En_Client_Auth");
    EXPECT_EQ(Par_Key_Info(K::Ethernet_GAT1).label_key, K::Ethernet_EN_GAT);
}

TEST(ParGenRules, DotChains)
{
    const auto chain = [](ParKey from) {
        QStringList names;
        for (std::optional<ParKey> k = from; k; k = Par_Dot_Next(*k))
            names << QString::fromLatin1(Par_Key_Info(*k).name);
        return names.join(' ');
    };
    EXPECT_EQ(chain(ParKey::Eth_Conn_Primary_DNS1),
              "Eth_Conn_Primary_DNS1 Eth_Conn_Primary_DNS2 Eth_Conn_Primary_DNS3 Eth_Conn_Primary_DNS4 "
              "Eth_Conn_Secondary_DNS1 Eth_Conn_Secondary_DNS2 Eth_Conn_Secondary_DNS3 Eth_Conn_Secondary_DNS4");
    EXPECT_EQ(chain(ParKey::Ethernet_IP1),
              "Ethernet_IP1 Ethernet_IP2 Ethernet_IP3 Ethernet_IP4 Ethernet_SM1 Ethernet_SM2 Ethernet_SM3 "
              "Ethernet_SM4 Ethernet_GAT1 Ethernet_GAT2 Ethernet_GAT3 Ethernet_GAT4");
    EXPECT_FALSE(Par_Dot_Next(ParKey::Eth_Conn_Device_Name));
    EXPECT_FALSE(Par_Dot_Next(ParKey::NTP_Poll_Time));
}

// ---- Mappings and model -----------------------------------------------------------------

TEST(ParGenMappings, TextToPosition)
{
    const struct {
        const char* text;
        int pos;
    } baud[] = {{"1200", 0}, {"2400", 1}, {"4800", 2}, {"9600", 3}, {"19200", 4}, {"38400", 5},
                {"57600", 6}, {"115200", 7}, {"300", 2}, {"abc", 2}, {"", 2}, {" 9600", 2},
                {"009600", 3}, {"+19200", 4}, {"9600.0", 2}, {"99999999999999", 2}};
    for (const auto& c : baud)
        EXPECT_EQ(Baud_to_Index(c.text), c.pos) << c.text;

    const struct {
        const char* text;
        int pos;
    } parity[] = {{"NONE", 0}, {"ODD", 1}, {"EVEN", 2}, {"even", 2}, {"Odd", 1}, {"none", 0},
                  {"MARK", 0}, {"", 0}, {" EVEN", 0}};
    for (const auto& c : parity)
        EXPECT_EQ(Parity_to_Index(c.text), c.pos) << c.text;

    const struct {
        const char* text;
        int pos;
    } stop[] = {{"1 bit", 0}, {"2 bits", 1}, {"2 BITS", 1}, {"2 Bits", 1}, {"2 bItS", 1},
                {"1", 0}, {"2", 0}, {"1 BIT", 0}, {"", 0}};
    for (const auto& c : stop)
        EXPECT_EQ(StopBits_to_Index(c.text), c.pos) << c.text;
}

TEST(ParGenModel, AccessorsKeepFlagsAndChoicesValid)
{
    ParGen m = ParGen_Defaults();
    EXPECT_EQ(m.Choice(ParKey::RS232_BAUDRATE), 2);
    m.Set_Choice(ParKey::RS232_BAUDRATE, 7);
    EXPECT_EQ(m.Text(ParKey::RS232_BAUDRATE), "115200");
    m.Set_Choice(ParKey::RS232_BAUDRATE, 8);
    m.Set_Choice(ParKey::RS232_BAUDRATE, -1);
    EXPECT_EQ(m.Text(ParKey::RS232_BAUDRATE), "115200");
    m.Set_Choice(ParKey::MQTT_Will_QoS, 2);
    EXPECT_EQ(m.Text(ParKey::MQTT_Will_QoS), "2");
    m.Set_Text(ParKey::RS232_PARITY, "odd");
    EXPECT_EQ(m.Text(ParKey::RS232_PARITY), "ODD");
    m.Set_Text(ParKey::TLS_Enable, "01");
    EXPECT_TRUE(m.Flag(ParKey::TLS_Enable));
    m.Set_Text(ParKey::Ethernet_EN_GAT, "true");
    EXPECT_EQ(m.Text(ParKey::Ethernet_EN_GAT), "0");
    m.Set_Flag(ParKey::Ethernet_EN_GAT, true);
    EXPECT_EQ(m.Text(ParKey::Ethernet_EN_GAT), "1");
    m.Set_Text(ParKey::MQTT_Username, "  as typed ");
    EXPECT_EQ(m.Text(ParKey::MQTT_Username), "  as typed ");
    EXPECT_NE(m, ParGen_Defaults());
}

// ---- Load: defaults and reading rules -----------------------------------------------------

TEST_F(ParGenFixture, MissingFileGivesTheDefaults)
{
    ParGen m;
    m.Set_Text(ParKey::MQTT_Server_URL, "left over");
    const FileResult r = Load_ParGen(p.st, file, m);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.message.isEmpty());
    EXPECT_EQ(m, ParGen_Defaults());

    const auto ip = [&](ParKey a) {
        QStringList o;
        for (int i = 0; i < 4; ++i)
            o << m.Text(ParKey(int(a) + i));
        return o.join('.');
    };
    EXPECT_EQ(m.Text(ParKey::Eth_Conn_Device_Name), "");
    EXPECT_FALSE(m.Flag(ParKey::Eth_Conn_DHCP_Cable));
    EXPECT_FALSE(m.Flag(ParKey::Eth_Conn_DHCP_WiFi));
    EXPECT_FALSE(m.Flag(ParKey::Eth_Conn_Enable_DNS));
    EXPECT_EQ(ip(ParKey::Eth_Conn_Primary_DNS1), "8.8.8.8");
    EXPECT_EQ(ip(ParKey::Eth_Conn_Secondary_DNS1), "8.8.4.4");
    EXPECT_EQ(m.Text(ParKey::RS232_BAUDRATE), "4800");
    EXPECT_EQ(m.Text(ParKey::RS232_PARITY), "NONE");
    EXPECT_EQ(m.Text(ParKey::RS232_STOP_BITS), "1 bit");
    EXPECT_TRUE(m.Flag(ParKey::RS232_ENABLE));
    EXPECT_TRUE(m.Flag(ParKey::RS485_1_ENABLE));
    EXPECT_EQ(ip(ParKey::Ethernet_IP1), "192.168.0.10");
    EXPECT_EQ(ip(ParKey::Ethernet_SM1), "255.255.255.0");
    EXPECT_EQ(ip(ParKey::Ethernet_GAT1), "192.168.0.1");
    EXPECT_FALSE(m.Flag(ParKey::Ethernet_EN_GAT));
    EXPECT_EQ(m.Text(ParKey::MQTT_Server_Port), "1883");
    EXPECT_EQ(m.Choice(ParKey::MQTT_Will_QoS), 0);
    for (ParKey k : {ParKey::MQTT_Server_URL, ParKey::MQTT_Client_ID, ParKey::MQTT_Keep_Alive,
                     ParKey::MQTT_Will_Topic_Name, ParKey::MQTT_Will_Message, ParKey::MQTT_Username,
                     ParKey::MQTT_Password, ParKey::MQTT_ASync_Send_Time,
                     ParKey::TLS_Server_Auth_Certificate, ParKey::TLS_Client_Auth_Certificate,
                     ParKey::TLS_Client_Auth_Key, ParKey::TLS_Client_Auth_Key_Password})
        EXPECT_TRUE(m.Text(k).isEmpty()) << Par_Key_Info(k).name;
    for (ParKey k : {ParKey::MQTT_Clean_Session, ParKey::MQTT_WillFlag, ParKey::MQTT_Will_Retained,
                     ParKey::TLS_Enable, ParKey::TLS_En_Server_Auth, ParKey::TLS_En_Client_Auth})
        EXPECT_FALSE(m.Flag(k)) << Par_Key_Info(k).name;
    EXPECT_EQ(m.Text(ParKey::NTP_Server_URL), "pool.ntp.org");
    EXPECT_EQ(m.Text(ParKey::NTP_Poll_Time), "1000");
}

TEST_F(ParGenFixture, SavedDefaultsMatchTheGoldenFile)
{
    const FileResult r = Save_ParGen(p.st, file, ParGen_Defaults());
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(p.read("PROJECTS/P/ParGen.xml"), test::Read_Test_Data("ParGen_defaults.xml"));
    // And the golden file reads back as the defaults.
    EXPECT_EQ(load(test::Read_Test_Data("ParGen_defaults.xml")), ParGen_Defaults());
}

TEST_F(ParGenFixture, SaveWritesEveryKindAsTheFileWantsIt)
{
    ParGen m = ParGen_Defaults();
    m.Set_Flag(ParKey::Eth_Conn_DHCP_WiFi, true);
    m.Set_Flag(ParKey::RS232_ENABLE, false);
    m.Set_Choice(ParKey::RS232_BAUDRATE, 5);
    m.Set_Choice(ParKey::RS232_PARITY, 2);
    m.Set_Choice(ParKey::RS232_STOP_BITS, 1);
    m.Set_Choice(ParKey::MQTT_Will_QoS, 1);
    m.Set_Text(ParKey::NTP_Server_URL, "");
    ASSERT_TRUE(Save_ParGen(p.st, file, m).ok);
    const QByteArray b = p.read("PROJECTS/P/ParGen.xml");
    EXPECT_TRUE(b.contains("\t<Eth_Conn_DHCP_WiFi>1</Eth_Conn_DHCP_WiFi>\n"));
    EXPECT_TRUE(b.contains("\t<RS232_ENABLE>0</RS232_ENABLE>\n"));
    EXPECT_TRUE(b.contains("\t<RS232_BAUDRATE>38400</RS232_BAUDRATE>\n"));
    EXPECT_TRUE(b.contains("\t<RS232_PARITY>EVEN</RS232_PARITY>\n"));
    EXPECT_TRUE(b.contains("\t<RS232_STOP_BITS>2 bits</RS232_STOP_BITS>\n"));
    EXPECT_TRUE(b.contains("\t<MQTT_Will_QoS>1</MQTT_Will_QoS>\n"));
    EXPECT_TRUE(b.contains("\t<NTP_Server_URL />\n"));
    // The decided mend: the Wi-Fi DHCP flag reads back as it was saved.
    ParGen back;
    ASSERT_TRUE(Load_ParGen(p.st, file, back).ok);
    EXPECT_TRUE(back.Flag(ParKey::Eth_Conn_DHCP_WiFi));
    EXPECT_EQ(back, m);
}

TEST_F(ParGenFixture, ChoicesAreReadThroughTheirMappings)
{
    ParGen m = load_children("<RS232_BAUDRATE>300</RS232_BAUDRATE><RS232_PARITY>even</RS232_PARITY>"
                             "<RS232_STOP_BITS>2 BiTs</RS232_STOP_BITS>"
                             "<RS485_1_BAUDRATE>abc</RS485_1_BAUDRATE><RS485_1_PARITY>odd</RS485_1_PARITY>"
                             "<RS485_1_STOP_BITS>1</RS485_1_STOP_BITS><MQTT_Will_QoS>2</MQTT_Will_QoS>");
    EXPECT_EQ(m.Text(ParKey::RS232_BAUDRATE), "4800");
    EXPECT_EQ(m.Text(ParKey::RS232_PARITY), "EVEN");
    EXPECT_EQ(m.Text(ParKey::RS232_STOP_BITS), "2 bits");
    EXPECT_EQ(m.Text(ParKey::RS485_1_BAUDRATE), "4800");
    EXPECT_EQ(m.Text(ParKey::RS485_1_PARITY), "ODD");
    EXPECT_EQ(m.Text(ParKey::RS485_1_STOP_BITS), "1 bit");
    EXPECT_EQ(m.Choice(ParKey::MQTT_Will_QoS), 2);

    m = load_children("<RS232_BAUDRATE>115200</RS232_BAUDRATE><MQTT_Will_QoS>x</MQTT_Will_QoS>");
    EXPECT_EQ(m.Text(ParKey::RS232_BAUDRATE), "115200");
    EXPECT_EQ(m.Choice(ParKey::MQTT_Will_QoS), 0);
    // A QoS outside the list takes position 0 (the list has no such entry).
    for (const char* q : {"3", "-1", "99"})
        EXPECT_EQ(load_children(QByteArray("<MQTT_Will_QoS>") + q + "</MQTT_Will_QoS>")
                      .Text(ParKey::MQTT_Will_QoS),
                  "0")
            << q;
    EXPECT_EQ(load_children("<MQTT_Will_QoS>01</MQTT_Will_QoS>").Text(ParKey::MQTT_Will_QoS), "1");
}

TEST_F(ParGenFixture, FlagsReadExactlyOneExceptTheTlsFlags)
{
    const struct {
        const char* text;
        bool plain, tls;
    } cases[] = {{"1", true, true},   {"01", false, true}, {"+1", false, true}, {"0", false, false},
                 {" 1", false, false}, {"1 ", false, false}, {"2", false, false},
                 {"true", false, false}, {"", false, false}, {"abc", false, false}};
    for (const auto& c : cases) {
        QByteArray children;
        for (const ParKeyInfo& k : Par_Keys())
            if (k.kind == ParKind::Flag)
                children += QByteArray("<") + k.name + ">" + c.text + "</" + k.name + ">";
        const ParGen m = load_children(children);
        for (const ParKeyInfo& k : Par_Keys()) {
            if (k.kind == ParKind::Flag) {
                EXPECT_EQ(m.Flag(k.key), k.decimal_flag ? c.tls : c.plain)
                    << k.name << " holding \"" << c.text << "\"";
            }
        }
    }
    const ParGen m = load_children("<TLS_Enable>01</TLS_Enable><MQTT_Clean_Session>01</MQTT_Clean_Session>");
    EXPECT_TRUE(m.Flag(ParKey::TLS_Enable));
    EXPECT_FALSE(m.Flag(ParKey::MQTT_Clean_Session));
    // An empty element gives empty text, so a flag whose default is on reads off.
    EXPECT_FALSE(load_children("<RS232_ENABLE/>").Flag(ParKey::RS232_ENABLE));
    EXPECT_TRUE(load_children("").Flag(ParKey::RS232_ENABLE));
}

TEST_F(ParGenFixture, EachKeyOnItsOwnInAnyOrderFirstWins)
{
    const ParGen m = load(
        "<Whatever>"
        "<NTP_Poll_Time>60</NTP_Poll_Time>"
        "<Unknown>zzz</Unknown>"
        "<Ethernet_IP4>77</Ethernet_IP4>"
        "<Ethernet_IP4>88</Ethernet_IP4>"
        "<Eth_Conn_Device_Name>dev</Eth_Conn_Device_Name>"
        "<NTP_Server_URL/>"
        "<MQTT_Client_ID><b>nested</b></MQTT_Client_ID>"
        "<MQTT_Username>a<!-- note -->b<![CDATA[<c>]]></MQTT_Username>"
        "<eth_conn_enable_dns>1</eth_conn_enable_dns>"
        "<Group><MQTT_Server_Port>9</MQTT_Server_Port></Group>"
        "</Whatever>");
    ParGen want = ParGen_Defaults();
    want.Set_Text(ParKey::NTP_Poll_Time, "60");
    want.Set_Text(ParKey::Ethernet_IP4, "77");
    want.Set_Text(ParKey::Eth_Conn_Device_Name, "dev");
    want.Set_Text(ParKey::NTP_Server_URL, ""); // present but empty: empty, not the default
    want.Set_Text(ParKey::MQTT_Username, "ab<c>");
    // MQTT_Client_ID holds an element: no text, default. Names are matched exactly, and
    // only among the root's own children.
    EXPECT_EQ(m, want);
}

TEST_F(ParGenFixture, TheFirstTopLevelNodeIsTheRoot)
{
    const QByteArray body = "<Par_Gen><Ethernet_IP1>10</Ethernet_IP1></Par_Gen>";
    EXPECT_EQ(load("<!-- before -->" + body).Text(ParKey::Ethernet_IP1), "192");
    EXPECT_EQ(load("<?app data?>\n" + body).Text(ParKey::Ethernet_IP1), "192");
    EXPECT_EQ(load("<!-- before -->" + body), ParGen_Defaults());
    // The XML declaration is no node: the root stays first.
    EXPECT_EQ(load("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + body).Text(ParKey::Ethernet_IP1),
              "10");
    EXPECT_EQ(load(body + "<!--SW_VERSION = 1.002-->").Text(ParKey::Ethernet_IP1), "10");
    EXPECT_EQ(load("<Par_Gen/>"), ParGen_Defaults());
}

TEST_F(ParGenFixture, EncodingsDeclarationsAndIndentation)
{
    const QString value = QString::fromUtf8("Ölkühler – 温度 €");
    const QString body = "<Par_Gen>\r\n    <MQTT_Client_ID>" + value
                         + "</MQTT_Client_ID>\r\n\t\t<Ethernet_IP1>10</Ethernet_IP1>\r\n</Par_Gen>\r\n"
                           "<!--SW_VERSION = 1.002-->\r\n";
    const QString decl8 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
    const QString decl16 = "<?xml version=\"1.0\" encoding=\"UTF-16\" standalone=\"yes\"?>\n";
    const struct {
        const char* name;
        QByteArray bytes;
    } files[] = {
        {"UTF-8", body.toUtf8()},
        {"UTF-8 declared", (decl8 + body).toUtf8()},
        {"UTF-8 BOM", "\xEF\xBB\xBF" + body.toUtf8()},
        {"UTF-8 BOM declared", "\xEF\xBB\xBF" + (decl8 + body).toUtf8()},
        {"UTF-16LE BOM", Utf16(body, false)},
        {"UTF-16LE BOM declared", Utf16(decl16 + body, false)},
        {"UTF-16BE BOM", Utf16(body, true)},
        {"UTF-16BE BOM declared", Utf16(decl16 + body, true)},
    };
    for (const auto& f : files) {
        const ParGen m = load(f.bytes);
        EXPECT_EQ(m.Text(ParKey::MQTT_Client_ID), value) << f.name;
        EXPECT_EQ(m.Text(ParKey::Ethernet_IP1), "10") << f.name;
        EXPECT_EQ(m.Text(ParKey::Ethernet_IP2), "168") << f.name;
    }
}

TEST_F(ParGenFixture, AwkwardValuesRoundTrip)
{
    const QString cert_lf = "-----BEGIN CERTIFICATE-----\nMIIB\n+/=\n-----END CERTIFICATE-----\n";
    QString cert_crlf = cert_lf;
    cert_crlf.replace("\n", "\r\n");
    const struct {
        ParKey key;
        QString value;
    } values[] = {
        {ParKey::Eth_Conn_Device_Name, "  lead and trail  "},
        {ParKey::MQTT_Server_URL, "   "},
        {ParKey::MQTT_Client_ID, "\t"},
        {ParKey::MQTT_Keep_Alive, "\n"},
        {ParKey::MQTT_Will_Topic_Name, "\r\n"},
        {ParKey::MQTT_Will_Message, " \r\n \n "},
        {ParKey::MQTT_Username, QString::fromUtf8("Zoë – ключ – 鍵 – \U0001F511")},
        {ParKey::MQTT_Password, "a<b>&c\"d'e]]>f&amp;"},
        {ParKey::MQTT_ASync_Send_Time, "\rlone\rcr\r"},
        {ParKey::TLS_Server_Auth_Certificate, cert_lf},
        {ParKey::TLS_Client_Auth_Certificate, cert_crlf},
        {ParKey::TLS_Client_Auth_Key, "\n\nkey\n\n"},
        {ParKey::TLS_Client_Auth_Key_Password, "<!-- not a comment -->"},
        {ParKey::NTP_Server_URL, ""},
        {ParKey::Ethernet_IP1, "abc"},
        {ParKey::NTP_Poll_Time, "-1"},
    };
    ParGen m = ParGen_Defaults();
    for (const auto& v : values)
        m.Set_Text(v.key, v.value);
    ASSERT_TRUE(Save_ParGen(p.st, file, m).ok);
    const QByteArray bytes = p.read("PROJECTS/P/ParGen.xml");
    EXPECT_FALSE(bytes.contains('\r'));
    EXPECT_TRUE(bytes.contains("<MQTT_Will_Topic_Name>&#13;\n</MQTT_Will_Topic_Name>"));
    ParGen back;
    ASSERT_TRUE(Load_ParGen(p.st, file, back).ok);
    for (const auto& v : values)
        EXPECT_EQ(back.Text(v.key), v.value) << Par_Key_Info(v.key).name;
    EXPECT_EQ(back, m);
    // Saving what was read gives the same bytes again.
    ASSERT_TRUE(Save_ParGen(p.st, file, back).ok);
    EXPECT_EQ(p.read("PROJECTS/P/ParGen.xml"), bytes);
}

TEST_F(ParGenFixture, LineBreaksOfAFileFromElsewhere)
{
    // A hand-made file written with CR LF: the parser turns its line ends into LF, as XML
    // wants; a written &#13; stays a CR.
    const ParGen m = load("<Par_Gen>\r\n<TLS_Client_Auth_Key>A\r\nB\rC</TLS_Client_Auth_Key>\r\n"
                          "<TLS_Server_Auth_Certificate>X&#13;&#10;Y</TLS_Server_Auth_Certificate>"
                          "\r\n</Par_Gen>");
    EXPECT_EQ(m.Text(ParKey::TLS_Client_Auth_Key), "A\nB\nC");
    EXPECT_EQ(m.Text(ParKey::TLS_Server_Auth_Certificate), "X\r\nY");
}

TEST_F(ParGenFixture, MalformedFileIsReportedAndKeepsTheDefaults)
{
    p.write("PROJECTS/P/ParGen.xml", "<Par_Gen>\n\t<Ethernet_IP1>10</Ethernet_IP>\n</Par_Gen>\n");
    ParGen m;
    m.Set_Text(ParKey::Ethernet_IP1, "junk");
    const FileResult r = Load_ParGen(p.st, file, m);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QString("Error!!! The file %1 is not valid XML (line 2, column 32): "
                                 "Opening and ending tag mismatch: Ethernet_IP1 and Ethernet_IP")
                             .arg(QDir::toNativeSeparators(file)));
    EXPECT_EQ(m, ParGen_Defaults());
    // The file is left as it was.
    EXPECT_EQ(p.read("PROJECTS/P/ParGen.xml"), "<Par_Gen>\n\t<Ethernet_IP1>10</Ethernet_IP>\n</Par_Gen>\n");

    p.write("PROJECTS/P/ParGen.xml", "");
    EXPECT_FALSE(Load_ParGen(p.st, file, m).ok); // no root element
}

TEST_F(ParGenFixture, SaveFailureIsReported)
{
    const QString bad = p.path("PROJECTS/missing folder/ParGen.xml");
    const FileResult r = Save_ParGen(p.st, bad, ParGen_Defaults());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.startsWith("Error!!! The file " + QDir::toNativeSeparators(bad)
                                     + " cannot be written: "))
        << r.message.toStdString();
}

// ---- Controllo_Dati ------------------------------------------------------------------------

namespace {

struct CheckCase {
    const char* what;
    std::vector<std::pair<ParKey, QString>> set;
    int text; // -1: passes
};

} // namespace

TEST(ParGenCheck, EveryMessageAndEveryPass)
{
    ProgramFolder p;
    p.start();
    using K = ParKey;
    const QString on = "1";
    std::vector<CheckCase> cases = {
        {"defaults", {}, -1},
        {"DNS off: bad DNS passes", {{K::Eth_Conn_Primary_DNS1, "abc"}, {K::Eth_Conn_Secondary_DNS4, "999"}}, -1},
        {"gateway off: 300 passes", {{K::Ethernet_GAT1, "300"}, {K::Ethernet_GAT4, ""}}, -1},
        {"MQTT port abc passes", {{K::MQTT_Server_Port, "abc"}, {K::MQTT_Keep_Alive, "x"}}, -1},
        {"limits", {{K::Eth_Conn_Enable_DNS, on}, {K::Eth_Conn_Primary_DNS1, "0"},
                    {K::Eth_Conn_Secondary_DNS4, "255"}, {K::Ethernet_IP1, "255"},
                    {K::Ethernet_SM4, "000"}, {K::Ethernet_EN_GAT, on}, {K::Ethernet_GAT2, "+7"},
                    {K::NTP_Poll_Time, "10000000"}}, -1},
        {"poll time 0", {{K::NTP_Poll_Time, "0"}}, -1},
        {"DHCP on: bad IP still fails", {{K::Eth_Conn_DHCP_Cable, on}, {K::Ethernet_IP2, "256"}}, 545},
        {"empty IP octet", {{K::Ethernet_IP1, ""}}, 544},
        {"poll time too big", {{K::NTP_Poll_Time, "10000001"}}, 1120},
        {"poll time -1", {{K::NTP_Poll_Time, "-1"}}, 1120},
        {"poll time empty", {{K::NTP_Poll_Time, ""}}, 1120},
        {"poll time blank-padded", {{K::NTP_Poll_Time, " 5"}}, 1120},
        {"order: secondary DNS 2 before IP 1",
         {{K::Eth_Conn_Enable_DNS, on}, {K::Eth_Conn_Secondary_DNS2, "x"}, {K::Ethernet_IP1, "x"}}, 1152},
    };
    // Each octet on its own: DNS with "Enable DNS" on, IP and mask always, gateway with
    // "Gateway" on.
    const struct {
        K first;
        int text;
        K when;
    } rows[] = {{K::Eth_Conn_Primary_DNS1, 1147, K::Eth_Conn_Enable_DNS},
                {K::Eth_Conn_Secondary_DNS1, 1151, K::Eth_Conn_Enable_DNS},
                {K::Ethernet_IP1, 544, K::Eth_Conn_Device_Name},
                {K::Ethernet_SM1, 548, K::Eth_Conn_Device_Name},
                {K::Ethernet_GAT1, 552, K::Ethernet_EN_GAT}};
    for (const auto& r : rows)
        for (int i = 0; i < 4; ++i)
            for (const char* bad : {"abc", "256", "-1", ""}) {
                CheckCase c{Par_Key_Info(K(int(r.first) + i)).name, {{K(int(r.first) + i), bad}}, r.text + i};
                if (r.when != K::Eth_Conn_Device_Name)
                    c.set.insert(c.set.begin(), {r.when, on});
                cases.push_back(c);
            }
    for (const CheckCase& c : cases) {
        ParGen m = ParGen_Defaults();
        for (const auto& [k, v] : c.set)
            m.Set_Text(k, v);
        const QString want = c.text < 0 ? QString() : p.st.Get_Lang_Text(c.text);
        EXPECT_EQ(Controllo_Dati(p.st, m), want) << c.what;
    }
    EXPECT_EQ(p.st.Get_Lang_Text(1147), "Error Primary DNS!! DNS 1 must be between 0 and 255");
    EXPECT_EQ(p.st.Get_Lang_Text(1154), "Error Secondary DNS!! DNS 4 must be between 0 and 255");
    EXPECT_EQ(p.st.Get_Lang_Text(544), "Error Ethernet!! IP Address 1 must be between 0 and 255");
    EXPECT_EQ(p.st.Get_Lang_Text(551), "Error Ethernet!! SubNet Mask 4 must be between 0 and 255");
    EXPECT_EQ(p.st.Get_Lang_Text(555), "Error Ethernet!! Gateway IP 4 must be between 0 and 255");
    EXPECT_EQ(p.st.Get_Lang_Text(1120), "Error NTP!! Poll Time must be between 0 and 10000000 seconds");
}

TEST(ParGenCheck, TheTestsRunInThePartsOrder)
{
    ProgramFolder p;
    p.start();
    // Everything bad at once, then mended one value at a time: each step reports the next
    // test of the order.
    std::vector<ParKey> order;
    for (int k = int(ParKey::Eth_Conn_Primary_DNS1); k <= int(ParKey::Eth_Conn_Secondary_DNS4); ++k)
        order.push_back(ParKey(k));
    for (int k = int(ParKey::Ethernet_IP1); k <= int(ParKey::Ethernet_GAT4); ++k)
        order.push_back(ParKey(k));
    order.push_back(ParKey::NTP_Poll_Time);
    const std::vector<int> texts = {1147, 1148, 1149, 1150, 1151, 1152, 1153, 1154, 544, 545, 546,
                                    547,  548,  549,  550,  551,  552,  553,  554,  555, 1120};
    ASSERT_EQ(order.size(), texts.size());

    ParGen m = ParGen_Defaults();
    m.Set_Flag(ParKey::Eth_Conn_Enable_DNS, true);
    m.Set_Flag(ParKey::Ethernet_EN_GAT, true);
    for (ParKey k : order)
        m.Set_Text(k, "bad");
    // The findings hold every failing test, in the same order, each with its key.
    const Check_Findings found = Data_Check(p.st, m);
    ASSERT_EQ(size_t(found.size()), order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const Check_Finding& f = found[qsizetype(i)];
        EXPECT_EQ(ParKey(f.key), order[i]) << i;
        EXPECT_EQ(f.text, texts[i]) << i;
        EXPECT_EQ(f.message, p.st.Get_Lang_Text(texts[i])) << i;
        EXPECT_EQ(f.severity, Check_Finding::Error) << i;
        EXPECT_EQ(f.row, 0) << i;
    }
    for (size_t i = 0; i < order.size(); ++i) {
        ParKey failed{};
        EXPECT_EQ(Controllo_Dati(p.st, m, &failed), p.st.Get_Lang_Text(texts[i])) << i;
        EXPECT_EQ(failed, order[i]) << i; // the key the message is about
        m.Set_Text(order[i], "1");
    }
    ParKey untouched = ParKey::Eth_Conn_Device_Name;
    EXPECT_EQ(Controllo_Dati(p.st, m, &untouched), QString());
    EXPECT_EQ(untouched, ParKey::Eth_Conn_Device_Name);
}

TEST(ParGenCheck, MessagesFollowTheLanguage)
{
    ProgramFolder p;
    p.start();
    ParGen m = ParGen_Defaults();
    m.Set_Text(ParKey::Ethernet_SM3, "x");
    p.st.Lang_Table[550] = QString::fromUtf8("Errore Ethernet!! Maschera 3 fra 0 e 255");
    EXPECT_EQ(Controllo_Dati(p.st, m), QString::fromUtf8("Errore Ethernet!! Maschera 3 fra 0 e 255"));
    // The check changes nothing.
    ParGen copy = m;
    Controllo_Dati(p.st, m);
    EXPECT_EQ(copy, m);
}

// ---- The shared writer's carriage returns (app/Xml.cpp) -----------------------------------

TEST(XmlBytes, CarriageReturnsInTextAreWrittenAsReferences)
{
    pugi::xml_document doc;
    pugi::xml_node r = doc.append_child("r");
    r.append_attribute("a").set_value("x\r\ny");
    r.append_child("t").text().set("1\r\n2\r");
    const QByteArray b = Xml_Bytes(doc);
    EXPECT_EQ(b, "<?xml version=\"1.0\"?>\n<r a=\"x&#13;&#10;y\">\n\t<t>1&#13;\n2&#13;</t>\n</r>\n");
    pugi::xml_document back;
    ASSERT_EQ(Load_Xml_Bytes(b, "mem", back, nullptr), XmlLoad::Loaded);
    EXPECT_EQ(Xml_Text(Xml_Root(back).child("t")), "1\r\n2\r");
    EXPECT_EQ(QString::fromUtf8(Xml_Root(back).attribute("a").value()), "x\r\ny");
}
