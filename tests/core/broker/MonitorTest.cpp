// The live monitor against a real mosquitto broker on 127.0.0.1, with a publisher in the
// test standing in for the device.
#include "BrokerFixture.h"
#include "FakeResolver.h"

#include "broker/BrokerTest.h"
#include "broker/Monitor.h"
#include "lang/LangTable.h"
#include "lang/Texts.h"
#include "project/mqtt/MqttTopics.h"
#include "project/pargen/ParGen.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QThread>

#include <atomic>
#include <map>

namespace swr {
namespace {

using test::BrokerConfig;
using test::MosquittoBroker;
using test::TestPublisher;

// A clock the test moves by hand.
class FakeClock : public IClock {
public:
    std::atomic<qint64> now{1000000};
    qint64 Now_Ms() const override { return now; }
};

MQTT_Publish_Row Rule(const QString& topic, const QString& on_change, const QString& on_timer,
                      const QString& time = {}, const QString& qos = QStringLiteral("1"))
{
    MQTT_Publish_Row r;
    r.Topic = topic;
    r.QoS = qos;
    r.OnChange = on_change;
    r.OnTimer = on_timer;
    r.Time = time;
    return r;
}

class MonitorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(broker.Start({}, &error)) << error.toStdString();
    }

    ParGen Params() const
    {
        ParGen m = ParGen_Defaults();
        m.Set_Text(ParKey::MQTT_Server_URL, QStringLiteral("127.0.0.1"));
        m.Set_Text(ParKey::MQTT_Server_Port, QString::number(broker.Port()));
        m.Set_Text(ParKey::MQTT_Client_ID, QStringLiteral("hdr2305"));
        return m;
    }

    // Polls the monitor until done holds for a snapshot, at most 20 s.
    template <class Done>
    MonitorSnapshot Wait(Monitor& mon, Done done)
    {
        const QDeadlineTimer deadline(20000);
        MonitorSnapshot s = mon.Take();
        while (!done(s) && !deadline.hasExpired()) {
            QThread::msleep(5);
            s = mon.Take();
        }
        EXPECT_TRUE(done(s)) << "timed out; link " << int(s.link.state) << " " << s.link.reason.toStdString();
        return s;
    }
    static MQTT_Topic_Table One_Rule()
    {
        MQTT_Topic_Table t;
        t.Pub[0] = Rule(QStringLiteral("dev/a"), "Y", "N");
        return t;
    }
    static MonitorOptions Quick_Reconnect()
    {
        MonitorOptions o;
        o.reconnect_max_s = 2;
        return o;
    }
    static bool Connected(const MonitorSnapshot& s) { return s.link.state == LinkState::Connected; }

    MosquittoBroker broker;
    FakeClock clock;
    const QStringList lang = [] {
        QStringList t;
        Load_Default_Strings(t);
        return t;
    }();
};

TEST_F(MonitorTest, RulesAreTheRowsWithATopicAsCompiled)
{
    MQTT_Topic_Table t;
    t.Pub[0] = Rule(QStringLiteral("dev/a"), "Y", "y", QStringLiteral(" 500 "), QStringLiteral("2"));
    t.Pub[1] = Rule(QStringLiteral("dev/+/t"), "N", "N", {}, QStringLiteral("x"));
    t.Pub[2] = Rule(QStringLiteral("dev/#"), "N", "Y", QStringLiteral("oops"));
    // Saving leaves out the blank row and keeps the rule after it; the device publishes
    // on the topic without its line break, and " Y" is not on timer.
    t.Pub[4] = Rule(QStringLiteral("after/\r\nblank"), "Y", " Y", QStringLiteral("100"));
    const std::vector<MonitorRule> r = Monitor_Rules(t);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[3].row, 5);
    EXPECT_EQ(r[3].topic, QStringLiteral("after/blank"));
    EXPECT_FALSE(r[3].on_timer);
    EXPECT_EQ(r[3].time_ms, 0);
    EXPECT_EQ(r[0].row, 1);
    EXPECT_EQ(r[0].qos, 2);
    EXPECT_TRUE(r[0].on_change && r[0].on_timer);
    EXPECT_EQ(r[0].time_ms, 500);
    EXPECT_FALSE(r[0].wildcard);
    EXPECT_TRUE(r[1].wildcard);
    EXPECT_EQ(r[1].qos, 0); // unparsable QoS subscribes at 0
    EXPECT_TRUE(r[2].wildcard);
    EXPECT_EQ(r[2].time_ms, 0); // no period, so never overdue
}

