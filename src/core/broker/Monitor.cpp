#include "broker/Monitor.h"

#include "broker/BrokerTest.h"
#include "broker/LibraryTables.h"
#include "broker/MqttClient.h"
#include "lang/Texts.h"
#include "project/mqtt/MqttTopics.h"

#include <QJsonDocument>
#include <QStringDecoder>

#include <chrono>
#include <condition_variable>
#include <thread>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>

namespace swr {

namespace {

class SteadyClock : public IClock {
public:
    qint64 Now_Ms() const override
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};

struct String_Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

} // namespace

const IClock& Steady_Clock()
{
    static const SteadyClock c;
    return c;
}

std::vector<MonitorRule> Monitor_Rules(const MQTT_Topic_Table& t)
{
    std::vector<MonitorRule> out;
    for (qsizetype i = 0; i < t.Pub.size(); ++i) {
        const MQTT_Publish_Row& p = t.Pub.at(i);
        if (!Is_Publish_Rule(p))
            continue; // saving leaves the row out: the device never gets it
        const Publish_As_Compiled c = Read_Publish(Rule_Values(p));
        MonitorRule r;
        r.row = int(i) + 1;
        r.topic = c.Topic;
        r.qos = std::clamp(c.QoS, 0, 2);
        r.wildcard = c.Topic.contains(QLatin1Char('+')) || c.Topic.contains(QLatin1Char('#'));
        r.on_change = c.OnChange;
        r.on_timer = c.OnTimer;
        r.time_ms = c.Timer;
        out.push_back(r);
    }
    return out;
}

RuleState Rule_State(const MonitorRule& r, const RuleSeen& s, qint64 now_ms)
{
    if (s.count == 0)
        return RuleState::Waiting;
    if (s.since_connect > 0 && !s.fresh)
        return RuleState::Stale_Retained;
    if (r.on_timer && r.time_ms > 0 && now_ms - s.arrived_ms > 2 * r.time_ms)
        return RuleState::Overdue;
    return RuleState::Live;
}

// The client's topic lookup: literal topics by hash, wildcard rules by the library's match.
struct Monitor::Impl {
    std::unordered_map<std::string, std::vector<int>, String_Hash, std::equal_to<>> literal;
    std::vector<std::pair<std::string, int>> wildcard;
    std::vector<std::pair<std::string, int>> subscriptions; // each topic once, with its highest QoS
    SSL_CTX_ptr ctx;
    std::thread thread;
    std::mutex wait_lock;
    std::condition_variable wake;
    bool stop = false;
    std::atomic<bool> cancel{false}; // ends a name lookup under way
};

Monitor::Monitor(const ParGen& m, std::vector<MonitorRule> rules, const IClock& clock, const MonitorOptions& options)
    : m_(m), rules_(std::move(rules)), clock_(clock), options_(options), impl_(std::make_unique<Impl>()),
      seen_(rules_.size())
{
    client_id_ = m_.Text(ParKey::MQTT_Client_ID) + QStringLiteral("-monitor");
    host_ = Broker_Host(m_);
    port_ = Broker_Port(m_);
    std::unordered_map<std::string, size_t> subscribed;
    for (size_t i = 0; i < rules_.size(); ++i) {
        const MonitorRule& r = rules_[i];
        std::string topic = r.topic.toStdString();
        if (r.wildcard)
            impl_->wildcard.emplace_back(topic, int(i));
        else
            impl_->literal[topic].push_back(int(i));
        auto [at, added] = subscribed.try_emplace(topic, impl_->subscriptions.size());
        if (added)
            impl_->subscriptions.emplace_back(topic, r.qos);
        else
            impl_->subscriptions[at->second].second = std::max(impl_->subscriptions[at->second].second, r.qos);
    }
}

Monitor::~Monitor() { Stop(); }

bool Monitor::Start(const QStringList& lang, QString* error)
{
    if (q_)
        return true;
    if (const LibraryFault f = Broker_Library_Fault()) {
        *error = Library_Fault_Text(lang, f);
        return false;
    }
    Mqtt_Library_Init();
    lang_ = lang;
    auto fail = [&](BrokerStageId id, StageCause cause) {
        *error = lang.value(Txt::Stage_Name_Lookup + int(id)) + QStringLiteral(": ")
            + Broker_Outcome(lang, BrokerStage{id, false, cause, 0, {}, 0});
        return false;
    };
    if (host_.isEmpty())
        return fail(BrokerStageId::Name_Lookup, StageCause::Url_Empty);
    if (port_ == 0)
        return fail(BrokerStageId::Name_Lookup, StageCause::Port_Invalid);
    impl_->ctx.reset();
    if (m_.Flag(ParKey::TLS_Enable)) {
        StageCause failure = StageCause::Tls_Failed;
        impl_->ctx = Mqtt_Tls_Context(m_, host_, &failure);
        if (!impl_->ctx)
            return fail(BrokerStageId::Tls_Handshake, failure);
    }
    const MosquittoTable& mq = Mosq();
    const QByteArray id = client_id_.toUtf8();
    q_ = mq.mosquitto_new(id.constData(), true, this);
    if (!q_) {
        *error = QString::fromUtf8(mq.mosquitto_strerror(MOSQ_ERR_NOMEM));
        return false;
    }
    Mqtt_Login(q_, m_, impl_->ctx.get());
    mq.mosquitto_reconnect_delay_set(q_, unsigned(options_.reconnect_min_s), unsigned(options_.reconnect_max_s), true);
    mq.mosquitto_connect_callback_set(q_, [](mosquitto*, void* self, int rc) {
        static_cast<Monitor*>(self)->On_Connect(rc);
    });
    mq.mosquitto_disconnect_callback_set(q_, [](mosquitto*, void* self, int rc) {
        static_cast<Monitor*>(self)->On_Disconnect(rc);
    });
    mq.mosquitto_message_callback_set(q_, [](mosquitto*, void* self, const mosquitto_message* msg) {
        static_cast<Monitor*>(self)->On_Message(msg->topic, msg->payload, msg->payloadlen, msg->retain);
    });
    {
        std::lock_guard<std::mutex> g(lock_);
        link_.state = LinkState::Connecting;
        link_.reason.clear();
    }
    impl_->stop = false;
    impl_->cancel = false;
    impl_->thread = std::thread([this] { Run(); });
    Changed();
    return true;
}

// The client's thread: looks the server's name up (so that Stop never waits for the
// system's resolver), connects, runs the client until the connection ends, waits the
// reconnect delay (doubled each time up to the max) and connects again, until Stop.
void Monitor::Run()
{
    IResolver& resolver = options_.resolver ? *options_.resolver : System_Resolver();
    const int keepAlive = Mqtt_Keep_Alive(m_);
    int delay_s = options_.reconnect_min_s;
    for (;;) {
        QString address = host_;
        QString failure;
        int rc = MOSQ_ERR_SUCCESS;
        if (!Is_Literal_Address(host_)) {
            const ResolveResult r = resolver.Resolve(host_, options_.lookup_timeout_ms, impl_->cancel);
            if (r.cancelled || impl_->cancel)
                return;
            if (r.addresses.isEmpty()) {
                const BrokerStage lookup = r.timed_out
                    ? BrokerStage{BrokerStageId::Name_Lookup, false, StageCause::Timed_Out, 0,
                                  {QString::number(options_.lookup_timeout_ms / 1000.0)}, 0}
                    : BrokerStage{BrokerStageId::Name_Lookup, false, StageCause::Lookup_Failed, 0, {host_, r.error}, 0};
                failure = Broker_Outcome(lang_, lookup);
                rc = MOSQ_ERR_EAI;
            } else {
                address = r.addresses.first();
            }
        }
        const int connects = [this] {
            std::lock_guard<std::mutex> g(lock_);
            reason_heard_ = false;
            return link_.connects;
        }();
        if (rc == MOSQ_ERR_SUCCESS)
            rc = Mosq().mosquitto_connect_async(q_, address.toLatin1().constData(), port_, keepAlive);
        while (rc == MOSQ_ERR_SUCCESS) {
            {
                std::lock_guard<std::mutex> g(impl_->wait_lock);
                if (impl_->stop)
                    return;
            }
            rc = Mosq().mosquitto_loop(q_, 100, 1);
        }
        {
            std::lock_guard<std::mutex> g(lock_);
            if (link_.connects != connects)
                delay_s = options_.reconnect_min_s; // it was connected: start over
            link_.state = LinkState::Lost;
            if (!reason_heard_) {
                link_.reason = !failure.isEmpty() ? failure
                    : rc == MOSQ_ERR_ERRNO        ? QString::fromLocal8Bit(std::strerror(errno))
                                                  : QString::fromUtf8(Mosq().mosquitto_strerror(rc));
            }
        }
        Changed();
        std::unique_lock<std::mutex> g(impl_->wait_lock);
        if (impl_->wake.wait_for(g, std::chrono::seconds(delay_s), [this] { return impl_->stop; }))
            return;
        delay_s = std::min(delay_s * 2, options_.reconnect_max_s);
    }
}

void Monitor::Stop()
{
    if (!q_)
        return;
    {
        std::lock_guard<std::mutex> g(impl_->wait_lock);
        impl_->stop = true;
    }
    impl_->cancel = true;
    impl_->wake.notify_all();
    impl_->thread.join();
    // A clean goodbye when still connected; the client runs on this thread now.
    const MosquittoTable& mq = Mosq();
    if (mq.mosquitto_disconnect(q_) == MOSQ_ERR_SUCCESS)
        for (int i = 0; i < 10 && mq.mosquitto_loop(q_, 20, 1) == MOSQ_ERR_SUCCESS; ++i) {
        }
    mq.mosquitto_destroy(q_);
    q_ = nullptr;
    {
        std::lock_guard<std::mutex> g(lock_);
        link_.state = LinkState::Disconnected;
        link_.reason.clear();
    }
    Changed();
}

void Monitor::Set_Notify(std::function<void()> notify)
{
    std::lock_guard<std::mutex> g(lock_);
    notify_ = std::move(notify);
}

MonitorSnapshot Monitor::Take()
{
    MonitorSnapshot s;
    std::lock_guard<std::mutex> g(lock_);
    notified_ = false;
    s.seen = seen_;
    s.link = link_;
    s.messages = messages_;
    s.now_ms = clock_.Now_Ms();
    return s;
}

void Monitor::Changed()
{
    if (notified_.exchange(true))
        return;
    std::function<void()> notify;
    {
        std::lock_guard<std::mutex> g(lock_);
        notify = notify_;
    }
    if (notify)
        notify();
}

void Monitor::On_Connect(int rc)
{
    if (rc == 0) {
        // Subscribed again on every connect: the session is clean.
        for (const auto& [topic, qos] : impl_->subscriptions)
            Mosq().mosquitto_subscribe(q_, nullptr, topic.c_str(), qos);
    }
    {
        std::lock_guard<std::mutex> g(lock_);
        if (rc == 0) {
            link_.state = LinkState::Connected;
            link_.reason.clear();
            ++link_.connects;
            for (RuleSeen& s : seen_) {
                s.since_connect = 0;
                s.fresh = false;
            }
        } else {
            link_.state = LinkState::Lost;
            link_.reason = QString::fromUtf8(Mosq().mosquitto_connack_string(rc));
            reason_heard_ = true;
        }
    }
    Changed();
}

void Monitor::On_Disconnect(int rc)
{
    {
        std::lock_guard<std::mutex> g(lock_);
        if (rc == 0) {
            link_.state = LinkState::Disconnected;
        } else if (!reason_heard_) {
            link_.state = LinkState::Lost;
            link_.reason = QString::fromUtf8(Mosq().mosquitto_strerror(rc));
            reason_heard_ = true;
        }
    }
    Changed();
}

void Monitor::On_Message(const char* topic, const void* payload, int length, bool retained)
{
    const qint64 now = clock_.Now_Ms();
    auto take = [&](int i) {
        RuleSeen& s = seen_[size_t(i)];
        if (s.count > 0)
            s.interval_ms = now - s.arrived_ms;
        s.arrived_ms = now;
        ++s.count;
        ++s.since_connect;
        s.retained = retained;
        if (!retained)
            s.fresh = true;
        // Assigning in place keeps the buffer when the size is the same.
        s.payload.resize(length);
        if (length > 0)
            std::memcpy(s.payload.data(), payload, size_t(length));
    };
    {
        std::lock_guard<std::mutex> g(lock_);
        ++messages_;
        const auto at = impl_->literal.find(std::string_view(topic));
        if (at != impl_->literal.end())
            for (int i : at->second)
                take(i);
        for (const auto& [filter, i] : impl_->wildcard) {
            bool match = false;
            Mosq().mosquitto_topic_matches_sub(filter.c_str(), topic, &match);
            if (match)
                take(i);
        }
    }
    Changed();
}

QString Payload_Text(const QByteArray& payload, bool* hex)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(payload);
    const bool binary = utf8.hasError() || payload.contains('\0');
    if (hex)
        *hex = binary;
    return binary ? QString::fromLatin1(payload.toHex(' ')) : text;
}

