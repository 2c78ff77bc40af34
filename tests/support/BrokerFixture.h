#pragma once

// A real MQTT broker for tests: the mosquitto program started on 127.0.0.1 on a free port
// with a generated configuration, and stopped when the fixture goes. Certificates and keys
// are made at test time with the openssl command. Nothing here listens beyond loopback.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <utility>
#include <vector>

struct mosquitto;

namespace swr::test {

// Made in a temporary folder, each as NAME.crt / NAME.key: "ca" and "other_ca" (two CAs),
// "server" (signed by ca, for 127.0.0.1 and localhost), "expired" (the server's key, valid
// only in January 2020), "client" and "other_client" (signed by ca; "client_enc.key" is the
// client key encrypted with the password Key_Password).
class TestCertificates {
public:
    static constexpr const char* Key_Password = "secret";
    bool Make(QString* error);
    QString Path(const QString& file) const { return dir_.filePath(file); }
    QString Text(const QString& file) const;

private:
    bool Openssl(const QStringList& args, QString* error) const;
    QTemporaryDir dir_;
};

// One set made on first use and kept for the rest of the test program; nullptr (with the
// reason) when openssl failed.
const TestCertificates* Shared_Certificates(QString* error);

struct BrokerConfig {
    bool allow_anonymous = true;
    std::vector<std::pair<QString, QString>> users; // written with mosquitto_passwd
    const TestCertificates* tls = nullptr;          // TLS on with these when given
    QString server_cert = QStringLiteral("server"); // the certificate the broker shows
    bool require_certificate = false;
    QByteArray extra;                               // further lines of the configuration
};

class MosquittoBroker {
public:
    ~MosquittoBroker() { Stop(); }
    // Starts the broker and waits until it listens; false with a reason otherwise. A port
    // given (a restart) is used again, else a free one is taken.
    bool Start(const BrokerConfig& config, QString* error, int port = 0);
    void Stop();
    int Port() const { return port_; }

private:
    QTemporaryDir dir_;
    std::unique_ptr<QProcess> process_;
    int port_ = 0;
};

// A libmosquitto client on 127.0.0.1 that stands in for the device: it publishes what a
// test tells it. With tls it shows the certificate "client".
class TestPublisher {
public:
    TestPublisher();
    ~TestPublisher();
    TestPublisher(const TestPublisher&) = delete;
    TestPublisher& operator=(const TestPublisher&) = delete;
    // Connects and waits for the broker's CONNACK.
    bool Connect(int port, const QString& client_id, QString* error, const TestCertificates* tls = nullptr);
    // Publishes; with QoS 1 or 2 waits until the broker has it.
    bool Publish(const QString& topic, const QByteArray& payload, int qos = 0, bool retain = false);
    bool Connected() const;

private:
    ::mosquitto* q_ = nullptr;
    struct State;
    std::unique_ptr<State> state_;
};

// A port on 127.0.0.1 that nothing listens on just now.
int Free_Loopback_Port();

// A socket on 127.0.0.1 that completes TCP connections and then never says a word.
class SilentListener {
public:
    SilentListener();
    ~SilentListener();
    int Port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};

} // namespace swr::test