// Every state, the retained message at subscription, the interval, a binary and a JSON
// payload, a wildcard topic, two rules on one topic; the device's own client ID stays
// connected beside the monitor's.
TEST_F(MonitorTest, StatesFromWhatArrives)
{
    TestPublisher device;
    QString error;
    ASSERT_TRUE(device.Connect(broker.Port(), QStringLiteral("hdr2305"), &error)) << error.toStdString();
    ASSERT_TRUE(device.Publish(QStringLiteral("dev/ret"), "kept", 1, true));

    MQTT_Topic_Table t;
    t.Pub[0] = Rule(QStringLiteral("dev/timer"), "N", "Y", QStringLiteral("1000"));
    t.Pub[1] = Rule(QStringLiteral("dev/change"), "Y", "N");
    t.Pub[2] = Rule(QStringLiteral("dev/ret"), "Y", "N");
    t.Pub[3] = Rule(QStringLiteral("dev/+/temp"), "Y", "N");
    t.Pub[4] = Rule(QStringLiteral("dev/change"), "N", "N", {}, QStringLiteral("0"));
    Monitor mon(Params(), Monitor_Rules(t), clock);
    EXPECT_EQ(mon.Client_ID(), QStringLiteral("hdr2305-monitor"));
    ASSERT_TRUE(mon.Start(lang, &error)) << error.toStdString();

    MonitorSnapshot s = Wait(mon, [](const MonitorSnapshot& s) { return Connected(s) && s.seen[2].count == 1; });
    EXPECT_TRUE(s.seen[2].retained);
    EXPECT_EQ(s.seen[2].payload, "kept");
    EXPECT_EQ(Rule_State(mon.Rules()[2], s.seen[2], s.now_ms), RuleState::Stale_Retained);
    EXPECT_EQ(Rule_State(mon.Rules()[0], s.seen[0], s.now_ms), RuleState::Waiting);
    EXPECT_FALSE(Monitor_All_Seen(mon.Rules(), s));

    ASSERT_TRUE(device.Publish(QStringLiteral("dev/timer"), R"({"v":1,"unit":"kn"})", 1));
    s = Wait(mon, [](const MonitorSnapshot& s) { return s.seen[0].count == 1; });
    const MonitorRule& timer = mon.Rules()[0];
    EXPECT_EQ(Rule_State(timer, s.seen[0], clock.now), RuleState::Live);
    EXPECT_EQ(Rule_State(timer, s.seen[0], clock.now + 2000), RuleState::Live);
    EXPECT_EQ(Rule_State(timer, s.seen[0], clock.now + 2001), RuleState::Overdue);
    EXPECT_EQ(s.seen[0].interval_ms, -1);
    EXPECT_EQ(Payload_Detail(s.seen[0].payload), QStringLiteral("{\n    \"unit\": \"kn\",\n    \"v\": 1\n}"));

    clock.now += 5000;
    EXPECT_EQ(Rule_State(timer, mon.Take().seen[0], clock.now), RuleState::Overdue);
    ASSERT_TRUE(device.Publish(QStringLiteral("dev/timer"), "2", 1));
    s = Wait(mon, [](const MonitorSnapshot& s) { return s.seen[0].count == 2; });
    EXPECT_EQ(s.seen[0].interval_ms, 5000);
    EXPECT_EQ(Rule_State(timer, s.seen[0], s.now_ms), RuleState::Live);

    const QByteArray binary("\x00\xff\x10", 3);
    ASSERT_TRUE(device.Publish(QStringLiteral("dev/change"), binary, 1));
    ASSERT_TRUE(device.Publish(QStringLiteral("dev/ret"), "new", 1, true));
    ASSERT_TRUE(device.Publish(QStringLiteral("dev/north/temp"), "21.5", 1));
    s = Wait(mon, [](const MonitorSnapshot& s) {
        return s.seen[1].count == 1 && s.seen[2].count == 2 && s.seen[3].count == 1 && s.seen[4].count == 1;
    });
    EXPECT_EQ(s.seen[1].payload, binary);
    bool hex = false;
    EXPECT_EQ(Payload_Text(s.seen[1].payload, &hex), QStringLiteral("00 ff 10"));
    EXPECT_TRUE(hex);
    EXPECT_EQ(s.seen[4].payload, binary); // the same topic in two rules
    // A live retained publish reaches a subscriber without the retained flag.
    EXPECT_FALSE(s.seen[2].retained);
    EXPECT_EQ(Rule_State(mon.Rules()[2], s.seen[2], s.now_ms), RuleState::Live);
    EXPECT_TRUE(mon.Rules()[3].wildcard);
    EXPECT_EQ(s.seen[3].payload, "21.5");
    EXPECT_TRUE(Monitor_All_Seen(mon.Rules(), s));

    const MonitorLine line = Monitor_Line(lang, mon.Rules()[3], s.seen[3], s.now_ms);
    EXPECT_EQ(line.topic, lang.value(Txt::Monitor_Wildcard).arg(QStringLiteral("dev/+/temp")));
    EXPECT_EQ(line.state_text, lang.value(Txt::Monitor_Live));
    EXPECT_EQ(Monitor_Line(lang, timer, s.seen[0], s.now_ms).interval, QStringLiteral("5000 ms / 1000 ms"));
    EXPECT_TRUE(device.Connected()) << "the monitor took the device's client ID";
}

