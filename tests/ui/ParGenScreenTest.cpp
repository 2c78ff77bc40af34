#include "ParGenFields.h"
#include "ParGenScreen.h"

#include "session/Projects.h"
#include "lang/LangTable.h"

#include "KeyChord.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QUndoStack>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace swr;
using swr::test::ProgramFolder;
using K = ParKey;

namespace {

void Settle()
{
    for (int i = 0; i < 4; ++i)
        QApplication::processEvents();
}

struct ScreenFixture : ::testing::Test {
    ProgramFolder p;
    std::unique_ptr<TFParGen> s;

    void SetUp() override
    {
        p.start();
        ASSERT_EQ(Create_New_Project(p.st, "Plant"), 0);
        s = std::make_unique<TFParGen>(p.st, p.msg);
    }
    void Open()
    {
        ASSERT_TRUE(s->FormShow());
        s->show();
        Settle();
    }
    QLineEdit* Edit(K k) const { return qobject_cast<QLineEdit*>(s->Control(k)); }
    QCheckBox* Box(K k) const { return qobject_cast<QCheckBox*>(s->Control(k)); }
    QComboBox* List(K k) const { return qobject_cast<QComboBox*>(s->Control(k)); }
    ParTextEdit* Lines(K k) const { return qobject_cast<ParTextEdit*>(s->Control(k)); }
    bool Shown(K k) const { return s->Control(k)->isVisible(); }
    void Click(K k)
    {
        Box(k)->click();
        Settle();
    }
    // Where a control sits in the panel area.
    QPoint At(QWidget* w) const { return w->mapTo(s->CPG->widget(), QPoint(0, 0)); }
    QByteArray File() const { return p.read("PROJECTS/Plant/ParGen.xml"); }
    // A panel's height by its rule: header, the bottom of the last visible row, 12 pixels.
    int Rule_Height(CategoryPanel* panel) const
    {
        if (!panel->Expanded())
            return panel->Header()->height();
        int bottom = 0;
        for (QWidget* w : panel->Body()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->isVisible())
                bottom = std::max(bottom, w->geometry().bottom() + 1);
        return panel->Header()->height() + bottom + 12;
    }
};

QString Crlf(QString text)
{
    return text.replace("\n", "\r\n");
}

const QString Cert = Crlf("-----BEGIN CERTIFICATE-----\nMIIBszCCAVmgAwIBAgIU\nQ2xpZW50IENlcnQ=\n-----END CERTIFICATE-----");

} // namespace

