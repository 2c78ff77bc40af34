#include "broker/BrokerTest.h"

#include "base/Numbers.h"
#include "broker/LibraryTables.h"
#include "broker/MqttClient.h"
#include "broker/TlsMaterial.h"
#include "lang/Texts.h"
#include "project/pargen/ParGen.h"

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

namespace swr {

namespace {

constexpr int Slice_Ms = 50; // how often a waiting stage looks at the cancel flag

bool Is_Cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(); }

bool Is_Literal(const QString& host) { return Is_Literal_Address(host); }

// getaddrinfo on a thread of its own, so that a slow lookup can time out or be cancelled;
// the thread finishes on its own and drops its result.
class SystemResolver : public IResolver {
public:
    ResolveResult Resolve(const QString& host, int timeout_ms, const std::atomic<bool>& cancel) override
    {
        struct Shared {
            std::mutex lock;
            bool done = false;
            ResolveResult result;
        };
        auto shared = std::make_shared<Shared>();
        const QByteArray name = host.toUtf8();
        std::thread([shared, name] {
            ResolveResult r;
            addrinfo hints{};
            hints.ai_socktype = SOCK_STREAM;
            addrinfo* list = nullptr;
            const int rc = getaddrinfo(name.constData(), nullptr, &hints, &list);
            if (rc != 0) {
                r.error = QString::fromLocal8Bit(gai_strerror(rc));
            } else {
                for (addrinfo* a = list; a; a = a->ai_next) {
                    char text[INET6_ADDRSTRLEN] = {};
                    const void* src = a->ai_family == AF_INET6
                        ? static_cast<const void*>(&reinterpret_cast<sockaddr_in6*>(a->ai_addr)->sin6_addr)
                        : static_cast<const void*>(&reinterpret_cast<sockaddr_in*>(a->ai_addr)->sin_addr);
                    if (inet_ntop(a->ai_family, src, text, sizeof text) && !r.addresses.contains(QLatin1String(text)))
                        r.addresses << QString::fromLatin1(text);
                }
                freeaddrinfo(list);
            }
            std::lock_guard<std::mutex> g(shared->lock);
            shared->result = r;
            shared->done = true;
        }).detach();
        QElapsedTimer t;
        t.start();
        for (;;) {
            {
                std::lock_guard<std::mutex> g(shared->lock);
                if (shared->done)
                    return shared->result;
            }
            ResolveResult r;
            if (cancel.load()) {
                r.cancelled = true;
                return r;
            }
            if (t.elapsed() >= timeout_ms) {
                r.timed_out = true;
                return r;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
};

// A socket closed when it leaves scope.
struct Socket {
    int fd = -1;
    ~Socket() { Close(); }
    void Close()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
};

// Waits for events on fd in slices; 1 ready, 0 time-out, -1 cancelled.
int Wait_For(int fd, short events, int timeout_ms, const QElapsedTimer& since, const std::atomic<bool>* cancel)
{
    for (;;) {
        if (Is_Cancelled(cancel))
            return -1;
        const qint64 left = timeout_ms - since.elapsed();
        if (left <= 0)
            return 0;
        pollfd p{fd, events, 0};
        const int rc = ::poll(&p, 1, int(std::min<qint64>(left, Slice_Ms)));
        if (rc > 0)
            return 1;
        if (rc < 0 && errno != EINTR)
            return 1; // the caller's next call reports the error
    }
}

// The running test: one stage after the other, each reported as it ends.
class Run {
public:
    Run(const ParGen& m, IResolver& resolver, const BrokerTestOptions& o, const std::atomic<bool>* cancel,
        const std::function<void(const BrokerStage&)>& on_stage)
        : m_(m), resolver_(resolver), o_(o), cancel_(cancel), on_stage_(on_stage)
    {
    }

    BrokerTestResult Go()
    {
        r_.client_id = m_.Text(ParKey::MQTT_Client_ID) + QStringLiteral("-test");
        host_ = Broker_Host(m_);
        port_ = Broker_Port(m_);
        if (Libraries() && Lookup() && Connect() && (!m_.Flag(ParKey::TLS_Enable) || Handshake()))
            Mqtt();
        return r_;
    }

private:
    void Start() { timer_.start(); }
    bool End(BrokerStageId id, bool passed, StageCause cause, QStringList args = {}, int code = 0)
    {
        BrokerStage s{id, passed, cause, code, args, timer_.elapsed()};
        r_.stages.push_back(s);
        if (on_stage_)
            on_stage_(s);
        return passed;
    }
    bool Fail(BrokerStageId id, StageCause cause, QStringList args = {}) { return End(id, false, cause, args); }
    bool Timed_Out(BrokerStageId id)
    {
        return Fail(id, StageCause::Timed_Out, {QString::number(o_.stage_timeout_ms / 1000.0)});
    }

    // Before the stages, so that the test does not wait for a lookup and a connection only
    // to find it cannot go on: a library that cannot be loaded fails the stage that needs it.
    bool Libraries()
    {
        const LibraryFault f = Broker_Library_Fault();
        if (!f)
            return true;
        Start();
        const bool tls = f.which != BrokerLibrary::Mosquitto && m_.Flag(ParKey::TLS_Enable);
        return Fail(tls ? BrokerStageId::Tls_Handshake : BrokerStageId::Mqtt_Connect, StageCause::Library_Missing,
                    {f.library, f.reason});
    }

    bool Lookup()
    {
        const BrokerStageId id = BrokerStageId::Name_Lookup;
        Start();
        if (host_.isEmpty())
            return Fail(id, StageCause::Url_Empty);
        if (port_ == 0)
            return Fail(id, StageCause::Port_Invalid);
        if (Is_Literal(host_)) {
            addresses_ = {host_};
            return End(id, true, StageCause::Literal, {host_});
        }
        static const std::atomic<bool> never{false};
        const ResolveResult r = resolver_.Resolve(host_, o_.stage_timeout_ms, cancel_ ? *cancel_ : never);
        if (r.cancelled || Is_Cancelled(cancel_))
            return Fail(id, StageCause::Cancelled);
        if (r.timed_out)
            return Timed_Out(id);
        if (r.addresses.isEmpty())
            return Fail(id, StageCause::Lookup_Failed, {host_, r.error});
        addresses_ = r.addresses;
        return End(id, true, StageCause::Resolved, {host_, r.addresses.join(QStringLiteral(", "))});
    }

    // Tries each address in turn; the first that accepts is kept for the later stages.
    bool Connect()
    {
        const BrokerStageId id = BrokerStageId::Tcp_Connect;
        Start();
        StageCause last = StageCause::Refused;
        QStringList lastArgs;
        for (const QString& a : addresses_) {
            sockaddr_storage addr{};
            socklen_t len = 0;
            const QByteArray text = a.toLatin1();
            auto* v4 = reinterpret_cast<sockaddr_in*>(&addr);
            auto* v6 = reinterpret_cast<sockaddr_in6*>(&addr);
            if (inet_pton(AF_INET, text.constData(), &v4->sin_addr) == 1) {
                v4->sin_family = AF_INET;
                v4->sin_port = htons(quint16(port_));
                len = sizeof *v4;
            } else if (inet_pton(AF_INET6, text.constData(), &v6->sin6_addr) == 1) {
                v6->sin6_family = AF_INET6;
                v6->sin6_port = htons(quint16(port_));
                len = sizeof *v6;
            } else {
                continue;
            }
            sock_.Close();
            sock_.fd = ::socket(addr.ss_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
            if (sock_.fd < 0)
                return Fail(id, StageCause::Failed, {QString::fromLocal8Bit(std::strerror(errno))});
            int err = 0;
            if (::connect(sock_.fd, reinterpret_cast<sockaddr*>(&addr), len) != 0) {
                err = errno;
                if (err == EINPROGRESS) {
                    const int w = Wait_For(sock_.fd, POLLOUT, o_.stage_timeout_ms, timer_, cancel_);
                    if (w < 0)
                        return Fail(id, StageCause::Cancelled);
                    if (w == 0)
                        return Timed_Out(id);
                    socklen_t n = sizeof err;
                    getsockopt(sock_.fd, SOL_SOCKET, SO_ERROR, &err, &n);
                }
            }
            const QStringList args = {a, QString::number(port_)};
            if (err == 0) {
                address_ = a;
                return End(id, true, StageCause::Connected, args);
            }
            last = err == ECONNREFUSED ? StageCause::Refused : StageCause::Failed;
            lastArgs = err == ECONNREFUSED ? args : QStringList{QString::fromLocal8Bit(std::strerror(err))};
        }
        return Fail(id, last, lastArgs);
    }

    // Builds the TLS context the device would use, and shakes hands on the TCP connection
    // of the previous stage. The same context then serves the MQTT connection.
    bool Handshake()
    {
        const BrokerStageId id = BrokerStageId::Tls_Handshake;
        Start();
        StageCause failure = StageCause::Tls_Failed;
        ctx_ = Mqtt_Tls_Context(m_, host_, &failure);
        if (!ctx_)
            return Fail(id, failure);
        SSL_CTX* ctx = ctx_.get();
        const SslTable& tls = Ssl();
        has_client_cert_ = m_.Flag(ParKey::TLS_En_Client_Auth);
        tls.SSL_CTX_set_ex_data(ctx, 0, &cert_requested_); // SSL_CTX_set_app_data
        tls.SSL_CTX_set_client_cert_cb(ctx, [](SSL* ssl, X509**, EVP_PKEY**) {
            // SSL_CTX_get_app_data
            *static_cast<bool*>(Ssl().SSL_CTX_get_ex_data(Ssl().SSL_get_SSL_CTX(ssl), 0)) = true;
            return 0;
        });
        std::unique_ptr<SSL, decltype(tls.SSL_free)> ssl(tls.SSL_new(ctx), tls.SSL_free);
        tls.SSL_set_fd(ssl.get(), sock_.fd);
        if (!Is_Literal(host_)) { // SSL_set_tlsext_host_name
            const QByteArray name = host_.toUtf8();
            tls.SSL_ctrl(ssl.get(), SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name,
                       const_cast<char*>(name.constData()));
        }
        for (;;) {
            Crypto().ERR_clear_error();
            const int rc = tls.SSL_connect(ssl.get());
            if (rc == 1)
                break;
            const int e = tls.SSL_get_error(ssl.get(), rc);
            if (e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE) {
                const int w = Wait_For(sock_.fd, e == SSL_ERROR_WANT_READ ? POLLIN : POLLOUT, o_.stage_timeout_ms,
                                       timer_, cancel_);
                if (w < 0)
                    return Fail(id, StageCause::Cancelled);
                if (w == 0)
                    return Timed_Out(id);
                continue;
            }
            return Handshake_Failed(ssl.get());
        }
        // With TLS 1.3 a broker that wants a client certificate says so only after the
        // handshake: wait a moment for its alert when it asked for one and got none.
        if (cert_requested_ && !has_client_cert_) {
            QElapsedTimer t;
            t.start();
            const int w = Wait_For(sock_.fd, POLLIN, std::min(2000, o_.stage_timeout_ms), t, cancel_);
            if (w < 0)
                return Fail(id, StageCause::Cancelled);
            char byte;
            if (w > 0 && tls.SSL_peek(ssl.get(), &byte, 1) <= 0) {
                Crypto().ERR_clear_error();
                return Fail(id, StageCause::Client_Cert_Missing);
            }
        }
        tls.SSL_shutdown(ssl.get());
        Crypto().ERR_clear_error();
        return End(id, true, StageCause::Tls_Established);
    }

    bool Handshake_Failed(SSL* ssl)
    {
        const BrokerStageId id = BrokerStageId::Tls_Handshake;
        switch (Ssl().SSL_get_verify_result(ssl)) {
        case X509_V_OK: break;
        case X509_V_ERR_HOSTNAME_MISMATCH:
        case X509_V_ERR_IP_ADDRESS_MISMATCH: return Fail(id, StageCause::Host_Mismatch, {host_});
        case X509_V_ERR_CERT_HAS_EXPIRED:
        case X509_V_ERR_CERT_NOT_YET_VALID: return Fail(id, StageCause::Cert_Expired);
        default: return Fail(id, StageCause::Unknown_CA);
        }
        if (cert_requested_ && !has_client_cert_)
            return Fail(id, StageCause::Client_Cert_Missing);
        const CryptoTable& crypto = Crypto();
        const unsigned long e = crypto.ERR_peek_last_error();
        char text[256] = {};
        crypto.ERR_error_string_n(e, text, sizeof text);
        crypto.ERR_clear_error();
        return Fail(id, StageCause::Tls_Failed, {e ? QString::fromLatin1(text) : QString::fromLocal8Bit(std::strerror(errno))});
    }

    struct MqttState {
        int connack = -1;
        bool disconnected = false;
    };

    bool Mqtt()
    {
        const BrokerStageId id = BrokerStageId::Mqtt_Connect;
        sock_.Close();
        Start();
        Mqtt_Library_Init();
        const MosquittoTable& mq = Mosq();
        MqttState state;
        const QByteArray clientId = r_.client_id.toUtf8();
        std::unique_ptr<mosquitto, decltype(mq.mosquitto_destroy)> mosq(
            mq.mosquitto_new(clientId.constData(), m_.Flag(ParKey::MQTT_Clean_Session), &state), mq.mosquitto_destroy);
        if (!mosq)
            return Fail(id, StageCause::Failed, {QString::fromLocal8Bit(std::strerror(errno))});
        mosquitto* q = mosq.get();
        mq.mosquitto_connect_callback_set(q, [](mosquitto*, void* obj, int rc) {
            static_cast<MqttState*>(obj)->connack = rc;
        });
        mq.mosquitto_disconnect_callback_set(q, [](mosquitto*, void* obj, int) {
            static_cast<MqttState*>(obj)->disconnected = true;
        });
        Mqtt_Login(q, m_, ctx_.get());
        if (m_.Flag(ParKey::MQTT_WillFlag)) {
            const QByteArray topic = m_.Text(ParKey::MQTT_Will_Topic_Name).toUtf8();
            const QByteArray message = m_.Text(ParKey::MQTT_Will_Message).toUtf8();
            const int rc = mq.mosquitto_will_set(q, topic.constData(), int(message.size()), message.constData(),
                                                 std::max(0, m_.Choice(ParKey::MQTT_Will_QoS)),
                                                 m_.Flag(ParKey::MQTT_Will_Retained));
            if (rc != MOSQ_ERR_SUCCESS)
                return Fail(id, StageCause::Failed, {QString::fromUtf8(mq.mosquitto_strerror(rc))});
        }
        const int keepAlive = Mqtt_Keep_Alive(m_);
        // The address found by the lookup, so that the name is not looked up again.
        int rc = mq.mosquitto_connect_async(q, address_.toLatin1().constData(), port_, keepAlive);
        while (rc == MOSQ_ERR_SUCCESS && state.connack < 0) {
            if (Is_Cancelled(cancel_))
                return Fail(id, StageCause::Cancelled);
            if (timer_.elapsed() >= o_.stage_timeout_ms)
                return Timed_Out(id);
            rc = mq.mosquitto_loop(q, Slice_Ms, 1);
        }
        if (state.connack < 0) {
            const QString reason = rc == MOSQ_ERR_ERRNO ? QString::fromLocal8Bit(std::strerror(errno))
                                                        : QString::fromUtf8(mq.mosquitto_strerror(rc));
            Crypto().ERR_clear_error();
            return Fail(id, StageCause::Failed, {reason});
        }
        const bool accepted = state.connack == 0;
        const qint64 ms = timer_.elapsed();
        if (accepted) {
            // A clean disconnect: the broker drops the will.
            mq.mosquitto_disconnect(q);
            QElapsedTimer t;
            t.start();
            while (!state.disconnected && t.elapsed() < 1000 && mq.mosquitto_loop(q, Slice_Ms, 1) == MOSQ_ERR_SUCCESS) {
            }
        }
        BrokerStage s{id, accepted, StageCause::Connack, state.connack, {r_.client_id}, ms};
        r_.stages.push_back(s);
        if (on_stage_)
            on_stage_(s);
        return accepted;
    }

    const ParGen& m_;
    IResolver& resolver_;
    const BrokerTestOptions& o_;
    const std::atomic<bool>* cancel_;
    const std::function<void(const BrokerStage&)>& on_stage_;
    BrokerTestResult r_;
    QElapsedTimer timer_;
    QString host_;
    int port_ = 0;
    QStringList addresses_;
    QString address_;
    Socket sock_;
    SSL_CTX_ptr ctx_;
    bool cert_requested_ = false;
    bool has_client_cert_ = false;
};

struct CauseText {
    StageCause cause;
    int text;
};
constexpr CauseText Cause_Texts[] = {
    {StageCause::Literal, Txt::Lookup_Literal},
    {StageCause::Resolved, Txt::Lookup_Resolved},
    {StageCause::Lookup_Failed, Txt::Lookup_Failed},
    {StageCause::Url_Empty, Txt::Server_Url_Empty},
    {StageCause::Port_Invalid, Txt::Server_Port_Invalid},
    {StageCause::Connected, Txt::Tcp_Connected},
    {StageCause::Refused, Txt::Tcp_Refused},
    {StageCause::Timed_Out, Txt::Stage_Timed_Out},
    {StageCause::Failed, Txt::Stage_Failed},
    {StageCause::Cancelled, Txt::Stage_Cancelled},
    {StageCause::Tls_Established, Txt::Tls_Established},
    {StageCause::Unknown_CA, Txt::Tls_Unknown_CA},
    {StageCause::Host_Mismatch, Txt::Tls_Host_Mismatch},
    {StageCause::Cert_Expired, Txt::Tls_Expired},
    {StageCause::Client_Cert_Missing, Txt::Tls_Client_Cert_Missing},
    {StageCause::Key_Password_Wrong, Txt::Tls_Key_Password_Wrong},
    {StageCause::Key_Mismatch, Txt::Tls_Key_Mismatch},
    {StageCause::Client_Unreadable, Txt::Tls_Client_Unreadable},
    {StageCause::Tls_Failed, Txt::Tls_Failed},
    {StageCause::Library_Missing, Txt::Library_Not_Loaded},
};

} // namespace

IResolver& System_Resolver()
{
    static SystemResolver r;
    return r;
}

bool BrokerTestResult::Accepted() const
{
    return !stages.empty() && stages.back().id == BrokerStageId::Mqtt_Connect && stages.back().passed;
}

QString Broker_Host(const ParGen& m)
{
    QString h = m.Text(ParKey::MQTT_Server_URL).trimmed();
    const qsizetype scheme = h.indexOf(QLatin1String("://"));
    if (scheme >= 0)
        h = h.mid(scheme + 3);
    const qsizetype slash = h.indexOf(QLatin1Char('/'));
    if (slash >= 0)
        h.truncate(slash);
    if (h.startsWith(QLatin1Char('[')) && h.endsWith(QLatin1Char(']')))
        h = h.mid(1, h.size() - 2);
    return h;
}

int Broker_Port(const ParGen& m)
{
    const int p = Decimal_Trimmed_Or(m.Text(ParKey::MQTT_Server_Port), 0);
    return p >= 1 && p <= 65535 ? p : 0;
}

BrokerTestResult Run_Broker_Test(const ParGen& m, IResolver& resolver, const BrokerTestOptions& options,
                                 const std::atomic<bool>* cancel,
                                 const std::function<void(const BrokerStage&)>& on_stage)
{
    return Run(m, resolver, options, cancel, on_stage).Go();
}

QString Broker_Outcome(const QStringList& lang, const BrokerStage& s)
{
    QString outcome;
    if (s.cause == StageCause::Connack) {
        outcome = s.code == 0 ? lang.value(Txt::Connack_Accepted).arg(s.args.value(0))
            : s.code >= 1 && s.code <= 5 ? lang.value(Txt::Connack_Code_1 + s.code - 1)
                                         : lang.value(Txt::Connack_Other).arg(s.code);
    } else {
        for (const CauseText& c : Cause_Texts)
            if (c.cause == s.cause)
                outcome = lang.value(c.text);
        for (const QString& a : s.args)
            outcome = outcome.arg(a);
    }
    return outcome;
}

QString Broker_Stage_Line(const QStringList& lang, const BrokerStage& s)
{
    return lang.value(Txt::Stage_Line)
        .arg(lang.value(Txt::Stage_Name_Lookup + int(s.id)), Broker_Outcome(lang, s), QString::number(s.ms));
}

QStringList Broker_Result_Lines(const QStringList& lang, const BrokerTestResult& r)
{
    QStringList out;
    for (const BrokerStage& s : r.stages)
        out << Broker_Stage_Line(lang, s);
    out << lang.value(r.Accepted() ? Txt::Test_Passed : Txt::Test_Failed);
    return out;
}

} // namespace swr
