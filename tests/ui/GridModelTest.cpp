#include "GridHelpers.h"
#include "GridModel.h"

#include "TestSupport.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace swr;

namespace {

// A small grid model: a check column, a drop-down, a text column locked unless the
// drop-down says "open", a hidden column and an editable drop-down.
struct Test_Row {
    bool on = false;
    QString pick, note, secret, free;
};

class TestModel : public GridModel {
public:
    TestModel(const AppState& st, int rows)
        : GridModel(st, {{1015, 1024, Cell_Editor::Check},
                         {1017, 1026, Cell_Editor::Choice},
                         {1040, -1, Cell_Editor::Text, Cell_Lock::By_Row},
                         {1016, 1025, Cell_Editor::Hidden},
                         {1023, 1032, Cell_Editor::Editable_Choice}},
                    rows),
          rows_(size_t(rows))
    {
    }
    QString Text(int row, int column) const override { return *Field(const_cast<Test_Row&>(rows_[size_t(row)]), column); }
    bool Checked(int row, int) const override { return rows_[size_t(row)].on; }
    std::vector<Test_Row> rows_;
    QList<QPair<int, int>> edited;

protected:
    void Store_Text(int row, int column, const QString& text) override { *Field(rows_[size_t(row)], column) = text; }
    void Store_Checked(int row, int, bool checked) override { rows_[size_t(row)].on = checked; }
    void Cell_Edited(int row, int column) override { edited.append({row, column}); }
    QStringList Choices(int, int column) const override
    {
        return column == 1 ? QStringList{"open", "shut"} : QStringList{"a", "b"};
    }
    bool Row_Locked(int row, int) const override { return rows_[size_t(row)].pick != "open"; }
    Row_Marker Marker(int row) const override
    {
        return rows_[size_t(row)].note == "bad" ? Row_Marker{Row_Marker::Error, "row is bad"} : Row_Marker{};
    }

private:
    static QString* Field(Test_Row& r, int column)
    {
        QString* f[] = {nullptr, &r.pick, &r.note, &r.secret, &r.free};
        return f[column];
    }
};

struct GridModelFixture : ::testing::Test {
    void SetUp() override { p.start(); }
    test::ProgramFolder p;
};

} // namespace

