// The live monitor window against a real broker on 127.0.0.1, with a publisher in the
// test standing in for the device.
#include "MonitorWindow.h"
#include "TitleStrip.h"

#include "lang/Texts.h"
#include "project/mqtt/MqttTopics.h"
#include "project/pargen/ParGen.h"

#include "BrokerFixture.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QtTest/QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace swr;

namespace {

class FakeClock : public IClock {
public:
    std::atomic<qint64> now{5000000};
    qint64 Now_Ms() const override { return now; }
};

MQTT_Publish_Row Rule(const QString& topic, const char* on_change, const char* on_timer, const char* time = "")
{
    MQTT_Publish_Row r;
    r.Topic = topic;
    r.QoS = QStringLiteral("1");
    r.OnChange = QLatin1String(on_change);
    r.OnTimer = QLatin1String(on_timer);
    r.Time = QLatin1String(time);
    return r;
}

struct MonitorWindowTest : ::testing::Test {
    test::ProgramFolder p;
    test::MosquittoBroker broker;
    test::TestPublisher device;

    void SetUp() override
    {
        p.start();
        QString error;
        ASSERT_TRUE(broker.Start({}, &error)) << error.toStdString();
        ParGen m = ParGen_Defaults();
        m.Set_Text(ParKey::MQTT_Server_URL, QStringLiteral("127.0.0.1"));
        m.Set_Text(ParKey::MQTT_Server_Port, QString::number(broker.Port()));
        m.Set_Text(ParKey::MQTT_Client_ID, QStringLiteral("hdr"));
        p.st.File_ParGen = p.path(QStringLiteral("ParGen.xml"));
        ASSERT_TRUE(Save_ParGen(p.st, p.st.File_ParGen, m).ok);
        ASSERT_TRUE(device.Connect(broker.Port(), QStringLiteral("hdr"), &error)) << error.toStdString();
    }

