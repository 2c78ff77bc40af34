#include "compiler/MqttBank.h"
#include "compiler/ParameterBank.h"
#include "lang/Texts.h"
#include "project/mqtt/MqttTopics.h"

#include "CompilerFixture.h"

using namespace swr;
using namespace swr::test;

namespace {

QByteArray Hex32(uint32_t v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b.toHex();
}

// The 0-terminated text a bank address points at.
QByteArray Text_At(const QByteArray& bank, uint32_t address)
{
    const int at = int(address - Base3);
    return bank.mid(at, bank.indexOf('\0', at) - at);
}

constexpr const char* One_Row =
    "<row Topic=\"abcde\" Retained=\"N\" QoS=\"0\" DataType=\"Int\" Dimension=\"2\" Position=\"10\""
    " IPAddress=\"\" InputTemplate=\"\" Template=\"$VALUE$\" OnChange=\"Y\" OnTimer=\"Y\""
    " Time=\"500\" Mnemonic=\"abc\"/>";

} // namespace

TEST(MqttBank, EmptyFolderGivesTheFixedPartOnly)
{
    Ship s;
    s.build();
    const QByteArray empty = Hex32(Base3 + 173), base = Hex32(Base3);
    const QByteArray expected = Bytes_With(
        174, {{8, empty}, {14, "4D515443"}, {22, "04"}, {39, "4D515457"}, {101, base}, {105, base},
              {109, base}, {117, base}, {129, empty}, {141, empty}, {149, empty}, {161, empty},
              {165, empty}});
    EXPECT_EQ(s.bank(3).toHex(), expected.toHex());
}

TEST(MqttBank, ParGenWithoutMqttKeysTakesTheCompilerDefaults)
{
    Ship s;
    s.write("ParGen.xml", ParGen_Xml({{"Ethernet_IP1", "10"}}));
    ASSERT_TRUE(s.compile().ok);
    const QByteArray b = s.image(3);
    EXPECT_EQ(LE(b, 0), 2u);           // Mode
    EXPECT_EQ(LE(b, 4), 10u);          // Time_Poll
    EXPECT_EQ(LE(b, 12, 2), 1883u);    // Server_Port
    EXPECT_EQ(LE(b, 169), 1000u);      // NTP_Server_Poll
    EXPECT_EQ(LE(b, 165), Base3 + 173); // no NTP server
    EXPECT_EQ(b.size(), 174);
}

TEST(MqttBank, OnePublishRowGives241Bytes)
{
    Ship s;
    s.write("MQTT_Set_Topic.xml", Topic_Xml(One_Row));
    s.build();
    const QByteArray b = s.bank(3);
    ASSERT_EQ(b.size(), 241);
    EXPECT_EQ(LE(b, 113), 1u);
    EXPECT_EQ(LE(b, 117), Base3 + 174);
    const int r = 174; // the record
    EXPECT_EQ(LE(b, r + 0), Base3 + 223);  // Desc_Add
    EXPECT_EQ(b.mid(r + 4, 12).toHex(), Hex32(Base3 + 227) + Hex32(5) + Hex32(Base3 + 227));
    EXPECT_EQ(LE(b, r + 16, 1), 0u);       // Retained
    EXPECT_EQ(LE(b, r + 17), 0u);          // QoS
    EXPECT_EQ(LE(b, r + 21), Base3 + 173); // Input_Template_Add
    EXPECT_EQ(LE(b, r + 25), Base3 + 233); // Output_Template_Add
    EXPECT_EQ(LE(b, r + 29), 0u);          // Source_IP_Address
    EXPECT_EQ(LE(b, r + 33), 10u);         // Position
    EXPECT_EQ(LE(b, r + 37, 2), 2u);       // Length
    EXPECT_EQ(LE(b, r + 39, 2), 1u);       // Type_Data INT
    EXPECT_EQ(LE(b, r + 41), 500u);        // Timer
    EXPECT_EQ(LE(b, r + 45), 5u);          // Options: on change, on timer
    EXPECT_EQ(b.mid(223), QByteArray("abc\0abcde\0$VALUE$\0", 18));
}

