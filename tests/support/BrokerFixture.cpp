#include "BrokerFixture.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <mosquitto.h>

#include <atomic>
#include <mutex>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace swr::test {

namespace {

bool Write(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

sockaddr_in Loopback(int port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(quint16(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

bool Accepts(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in a = Loopback(port);
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

bool Run(const QString& program, const QStringList& args, const QString& dir, QString* error)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) + QStringLiteral(": ")
            + QString::fromLocal8Bit(p.readAll()) + p.errorString();
        return false;
    }
    return true;
}

const char* const Ca_Config =
    "[ca]\ndefault_ca = test_ca\n[test_ca]\ndir = .\ndatabase = index.txt\nnew_certs_dir = .\n"
    "serial = serial\ndefault_md = sha256\npolicy = any\ncopy_extensions = copy\nunique_subject = no\n"
    "[any]\ncommonName = supplied\n";

} // namespace

QString TestCertificates::Text(const QString& file) const
{
    QFile f(Path(file));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool TestCertificates::Openssl(const QStringList& args, QString* error) const
{
    return Run(QStringLiteral("openssl"), args, dir_.path(), error);
}

bool TestCertificates::Make(QString* error)
{
    const QStringList ec = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
    auto self_signed = [&](const QString& name, const QString& cn) {
        return Openssl(QStringList{"req", "-x509"} + ec
                           + QStringList{"-keyout", name + ".key", "-out", name + ".crt", "-days", "3650", "-subj",
                                         "/CN=" + cn},
                       error);
    };
    auto request = [&](const QString& name, const QString& cn) {
        return Openssl(QStringList{"req"} + ec
                           + QStringList{"-keyout", name + ".key", "-out", name + ".csr", "-subj", "/CN=" + cn},
                       error);
    };
    auto sign = [&](const QString& name, const QString& ext) {
        QStringList a = {"x509", "-req", "-in", name + ".csr", "-CA", "ca.crt", "-CAkey", "ca.key",
                         "-CAcreateserial", "-out", name + ".crt", "-days", "365"};
        if (!ext.isEmpty())
            a << "-extfile" << ext;
        return Openssl(a, error);
    };
    if (!Write(Path("san.cnf"), "subjectAltName=IP:127.0.0.1,DNS:localhost\n") || !Write(Path("ca.cnf"), Ca_Config)
        || !Write(Path("index.txt"), "") || !Write(Path("serial"), "1000\n")) {
        *error = QStringLiteral("cannot write into ") + dir_.path();
        return false;
    }
    return self_signed("ca", "Test CA") && self_signed("other_ca", "Other CA") && request("server", "localhost")
        && sign("server", "san.cnf") && request("client", "device") && sign("client", {})
        && request("other_client", "other device") && sign("other_client", {})
        && Openssl({"pkey", "-in", "client.key", "-aes256", "-passout", QStringLiteral("pass:") + Key_Password, "-out",
                    "client_enc.key"},
                   error)
        // A past validity needs the ca command; x509 -req only counts days from now.
        && Openssl({"ca", "-config", "ca.cnf", "-batch", "-notext", "-cert", "ca.crt", "-keyfile", "ca.key", "-in",
                    "server.csr", "-out", "expired.crt", "-startdate", "20200101000000Z", "-enddate",
                    "20200102000000Z", "-extfile", "san.cnf"},
                   error)
        && QFile::copy(Path("server.key"), Path("expired.key"));
}

const TestCertificates* Shared_Certificates(QString* error)
{
    static QString reason;
    static const std::unique_ptr<TestCertificates> certs = [] {
        auto c = std::make_unique<TestCertificates>();
        if (!c->Make(&reason))
            c.reset();
        return c;
    }();
    if (!certs)
        *error = reason;
    return certs.get();
}

bool MosquittoBroker::Start(const BrokerConfig& c, QString* error, int port)
{
    port_ = port > 0 ? port : Free_Loopback_Port();
    QByteArray conf = "per_listener_settings false\npersistence false\nlog_dest stderr\n";
    // Started as root the broker would turn into the user mosquitto, who cannot read
    // the fixture's private files.
    if (::geteuid() == 0)
        conf += "user root\n";
    conf += "listener " + QByteArray::number(port_) + " 127.0.0.1\n";
    conf += c.allow_anonymous ? "allow_anonymous true\n" : "allow_anonymous false\n";
    if (!c.users.empty()) {
        const QString file = dir_.filePath("passwords");
        Write(file, "");
        for (const auto& [user, password] : c.users)
            if (!Run(QStringLiteral("mosquitto_passwd"), {"-b", file, user, password}, dir_.path(), error))
                return false;
        conf += "password_file " + file.toUtf8() + "\n";
    }
    if (c.tls) {
        conf += "cafile " + c.tls->Path("ca.crt").toUtf8() + "\n";
        conf += "certfile " + c.tls->Path(c.server_cert + ".crt").toUtf8() + "\n";
        conf += "keyfile " + c.tls->Path(c.server_cert + ".key").toUtf8() + "\n";
        conf += c.require_certificate ? "require_certificate true\n" : "require_certificate false\n";
    }
    conf += c.extra;
    const QString confFile = dir_.filePath("mosquitto.conf");
    Write(confFile, conf);
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::MergedChannels);
    process_->start(QStringLiteral("mosquitto"), {"-c", confFile});
    if (!process_->waitForStarted(5000)) {
        *error = QStringLiteral("mosquitto: ") + process_->errorString();
        return false;
    }
    const QDeadlineTimer deadline(10000);
    while (!Accepts(port_)) {
        if (process_->state() != QProcess::Running || deadline.hasExpired()) {
            process_->waitForFinished(100);
            *error = QStringLiteral("mosquitto did not listen: ") + QString::fromLocal8Bit(process_->readAll());
            Stop();
            return false;
        }
        QThread::msleep(20);
    }
    return true;
}

void MosquittoBroker::Stop()
{
    if (!process_)
        return;
    if (process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(3000)) {
            process_->kill();
            process_->waitForFinished(3000);
        }
    }
    process_.reset();
}

struct TestPublisher::State {
    std::atomic<int> connack{-1};
    std::atomic<bool> connected{false};
    std::mutex lock;
    std::vector<int> acked;
};

TestPublisher::TestPublisher() = default;

TestPublisher::~TestPublisher()
{
    if (!q_)
        return;
    mosquitto_disconnect(q_);
    mosquitto_loop_stop(q_, false);
    mosquitto_destroy(q_);
}

bool TestPublisher::Connect(int port, const QString& client_id, QString* error, const TestCertificates* tls)
{
    static std::once_flag init;
    std::call_once(init, [] { mosquitto_lib_init(); });
    state_ = std::make_unique<State>();
    q_ = mosquitto_new(client_id.toUtf8().constData(), true, state_.get());
    mosquitto_int_option(q_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_connect_callback_set(q_, [](mosquitto*, void* s, int rc) {
        static_cast<State*>(s)->connack = rc;
        static_cast<State*>(s)->connected = rc == 0;
    });
    mosquitto_disconnect_callback_set(q_, [](mosquitto*, void* s, int) { static_cast<State*>(s)->connected = false; });
    mosquitto_publish_callback_set(q_, [](mosquitto*, void* s, int mid) {
        auto* st = static_cast<State*>(s);
        std::lock_guard<std::mutex> g(st->lock);
        st->acked.push_back(mid);
    });
    if (tls) {
        const QByteArray ca = tls->Path("ca.crt").toUtf8(), crt = tls->Path("client.crt").toUtf8(),
                         key = tls->Path("client.key").toUtf8();
        mosquitto_tls_set(q_, ca.constData(), nullptr, crt.constData(), key.constData(), nullptr);
    }
    int rc = mosquitto_connect(q_, "127.0.0.1", port, 30);
    if (rc == MOSQ_ERR_SUCCESS)
        rc = mosquitto_loop_start(q_);
    if (rc != MOSQ_ERR_SUCCESS) {
        *error = QStringLiteral("publisher: ") + QString::fromUtf8(mosquitto_strerror(rc));
        return false;
    }
    const QDeadlineTimer deadline(20000);
    while (state_->connack < 0 && !deadline.hasExpired())
        QThread::msleep(5);
    if (state_->connack != 0) {
        *error = QStringLiteral("publisher: CONNACK ") + QString::number(state_->connack);
        return false;
    }
    return true;
}

bool TestPublisher::Publish(const QString& topic, const QByteArray& payload, int qos, bool retain)
{
    int mid = 0;
    const int rc = mosquitto_publish(q_, &mid, topic.toUtf8().constData(), int(payload.size()), payload.constData(),
                                     qos, retain);
    if (rc != MOSQ_ERR_SUCCESS)
        return false;
    if (qos == 0)
        return true;
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        {
            std::lock_guard<std::mutex> g(state_->lock);
            if (std::find(state_->acked.begin(), state_->acked.end(), mid) != state_->acked.end())
                return true;
        }
        QThread::msleep(2);
    }
    return false;
}

bool TestPublisher::Connected() const { return state_ && state_->connected; }

int Free_Loopback_Port()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = Loopback(0);
    socklen_t n = sizeof a;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
    ::close(fd);
    return ntohs(a.sin_port);
}

SilentListener::SilentListener()
{
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = Loopback(0);
    socklen_t n = sizeof a;
    ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(fd_, 16); // the kernel completes connections; nobody ever accepts or answers
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &n);
    port_ = ntohs(a.sin_port);
}

SilentListener::~SilentListener() { ::close(fd_); }

} // namespace swr::test
