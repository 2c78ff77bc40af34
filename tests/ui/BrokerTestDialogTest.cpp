// The broker test on the Set Communication screen, against a real broker on 127.0.0.1.
#include "BrokerTestDialog.h"
#include "ParGenFields.h"
#include "ParGenScreen.h"

#include <QScrollArea>

#include "session/Projects.h"
#include "lang/Texts.h"

#include "BrokerFixture.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace swr;
using K = ParKey;

namespace {

// Host names are never looked up here: every test uses 127.0.0.1.
class NoResolver : public IResolver {
public:
    ResolveResult Resolve(const QString&, int, const std::atomic<bool>&) override
    {
        ResolveResult r;
        r.error = QStringLiteral("no lookups in tests");
        return r;
    }
};

ParGen Params(int port)
{
    ParGen m = ParGen_Defaults();
    m.Set_Text(K::MQTT_Server_URL, QStringLiteral("127.0.0.1"));
    m.Set_Text(K::MQTT_Server_Port, QString::number(port));
    m.Set_Text(K::MQTT_Client_ID, QStringLiteral("hdr"));
    return m;
}

// WCAG's contrast ratio of two colours, from their relative luminance.
double Contrast(const QColor& a, const QColor& b)
{
    auto lum = [](const QColor& c) {
        auto lin = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
    };
    const double x = lum(a), y = lum(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// The verdict plate as shown: its state, its line, a mark, and ink that reads on its plate.
void Expect_Verdict(const TFBrokerTest& d, const char* state, const QString& line)
{
    ASSERT_TRUE(d.P_Verdict->isVisible());
    EXPECT_EQ(d.P_Verdict->property("verdict").toString(), state);
    EXPECT_EQ(d.L_Verdict->text(), line);
    EXPECT_FALSE(d.I_Verdict->pixmap().isNull());
    const QPalette pal = d.P_Verdict->palette();
    EXPECT_GE(Contrast(pal.color(QPalette::Window), pal.color(QPalette::WindowText)), 7.0);
    EXPECT_EQ(d.L_Verdict->palette().color(QPalette::WindowText), pal.color(QPalette::WindowText));
    EXPECT_FALSE(d.L_Running->isVisible());
}

struct BrokerDialogFixture : ::testing::Test {
    test::ProgramFolder p;
    NoResolver resolver;
    void SetUp() override { p.start(); }
};

TEST_F(BrokerDialogFixture, ShowsEachStageAndEndsWithTheVerdict)
{
    test::MosquittoBroker broker;
    QString error;
    ASSERT_TRUE(broker.Start({}, &error)) << error.toStdString();
    TFBrokerTest d(p.st, Params(broker.Port()), resolver);
    d.show();
    EXPECT_EQ(d.Btn_Close->text(), p.st.Get_Lang_Text(Txt::ParGen_Cancel));
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.Finished(); }, 10000));
    EXPECT_TRUE(d.Result().Accepted());
    const QStringList lines = d.Lines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(d.E_Stages->toPlainText(), lines.join('\n'));
    EXPECT_EQ(lines.back(), "The connection to the broker works");
    EXPECT_EQ(d.Btn_Close->text(), p.st.Get_Lang_Text(Txt::ParGen_OK));
    EXPECT_EQ(d.P_Title->L_SW_Desc->text(), p.st.Get_Lang_Text(Txt::Test_Dialog_Title));
    Expect_Verdict(d, "passed", "The connection to the broker works");
    const QString shots = qEnvironmentVariable("SWR_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        d.grab().save(QDir(shots).filePath("broker_test_passed.png"));
    // The test has ended: Enter closes the window.
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &d, Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST_F(BrokerDialogFixture, StagesAppearWhileItRunsAndCancelStopsIt)
{
    test::SilentListener silent; // takes the connection and never answers
    TFBrokerTest d(p.st, Params(silent.Port()), resolver);
    d.show();
    // The window is serviced while the worker waits: the passed stages show up.
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.Lines().size() == 2; }, 5000));
    EXPECT_FALSE(d.Finished());
    EXPECT_FALSE(d.P_Verdict->isVisible());
    // Enter while it runs neither cancels nor closes.
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    for (QWidget* w : {static_cast<QWidget*>(d.E_Stages), static_cast<QWidget*>(d.Btn_Close)}) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
    }
    QApplication::processEvents();
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(d.Finished());
    EXPECT_TRUE(d.Lines()[1].startsWith("TCP connection: connected to 127.0.0.1"));
    d.Btn_Close->click(); // Cancel
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.Finished(); }, 3000));
    EXPECT_TRUE(d.isVisible()); // the result stays on screen
    ASSERT_EQ(d.Lines().size(), 4);
    EXPECT_TRUE(d.Lines()[2].startsWith("MQTT connection: cancelled")) << d.Lines()[2].toStdString();
    EXPECT_EQ(d.Lines()[3], "The connection to the broker failed");
    Expect_Verdict(d, "failed", "The connection to the broker failed");
    const QString shots = qEnvironmentVariable("SWR_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        d.grab().save(QDir(shots).filePath("broker_test_failed.png"));
    QTest::keyClick(d.E_Stages, Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
}

TEST_F(BrokerDialogFixture, ClosingARunningTestCancelsIt)
{
    test::SilentListener silent;
    auto d = std::make_unique<TFBrokerTest>(p.st, Params(silent.Port()), resolver);
    d->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return d->Lines().size() == 2; }, 5000));
    QElapsedTimer t;
    t.start();
    d.reset(); // waits for the worker, which the cancel ends at once
    EXPECT_LT(t.elapsed(), 3000);
}