TEST(MqttBank, PublishRowFields)
{
    struct Case {
        const char* what;
        const char* attributes;
        int at; // in the record
        int width;
        uint32_t value;
    } cases[] = {
        {"no Template gives $VALUE$", "", 25, 4, Base3 + 227},
        {"empty Template takes no bytes", "Template=\"\"", 25, 4, Base3 + 173},
        {"Dimension missing", "", 37, 2, 4},
        {"Dimension not a number", "Dimension=\"x\"", 37, 2, 4},
        {"Position missing", "", 33, 4, 0},
        {"Retained y", "Retained=\"y\"", 16, 1, 1},
        {"QoS", "QoS=\"2\"", 17, 4, 2},
        {"Time without OnTimer", "OnTimer=\"N\" Time=\"500\"", 41, 4, 0},
        {"Time not a number", "OnTimer=\"y\" Time=\"x\"", 41, 4, 0},
        {"Time with blanks", "OnTimer=\"Y\" Time=\" 250 \"", 41, 4, 250},
        {"OnChange only", "OnChange=\"y\" OnTimer=\"N\"", 45, 4, 1},
        {"OnTimer only", "OnTimer=\"Y\"", 45, 4, 4},
        {"no options", "", 45, 4, 0},
    };
    for (const Case& c : cases) {
        Ship s;
        const QByteArray row = QByteArray("<row Topic=\"t\" Mnemonic=\"m\" ")
                               + (QByteArray(c.attributes).contains("Retained") ? "" : "Retained=\"N\" ")
                               + (QByteArray(c.attributes).contains("QoS") ? "" : "QoS=\"0\" ")
                               + c.attributes + "/>";
        s.write("MQTT_Set_Topic.xml", Topic_Xml(row));
        const FileResult r = s.compile();
        ASSERT_TRUE(r.ok) << c.what << ": " << r.message.toStdString();
        EXPECT_EQ(LE(s.image(3), 174 + c.at, c.width), c.value) << c.what;
    }
}

TEST(MqttBank, DataTypeCodes)
{
    const std::pair<const char*, int> cases[] = {{"STRING", 0}, {"Int", 1}, {" Float ", 2},
                                                 {"float", 2}, {"Base64", 3}, {"", 0},
                                                 {"Double", 0}, {"IN T", 0}};
    for (const auto& [text, code] : cases)
        EXPECT_EQ(Data_Type_Code(text), code) << text;
}

TEST(MqttBank, TopicsLoseLineBreaksAndCountUtf8Bytes)
{
    Ship s;
    s.write("MQTT_Set_Topic.xml",
            Topic_Xml("<row Topic=\"ab&#13;&#10;cd\" Retained=\"N\" QoS=\"1\" Mnemonic=\"l1&#10;l2\""
                      " Template=\"{&#10;$VALUE$}\"/>"
                      "<row Topic=\"Gr\xC3\xB6\xC3\x9F" "e\" Retained=\"N\" QoS=\"1\" Mnemonic=\"\"/>"));
    ASSERT_TRUE(s.compile().ok);
    const QByteArray b = s.image(3);
    const int r0 = 174, r1 = 174 + 49;
    EXPECT_EQ(LE(b, r0 + 8), 4u);
    EXPECT_EQ(Text_At(b, LE(b, r0 + 4)), "abcd");
    EXPECT_EQ(Text_At(b, LE(b, r0)), "l1\nl2"); // the description keeps its line break
    EXPECT_EQ(Text_At(b, LE(b, r0 + 25)), "{$VALUE$}");
    EXPECT_EQ(LE(b, r1 + 8), 7u);
    EXPECT_EQ(Text_At(b, LE(b, r1 + 4)), "Gr\xC3\xB6\xC3\x9F" "e");
    EXPECT_EQ(LE(b, r1), Base3 + 173); // empty description
}

TEST(MqttBank, SubscribeChildrenAreReservedZeroEntries)
{
    Ship s;
    // Only elements are entries: the blanks and the comment between them are not.
    s.write("MQTT_Set_Topic.xml",
            Topic_Xml("", "\n  <row Topic=\"a\" QoS=\"1\" Template=\"x\"/>\n  <!--note-->\n  <row/>\n"));
    ASSERT_TRUE(s.compile().ok);
    const QByteArray b = s.image(3);
    EXPECT_EQ(LE(b, 97), 2u);
    EXPECT_EQ(LE(b, 101), Base3 + 174);
    EXPECT_EQ(LE(b, 105), Base3 + 198);
    EXPECT_EQ(LE(b, 109), Base3 + 206);
    EXPECT_EQ(LE(b, 113), 0u);
    EXPECT_EQ(LE(b, 117), Base3);
    const QByteArray record = Bytes_With(27, {{12, Hex32(Base3 + 173)}, {16, Hex32(Base3 + 173)}});
    EXPECT_EQ(b.mid(174).toHex(), (QByteArray(32, '\0') + record + record).toHex());
}

