#include "MqttTopicScreen.h"
#include "MonitorWindow.h"
#include "TopicTemplate.h"

#include "session/Projects.h"
#include "lang/Texts.h"
#include "project/nmea/NmeaAccess.h"
#include "project/pargen/ParGen.h"

#include "BrokerFixture.h"
#include "KeyChord.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QUndoStack>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace swr;
using swr::test::ProgramFolder;

namespace {

constexpr int Template = Pub_Template_Col - 1; // model columns
constexpr int Mnemonic = 12;
constexpr int Time = 11;

QByteArray Rule(int n, const QByteArray& extra = "Template=\"$VALUE$\" OnChange=\"Y\" OnTimer=\"N\"")
{
    const QByteArray i = QByteArray::number(n);
    return "<row Topic=\"T" + i + "\" Retained=\"N\" QoS=\"0\" DataType=\"Int\" Dimension=\"2\" Position=\""
           + QByteArray::number((n - 1) % 1000 * 2) + "\" " + extra + " Time=\"" + i + "\" Mnemonic=\"M" + i
           + "\"/>";
}

QByteArray Topic_File(int rules, const QByteArray& sub = {})
{
    QByteArray pub;
    for (int n = 1; n <= rules; ++n)
        pub += Rule(n);
    return "<MQTT_Set_Topic><MQTT_Publish>" + pub + "</MQTT_Publish><MQTT_Subscribe>" + sub
           + "</MQTT_Subscribe></MQTT_Set_Topic>";
}

struct TopicScreen : ::testing::Test {
    ProgramFolder p;
    std::unique_ptr<TFTopicTemplate> tpl;
    std::unique_ptr<TFMQTT_Set_Topic> scr;

    void SetUp() override
    {
        p.start();
        ASSERT_EQ(Create_New_Project(p.st, "Ship"), 0);
        tpl = std::make_unique<TFTopicTemplate>(p.st);
        scr = std::make_unique<TFMQTT_Set_Topic>(p.st, p.msg, tpl.get());
    }
    void Write(const QByteArray& bytes) const { p.write("PROJECTS/Ship/MQTT_Set_Topic.xml", bytes); }
    QByteArray File() const { return p.read("PROJECTS/Ship/MQTT_Set_Topic.xml"); }
    // Opens the screen as its step does, loaded first, without the modal loop.
    void Show()
    {
        scr->hide();
        ASSERT_TRUE(scr->FormShow());
        scr->show();
    }
    QString Cell(int row, int column) const { return scr->Pub_Model->Text(row - 1, column); }
    void Select(int row, int column = 0) { scr->ACG_Pub->setCurrentIndex(scr->Pub_Model->index(row - 1, column)); }
    // Selects the cells of column in the rows, as Ctrl and the mouse would, the first current.
    void Select_Cells(const QList<int>& rows, int column = 0)
    {
        QItemSelectionModel* sel = scr->ACG_Pub->selectionModel();
        sel->setCurrentIndex(scr->Pub_Model->index(rows.front() - 1, column), QItemSelectionModel::ClearAndSelect);
        for (int r : rows)
            sel->select(scr->Pub_Model->index(r - 1, column), QItemSelectionModel::Select);
    }
    // The Topic column of rows 1..10.
    QStringList Topics() const
    {
        QStringList t;
        for (int r = 1; r <= 10; ++r)
            t << Cell(r, 0);
        return t;
    }
    // A key on the grid, with the screen the active window as a user's would be.
    void Key(int key, Qt::KeyboardModifiers mods = Qt::ControlModifier)
    {
        test::Key_Chord(scr.get(), scr->ACG_Pub, key, mods);
    }
    QString Text(int i) const { return p.st.Get_Lang_Text(i); }
    // The status line, which follows the grid's first paint and every change.
    QString Status()
    {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(scr.get()));
        for (int i = 0; i < 100 && (scr->L_Status->text().isEmpty() || i < 2); ++i)
            QApplication::processEvents();
        return scr->L_Status->text();
    }
    // What the core writes for the file as it is now: the load and save swr2305-cli
    // resave runs.
    QByteArray Core_Resave() const
    {
        MQTT_Topic_Table m;
        EXPECT_TRUE(Load_MQTT_Topic(p.st, p.st.File_MQTT_Topic, m).ok);
        EXPECT_EQ(Controllo_dati(p.st, m), "");
        const QString out = p.path("resaved.xml");
        EXPECT_TRUE(Save_MQTT_Topic(p.st, out, m).ok);
        return p.read("resaved.xml");
    }
};

} // namespace

