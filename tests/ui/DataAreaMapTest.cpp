#include "DataAreaMap.h"
#include "MqttTopicScreen.h"
#include "NmeaAccessModel.h"
#include "NmeaAccessScreen.h"
#include "TopicTemplate.h"

#include "session/Projects.h"
#include "lang/Texts.h"
#include "project/mqtt/MqttTopics.h"
#include "project/nmea/NmeaAccess.h"

#include "ModalDialogs.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace swr;

namespace {

NMEA_Listener_Row Listener(int position)
{
    NMEA_Listener_Row r;
    r.Sentence = "GGA";
    r.DataField = "Latitude, Minutes [floating point]"; // 4 bytes
    r.PortOperation = "None";
    r.Position = QString::number(position);
    return r;
}

MQTT_Publish_Row Rule(const QString& topic, int position)
{
    return {topic, "N", "1", "Int", "4", QString::number(position), "", "", "$VALUE$", "Y", "N", "", ""};
}

// Runs action on the map window as soon as it is shown; the window is closed afterwards
// if the action left it open.
void On_Map(std::function<void(TFData_Area_Map*)> action)
{
    test::On_Next_Modal<TFData_Area_Map>(std::move(action), true);
}

// Picks the finding whose text starts with prefix, from the keyboard.
void Choose(TFData_Area_Map* d, const QString& prefix)
{
    for (int i = 0; i < d->LB_Findings->count(); ++i)
        if (d->LB_Findings->item(i)->text().startsWith(prefix)) {
            d->LB_Findings->setFocus();
            d->LB_Findings->setCurrentRow(i);
            QTest::keyClick(d->LB_Findings, Qt::Key_Return);
            return;
        }
    ADD_FAILURE() << "no finding " << prefix.toStdString();
}

struct MapScreens : ::testing::Test {
    test::ProgramFolder p;
    void SetUp() override
    {
        p.start();
        ASSERT_EQ(Create_New_Project(p.st, "Ship"), 0);
        p.write("PROJECTS/Ship/ParGen.xml", "<ParGen/>"); // the serial line on
        // Saved: listener row 1 at byte 0, a rule reading it and one reading free bytes.
        NMEA_Listener_Table t;
        t.row(1) = Listener(0);
        ASSERT_TRUE(Save_NMEA_Access(p.st, p.st.File_NMEA_Access, t).ok);
        MQTT_Topic_Table m;
        m.Pub[0] = Rule("ship/a", 0);
        m.Pub[1] = Rule("ship/free", 100);
        ASSERT_TRUE(Save_MQTT_Topic(p.st, p.st.File_MQTT_Topic, m).ok);
    }
};

} // namespace

TEST_F(MapScreens, FromTheListenerScreenAFindingSelectsItsRow)
{
    TFNMEA_0183_Set_Access2 s(p.st, p.msg);
    ASSERT_TRUE(s.FormShow());
    EXPECT_EQ(s.Btn_DataArea->text(), p.st.Get_Lang_Text(Txt::Map_Button));
    EXPECT_EQ(s.Btn_DataArea->toolTip(), p.st.Get_Lang_Text(Txt::Map_Button + 1));
    EXPECT_EQ(s.Btn_PasteRow->nextInFocusChain(), s.Btn_DataArea);
    s.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
    s.Table.row(3) = Listener(2); // unsaved: overlaps row 1
    s.ASG->setCurrentIndex(s.Model->index(0, 0));
    bool shown = false;
    On_Map([&](TFData_Area_Map* d) {
        shown = true;
        EXPECT_EQ(d->Map.listeners.size(), 2);
        EXPECT_EQ(d->Map.bytes[2], Byte_State::Conflict);
        EXPECT_EQ(d->Map.bytes[100], Byte_State::Unfilled_Read); // the saved rules
        // The window becomes active a moment after it is shown; then the bytes have the keys.
        EXPECT_TRUE(QTest::qWaitFor([&] { return d->Map_Grid->hasFocus(); }));
        QTest::keyClick(d->Map_Grid, Qt::Key_Right);
        QTest::keyClick(d->Map_Grid, Qt::Key_Right);
        EXPECT_EQ(d->Map_Grid->Current_Byte(), 2);
        EXPECT_TRUE(d->L_Byte->text().contains("Listener row 3: GGA")) << d->L_Byte->text().toStdString();
        // A finding of the rules alone has no row here: the map stays open.
        Choose(d, "Warning: publish rule 2");
        EXPECT_TRUE(d->isVisible());
        Choose(d, "Note: publish rule 1 reads bytes 0 to 3, part of the field of listener row 3");
        EXPECT_FALSE(d->isVisible());
    });
    s.Btn_DataArea->click();
    EXPECT_TRUE(shown);
    EXPECT_EQ(s.Current_Row(), 3);
    EXPECT_TRUE(p.msg.errors.isEmpty());
}

TEST_F(MapScreens, FromTheTopicScreenAFindingSelectsItsRule)
{
    TFTopicTemplate tpl(p.st);
    TFMQTT_Set_Topic s(p.st, p.msg, &tpl);
    ASSERT_TRUE(s.FormShow());
    s.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
    EXPECT_EQ(s.Btn_DataArea->text(), p.st.Get_Lang_Text(Txt::Map_Button));
    s.Pub_Model->setData(s.Pub_Model->index(4, 0), "ship/unsaved", Qt::EditRole);
    s.Table.Pub[4] = Rule("ship/unsaved", 2); // unsaved: reads across the end of row 1's field
    bool shown = false;
    On_Map([&](TFData_Area_Map* d) {
        shown = true;
        EXPECT_EQ(d->Map.rules.size(), 3);
        EXPECT_EQ(d->Map.bytes[4], Byte_State::Unfilled_Read);
        Choose(d, "Warning: publish rule 5");
        EXPECT_FALSE(d->isVisible());
    });
    s.Btn_DataArea->click();
    EXPECT_TRUE(shown);
    EXPECT_EQ(s.ACG_Pub->currentIndex().row(), 4);
    EXPECT_TRUE(p.msg.errors.isEmpty());
}
