// The table screens' find bar, replace, and Export and Import of CSV.
#include "FindBar.h"
#include "GridModel.h"
#include "MqttTopicScreen.h"
#include "NmeaAccessModel.h"
#include "NmeaAccessScreen.h"
#include "TopicTemplate.h"

#include "session/Projects.h"
#include "lang/Texts.h"
#include "project/TableCsv.h"

#include "KeyChord.h"
#include "TableFiles.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QUndoStack>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace swr;
using swr::test::ProgramFolder;

namespace {

constexpr int Topic = 0, Template = Pub_Template_Col - 1, Mnemonic = 12; // model columns

MQTT_Publish_Row Rule(const QString& topic, const QString& mnemonic = {}, int n = 0)
{
    return {topic, "N", "0", "Int", "2", QString::number(n * 2), {}, {}, "$VALUE$", "Y", "N", {}, mnemonic};
}

// The topic screen on a configuration whose file holds rules, shown as its step shows it.
struct FindScreen : ::testing::Test {
    ProgramFolder p;
    std::unique_ptr<TFTopicTemplate> tpl;
    std::unique_ptr<TFMQTT_Set_Topic> scr;
    QList<File_Choice> asked; // what the screen asked for a file
    QString answer;           // the path the user picks; empty: cancelled

    void SetUp() override
    {
        p.start();
        ASSERT_EQ(Create_New_Project(p.st, "Ship"), 0);
        tpl = std::make_unique<TFTopicTemplate>(p.st);
        scr = std::make_unique<TFMQTT_Set_Topic>(p.st, p.msg, tpl.get());
        scr->Choose_File = [this](const File_Choice& c) {
            asked.append(c);
            return answer;
        };
    }
    void Open(const QList<MQTT_Publish_Row>& rules)
    {
        MQTT_Topic_Table m;
        for (qsizetype i = 0; i < rules.size(); ++i)
            m.Pub[i] = rules.at(i);
        ASSERT_TRUE(Save_MQTT_Topic(p.st, p.st.File_MQTT_Topic, m).ok);
        ASSERT_TRUE(scr->FormShow());
        scr->show();
        QApplication::setActiveWindow(scr.get());
    }
    FindBar& bar() { return *scr->P_Find; }
    QString Cell(int row, int column) const { return scr->Pub_Model->Text(row - 1, column); }
    int Current_Row() const { return scr->ACG_Pub->currentIndex().row() + 1; }
    QList<int> Coloured_Rows() const
    {
        QList<int> rows;
        for (int r = 0; r < scr->Pub_Model->rowCount(); ++r)
            if (scr->Pub_Model->Found(r))
                rows.append(r + 1);
        return rows;
    }
    void Key(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        test::Key_Chord(scr.get(), target, key, mods);
    }
    void Type_Find(const QString& text)
    {
        bar().E_Find->clear();
        QTest::keyClicks(bar().E_Find, text);
    }
    void Select_Rows(int first, int last)
    {
        QItemSelectionModel* sel = scr->ACG_Pub->selectionModel();
        sel->setCurrentIndex(scr->Pub_Model->index(first - 1, 0), QItemSelectionModel::NoUpdate);
        sel->select(QItemSelection(scr->Pub_Model->index(first - 1, 0), scr->Pub_Model->index(last - 1, 0)),
                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    QString Text(int i) const { return p.st.Get_Lang_Text(i); }
};

TEST_F(FindScreen, CtrlFFindsInTopicTemplateAndMnemonicAndF3GoesRound)
{
    MQTT_Publish_Row in_template = Rule("nav/b", {}, 2);
    in_template.Template = "{\"SHIP1\": $VALUE$}";
    Open({Rule("ship1/a", {}, 1), in_template, Rule("nav/c", "x", 3), Rule("nav/d", "engine of Ship1", 4),
          Rule("ship2/e", {}, 5)});

    Key(scr->ACG_Pub, Qt::Key_F, Qt::ControlModifier);
    ASSERT_FALSE(bar().isHidden());
    EXPECT_EQ(QApplication::focusWidget(), bar().E_Find);
    Type_Find("ship1");
    EXPECT_EQ(bar().Found_Rows(), (QList<int>{1, 2, 4})) << "any case, in Topic, Template and Mnemonic";
    EXPECT_EQ(Coloured_Rows(), (QList<int>{1, 2, 4}));
    EXPECT_TRUE(scr->Pub_Model->index(1, Topic).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(scr->Pub_Model->index(2, Topic).data(Qt::BackgroundRole).isValid());
    EXPECT_EQ(scr->Selected_Rows(), QList<int>{1}) << "the first match is selected";
    EXPECT_EQ(bar().L_Find_Count->text(), "Match 1 of 3");
    EXPECT_EQ(QApplication::focusWidget(), bar().E_Find) << "typing goes on in the field";

    // F3 from the field and from the grid, round the end; Shift+F3 back round the start.
    Key(bar().E_Find, Qt::Key_F3);
    EXPECT_EQ(Current_Row(), 2);
    EXPECT_EQ(scr->ACG_Pub->currentIndex().column(), Template) << "the cell that matches";
    Key(scr->ACG_Pub, Qt::Key_F3);
    EXPECT_EQ(Current_Row(), 4);
    EXPECT_EQ(scr->ACG_Pub->currentIndex().column(), Mnemonic);
    EXPECT_EQ(bar().L_Find_Count->text(), "Match 3 of 3");
    Key(scr->ACG_Pub, Qt::Key_F3);
    EXPECT_EQ(Current_Row(), 1);
    Key(scr->ACG_Pub, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(Current_Row(), 4);
    scr->ACG_Pub->setCurrentIndex(scr->Pub_Model->index(2, Topic));
    EXPECT_EQ(bar().L_Find_Count->text(), "Matches: 3") << "off the matches";
    Key(scr->ACG_Pub, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(Current_Row(), 2);

    bar().CB_Match_Case->setChecked(true);
    EXPECT_EQ(bar().Found_Rows(), QList<int>{1});
    Type_Find("nothing here");
    EXPECT_EQ(bar().L_Find_Count->text(), "No matches");
    EXPECT_TRUE(Coloured_Rows().isEmpty());
    bar().CB_Match_Case->setChecked(false);

    // An edit of the grid counts at once; the selection stays where the user is.
    Type_Find("nav/");
    EXPECT_EQ(bar().Found_Rows(), (QList<int>{2, 3, 4}));
    scr->ACG_Pub->setCurrentIndex(scr->Pub_Model->index(9, Topic));
    ASSERT_TRUE(scr->Pub_Model->setData(scr->Pub_Model->index(4, Topic), "nav/e", Qt::EditRole));
    QApplication::processEvents();
    EXPECT_EQ(bar().Found_Rows(), (QList<int>{2, 3, 4, 5}));
    EXPECT_EQ(Coloured_Rows(), (QList<int>{2, 3, 4, 5}));
    EXPECT_EQ(Current_Row(), 10);

    // Escape in the bar closes the bar, not the screen; the colour goes with it.
    Key(bar().E_Find, Qt::Key_Escape);
    EXPECT_TRUE(bar().isHidden());
    EXPECT_TRUE(scr->isVisible());
    EXPECT_EQ(scr->result(), QDialog::Rejected) << "not closed: still the result of no closing";
    EXPECT_TRUE(Coloured_Rows().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), scr->ACG_Pub);

    // F3 with the bar closed opens it on the last text and goes on.
    Key(scr->ACG_Pub, Qt::Key_F3);
    EXPECT_FALSE(bar().isHidden());
    EXPECT_EQ(Current_Row(), 2);
}

TEST_F(FindScreen, ReplaceAsksWithTheCountAndIsOneStep)
{
    QList<MQTT_Publish_Row> rules;
    for (int n = 1; n <= 5; ++n)
        rules.append(Rule(QString("ship1/sensor%1").arg(n), "on Ship1/ deck", n));
    Open(rules);
    const MQTT_Topic_Table before = scr->Table;

    scr->Open_Find(true);
    EXPECT_EQ(QApplication::focusWidget(), bar().E_Replace) << "Ctrl+H's way in";
    Type_Find("SHIP1/");
    bar().E_Replace->setText("ship2/");
    ASSERT_EQ(bar().CB_Replace_Column->count(), 3);
    EXPECT_EQ(bar().CB_Replace_Column->itemText(0), "Topic");
    bar().CB_Replace_Column->setCurrentIndex(0);
    EXPECT_FALSE(bar().CB_Replace_Selection->isChecked()) << "one row selected: the whole table";

    // No: nothing changes and no step is made.
    const int steps = scr->Undo_Stack->count();
    p.msg.answers = {false};
    bar().Btn_Replace->click();
    EXPECT_EQ(p.msg.questions,
              QStringList{"Replace \"SHIP1/\" with \"ship2/\" in the Topic column? Cells that will change: 5"});
    EXPECT_EQ(scr->Table.Pub, before.Pub);
    EXPECT_EQ(scr->Undo_Stack->count(), steps);

    // The selected rows only: two cells.
    Select_Rows(2, 3);
    bar().CB_Replace_Selection->setChecked(true);
    p.msg.questions.clear();
    p.msg.answers = {true};
    bar().Btn_Replace->click();
    EXPECT_EQ(p.msg.questions, QStringList{"Replace \"SHIP1/\" with \"ship2/\" in the Topic column of the selected "
                                           "rows? Cells that will change: 2"});
    EXPECT_EQ(Cell(1, Topic), "ship1/sensor1");
    EXPECT_EQ(Cell(2, Topic), "ship2/sensor2");
    EXPECT_EQ(Cell(3, Topic), "ship2/sensor3");
    EXPECT_EQ(Cell(2, Mnemonic), "on Ship1/ deck") << "one column only";
    EXPECT_EQ(scr->Undo_Stack->count(), steps + 1);

    // The whole table, then one undo takes all of it back and one redo puts it again.
    bar().CB_Replace_Selection->setChecked(false);
    p.msg.answers = {true};
    bar().Btn_Replace->click();
    EXPECT_TRUE(p.msg.questions.last().endsWith("Cells that will change: 3"));
    for (int r = 1; r <= 5; ++r)
        EXPECT_EQ(Cell(r, Topic), QString("ship2/sensor%1").arg(r));
    EXPECT_EQ(scr->Undo_Stack->count(), steps + 2);
    EXPECT_EQ(scr->Undo_Stack->undoText(), Text(Txt::Step_Replace));
    scr->Undo_Change();
    EXPECT_EQ(Cell(1, Topic), "ship1/sensor1");
    EXPECT_EQ(Cell(4, Topic), "ship1/sensor4");
    EXPECT_EQ(Cell(2, Topic), "ship2/sensor2") << "the earlier replace is a step of its own";
    scr->Undo_Change();
    EXPECT_EQ(scr->Table.Pub, before.Pub);
    scr->Redo_Change();
    scr->Redo_Change();
    EXPECT_EQ(Cell(5, Topic), "ship2/sensor5");

    // Nothing left to replace: said, and no question.
    p.msg.questions.clear();
    bar().Btn_Replace->click();
    EXPECT_TRUE(p.msg.questions.isEmpty());
    EXPECT_EQ(p.msg.infos.last(), "Nothing to replace: no cell of the Topic column holds \"SHIP1/\".");
}

// A replace is an edit like any other: the rows it empties carry the check's marker, and a
// found text that looks like a placeholder stays as typed in the question.
TEST_F(FindScreen, ReplaceRunsTheCheckAndKeepsPlaceholdersLiteral)
{
    Open({Rule("a%4", {}, 1), Rule("b", {}, 2)});
    scr->Open_Find(false);
    Type_Find("a%4");
    bar().E_Replace->setText("");
    p.msg.answers = {true};
    bar().Btn_Replace->click();
    EXPECT_EQ(p.msg.questions, QStringList{"Replace \"a%4\" with \"\" in the Topic column? Cells that will change: 1"});
    EXPECT_EQ(Cell(1, Topic), "");
    EXPECT_TRUE(scr->Pub_Model->headerData(0, Qt::Vertical, Qt::ToolTipRole).toString().contains(
        Text(Txt::MQTT_Pub_Topic_Missing)));
}

// Export writes the rows OK saves, from the grid as it is; the CSV of the saved file is the
// same bytes.
TEST_F(FindScreen, ExportWritesWhatOkSaves)
{
    Open({Rule("t1", "first", 1), Rule("=t2", "+formula", 2), Rule("t3", "line\r\nbreak, comma", 3)});
    ASSERT_TRUE(scr->Pub_Model->setData(scr->Pub_Model->index(1, Topic), "changed", Qt::EditRole));

    answer.clear();
    scr->Btn_Export->click();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].save);
    EXPECT_EQ(asked[0].title, Text(Txt::Export_Title));
    EXPECT_EQ(QFileInfo(asked[0].suggested).absoluteFilePath(),
              QFileInfo(p.st.Active_Project_Dir + "/MQTT_Set_Topic.csv").absoluteFilePath());
    EXPECT_FALSE(QFile::exists(asked[0].suggested)) << "given up: nothing written";

    answer = p.path("out.csv");
    scr->Btn_Export->click();
    const QByteArray exported = p.read("out.csv");
    scr->Btn_OK->click();
    ASSERT_EQ(scr->result(), QDialog::Accepted);
    QByteArray saved;
    ASSERT_TRUE(Export_Table_Csv(p.st, p.st.Active_Project_Dir, Csv_Table::Publish, &saved).ok);
    EXPECT_EQ(exported, saved);
    EXPECT_TRUE(exported.contains("changed"));

    answer = p.path("no folder/out.csv");
    scr->Btn_Export->click();
    ASSERT_EQ(p.msg.errors.size(), 1);
    EXPECT_TRUE(p.msg.errors[0].contains("out.csv")) << p.msg.errors[0].toStdString();
}

TEST_F(FindScreen, ImportFillsTheGridAsOneStepAndWaitsForOk)
{
    Open({Rule("old1", {}, 1), Rule("old2", {}, 2), Rule("old3", {}, 3)});
    const MQTT_Topic_Table before = scr->Table;
    const QByteArray file_before = p.read("PROJECTS/Ship/MQTT_Set_Topic.xml");
    p.write("in.csv", "\xEF\xBB\xBFTopic;QoS;DataType;Dimension;Position;Template;Mnemonic\n"
                      "new/1;1;Float;4;10;\"{\n\"\"v\"\": $VALUE$}\";'=sum\n"
                      "new/2;2;Int;2;20;$VALUE$;\n");
    answer = p.path("in.csv");
    const int steps = scr->Undo_Stack->count();
    scr->Btn_Import->click();
    EXPECT_TRUE(p.msg.errors.isEmpty()) << p.msg.errors.join('\n').toStdString();
    EXPECT_FALSE(asked.at(0).save);
    EXPECT_EQ(Cell(1, Topic), "new/1");
    EXPECT_EQ(Cell(1, Template), "{\n\"v\": $VALUE$}");
    EXPECT_EQ(Cell(1, Mnemonic), "=sum");
    EXPECT_EQ(Cell(2, Topic), "new/2");
    EXPECT_EQ(Cell(3, Topic), "") << "the import replaces the table";
    EXPECT_EQ(scr->Undo_Stack->count(), steps + 1);
    EXPECT_EQ(p.read("PROJECTS/Ship/MQTT_Set_Topic.xml"), file_before) << "nothing saved before OK";

    const MQTT_Topic_Table imported = scr->Table;
    test::Key_Chord(scr.get(), scr->ACG_Pub, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(scr->Table.Pub, before.Pub);
    test::Key_Chord(scr.get(), scr->ACG_Pub, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(scr->Table.Pub, imported.Pub);

    scr->Btn_OK->click();
    ASSERT_EQ(scr->result(), QDialog::Accepted);
    EXPECT_EQ(p.read("PROJECTS/Ship/MQTT_Set_Topic.xml"), test::Saved_Bytes(p, imported));
}

// Every kind of file the reader refuses: its message, naming the file and the line, and not
// a cell changed nor a step made.
TEST_F(FindScreen, ImportRefusesABadFileAndChangesNothing)
{
    Open({Rule("keep/1", "m", 1), Rule("keep/2", {}, 2)});
    const MQTT_Topic_Table before = scr->Table;
    QByteArray too_many = "Topic\r\n";
    for (int n = 1; n <= MQTT_Table_Rows + 1; ++n)
        too_many += "t" + QByteArray::number(n) + "\r\n";
    const struct {
        const char* name;
        QByteArray csv;
        QString line; // what the message says of the place
    } cases[] = {
        {"unknown column", "Topic,Colour\r\na,b\r\n", "Line 1"},
        {"more fields than the header", "Topic,QoS\r\na,1\r\nb,1,extra\r\n", "Line 3"},
        {"unclosed quote", "Topic,Mnemonic\r\na,\"never closed\r\n", "Line 2, column Mnemonic"},
        {"more rows than the table", too_many, "Line 1026"},
        {"a quote out of place", "Topic,QoS\r\nto\"pic,1\r\n", "Line 2, column Topic"},
    };
    answer = p.path("bad.csv");
    const int steps = scr->Undo_Stack->count();
    for (const auto& c : cases) {
        p.write("bad.csv", c.csv);
        p.msg.errors.clear();
        scr->Btn_Import->click();
        ASSERT_EQ(p.msg.errors.size(), 1) << c.name;
        EXPECT_TRUE(p.msg.errors[0].startsWith("Nothing was imported from")) << c.name;
        EXPECT_TRUE(p.msg.errors[0].contains("bad.csv")) << c.name;
        EXPECT_TRUE(p.msg.errors[0].contains(c.line)) << c.name << ": " << p.msg.errors[0].toStdString();
        EXPECT_EQ(scr->Table.Pub, before.Pub) << c.name;
        EXPECT_EQ(scr->Undo_Stack->count(), steps) << c.name;
    }
    answer = p.path("missing.csv");
    p.msg.errors.clear();
    scr->Btn_Import->click();
    ASSERT_EQ(p.msg.errors.size(), 1);
    EXPECT_TRUE(p.msg.errors[0].contains("missing.csv"));
    EXPECT_EQ(scr->Table.Pub, before.Pub);
}

// The listener screen: the find bar searches its Mnemonic, and a table with check marks
// and Index cells goes out and comes back in whole.
struct ListenerScreen : ::testing::Test {
    ProgramFolder p;
    std::unique_ptr<TFNMEA_0183_Set_Access2> s;
    void SetUp() override
    {
        p.start();
        p.st.File_NMEA_Access = p.path("NMEA_0183_Set_Access.xml");
        s = std::make_unique<TFNMEA_0183_Set_Access2>(p.st, p.msg);
        s->Choose_File = [this](const File_Choice&) { return p.path("listener.csv"); };
    }
};

TEST_F(ListenerScreen, FindsInMnemonicAndExportsAndImportsTheWholeRow)
{
    NMEA_Listener_Table t;
    t.row(2) = test::Listener_Row("GGA", test::Lat_Minutes, "0");
    t.row(2).Mnemonic = "Pump GGA";
    t.row(4) = test::Listener_Row("GSV", test::Gsv_Total, "4");
    t.row(4).Index = "3";
    t.row(4).SwapAll = true;
    t.row(4).Enable = false;
    t.row(6) = test::Listener_Row("GGA", test::Lat_Minutes, "10");
    ASSERT_TRUE(Save_NMEA_Access(p.st, p.st.File_NMEA_Access, t).ok);
    ASSERT_TRUE(s->FormShow());
    s->show();

    s->Open_Find(false);
    QTest::keyClicks(s->P_Find->E_Find, "gga");
    EXPECT_EQ(s->P_Find->Found_Rows(), QList<int>{2}) << "the Sentence column is not searched";
    EXPECT_EQ(s->P_Find->CB_Replace_Column->count(), 1);

    const NMEA_Listener_Table shown = s->Table;
    s->Btn_Export->click();
    EXPECT_EQ(p.read("listener.csv"), Table_Csv(shown));

    // Emptied, then imported back: the rows, their marks and the Index's editability.
    p.msg.answers = {true};
    s->ASG->selectAll();
    s->Btn_DelRowClick();
    ASSERT_NE(s->Table.row(4), shown.row(4));
    s->Btn_Import->click();
    EXPECT_TRUE(p.msg.errors.isEmpty()) << p.msg.errors.join('\n').toStdString();
    EXPECT_EQ(s->Table.row(2), shown.row(2));
    EXPECT_EQ(s->Table.row(4), shown.row(4));
    EXPECT_TRUE(s->Model->index(3, NMEA_Col_Index - 1).flags() & Qt::ItemIsEditable);
    s->Undo_Change();
    EXPECT_EQ(s->Table.row(4).Sentence, "");
}

} // namespace