TEST(MqttBank, BrokerTlsAndNtpTextsInBankOrder)
{
    // Every text of ParGen.xml, each of a different length, laid out in the bank's order.
    const std::pair<const char*, QString> keys[] = {
        {"MQTT_Server_URL", "broker.ship"},       {"MQTT_Client_ID", "client"},
        {"MQTT_Will_Topic_Name", "will/t"},       {"MQTT_Will_Message", "gone"},
        {"MQTT_Username", "user"},                {"MQTT_Password", "p\xC3\xA4ss"},
        {"TLS_Server_Auth_Certificate", "-----BEGIN-----\nAAAA\n-----END-----"},
        {"TLS_Client_Auth_Certificate", "cc"},    {"TLS_Client_Auth_Key", "key\nkey"},
        {"TLS_Client_Auth_Key_Password", "kp"},   {"NTP_Server_URL", "ntp.ship"},
    };
    // Where each text's address lies in the fixed part, and its length field or 0.
    const struct {
        int address;
        int len;
        bool str12;
    } fields[] = {{8, 0, false},  {23, 27, true},    {47, 51, true},    {59, 63, true},
                  {73, 77, true}, {85, 89, true},    {129, 133, false}, {141, 145, false},
                  {149, 153, false}, {161, 0, false}, {165, 0, false}};
    Ship s;
    s.write("ParGen.xml",
            ParGen_Xml({keys[0], keys[1], keys[2], keys[3], keys[4], keys[5], keys[6], keys[7],
                        keys[8], keys[9], keys[10], {"MQTT_Keep_Alive", "70000"},
                        {"MQTT_Will_QoS", "2"}, {"TLS_Enable", "01"}}));
    ASSERT_TRUE(s.compile().ok);
    const QByteArray b = s.image(3);
    uint32_t f = 174;
    for (int i = 0; i < 11; ++i) {
        const QByteArray text = keys[i].second.toUtf8();
        EXPECT_EQ(LE(b, fields[i].address), Base3 + f) << keys[i].first;
        if (fields[i].str12) {
            EXPECT_EQ(LE(b, fields[i].address + 8), Base3 + f) << keys[i].first;
        }
        if (fields[i].len) {
            EXPECT_EQ(LE(b, fields[i].len), uint32_t(text.size())) << keys[i].first;
        }
        EXPECT_EQ(Text_At(b, Base3 + f), text) << keys[i].first;
        f += uint32_t(text.size()) + 1;
    }
    EXPECT_EQ(uint32_t(b.size()), f);
    EXPECT_EQ(LE(b, 35, 2), 70000u & 0xFFFF); // KeepAliveInterval keeps 16 bits
    EXPECT_EQ(LE(b, 72, 1), 2u);              // Will QoS
    EXPECT_EQ(LE(b, 121), 1u);                // TLS_Flag read as a number
}

TEST(MqttBank, FilesThatCannotBeCompiled)
{
    struct Case {
        const char* what;
        QByteArray xml;
        int text;
    } cases[] = {
        {"empty QoS", Topic_Xml("<row Topic=\"t\" Retained=\"N\" QoS=\"\" Mnemonic=\"m\"/>"), Txt::Compile_QoS_Not_Number},
        {"QoS not a number", Topic_Xml("<row Topic=\"t\" Retained=\"N\" QoS=\"x\" Mnemonic=\"m\"/>"), Txt::Compile_QoS_Not_Number},
        {"no Topic", Topic_Xml("<row Retained=\"N\" QoS=\"0\" Mnemonic=\"m\"/>"), Txt::Compile_Attribute_Missing},
        {"no Mnemonic", Topic_Xml("<row Topic=\"t\" Retained=\"N\" QoS=\"0\"/>"), Txt::Compile_Attribute_Missing},
        {"no MQTT_Publish", "<MQTT_Set_Topic><MQTT_Subscribe/></MQTT_Set_Topic>", Txt::Compile_Element_Missing},
        {"no MQTT_Subscribe", "<MQTT_Set_Topic><MQTT_Publish/></MQTT_Set_Topic>", Txt::Compile_Element_Missing},
        {"comment first", "<!--x--><MQTT_Set_Topic><MQTT_Publish/><MQTT_Subscribe/></MQTT_Set_Topic>", Txt::Compile_Element_Missing},
        {"not well-formed", "<MQTT_Set_Topic><MQTT_Publish>", Txt::Xml_Not_Valid},
    };
    for (const Case& c : cases) {
        Ship s;
        s.write("MQTT_Set_Topic.xml", c.xml);
        const FileResult r = s.compile();
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_TRUE(r.message.contains(QDir::toNativeSeparators(s.p.st.File_MQTT_Topic))) << c.what;
        const QString head = s.p.st.Get_Lang_Text(c.text).section(QLatin1Char('%'), 0, 0);
        EXPECT_TRUE(r.message.contains(head)) << c.what << ": " << r.message.toStdString();
        EXPECT_FALSE(s.save().ok) << c.what;
        EXPECT_TRUE(s.bank(3).isEmpty()) << c.what;
    }
    Ship s;
    s.write("MQTT_Set_Topic.xml", Topic_Xml(QByteArray(One_Row) + "<row Topic=\"t\" Retained=\"N\" QoS=\"\" Mnemonic=\"m\"/>"));
    EXPECT_EQ(s.compile().message,
              s.p.st.Get_Lang_Text(Txt::Compile_Error)
                  .arg(QDir::toNativeSeparators(s.p.st.File_MQTT_Topic),
                       s.p.st.Get_Lang_Text(Txt::Compile_QoS_Not_Number).arg(2).arg("")));
}