TEST_F(ScreenFixture, NewConfigurationOpensWithTheDefaults)
{
    Open();
    EXPECT_EQ(s->windowTitle(), "Set Communication");
    EXPECT_EQ(s->P_Title->L_SW_Code->text(), "SWR2305");
    EXPECT_EQ(s->P_Title->L_SW_Desc->text(), "Set Communication Setting");
    EXPECT_EQ(s->size(), QSize(460, 700));
    EXPECT_EQ(s->minimumSize(), s->maximumSize());
    EXPECT_FALSE(s->Is_Change);

    // The six panels, numbered, top to bottom, all expanded.
    const std::vector<std::pair<CategoryPanel*, QString>> panels = {
        {s->CP_Ethernet_Connection, "1. Ethernet Connection"}, {s->CP_MQTT, "2. MQTT"},
        {s->CP_RS232, "3. Serial"}, {s->CP_TLS, "4. TLS (Transport Layer Security)"},
        {s->CP_NTP, "5. NTP (Network Time Protocol)"}, {s->CP_Ethernet, "6. Ethernet"}};
    int y = -1;
    for (const auto& [panel, caption] : panels) {
        EXPECT_EQ(panel->Header()->text(), caption);
        EXPECT_TRUE(panel->Expanded());
        EXPECT_GT(panel->y(), y) << caption.toStdString();
        y = panel->y();
    }

    EXPECT_EQ(Edit(K::Eth_Conn_Device_Name)->text(), "");
    EXPECT_EQ(Edit(K::Eth_Conn_Device_Name)->maxLength(), 31);
    for (K k : {K::Eth_Conn_DHCP_Cable, K::Eth_Conn_DHCP_WiFi, K::Eth_Conn_Enable_DNS, K::MQTT_WillFlag,
                K::TLS_Enable, K::Ethernet_EN_GAT})
        EXPECT_FALSE(Box(k)->isChecked()) << Par_Key_Info(k).name;
    const auto address = [this](K first) {
        QStringList octets;
        for (int i = 0; i < 4; ++i)
            octets << Edit(K(int(first) + i))->text();
        return octets.join('.');
    };
    EXPECT_EQ(address(K::Eth_Conn_Primary_DNS1), "8.8.8.8");
    EXPECT_EQ(address(K::Eth_Conn_Secondary_DNS1), "8.8.4.4");
    EXPECT_EQ(Edit(K::MQTT_Server_Port)->text(), "1883");
    EXPECT_EQ(List(K::MQTT_Will_QoS)->currentText(), "0");
    EXPECT_EQ(List(K::MQTT_Will_QoS)->count(), 3);
    for (K k : {K::MQTT_Will_Topic_Name, K::MQTT_Will_Message, K::MQTT_Will_Retained, K::MQTT_Will_QoS})
        EXPECT_FALSE(Shown(k)) << Par_Key_Info(k).name;
    EXPECT_EQ(List(K::RS232_BAUDRATE)->currentText(), "4800");
    EXPECT_EQ(List(K::RS232_BAUDRATE)->count(), 8);
    EXPECT_FALSE(List(K::RS232_BAUDRATE)->isEditable());
    EXPECT_EQ(List(K::RS232_PARITY)->currentText(), "NONE");
    EXPECT_EQ(List(K::RS232_STOP_BITS)->currentText(), "1 bit");
    EXPECT_TRUE(Shown(K::TLS_Enable));
    for (K k : {K::TLS_En_Server_Auth, K::TLS_Server_Auth_Certificate, K::TLS_En_Client_Auth,
                K::TLS_Client_Auth_Certificate, K::TLS_Client_Auth_Key, K::TLS_Client_Auth_Key_Password})
        EXPECT_FALSE(Shown(k)) << Par_Key_Info(k).name;
    EXPECT_EQ(Edit(K::NTP_Server_URL)->text(), "pool.ntp.org");
    EXPECT_EQ(Edit(K::NTP_Poll_Time)->text(), "1000");
    EXPECT_EQ(address(K::Ethernet_IP1), "192.168.0.10");
    EXPECT_EQ(address(K::Ethernet_SM1), "255.255.255.0");
    EXPECT_EQ(address(K::Ethernet_GAT1), "192.168.0.1");
    EXPECT_TRUE(Edit(K::Ethernet_GAT1)->isEnabled());
    EXPECT_EQ(s->Values(), ParGen_Defaults());

    // Send Time, Enable RS232 and the second serial line have no field on this screen.
    for (K k : {K::MQTT_ASync_Send_Time, K::RS232_ENABLE, K::RS485_1_ENABLE, K::RS485_1_BAUDRATE})
        EXPECT_EQ(s->Control(k), nullptr) << Par_Key_Info(k).name;

    // The fields of every panel start at the same place, beside the widest label.
    const int x = At(Edit(K::Eth_Conn_Device_Name)).x();
    for (K k : {K::Eth_Conn_Primary_DNS1, K::MQTT_Server_URL, K::RS232_BAUDRATE, K::NTP_Poll_Time,
                K::Ethernet_IP1, K::Ethernet_GAT1})
        EXPECT_EQ(At(s->Control(k)).x(), x) << Par_Key_Info(k).name;
    auto* name_label = s->findChild<QLabel*>("L_Eth_Conn_Device_Name");
    ASSERT_NE(name_label, nullptr);
    EXPECT_EQ(name_label->text(), "Device Name (Hostname)");
    EXPECT_GE(x, At(name_label).x() + name_label->sizeHint().width());

    EXPECT_EQ(s->Btn_OK->toolTip(), "Confirm and Save the current configuration");
    EXPECT_EQ(s->Btn_Cancel->toolTip(), "Exit and Discard the current configuration");
    EXPECT_EQ(Box(K::Ethernet_EN_GAT)->text(), "Gateway");
    EXPECT_EQ(Edit(K::Ethernet_GAT3)->toolTip(), "Insert Third byte of Default Gateway");
}

TEST_F(ScreenFixture, WillFlagShowsItsFieldsAndMovesUsernameAndPassword)
{
    Open();
    const int user_y = At(Edit(K::MQTT_Username)).y();
    const int password_y = At(Lines(K::MQTT_Password)).y();
    const int panel_height = s->CP_MQTT->height();
    const int serial_y = s->CP_RS232->y();
    EXPECT_EQ(panel_height, Rule_Height(s->CP_MQTT));

    Click(K::MQTT_WillFlag);
    EXPECT_TRUE(s->Is_Change);
    for (K k : {K::MQTT_Will_Topic_Name, K::MQTT_Will_Message, K::MQTT_Will_Retained, K::MQTT_Will_QoS})
        EXPECT_TRUE(Shown(k)) << Par_Key_Info(k).name;
    EXPECT_GT(At(Edit(K::MQTT_Username)).y(), At(List(K::MQTT_Will_QoS)).y());
    EXPECT_GT(At(Edit(K::MQTT_Username)).y(), user_y);
    EXPECT_GT(s->CP_MQTT->height(), panel_height);
    EXPECT_EQ(s->CP_MQTT->height(), Rule_Height(s->CP_MQTT));
    EXPECT_EQ(s->CP_RS232->y() - serial_y, s->CP_MQTT->height() - panel_height);

    Click(K::MQTT_WillFlag);
    for (K k : {K::MQTT_Will_Topic_Name, K::MQTT_Will_Message, K::MQTT_Will_Retained, K::MQTT_Will_QoS})
        EXPECT_FALSE(Shown(k)) << Par_Key_Info(k).name;
    EXPECT_EQ(At(Edit(K::MQTT_Username)).y(), user_y);
    EXPECT_EQ(At(Lines(K::MQTT_Password)).y(), password_y);
    EXPECT_EQ(s->CP_MQTT->height(), panel_height);
    EXPECT_EQ(s->CP_RS232->y(), serial_y);

    // A collapsed panel is its header alone; the panels below it move up.
    s->CP_MQTT->Header()->click();
    Settle();
    EXPECT_FALSE(Shown(K::MQTT_Server_URL));
    EXPECT_EQ(s->CP_MQTT->height(), s->CP_MQTT->Header()->height());
    EXPECT_EQ(s->CP_RS232->y(), s->CP_MQTT->y() + s->CP_MQTT->height() + 2);
}

