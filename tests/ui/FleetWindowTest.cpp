// The fleet window: Plan and Update All over three loopback devices with the stand-in
// updater, the work away from the window's thread.
#include "FleetWindow.h"

#include "session/Projects.h"
#include "fleet/Plan.h"
#include "lang/Texts.h"

#include "FakeDesktop.h"
#include "FleetFixture.h"
#include "ModalDialogs.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QThread>
#include <QUrl>

#include <gtest/gtest.h>

using namespace swr;

namespace {

struct FleetWindowFixture : ::testing::Test {
    test::Fleet_Workspace w;
    test::RecordingBrowser browser;
    std::unique_ptr<TFFleet> win;

    void SetUp() override
    {
        w.Write_Devices(test::Fleet_Workspace::Three_Devices());
        Open_Project(w.p.st, test::Template_Name);
        win = std::make_unique<TFFleet>(w.p.st, w.p.msg, w.echo, w.clock, browser);
        win->Choose_Devices_File = [this] { return w.Devices(); };
    }
    // Opens the window, runs action in it and closes it.
    void In_Window(const std::function<void(TFFleet*)>& action)
    {
        test::On_Next_Modal<TFFleet>(action, true);
        win->Show_Fleet();
    }
    // Keeps the window's thread serving events until until() holds or the work has ended.
    bool Serve(const std::function<bool()>& until = {}) const
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 30000) {
            QApplication::processEvents();
            if (until ? until() : !win->Busy())
                return true;
            QThread::msleep(2);
        }
        return false;
    }
    QString Cell(int row, const QString& column) const
    {
        const QAbstractItemModel* m = win->ACG_Devices->model();
        for (int c = 0; c < m->columnCount(); ++c)
            if (m->headerData(c, Qt::Horizontal).toString() == column)
                return m->index(row, c).data().toString();
        return "(no column " + column + ")";
    }
    QStringList States() const { return {Cell(0, "Status"), Cell(1, "Status"), Cell(2, "Status")}; }
};

} // namespace

TEST_F(FleetWindowFixture, PlanThenUpdateAllThreeLoopbackDevices)
{
    In_Window([this](TFFleet* d) {
        EXPECT_EQ(d->windowTitle(), "Fleet Commissioning");
        EXPECT_EQ(d->L_Template->text(), "Template: " + QDir::toNativeSeparators(w.Template_Dir()));
        EXPECT_FALSE(d->Btn_Plan->isEnabled());

        d->Btn_Devices->click();
        ASSERT_EQ(d->ACG_Devices->model()->rowCount(), 3);
        EXPECT_EQ(Cell(1, "Name"), "ship-b");
        EXPECT_EQ(Cell(1, "Address"), "127.0.0.12");
        EXPECT_EQ(Cell(1, "prefix"), "fleet/b");
        // What goes into a password or a key is never shown.
        for (const char* secret : {"pw", "key", "keypw"})
            EXPECT_EQ(Cell(1, secret), "******") << secret;
        EXPECT_EQ(States(), QStringList(3, ""));

        d->Btn_Plan->click();
        EXPECT_TRUE(d->Busy());
        ASSERT_TRUE(Serve());
        EXPECT_EQ(States(), QStringList(3, "Planned"));
        EXPECT_EQ(d->L_Step->text(), "3 of 3 devices planned.");
        EXPECT_EQ(d->PB_Devices->value(), 3);
        EXPECT_TRUE(QFileInfo(w.Config("ship-c", "bin/bank3.bin")).isFile());

        // Update All asks once, with the count; the updater takes a while each time, and
        // the window keeps serving meanwhile: it shows each step as it comes.
        w.p.write("standin_delay_ms", "150");
        w.p.msg.answers = {true};
        d->Btn_Update_All->click();
        EXPECT_EQ(w.p.msg.questions.last(), w.p.st.Get_Lang_Text(Txt::Fleet_Update_Question).arg(3));
        ASSERT_TRUE(Serve([&] { return d->L_Step->text() == "Device 2 of 3 (ship-b): running the updater"; }));
        EXPECT_TRUE(d->Busy());
        EXPECT_FALSE(d->Btn_Plan->isEnabled());
        EXPECT_TRUE(d->Btn_Stop->isEnabled());
        ASSERT_TRUE(Serve());
        EXPECT_EQ(States(), QStringList(3, "Updated"));
        EXPECT_EQ(d->L_Step->text(), "3 of 3 devices updated.");
        EXPECT_EQ(d->PB_Devices->value(), d->PB_Devices->maximum());
        EXPECT_TRUE(w.p.read("standin_report.txt").contains("device: 127.0.0.13"));
        EXPECT_TRUE(w.p.msg.errors.isEmpty());

        d->Btn_Report->click();
        EXPECT_EQ(browser.opened, QStringList{QUrl::fromLocalFile(w.p.path("fleet/fleet.csv")).toString()});
        d->grab().save(w.p.path("fleet-window.png"));
    });
    EXPECT_FALSE(win->isVisible());
}

TEST_F(FleetWindowFixture, StopEndsTheRunAfterTheDeviceUnderWayAndPlanAsksBeforeReplacing)
{
    Fleet_Report planned;
    ASSERT_TRUE(Plan_Fleet(w.p.st, w.Template_Dir(), w.Devices(), {}, &planned).ok);
    In_Window([this](TFFleet* d) {
        d->Btn_Devices->click();
        EXPECT_EQ(States(), QStringList(3, "Planned"));

        w.p.write("standin_delay_ms", "150");
        w.p.msg.answers = {true};
        d->Btn_Update_All->click();
        ASSERT_TRUE(Serve([&] { return d->L_Step->text().startsWith("Device 1 of 3 (ship-a): running"); }));
        d->Btn_Stop->click();
        EXPECT_FALSE(d->Btn_Stop->isEnabled());
        ASSERT_TRUE(Serve());
        EXPECT_EQ(States(), (QStringList{"Updated", "Planned", "Planned"}));
        EXPECT_EQ(d->L_Step->text(), "1 of 1 devices updated.");

        // The three configurations exist: planning again asks first, and No plans nothing.
        const QByteArray report = w.Report("fleet.json");
        d->Btn_Plan->click();
        EXPECT_EQ(w.p.msg.questions.last(), w.p.st.Get_Lang_Text(Txt::Fleet_Replace_Question).arg(3));
        EXPECT_FALSE(d->Busy());
        EXPECT_EQ(w.Report("fleet.json"), report);
    });
}
