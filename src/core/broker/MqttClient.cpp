#include "broker/MqttClient.h"

#include "broker/BrokerTest.h"
#include "base/Numbers.h"
#include "broker/LibraryTables.h"
#include "project/pargen/ParGen.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <mutex>

namespace swr {

void Mqtt_Library_Init()
{
    static std::once_flag init;
    std::call_once(init, [] {
        if (Mosq().Loaded())
            Mosq().mosquitto_lib_init();
    });
}

bool Is_Literal_Address(const QString& host)
{
    const QByteArray h = host.toLatin1();
    in6_addr a6;
    in_addr a4;
    return inet_pton(AF_INET, h.constData(), &a4) == 1 || inet_pton(AF_INET6, h.constData(), &a6) == 1;
}

SSL_CTX_ptr Mqtt_Tls_Context(const ParGen& m, const QString& host, StageCause* failure)
{
    const SslTable& ssl = Ssl();
    const CryptoTable& crypto = Crypto();
    SSL_CTX_ptr ctx(ssl.SSL_CTX_new(ssl.TLS_client_method()));
    SSL_CTX* c = ctx.get();
    if (m.Flag(ParKey::TLS_En_Server_Auth)) {
        X509_STORE* store = ssl.SSL_CTX_get_cert_store(c);
        for (const X509_ptr& x : Read_Certificates(m.Text(ParKey::TLS_Server_Auth_Certificate), nullptr))
            crypto.X509_STORE_add_cert(store, x.get());
        ssl.SSL_CTX_set_verify(c, SSL_VERIFY_PEER, nullptr);
        X509_VERIFY_PARAM* param = ssl.SSL_CTX_get0_param(c);
        if (Is_Literal_Address(host))
            crypto.X509_VERIFY_PARAM_set1_ip_asc(param, host.toLatin1().constData());
        else
            crypto.X509_VERIFY_PARAM_set1_host(param, host.toUtf8().constData(), 0);
    } else {
        ssl.SSL_CTX_set_verify(c, SSL_VERIFY_NONE, nullptr);
    }
    if (m.Flag(ParKey::TLS_En_Client_Auth)) {
        std::vector<X509_ptr> certs = Read_Certificates(m.Text(ParKey::TLS_Client_Auth_Certificate), nullptr);
        const KeyRead key = Read_Private_Key(m.Text(ParKey::TLS_Client_Auth_Key),
                                             m.Text(ParKey::TLS_Client_Auth_Key_Password));
        if (!key.key || certs.empty()) {
            *failure = !key.key && key.encrypted ? StageCause::Key_Password_Wrong : StageCause::Client_Unreadable;
            return nullptr;
        }
        ssl.SSL_CTX_use_certificate(c, certs.front().get());
        for (size_t i = 1; i < certs.size(); ++i) // SSL_CTX_add1_chain_cert
            ssl.SSL_CTX_ctrl(c, SSL_CTRL_CHAIN_CERT, 1, reinterpret_cast<char*>(certs[i].get()));
        ssl.SSL_CTX_use_PrivateKey(c, key.key.get());
        if (ssl.SSL_CTX_check_private_key(c) != 1) {
            crypto.ERR_clear_error();
            *failure = StageCause::Key_Mismatch;
            return nullptr;
        }
    }
    return ctx;
}

int Mqtt_Keep_Alive(const ParGen& m)
{
    int keepAlive = Decimal_Trimmed_Or(m.Text(ParKey::MQTT_Keep_Alive), 60);
    if (keepAlive < 0 || keepAlive > 65535)
        keepAlive = 60;
    if (keepAlive > 0 && keepAlive < 5)
        keepAlive = 5; // the least the library takes
    return keepAlive;
}

void Mqtt_Login(mosquitto* q, const ParGen& m, SSL_CTX* ctx)
{
    const MosquittoTable& mosq = Mosq();
    mosq.mosquitto_int_option(q, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    const QByteArray user = m.Text(ParKey::MQTT_Username).toUtf8();
    const QByteArray password = m.Text(ParKey::MQTT_Password).toUtf8();
    if (!user.isEmpty())
        mosq.mosquitto_username_pw_set(q, user.constData(), password.isEmpty() ? nullptr : password.constData());
    if (ctx) {
        mosq.mosquitto_opts_set(q, MOSQ_OPT_SSL_CTX, ctx);
        mosq.mosquitto_int_option(q, MOSQ_OPT_SSL_CTX_WITH_DEFAULTS, 0);
    }
}

} // namespace swr