TEST_F(ScreenFixture, TlsShowsItsFieldsInThreeLevels)
{
    Open();
    const auto shown = [this] {
        QStringList v;
        for (const ParKeyInfo& k : Par_Keys())
            if (k.group == ParGroup::TLS && Shown(k.key))
                v << QString::fromLatin1(k.name).remove("TLS_");
        return v.join(' ');
    };
    EXPECT_EQ(shown(), "Enable");
    Click(K::TLS_Enable);
    EXPECT_EQ(shown(), "Enable En_Server_Auth En_Client_Auth");
    Click(K::TLS_En_Server_Auth);
    EXPECT_EQ(shown(), "Enable En_Server_Auth Server_Auth_Certificate En_Client_Auth");
    Click(K::TLS_En_Client_Auth);
    EXPECT_EQ(shown(), "Enable En_Server_Auth Server_Auth_Certificate En_Client_Auth Client_Auth_Certificate "
                       "Client_Auth_Key Client_Auth_Key_Password");
    EXPECT_EQ(s->CP_TLS->height(), Rule_Height(s->CP_TLS));
    // TLS off hides everything below it, the authentications keep their ticks.
    Click(K::TLS_Enable);
    EXPECT_EQ(shown(), "Enable");
    EXPECT_TRUE(Box(K::TLS_En_Client_Auth)->isChecked());
    EXPECT_EQ(s->CP_TLS->height(), Rule_Height(s->CP_TLS));
}

TEST_F(ScreenFixture, DhcpOnTheCableDisablesTheStaticAddressingOnly)
{
    Open();
    Edit(K::Ethernet_IP4)->setText("77");
    Click(K::Eth_Conn_DHCP_Cable);
    for (const ParKeyInfo& k : Par_Keys()) {
        if (!s->Control(k.key))
            continue;
        const bool ethernet = k.group == ParGroup::Ethernet;
        EXPECT_EQ(s->Control(k.key)->isEnabled(), !ethernet) << k.name;
        EXPECT_TRUE(Shown(k.key) || !Par_Key_Visible(s->Values(), k.key)) << k.name;
    }
    EXPECT_EQ(Edit(K::Ethernet_IP4)->text(), "77");
    EXPECT_FALSE(s->findChild<QLabel*>("L_Ethernet_IP1")->isEnabled());
    EXPECT_TRUE(s->findChild<QLabel*>("L_Eth_Conn_Primary_DNS1")->isEnabled());

    Click(K::Eth_Conn_DHCP_Cable);
    for (const ParKeyInfo& k : Par_Keys()) {
        if (s->Control(k.key)) {
            EXPECT_TRUE(s->Control(k.key)->isEnabled()) << k.name;
        }
    }
    EXPECT_FALSE(Box(K::Ethernet_EN_GAT)->isChecked()); // the gateway octets whatever it says
}

TEST_F(ScreenFixture, DotMovesAlongTheChainsAndIsNeverTyped)
{
    Open();
    for (const ParKeyInfo& k : Par_Keys())
        if (k.octet)
            Edit(k.key)->clear();
    const auto type = [this](K start, const QByteArray& keys) {
        Edit(start)->setFocus();
        for (const char c : keys)
            QTest::keyClick(QApplication::focusWidget(), c);
    };
    const auto address = [this](K first) {
        QStringList octets;
        for (int i = 0; i < 4; ++i)
            octets << Edit(K(int(first) + i))->text();
        return octets.join('|');
    };
    type(K::Eth_Conn_Primary_DNS1, "1.1.1.1.9.9.9.9.");
    EXPECT_EQ(address(K::Eth_Conn_Primary_DNS1), "1|1|1|1");
    EXPECT_EQ(address(K::Eth_Conn_Secondary_DNS1), "9|9|9|9");
    EXPECT_EQ(QApplication::focusWidget(), Edit(K::Eth_Conn_Secondary_DNS4)); // the end of the chain

    // From the mask straight on to the gateway, past the "Gateway" box; other keys go in.
    type(K::Ethernet_IP1, "192.168.x.10.255.255.255.0.10.0.0.1.");
    EXPECT_EQ(address(K::Ethernet_IP1), "192|168|x|10");
    EXPECT_EQ(address(K::Ethernet_SM1), "255|255|255|0");
    EXPECT_EQ(address(K::Ethernet_GAT1), "10|0|0|1");
    EXPECT_EQ(QApplication::focusWidget(), Edit(K::Ethernet_GAT4));
    EXPECT_FALSE(Box(K::Ethernet_EN_GAT)->isChecked());

    // A next octet that cannot take the focus now is not entered: the focus stays.
    Edit(K::Ethernet_GAT1)->setEnabled(false);
    type(K::Ethernet_SM4, ".");
    EXPECT_EQ(QApplication::focusWidget(), Edit(K::Ethernet_SM4));
    EXPECT_EQ(Edit(K::Ethernet_SM4)->text(), "0");
}

