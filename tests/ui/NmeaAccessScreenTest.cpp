#include "GridModel.h"
#include "NmeaAccessModel.h"
#include "NmeaAccessScreen.h"

#include "lang/Texts.h"
#include "project/nmea/Nmea0183Catalogue.h"

#include "KeyChord.h"
#include "TableGrid.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QUndoStack>
#include <QtTest/QTest>

#include <gtest/gtest.h>


using namespace swr;
using swr::test::ProgramFolder;

namespace {

const char* const Gsv_First = "Total number of sentences [decimal]";
const char* const Gga_Lat_Minutes = "Latitude, Minutes [floating point]"; // 4 bytes
const char* const Gga_Lat_Direction = "Latitude, Direction [character]";       // 1 byte

constexpr int Col_Enable = 0, Col_Sentence = 2, Col_Index = 3, Col_Field = 4, Col_PostOpe = 5,
              Col_SwapAll = 6, Col_Position = 8, Col_Mnemonic = 9; // model columns

struct AccessFixture : ::testing::Test {
    void SetUp() override
    {
        p.start();
        p.st.File_NMEA_Access = p.path("NMEA_0183_Set_Access.xml");
        s = std::make_unique<TFNMEA_0183_Set_Access2>(p.st, p.msg);
    }
    NmeaAccessModel& m() { return *s->Model; }
    QModelIndex at(int row, int column) { return m().index(row - 1, column); }
    // A user's pick or typing in the cell of table row `row`.
    bool edit(int row, int column, const QString& value) { return m().setData(at(row, column), value, Qt::EditRole); }
    void fill(int row, const QString& sentence, const QString& field, const QString& position)
    {
        ASSERT_TRUE(edit(row, Col_Sentence, sentence));
        ASSERT_TRUE(edit(row, Col_Field, field));
        ASSERT_TRUE(edit(row, Col_PostOpe, "None"));
        ASSERT_TRUE(edit(row, Col_Position, position));
    }
    void select(int row) { s->ASG->setCurrentIndex(at(row, Col_Mnemonic)); }
    // Selects the cells of column in the rows first..last, the first current.
    void select(int first, int last, int column = Col_Mnemonic)
    {
        s->ASG->selectionModel()->setCurrentIndex(at(first, column), QItemSelectionModel::NoUpdate);
        s->ASG->selectionModel()->select(QItemSelection(at(first, column), at(last, column)),
                                         QItemSelectionModel::ClearAndSelect);
    }
    void key(int key) { test::Key_Chord(s.get(), s->ASG, key, Qt::ControlModifier); }
    bool file_exists() const { return QFile::exists(p.st.File_NMEA_Access); }

    ProgramFolder p;
    std::unique_ptr<TFNMEA_0183_Set_Access2> s;
};

} // namespace

