#include "TopicTemplate.h"

#include "lang/Texts.h"

#include "TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace swr;
using swr::test::ProgramFolder;

namespace {

struct TemplateEditor : ::testing::Test {
    ProgramFolder p;
    std::unique_ptr<TFTopicTemplate> dlg;
    void SetUp() override
    {
        p.start();
        dlg = std::make_unique<TFTopicTemplate>(p.st);
    }
    // Opens the editor on a template cell, lets act work on the shown editor and returns
    // the cell's text afterwards.
    QString Edit(const QString& cell, int col, const std::function<void()>& act)
    {
        QTimer::singleShot(0, dlg.get(), act);
        return dlg->Edit(Open_Topic_Editor(col, 9, cell), cell);
    }
};

} // namespace

TEST_F(TemplateEditor, ShowsTheTemplateWithItsKeywordGridAndFocus)
{
    bool looked = false;
    Edit("{\r\n\"v\": $VALUE$\r\n}", 9, [&] {
        looked = true;
        EXPECT_EQ(dlg->windowTitle(), "Set Template");
        EXPECT_EQ(dlg->P_Title->L_SW_Code->text(), "SWR2305");
        EXPECT_EQ(dlg->P_Title->L_SW_Desc->text(), "Set Template");
        EXPECT_EQ(dlg->size(), QSize(635, 396));
        EXPECT_EQ(dlg->RE_TopicTemplate->toPlainText(), "{\n\"v\": $VALUE$\n}");
        EXPECT_EQ(dlg->focusWidget(), dlg->RE_TopicTemplate);
        EXPECT_EQ(dlg->L_List_Keywords->text(), "List of keywords");
        QTableWidget* g = dlg->ASG_Keywords;
        ASSERT_EQ(g->columnCount(), 2);
        ASSERT_EQ(g->rowCount(), 1);
        EXPECT_EQ(g->horizontalHeaderItem(0)->text(), "Keyword");
        EXPECT_EQ(g->horizontalHeaderItem(1)->text(), "Description of Keyword");
        EXPECT_TRUE(g->item(0, 0)->flags() & Qt::ItemIsEditable);
        EXPECT_FALSE(g->item(0, 1)->flags() & Qt::ItemIsEditable);
        EXPECT_EQ(g->item(0, 0)->text(), "");
        EXPECT_EQ(dlg->Btn_OK->text(), "OK");
        EXPECT_EQ(dlg->Btn_Cancel->text(), "Cancel");
        dlg->Btn_Cancel->click();
    });
    EXPECT_TRUE(looked);

    // Another column edits a topic: the topic texts.
    Edit("a/b", 1, [&] {
        EXPECT_EQ(dlg->windowTitle(), "Set Topic");
        EXPECT_EQ(dlg->P_Title->L_SW_Desc->text(), "Set Topic");
        dlg->reject();
    });
}

TEST_F(TemplateEditor, OkWritesTheWholeTextBackAndCancelLeavesTheCell)
{
    // Typed on two lines: stored with CR LF.
    QString cell = Edit("", 9, [&] {
        QTest::keyClicks(dlg->RE_TopicTemplate, "{\"lat\":");
        QTest::keyClick(dlg->RE_TopicTemplate, Qt::Key_Return);
        QTest::keyClicks(dlg->RE_TopicTemplate, "$VALUE$}");
        EXPECT_TRUE(dlg->isVisible()) << "Enter makes a new line, it does not close";
        dlg->Btn_OK->click();
    });
    EXPECT_EQ(cell, "{\"lat\":\r\n$VALUE$}");

    // Changed, then cancelled: the cell as it was, line breaks untouched.
    const QString before = "a\nb";
    cell = Edit(before, 9, [&] {
        dlg->RE_TopicTemplate->setPlainText("other");
        QTest::keyClick(dlg->RE_TopicTemplate, Qt::Key_Escape);
    });
    EXPECT_EQ(cell, before);

    // Ctrl+Enter confirms from the edit box.
    cell = Edit("$VALUE$", 9, [&] {
        dlg->RE_TopicTemplate->setPlainText("x\ny");
        QTest::keyClick(dlg->RE_TopicTemplate, Qt::Key_Return, Qt::ControlModifier);
    });
    EXPECT_EQ(cell, "x\r\ny");
}