TEST_F(ScreenFixture, IsChangeAfterALoadAndAfterOneEdit)
{
    const std::vector<std::pair<const char*, std::function<void()>>> edits = {
        {"text", [this] { QTest::keyClick(Edit(K::MQTT_Client_ID), 'a'); }},
        {"octet", [this] { QTest::keyClick(Edit(K::Ethernet_SM3), Qt::Key_Backspace); }},
        {"list", [this] { List(K::RS232_PARITY)->setCurrentIndex(2); }},
        {"check box", [this] { Box(K::MQTT_Clean_Session)->click(); }},
        {"multi-line", [this] { QTest::keyClick(Lines(K::MQTT_Password), 'p'); }},
    };
    for (const auto& [what, edit] : edits) {
        Open();
        EXPECT_FALSE(s->Is_Change) << what;
        edit();
        EXPECT_TRUE(s->Is_Change) << what;
    }
    // A load clears it again, also after a file with other values.
    ParGen m = ParGen_Defaults();
    m.Set_Flag(K::MQTT_WillFlag, true);
    m.Set_Text(K::MQTT_Client_ID, "plant-7");
    ASSERT_TRUE(Save_ParGen(p.st, p.st.File_ParGen, m).ok);
    Open();
    EXPECT_FALSE(s->Is_Change);
    EXPECT_EQ(Edit(K::MQTT_Client_ID)->text(), "plant-7");
    EXPECT_TRUE(Shown(K::MQTT_Will_QoS));
}

TEST_F(ScreenFixture, BadOctetShowsOneMessageMarksTheFieldAndWritesNothing)
{
    Open();
    Edit(K::Ethernet_SM2)->setText("300");
    s->CP_Ethernet->Set_Expanded(false);
    s->CPG->verticalScrollBar()->setValue(0);
    Edit(K::MQTT_Client_ID)->setFocus();
    Settle();
    s->Btn_OK->click();
    EXPECT_EQ(p.msg.errors, QStringList{"Error Ethernet!! SubNet Mask 2 must be between 0 and 255"});
    EXPECT_TRUE(s->isVisible());
    EXPECT_FALSE(QFileInfo::exists(p.st.File_ParGen));
    EXPECT_EQ(Edit(K::Ethernet_SM2)->text(), "300");
    // The field is brought into view and marked; the focus stays where it was.
    EXPECT_TRUE(s->CP_Ethernet->Expanded());
    EXPECT_EQ(s->Marked_Field(), Edit(K::Ethernet_SM2));
    QWidget* view = s->CPG->viewport();
    const QRect field(Edit(K::Ethernet_SM2)->mapTo(view, QPoint(0, 0)), Edit(K::Ethernet_SM2)->size());
    EXPECT_TRUE(view->rect().contains(field));
    EXPECT_EQ(QApplication::focusWidget(), Edit(K::MQTT_Client_ID));
    EXPECT_NE(Edit(K::Ethernet_SM2)->palette().color(QPalette::Base),
              Edit(K::Ethernet_SM3)->palette().color(QPalette::Base));
    // Editing it takes the mark away.
    Edit(K::Ethernet_SM2)->setText("255");
    EXPECT_EQ(s->Marked_Field(), nullptr);
    EXPECT_EQ(Edit(K::Ethernet_SM2)->palette().color(QPalette::Base),
              Edit(K::Ethernet_SM3)->palette().color(QPalette::Base));

    // With DHCP on, a bad disabled octet still blocks saving.
    p.msg.errors.clear();
    Click(K::Eth_Conn_DHCP_Cable);
    Edit(K::Ethernet_IP1)->clear();
    s->Btn_OK->click();
    EXPECT_EQ(p.msg.errors, QStringList{"Error Ethernet!! IP Address 1 must be between 0 and 255"});
    EXPECT_FALSE(QFileInfo::exists(p.st.File_ParGen));

    // Cancel discards the edits; the next opening shows the file's values.
    p.msg.answers = {true};
    s->Btn_Cancel->click();
    EXPECT_FALSE(s->isVisible());
    Open();
    EXPECT_EQ(s->Values(), ParGen_Defaults());
    EXPECT_EQ(s->Marked_Field(), nullptr);
}

