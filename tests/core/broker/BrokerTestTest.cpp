// The broker test against a real mosquitto broker on 127.0.0.1.
#include "BrokerFixture.h"
#include "FakeResolver.h"
#include "TestSupport.h"

#include "broker/BrokerTest.h"
#include "lang/LangTable.h"
#include "project/pargen/ParGen.h"

#include <gtest/gtest.h>

#include <mosquitto.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <thread>

namespace swr {
namespace {

using test::BrokerConfig;
using test::MosquittoBroker;
using test::FakeResolver;
using test::TestCertificates;

class BrokerTestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        certs = test::Shared_Certificates(&error);
        ASSERT_TRUE(certs) << error.toStdString();
    }

    ParGen Params(int port, const QString& host = QStringLiteral("127.0.0.1")) const
    {
        ParGen m = ParGen_Defaults();
        m.Set_Text(ParKey::MQTT_Server_URL, host);
        m.Set_Text(ParKey::MQTT_Server_Port, QString::number(port));
        m.Set_Text(ParKey::MQTT_Client_ID, QStringLiteral("hdr2305"));
        return m;
    }
    void Tls(ParGen& m, bool client, const QString& ca = QStringLiteral("ca.crt")) const
    {
        m.Set_Flag(ParKey::TLS_Enable, true);
        m.Set_Flag(ParKey::TLS_En_Server_Auth, true);
        m.Set_Text(ParKey::TLS_Server_Auth_Certificate, certs->Text(ca));
        if (client) {
            m.Set_Flag(ParKey::TLS_En_Client_Auth, true);
            m.Set_Text(ParKey::TLS_Client_Auth_Certificate, certs->Text(QStringLiteral("client.crt")));
            m.Set_Text(ParKey::TLS_Client_Auth_Key, certs->Text(QStringLiteral("client.key")));
        }
    }
    BrokerTestResult Run(const ParGen& m, int timeout_ms = 5000)
    {
        // Nothing of the TLS material may land in a file: the test runs with a temporary
        // folder of its own, which must still be empty afterwards.
        QTemporaryDir tmp;
        const bool had = qEnvironmentVariableIsSet("TMPDIR");
        const QByteArray saved = qgetenv("TMPDIR");
        qputenv("TMPDIR", tmp.path().toLocal8Bit());
        BrokerTestOptions o;
        o.stage_timeout_ms = timeout_ms;
        BrokerTestResult r = Run_Broker_Test(m, resolver, o);
        EXPECT_EQ(QDir::tempPath(), tmp.path());
        EXPECT_TRUE(QDir(tmp.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        if (had)
            qputenv("TMPDIR", saved);
        else
            qunsetenv("TMPDIR");
        return r;
    }
    void Start(const BrokerConfig& c)
    {
        QString error;
        ASSERT_TRUE(broker.Start(c, &error)) << error.toStdString();
    }

    const TestCertificates* certs = nullptr;
    FakeResolver resolver;
    MosquittoBroker broker;
};

std::vector<BrokerStageId> Ids(const BrokerTestResult& r)
{
    std::vector<BrokerStageId> out;
    for (const BrokerStage& s : r.stages)
        out.push_back(s.id);
    return out;
}

TEST_F(BrokerTestTest, PlainBrokerAcceptsAndEachStageIsReportedAsItEnds)
{
    Start({});
    std::vector<BrokerStageId> heard;
    BrokerTestResult r = Run_Broker_Test(Params(broker.Port()), resolver, {}, nullptr,
                                         [&heard](const BrokerStage& s) { heard.push_back(s.id); });
    ASSERT_TRUE(r.Accepted());
    EXPECT_EQ(Ids(r), (std::vector{BrokerStageId::Name_Lookup, BrokerStageId::Tcp_Connect, BrokerStageId::Mqtt_Connect}));
    EXPECT_EQ(heard, Ids(r));
    EXPECT_EQ(r.stages[0].cause, StageCause::Literal);
    EXPECT_TRUE(resolver.asked.isEmpty()); // a literal address needs no lookup
    EXPECT_EQ(r.client_id, QStringLiteral("hdr2305-test"));

    QStringList lang;
    Load_Default_Strings(lang);
    const QStringList lines = Broker_Result_Lines(lang, r);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Name lookup: 127.0.0.1 is an address, no lookup needed ("))) << lines[0].toStdString();
    EXPECT_TRUE(lines[2].contains(QStringLiteral("hdr2305-test"))) << lines[2].toStdString();
    EXPECT_EQ(lines[3], QStringLiteral("The connection to the broker works"));
}

TEST_F(BrokerTestTest, NameGoesThroughTheResolverAndAnUnknownNameFailsTheLookup)
{
    Start({});
    resolver.names[QStringLiteral("broker.test")] = {QStringLiteral("127.0.0.1")};
    EXPECT_TRUE(Run(Params(broker.Port(), QStringLiteral("mqtt://broker.test/"))).Accepted());
    const BrokerTestResult r = Run(Params(broker.Port(), QStringLiteral("nowhere.test")));
    ASSERT_EQ(r.stages.size(), 1u);
    EXPECT_EQ(r.stages[0].cause, StageCause::Lookup_Failed);
    EXPECT_EQ(resolver.asked, (QStringList{"broker.test", "nowhere.test"}));
}

TEST_F(BrokerTestTest, ALookupThatTakesTooLongTimesOut)
{
    struct SlowResolver : IResolver {
        int timeout_ms = 0;
        ResolveResult Resolve(const QString&, int timeout, const std::atomic<bool>&) override
        {
            timeout_ms = timeout;
            ResolveResult r;
            r.timed_out = true;
            return r;
        }
    } slow;
    BrokerTestOptions o;
    o.stage_timeout_ms = 2500;
    const BrokerTestResult r = Run_Broker_Test(Params(1883, QStringLiteral("slow.test")), slow, o);
    EXPECT_EQ(slow.timeout_ms, 2500);
    ASSERT_EQ(r.stages.size(), 1u);
    EXPECT_EQ(r.stages[0].cause, StageCause::Timed_Out);
    QStringList lang;
    Load_Default_Strings(lang);
    EXPECT_TRUE(Broker_Stage_Line(lang, r.stages[0]).startsWith(QStringLiteral("Name lookup: no answer within 2.5 seconds")));
}

TEST_F(BrokerTestTest, UserAndPasswordRightAndWrong)
{
    BrokerConfig c;
    c.allow_anonymous = false;
    c.users = {{QStringLiteral("device"), QStringLiteral("pw1")}};
    Start(c);
    ParGen m = Params(broker.Port());
    m.Set_Text(ParKey::MQTT_Username, QStringLiteral("device"));
    m.Set_Text(ParKey::MQTT_Password, QStringLiteral("pw1"));
    EXPECT_TRUE(Run(m).Accepted());

    m.Set_Text(ParKey::MQTT_Password, QStringLiteral("wrong"));
    const BrokerTestResult r = Run(m);
    ASSERT_FALSE(r.Accepted());
    const BrokerStage& s = r.stages.back();
    EXPECT_EQ(s.id, BrokerStageId::Mqtt_Connect);
    EXPECT_EQ(s.cause, StageCause::Connack);
    // This broker answers a wrong password with return code 5 of MQTT 3.1.1.
    EXPECT_EQ(s.code, 5);
    QStringList lang;
    Load_Default_Strings(lang);
    EXPECT_TRUE(Broker_Stage_Line(lang, s).startsWith(QStringLiteral("MQTT connection: refused: not authorised (")));
}

TEST(BrokerStageLine, EveryConnackCodeInWords)
{
    QStringList lang;
    Load_Default_Strings(lang);
    const std::pair<int, const char*> codes[] = {
        {1, "refused: unacceptable protocol version"}, {2, "refused: identifier rejected"},
        {3, "refused: server unavailable"},            {4, "refused: bad user name or password"},
        {5, "refused: not authorised"},                {7, "refused with return code 7"},
    };
    for (const auto& [code, words] : codes) {
        const BrokerStage s{BrokerStageId::Mqtt_Connect, false, StageCause::Connack, code, {"x-test"}, 12};
        EXPECT_EQ(Broker_Stage_Line(lang, s), QStringLiteral("MQTT connection: %1 (12 ms)").arg(QLatin1String(words)));
    }
}

TEST_F(BrokerTestTest, TheWillIsSetAndAnEmptyWillTopicIsReported)
{
    Start({});
    ParGen m = Params(broker.Port());
    m.Set_Flag(ParKey::MQTT_WillFlag, true);
    m.Set_Text(ParKey::MQTT_Will_Topic_Name, QStringLiteral("hdr/offline"));
    m.Set_Text(ParKey::MQTT_Will_Message, QStringLiteral("gone"));
    // A listener on the will topic hears nothing: the test disconnects cleanly.
    mosquitto_lib_init();
    std::atomic<int> heard{0};
    mosquitto* sub = mosquitto_new("will-listener", true, &heard);
    mosquitto_message_callback_set(sub, [](mosquitto*, void* obj, const mosquitto_message*) { ++*static_cast<std::atomic<int>*>(obj); });
    ASSERT_EQ(mosquitto_connect(sub, "127.0.0.1", broker.Port(), 60), MOSQ_ERR_SUCCESS);
    ASSERT_EQ(mosquitto_subscribe(sub, nullptr, "hdr/offline", 1), MOSQ_ERR_SUCCESS);
    for (int i = 0; i < 10; ++i)
        mosquitto_loop(sub, 20, 1);
    EXPECT_TRUE(Run(m).Accepted());
    for (int i = 0; i < 15; ++i)
        mosquitto_loop(sub, 20, 1);
    EXPECT_EQ(heard.load(), 0);
    mosquitto_disconnect(sub);
    mosquitto_destroy(sub);

    m.Set_Text(ParKey::MQTT_Will_Topic_Name, QString());
    const BrokerTestResult r = Run(m);
    EXPECT_FALSE(r.Accepted());
    EXPECT_EQ(r.stages.back().cause, StageCause::Failed);
}

struct TlsCase {
    const char* name;
    QString server_cert;     // the broker's
    bool require_certificate;
    QString host;            // as typed, resolved to 127.0.0.1 by the fake
    QString ca;              // the Server Certificate field
    bool client;             // client certificate and key given
    std::function<void(ParGen&, const TestCertificates&)> edit;
    bool accepted;
    StageCause cause;        // of the TLS stage
};

TEST_F(BrokerTestTest, TlsCases)
{
    const QString ca = QStringLiteral("ca.crt"), server = QStringLiteral("server");
    const QString ip = QStringLiteral("127.0.0.1"), local = QStringLiteral("localhost");
    auto none = [](ParGen&, const TestCertificates&) {};
    const TlsCase cases[] = {
        {"right CA, by address", server, false, ip, ca, false, none, true, StageCause::Tls_Established},
        {"right CA, by name", server, false, local, ca, false, none, true, StageCause::Tls_Established},
        {"CA the broker does not chain to", server, false, ip, "other_ca.crt", false, none, false, StageCause::Unknown_CA},
        {"no server authentication: any certificate will do", server, false, ip, "other_ca.crt", false,
         [](ParGen& m, const TestCertificates&) { m.Set_Flag(ParKey::TLS_En_Server_Auth, false); }, true,
         StageCause::Tls_Established},
        {"host name mismatch", server, false, QStringLiteral("broker.test"), ca, false, none, false,
         StageCause::Host_Mismatch},
        {"expired server certificate", QStringLiteral("expired"), false, ip, ca, false, none, false,
         StageCause::Cert_Expired},
        {"client certificate required and given", server, true, ip, ca, true, none, true, StageCause::Tls_Established},
        {"client certificate required and missing", server, true, ip, ca, false, none, false,
         StageCause::Client_Cert_Missing},
        {"encrypted key, right password", server, true, ip, ca, true,
         [](ParGen& m, const TestCertificates& c) {
             m.Set_Text(ParKey::TLS_Client_Auth_Key, c.Text("client_enc.key"));
             m.Set_Text(ParKey::TLS_Client_Auth_Key_Password, TestCertificates::Key_Password);
         },
         true, StageCause::Tls_Established},
        {"encrypted key, wrong password", server, true, ip, ca, true,
         [](ParGen& m, const TestCertificates& c) {
             m.Set_Text(ParKey::TLS_Client_Auth_Key, c.Text("client_enc.key"));
             m.Set_Text(ParKey::TLS_Client_Auth_Key_Password, QStringLiteral("nope"));
         },
         false, StageCause::Key_Password_Wrong},
        {"key of another certificate", server, true, ip, ca, true,
         [](ParGen& m, const TestCertificates& c) { m.Set_Text(ParKey::TLS_Client_Auth_Key, c.Text("other_client.key")); },
         false, StageCause::Key_Mismatch},
    };
    resolver.names[local] = {ip};
    resolver.names[QStringLiteral("broker.test")] = {ip};
    for (const TlsCase& c : cases) {
        SCOPED_TRACE(c.name);
        BrokerConfig b;
        b.tls = certs;
        b.server_cert = c.server_cert;
        b.require_certificate = c.require_certificate;
        Start(b);
        ParGen m = Params(broker.Port(), c.host);
        Tls(m, c.client, c.ca);
        c.edit(m, *certs);
        const BrokerTestResult r = Run(m);
        EXPECT_EQ(r.Accepted(), c.accepted);
        ASSERT_GE(r.stages.size(), 3u);
        EXPECT_EQ(r.stages[2].id, BrokerStageId::Tls_Handshake);
        EXPECT_EQ(r.stages[2].cause, c.cause);
        broker.Stop();
    }
}

TEST_F(BrokerTestTest, RefusedPort)
{
    const int port = test::Free_Loopback_Port();
    const BrokerTestResult r = Run(Params(port));
    ASSERT_EQ(r.stages.size(), 2u);
    EXPECT_FALSE(r.stages[1].passed);
    EXPECT_EQ(r.stages[1].cause, StageCause::Refused);
    EXPECT_EQ(r.stages[1].args, (QStringList{"127.0.0.1", QString::number(port)}));
}

TEST_F(BrokerTestTest, ABrokerThatNeverAnswersTimesOutInItsStage)
{
    test::SilentListener silent;
    ParGen m = Params(silent.Port());
    BrokerTestResult r = Run(m, 300);
    ASSERT_EQ(r.stages.size(), 3u);
    EXPECT_TRUE(r.stages[1].passed);
    EXPECT_EQ(r.stages[2].id, BrokerStageId::Mqtt_Connect);
    EXPECT_EQ(r.stages[2].cause, StageCause::Timed_Out);

    Tls(m, false);
    r = Run(m, 300);
    ASSERT_EQ(r.stages.size(), 3u);
    EXPECT_EQ(r.stages[2].id, BrokerStageId::Tls_Handshake);
    EXPECT_EQ(r.stages[2].cause, StageCause::Timed_Out);
}

TEST_F(BrokerTestTest, CancelledFromAnotherThread)
{
    test::SilentListener silent;
    std::atomic<bool> cancel{false};
    std::thread canceller([&cancel] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        cancel = true;
    });
    QElapsedTimer t;
    t.start();
    BrokerTestOptions o; // the 10 s default: only the cancel ends the wait
    const BrokerTestResult r = Run_Broker_Test(Params(silent.Port()), resolver, o, &cancel);
    canceller.join();
    EXPECT_LT(t.elapsed(), 5000);
    ASSERT_FALSE(r.stages.empty());
    EXPECT_EQ(r.stages.back().cause, StageCause::Cancelled);
}

TEST_F(BrokerTestTest, EmptyServerAndBadPortStopAtTheFirstStage)
{
    ParGen m = Params(1883, QString());
    EXPECT_EQ(Run(m).stages.back().cause, StageCause::Url_Empty);
    m = Params(1883);
    m.Set_Text(ParKey::MQTT_Server_Port, QStringLiteral("88x3"));
    EXPECT_EQ(Run(m).stages.back().cause, StageCause::Port_Invalid);
}

} // namespace
} // namespace swr
