// The broker floor on a machine where one of its libraries cannot be used: each entry point
// says which and why, and nothing crashes. The libraries are opened once per process, so
// each case runs in a fresh copy of this test program with a soname that cannot serve.
#include "FakeResolver.h"

#include "broker/BrokerLibraries.h"
#include "broker/BrokerTest.h"
#include "broker/CertCheck.h"
#include "broker/Monitor.h"
#include "lang/LangTable.h"
#include "project/pargen/ParGen.h"

#include <gtest/gtest.h>

#include <gnu/lib-names.h>

#include <cstdlib>
#include <functional>
#include <iostream>

namespace swr {
namespace {

// Runs body in a fresh process, after which replaces its library by soname; body returns
// what it found wrong, and the child's exit status carries it back.
void With_Library(BrokerLibrary which, const char* soname,
                  const std::function<QStringList(const QStringList& lang)>& body)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Replace_Library_Soname(which, soname);
            QStringList lang;
            Load_Default_Strings(lang);
            const QStringList wrong = body(lang);
            for (const QString& w : wrong)
                std::cerr << w.toStdString() << '\n';
            std::exit(wrong.isEmpty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

void Expect(QStringList& wrong, bool ok, const QString& what)
{
    if (!ok)
        wrong << what;
}

ParGen Params(bool tls)
{
    ParGen m = ParGen_Defaults();
    m.Set_Text(ParKey::MQTT_Server_URL, QStringLiteral("127.0.0.1"));
    m.Set_Text(ParKey::MQTT_Server_Port, QStringLiteral("1"));
    m.Set_Flag(ParKey::TLS_Enable, tls);
    return m;
}

TEST(BrokerLibrariesDeathTest, AbsentLibcryptoLeavesTheTlsFieldsUncheckedAndFailsTheHandshake)
{
    With_Library(BrokerLibrary::Crypto, "libswr-absent.so.9", [](const QStringList& lang) {
        QStringList wrong;
        const QString head = QStringLiteral("the library libswr-absent.so.9 cannot be loaded: ");
        const CertCheck cert = Check_Certificate_Text(QStringLiteral("-----BEGIN CERTIFICATE-----"));
        const QString certLine = Cert_Summary(lang, cert);
        Expect(wrong, cert.format == CertFormat::Unchecked && cert.Problem(), "certificate: not unchecked");
        Expect(wrong, certLine.startsWith(QStringLiteral("Not checked: ") + head), "certificate: " + certLine);
        const KeyCheck key = Check_Key_Text(QStringLiteral("key"), {}, {});
        const QString keyLine = Key_Summary(lang, key);
        Expect(wrong, key.state == KeyState::Unchecked && key.Problem(), "key: not unchecked");
        Expect(wrong, keyLine == certLine, "key: " + keyLine);
        // Nothing typed needs no library.
        Expect(wrong, Check_Certificate_Text({}).format == CertFormat::Empty, "empty certificate: not empty");

        test::FakeResolver resolver;
        const BrokerTestResult r = Run_Broker_Test(Params(true), resolver);
        const QString line = r.stages.empty() ? QString() : Broker_Stage_Line(lang, r.stages.front());
        Expect(wrong, r.stages.size() == 1 && !r.Accepted(), "broker test: not one failed stage");
        Expect(wrong, line.startsWith(QStringLiteral("TLS handshake: ") + head), "broker test: " + line);
        Expect(wrong, resolver.asked.isEmpty(), "broker test: a name was looked up");
        return wrong;
    });
}

TEST(BrokerLibrariesDeathTest, LibraryWithoutTheFunctionsFailsTheMqttStageAndTheMonitor)
{
    // The C library opens but has none of libmosquitto's functions.
    With_Library(BrokerLibrary::Mosquitto, LIBC_SO, [](const QStringList& lang) {
        QStringList wrong;
        const QString head = QStringLiteral("the library %1 cannot be loaded: ").arg(QLatin1String(LIBC_SO));
        test::FakeResolver resolver;
        const BrokerTestResult r = Run_Broker_Test(Params(false), resolver);
        const QString line = r.stages.empty() ? QString() : Broker_Stage_Line(lang, r.stages.front());
        Expect(wrong, r.stages.size() == 1 && !r.Accepted(), "broker test: not one failed stage");
        Expect(wrong, line.startsWith(QStringLiteral("MQTT connection: ") + head), "broker test: " + line);
        Expect(wrong, line.contains("mosquitto_lib_init"), "broker test: no missing function named");

        Monitor monitor(Params(false), {});
        QString error;
        Expect(wrong, !monitor.Start(lang, &error) && !monitor.Running(), "monitor: started");
        Expect(wrong, error.startsWith(head) && error.contains("mosquitto_lib_init"), "monitor: " + error);
        // The certificate check needs libcrypto only.
        Expect(wrong, Check_Certificate_Text(QStringLiteral("no")).format == CertFormat::Not_Certificate,
               "certificate: not read");
        return wrong;
    });
}

} // namespace
} // namespace swr