TEST_F(MonitorTest, NotifiesOnceUntilTaken)
{
    Monitor mon(Params(), Monitor_Rules(One_Rule()), clock);
    std::atomic<int> calls{0};
    mon.Set_Notify([&] { ++calls; });
    QString error;
    ASSERT_TRUE(mon.Start(lang, &error));
    Wait(mon, Connected);
    TestPublisher device;
    ASSERT_TRUE(device.Connect(broker.Port(), QStringLiteral("hdr2305"), &error)) << error.toStdString();
    calls = 0;
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(device.Publish(QStringLiteral("dev/a"), QByteArray::number(i), 1));
    const QDeadlineTimer deadline(20000);
    while (calls == 0 && !deadline.hasExpired())
        QThread::msleep(5);
    EXPECT_EQ(calls, 1); // nothing taken in between
    Wait(mon, [](const MonitorSnapshot& s) { return s.seen[0].count == 50; });
    ASSERT_TRUE(device.Publish(QStringLiteral("dev/a"), "again", 1));
    Wait(mon, [](const MonitorSnapshot& s) { return s.seen[0].count == 51; });
    EXPECT_GE(calls, 2);
}

TEST_F(MonitorTest, ReconnectsWhenTheBrokerComesBack)
{
    Monitor mon(Params(), Monitor_Rules(One_Rule()), clock, Quick_Reconnect());
    QString error;
    ASSERT_TRUE(mon.Start(lang, &error));
    Wait(mon, Connected);

    const int port = broker.Port();
    broker.Stop();
    MonitorSnapshot s = Wait(mon, [](const MonitorSnapshot& s) { return s.link.state == LinkState::Lost; });
    EXPECT_FALSE(s.link.reason.isEmpty());
    EXPECT_TRUE(Monitor_Link_Line(lang, mon, s).contains(QStringLiteral("reconnecting")))
        << Monitor_Link_Line(lang, mon, s).toStdString();

    ASSERT_TRUE(broker.Start({}, &error, port)) << error.toStdString();
    s = Wait(mon, [](const MonitorSnapshot& s) { return Connected(s) && s.link.connects == 2; });
    // Subscribed again: a message after the restart arrives.
    TestPublisher device;
    ASSERT_TRUE(device.Connect(port, QStringLiteral("hdr2305"), &error)) << error.toStdString();
    ASSERT_TRUE(device.Publish(QStringLiteral("dev/a"), "back", 1));
    s = Wait(mon, [](const MonitorSnapshot& s) { return s.seen[0].count == 1; });
    EXPECT_EQ(s.seen[0].payload, "back");

    mon.Stop();
    EXPECT_EQ(mon.Take().link.state, LinkState::Disconnected);
}

TEST_F(MonitorTest, StartsBeforeTheBrokerAndConnectsWhenItComes)
{
    const int port = broker.Port();
    broker.Stop();
    Monitor mon(Params(), Monitor_Rules(One_Rule()), clock, Quick_Reconnect());
    QString error;
    ASSERT_TRUE(mon.Start(lang, &error));
    EXPECT_NE(mon.Take().link.state, LinkState::Connected);
    ASSERT_TRUE(broker.Start({}, &error, port)) << error.toStdString();
    Wait(mon, Connected);
}

