#pragma once

// The live monitor: a client of its own on the configuration's broker that subscribes to
// every publish rule's topic and keeps, per rule, what last arrived and when, so that the
// engineer sees after an update whether the device publishes what was configured.
//
// Messages arrive on the client library's own thread. They only replace the rule's last
// message under a lock, so memory stays the same however many arrive; whoever shows them
// takes a copy (Take) when told that something changed.

#include "project/pargen/ParGen.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

struct mosquitto;

namespace swr {

struct MQTT_Topic_Table;

// Milliseconds on a steady clock; tests give a clock they move by hand.
class IClock {
public:
    virtual ~IClock() = default;
    virtual qint64 Now_Ms() const = 0;
};
const IClock& Steady_Clock();

// A publish rule as the monitor watches it.
struct MonitorRule {
    int row = 0;          // row of the topic table, from 1
    QString topic;        // as the device publishes on it: without line breaks
    int qos = 0;
    bool wildcard = false; // holds "+" or "#": subscribed as written, though a device publishes literal topics
    bool on_change = false;
    bool on_timer = false;
    qint64 time_ms = 0;   // the configured Time when on_timer
};

// The publish rules of the table as the device gets them once the table is saved and
// compiled: every row with a Topic, its flags, QoS and Time read as the compiler reads
// them (an OnTimer of " Y" is not on timer). A QoS the compiler refuses subscribes at 0.
std::vector<MonitorRule> Monitor_Rules(const MQTT_Topic_Table& t);

// What has arrived for one rule.
struct RuleSeen {
    QByteArray payload;     // the last message
    qint64 arrived_ms = -1; // its arrival on the monitor's clock
    quint64 count = 0;
    bool retained = false;  // the last message was retained
    qint64 interval_ms = -1; // between the last two messages
    quint64 since_connect = 0; // messages since the last connect
    bool fresh = false;     // one of them was not retained
};

enum class RuleState : unsigned char { Waiting, Live, Overdue, Stale_Retained };

// waiting: nothing yet; stale retained: only retained messages since connecting (none at
// all since a reconnect leaves the earlier messages to judge); overdue:
// OnTimer and more than 2 x Time since the last message; live otherwise.
RuleState Rule_State(const MonitorRule& r, const RuleSeen& s, qint64 now_ms);

enum class LinkState : unsigned char { Disconnected, Connecting, Connected, Lost };

struct MonitorLink {
    LinkState state = LinkState::Disconnected;
    QString reason;     // why the connection was lost or refused
    int connects = 0;   // accepted connections so far, the first one included
};

class IResolver;

struct MonitorOptions {
    int reconnect_min_s = 1; // doubled after each failed attempt, up to the max
    int reconnect_max_s = 8;
    int lookup_timeout_ms = 10000;
    IResolver* resolver = nullptr; // looks the server's name up before each attempt; null: the system's
};

struct MonitorSnapshot {
    std::vector<RuleSeen> seen; // one per rule, rule order
    MonitorLink link;
    quint64 messages = 0;       // messages taken in, all rules
    qint64 now_ms = 0;          // the clock when taken
};

class Monitor {
public:
    Monitor(const ParGen& m, std::vector<MonitorRule> rules, const IClock& clock = Steady_Clock(),
            const MonitorOptions& options = {});
    ~Monitor();
    Monitor(const Monitor&) = delete;
    Monitor& operator=(const Monitor&) = delete;

    // Connects in the background and keeps reconnecting until Stop. False with the reason
    // (in the words of the string table lang) when the server, the TLS material or the
    // client cannot be set up.
    bool Start(const QStringList& lang, QString* error);
    void Stop();
    bool Running() const { return q_ != nullptr; }

    const std::vector<MonitorRule>& Rules() const { return rules_; }
    QString Client_ID() const { return client_id_; }
    QString Host() const { return host_; }
    int Port() const { return port_; }

    // Called on the client's thread after a change, once until the next Take.
    void Set_Notify(std::function<void()> notify);
    MonitorSnapshot Take();

private:
    struct Impl;
    void Run();
    void On_Connect(int rc);
    void On_Disconnect(int rc);
    void On_Message(const char* topic, const void* payload, int length, bool retained);
    void Changed();

    ParGen m_;
    std::vector<MonitorRule> rules_;
    const IClock& clock_;
    MonitorOptions options_;
    QStringList lang_; // the words of the reasons
    QString client_id_, host_;
    int port_ = 0;
    std::unique_ptr<Impl> impl_;
    ::mosquitto* q_ = nullptr;

    std::mutex lock_;
    std::vector<RuleSeen> seen_;
    MonitorLink link_;
    bool reason_heard_ = false; // a callback said why the attempt under way ended
    quint64 messages_ = 0;
    std::function<void()> notify_;
    std::atomic<bool> notified_{false};
};

// A payload as text: itself when it is valid UTF-8, else its bytes in hexadecimal (hex set).
QString Payload_Text(const QByteArray& payload, bool* hex = nullptr);
// The same, indented when it is a JSON object or array: the detail view.
QString Payload_Detail(const QByteArray& payload);
// At most n characters of Payload_Text on one line, with "..." when cut.
QString Payload_Short(const QByteArray& payload, int n);

// One rule as the table and the command line show it, in the words of the string table.
struct MonitorLine {
    RuleState state;
    QString row, topic, state_text, payload, age, count, interval;
};
MonitorLine Monitor_Line(const QStringList& lang, const MonitorRule& r, const RuleSeen& s, qint64 now_ms,
                         int payload_chars = 60);
// "Broker 127.0.0.1 port 1883, client ID dev-monitor: connected, 12 messages".
QString Monitor_Link_Line(const QStringList& lang, const Monitor& m, const MonitorSnapshot& s);
// Every rule that publishes on change or on timer has been seen at least once.
bool Monitor_All_Seen(const std::vector<MonitorRule>& rules, const MonitorSnapshot& s, int* seen = nullptr,
                      int* expected = nullptr);

} // namespace swr