TEST_F(ScreenFixture, OkWritesWhatTheCommandLineResaveWrites)
{
    // A file from elsewhere: lower-case parity, a certificate with CR LF, a name longer than
    // the field takes, Wi-Fi DHCP on, the hidden keys set, missing keys.
    const QByteArray original =
        "<Par_Gen>\n"
        "  <Eth_Conn_Device_Name>a-device-name-of-forty-characters-long.</Eth_Conn_Device_Name>\n"
        "  <Eth_Conn_DHCP_WiFi>1</Eth_Conn_DHCP_WiFi>\n"
        "  <RS232_ENABLE>0</RS232_ENABLE><RS232_PARITY>even</RS232_PARITY>\n"
        "  <RS485_1_BAUDRATE>115200</RS485_1_BAUDRATE><MQTT_ASync_Send_Time>30</MQTT_ASync_Send_Time>\n"
        "  <TLS_Enable>01</TLS_Enable><TLS_En_Client_Auth>1</TLS_En_Client_Auth>\n"
        "  <TLS_Client_Auth_Certificate>-----BEGIN CERTIFICATE-----&#13;\nMIIB&#13;\n-----END CERTIFICATE-----"
        "</TLS_Client_Auth_Certificate>\n"
        "  <MQTT_Will_Message>  two\n lines </MQTT_Will_Message>\n"
        "</Par_Gen>\n";
    p.write("PROJECTS/Plant/ParGen.xml", original);
    // What resave does with the file: load, check, write back.
    const QString copy = p.path("copy.xml");
    p.write("copy.xml", original);
    ParGen resaved;
    ASSERT_TRUE(Load_ParGen(p.st, copy, resaved).ok);
    ASSERT_EQ(Controllo_Dati(p.st, resaved), QString());
    ASSERT_TRUE(Save_ParGen(p.st, copy, resaved).ok);

    Open();
    EXPECT_TRUE(Box(K::Eth_Conn_DHCP_WiFi)->isChecked());
    EXPECT_EQ(List(K::RS232_PARITY)->currentText(), "EVEN");
    EXPECT_TRUE(Shown(K::TLS_Client_Auth_Key));
    s->Btn_OK->click();
    EXPECT_TRUE(p.msg.errors.isEmpty()) << p.msg.errors.join('\n').toStdString();
    EXPECT_FALSE(s->isVisible());
    EXPECT_EQ(s->result(), QDialog::Accepted);
    EXPECT_EQ(QString::fromUtf8(File()), QString::fromUtf8(p.read("copy.xml")));

    // With edits: the same bytes as those values written by the one writer.
    Open();
    Edit(K::Eth_Conn_Device_Name)->setText("dev-7");
    List(K::RS232_BAUDRATE)->setCurrentIndex(7);
    Box(K::MQTT_WillFlag)->click();
    List(K::MQTT_Will_QoS)->setCurrentIndex(2);
    Box(K::Eth_Conn_DHCP_WiFi)->click();
    s->Btn_OK->click();
    ASSERT_FALSE(s->isVisible());
    resaved.Set_Text(K::Eth_Conn_Device_Name, "dev-7");
    resaved.Set_Text(K::RS232_BAUDRATE, "115200");
    resaved.Set_Flag(K::MQTT_WillFlag, true);
    resaved.Set_Choice(K::MQTT_Will_QoS, 2);
    resaved.Set_Flag(K::Eth_Conn_DHCP_WiFi, false);
    ASSERT_TRUE(Save_ParGen(p.st, copy, resaved).ok);
    EXPECT_EQ(QString::fromUtf8(File()), QString::fromUtf8(p.read("copy.xml")));
    EXPECT_TRUE(File().contains("<MQTT_Will_QoS>2</MQTT_Will_QoS>"));
    EXPECT_TRUE(File().contains("<MQTT_ASync_Send_Time>30</MQTT_ASync_Send_Time>"));
}

