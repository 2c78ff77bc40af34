// The two table screens grow with their window, keep their place between runs, and close
// a cell's drop-down when a value is picked from its list.
#include "MqttTopicScreen.h"
#include "NmeaAccessScreen.h"
#include "TopicTemplate.h"

#include "session/Projects.h"
#include "session/Settings.h"

#include "ModalDialogs.h"
#include "TestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace swr;
using swr::test::On_Next_Modal;
using swr::test::ProgramFolder;

namespace {

// What tells the two screens apart here; columns are model columns.
struct Screen_Case {
    const char* name;   // the screen's object name, its key in the settings file
    const char* grid;
    QSize first_size;
    QList<int> room;    // the columns that take the room
    int fixed;          // a column that keeps to its content
    int choice;         // a drop-down column
    std::function<std::unique_ptr<TableScreen>(AppState&, IMessages&, TFTopicTemplate*)> make;
    std::function<bool(TableScreen*)> load;  // what opening the screen loads
    std::function<int(TableScreen*)> open;   // the step's opening: load, place, exec
};

const Screen_Case Cases[] = {
    {"TFMQTT_Set_Topic", "ACG_Pub", {1100, 337}, {0, 8, 12}, 2, 2,
     [](AppState& st, IMessages& msg, TFTopicTemplate* tpl) {
         return std::make_unique<TFMQTT_Set_Topic>(st, msg, tpl);
     },
     [](TableScreen* s) { return static_cast<TFMQTT_Set_Topic*>(s)->FormShow(); },
     [](TableScreen* s) { return static_cast<TFMQTT_Set_Topic*>(s)->Show_Topics(); }},
    {"TFNMEA_0183_Set_Access2", "ASG", {1200, 337}, {4, 9}, 8, 2,
     [](AppState& st, IMessages& msg, TFTopicTemplate*) {
         return std::make_unique<TFNMEA_0183_Set_Access2>(st, msg);
     },
     [](TableScreen* s) { return static_cast<TFNMEA_0183_Set_Access2*>(s)->FormShow(); },
     [](TableScreen* s) { return static_cast<TFNMEA_0183_Set_Access2*>(s)->Show_Access(); }},
};

struct TableScreens : ::testing::Test {
    ProgramFolder p;
    std::unique_ptr<TFTopicTemplate> tpl;

    void SetUp() override
    {
        p.start();
        ASSERT_EQ(Create_New_Project(p.st, "Ship"), 0);
        tpl = std::make_unique<TFTopicTemplate>(p.st);
    }
    static QTableView* Grid(TableScreen* s, const Screen_Case& c) { return s->findChild<QTableView*>(c.grid); }
    static void Settle()
    {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }
    // Opens the screen as its step does and runs action while it is up; the screen is
    // closed with Cancel afterwards if action left it open.
    static int Open(TableScreen* s, const Screen_Case& c, std::function<void(TableScreen*)> action)
    {
        On_Next_Modal<TableScreen>(
            [action](TableScreen* d) {
                EXPECT_TRUE(QTest::qWaitForWindowExposed(d));
                Settle();
                action(d);
            },
            true);
        return c.open(s);
    }
};

} // namespace

TEST_F(TableScreens, TheGridTakesTheRoomOfALargerWindow)
{
    for (const Screen_Case& c : Cases) {
        SCOPED_TRACE(c.name);
        auto s = c.make(p.st, p.msg, tpl.get());
        QTableView* g = Grid(s.get(), c);
        ASSERT_TRUE(c.load(s.get()));
        s->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(s.get()));
        Settle();
        EXPECT_EQ(s->size(), c.first_size);
        EXPECT_TRUE(s->windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_LT(s->minimumSize().height(), c.first_size.height());
        const int rows_before = g->viewport()->height() / g->rowHeight(0);
        QMap<int, int> before;
        for (int col = 0; col < g->model()->columnCount(); ++col)
            before[col] = g->columnWidth(col);

        // About what a maximised window has at 1920 x 1080 under a title bar and a task bar.
        s->resize(1920, 1000);
        Settle();
        const int rows_after = g->viewport()->height() / g->rowHeight(0);
        EXPECT_GE(rows_after, 30) << rows_before;
        EXPECT_GE(g->viewport()->height(), 1000 - c.first_size.height() + rows_before * g->rowHeight(0) - 2);
        for (int col : c.room)
            EXPECT_GT(g->columnWidth(col), before[col] + 100) << col;
        EXPECT_EQ(g->columnWidth(c.fixed), before[c.fixed]);
        EXPECT_EQ(g->horizontalHeader()->length(), g->viewport()->width()); // filled, no sideways scrolling

        // A column the user widened keeps its width when the window changes; only the last
        // column follows the window then.
        g->horizontalHeader()->resizeSection(c.fixed, before[c.fixed] + 60);
        const int first_room = g->columnWidth(c.room.front());
        s->resize(c.first_size);
        Settle();
        EXPECT_EQ(g->columnWidth(c.fixed), before[c.fixed] + 60);
        EXPECT_EQ(g->columnWidth(c.room.front()), first_room);
        // The next opening fits the columns anew.
        s->hide();
        ASSERT_TRUE(c.load(s.get()));
        s->show();
        Settle();
        EXPECT_EQ(g->columnWidth(c.fixed), before[c.fixed]);
    }
}

