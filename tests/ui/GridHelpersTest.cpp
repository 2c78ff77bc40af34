#include "GridHelpers.h"

#include "TableGrid.h"
#include "TestSupport.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace swr;

namespace {

// A 100-row grid with a check-box first column, as the NMEA access table has.
std::unique_ptr<QTableWidget> Check_Grid(int rows, int cols)
{
    auto t = std::make_unique<QTableWidget>(rows, cols);
    for (int r = 0; r < rows; ++r) {
        auto* it = new QTableWidgetItem;
        it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
        it->setCheckState(Qt::Unchecked);
        t->setItem(r, 0, it);
    }
    return t;
}

} // namespace

TEST(TableGridTest, CheckFormOverAWidget)
{
    test::ProgramFolder p;
    p.start();
    auto t = Check_Grid(100, 3);
    test::TableGrid g(t.get());
    EXPECT_EQ(g.Row_Count(), 101);
    g.Set_Cell_Checked(1, 1, true);
    g.Set_Cell_Text(2, 1, "GGA");
    g.Set_Cell_Text(2, 100, "last");
    Grid_Insert_Row_Check(g, 1, true);
    EXPECT_EQ(t->item(0, 0)->checkState(), Qt::Checked); // mark_first
    EXPECT_EQ(t->item(1, 0)->checkState(), Qt::Checked);
    EXPECT_EQ(t->item(1, 1)->text(), "GGA");
    EXPECT_EQ(t->item(99, 1)->text(), ""); // pushed out
    Grid_Copy_Row_Check(g, 2, p.st.Row_Clipboard, p.st.Row_Clipboard_Check);
    EXPECT_EQ(p.st.Row_Clipboard, (QStringList{"Y", "GGA", ""}));
    Grid_Delete_Row_Check(g, 1, true);
    EXPECT_EQ(t->item(0, 1)->text(), "GGA");
    EXPECT_EQ(t->item(99, 0)->checkState(), Qt::Checked);
}

TEST(GridConveniences, EnterJumpsOnlyWhenSwitchedOn)
{
    test::ProgramFolder p;
    p.start();
    QTableWidget t(3, 3);
    t.setColumnHidden(2, true);
    Attach_Grid_Conveniences(&t, p.st);
    t.show();
    t.setCurrentCell(0, 0);
    p.st.Enable_Jump_Field_Tables = false;
    EXPECT_FALSE(Grid_Enter_Jump(&t, p.st, Qt::Key_Return));
    p.st.Enable_Jump_Field_Tables = true;
    QTest::keyClick(&t, Qt::Key_Return);
    EXPECT_EQ(t.currentColumn(), 1);
    QTest::keyClick(&t, Qt::Key_Return); // column 3 is hidden: next row
    EXPECT_EQ(t.currentRow(), 1);
    EXPECT_EQ(t.currentColumn(), 0);
    t.setCurrentCell(2, 1);
    QTest::keyClick(&t, Qt::Key_Enter); // last row wraps to the first
    EXPECT_EQ(t.currentRow(), 0);
    EXPECT_EQ(t.currentColumn(), 0);
}

TEST(GridConveniences, EnterWhileEditingCommitsAndMoves)
{
    test::ProgramFolder p;
    p.start();
    p.st.Enable_Jump_Field_Tables = true;
    QTableWidget t(2, 2);
    Attach_Grid_Conveniences(&t, p.st);
    t.show();
    t.setCurrentCell(0, 0);
    t.setItem(0, 0, new QTableWidgetItem);
    t.editItem(t.item(0, 0));
    auto* editor = t.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "abc");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(t.item(0, 0)->text(), "abc");
    EXPECT_EQ(t.currentColumn(), 1);
}

TEST(GridConveniences, HeaderDoubleClickSizesTheColumn)
{
    test::ProgramFolder p;
    p.start();
    QTableWidget t(1, 2);
    t.setItem(0, 0, new QTableWidgetItem(QString(60, 'W')));
    t.setColumnWidth(0, 40);
    Attach_Grid_Conveniences(&t, p.st);
    Grid_Auto_Size_Column(&t, p.st, 0, 1);
    EXPECT_EQ(t.columnWidth(0), 40); // switched off
    p.st.Double_Click_Auto_Size = true;
    Grid_Auto_Size_Column(&t, p.st, 1, 1); // not the header row
    EXPECT_EQ(t.columnWidth(0), 40);
    emit t.horizontalHeader()->sectionDoubleClicked(0);
    EXPECT_GT(t.columnWidth(0), 200);
}