TEST_F(ScreenFixture, CertificatesWithCrLfReadBackAsWritten)
{
    ParGen m = ParGen_Defaults();
    m.Set_Flag(K::TLS_Enable, true);
    m.Set_Text(K::TLS_Server_Auth_Certificate, Cert);
    m.Set_Text(K::TLS_Client_Auth_Key, "KEY\nWITH LF\n");
    ASSERT_TRUE(Save_ParGen(p.st, p.st.File_ParGen, m).ok);
    Open();
    EXPECT_EQ(Lines(K::TLS_Server_Auth_Certificate)->blockCount(), 4);

    // One line typed into the certificate, one into the key, a pasted one in the client
    // certificate, Enter in a certificate field starting its new line.
    ParTextEdit* server = Lines(K::TLS_Server_Auth_Certificate);
    server->moveCursor(QTextCursor::End);
    QTest::keyClick(server, Qt::Key_Return);
    QTest::keyClicks(server, "# typed");
    ParTextEdit* key = Lines(K::TLS_Client_Auth_Key);
    key->moveCursor(QTextCursor::End);
    QTest::keyClicks(key, "END");
    QApplication::clipboard()->setText(Cert);
    Lines(K::TLS_Client_Auth_Certificate)->paste();
    const ParGen shown = s->Values();
    EXPECT_EQ(shown.Text(K::TLS_Server_Auth_Certificate), Cert + "\r\n# typed");
    EXPECT_EQ(shown.Text(K::TLS_Client_Auth_Key), "KEY\nWITH LF\nEND");
    EXPECT_EQ(shown.Text(K::TLS_Client_Auth_Certificate), Cert);
    EXPECT_TRUE(s->isVisible()); // Enter started a line, it did not press OK

    s->Btn_OK->click();
    ASSERT_FALSE(s->isVisible());
    ParGen back;
    ASSERT_TRUE(Load_ParGen(p.st, p.st.File_ParGen, back).ok);
    EXPECT_EQ(back, shown);
    Open();
    EXPECT_EQ(s->Values(), shown);
}

TEST_F(ScreenFixture, CancelAsksOnlyAfterChanges)
{
    Open();
    s->Btn_Cancel->click();
    EXPECT_FALSE(s->isVisible());
    EXPECT_TRUE(p.msg.questions.isEmpty());
    EXPECT_EQ(s->result(), QDialog::Rejected);

    // Cancel, Escape and the close box each ask; No stays with the edits, Yes leaves.
    const std::vector<std::pair<const char*, std::function<void()>>> leaves = {
        {"Cancel", [this] { s->Btn_Cancel->click(); }},
        {"Escape", [this] { QTest::keyClick(Edit(K::NTP_Server_URL), Qt::Key_Escape); }},
        {"close box", [this] { s->close(); }},
    };
    for (const auto& [how, leave] : leaves) {
        Open();
        Edit(K::NTP_Server_URL)->setText("ntp.plant.local");
        p.msg.questions.clear();
        p.msg.answers = {false};
        leave();
        EXPECT_EQ(p.msg.questions, QStringList{"Do you want to exit without saving changes?"}) << how;
        EXPECT_TRUE(s->isVisible()) << how;
        EXPECT_EQ(Edit(K::NTP_Server_URL)->text(), "ntp.plant.local") << how;
        p.msg.answers = {true};
        leave();
        EXPECT_FALSE(s->isVisible()) << how;
        EXPECT_FALSE(QFileInfo::exists(p.st.File_ParGen)) << how;
    }
    Open();
    EXPECT_EQ(Edit(K::NTP_Server_URL)->text(), "pool.ntp.org");
}

TEST_F(ScreenFixture, KeyboardWalksTopToBottomAndEnterNeverSaves)
{
    Open();
    Click(K::TLS_Enable); // fields of more kinds in the walk
    Click(K::TLS_En_Client_Auth);
    s->CP_Ethernet_Connection->Header()->setFocus();
    std::vector<QWidget*> walk;
    for (QWidget* w = QApplication::focusWidget(); w && walk.size() < 100; w = QApplication::focusWidget()) {
        walk.push_back(w);
        if (w == s->Btn_Cancel)
            break;
        QTest::keyClick(w, Qt::Key_Tab);
    }
    ASSERT_FALSE(walk.empty());
    ASSERT_EQ(walk.back(), s->Btn_Cancel);
    ASSERT_EQ(walk[walk.size() - 2], s->Btn_OK);
    // Every visible control once, each below or right of the one before.
    int controls = 0;
    for (const ParKeyInfo& k : Par_Keys())
        if (s->Control(k.key) && Shown(k.key)) {
            ++controls;
            EXPECT_EQ(std::count(walk.begin(), walk.end(), s->Control(k.key)), 1) << k.name;
        }
    // The panel headers, "Test Connection" right after the MQTT password, OK and Cancel.
    EXPECT_EQ(int(walk.size()), controls + 6 + 1 + 2);
    const auto password = std::find(walk.begin(), walk.end(), s->Control(K::MQTT_Password));
    ASSERT_NE(password, walk.end());
    EXPECT_EQ(*(password + 1), s->Btn_Test_Connection);
    QPoint before(-1, -1);
    for (size_t i = 0; i + 2 < walk.size(); ++i) {
        const QPoint at = At(walk[i]) + walk[i]->rect().center(); // a row's controls share a centre line
        EXPECT_TRUE(at.y() > before.y() + 2 || (std::abs(at.y() - before.y()) <= 2 && at.x() > before.x()))
            << walk[i]->objectName().toStdString();
        before = at;
    }
    int header = 0;
    for (QWidget* w : walk)
        for (size_t g = 0; g < 6; ++g)
            if (w == s->Panel(ParGroup(g + 1))->Header()) {
                EXPECT_EQ(header++, int(g));
            }

    // Space toggles a check box, with its rule.
    Box(K::MQTT_WillFlag)->setFocus();
    QTest::keyClick(Box(K::MQTT_WillFlag), Qt::Key_Space);
    Settle();
    EXPECT_TRUE(Box(K::MQTT_WillFlag)->isChecked());
    EXPECT_TRUE(Shown(K::MQTT_Will_Topic_Name));

    // Enter after typing an octet, in a list or on a check box: nothing is pressed.
    EXPECT_FALSE(s->Btn_OK->isDefault());
    EXPECT_FALSE(s->Btn_OK->autoDefault());
    for (QWidget* w : std::initializer_list<QWidget*>{Edit(K::Ethernet_IP4), List(K::RS232_BAUDRATE),
                                                      Box(K::Ethernet_EN_GAT), s->Btn_Cancel}) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
        QTest::keyClick(w, Qt::Key_Enter);
        EXPECT_TRUE(s->isVisible()) << w->objectName().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(p.st.File_ParGen));
    EXPECT_TRUE(p.msg.errors.isEmpty());
    EXPECT_TRUE(p.msg.questions.isEmpty());
}