TEST_F(AccessFixture, GridShape)
{
    ASSERT_TRUE(s->FormShow());
    EXPECT_EQ(m().columnCount(), 10); // and the row-number column, the vertical header
    EXPECT_EQ(m().rowCount(), 100);
    EXPECT_EQ(ModelGrid(&m()).Row_Count(), 101);
    EXPECT_TRUE(s->ASG->isColumnHidden(1));
    for (int c : {0, 2, 3, 4, 5, 6, 7, 8, 9})
        EXPECT_FALSE(s->ASG->isColumnHidden(c)) << c;
    for (int c : {0, 6, 7})
        EXPECT_TRUE(at(1, c).data(Qt::CheckStateRole).isValid()) << c;
    EXPECT_EQ(at(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked); // Enable set in an empty row
    EXPECT_FALSE(at(1, Col_Index).flags() & Qt::ItemIsEditable);
    EXPECT_EQ(s->P_Title->L_SW_Desc->text(), p.st.Get_Lang_Text(Txt::Nmea_Description));
    EXPECT_EQ(s->P_Title->L_SW_Code->text(), p.st.Product_Code);
    EXPECT_EQ(s->size(), QSize(1200, 337));
    // Hints on the header cells of the data columns, none on the body cells.
    const int hints[] = {1024, 1025, 1026, 1041, 1027, 1028, 1029, 1030, 1031, 1032};
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(m().headerData(c, Qt::Horizontal, Qt::ToolTipRole).toString(), p.st.Get_Lang_Text(hints[c]));
    EXPECT_FALSE(at(1, Col_Sentence).data(Qt::ToolTipRole).isValid());
    EXPECT_EQ(m().headerData(2, Qt::Vertical, Qt::DisplayRole).toInt(), 3);
    EXPECT_EQ(s->Btn_DelRow->text(), "Delete Row");
    EXPECT_EQ(s->Btn_PasteRow->toolTip(), p.st.Get_Lang_Text(1013));
}

TEST_F(AccessFixture, DropDownLists)
{
    ASSERT_TRUE(s->FormShow());
    const QStringList sentences = at(1, Col_Sentence).data(Choices_Role).toStringList();
    EXPECT_EQ(sentences.size(), 46);
    EXPECT_EQ(sentences, Enabled_Sentence_Names());
    for (const char* off : {"BWC", "BWR", "DSC", "HDM", "HSC", "RMB", "RPM", "VDM", "VDO", "VDR", "VLW"}) {
        EXPECT_FALSE(sentences.contains(off)) << off;
        EXPECT_FALSE(edit(1, Col_Sentence, off)) << off;
    }
    EXPECT_TRUE(at(1, Col_Field).data(Choices_Role).toStringList().isEmpty()); // no sentence yet
    EXPECT_EQ(at(1, Col_PostOpe).data(Choices_Role).toStringList(), Post_Operations());
    EXPECT_EQ(Post_Operations().size(), 9);
    ASSERT_TRUE(edit(1, Col_Sentence, "RMC"));
    const QStringList fields = at(1, Col_Field).data(Choices_Role).toStringList();
    ASSERT_EQ(fields.size(), 20);
    EXPECT_EQ(fields.front(), "UTC of position, Hours [decimal]");
    EXPECT_FALSE(edit(1, Col_Field, Gsv_First)); // a field of another sentence
}

TEST_F(AccessFixture, ChoosingASentenceOrAField)
{
    ASSERT_TRUE(s->FormShow());
    // GSV in an empty row 1: its first field, an editable Index, Position 1 (one byte).
    ASSERT_TRUE(edit(1, Col_Sentence, "GSV"));
    EXPECT_EQ(s->Table.row(1).DataField, Gsv_First);
    EXPECT_TRUE(at(1, Col_Index).flags() & Qt::ItemIsEditable);
    EXPECT_EQ(s->Table.row(1).Position, "1");
    EXPECT_EQ(at(1, Col_Position).data().toString(), "1");
    // A post operation not chosen yet becomes "None", which the check asks for.
    EXPECT_EQ(at(1, Col_PostOpe).data().toString(), "None");
    EXPECT_FALSE(m().headerData(0, Qt::Vertical, Qt::DecorationRole).isValid());

    // GGA over an Index of 5: read-only, and the 5 stays.
    ASSERT_TRUE(edit(1, Col_Index, "5"));
    ASSERT_TRUE(edit(1, Col_Sentence, "GGA"));
    EXPECT_FALSE(at(1, Col_Index).flags() & Qt::ItemIsEditable);
    EXPECT_EQ(s->Table.row(1).Index, "5");
    EXPECT_EQ(s->Table.row(1).Position, "1"); // GGA's first field is one byte as well

    // A field chosen on row 2 is placed after row 1's.
    ASSERT_TRUE(edit(1, Col_Field, Gga_Lat_Minutes));
    EXPECT_EQ(s->Table.row(1).Position, "0");
    ASSERT_TRUE(edit(2, Col_Sentence, "GGA"));
    ASSERT_TRUE(edit(2, Col_Field, Gga_Lat_Direction));
    EXPECT_EQ(s->Table.row(2).Position, "5");
    // A post operation or a check mark changes nothing else.
    ASSERT_TRUE(edit(2, Col_PostOpe, ": 10"));
    ASSERT_TRUE(m().setData(at(2, Col_SwapAll), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(s->Table.row(2).Position, "5");
    EXPECT_TRUE(s->Table.row(2).SwapAll);
    // A post operation once chosen stays when the sentence changes.
    ASSERT_TRUE(edit(2, Col_Sentence, "RMC"));
    EXPECT_EQ(s->Table.row(2).PortOperation, ": 10");
}

TEST_F(AccessFixture, TheDataFieldDropDownOffersTheRowsFields)
{
    ASSERT_TRUE(s->FormShow());
    fill(1, "GSV", Gsv_First, "1");
    s->show();
    s->ASG->setCurrentIndex(at(1, Col_Field));
    QTest::keyClick(s->ASG, Qt::Key_F4);
    QComboBox* combo = nullptr;
    for (auto* c : s->ASG->viewport()->findChildren<QComboBox*>())
        if (c->isVisible())
            combo = c;
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 8);
    EXPECT_EQ(combo->currentText(), Gsv_First);
    combo->setCurrentIndex(3);
    emit combo->activated(3);
    EXPECT_EQ(s->Table.row(1).DataField, NMEA0183_Map(10).Fields.at(3).Field);
}

TEST_F(AccessFixture, InsertAndDeleteOnTheLastRow)
{
    ASSERT_TRUE(s->FormShow());
    auto fill_last = [&] {
        fill(100, "XDR", "Transducer type [character]", "7");
        m().setData(at(100, Col_SwapAll), Qt::Checked, Qt::CheckStateRole);
        m().setData(at(100, Col_Enable), Qt::Unchecked, Qt::CheckStateRole);
        ASSERT_EQ(s->Table.row(100).Sentence, "XDR");
    };
    const NMEA_Listener_Row empty; // Enable set, swaps clear, texts empty
    fill_last();
    select(100);
    s->Btn_InsRowClick();
    EXPECT_EQ(s->Table.row(100), empty);

    fill_last();
    select(100);
    p.msg.answers = {true};
    s->Btn_DelRowClick();
    EXPECT_EQ(p.msg.questions, QStringList{"Are you sure to delete the Row number 100"});
    EXPECT_EQ(s->Table.row(100), empty);

    // Elsewhere the rows move; No leaves them.
    fill(3, "GGA", Gga_Lat_Direction, "1");
    select(3);
    s->Btn_InsRowClick();
    EXPECT_EQ(s->Table.row(4).Sentence, "GGA");
    EXPECT_EQ(s->Table.row(3), empty);
    select(3);
    s->Btn_DelRowClick(); // answered No
    EXPECT_EQ(s->Table.row(4).Sentence, "GGA");
    p.msg.answers = {true};
    s->Btn_DelRowClick();
    EXPECT_EQ(s->Table.row(3).Sentence, "GGA");
}

TEST_F(AccessFixture, CopyAndPaste)
{
    ASSERT_TRUE(s->FormShow());
    // 902 on a fresh screen, even with a row in the clipboard from elsewhere.
    p.st.Row_Clipboard = QStringList(10, "x");
    select(2);
    s->Btn_PasteRowClick();
    EXPECT_EQ(p.msg.errors, QStringList{p.st.Get_Lang_Text(Txt::Paste_No_Copy)});

    fill(1, "GSV", Gsv_First, "1");
    ASSERT_TRUE(edit(1, Col_Index, "3"));
    select(1);
    s->Btn_CopyRowClick();
    EXPECT_TRUE(s->Do_Copy);
    EXPECT_EQ(p.st.Row_Clipboard.size(), 10);
    EXPECT_EQ(p.st.Row_Clipboard.front(), "Y");

    // Into an empty row: no question; the Index follows the pasted sentence.
    select(5);
    s->Btn_PasteRowClick();
    EXPECT_TRUE(p.msg.questions.isEmpty());
    EXPECT_EQ(s->Table.row(5), s->Table.row(1));
    EXPECT_TRUE(at(5, Col_Index).flags() & Qt::ItemIsEditable);

    // Into a row with only a Mnemonic: asked first; No keeps the row.
    ASSERT_TRUE(edit(6, Col_Mnemonic, "keep"));
    select(6);
    s->Btn_PasteRowClick();
    EXPECT_EQ(p.msg.questions, QStringList{p.st.Get_Lang_Text(Txt::Paste_Overwrite)});
    EXPECT_EQ(s->Table.row(6).Mnemonic, "keep");
    p.msg.answers = {true};
    s->Btn_PasteRowClick();
    EXPECT_EQ(s->Table.row(6).Sentence, "GSV");

    // A copy on the topic screen's grid (13 text columns) makes the next paste here 901.
    QTableWidget mqtt(3, 13);
    Grid_Copy_Row(test::TableGrid(&mqtt), 1, p.st.Row_Clipboard, p.st.Row_Clipboard_Check);
    p.msg.errors.clear();
    select(7);
    s->Btn_PasteRowClick();
    EXPECT_EQ(p.msg.errors, QStringList{p.st.Get_Lang_Text(Txt::Paste_Bad_Copy)});
    EXPECT_TRUE(s->Table.row(7).Is_Empty());
}

TEST_F(AccessFixture, OkRefusesABadRowAndWritesNothing)
{
    ASSERT_TRUE(s->FormShow());
    fill(1, "GGA", Gga_Lat_Direction, "1");
    fill(2, "GGA", Gga_Lat_Direction, "2000");
    s->show();
    s->Btn_OK->click();
    EXPECT_EQ(p.msg.errors, QStringList{"Error row 2!! Position Must be Between 0 and 2000"});
    EXPECT_FALSE(file_exists());
    EXPECT_TRUE(s->isVisible());
    EXPECT_EQ(s->ASG->currentIndex(), at(2, Col_Position)) << "OK goes to the cell at fault";
    const QString shots = qEnvironmentVariable("SWR_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        s->grab().save(QDir(shots).filePath("nmea_refused.png"));
    // The row carries the check's message as its marker.
    EXPECT_EQ(m().headerData(1, Qt::Vertical, Qt::ToolTipRole).toString(),
              "Error row 2!! Position Must be Between 0 and 2000");
    EXPECT_EQ(m().headerData(1, Qt::Vertical, Qt::DecorationRole).typeId(), QMetaType::QIcon);
    EXPECT_FALSE(m().headerData(0, Qt::Vertical, Qt::ToolTipRole).isValid());
}

TEST_F(AccessFixture, OkWritesWhatTheCoreSaveWrites)
{
    ASSERT_TRUE(s->FormShow());
    fill(1, "GSV", Gsv_First, "1");
    ASSERT_TRUE(edit(1, Col_Index, "2"));
    ASSERT_TRUE(edit(1, Col_Mnemonic, "  Ä & <\"x\">  "));
    fill(2, "GGA", Gga_Lat_Minutes, "4");
    m().setData(at(2, Col_SwapAll), Qt::Checked, Qt::CheckStateRole);
    m().setData(at(2, Col_Enable), Qt::Unchecked, Qt::CheckStateRole);
    fill(4, "XDR", "Transducer type [character]", "9");
    ASSERT_TRUE(edit(4, Col_Index, "10"));
    select(2);
    s->Btn_InsRowClick(); // row 2 empty now; rows below it are still saved
    s->show();
    s->Btn_OK->click();
    EXPECT_TRUE(p.msg.errors.isEmpty()) << p.msg.errors.join('\n').toStdString();
    EXPECT_FALSE(s->isVisible());
    const QByteArray written = p.read("NMEA_0183_Set_Access.xml");

    NMEA_Listener_Table t;
    for (int r : {1, 3, 5})
        t.row(r) = s->Table.row(r);
    ASSERT_TRUE(Save_NMEA_Access(p.st, p.path("core.xml"), t).ok);
    EXPECT_EQ(written, p.read("core.xml"));
    EXPECT_TRUE(written.contains("Sentence=\"XDR\""));

    // What the command line's resave does (load, check, save) changes nothing.
    NMEA_Listener_Table back;
    ASSERT_TRUE(Load_NMEA_Access(p.st, p.st.File_NMEA_Access, back).ok);
    ASSERT_TRUE(Controllo_dati(p.st, back).isEmpty());
    ASSERT_TRUE(Save_NMEA_Access(p.st, p.path("resaved.xml"), back).ok);
    EXPECT_EQ(written, p.read("resaved.xml"));

    // Shown again, the screen holds what was saved.
    ASSERT_TRUE(s->FormShow());
    EXPECT_EQ(s->Table.row(5).Index, "10");
    EXPECT_TRUE(s->Table.row(2).Is_Empty());
}

TEST_F(AccessFixture, FailedWriteIsReportedAndNothingIsLost)
{
    ASSERT_TRUE(s->FormShow());
    fill(1, "GGA", Gga_Lat_Direction, "1");
    p.st.File_NMEA_Access = p.path("no_such_folder/NMEA_0183_Set_Access.xml");
    s->show();
    s->Btn_OK->click();
    ASSERT_EQ(p.msg.errors.size(), 1);
    EXPECT_TRUE(s->isVisible());
    EXPECT_EQ(s->Table.row(1).Sentence, "GGA");
}

TEST_F(AccessFixture, CancelLeavesWithoutAskingOrWriting)
{
    p.write("NMEA_0183_Set_Access.xml",
            "<NMEA_0183><NMEA_Listener><row Enable=\"Y\" Sentence=\"GGA\" DataField=\"Status [character]\" "
            "PortOperation=\"None\" Position=\"1\"/></NMEA_Listener></NMEA_0183>");
    const QByteArray before = p.read("NMEA_0183_Set_Access.xml");
    ASSERT_TRUE(s->FormShow());
    EXPECT_EQ(s->Table.row(1).Sentence, "GGA");
    fill(2, "RMC", "Status [character]", "3");
    s->show();
    s->Btn_Cancel->click();
    EXPECT_FALSE(s->isVisible());
    EXPECT_TRUE(p.msg.questions.isEmpty());
    EXPECT_EQ(p.read("NMEA_0183_Set_Access.xml"), before);
    s->show();
    QTest::keyClick(s.get(), Qt::Key_Escape);
    EXPECT_FALSE(s->isVisible());
    // The next showing reloads the file: the edit is gone.
    ASSERT_TRUE(s->FormShow());
    EXPECT_TRUE(s->Table.row(2).Is_Empty());
}

TEST_F(AccessFixture, MalformedFileStopsTheOpening)
{
    p.write("NMEA_0183_Set_Access.xml", "<NMEA_0183><NMEA_Listener><row Enable=\"Y\"</NMEA_0183>");
    EXPECT_EQ(s->Show_Access(), QDialog::Rejected);
    ASSERT_EQ(p.msg.errors.size(), 1);
    EXPECT_TRUE(p.msg.errors.front().contains("NMEA_0183_Set_Access.xml"));
    EXPECT_FALSE(s->isVisible());
}

TEST_F(AccessFixture, LanguageSwitchReachesHeadersAndHints)
{
    ASSERT_TRUE(s->FormShow());
    fill(1, "GGA", Gga_Lat_Direction, "1");
    fill(2, "GGA", Gga_Lat_Direction, "1"); // overlaps row 1
    p.st.Lang_Table[1017] = "Frase";
    p.st.Lang_Table[1026] = "Scegli la frase";
    p.st.Lang_Table[1014] = "Nr";
    p.st.Lang_Table[1004] = "Cancella";
    p.st.Lang_Table[Txt::Nmea_Overlap] = "Byte %1-%2 anche riga %3";
    p.st.Lang_Table[Txt::Nmea_Status] = "Righe %1 byte %2/%3 libero %4";
    QSignalSpy headers(&m(), &QAbstractItemModel::headerDataChanged);
    s->Set_Lang();
    EXPECT_GE(headers.count(), 1);
    EXPECT_EQ(s->ASG->model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Frase");
    EXPECT_EQ(s->ASG->model()->headerData(2, Qt::Horizontal, Qt::ToolTipRole).toString(), "Scegli la frase");
    EXPECT_EQ(s->Hint_Sentence.at(2), "Scegli la frase");
    EXPECT_EQ(s->Btn_DelRow->text(), "Cancella");
    EXPECT_EQ(m().headerData(0, Qt::Vertical, Qt::ToolTipRole).toString(), "Byte 1-1 anche riga 2");
    EXPECT_EQ(s->L_Status->text(), "Righe 2 byte 1/2000 libero 2");
    for (auto* b : s->ASG->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
        EXPECT_EQ(b->accessibleName(), "Nr");
}

TEST_F(AccessFixture, OverlapMarkerAndStatusLine)
{
    ASSERT_TRUE(s->FormShow());
    fill(1, "GGA", Gga_Lat_Minutes, "0"); // bytes 0..3
    fill(2, "GGA", Gga_Lat_Direction, "3");      // byte 3: inside row 1
    fill(3, "GGA", Gga_Lat_Direction, "4");      // byte 4
    m().setData(at(4, Col_Enable), Qt::Unchecked, Qt::CheckStateRole);
    fill(4, "GGA", Gga_Lat_Minutes, "0"); // disabled: fills nothing
    EXPECT_EQ(m().headerData(0, Qt::Vertical, Qt::ToolTipRole).toString(), "Bytes 3 to 3 are also filled by row 2");
    EXPECT_EQ(m().headerData(1, Qt::Vertical, Qt::ToolTipRole).toString(), "Bytes 3 to 3 are also filled by row 1");
    EXPECT_FALSE(m().headerData(2, Qt::Vertical, Qt::ToolTipRole).isValid());
    EXPECT_FALSE(m().headerData(3, Qt::Vertical, Qt::ToolTipRole).isValid());
    EXPECT_EQ(s->L_Status->text(), "Rows in use: 4    Bytes filled: 5 of 2000    Next free Position: 5");
    // Only a warning: OK saves.
    s->show();
    s->Btn_OK->click();
    EXPECT_TRUE(p.msg.errors.isEmpty());
    EXPECT_TRUE(file_exists());
}

TEST_F(AccessFixture, KeyboardEnterJumpAndSpace)
{
    ASSERT_TRUE(s->FormShow());
    s->show();
    p.st.Enable_Jump_Field_Tables = true;
    s->ASG->setCurrentIndex(at(1, Col_Enable));
    QTest::keyClick(s->ASG, Qt::Key_Space);
    EXPECT_FALSE(s->Table.row(1).Enable);
    QTest::keyClick(s->ASG, Qt::Key_Return);
    EXPECT_EQ(s->ASG->currentIndex(), at(1, Col_Sentence)); // the hidden channel is passed over
    s->ASG->setCurrentIndex(at(1, Col_Mnemonic));
    QTest::keyClick(s->ASG, Qt::Key_Return);
    EXPECT_EQ(s->ASG->currentIndex(), at(2, Col_Enable));
    p.st.Enable_Jump_Field_Tables = false;
    QTest::keyClick(s->ASG, Qt::Key_Return);
    EXPECT_EQ(s->ASG->currentIndex(), at(2, Col_Enable));
    EXPECT_TRUE(s->isVisible()); // Enter never closes the screen
    // Typing on a drop-down cell picks the first entry it begins, with the pick's rules.
    QTest::keyClick(s->ASG, Qt::Key_Right); // the arrows pass over the hidden column
    EXPECT_EQ(s->ASG->currentIndex(), at(2, Col_Sentence));
    QTest::keyClick(s->ASG, Qt::Key_X);
    EXPECT_EQ(s->Table.row(2).Sentence, "XTE");
    EXPECT_EQ(s->Table.row(2).DataField, NMEA0183_Map(32).Fields.at(0).Field);
}

TEST_F(AccessFixture, RowsBeyondTheTableAreReportedAndTheScreenOpens)
{
    QByteArray x = "<NMEA_0183><NMEA_Listener>";
    for (int i = 1; i <= 101; ++i)
        x += "<row Enable=\"Y\" Sentence=\"GGA\" DataField=\"Latitude, Direction [character]\" Position=\""
             + QByteArray::number(i) + "\"/>";
    p.write("NMEA_0183_Set_Access.xml", x + "</NMEA_Listener></NMEA_0183>");
    ASSERT_TRUE(s->FormShow());
    ASSERT_EQ(p.msg.warnings.size(), 1);
    EXPECT_TRUE(p.msg.warnings.front().contains("101"));
    EXPECT_EQ(s->Table.row(100).Position, "100");
    EXPECT_EQ(s->Table.row(100).Serial_Channel, "RS232");
}

// On opening, the Data Field column shows the widest field text of the catalogue whole;
// the columns without room keep to their content, and Mnemonic takes what is left.
TEST(AccessFieldColumn, FitsTheWidestFieldTextOnOpening)
{
    ProgramFolder p;
    p.start();
    p.st.File_NMEA_Access = p.path("NMEA_0183_Set_Access.xml");
    TFNMEA_0183_Set_Access2 s(p.st, p.msg);
    const QFontMetrics fm(s.ASG->font());
    int widest = 0;
    QString sentence, field;
    for (int i = 1; i <= NMEA0183_Sentence_Count; ++i)
        for (const TFieldSentence& f : NMEA0183_Map(i).Fields)
            if (const int w = fm.horizontalAdvance(f.Field); w > widest) {
                widest = w;
                sentence = NMEA0183_Sentence(i).Name;
                field = f.Field;
            }
    p.write("NMEA_0183_Set_Access.xml", "<NMEA_0183><NMEA_Listener><row Enable=\"Y\" Sentence=\"" + sentence.toUtf8()
                                            + "\" DataField=\"" + field.toUtf8()
                                            + "\" Position=\"0\"/></NMEA_Listener></NMEA_0183>");
    ASSERT_TRUE(s.FormShow());
    s.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
    const QHeaderView* h = s.ASG->horizontalHeader();
    EXPECT_GE(s.ASG->columnWidth(Col_Field), widest + 8);
    // The row's Position "0" does not widen its column past its header.
    EXPECT_EQ(s.ASG->columnWidth(Col_Position), h->sectionSizeHint(Col_Position));
    EXPECT_LE(h->length(), s.ASG->viewport()->width()) << "all columns in view at the first size";
    EXPECT_GT(s.ASG->columnWidth(Col_Mnemonic), h->sectionSizeHint(Col_Mnemonic));
}

// Blocks keep their check marks and freed rows get Enable; a fill runs the rules of a pick;
// undo takes back what the rules did too.
TEST_F(AccessFixture, BlocksFillDownAndUndo)
{
    ASSERT_TRUE(s->FormShow());
    s->show();
    fill(1, "GGA", Gga_Lat_Minutes, "0");
    fill(2, "GSV", Gsv_First, "4");
    m().setData(at(2, Col_SwapAll), Qt::Checked, Qt::CheckStateRole);
    m().setData(at(1, Col_Enable), Qt::Unchecked, Qt::CheckStateRole);
    const NMEA_Listener_Row r1 = s->Table.row(1), r2 = s->Table.row(2), empty;

    select(1, 2);
    s->Btn_CopyRowClick();
    select(5, 5);
    s->Btn_PasteRowClick();
    EXPECT_EQ(s->Table.row(5), r1);
    EXPECT_EQ(s->Table.row(6), r2);
    EXPECT_TRUE(at(6, Col_Index).flags() & Qt::ItemIsEditable);

    const QString status = s->L_Status->text();
    const int before_delete = s->Undo_Stack->index();
    p.msg.answers = {true};
    select(1, 2);
    s->Btn_DelRowClick();
    EXPECT_EQ(p.msg.questions, QStringList{p.st.Get_Lang_Text(Txt::Delete_Rows_Question).arg(2)});
    EXPECT_EQ(s->Table.row(3), r1);
    EXPECT_EQ(s->Table.row(99), empty);
    EXPECT_EQ(s->Table.row(100), empty);

    // Rows 10 to 12: a GSV with an Index above two GGA rows, whose Index is read-only.
    fill(10, "GSV", Gsv_First, "20");
    ASSERT_TRUE(edit(10, Col_Index, "3"));
    fill(11, "GGA", Gga_Lat_Direction, "30");
    fill(12, "GGA", Gga_Lat_Direction, "31");
    const NMEA_Listener_Row r11 = s->Table.row(11);
    const int steps = s->Undo_Stack->count();
    select(10, 12, Col_Index);
    key(Qt::Key_D);
    EXPECT_EQ(s->Table.row(11).Index, "");
    EXPECT_EQ(s->Undo_Stack->count(), steps) << "a fill that changed nothing is no step";
    select(10, 12, Col_Sentence);
    key(Qt::Key_D);
    for (int row : {11, 12}) {
        EXPECT_EQ(s->Table.row(row).Sentence, "GSV") << row;
        EXPECT_EQ(s->Table.row(row).DataField, Gsv_First) << row;
        EXPECT_TRUE(at(row, Col_Index).flags() & Qt::ItemIsEditable) << row;
    }
    EXPECT_EQ(s->Table.row(11).Position, "22") << "proposed after row 10's byte at 20, as a pick does";

    key(Qt::Key_Z);
    EXPECT_EQ(s->Table.row(11), r11);
    EXPECT_FALSE(at(11, Col_Index).flags() & Qt::ItemIsEditable);
    for (int i = 0; i < 20 && s->Undo_Stack->index() > before_delete; ++i) // the edits of rows 10 to 12, the delete
        key(Qt::Key_Z);
    EXPECT_EQ(s->Table.row(1), r1);
    EXPECT_EQ(s->Table.row(2), r2);
    EXPECT_EQ(s->Table.row(5), r1);
    EXPECT_EQ(s->L_Status->text(), status);
    EXPECT_EQ(s->Selected_Rows(), (QList<int>{1, 2})) << "the rows deleted are selected again";
}