    // Runs the event loop until done holds, at most 20 s.
    template <class Done>
    bool Until(Done done)
    {
        const QDeadlineTimer deadline(20000);
        while (!done() && !deadline.hasExpired()) {
            QApplication::processEvents();
            QThread::msleep(5);
        }
        return done();
    }
    static QString Cell(const TFMonitor& w, int row, int col)
    {
        const QTableWidgetItem* it = w.ACG_Monitor->item(row, col);
        return it ? it->text() : QString();
    }
    bool Connected(const TFMonitor& w) { return w.L_Status->text().contains(QStringLiteral(": connected")); }
};

TEST_F(MonitorWindowTest, EveryStateColouredWithTheDetailOfTheSelectedRule)
{
    ASSERT_TRUE(device.Publish(QStringLiteral("dev/ret"), "kept", 1, true));
    MQTT_Topic_Table t;
    t.Pub[0] = Rule(QStringLiteral("dev/live"), "Y", "N");
    t.Pub[1] = Rule(QStringLiteral("dev/wait"), "Y", "N");
    t.Pub[2] = Rule(QStringLiteral("dev/timer"), "N", "Y", "1000");
    t.Pub[3] = Rule(QStringLiteral("dev/ret"), "Y", "N");
    t.Pub[4] = Rule(QStringLiteral("dev/+/raw"), "Y", "N");
    FakeClock clock;
    TFMonitor w(p.st, p.msg, t, nullptr, clock);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Live Monitor"));
    EXPECT_EQ(w.ACG_Monitor->rowCount(), 5);
    ASSERT_TRUE(Until([&] { return Connected(w); })) << w.L_Status->text().toStdString();
    EXPECT_TRUE(w.L_Status->text().startsWith(
        QStringLiteral("Broker 127.0.0.1 port %1, client ID hdr-monitor").arg(broker.Port())));
    EXPECT_FALSE(w.Btn_Connect->isEnabled());

    ASSERT_TRUE(device.Publish(QStringLiteral("dev/live"), R"({"sog":5.2,"cog":181})", 1));
    ASSERT_TRUE(device.Publish(QStringLiteral("dev/timer"), "12.5", 1));
    ASSERT_TRUE(device.Publish(QStringLiteral("dev/north/raw"), QByteArray("\x01\x02\xfe", 3), 1));
    ASSERT_TRUE(Until([&] {
        return Cell(w, 0, 5) == QLatin1String("1") && Cell(w, 2, 5) == QLatin1String("1")
            && Cell(w, 3, 5) == QLatin1String("1") && Cell(w, 4, 5) == QLatin1String("1");
    }));
    clock.now += 2500; // the timer rule's 2 x 1000 ms pass
    ASSERT_TRUE(Until([&] { return Cell(w, 2, 2) == QLatin1String("overdue"); }));

    const char* const states[] = {"live", "waiting", "overdue", "stale retained", "live"};
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(Cell(w, r, 2), QLatin1String(states[r])) << r;
    // Each state has its colour.
    QSet<QRgb> colours;
    for (int r = 0; r < 4; ++r)
        colours.insert(w.ACG_Monitor->item(r, 2)->background().color().rgb());
    EXPECT_EQ(colours.size(), 4);
    EXPECT_EQ(Cell(w, 4, 3), QStringLiteral("01 02 fe"));
    EXPECT_TRUE(Cell(w, 4, 1).startsWith(QStringLiteral("dev/+/raw (wildcard")));
    EXPECT_EQ(Cell(w, 2, 4), QStringLiteral("2.5 s"));
    EXPECT_EQ(Cell(w, 2, 6), QStringLiteral("- / 1000 ms"));

    // The first rule is selected: its JSON payload indented.
    EXPECT_EQ(w.E_Payload->toPlainText(), QStringLiteral("{\n    \"cog\": 181,\n    \"sog\": 5.2\n}"));
    w.ACG_Monitor->setCurrentCell(4, 1);
    EXPECT_EQ(w.E_Payload->toPlainText(), QStringLiteral("01 02 fe"));
    EXPECT_TRUE(w.L_Payload->text().contains(QStringLiteral("hexadecimal")));
    w.ACG_Monitor->setCurrentCell(0, 1);

    const QString shots = qEnvironmentVariable("SWR_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        w.grab().save(QDir(shots).filePath(QStringLiteral("monitor.png")));

    w.Btn_Disconnect->click();
    EXPECT_TRUE(w.L_Status->text().endsWith(QStringLiteral("disconnected")));
    EXPECT_TRUE(w.Btn_Connect->isEnabled());
    EXPECT_EQ(Cell(w, 0, 5), QLatin1String("1")); // what arrived stays
    w.Btn_Connect->click();
    // The broker hands the retained message over again; a rule that heard nothing since
    // the reconnect keeps its state.
    EXPECT_TRUE(Until([&] { return Connected(w) && Cell(w, 3, 5) == QLatin1String("2"); }));
    EXPECT_EQ(Cell(w, 3, 2), QStringLiteral("stale retained"));
    EXPECT_EQ(Cell(w, 0, 2), QStringLiteral("live"));
}

// A burst of messages over a full table on the client's thread: the window keeps serving its events, shows
// the last message in the end and repaints at most ten times a second meanwhile.
TEST_F(MonitorWindowTest, StaysResponsiveUnderABurst)
{
    MQTT_Topic_Table t;
    for (int i = 0; i < MQTT_Table_Rows; ++i)
        t.Pub[i] = Rule(QStringLiteral("burst/%1").arg(i), "Y", "N");
    TFMonitor w(p.st, p.msg, t);
    w.show();
    ASSERT_TRUE(Until([&] { return Connected(w); }));

    constexpr int Count = 4000;
    std::atomic<bool> done{false};
    const int before = w.Refreshes();
    QElapsedTimer burst;
    burst.start();
    std::thread sender([&] {
        for (int i = 0; i < Count; ++i)
            device.Publish(QStringLiteral("burst/%1").arg(i % MQTT_Table_Rows), QByteArray::number(i),
                           i % 64 == 0 ? 1 : 0);
        device.Publish(QStringLiteral("burst/0"), "last", 1);
        done = true;
    });
    // A timer of the window's thread: the longest gap between its ticks is how long the
    // window was not serving events.
    QElapsedTimer gap;
    gap.start();
    qint64 longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, gap.restart());
    });
    tick.start(10);
    const bool finished = Until([&] { return done && Cell(w, 0, 3) == QLatin1String("last"); });
    const qint64 ms = burst.elapsed();
    tick.stop();
    sender.join();
    ASSERT_TRUE(finished);
    EXPECT_LT(longest, 1000);
    const int refreshes = w.Refreshes() - before;
    EXPECT_LE(refreshes, int(ms / TFMonitor::Min_Repaint_Ms) + 2) << ms << " ms";
    // The broker may drop QoS 0 messages under load, never the QoS 1 ones.
    EXPECT_GE(w.Shown().messages, quint64(Count / 64 + 1));
}

} // namespace

// The window has the title strip, and its columns fit their headers and the widest values
// that usually come ("Interval / Time" included), all in view at the size it opens with;
// Topic and Last Payload take the room left.
TEST_F(MonitorWindowTest, TitleStripAndColumnsThatFitTheirContent)
{
    MQTT_Topic_Table t;
    t.Pub[0] = Rule(QStringLiteral("ship/bridge/gps/position/latitude"), "Y", "N");
    t.Pub[1] = Rule(QStringLiteral("dev/timer"), "N", "Y", "10000");
    TFMonitor w(p.st, p.msg, t);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QApplication::processEvents();
    EXPECT_EQ(w.P_Title->L_SW_Code->text(), QStringLiteral("SWR2305"));
    EXPECT_EQ(w.P_Title->L_SW_Desc->text(), QStringLiteral("Live Monitor"));
    const QHeaderView* h = w.ACG_Monitor->horizontalHeader();
    const QFontMetrics fm(w.ACG_Monitor->font());
    for (int c = 0; c < w.ACG_Monitor->columnCount(); ++c)
        EXPECT_GE(w.ACG_Monitor->columnWidth(c), h->sectionSizeHint(c)) << c;
    EXPECT_GT(w.ACG_Monitor->columnWidth(6), fm.horizontalAdvance(QStringLiteral("10000 ms / 10000 ms")));
    EXPECT_GT(w.ACG_Monitor->columnWidth(2), fm.horizontalAdvance(QStringLiteral("stale retained")));
    EXPECT_GT(w.ACG_Monitor->columnWidth(1), fm.horizontalAdvance(Cell(w, 0, 1)));
    EXPECT_LE(h->length(), w.ACG_Monitor->viewport()->width());
    EXPECT_GT(w.ACG_Monitor->columnWidth(3), h->sectionSizeHint(3) + 100);
}