TEST_F(TopicScreen, LayoutTextsAndColumns)
{
    Show();
    EXPECT_EQ(scr->windowTitle(), "Set MQTT Topics");
    EXPECT_EQ(scr->P_Title->L_SW_Code->text(), "SWR2305");
    EXPECT_EQ(scr->P_Title->L_SW_Desc->text(), "Set MQTT Topics");
    EXPECT_EQ(scr->size(), QSize(1100, 337));
    EXPECT_EQ(scr->PageControl1->currentWidget(), scr->TS_MQTT_Publish);
    EXPECT_TRUE(scr->PageControl1->isTabVisible(0));
    EXPECT_FALSE(scr->PageControl1->isTabVisible(1));
    EXPECT_EQ(scr->PageControl1->tabText(0), "MQTT Publish");
    EXPECT_EQ(scr->Byte_IN, 2000);
    EXPECT_EQ(scr->Byte_OUT, 2000);

    // 1025 rows and 14 columns with the header row and the row-number column.
    QTableView* g = scr->ACG_Pub;
    EXPECT_EQ(g->model()->rowCount() + 1, 1025);
    EXPECT_EQ(g->model()->columnCount() + 1, 14);
    EXPECT_EQ(scr->ACG_Sub->model()->rowCount() + 1, 1025);
    for (int c = 0; c < 13; ++c)
        EXPECT_EQ(g->isColumnHidden(c), c == 6 || c == 7) << c;
    const QStringList headers = {"Topic", "Retained", "QoS", "Data Type", "Dimension", "Position", "IP Address",
                                 "Input Template", "Template", "OnChange", "OnTimer", "Time(ms)", "Mnemonic"};
    for (int c = 0; c < 13; ++c)
        EXPECT_EQ(g->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
    EXPECT_EQ(g->model()->headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString(), Text(1319));
    EXPECT_EQ(Text(1319), "Insert the MQTT Topic");
    EXPECT_EQ(g->model()->headerData(12, Qt::Horizontal, Qt::ToolTipRole).toString(), Text(1322));
    EXPECT_EQ(g->model()->headerData(0, Qt::Vertical).toInt(), 1);
    EXPECT_FALSE(g->model()->headerData(0, Qt::Vertical, Qt::ToolTipRole).isValid()) << "an empty row has no marker";

    // Editors: check boxes, the lists and the editable template list.
    const QModelIndex retained = g->model()->index(0, 1);
    EXPECT_EQ(retained.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_EQ(Cell(1, 1), "") << "never touched";
    EXPECT_TRUE(g->model()->setData(retained, Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(Cell(1, 1), "Y");
    EXPECT_TRUE(g->model()->setData(retained, Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_EQ(Cell(1, 1), "N");
    EXPECT_EQ(g->model()->index(0, 2).data(Choices_Role).toStringList(), (QStringList{"0", "1", "2"}));
    EXPECT_EQ(g->model()->index(0, 3).data(Choices_Role).toStringList(),
              (QStringList{"Int", "Float", "String", "Base64"}));
    EXPECT_FALSE(g->model()->setData(g->model()->index(0, 3), "Double", Qt::EditRole));
    EXPECT_EQ(g->model()->index(0, Template).data(Choices_Role).toStringList(), QStringList{"$VALUE$"});
    EXPECT_TRUE(g->model()->setData(g->model()->index(0, Template), "{\"v\":$VALUE$}", Qt::EditRole));

    // Buttons with captions and hints.
    const struct {
        QPushButton* b;
        int text, hint;
    } buttons[] = {{scr->Btn_OK, 1302, 1308},     {scr->Btn_Cancel, 1303, 1309}, {scr->Btn_DelRow, 1304, 1310},
                   {scr->Btn_InsRow, 1305, 1311}, {scr->Btn_CopyRow, 1306, 1312}, {scr->Btn_PasteRow, 1307, 1313},
                   {scr->Btn_Monitor, Txt::Btn_Monitor, Txt::Btn_Monitor_Hint},
                   {scr->Btn_Export, Txt::Btn_Export, Txt::Btn_Export + 1},
                   {scr->Btn_Import, Txt::Btn_Import, Txt::Btn_Import + 1}};
    for (const auto& b : buttons) {
        EXPECT_EQ(b.b->text(), Text(b.text));
        EXPECT_EQ(b.b->toolTip(), Text(b.hint));
    }
    EXPECT_EQ(Status(), "Rules in use: 0 of 1024    Bank 3: 174 of 131072 bytes");

    // Tab order from the grid: the row buttons, Data Area, Export, Import, Monitor, then OK
    // and Cancel.
    QList<QWidget*> order;
    for (QWidget* w = g->nextInFocusChain(); w != g && order.size() < 10; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(scr.get()))
            order.append(w);
    EXPECT_EQ(order, (QList<QWidget*>{scr->Btn_DelRow, scr->Btn_InsRow, scr->Btn_CopyRow, scr->Btn_PasteRow,
                                      scr->Btn_DataArea, scr->Btn_Export, scr->Btn_Import, scr->Btn_Monitor,
                                      scr->Btn_OK, scr->Btn_Cancel}));

    // Texts follow the language.
    p.st.Lang_Table[1315] = "Thema";
    p.st.Lang_Table[1302] = "Gut";
    scr->Set_Lang();
    EXPECT_EQ(g->model()->headerData(0, Qt::Horizontal).toString(), "Thema");
    EXPECT_EQ(scr->Btn_OK->text(), "Gut");
}

TEST_F(TopicScreen, InsertRowOnAFullTableDropsTheLastRow)
{
    Write(Topic_File(1024));
    Show();
    ASSERT_EQ(Cell(1024, 0), "T1024");
    Select(3, 4);
    scr->Btn_InsRow->click();
    EXPECT_EQ(Cell(2, 0), "T2");
    for (int c = 0; c < 13; ++c)
        EXPECT_EQ(Cell(3, c), "") << "column 1 is not marked either: " << c;
    EXPECT_EQ(Cell(4, 0), "T3");
    EXPECT_EQ(Cell(4, 1), "N") << "check-box cells move with their text";
    EXPECT_EQ(Cell(4, Mnemonic), "M3");
    EXPECT_EQ(Cell(1024, 0), "T1023");
    EXPECT_EQ(Cell(1024, Time), "1023");
    EXPECT_EQ(Status().left(30), "Rules in use: 1023 of 1024    ");
}

TEST_F(TopicScreen, DeleteRowAsksAndMovesEveryColumnUp)
{
    Write(Topic_File(1024));
    Show();
    Select(3);
    p.msg.answers = {false};
    scr->Btn_DelRow->click();
    ASSERT_EQ(p.msg.questions, QStringList{"Are you sure to delete the Row number 3"});
    EXPECT_EQ(Cell(3, 0), "T3");

    p.msg.answers = {true};
    scr->Btn_DelRow->click();
    EXPECT_EQ(Cell(3, 0), "T4");
    EXPECT_EQ(Cell(3, Mnemonic), "M4");
    EXPECT_EQ(Cell(3, Time), "4");
    EXPECT_EQ(Cell(1023, 0), "T1024");
    for (int c = 0; c < 13; ++c)
        EXPECT_EQ(Cell(1024, c), "") << c;
}

// A cell still being edited goes into the table before a row button or OK acts on it.
TEST_F(TopicScreen, AnOpenEditGoesInFirst)
{
    Write(Topic_File(2));
    Show();
    QTableView* g = scr->ACG_Pub;
    const auto type_into = [&](int row, const QString& text) {
        Select(row, Mnemonic);
        QTest::keyClick(g, text.at(0).toLatin1()); // opens the editor with that character
        auto* editor = qobject_cast<QLineEdit*>(g->indexWidget(g->currentIndex()));
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, text.mid(1));
    };
    type_into(2, "moved");
    scr->Btn_InsRow->click();
    EXPECT_EQ(Cell(3, Mnemonic), "moved");
    EXPECT_EQ(Cell(2, Mnemonic), "");
    EXPECT_FALSE(g->indexWidget(g->currentIndex()));
    EXPECT_EQ(g->currentIndex(), scr->Pub_Model->index(1, Mnemonic));

    type_into(1, "kept");
    scr->Btn_OK->click();
    EXPECT_FALSE(scr->isVisible());
    EXPECT_TRUE(File().contains("Mnemonic=\"kept\"")) << File().toStdString();
    EXPECT_TRUE(File().contains("Mnemonic=\"moved\""));
}

TEST_F(TopicScreen, CopyFlagsStartClearAtEveryShowingAndTheClipboardStays)
{
    Write(Topic_File(3));
    Show();
    Select(2);
    scr->Btn_CopyRow->click();
    EXPECT_TRUE(scr->Do_Copy_Pub);
    EXPECT_FALSE(scr->Do_Copy_Sub);
    ASSERT_EQ(p.st.Row_Clipboard.size(), 13);
    EXPECT_EQ(p.st.Row_Clipboard[0], "T2");
    Select(5);
    scr->Btn_PasteRow->click();
    EXPECT_EQ(Cell(5, 0), "T2");
    EXPECT_TRUE(p.msg.questions.isEmpty()) << "an empty row is pasted without asking";

    // Shown again: the row copied earlier is still there, the copy flag is not.
    Show();
    EXPECT_FALSE(scr->Do_Copy_Pub);
    EXPECT_EQ(p.st.Row_Clipboard[0], "T2");
    Select(5);
    scr->Btn_PasteRow->click();
    EXPECT_EQ(p.msg.errors, QStringList{Text(Txt::Paste_No_Copy)});
    EXPECT_EQ(Cell(5, 0), "");

    // A row of another column count cannot be pasted.
    scr->Btn_CopyRow->click();
    p.st.Row_Clipboard.removeLast();
    scr->Btn_PasteRow->click();
    EXPECT_EQ(p.msg.errors.last(), Text(Txt::Paste_Bad_Copy));
}

TEST_F(TopicScreen, TemplateCellOpensTheTemplateEditor)
{
    Write(Topic_File(2));
    Show();
    // Runs act on the editor once it is shown.
    const auto when_open = [&](const std::function<void()>& act) {
        QTimer::singleShot(0, tpl.get(), [this, act] {
            ASSERT_TRUE(tpl->isVisible());
            act();
        });
    };
    QTableView* g = scr->ACG_Pub;
    g->scrollTo(g->model()->index(1, Template));
    const QRect cell = g->visualRect(g->model()->index(1, Template));
    bool opened = false;
    when_open([&] {
        opened = true;
        EXPECT_EQ(tpl->windowTitle(), "Set Template");
        EXPECT_EQ(tpl->RE_TopicTemplate->toPlainText(), "$VALUE$");
        tpl->RE_TopicTemplate->setPlainText("{\"lat\":\n$VALUE$}");
        tpl->Btn_OK->click();
    });
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(opened);
    EXPECT_EQ(Cell(2, Template), "{\"lat\":\r\n$VALUE$}");
    EXPECT_EQ(g->model()->index(1, Template).data().toString(), "{\"lat\": \u21B5 $VALUE$}") << "shown on one line";
    EXPECT_EQ(g->currentIndex(), g->model()->index(1, Template));
    EXPECT_FALSE(g->indexWidget(g->currentIndex())) << "no drop-down left open in the cell";

    // From the keyboard, then cancelled: the cell as it was.
    opened = false;
    when_open([&] {
        opened = true;
        tpl->RE_TopicTemplate->setPlainText("changed");
        tpl->Btn_Cancel->click();
    });
    QTest::keyClick(g, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(opened);
    EXPECT_EQ(Cell(2, Template), "{\"lat\":\r\n$VALUE$}");

    // Another cell: Ctrl+Enter opens nothing.
    Select(2, 0);
    QTest::keyClick(g, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(tpl->isVisible());

    // The two-line template is saved with its line break.
    scr->Btn_OK->click();
    EXPECT_TRUE(File().contains("Template=\"{&quot;lat&quot;:&#13;&#10;$VALUE$}\"")) << File().toStdString();
}

TEST_F(TopicScreen, OkWritesWhatResaveWrites)
{
    // Written by hand: odd spacing, line breaks, missing optional attributes.
    Write("<MQTT_Set_Topic>\r\n <MQTT_Publish>\r\n"
          "  <row Topic=\" ship/nav/gga/lat \" Retained=\"Y\" QoS=\"1\" DataType=\" float\" Dimension=\"4\""
          " Position=\"0\" Template=\"{&#13;&#10;&quot;lat&quot;: $VALUE$&#13;&#10;}\" Mnemonic=\"Latitude\"/>\r\n"
          "  <row Topic=\"ship/nav/rmc/sog\" Retained=\"\" QoS=\"\" DataType=\"String\" Dimension=\"8\""
          " Position=\"1999\" IPAddress=\"10.0.0.9\" OnTimer=\"Y\" Time=\"250\" Mnemonic=\"\u00dcber\"/>\r\n"
          " </MQTT_Publish>\r\n <MQTT_Subscribe/>\r\n</MQTT_Set_Topic>\r\n");
    const QByteArray expected = Core_Resave();
    Show();
    EXPECT_TRUE(p.msg.errors.isEmpty()) << p.msg.errors.join('\n').toStdString();
    scr->Btn_OK->click();
    EXPECT_FALSE(scr->isVisible());
    EXPECT_EQ(scr->result(), QDialog::Accepted);
    EXPECT_EQ(File(), expected);
    EXPECT_TRUE(File().contains("IPAddress=\"10.0.0.9\"")) << "hidden columns are carried through";

    // Cancel writes nothing, even after edits.
    Show();
    scr->Pub_Model->setData(scr->Pub_Model->index(0, 0), "other", Qt::EditRole);
    scr->Btn_Cancel->click();
    EXPECT_EQ(scr->result(), QDialog::Rejected);
    EXPECT_EQ(File(), expected);
    Show();
    EXPECT_EQ(Cell(1, 0), " ship/nav/gga/lat ") << "every showing starts from the file";
}

TEST_F(TopicScreen, NoRuleIsLostBehindAnEmptyRow)
{
    Write(Topic_File(3));
    Show();
    Select(2);
    scr->Btn_InsRow->click();
    ASSERT_EQ(Cell(2, 0), "");
    scr->Btn_OK->click();
    EXPECT_TRUE(p.msg.errors.isEmpty()) << p.msg.errors.join('\n').toStdString();
    EXPECT_EQ(File().count("<row "), 3);
    EXPECT_TRUE(File().contains("Topic=\"T3\""));

    // A half-filled row without a topic is refused; nothing is written and the screen
    // stays open on that row.
    Show();
    const QByteArray before = File();
    scr->Pub_Model->setData(scr->Pub_Model->index(4, Mnemonic), "no topic yet", Qt::EditRole);
    const QString message = "Error row 5" + Text(1478);
    EXPECT_EQ(scr->Pub_Model->headerData(4, Qt::Vertical, Qt::ToolTipRole).toString(), message);
    EXPECT_TRUE(scr->Pub_Model->headerData(4, Qt::Vertical, Qt::DecorationRole).isValid());
    Select(1);
    scr->Btn_OK->click();
    EXPECT_EQ(p.msg.errors, QStringList{message});
    EXPECT_EQ(message, "Error row 5!! [MQTT Publish] Topic must be inserted");
    EXPECT_TRUE(scr->isVisible());
    EXPECT_EQ(scr->ACG_Pub->currentIndex().row(), 4);
    EXPECT_EQ(File(), before);
    EXPECT_EQ(Cell(5, Mnemonic), "no topic yet");
}

TEST_F(TopicScreen, SubscribeRowsAreCheckedButNeverSaved)
{
    const QByteArray bad_sub = "<row Topic=\"s\" Retained=\"N\" QoS=\"0\" DataType=\"\" Mnemonic=\"\"/>";
    Write(Topic_File(1, bad_sub));
    Show();
    EXPECT_EQ(scr->Sub_Model->Text(0, 0), "s");
    EXPECT_FALSE(scr->ACG_Sub->isVisible());
    scr->Btn_OK->click();
    EXPECT_EQ(p.msg.errors, QStringList{"Error row 1" + Text(1357)});
    EXPECT_TRUE(scr->isVisible());

    const QByteArray good_sub = "<row Topic=\"s\" Retained=\"N\" QoS=\"0\" DataType=\"Int\" Dimension=\"2\""
                                " Position=\"0\" Port=\"502\" EthType=\"TCP\" Mnemonic=\"\"/>";
    Write(Topic_File(1, good_sub));
    Show();
    scr->Btn_OK->click();
    EXPECT_FALSE(scr->isVisible());
    EXPECT_TRUE(File().contains("<MQTT_Subscribe />")) << File().toStdString();
    EXPECT_TRUE(File().contains("Topic=\"T1\""));
}

TEST_F(TopicScreen, FilesThatCannotBeLoaded)
{
    // Not well-formed: the XML message with file, line and column (text 904); the screen
    // does not open.
    Write("<MQTT_Set_Topic><MQTT_Publish>" + Rule(1) + "</MQTT_Set_Topic>");
    EXPECT_EQ(scr->Show_Topics(), QDialog::Rejected);
    EXPECT_FALSE(scr->isVisible());
    ASSERT_EQ(p.msg.errors.size(), 1);
    pugi::xml_document doc;
    EXPECT_EQ(p.msg.errors[0], Load_Project_Xml(p.st, p.st.File_MQTT_Topic, doc).message);
    EXPECT_TRUE(p.msg.errors[0].startsWith(Text(904).section('%', 0, 0))) << p.msg.errors[0].toStdString();

    // A row without a required attribute: file and row named.
    p.msg.errors.clear();
    Write(Topic_File(2).replace("Mnemonic=\"M2\"", ""));
    EXPECT_EQ(scr->Show_Topics(), QDialog::Rejected);
    EXPECT_FALSE(scr->isVisible());
    const QString file = QDir::toNativeSeparators(p.st.File_MQTT_Topic);
    EXPECT_EQ(p.msg.errors, QStringList{Text(1477).arg(file).arg(2).arg("MQTT_Publish", "Mnemonic")});

    // More rows than the table: the rest is named in a warning.
    p.msg.errors.clear();
    Write(Topic_File(1030));
    Show();
    EXPECT_TRUE(p.msg.errors.isEmpty());
    EXPECT_EQ(p.msg.warnings, QStringList{Text(1399).arg(file).arg(1030).arg(1024)});
}

TEST_F(TopicScreen, AFailedWriteLosesNothing)
{
    Write(Topic_File(2));
    Show();
    scr->Pub_Model->setData(scr->Pub_Model->index(0, Mnemonic), "edited", Qt::EditRole);
    // The file's place is taken by a folder: the write fails.
    QFile::remove(p.st.File_MQTT_Topic);
    ASSERT_TRUE(QDir().mkpath(p.st.File_MQTT_Topic));
    scr->Btn_OK->click();
    ASSERT_EQ(p.msg.errors.size(), 1);
    EXPECT_TRUE(p.msg.errors[0].startsWith(Text(905).section('%', 0, 0))) << p.msg.errors[0].toStdString();
    EXPECT_TRUE(scr->isVisible());
    EXPECT_EQ(Cell(1, Mnemonic), "edited");
}

TEST_F(TopicScreen, MarkersAndStatus)
{
    // Listener rows fill bytes 0..3 (a latitude) and 10..10 (hours).
    NMEA_Listener_Table t;
    t.row(1).Sentence = "GGA";
    t.row(1).DataField = "Latitude, Minutes [floating point]";
    t.row(1).PortOperation = "None";
    t.row(1).Position = "0";
    t.row(2).Sentence = "GGA";
    t.row(2).DataField = "UTC of position, Hours [decimal]";
    t.row(2).PortOperation = "None";
    t.row(2).Position = "10";
    ASSERT_TRUE(Save_NMEA_Access(p.st, p.st.File_NMEA_Access, t).ok);
    p.write("PROJECTS/Ship/ParGen.xml", "<ParGen/>"); // the serial line on: the rows compile
    Write("<MQTT_Set_Topic><MQTT_Publish>"
          + Rule(1, "Template=\"$VALUE$\"").replace("DataType=\"Int\" Dimension=\"2\"", "DataType=\"Float\" Dimension=\"4\"")
          + Rule(2, "Template=\"$VALUE\"") // refused by the check
          + Rule(3, "Template=\"\"").replace("Position=\"4\"", "Position=\"20\"") // nobody fills 20, 21
          + Rule(4, "Template=\"\"").replace("Position=\"6\"", "Position=\"2\"") // half the latitude
          + "</MQTT_Publish><MQTT_Subscribe/></MQTT_Set_Topic>");
    Show();
    const auto tip = [&](int row) { return scr->Pub_Model->headerData(row - 1, Qt::Vertical, Qt::ToolTipRole).toString(); };
    EXPECT_EQ(tip(1), "");
    // An error comes first; the row's warnings follow it.
    EXPECT_EQ(tip(2), "Error row 2" + Text(1378) + "\n" + Text(Txt::Map_Part).arg(2).arg(2).arg(3).arg(1).arg(0).arg(3));
    EXPECT_EQ(tip(3), Text(Txt::Map_Unfilled).arg(3).arg(20).arg(21).arg(2));
    EXPECT_EQ(tip(4), Text(Txt::Map_Part).arg(4).arg(2).arg(3).arg(1).arg(0).arg(3));
    EXPECT_TRUE(tip(5).isEmpty());

    // Markers follow edits; warnings do not stop OK.
    scr->Pub_Model->setData(scr->Pub_Model->index(1, Template), "$VALUE$", Qt::EditRole);
    EXPECT_EQ(tip(2), Text(Txt::Map_Part).arg(2).arg(2).arg(3).arg(1).arg(0).arg(3));
    EXPECT_TRUE(Status().startsWith("Rules in use: 4 of 1024    Bank 3: ")) << Status().toStdString();
    scr->Btn_OK->click();
    EXPECT_TRUE(p.msg.errors.isEmpty());
    EXPECT_FALSE(scr->isVisible());
}

// A rule without a QoS passes the check but not Update Device: its marker warns, in a
// marker that reads differently from an error's, and OK saves the file as ever.
TEST_F(TopicScreen, RuleWithoutQoSIsMarkedAsAWarning)
{
    // Listener rows fill the bytes the three rules read, two at a time.
    NMEA_Listener_Table t;
    for (int row = 1; row <= 3; ++row) {
        t.row(row).Sentence = "ZDA";
        t.row(row).DataField = "year [decimal]";
        t.row(row).PortOperation = "None";
        t.row(row).Position = QString::number((row - 1) * 2);
    }
    ASSERT_TRUE(Save_NMEA_Access(p.st, p.st.File_NMEA_Access, t).ok);
    p.write("PROJECTS/Ship/ParGen.xml", "<ParGen/>");
    QByteArray file = Topic_File(3);
    file.replace("Topic=\"T2\" Retained=\"N\" QoS=\"0\"", "Topic=\"T2\" Retained=\"N\" QoS=\"\"");
    Write(file);
    const QByteArray expected = Core_Resave(); // the warning passes the core's check too
    // Rule 3 has a template the check refuses, until it is mended on screen.
    const int rule_3 = file.indexOf("Topic=\"T3\"");
    Write(file.replace(file.indexOf("$VALUE$", rule_3), 7, "$VALUE"));
    Show();
    const auto header = [&](int row, int role) { return scr->Pub_Model->headerData(row - 1, Qt::Vertical, role); };
    EXPECT_FALSE(header(1, Qt::DecorationRole).isValid());
    EXPECT_EQ(header(2, Qt::ToolTipRole).toString(), Text(Txt::MQTT_Pub_QoS_Not_Chosen).arg(2));
    EXPECT_EQ(header(3, Qt::ToolTipRole).toString(), "Error row 3" + Text(1378));
    const QIcon warning = header(2, Qt::DecorationRole).value<QIcon>();
    const QIcon error = header(3, Qt::DecorationRole).value<QIcon>();
    ASSERT_FALSE(warning.isNull());
    ASSERT_FALSE(error.isNull());
    EXPECT_NE(warning.pixmap(16).toImage(), error.pixmap(16).toImage());
    const QString shots = qEnvironmentVariable("SWR_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        scr->grab().save(QDir(shots).filePath("topic_markers.png"));

    // OK goes to the error's cell; mended, the warning does not hold OK back.
    Select(1);
    scr->Btn_OK->click();
    EXPECT_EQ(p.msg.errors, QStringList{"Error row 3" + Text(1378)});
    EXPECT_EQ(scr->ACG_Pub->currentIndex(), scr->Pub_Model->index(2, Template));
    scr->Pub_Model->setData(scr->ACG_Pub->currentIndex(), "$VALUE$", Qt::EditRole);
    EXPECT_EQ(header(3, Qt::ToolTipRole).toString(), "");
    scr->Btn_OK->click();
    EXPECT_EQ(p.msg.errors.size(), 1);
    EXPECT_FALSE(scr->isVisible());
    EXPECT_EQ(scr->result(), QDialog::Accepted);
    EXPECT_EQ(File(), expected);
}

TEST_F(TopicScreen, MonitorButtonWatchesTheRulesOnScreenOnTheSavedBroker)
{
    test::MosquittoBroker broker;
    QString error;
    ASSERT_TRUE(broker.Start({}, &error)) << error.toStdString();
    ParGen m = ParGen_Defaults();
    m.Set_Text(ParKey::MQTT_Server_URL, "127.0.0.1");
    m.Set_Text(ParKey::MQTT_Server_Port, QString::number(broker.Port()));
    m.Set_Text(ParKey::MQTT_Client_ID, "ship");
    ASSERT_TRUE(Save_ParGen(p.st, p.st.File_ParGen, m).ok);
    Show();
    ASSERT_TRUE(scr->Pub_Model->setData(scr->Pub_Model->index(0, 0), "ship/speed", Qt::EditRole));
    scr->Btn_Monitor->click();
    auto* mon = scr->findChild<TFMonitor*>();
    ASSERT_TRUE(mon);
    EXPECT_TRUE(mon->isVisible());
    EXPECT_EQ(mon->ACG_Monitor->rowCount(), 1);
    EXPECT_EQ(mon->ACG_Monitor->item(0, 1)->text(), "ship/speed");
    EXPECT_TRUE(QTest::qWaitFor([&] { return mon->L_Status->text().contains("client ID ship-monitor: connected"); },
                                20000))
        << mon->L_Status->text().toStdString();
    EXPECT_TRUE(p.msg.errors.isEmpty());
    const QString shots = qEnvironmentVariable("SWR_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        scr->grab().save(QDir(shots).filePath("topic_screen.png"));
    mon->close(); // deleted when closed
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(scr->findChild<TFMonitor*>());
}

TEST_F(TopicScreen, RowButtonsOnBlocksOfRows)
{
    const auto copy_rows_1_2 = [this] {
        Select_Cells({1, 2});
        scr->Btn_CopyRow->click();
    };
    const struct {
        const char* what;
        std::function<void()> before; // a copy, say
        QList<int> rows;              // selected
        QPushButton* TFMQTT_Set_Topic::*button;
        std::deque<bool> answers;
        QStringList topics; // rows 1..10 after
        QString question, error;
    } cases[] = {
        {"delete a block", {}, {2, 3, 4}, &TFMQTT_Set_Topic::Btn_DelRow, {true},
         {"T1", "T5", "T6", "", "", "", "", "", "", ""}, "Are you sure you want to delete the 3 selected rows?", {}},
        {"delete rows apart", {}, {2, 4}, &TFMQTT_Set_Topic::Btn_DelRow, {true},
         {"T1", "T3", "T5", "T6", "", "", "", "", "", ""}, "Are you sure you want to delete the 2 selected rows?", {}},
        {"delete answered No", {}, {2, 3}, &TFMQTT_Set_Topic::Btn_DelRow, {false},
         {"T1", "T2", "T3", "T4", "T5", "T6", "", "", "", ""}, "Are you sure you want to delete the 2 selected rows?", {}},
        {"insert as many as selected", {}, {2, 3}, &TFMQTT_Set_Topic::Btn_InsRow, {},
         {"T1", "", "", "T2", "T3", "T4", "T5", "T6", "", ""}, {}, {}},
        {"paste a block into empty rows", copy_rows_1_2, {8, 9, 10}, &TFMQTT_Set_Topic::Btn_PasteRow, {},
         {"T1", "T2", "T3", "T4", "T5", "T6", "", "T1", "T2", ""}, {}, {}},
        {"paste over a used row asks once", copy_rows_1_2, {6}, &TFMQTT_Set_Topic::Btn_PasteRow, {true},
         {"T1", "T2", "T3", "T4", "T5", "T1", "T2", "", "", ""},
         Text(Txt::Paste_Rows_Overwrite).arg(1).arg(6).arg(7), {}},
        {"paste past the end", copy_rows_1_2, {1024}, &TFMQTT_Set_Topic::Btn_PasteRow, {},
         {"T1", "T2", "T3", "T4", "T5", "T6", "", "", "", ""}, {},
         "The 2 copied rows do not fit: from row 1024 to the end of the table there are only 1 rows. Select a row "
         "further up and paste again."},
    };
    for (const auto& c : cases) {
        Write(Topic_File(6));
        Show();
        if (c.before)
            c.before();
        p.msg.questions.clear();
        p.msg.errors.clear();
        p.msg.answers = c.answers;
        Select_Cells(c.rows);
        (scr.get()->*c.button)->click();
        EXPECT_EQ(Topics(), c.topics) << c.what;
        EXPECT_EQ(p.msg.questions.value(0), c.question) << c.what;
        EXPECT_EQ(p.msg.errors.value(0), c.error) << c.what;
    }
    // A block with the mouse and the keyboard: a click, then Shift and the arrows.
    Show();
    QTableView* g = scr->ACG_Pub;
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(scr->Pub_Model->index(2, 4)).center());
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(scr->Selected_Rows(), (QList<int>{3, 4, 5}));
    const QString shots = qEnvironmentVariable("SWR_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        scr->grab().save(QDir(shots).filePath("topic_block.png"));
}

TEST_F(TopicScreen, FillDownCopiesTheTopCellIntoTheCellsBelow)
{
    Write(Topic_File(5));
    Show();
    const int Retained = 1;
    scr->Pub_Model->setData(scr->Pub_Model->index(1, Template), "{\"v\":$VALUE$}", Qt::EditRole);
    scr->Pub_Model->setData(scr->Pub_Model->index(1, Retained), Qt::Checked, Qt::CheckStateRole);
    for (int column : {Template, Retained}) {
        Select_Cells({2, 3, 4}, column);
        Key(Qt::Key_D);
    }
    for (int r : {2, 3, 4}) {
        EXPECT_EQ(Cell(r, Template), "{\"v\":$VALUE$}") << r;
        EXPECT_EQ(Cell(r, Retained), "Y") << r;
    }
    EXPECT_EQ(Cell(5, Template), "$VALUE$");
    EXPECT_EQ(Cell(1, Retained), "N");

    // A selection over two columns, or a single cell, is no fill: said, nothing changed.
    Select_Cells({4, 5}, 0);
    scr->ACG_Pub->selectionModel()->select(scr->Pub_Model->index(4, Mnemonic), QItemSelectionModel::Select);
    Key(Qt::Key_D);
    Select_Cells({5});
    Key(Qt::Key_D);
    EXPECT_EQ(p.msg.errors, QStringList(2, Text(Txt::Fill_Down_One_Column)));
    EXPECT_EQ(Cell(5, 0), "T5");
    EXPECT_EQ(Cell(5, Mnemonic), "M5");
}

// Each kind of change goes back with Ctrl+Z and comes again with Ctrl+Y, the status line
// and the markers with it.
TEST_F(TopicScreen, UndoAndRedoEveryKindOfChange)
{
    const struct {
        const char* what;
        std::function<void()> change;
    } cases[] = {
        {"cell", [this] { scr->Pub_Model->setData(scr->Pub_Model->index(2, 0), "renamed", Qt::EditRole); }},
        {"check box", [this] { scr->Pub_Model->setData(scr->Pub_Model->index(2, 1), Qt::Checked, Qt::CheckStateRole); }},
        {"delete block",
         [this] {
             p.msg.answers = {true};
             Select_Cells({2, 3});
             scr->Btn_DelRow->click();
         }},
        {"insert block",
         [this] {
             Select_Cells({1, 2, 3});
             scr->Btn_InsRow->click();
         }},
        {"paste block",
         [this] {
             Select_Cells({1, 2});
             scr->Btn_CopyRow->click();
             Select_Cells({3});
             p.msg.answers = {true};
             scr->Btn_PasteRow->click();
         }},
        {"fill down",
         [this] {
             Select_Cells({1, 2, 3, 4}, Mnemonic);
             Key(Qt::Key_D);
         }},
    };
    // Row 4's template is refused by the check: its marker follows the row.
    Write("<MQTT_Set_Topic><MQTT_Publish>" + Rule(1) + Rule(2) + Rule(3) + Rule(4, "Template=\"$VALUE\"")
          + "</MQTT_Publish><MQTT_Subscribe/></MQTT_Set_Topic>");
    // The history belongs to one showing.
    Show();
    scr->Pub_Model->setData(scr->Pub_Model->index(0, 0), "gone at the next showing", Qt::EditRole);
    Show();
    EXPECT_EQ(scr->Undo_Stack->count(), 0);
    Key(Qt::Key_Z);
    EXPECT_EQ(Cell(1, 0), "T1");
    for (const auto& c : cases) {
        Show();
        const auto before = scr->Table.Pub;
        const QString status = Status();
        const auto marked = [this] {
            QList<int> rows;
            for (int r = 0; r < 10; ++r)
                if (scr->Pub_Model->headerData(r, Qt::Vertical, Qt::ToolTipRole).isValid())
                    rows << r + 1;
            return rows;
        };
        const QList<int> marked_before = marked();
        c.change();
        const auto after = scr->Table.Pub;
        const QList<int> marked_after = marked();
        ASSERT_FALSE(after == before) << c.what;
        ASSERT_EQ(scr->Undo_Stack->count(), 1) << c.what;
        Key(Qt::Key_Z);
        EXPECT_TRUE(scr->Table.Pub == before) << c.what;
        EXPECT_EQ(marked(), marked_before) << c.what;
        EXPECT_EQ(Status(), status) << c.what;
        Key(Qt::Key_Y);
        EXPECT_TRUE(scr->Table.Pub == after) << c.what;
        EXPECT_EQ(marked(), marked_after) << c.what;
    }
}
