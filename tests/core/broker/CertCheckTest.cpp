// The offline check of the TLS fields, over certificates made at test time.
#include "BrokerFixture.h"
#include "TestSupport.h"

#include "broker/CertCheck.h"
#include "lang/LangTable.h"
#include "project/pargen/ParGen.h"

#include <gtest/gtest.h>

namespace swr {
namespace {

using test::TestCertificates;

class CertCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        certs = test::Shared_Certificates(&error);
        ASSERT_TRUE(certs) << error.toStdString();
        Load_Default_Strings(lang);
    }
    QString Pem(const char* name) const { return certs->Text(QString::fromLatin1(name)); }
    // The base64 between the PEM lines.
    QString Headerless(const char* name) const
    {
        QStringList lines = Pem(name).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        lines.removeIf([](const QString& l) { return l.startsWith(QLatin1String("-----")); });
        return lines.join(QLatin1Char('\n'));
    }
    const TestCertificates* certs = nullptr;
    QStringList lang;
};

TEST_F(CertCheckTest, FormatsOfTheCertificateField)
{
    const QByteArray der = QByteArray::fromBase64(Headerless("server.crt").toLatin1());
    struct Case {
        const char* name;
        QString text;
        CertFormat format;
        size_t count;
        bool problem;
    };
    const Case cases[] = {
        {"PEM", Pem("server.crt"), CertFormat::Pem, 1, false},
        {"without header lines", Headerless("server.crt"), CertFormat::Der, 1, false},
        {"raw DER", QString::fromLatin1(der), CertFormat::Der, 1, false},
        {"chain of two", Pem("server.crt") + Pem("ca.crt"), CertFormat::Pem_Chain, 2, false},
        {"garbage", QStringLiteral("hello, this is not a certificate"), CertFormat::Not_Certificate, 0, true},
        {"PEM lines around garbage", QStringLiteral("-----BEGIN CERTIFICATE-----\nAAAA\n-----END CERTIFICATE-----\n"),
         CertFormat::Not_Certificate, 0, true},
        {"a key in the certificate field", Pem("client.key"), CertFormat::Not_Certificate, 0, true},
        {"expired", Pem("expired.crt"), CertFormat::Pem, 1, true},
        {"empty", QStringLiteral("  \n"), CertFormat::Empty, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CertCheck r = Check_Certificate_Text(c.text);
        EXPECT_EQ(r.format, c.format);
        EXPECT_EQ(r.certs.size(), c.count);
        EXPECT_EQ(r.Problem(), c.problem);
    }
}

TEST_F(CertCheckTest, SubjectIssuerValidityAndTheirSummary)
{
    const CertCheck r = Check_Certificate_Text(Pem("server.crt"));
    ASSERT_EQ(r.certs.size(), 1u);
    EXPECT_EQ(r.certs[0].subject, QStringLiteral("CN=localhost"));
    EXPECT_EQ(r.certs[0].issuer, QStringLiteral("CN=Test CA"));
    EXPECT_FALSE(r.certs[0].expired);
    const QString until = r.certs[0].not_after.toString(QStringLiteral("yyyy-MM-dd"));
    EXPECT_EQ(Cert_Summary(lang, r), QStringLiteral("Certificate: CN=localhost, issued by CN=Test CA, valid from %1 until %2")
                                         .arg(r.certs[0].not_before.toString(QStringLiteral("yyyy-MM-dd")), until));

    const CertCheck expired = Check_Certificate_Text(Pem("expired.crt"));
    ASSERT_EQ(expired.certs.size(), 1u);
    EXPECT_TRUE(expired.certs[0].expired);
    EXPECT_EQ(Cert_Summary(lang, expired), QStringLiteral("Certificate expired on 2020-01-02: CN=localhost"));

    // Seen from 2019, the same certificate is not valid yet.
    const CertCheck early = Check_Certificate_Text(Pem("expired.crt"), QDateTime(QDate(2019, 6, 1), QTime(0, 0), Qt::UTC));
    EXPECT_TRUE(early.certs[0].not_yet_valid);
    EXPECT_TRUE(early.Problem());
    EXPECT_TRUE(Cert_Summary(lang, early).startsWith(QStringLiteral("Certificate not valid before 2020-01-01")));

    EXPECT_TRUE(Cert_Summary(lang, Check_Certificate_Text(Pem("server.crt") + Pem("ca.crt")))
                    .startsWith(QStringLiteral("2 certificates; first: CN=localhost")));
}

TEST_F(CertCheckTest, KeyEncryptionPasswordAndMatch)
{
    const QString cert = Pem("client.crt");
    struct Case {
        const char* name;
        QString key, password;
        KeyState state;
        bool matches;
        bool problem;
    };
    const Case cases[] = {
        {"plain, matching", Pem("client.key"), {}, KeyState::Plain, true, false},
        {"without header lines", Headerless("client.key"), {}, KeyState::Plain, true, false},
        {"encrypted, right password", Pem("client_enc.key"), TestCertificates::Key_Password, KeyState::Opened, true, false},
        {"encrypted, wrong password", Pem("client_enc.key"), QStringLiteral("nope"), KeyState::Wrong_Password, false, true},
        {"encrypted, no header lines", Headerless("client_enc.key"), TestCertificates::Key_Password, KeyState::Opened, true,
         false},
        {"key of another certificate", Pem("other_client.key"), {}, KeyState::Plain, false, true},
        {"garbage", QStringLiteral("not a key"), {}, KeyState::Not_Key, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const KeyCheck k = Check_Key_Text(c.key, c.password, cert);
        EXPECT_EQ(k.state, c.state);
        EXPECT_EQ(k.matches, c.matches);
        EXPECT_EQ(k.Problem(), c.problem);
    }
    EXPECT_EQ(Key_Summary(lang, Check_Key_Text(Pem("other_client.key"), {}, cert)),
              QStringLiteral("Key: not encrypted, does NOT match the Client Certificate"));
    // Without a client certificate the match is not known and not claimed.
    const KeyCheck alone = Check_Key_Text(Pem("client.key"), {}, {});
    EXPECT_FALSE(alone.match_known);
    EXPECT_EQ(Key_Summary(lang, alone), QStringLiteral("Key: not encrypted"));
}

TEST_F(CertCheckTest, TheThreeFieldsOfAParameterSet)
{
    ParGen m = ParGen_Defaults();
    EXPECT_TRUE(Check_Tls_Fields(m).Lines(lang).isEmpty());
    m.Set_Text(ParKey::TLS_Server_Auth_Certificate, Pem("ca.crt"));
    m.Set_Text(ParKey::TLS_Client_Auth_Certificate, Pem("client.crt"));
    m.Set_Text(ParKey::TLS_Client_Auth_Key, Pem("client_enc.key"));
    m.Set_Text(ParKey::TLS_Client_Auth_Key_Password, QStringLiteral("nope"));
    const TlsFieldsCheck c = Check_Tls_Fields(m);
    EXPECT_TRUE(c.Problem());
    const QStringList lines = c.Lines(lang);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Server Certificate: Certificate: CN=Test CA"))) << lines[0].toStdString();
    EXPECT_EQ(lines[2], QStringLiteral("Client Key: Key: encrypted, the password does not open it"));
}

} // namespace
} // namespace swr