TEST_F(ScreenFixture, WheelOverTheFieldsScrollsThePanels)
{
    Open();
    QScrollBar* bar = s->CPG->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    QComboBox* baud = List(K::RS232_BAUDRATE);
    const auto wheel = [&](QWidget* over, int delta) {
        QWheelEvent e(QPointF(5, 5), over->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &e);
    };
    wheel(baud, -120);
    const int step = QApplication::wheelScrollLines() * bar->singleStep();
    EXPECT_EQ(bar->value(), step);
    EXPECT_EQ(baud->currentText(), "4800"); // the list did not take the wheel
    wheel(s->CPG->viewport(), -60); // half a notch waits for the other half
    EXPECT_EQ(bar->value(), step);
    wheel(Edit(K::Ethernet_IP1), -60);
    EXPECT_EQ(bar->value(), 2 * step);
    wheel(s->CPG->viewport(), 240);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_FALSE(s->Is_Change);
}

TEST_F(ScreenFixture, LanguageFileReachesEveryTextOfTheScreen)
{
    Open();
    // Every text of the screen gets a recognisable translation.
    QList<int> texts = {400, 401, 402, 403, 404, 405, 1121, 562, 589, 1100, 1115, 517};
    for (const ParKeyInfo& k : Par_Keys())
        if (s->Control(k.key))
            texts << k.label << k.hint;
    QByteArray lng = "; test language\n";
    for (int i : texts)
        if (i >= 0)
            lng += "STR" + QByteArray::number(i) + " = T" + QByteArray::number(i) + "\n";
    p.write("LANGUAGE/Test.lng", lng);
    QString error;
    ASSERT_TRUE(Read_Language_File(p.st.Lang_Table, p.path("LANGUAGE/Test.lng"), &error)) << error.toStdString();
    s->Set_Lang();
    Settle();
    const auto t = [](int i) { return "T" + QString::number(i); };

    EXPECT_EQ(s->windowTitle(), t(400));
    EXPECT_EQ(s->P_Title->L_SW_Desc->text(), t(401));
    EXPECT_EQ(s->P_Title->L_SW_Code->text(), "SWR2305");
    EXPECT_EQ(s->Btn_OK->text(), t(402));
    EXPECT_EQ(s->Btn_Cancel->toolTip(), t(405));
    EXPECT_EQ(s->CP_Ethernet_Connection->Header()->text(), "1. " + t(1121));
    EXPECT_EQ(s->CP_NTP->Header()->text(), "5. " + t(1115));
    EXPECT_EQ(s->CP_Ethernet->Header()->text(), "6. " + t(517));
    for (const ParKeyInfo& k : Par_Keys()) {
        QWidget* c = s->Control(k.key);
        if (!c)
            continue;
        EXPECT_EQ(c->toolTip(), t(k.hint)) << k.name;
        EXPECT_EQ(c->accessibleDescription(), t(k.hint)) << k.name;
        if (auto* box = qobject_cast<QCheckBox*>(c)) {
            EXPECT_EQ(box->text(), t(k.label)) << k.name;
        } else if (k.octet <= 1 && k.label >= 0) {
            EXPECT_EQ(s->findChild<QLabel*>(QLatin1String("L_") + k.name)->text(), t(k.label)) << k.name;
        }
    }
    // The labels still line up.
    EXPECT_EQ(At(Edit(K::Eth_Conn_Device_Name)).x(), At(Edit(K::NTP_Poll_Time)).x());
}

TEST_F(ScreenFixture, MalformedFileStopsTheOpening)
{
    const QByteArray bad = "<Par_Gen>\n<Ethernet_IP1>10</Ethernet_IP>\n</Par_Gen>\n";
    p.write("PROJECTS/Plant/ParGen.xml", bad);
    EXPECT_EQ(s->Execute(), QDialog::Rejected);
    EXPECT_FALSE(s->isVisible());
    ASSERT_EQ(p.msg.errors.size(), 1);
    EXPECT_TRUE(p.msg.errors.first().startsWith("Error!!! The file " + QDir::toNativeSeparators(p.st.File_ParGen)
                                                + " is not valid XML (line 2, column "))
        << p.msg.errors.first().toStdString();
    EXPECT_EQ(File(), bad);
}

