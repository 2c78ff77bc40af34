#pragma once

// The broker test: connects to the MQTT broker with the values of a parameter set (as on
// screen, unsaved edits included) and reports each stage with the time it took: the name
// lookup, the TCP connection, the TLS handshake when TLS is on, and the broker's CONNACK;
// then it disconnects cleanly. It blocks its caller, so screens run it on a worker thread;
// it touches no global state of the program and may be cancelled from any thread.

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <vector>

namespace swr {

struct ParGen;

enum class BrokerStageId : unsigned char { Name_Lookup, Tcp_Connect, Tls_Handshake, Mqtt_Connect };

// What a stage found; each has its text in the string table (Broker_Stage_Line).
enum class StageCause : unsigned char {
    Literal,        // args: address
    Resolved,       // args: name, addresses
    Lookup_Failed,  // args: name, reason
    Url_Empty,
    Port_Invalid,
    Connected,      // args: address, port
    Refused,        // args: address, port
    Timed_Out,      // args: seconds
    Failed,         // args: reason (another error, in the system's words)
    Cancelled,
    Tls_Established,
    Unknown_CA,
    Host_Mismatch,  // args: host
    Cert_Expired,
    Client_Cert_Missing,
    Key_Password_Wrong,
    Key_Mismatch,
    Client_Unreadable,
    Tls_Failed,     // args: reason
    Connack,        // code: the CONNACK return code; args: the test's client ID
    Library_Missing, // args: library, the loader's reason
};

struct BrokerStage {
    BrokerStageId id;
    bool passed = false;
    StageCause cause;
    int code = 0;
    QStringList args;
    qint64 ms = 0;
};

struct BrokerTestResult {
    std::vector<BrokerStage> stages; // the stages run, the last one failed unless all passed
    QString client_id;               // the configured client ID with "-test"
    bool Accepted() const;           // every stage passed, CONNACK accepted
};

// Name lookup, behind an interface so that tests never use the system's resolver.
struct ResolveResult {
    QStringList addresses; // numeric, IPv4 or IPv6; empty when the lookup failed
    bool timed_out = false;
    bool cancelled = false;
    QString error;
};
class IResolver {
public:
    virtual ~IResolver() = default;
    virtual ResolveResult Resolve(const QString& host, int timeout_ms, const std::atomic<bool>& cancel) = 0;
};
// The operating system's resolver.
IResolver& System_Resolver();

struct BrokerTestOptions {
    int stage_timeout_ms = 10000; // each stage on its own
};

// Runs the test; on_stage (when given) hears each stage as it ends, on the calling thread.
BrokerTestResult Run_Broker_Test(const ParGen& m, IResolver& resolver, const BrokerTestOptions& options = {},
                                 const std::atomic<bool>* cancel = nullptr,
                                 const std::function<void(const BrokerStage&)>& on_stage = {});

// The host and port the test connects to: the server field without a leading "scheme://",
// a trailing path or brackets around an IPv6 address; port 0 when it is not 1..65535.
QString Broker_Host(const ParGen& m);
int Broker_Port(const ParGen& m);

// What a stage found, in the words of the string table lang: "refused by 127.0.0.1 port 1 ...".
QString Broker_Outcome(const QStringList& lang, const BrokerStage& s);
// "TCP connection: refused by 127.0.0.1 port 1 ... (3 ms)", from the string table lang.
QString Broker_Stage_Line(const QStringList& lang, const BrokerStage& s);
// Every stage's line, then whether the connection works.
QStringList Broker_Result_Lines(const QStringList& lang, const BrokerTestResult& r);

} // namespace swr