QString Payload_Detail(const QByteArray& payload)
{
    bool hex = false;
    const QString text = Payload_Text(payload, &hex);
    if (hex)
        return text;
    QJsonParseError e;
    const QJsonDocument doc = QJsonDocument::fromJson(payload, &e);
    if (e.error == QJsonParseError::NoError && (doc.isObject() || doc.isArray()))
        return QString::fromUtf8(doc.toJson(QJsonDocument::Indented)).trimmed();
    return text;
}

QString Payload_Short(const QByteArray& payload, int n)
{
    QString text = Payload_Text(payload);
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.size() > n ? text.left(n) + QStringLiteral("...") : text;
}

MonitorLine Monitor_Line(const QStringList& lang, const MonitorRule& r, const RuleSeen& s, qint64 now_ms,
                         int payload_chars)
{
    MonitorLine l;
    l.state = Rule_State(r, s, now_ms);
    l.row = QString::number(r.row);
    l.topic = r.wildcard ? lang.value(Txt::Monitor_Wildcard).arg(r.topic) : r.topic;
    l.state_text = lang.value(Txt::Monitor_Waiting + int(l.state));
    l.count = QString::number(s.count);
    if (s.count > 0) {
        l.payload = Payload_Short(s.payload, payload_chars);
        l.age = lang.value(Txt::Monitor_Seconds).arg(QString::number((now_ms - s.arrived_ms) / 1000.0, 'f', 1));
    }
    // The interval against the configured Time of a timer rule: "1002 ms / 1000 ms".
    const QString interval = s.interval_ms >= 0 ? lang.value(Txt::Monitor_Ms).arg(s.interval_ms) : QStringLiteral("-");
    if (r.on_timer)
        l.interval = interval + QStringLiteral(" / ") + lang.value(Txt::Monitor_Ms).arg(r.time_ms);
    else if (s.interval_ms >= 0)
        l.interval = interval;
    return l;
}

QString Monitor_Link_Line(const QStringList& lang, const Monitor& m, const MonitorSnapshot& s)
{
    QString state = lang.value(Txt::Link_Disconnected + int(s.link.state));
    if (s.link.state == LinkState::Connected)
        state = state.arg(s.messages);
    else if (s.link.state == LinkState::Lost)
        state = state.arg(s.link.reason);
    return lang.value(Txt::Link_Line).arg(m.Host(), QString::number(m.Port()), m.Client_ID(), state);
}

bool Monitor_All_Seen(const std::vector<MonitorRule>& rules, const MonitorSnapshot& s, int* seen, int* expected)
{
    int n = 0, e = 0;
    for (size_t i = 0; i < rules.size() && i < s.seen.size(); ++i) {
        if (!rules[i].on_change && !rules[i].on_timer)
            continue;
        ++e;
        if (s.seen[i].count > 0)
            ++n;
    }
    if (seen)
        *seen = n;
    if (expected)
        *expected = e;
    return n == e;
}

} // namespace swr