TEST_F(ScreenFixture, OpensModallyCentredAndKeepsItsTopOnTheScreen)
{
    bool modal = false;
    QPoint centre, screen_centre;
    // Runs once the modal loop has started, the screen shown.
    QTimer::singleShot(0, s.get(), [&] {
        TFParGen* d = s.get();
        modal = QApplication::activeModalWidget() == d && d->isVisible();
        centre = d->frameGeometry().center();
        screen_centre = d->screen()->availableGeometry().center();
        // Moved above the screen, it comes back down when it is activated again.
        d->move(d->x(), d->screen()->availableGeometry().top() - 50);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(d, &activate);
        EXPECT_EQ(d->frameGeometry().top(), d->screen()->availableGeometry().top());
        d->Btn_Cancel->click();
    });
    EXPECT_EQ(s->Execute(), QDialog::Rejected);
    EXPECT_TRUE(modal);
    // Within the window frame, which is known only once the window is shown.
    EXPECT_LE((centre - screen_centre).manhattanLength(), 10);
}

TEST_F(ScreenFixture, FailedWriteKeepsTheScreenOpenWithItsEdits)
{
    Open();
    Edit(K::MQTT_Server_URL)->setText("broker.plant.local");
    QDir().mkpath(p.st.File_ParGen); // a folder where the file should go
    s->Btn_OK->click();
    ASSERT_EQ(p.msg.errors.size(), 1);
    EXPECT_TRUE(p.msg.errors.first().startsWith("Error!!! The file " + QDir::toNativeSeparators(p.st.File_ParGen)
                                                + " cannot be written: "))
        << p.msg.errors.first().toStdString();
    EXPECT_GT(p.msg.errors.first().size(), QString("Error!!! The file  cannot be written: ").size()
                                               + QDir::toNativeSeparators(p.st.File_ParGen).size());
    EXPECT_TRUE(s->isVisible());
    EXPECT_EQ(Edit(K::MQTT_Server_URL)->text(), "broker.plant.local");
    EXPECT_TRUE(s->Is_Change);
}

// Ctrl+Z takes back the screen's edits, also from inside a field: typing in one field is
// one step, and undoing back to the loaded values means no change, down to a value the
// field could not show whole.
TEST_F(ScreenFixture, UndoBackToTheLoadedValuesIsNoChange)
{
    const QString long_name = "a-device-name-of-forty-characters-long.";
    p.write("PROJECTS/Plant/ParGen.xml", "<Par_Gen><Eth_Conn_Device_Name>" + long_name.toUtf8()
                                             + "</Eth_Conn_Device_Name></Par_Gen>");
    const QByteArray loaded = [&] {
        Open();
        s->Btn_OK->click();
        return File();
    }();
    ASSERT_TRUE(loaded.contains(long_name.toUtf8()));

    Open();
    const auto key = [this](QWidget* w, int key) {
        w->setFocus();
        test::Key_Chord(s.get(), w, key, Qt::ControlModifier);
    };
    QLineEdit* name = Edit(K::Eth_Conn_Device_Name);
    QLineEdit* client = Edit(K::MQTT_Client_ID);
    QTest::keyClicks(client, "abc");
    Box(K::MQTT_WillFlag)->click();
    Settle();
    ASSERT_TRUE(Shown(K::MQTT_Will_QoS));
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Backspace);
    ASSERT_TRUE(s->Is_Change);

    key(name, Qt::Key_Z);
    EXPECT_EQ(name->text(), long_name.left(31));
    key(name, Qt::Key_Z);
    Settle();
    EXPECT_FALSE(Shown(K::MQTT_Will_QoS)) << "the rules follow the value put back";
    EXPECT_TRUE(s->Is_Change);
    key(name, Qt::Key_Z);
    EXPECT_EQ(client->text(), "") << "the typing went back in one step";
    EXPECT_FALSE(s->Is_Change);

    key(client, Qt::Key_Y);
    EXPECT_EQ(client->text(), "abc");
    EXPECT_TRUE(s->Is_Change);
    key(client, Qt::Key_Z);
    EXPECT_FALSE(s->Is_Change);

    // Unchanged: Cancel does not ask, OK writes the loaded values.
    s->Btn_OK->click();
    EXPECT_FALSE(s->isVisible());
    EXPECT_EQ(File(), loaded);

    // Each load starts the history afresh.
    Open();
    QTest::keyClicks(client, "x");
    Open();
    EXPECT_EQ(s->Undo_Stack->count(), 0);
    s->Btn_Cancel->click();
    EXPECT_TRUE(p.msg.questions.isEmpty());
}