TEST_F(MonitorTest, TlsWithAClientCertificate)
{
    QString error;
    const test::TestCertificates* certs = test::Shared_Certificates(&error);
    ASSERT_TRUE(certs) << error.toStdString();
    BrokerConfig c;
    c.tls = certs;
    c.require_certificate = true;
    broker.Stop();
    ASSERT_TRUE(broker.Start(c, &error)) << error.toStdString();

    ParGen m = Params();
    m.Set_Flag(ParKey::TLS_Enable, true);
    m.Set_Flag(ParKey::TLS_En_Server_Auth, true);
    m.Set_Text(ParKey::TLS_Server_Auth_Certificate, certs->Text(QStringLiteral("ca.crt")));
    m.Set_Flag(ParKey::TLS_En_Client_Auth, true);
    m.Set_Text(ParKey::TLS_Client_Auth_Certificate, certs->Text(QStringLiteral("client.crt")));
    m.Set_Text(ParKey::TLS_Client_Auth_Key, certs->Text(QStringLiteral("client_enc.key")));
    m.Set_Text(ParKey::TLS_Client_Auth_Key_Password, QStringLiteral("wrong"));
    MQTT_Topic_Table t;
    t.Pub[0] = Rule(QStringLiteral("dev/secure"), "Y", "N");
    {
        Monitor refused(m, Monitor_Rules(t), clock);
        EXPECT_FALSE(refused.Start(lang, &error));
        EXPECT_TRUE(error.contains(lang.value(Txt::Tls_Key_Password_Wrong))) << error.toStdString();
    }
    m.Set_Text(ParKey::TLS_Client_Auth_Key_Password, test::TestCertificates::Key_Password);
    Monitor mon(m, Monitor_Rules(t), clock);
    ASSERT_TRUE(mon.Start(lang, &error)) << error.toStdString();
    Wait(mon, Connected);
    TestPublisher device;
    ASSERT_TRUE(device.Connect(broker.Port(), QStringLiteral("hdr2305"), &error, certs)) << error.toStdString();
    ASSERT_TRUE(device.Publish(QStringLiteral("dev/secure"), "over tls", 1));
    EXPECT_EQ(Wait(mon, [](const MonitorSnapshot& s) { return s.seen[0].count == 1; }).seen[0].payload, "over tls");
}

TEST_F(MonitorTest, LooksTheServerUpBeforeEachAttemptAndStopEndsALookup)
{
    test::FakeResolver resolver;
    resolver.names[QStringLiteral("broker.test")] = {QStringLiteral("127.0.0.1")};
    MonitorOptions o = Quick_Reconnect();
    o.resolver = &resolver;
    ParGen m = Params();
    m.Set_Text(ParKey::MQTT_Server_URL, QStringLiteral("mqtt://broker.test"));
    QString error;
    {
        Monitor mon(m, Monitor_Rules(One_Rule()), clock, o);
        ASSERT_TRUE(mon.Start(lang, &error));
        Wait(mon, Connected);
    }
    m.Set_Text(ParKey::MQTT_Server_URL, QStringLiteral("nowhere.test"));
    {
        Monitor mon(m, Monitor_Rules(One_Rule()), clock, o);
        ASSERT_TRUE(mon.Start(lang, &error));
        const MonitorSnapshot s = Wait(mon, [](const MonitorSnapshot& s) { return s.link.state == LinkState::Lost; });
        EXPECT_EQ(s.link.reason, QStringLiteral("nowhere.test could not be resolved: unknown host"));
    }
    resolver.hold = true;
    Monitor mon(m, Monitor_Rules(One_Rule()), clock, o);
    ASSERT_TRUE(mon.Start(lang, &error));
    mon.Stop();
    EXPECT_TRUE(resolver.cancelled);
}

TEST(MonitorPayload, TextHexAndShort)
{
    bool hex = true;
    EXPECT_EQ(Payload_Text("caf\xc3\xa9", &hex), QStringLiteral("caf\u00e9"));
    EXPECT_FALSE(hex);
    EXPECT_EQ(Payload_Text("\xc3", &hex), QStringLiteral("c3")); // cut UTF-8
    EXPECT_TRUE(hex);
    EXPECT_EQ(Payload_Detail("[1,2]"), QStringLiteral("[\n    1,\n    2\n]"));
    EXPECT_EQ(Payload_Detail("12.5"), QStringLiteral("12.5")); // JSON, but no object or array
    EXPECT_EQ(Payload_Short("line 1\nline 2", 8), QStringLiteral("line 1 l..."));
}

} // namespace
} // namespace swr