struct ScreenBrokerFixture : BrokerDialogFixture {
    std::unique_ptr<TFParGen> s;
    void SetUp() override
    {
        BrokerDialogFixture::SetUp();
        ASSERT_EQ(Create_New_Project(p.st, "Plant"), 0);
        s = std::make_unique<TFParGen>(p.st, p.msg);
        s->Broker_Resolver = &resolver;
        ASSERT_TRUE(s->FormShow());
        s->show();
        QApplication::processEvents();
    }
    QLineEdit* Edit(K k) const { return qobject_cast<QLineEdit*>(s->Control(k)); }
    ParTextEdit* Text(K k) const { return qobject_cast<ParTextEdit*>(s->Control(k)); }
    QCheckBox* Box(K k) const { return qobject_cast<QCheckBox*>(s->Control(k)); }
};

TEST_F(ScreenBrokerFixture, TheButtonTestsTheUnsavedValuesOnScreen)
{
    test::MosquittoBroker broker;
    QString error;
    ASSERT_TRUE(broker.Start({}, &error)) << error.toStdString();
    EXPECT_EQ(s->Btn_Test_Connection->text(), "Test Connection");
    Edit(K::MQTT_Server_URL)->setText("127.0.0.1");
    Edit(K::MQTT_Server_Port)->setText(QString::number(broker.Port()));
    Edit(K::MQTT_Client_ID)->setText("plant-7");
    if (qEnvironmentVariableIsSet("SWR_SHOTS")) {
        s->CPG->ensureWidgetVisible(s->Btn_Test_Connection);
        QApplication::processEvents();
        s->grab().save("/tmp/broker_mqtt_panel.png");
    }
    QStringList lines;
    QTimer::singleShot(0, s.get(), [&] {
        auto* d = qobject_cast<TFBrokerTest*>(QApplication::activeModalWidget());
        if (!d)
            return;
        EXPECT_TRUE(QTest::qWaitFor([&] { return d->Finished(); }, 10000));
        lines = d->Lines();
        d->Btn_Close->click();
    });
    s->Btn_Test_Connection->click();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[2].contains("plant-7-test")) << lines[2].toStdString();
    EXPECT_FALSE(QFileInfo::exists(p.st.File_ParGen)); // nothing saved
    EXPECT_TRUE(s->isVisible());
}

TEST_F(ScreenBrokerFixture, SummariesUnderTheTlsFieldsWarnInColour)
{
    QString error;
    const test::TestCertificates* shared = test::Shared_Certificates(&error);
    ASSERT_TRUE(shared) << error.toStdString();
    const test::TestCertificates& certs = *shared;
    QLabel* server = s->Tls_Summaries()->Summary(K::TLS_Server_Auth_Certificate);
    QLabel* key = s->Tls_Summaries()->Summary(K::TLS_Client_Auth_Key);
    ASSERT_TRUE(server && key);
    Box(K::TLS_Enable)->click();
    Box(K::TLS_En_Server_Auth)->click();
    QApplication::processEvents();
    EXPECT_FALSE(server->isVisible()); // nothing typed, nothing to say

    Text(K::TLS_Server_Auth_Certificate)->setPlainText(certs.Text("ca.crt"));
    QApplication::processEvents();
    EXPECT_TRUE(server->isVisible());
    EXPECT_TRUE(server->text().startsWith("Certificate: CN=Test CA")) << server->text().toStdString();
    EXPECT_FALSE(server->property("tlsWarning").toBool());
    const QColor normal = server->palette().color(QPalette::WindowText);

    Text(K::TLS_Server_Auth_Certificate)->setPlainText(certs.Text("expired.crt"));
    QApplication::processEvents();
    EXPECT_EQ(server->text(), "Certificate expired on 2020-01-02: CN=localhost");
    EXPECT_TRUE(server->property("tlsWarning").toBool());
    EXPECT_NE(server->palette().color(QPalette::WindowText), normal);

    Box(K::TLS_En_Client_Auth)->click();
    Text(K::TLS_Client_Auth_Certificate)->setPlainText(certs.Text("client.crt"));
    Text(K::TLS_Client_Auth_Key)->setPlainText(certs.Text("client_enc.key"));
    QApplication::processEvents();
    EXPECT_EQ(key->text(), "Key: encrypted, the password does not open it");
    Edit(K::TLS_Client_Auth_Key_Password)->setText(test::TestCertificates::Key_Password);
    QApplication::processEvents();
    EXPECT_EQ(key->text(), "Key: encrypted, the password opens it, matches the Client Certificate");
    EXPECT_FALSE(key->property("tlsWarning").toBool());

    // A summary hides with its field.
    Box(K::TLS_En_Server_Auth)->click();
    QApplication::processEvents();
    EXPECT_FALSE(server->isVisible());

    // A warning never blocks OK: the texts are saved as typed.
    Box(K::TLS_En_Server_Auth)->click();
    s->Btn_OKClick();
    EXPECT_TRUE(p.msg.errors.isEmpty()) << p.msg.errors.join('\n').toStdString();
    EXPECT_TRUE(QFileInfo::exists(p.st.File_ParGen));

    if (qEnvironmentVariableIsSet("SWR_SHOTS")) {
        s->Panel(ParGroup::Ethernet_Connection)->Set_Expanded(false);
        s->Panel(ParGroup::Serial)->Set_Expanded(false);
        Text(K::TLS_Server_Auth_Certificate)->setPlainText(certs.Text("expired.crt"));
        QApplication::processEvents();
        s->CPG->ensureWidgetVisible(key);
        QApplication::processEvents();
        s->grab().save("/tmp/broker_tls_summaries.png");
    }
}

} // namespace