TEST(MqttBank, NeverWritesPastItsLimit)
{
    TMQTT m;
    Clear_MQTT(m);
    m.Server_Address = QString(100, QLatin1Char('s'));
    m.NTP_Server_Address = "n";
    EXPECT_EQ(Place_MQTT_Strings(m), 174u + 101u + 2u);
    QByteArray image(400, '\xEE');
    EXPECT_EQ(Write_MQTT_Bank(Base3, 0, image, 275, m), 0u); // one byte short
    EXPECT_EQ(image.mid(276), QByteArray(400 - 276, '\xEE'));
    EXPECT_EQ(Write_MQTT_Bank(Base3, 0, image, 276, m), 277u);

    m.Server_Address += "x"; // changed after placement: the addresses no longer hold
    EXPECT_EQ(Write_MQTT_Bank(Base3, 0, image, 399, m), 0u);
}

TEST(MqttBankReading, LiteralLineBreaksInAttributesCompileAsTheEditorShowsThem)
{
    // A hand-written file with a real line break inside Topic compiles to the same bytes
    // as the escaped form the editor writes.
    QByteArray banks[2];
    const QByteArray topics[2] = {"a/b\r\nc", "a/b&#13;&#10;c"};
    for (int i = 0; i < 2; ++i) {
        test::Ship s;
        s.write("MQTT_Set_Topic.xml",
                test::Topic_Xml("<row Topic=\"" + topics[i] + "\" Retained=\"N\" QoS=\"0\" Mnemonic=\"m\"/>"));
        s.build();
        banks[i] = s.bank(3);
    }
    EXPECT_EQ(banks[0], banks[1]);
}

TEST(MqttBank, EstimateOfTheTopicScreenIsTheCompiledSize)
{
    Ship s;
    TMQTT broker;
    ASSERT_TRUE(Read_MQTT_Parameters(s.p.st, s.p.st.File_ParGen, broker).ok); // no ParGen.xml yet
    MQTT_Topic_Table m;
    EXPECT_EQ(MQTT_Bank_Estimate(s.p.st, broker, m.Pub), 174u);

    s.write("ParGen.xml", ParGen_Xml({{"MQTT_Server_URL", "broker.example"},
                                      {"TLS_Server_Auth_Certificate", "-----BEGIN-----\r\nAAAA\r\n"}}));
    ASSERT_TRUE(Read_MQTT_Parameters(s.p.st, s.p.st.File_ParGen, broker).ok);
    EXPECT_EQ(broker.Server_Address, "broker.example");
    m.Pub[0] = {"ship/nav/gga/lat", "N", "1", "Float", "4", "0", "", "", "{\r\n\"lat\": $VALUE$\r\n}",
                "Y", "N", "", "Latitude"};
    m.Pub[2] = {"ship/nav/\u00e9\r\n", "Y", "2", "String", "8", "4", "", "", "", "N", "Y", "250", ""};
    m.Pub[3].Mnemonic = "no topic: neither saved nor compiled";
    m.Sub[0] = {"sub", "N", "0", "Int", "2", "0", "", "", "", "", "", "m"}; // never saved
    const uint64_t estimate = MQTT_Bank_Estimate(s.p.st, broker, m.Pub);
    ASSERT_TRUE(Save_MQTT_Topic(s.p.st, s.p.st.File_MQTT_Topic, m).ok);
    ASSERT_TRUE(s.compile().ok);
    EXPECT_EQ(estimate, uint64_t(s.image(3).size()));

    // A table too large for the bank: the compiler refuses it with the estimated size.
    for (MQTT_Publish_Row& row : m.Pub)
        row = {QString(100, 't'), "N", "0", "Int", "2", "0", "", "", QString(100, '$'), "N", "N", "",
               QString(100, 'm')};
    const uint64_t large = MQTT_Bank_Estimate(s.p.st, broker, m.Pub);
    EXPECT_GT(large, 131072u);
    ASSERT_TRUE(Save_MQTT_Topic(s.p.st, s.p.st.File_MQTT_Topic, m).ok);
    const FileResult r = s.compile();
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains(QString::number(large))) << r.message.toStdString();
}