TEST_F(TableScreens, EachScreenOpensWhereItLastClosedInThisRunAndTheNext)
{
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect moved(free.left() + 30, free.top() + 40, 600, 420);
    for (const Screen_Case& c : Cases) {
        SCOPED_TRACE(c.name);
        p.st.Screen_Places.clear();
        auto s = c.make(p.st, p.msg, tpl.get());
        // Never closed before: the first size, centred.
        Open(s.get(), c, [&](TableScreen* d) {
            EXPECT_EQ(d->size(), c.first_size);
            EXPECT_NEAR(d->frameGeometry().center().x(), free.center().x(), 2);
            d->setGeometry(moved);
            Settle();
            QTest::keyClick(d, Qt::Key_Escape);
        });
        ASSERT_TRUE(p.st.Screen_Places.contains(c.name));
        EXPECT_EQ(p.st.Screen_Places[c.name].normal, moved);
        EXPECT_FALSE(p.st.Screen_Places[c.name].maximized);

        // Maximised, and closed by OK: maximised again next time, over the same normal area.
        Open(s.get(), c, [&](TableScreen* d) {
            EXPECT_EQ(d->geometry(), moved);
            d->showMaximized();
            Settle();
            d->Btn_OK->click();
        });
        EXPECT_TRUE(p.st.Screen_Places[c.name].maximized);
        EXPECT_EQ(p.st.Screen_Places[c.name].normal, moved);

        // The next run reads the place from the settings file.
        ASSERT_TRUE(Save_Setting(p.st, nullptr));
        AppState next = p.st;
        next.Screen_Places.clear();
        Read_Settings(next, p.msg);
        auto again = c.make(next, p.msg, tpl.get());
        Open(again.get(), c, [&](TableScreen* d) {
            EXPECT_TRUE(d->isMaximized());
            d->showNormal();
            Settle();
            EXPECT_EQ(d->geometry(), moved);
        });
        EXPECT_FALSE(next.Screen_Places[c.name].maximized);
    }
}

TEST_F(TableScreens, APlaceOffEveryScreenOpensOnOne)
{
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    for (const Screen_Case& c : Cases) {
        SCOPED_TRACE(c.name);
        p.st.Screen_Places[c.name] = {QRect(-5000, -4000, 600, 300), false};
        auto s = c.make(p.st, p.msg, tpl.get());
        Open(s.get(), c, [&](TableScreen* d) {
            EXPECT_TRUE(free.contains(d->geometry())) << d->geometry().x() << "," << d->geometry().y();
            EXPECT_EQ(d->size(), QSize(600, 300));
        });
    }
}

TEST_F(TableScreens, AValuePickedFromTheListClosesTheEditorAndEscapeThenClosesTheScreen)
{
    for (const Screen_Case& c : Cases) {
        SCOPED_TRACE(c.name);
        auto s = c.make(p.st, p.msg, tpl.get());
        QString picked;
        bool open_after_arrow = false, open_after_pick = true, closed_by_escape = false;
        const int result = Open(s.get(), c, [&](TableScreen* d) {
            QTableView* g = Grid(d, c);
            const QModelIndex cell = g->model()->index(0, c.choice);
            g->setCurrentIndex(cell);
            g->edit(cell);
            auto* combo = g->viewport()->findChild<QComboBox*>();
            ASSERT_TRUE(combo);
            // The arrows on the closed box step through the values and keep the editor.
            QTest::keyClick(combo, Qt::Key_Down);
            open_after_arrow = g->indexWidget(cell) != nullptr;
            const QString second = combo->itemText(1);
            combo->showPopup();
            QTest::keyClick(combo->view(), Qt::Key_Down);
            QTest::keyClick(combo->view(), Qt::Key_Return);
            // A window manager gives the screen its activation back from the list.
            d->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(d));
            Settle();
            picked = cell.data(Qt::DisplayRole).toString();
            open_after_pick = g->indexWidget(cell) != nullptr;
            EXPECT_EQ(picked, second);
            EXPECT_EQ(QApplication::focusWidget(), g);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            closed_by_escape = !d->isVisible();
        });
        EXPECT_TRUE(open_after_arrow);
        EXPECT_FALSE(open_after_pick);
        EXPECT_FALSE(picked.isEmpty());
        EXPECT_TRUE(closed_by_escape);
        EXPECT_EQ(result, QDialog::Rejected);
    }
}
