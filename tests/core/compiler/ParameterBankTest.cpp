#include "compiler/ParameterBank.h"

#include "CompilerFixture.h"

using namespace swr;
using namespace swr::test;

namespace {

// The parameter block of a configuration with the editor's default ParGen.xml and no
// listener rows, byte for byte.
QByteArray Defaults_Bank1()
{
    return Bytes_With(2048, {{0x000, "90D00300"}, {0x004, "90D00300"}, {0x00C, "80250000"},
                             {0x028, "C0A8000A"}, {0x02C, "FFFFFF00"}, {0x030, "FFFFFFFF"},
                             {0x034, "1027"}, {0x036, "1127"}, {0x038, "1127"},
                             {0x190, "C0120000"}, {0x1AE, "01"}, {0x1B4, "0808080808080808"},
                             {0x590, "00000A00"}, {0x6F4, "00000800"}, {0x6FC, "01"},
                             {0x7FC, "A30D0000"}});
}

} // namespace

TEST(ParameterBank, EditorDefaultsGiveChecksum3491)
{
    Ship s;
    s.write("ParGen.xml", Read_Test_Data("ParGen_defaults.xml"));
    s.build();
    EXPECT_EQ(s.bank(1).toHex(), Defaults_Bank1().toHex());
    EXPECT_EQ(LE(s.bank(1), 0x7FC), 3491u);
}

TEST(ParameterBank, WithoutParGenTheResetPictureGivesChecksum3476)
{
    Ship s;
    s.build();
    const QByteArray expected =
        Bytes_With(2048, {{0x000, "90D00300"}, {0x004, "90D00300"}, {0x00C, "80250000"},
                          {0x028, "C0A802CD"}, {0x02C, "FFFFFF00"}, {0x030, "FFFFFFFF"},
                          {0x034, "1027"}, {0x036, "1127"}, {0x038, "1127"},
                          {0x1B4, "0808080808080808"}, {0x590, "00000A00"}, {0x6F4, "00000800"},
                          {0x7FC, "940D0000"}});
    EXPECT_EQ(s.bank(1).toHex(), expected.toHex());
    EXPECT_EQ(LE(s.bank(1), 0x7FC), 3476u);
}

TEST(ParameterBank, KeysAndTheirConversions)
{
    const QString forty = QString(40, QLatin1Char('N'));
    struct Case {
        const char* what;
        std::initializer_list<std::pair<const char*, QString>> keys;
        int at;
        const char* hex;
    } cases[] = {
        {"RS232 is on whatever its flag", {{"RS232_ENABLE", "0"}}, 0x6FC, "01"},
        {"other lines never", {{"RS485_1_ENABLE", "1"}}, 0x6FC, "01"},
        {"baud as a number", {{"RS232_BAUDRATE", "300"}}, 0x190, "2C010000"},
        {"baud not a number", {{"RS232_BAUDRATE", "abc"}}, 0x190, "C0120000"},
        {"parity in lower case", {{"RS232_PARITY", "even"}}, 0x1A8, "02"},
        {"stop bits any case", {{"RS232_STOP_BITS", "2 BiTs"}}, 0x1AE, "02"},
        {"stop bits 1", {{"RS232_STOP_BITS", "1"}}, 0x1AE, "01"},
        {"gateway on", {{"Ethernet_EN_GAT", "1"}, {"Ethernet_GAT1", "10"}, {"Ethernet_GAT2", "0"},
                        {"Ethernet_GAT3", "0"}, {"Ethernet_GAT4", "1"}}, 0x030, "0A000001"},
        {"gateway on, octets missing", {{"Ethernet_EN_GAT", "1"}}, 0x030, "C0A80001"},
        {"gateway flag not exactly 1", {{"Ethernet_EN_GAT", "01"}, {"Ethernet_GAT1", "10"}}, 0x030, "FFFFFFFF"},
        {"DNS off keeps zero", {{"Eth_Conn_Enable_DNS", "0"}, {"Eth_Conn_Primary_DNS1", "1"}}, 0x58C, "00000000"},
        {"DNS on, primary missing", {{"Eth_Conn_Enable_DNS", "1"}}, 0x58C, "08080808"},
        {"DNS on, secondary missing", {{"Eth_Conn_Enable_DNS", "1"}}, 0x53C, "08080404"},
        {"DNS on, octets given", {{"Eth_Conn_Enable_DNS", "1"}, {"Eth_Conn_Secondary_DNS3", "9"}}, 0x53C, "08080904"},
        {"octets keep their low 8 bits", {{"Ethernet_IP1", "300"}, {"Ethernet_IP2", "-1"}, {"Ethernet_IP4", "x"}}, 0x028, "2CFF000A"},
        {"DHCP both", {{"Eth_Conn_DHCP_Cable", "1"}, {"Eth_Conn_DHCP_WiFi", "1"}}, 0x4E8, "0300"},
        {"DHCP not exactly 1", {{"Eth_Conn_DHCP_Cable", " 1"}, {"Eth_Conn_DHCP_WiFi", "1"}}, 0x4E8, "0200"},
        {"device name", {{"Eth_Conn_Device_Name", QString::fromUtf8("Nav\xC3\xA9")}}, 0x514, "4E6176E900"},
        {"device name of 40 keeps 31", {{"Eth_Conn_Device_Name", forty}}, 0x514,
         "4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E4E00"},
    };
    for (const Case& c : cases) {
        Ship s;
        s.write("ParGen.xml", ParGen_Xml(c.keys));
        ASSERT_TRUE(s.compile().ok) << c.what;
        const QByteArray b = s.image(1);
        const QByteArray want = QByteArray::fromHex(c.hex);
        EXPECT_EQ(b.mid(c.at, want.size()).toHex(), want.toHex()) << c.what;
    }
}

TEST(ParameterBank, FirstNodeNotTheRootGivesDefaultsButStillAFile)
{
    Ship s;
    s.write("ParGen.xml", "<!--before--><Par_Gen><Ethernet_IP4>99</Ethernet_IP4></Par_Gen>");
    ASSERT_TRUE(s.compile().ok);
    const QByteArray b = s.image(1);
    EXPECT_EQ(b.mid(0x028, 4).toHex(), "c0a8000a");
    EXPECT_EQ(b.mid(0x6FC, 1).toHex(), "01");
    EXPECT_EQ(LE(s.image(3), 0), 2u); // Mode of a compile with ParGen.xml
}

TEST(ParameterBank, BrokenParGenStopsTheCompile)
{
    Ship s;
    s.write("ParGen.xml", "<Par_Gen><MQTT_Server_URL>x</Par_Gen>");
    const FileResult r = s.compile();
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains("ParGen.xml")) << r.message.toStdString();
    EXPECT_FALSE(s.save().ok);
    EXPECT_TRUE(s.bank(1).isEmpty());
}

TEST(ParameterBank, SerialChannelCodes)
{
    struct Case {
        const char* name;
        uint8_t flags;
        int code;
    } cases[] = {
        {"RS232", 0x01, 0},   {"RS485 2", 0x01, -1},        {"rs232", 0x01, -1},
        {"RS232", 0x00, -1},  {"RS485 1", 0x02, 1},         {"RS485 / RS422", 0x02, 1},
        {"RS485 2", 0x04, 2}, {"RS485 1", 0x05, -1},        {"", 0x07, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Serial_Channel_Code(c.name, c.flags), c.code) << c.name << " " << int(c.flags);
}
