#include "compiler/Decode.h"

#include "CompilerFixture.h"

#include <QRegularExpression>

using namespace swr;
using namespace swr::test;

TEST(DecodeBank, ShowsFieldsAndFollowsAddresses)
{
    Ship s;
    s.write("ParGen.xml", ParGen_Xml({{"MQTT_Server_URL", "broker"}, {"TLS_Client_Auth_Key", "k\nk"}}));
    s.write("MQTT_Set_Topic.xml",
            Topic_Xml("<row Topic=\"ship/speed\" Retained=\"Y\" QoS=\"1\" Mnemonic=\"SOG\"/>", "<row/>"));
    s.build();
    const QString d1 = Decode_Bank(s.bank(1), 1);
    EXPECT_TRUE(d1.contains(QRegularExpression("0x00028  IP_Address +192\\.168\\.0\\.10\n"))) << d1.toStdString();
    EXPECT_TRUE(d1.contains(QRegularExpression("0x007FC  Checksum +\\d+ \\(matches\\)")));
    EXPECT_FALSE(d1.contains("reserved"));

    const QString d3 = Decode_Bank(s.bank(3), 3);
    EXPECT_TRUE(d3.contains(QRegularExpression("Server_Address_Add +0x000A00AE \\(offset 174\\) -> \"broker\""))) << d3.toStdString();
    EXPECT_TRUE(d3.contains("-> \"k\\nk\""));
    EXPECT_TRUE(d3.contains(QRegularExpression("Publish_Data\\[0\\]\\.Publish_Topic +0x[0-9A-F]{8} len 10 -> \"ship/speed\"")));
    EXPECT_TRUE(d3.contains(QRegularExpression("Publish_Data\\[0\\]\\.Output_Template_Add .*-> \"\\$VALUE\\$\"")));
    EXPECT_TRUE(d3.contains("Subscribe_Data[0].Proto"));

    const QString d2 = Decode_Bank(s.bank(2), 2);
    EXPECT_TRUE(d2.contains(QRegularExpression("Item\\[0\\.\\.127\\] +all zero")));

    QByteArray items(1536, '\0');
    items[12 + 0] = 7;
    items[12 + 5] = 6;
    const QString d2b = Decode_Bank(items, 2);
    EXPECT_TRUE(d2b.contains(QRegularExpression("0x0000C  Item\\[1\\]\\.Sentence_Index +7 ")));
    EXPECT_TRUE(d2b.contains(QRegularExpression("Item\\[2\\.\\.127\\] +all zero")));
}

TEST(DecodeBank, DamagedFilesAreReportedNotReadPast)
{
    Ship s;
    s.write("MQTT_Set_Topic.xml", Topic_Xml("<row Topic=\"t\" Retained=\"N\" QoS=\"0\" Mnemonic=\"m\"/>"));
    s.build();
    QByteArray huge = s.bank(3);
    huge.replace(113, 4, QByteArray::fromHex("FFFFFFFF")); // a publish count far beyond the file
    huge.replace(8, 4, QByteArray::fromHex("FFFFFFFF"));   // an address outside the bank
    const QString d = Decode_Bank(huge, 3);
    EXPECT_TRUE(d.contains("beyond the end of the file"));
    EXPECT_TRUE(d.contains("outside the bank"));
    for (int bank : {1, 2, 3})
        for (const QByteArray& b : {QByteArray(), QByteArray(5, '\xFF'), s.bank(3).left(200)})
            EXPECT_FALSE(Decode_Bank(b, bank).isEmpty());
    EXPECT_TRUE(Decode_Bank(s.bank(1).left(100), 1).contains("The file holds 100 bytes, the bank 2048."));
    EXPECT_TRUE(Decode_Bank({}, 4).contains("no bank 4"));
}

TEST(DecodeBank, BankOfFile)
{
    EXPECT_EQ(Bank_Of_File("/x/bin/bank2.bin", QByteArray(2048, 0)), 2);
    EXPECT_EQ(Bank_Of_File("/x/BANK1.BIN", {}), 1);
    EXPECT_EQ(Bank_Of_File("copy.bin", QByteArray(2048, 0)), 1);
    EXPECT_EQ(Bank_Of_File("copy.bin", QByteArray(1536, 0)), 2);
    EXPECT_EQ(Bank_Of_File("copy.bin", QByteArray(174, 0)), 3);
}
