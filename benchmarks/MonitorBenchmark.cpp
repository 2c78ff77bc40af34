// The live monitor under load: a publisher floods 1024 topics on a real mosquitto broker
// on 127.0.0.1 and the monitor subscribed to all of them takes every message in. Reports
// the messages per second taken in (broker and publisher share the two cores), how many
// were lost, and how much the process grew over the whole run. Run by scripts/bench.sh.
#include "BrokerFixture.h"
#include "Resident.h"

#include "broker/Monitor.h"
#include "lang/LangTable.h"
#include "project/mqtt/MqttTopics.h"
#include "project/pargen/ParGen.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QElapsedTimer>
#include <QThread>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

using namespace swr;

namespace {

constexpr int Topics = 1024;

using bench::Resident_KiB;

// Bytes the allocator has handed out and not got back, every thread's arena.
double Heap_In_Use_Kib() { return double(mallinfo2().uordblks) / 1024.0; }

struct Rig {
    test::MosquittoBroker broker;
    test::TestPublisher device;
    std::unique_ptr<Monitor> monitor;
    QStringList topics;
    QString error;

    bool Start()
    {
        // No limit on the messages the broker queues for a client, so that a message not
        // taken in is the monitor's loss.
        test::BrokerConfig c;
        c.extra = "max_queued_messages 0\nmax_queued_bytes 0\n";
        if (!broker.Start(c, &error) || !device.Connect(broker.Port(), QStringLiteral("hdr"), &error))
            return false;
        ParGen m = ParGen_Defaults();
        m.Set_Text(ParKey::MQTT_Server_URL, QStringLiteral("127.0.0.1"));
        m.Set_Text(ParKey::MQTT_Server_Port, QString::number(broker.Port()));
        m.Set_Text(ParKey::MQTT_Client_ID, QStringLiteral("hdr"));
        MQTT_Topic_Table t;
        for (int i = 0; i < Topics; ++i) {
            topics << QStringLiteral("ship/nmea/value%1").arg(i);
            t.Pub[i].Topic = topics.last();
            t.Pub[i].QoS = QStringLiteral("0");
            t.Pub[i].OnTimer = QStringLiteral("Y");
            t.Pub[i].Time = QStringLiteral("1000");
        }
        monitor = std::make_unique<Monitor>(m, Monitor_Rules(t));
        QStringList lang;
        Load_Default_Strings(lang);
        if (!monitor->Start(lang, &error))
            return false;
        const QDeadlineTimer deadline(20000);
        while (monitor->Take().link.state != LinkState::Connected && !deadline.hasExpired())
            QThread::msleep(5);
        // The subscriptions are in place once a message on the last topic arrives.
        while (monitor->Take().seen.back().count == 0 && !deadline.hasExpired()) {
            device.Publish(topics.last(), "ready", 1);
            QThread::msleep(20);
        }
        return !deadline.hasExpired();
    }
};

// One iteration: Batch messages, round robin over the 1024 topics, as fast as the
// publisher can send them; timed until the monitor has taken the last one in.
void BM_Monitor_Flood(benchmark::State& state)
{
    const int batch = int(state.range(0));
    Rig rig;
    if (!rig.Start()) {
        state.SkipWithError(rig.error.isEmpty() ? "the rig did not start" : rig.error.toStdString().c_str());
        return;
    }
    QList<QByteArray> payloads;
    for (int i = 0; i < Topics; ++i)
        payloads << QByteArray("{\"value\":") + QByteArray::number(i * 1.5) + "}";
    long rssBefore = 0;
    double heapBefore = 0;
    quint64 sent = 0, taken = 0;
    for (auto _ : state) {
        if (sent > 0 && rssBefore == 0) {
            // After the first batch: the buffers of the publisher and of the rules are in place.
            rssBefore = Resident_KiB();
            heapBefore = Heap_In_Use_Kib();
        }
        const quint64 start = rig.monitor->Take().messages;
        for (int i = 0; i < batch; ++i)
            rig.device.Publish(rig.topics[i % Topics], payloads[i % Topics]);
        // The broker may drop QoS 0 messages it cannot queue: wait until the count
        // stops moving, at most 30 s.
        const QDeadlineTimer deadline(30000);
        quint64 now = rig.monitor->Take().messages, last = 0;
        int still = 0;
        while (now - start < quint64(batch) && !deadline.hasExpired() && still < 50) {
            QThread::usleep(200);
            last = now;
            now = rig.monitor->Take().messages;
            still = now == last ? still + 1 : 0;
        }
        sent += quint64(batch);
        taken += now - start;
    }
    state.SetItemsProcessed(int64_t(taken));
    state.counters["lost"] = double(sent - taken);
    state.counters["rss_growth_KiB"] = double(Resident_KiB() - rssBefore);
    state.counters["heap_growth_KiB"] = Heap_In_Use_Kib() - heapBefore;
}
BENCHMARK(BM_Monitor_Flood)->Arg(20000)->Iterations(20)->UseRealTime()->Unit(benchmark::kMillisecond);

// Rounds of a steady 5000 messages a second for three seconds: how far behind the monitor
// is at the end of a round (ms from the last publish to its arrival) and whether memory
// moved after the first round.
void BM_Monitor_Steady_5000(benchmark::State& state)
{
    Rig rig;
    if (!rig.Start()) {
        state.SkipWithError("the rig did not start");
        return;
    }
    long rssBefore = 0;
    double heapBefore = 0;
    quint64 sent = 0, taken = 0;
    double lagMs = 0;
    for (auto _ : state) {
        if (sent > 0 && rssBefore == 0) {
            rssBefore = Resident_KiB(); // after the first round, every rule holds a payload
            heapBefore = Heap_In_Use_Kib();
        }
        const quint64 start = rig.monitor->Take().messages;
        QElapsedTimer t;
        t.start();
        int n = 0;
        while (n < 15000) {
            // 5 messages every millisecond on average.
            while (n < 15000 && n < int(t.nsecsElapsed() / 200000))
                rig.device.Publish(rig.topics[n % Topics], QByteArray::number(n)), ++n;
            QThread::usleep(200);
        }
        const qint64 published = t.elapsed();
        const QDeadlineTimer deadline(30000);
        while (rig.monitor->Take().messages - start < 15000 && !deadline.hasExpired())
            QThread::usleep(200);
        lagMs += double(t.elapsed() - published);
        sent += 15000;
        taken += rig.monitor->Take().messages - start;
    }
    state.SetItemsProcessed(int64_t(taken));
    state.counters["lost"] = double(sent - taken);
    state.counters["lag_ms"] = lagMs / double(state.iterations());
    state.counters["rss_growth_KiB"] = double(Resident_KiB() - rssBefore);
    state.counters["heap_growth_KiB"] = Heap_In_Use_Kib() - heapBefore;
}
BENCHMARK(BM_Monitor_Steady_5000)->Iterations(4)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