TEST_F(GridModelFixture, RolesFlagsAndHeaders)
{
    TestModel m(p.st, 3);
    m.rows_[0] = {true, "open", "5", "RS232", "x"};
    EXPECT_EQ(m.columnCount(), 5);
    EXPECT_EQ(m.index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_FALSE(m.index(0, 0).data(Qt::DisplayRole).isValid());
    EXPECT_FALSE(m.index(0, 1).data(Qt::CheckStateRole).isValid());
    EXPECT_EQ(m.index(0, 1).data(Choices_Role).toStringList(), (QStringList{"open", "shut"}));
    EXPECT_FALSE(m.index(0, 2).data(Choices_Role).isValid());
    EXPECT_TRUE(m.flags(m.index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(m.flags(m.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(m.flags(m.index(0, 2)) & Qt::ItemIsEditable);  // "open" unlocks
    EXPECT_FALSE(m.flags(m.index(1, 2)) & Qt::ItemIsEditable); // locked by its row
    EXPECT_FALSE(m.flags(m.index(0, 3)) & Qt::ItemIsEditable); // hidden
    EXPECT_EQ(m.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Sentence");
    EXPECT_EQ(m.headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(), p.st.Get_Lang_Text(1026));
    EXPECT_FALSE(m.headerData(2, Qt::Horizontal, Qt::ToolTipRole).isValid()); // no hint
    EXPECT_EQ(m.headerData(2, Qt::Vertical, Qt::DisplayRole).toInt(), 3);
    EXPECT_FALSE(m.headerData(0, Qt::Vertical, Qt::ToolTipRole).isValid());
    m.rows_[1].note = "bad";
    EXPECT_EQ(m.headerData(1, Qt::Vertical, Qt::ToolTipRole).toString(), "row is bad");
    EXPECT_EQ(m.headerData(1, Qt::Vertical, Qt::DecorationRole).typeId(), QMetaType::QIcon);
}

TEST_F(GridModelFixture, UserEditsRunTheRulesAndChoicesTakeOnlyListedValues)
{
    TestModel m(p.st, 2);
    EXPECT_TRUE(m.setData(m.index(0, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(m.rows_[0].on);
    EXPECT_FALSE(m.setData(m.index(0, 1), "ajar", Qt::EditRole));
    EXPECT_TRUE(m.setData(m.index(0, 1), "shut", Qt::EditRole));
    EXPECT_FALSE(m.setData(m.index(0, 2), "7", Qt::EditRole)); // locked while shut
    EXPECT_TRUE(m.setData(m.index(0, 4), "typed", Qt::EditRole)); // editable drop-down
    EXPECT_EQ(m.edited, (QList<QPair<int, int>>{{0, 0}, {0, 1}, {0, 4}}));
    m.Put_Text(1, 1, "open"); // not a user edit
    EXPECT_EQ(m.edited.size(), 3);
}

TEST_F(GridModelFixture, RowHelpersWorkThroughTheAdapter)
{
    TestModel m(p.st, 4);
    ModelGrid g(&m);
    EXPECT_EQ(g.Row_Count(), 5);
    EXPECT_EQ(g.Col_Count(), 5);
    m.rows_[0] = {false, "open", "5", "RS232", "x"};
    m.rows_[3] = {true, "shut", "", "", "last"};
    EXPECT_TRUE(g.Is_Check_Cell(1, 1));
    EXPECT_EQ(g.Cell_Text(2, 1), "open");
    EXPECT_EQ(g.Cell_Text(4, 1), "RS232"); // the hidden column is a cell like any other

    Grid_Insert_Row_Check(g, 1, true);
    EXPECT_TRUE(m.rows_[0].on);
    EXPECT_EQ(m.rows_[0].pick, "");
    EXPECT_EQ(m.rows_[1].note, "5");
    EXPECT_EQ(m.rows_[3].free, ""); // pushed out

    Grid_Copy_Row_Check(g, 2, p.st.Row_Clipboard, p.st.Row_Clipboard_Check);
    EXPECT_EQ(p.st.Row_Clipboard, (QStringList{"N", "open", "5", "RS232", "x"}));
    // An empty row: no question.
    Grid_Paste_Row_Check(g, 4, true, p.st.Row_Clipboard, p.st.Row_Clipboard_Check, p.st, p.msg);
    EXPECT_TRUE(p.msg.questions.isEmpty());
    EXPECT_FALSE(m.rows_[3].on);
    EXPECT_EQ(m.rows_[3].secret, "RS232");

    Grid_Delete_Row_Check(g, 1, true);
    EXPECT_EQ(m.rows_[0].pick, "open");
    EXPECT_TRUE(m.rows_[3].on);
    EXPECT_EQ(m.rows_[3].free, "");
    EXPECT_TRUE(m.edited.isEmpty()); // row operations are no user edits
}

TEST_F(GridModelFixture, TextFormMovesCheckMarksAsYesAndNo)
{
    TestModel m(p.st, 3);
    ModelGrid g(&m);
    m.rows_[0] = {true, "open", "5", "", ""};
    Grid_Copy_Row(g, 1, p.st.Row_Clipboard, p.st.Row_Clipboard_Check);
    EXPECT_EQ(p.st.Row_Clipboard, (QStringList{"Y", "open", "5", "", ""}));
    Grid_Insert_Row(g, 1, false);
    EXPECT_FALSE(m.rows_[0].on);
    EXPECT_TRUE(m.rows_[1].on);
    Grid_Paste_Row(g, 3, true, p.st.Row_Clipboard, p.st, p.msg);
    EXPECT_TRUE(m.rows_[2].on);
    EXPECT_EQ(m.rows_[2].note, "5");
    Grid_Delete_Row(g, 1);
    EXPECT_TRUE(m.rows_[0].on);
}

TEST_F(GridModelFixture, TheAdapterTellsTheViewsOnceWhenItGoes)
{
    TestModel m(p.st, 50);
    QSignalSpy cells(&m, &QAbstractItemModel::dataChanged);
    {
        ModelGrid g(&m);
        Grid_Insert_Row_Check(g, 10, true);
        EXPECT_EQ(cells.count(), 0);
    }
    ASSERT_EQ(cells.count(), 1);
    EXPECT_EQ(cells.front().at(0).toModelIndex(), m.index(9, 0));
    EXPECT_EQ(cells.front().at(1).toModelIndex(), m.index(49, 4));
    m.Put_Text(0, 1, "open"); // outside a batch: at once
    EXPECT_EQ(cells.count(), 2);
}

TEST_F(GridModelFixture, ViewEditsWithADropDownOnlyInTheCellBeingEdited)
{
    TestModel m(p.st, 3);
    QTableView v;
    Attach_Grid_Model(&v, &m, p.st, 1014);
    v.resize(600, 200);
    v.show();
    EXPECT_TRUE(v.isColumnHidden(3));
    EXPECT_TRUE(v.viewport()->findChildren<QComboBox*>().isEmpty());

    v.setCurrentIndex(m.index(1, 1));
    QTest::keyClick(&v, Qt::Key_Down, Qt::AltModifier);
    const auto combos = v.viewport()->findChildren<QComboBox*>();
    ASSERT_EQ(combos.size(), 1);
    QComboBox* combo = combos.front();
    EXPECT_EQ(combo->count(), 2);
    EXPECT_FALSE(combo->isEditable());
    combo->setCurrentIndex(1);
    emit combo->activated(1); // a pick goes in at once
    EXPECT_EQ(m.rows_[1].pick, "shut");
    EXPECT_EQ(m.edited, (QList<QPair<int, int>>{{1, 1}}));

    // An editable drop-down takes typed text as well.
    v.setCurrentIndex(m.index(1, 4));
    QTest::keyClick(&v, Qt::Key_F4);
    QComboBox* free = nullptr;
    for (auto* c : v.viewport()->findChildren<QComboBox*>())
        if (c->isVisible())
            free = c;
    ASSERT_NE(free, nullptr);
    EXPECT_TRUE(free->isEditable());
    free->hidePopup();
    free->setEditText("typed");
    v.setCurrentIndex(m.index(0, 4)); // leaving the cell commits
    EXPECT_EQ(m.rows_[1].free, "typed");

    // Space ticks a check mark.
    v.setCurrentIndex(m.index(2, 0));
    QTest::keyClick(&v, Qt::Key_Space);
    EXPECT_TRUE(m.rows_[2].on);

    // Typing edits a free cell.
    m.Put_Text(2, 1, "open");
    v.setCurrentIndex(m.index(2, 2));
    QTest::keyClick(&v, '4'); // the key that starts the edit is its first character
    auto* edit = v.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, "2");
    QTest::keyClick(edit, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor commits as it closes
    EXPECT_EQ(m.rows_[2].note, "42");
}

TEST_F(GridModelFixture, EnterJumpOverAModelSkipsTheHiddenColumn)
{
    TestModel m(p.st, 2);
    m.rows_[0].pick = m.rows_[1].pick = "open";
    QTableView v;
    Attach_Grid_Model(&v, &m, p.st, 1014);
    v.show();
    p.st.Enable_Jump_Field_Tables = true;
    v.setCurrentIndex(m.index(0, 2));
    QTest::keyClick(&v, Qt::Key_Return);
    EXPECT_EQ(v.currentIndex(), m.index(0, 4)); // column 4 (model 3) is hidden
    QTest::keyClick(&v, Qt::Key_Return);
    EXPECT_EQ(v.currentIndex(), m.index(1, 0));
    v.setCurrentIndex(m.index(1, 4));
    QTest::keyClick(&v, Qt::Key_Enter);
    EXPECT_EQ(v.currentIndex(), m.index(0, 0)); // from the last row to the first

    p.st.Double_Click_Auto_Size = true;
    m.Put_Text(0, 4, QString(60, 'W'));
    v.setColumnWidth(4, 40);
    emit v.horizontalHeader()->sectionDoubleClicked(4);
    EXPECT_GT(v.columnWidth(4), 200);
}
