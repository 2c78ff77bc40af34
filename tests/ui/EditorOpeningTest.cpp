// Every editor opens the same way: its project file is loaded first, and a file that
// cannot be loaded stops the opening with its message, shows no screen and stays as it was.
#include "MqttTopicScreen.h"
#include "NmeaAccessScreen.h"
#include "ParGenScreen.h"
#include "TopicTemplate.h"

#include "session/Projects.h"
#include "lang/Texts.h"

#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace swr;
using swr::test::ProgramFolder;

namespace {

// A topic file of five rules; rule 3 has no Retained, which a row must have.
QByteArray Five_Rules_Broken_At_Rule_3()
{
    QByteArray rows;
    for (int n = 1; n <= 5; ++n) {
        const QByteArray i = QByteArray::number(n);
        rows += "<row Topic=\"t" + i + "\"" + (n == 3 ? "" : " Retained=\"N\"")
                + " QoS=\"0\" DataType=\"Int\" Dimension=\"2\" Position=\"" + QByteArray::number(2 * n)
                + "\" Template=\"$VALUE$\" OnChange=\"Y\" OnTimer=\"N\" Time=\"\" Mnemonic=\"m" + i + "\"/>";
    }
    return "<MQTT_Set_Topic><MQTT_Publish>" + rows + "</MQTT_Publish><MQTT_Subscribe/></MQTT_Set_Topic>";
}

void Write_File(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray Read_File(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Editors : ::testing::Test {
    ProgramFolder p;
    std::unique_ptr<TFParGen> pargen;
    std::unique_ptr<TFNMEA_0183_Set_Access2> access;
    std::unique_ptr<TFTopicTemplate> tpl;
    std::unique_ptr<TFMQTT_Set_Topic> topics;

    void SetUp() override
    {
        p.start();
        ASSERT_EQ(Create_New_Project(p.st, "Ship"), 0);
        pargen = std::make_unique<TFParGen>(p.st, p.msg);
        access = std::make_unique<TFNMEA_0183_Set_Access2>(p.st, p.msg);
        tpl = std::make_unique<TFTopicTemplate>(p.st);
        topics = std::make_unique<TFMQTT_Set_Topic>(p.st, p.msg, tpl.get());
    }
};

} // namespace

TEST_F(Editors, AFileThatCannotBeLoadedStopsTheOpening)
{
    const QString topic_file = QDir::toNativeSeparators(p.st.File_MQTT_Topic);
    const struct {
        const char* what;
        QString path;
        QByteArray bytes;
        QDialog* screen;
        std::function<int()> open;
        QString message; // empty: any message naming the file
    } cases[] = {
        {"Set Communication, not well-formed", p.st.File_ParGen,
         "<Par_Gen>\n<Ethernet_IP1>10</Ethernet_IP>\n</Par_Gen>\n", pargen.get(), [&] { return pargen->Execute(); }, {}},
        {"NMEA 0183 access, not well-formed", p.st.File_NMEA_Access,
         "<NMEA_0183><NMEA_Listener><row Enable=\"Y\"</NMEA_0183>", access.get(),
         [&] { return access->Show_Access(); }, {}},
        {"NMEA 0183 access, no listener list", p.st.File_NMEA_Access, "<NMEA_0183><Other/></NMEA_0183>",
         access.get(), [&] { return access->Show_Access(); },
         p.st.Get_Lang_Text(Txt::Nmea_File_No_Listener).arg(QDir::toNativeSeparators(p.st.File_NMEA_Access))},
        {"MQTT topics, not well-formed", p.st.File_MQTT_Topic, "<MQTT_Set_Topic><MQTT_Publish>", topics.get(),
         [&] { return topics->Show_Topics(); }, {}},
        {"MQTT topics, five rules, rule 3 without Retained", p.st.File_MQTT_Topic, Five_Rules_Broken_At_Rule_3(),
         topics.get(), [&] { return topics->Show_Topics(); },
         p.st.Get_Lang_Text(Txt::MQTT_Attribute_Missing).arg(topic_file).arg(3).arg("MQTT_Publish", "Retained")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        p.msg.errors.clear();
        Write_File(c.path, c.bytes);
        // A screen that opens after all is closed at once, so the test ends either way.
        bool opened = false;
        QObject guard;
        QTimer::singleShot(0, &guard, [&] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                opened = true;
                d->reject();
            }
        });
        EXPECT_EQ(c.open(), QDialog::Rejected);
        EXPECT_FALSE(opened);
        EXPECT_FALSE(c.screen->isVisible());
        ASSERT_EQ(p.msg.errors.size(), 1);
        if (c.message.isEmpty())
            EXPECT_TRUE(p.msg.errors[0].contains(QDir::toNativeSeparators(c.path))) << p.msg.errors[0].toStdString();
        else
            EXPECT_EQ(p.msg.errors[0], c.message);
        EXPECT_EQ(Read_File(c.path), c.bytes);
    }
}
