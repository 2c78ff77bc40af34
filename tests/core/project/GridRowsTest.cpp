#include "project/GridRows.h"
#include "lang/Texts.h"

#include "TestSupport.h"

#include <QMap>
#include <QSet>

#include <gtest/gtest.h>

#include <functional>

using namespace swr;
using swr::test::RecordingMessages;

namespace {

// A grid in memory: some columns are check-box cells (check-box form) and some columns
// are edited with a check box (text form).
class MemGrid : public IGrid {
public:
    MemGrid(int rows, int cols, QSet<int> checkCols = {}, QSet<int> editorCols = {})
        : rows_(rows), cols_(cols), check_(checkCols), editor_(editorCols) {}
    int Row_Count() const override { return rows_; }
    int Col_Count() const override { return cols_; }
    QString Cell_Text(int c, int r) const override { return text_.value({c, r}); }
    void Set_Cell_Text(int c, int r, const QString& t) override { text_[{c, r}] = t; }
    bool Is_Check_Cell(int c, int) const override { return check_.contains(c); }
    bool Cell_Checked(int c, int r) const override { return checked_.value({c, r}); }
    void Set_Cell_Checked(int c, int r, bool v) override { checked_[{c, r}] = v; }
    bool Column_Is_Check_Editor(int c) const override { return editor_.contains(c); }

    void Fill(int r, const QStringList& texts, bool check = false)
    {
        for (int c = 1; c <= cols_; ++c) {
            if (check_.contains(c))
                checked_[{c, r}] = check;
            else
                text_[{c, r}] = texts.value(c - 1);
        }
    }
    QStringList Row(int r) const
    {
        QStringList out;
        for (int c = 1; c <= cols_; ++c)
            out << (check_.contains(c) ? QString(checked_.value({c, r}) ? "[x]" : "[ ]") : text_.value({c, r}));
        return out;
    }

private:
    int rows_, cols_;
    QSet<int> check_, editor_;
    QMap<QPair<int, int>, QString> text_;
    QMap<QPair<int, int>, bool> checked_;
};

} // namespace

TEST(GridRows, DeleteAndInsertKeepTheRowCount)
{
    MemGrid g(5, 2); // data rows 1..4
    for (int r = 1; r <= 4; ++r)
        g.Fill(r, {QString("a%1").arg(r), QString("b%1").arg(r)});
    Grid_Delete_Row(g, 2);
    EXPECT_EQ(g.Row(2), (QStringList{"a3", "b3"}));
    EXPECT_EQ(g.Row(4), (QStringList{"", ""}));
    Grid_Insert_Row(g, 1, true);
    EXPECT_EQ(g.Row(1), (QStringList{"Y", ""}));
    EXPECT_EQ(g.Row(2), (QStringList{"a1", "b1"}));
    EXPECT_EQ(g.Row(4), (QStringList{"a4", "b4"})); // the cleared last row fell off
    Grid_Insert_Row(g, 4, false);                    // on the last row: clears it
    EXPECT_EQ(g.Row(4), (QStringList{"", ""}));
    g.Fill(4, {"x", "y"});
    Grid_Delete_Row(g, 4);
    EXPECT_EQ(g.Row(4), (QStringList{"", ""}));
}

TEST(GridRows, InsertDropsTheLastRowOfALargeGrid)
{
    MemGrid g(1025, 3);
    g.Fill(1024, {"last", "row", "data"});
    g.Fill(10, {"keep", "", ""});
    Grid_Insert_Row(g, 500, false);
    EXPECT_EQ(g.Row(1024), (QStringList{"", "", ""}));
    EXPECT_EQ(g.Row(10).first(), "keep");
}

TEST(GridRows, CheckFormMovesStatesAndMarksTheFirstColumn)
{
    MemGrid g(4, 3, {1, 3});
    g.Fill(1, {"", "one", ""}, true);
    g.Fill(2, {"", "two", ""}, false);
    g.Fill(3, {"", "three", ""}, true);
    Grid_Delete_Row_Check(g, 1, true);
    EXPECT_EQ(g.Row(1), (QStringList{"[ ]", "two", "[ ]"}));
    EXPECT_EQ(g.Row(2), (QStringList{"[x]", "three", "[x]"}));
    EXPECT_EQ(g.Row(3), (QStringList{"[x]", "", "[ ]"}));
    Grid_Insert_Row_Check(g, 1, true);
    EXPECT_EQ(g.Row(1), (QStringList{"[x]", "", "[ ]"}));
    EXPECT_EQ(g.Row(2), (QStringList{"[ ]", "two", "[ ]"}));
}

TEST(GridRows, CopyAndPasteMessages)
{
    test::ProgramFolder p;
    p.start();
    RecordingMessages& msg = p.msg;
    MemGrid pub(5, 3), sub(5, 2);
    pub.Fill(1, {"t", "1", "Y"});

    Grid_Paste_Row(sub, 1, false, p.st.Row_Clipboard, p.st, msg);
    EXPECT_EQ(msg.errors.value(0), p.st.Get_Lang_Text(Txt::Paste_No_Copy));

    Grid_Copy_Row(pub, 1, p.st.Row_Clipboard, p.st.Row_Clipboard_Check);
    EXPECT_EQ(p.st.Row_Clipboard, (QStringList{"t", "1", "Y"}));
    Grid_Paste_Row(sub, 1, true, p.st.Row_Clipboard, p.st, msg);
    EXPECT_EQ(msg.errors.value(1), p.st.Get_Lang_Text(Txt::Paste_Bad_Copy));
    EXPECT_EQ(sub.Row(1), (QStringList{"", ""}));

    Grid_Paste_Row(pub, 2, true, p.st.Row_Clipboard, p.st, msg); // empty row: no question
    EXPECT_TRUE(msg.questions.isEmpty());
    EXPECT_EQ(pub.Row(2), (QStringList{"t", "1", "Y"}));

    pub.Fill(3, {"other", "", ""});
    msg.answers = {false};
    Grid_Paste_Row(pub, 3, true, p.st.Row_Clipboard, p.st, msg);
    EXPECT_EQ(msg.questions.value(0), p.st.Get_Lang_Text(Txt::Paste_Overwrite));
    EXPECT_EQ(pub.Row(3).first(), "other");
    msg.answers = {true};
    Grid_Paste_Row(pub, 3, true, p.st.Row_Clipboard, p.st, msg);
    EXPECT_EQ(pub.Row(3), (QStringList{"t", "1", "Y"}));
    EXPECT_EQ(p.st.Row_Clipboard.size(), 3); // still filled for another paste
}

TEST(GridRows, RowInUseRules)
{
    test::ProgramFolder p;
    p.start();
    // Text form: column 3 is edited with a check box and its "Y" does not count; blanks
    // are trimmed away.
    MemGrid text(4, 3, {}, {3});
    text.Fill(1, {"a", "b", "N"});
    Grid_Copy_Row(text, 1, p.st.Row_Clipboard, p.st.Row_Clipboard_Check);
    text.Fill(2, {" ", "", "Y"});
    Grid_Paste_Row(text, 2, true, p.st.Row_Clipboard, p.st, p.msg);
    EXPECT_TRUE(p.msg.questions.isEmpty());
    EXPECT_EQ(text.Row(2), (QStringList{"a", "b", "N"}));

    // Check-box form: check-box cells do not count, a blank-only text does.
    MemGrid check(4, 3, {1});
    check.Fill(1, {"", "src", "x"}, true);
    Grid_Copy_Row_Check(check, 1, p.st.Row_Clipboard, p.st.Row_Clipboard_Check);
    EXPECT_EQ(p.st.Row_Clipboard, (QStringList{"Y", "src", "x"}));
    check.Fill(2, {"", "", ""}, true);
    Grid_Paste_Row_Check(check, 2, true, p.st.Row_Clipboard, p.st.Row_Clipboard_Check, p.st, p.msg);
    EXPECT_TRUE(p.msg.questions.isEmpty());
    EXPECT_EQ(check.Row(2), (QStringList{"[x]", "src", "x"}));
    check.Fill(3, {"", " ", ""}, false);
    // Asked, answered No.
    Grid_Paste_Row_Check(check, 3, true, p.st.Row_Clipboard, p.st.Row_Clipboard_Check, p.st, p.msg);
    EXPECT_EQ(p.msg.questions.size(), 1);
    EXPECT_EQ(check.Row(3), (QStringList{"[ ]", " ", ""}));
}

TEST(GridRows, EnterMoveRule)
{
    int c = 0, r = 0;
    ASSERT_TRUE(Grid_Enter_Target(1, 1, 3, 5, &c, &r));
    EXPECT_EQ(std::pair(c, r), std::pair(2, 1));
    ASSERT_TRUE(Grid_Enter_Target(3, 1, 3, 5, &c, &r));
    EXPECT_EQ(std::pair(c, r), std::pair(1, 2));
    ASSERT_TRUE(Grid_Enter_Target(3, 4, 3, 5, &c, &r)); // last row wraps to row 1
    EXPECT_EQ(std::pair(c, r), std::pair(1, 1));
    EXPECT_FALSE(Grid_Enter_Target(0, 2, 3, 5, &c, &r));
    EXPECT_FALSE(Grid_Enter_Target(2, 0, 3, 5, &c, &r));
}

namespace {

// A one-column grid whose data rows 1..rows - 1 hold "r1", "r2", ...; the column as a list.
MemGrid Numbered(int rows, int filled)
{
    MemGrid g(rows, 1);
    for (int r = 1; r <= filled; ++r)
        g.Fill(r, {QString("r%1").arg(r)});
    return g;
}

QStringList Column(const MemGrid& g, int rows)
{
    QStringList out;
    for (int r = 1; r < rows; ++r)
        out << g.Row(r).first();
    return out;
}

} // namespace

TEST(GridRows, BlocksDeleteAndInsert)
{
    const struct {
        const char* what;
        std::function<void(IGrid&)> op;
        QStringList rows;
    } cases[] = {
        {"delete a block", [](IGrid& g) { Grid_Delete_Rows(g, Row_Form::Text, {2, 3}, false); },
         {"r1", "r4", "r5", "", "", ""}},
        {"delete rows apart", [](IGrid& g) { Grid_Delete_Rows(g, Row_Form::Text, {1, 3, 5}, false); },
         {"r2", "r4", "", "", "", ""}},
        {"delete every row", [](IGrid& g) { Grid_Delete_Rows(g, Row_Form::Text, {1, 2, 3, 4, 5, 6}, false); },
         {"", "", "", "", "", ""}},
        {"delete marks the freed rows", [](IGrid& g) { Grid_Delete_Rows(g, Row_Form::Text, {1, 2}, true); },
         {"r3", "r4", "r5", "", "Y", "Y"}},
        {"insert two", [](IGrid& g) { Grid_Insert_Rows(g, Row_Form::Text, 2, 2, false); },
         {"r1", "", "", "r2", "r3", "r4"}},
        {"insert more than fit below", [](IGrid& g) { Grid_Insert_Rows(g, Row_Form::Text, 5, 4, true); },
         {"r1", "r2", "r3", "r4", "Y", "Y"}},
    };
    for (const auto& c : cases) {
        MemGrid g = Numbered(7, 5); // row 6 is empty
        c.op(g);
        EXPECT_EQ(Column(g, 7), c.rows) << c.what;
    }
}

TEST(GridRows, BlockCopyAndPaste)
{
    test::ProgramFolder p;
    p.start();
    AppState& st = p.st;
    MemGrid g = Numbered(9, 5); // rows 1..8
    const auto paste = [&](int row) {
        Grid_Paste_Rows(g, Row_Form::Text, row, true, st.Row_Clipboard, st.Row_Clipboard_Below,
                        st.Row_Clipboard_Check, st, p.msg);
    };
    Grid_Copy_Rows(g, Row_Form::Text, {1, 3, 4}, st.Row_Clipboard, st.Row_Clipboard_Below, st.Row_Clipboard_Check);
    EXPECT_EQ(st.Row_Clipboard, QStringList{"r1"}) << "the first row is where a one-row copy puts it";
    EXPECT_EQ(st.Row_Clipboard_Below, (QList<QStringList>{{"r3"}, {"r4"}}));

    // Past the end: refused, nothing changed.
    paste(7);
    EXPECT_EQ(p.msg.errors, QStringList{st.Get_Lang_Text(Txt::Paste_Past_End).arg(3).arg(7).arg(2)});
    EXPECT_EQ(Column(g, 9), (QStringList{"r1", "r2", "r3", "r4", "r5", "", "", ""}));

    // Two of the three rows in use: one question naming them; No changes nothing.
    p.msg.answers = {false};
    paste(4);
    EXPECT_EQ(p.msg.questions, QStringList{st.Get_Lang_Text(Txt::Paste_Rows_Overwrite).arg(2).arg(4).arg(6)});
    EXPECT_EQ(Column(g, 9).mid(3, 3), (QStringList{"r4", "r5", ""}));
    p.msg.answers = {true};
    paste(4);
    EXPECT_EQ(Column(g, 9), (QStringList{"r1", "r2", "r3", "r1", "r3", "r4", "", ""}));

    // Exactly up to the last row, into empty rows: no question.
    g.Fill(6, {""});
    p.msg.questions.clear();
    paste(6);
    EXPECT_TRUE(p.msg.questions.isEmpty());
    EXPECT_EQ(Column(g, 9).mid(5), (QStringList{"r1", "r3", "r4"}));

    // A block of another grid's width is refused as a row of it is.
    st.Row_Clipboard_Below.back().append("extra");
    paste(1);
    EXPECT_EQ(p.msg.errors.last(), st.Get_Lang_Text(Txt::Paste_Bad_Copy));
    EXPECT_EQ(g.Row(1).first(), "r1");
}

// The check-box form copies a block's check marks and puts a row's texts back exactly.
TEST(GridRows, CheckFormBlocksAndRowTexts)
{
    test::ProgramFolder p;
    p.start();
    AppState& st = p.st;
    MemGrid g(6, 2, {1});
    g.Fill(1, {"", "one"}, true);
    g.Fill(2, {"", "two"}, false);
    Grid_Copy_Rows(g, Row_Form::Check_Box, {1, 2}, st.Row_Clipboard, st.Row_Clipboard_Below, st.Row_Clipboard_Check);
    Grid_Paste_Rows(g, Row_Form::Check_Box, 4, true, st.Row_Clipboard, st.Row_Clipboard_Below, st.Row_Clipboard_Check,
                    st, p.msg);
    EXPECT_EQ(g.Row(4), (QStringList{"[x]", "one"}));
    EXPECT_EQ(g.Row(5), (QStringList{"[ ]", "two"}));

    const QStringList two = Grid_Row_Texts(g, Row_Form::Check_Box, 2);
    EXPECT_EQ(two, (QStringList{"N", "two"}));
    Grid_Delete_Rows(g, Row_Form::Check_Box, {1, 2}, true);
    EXPECT_EQ(g.Row(5), (QStringList{"[x]", ""}));
    Grid_Put_Row_Texts(g, Row_Form::Check_Box, 5, two);
    EXPECT_EQ(g.Row(5), (QStringList{"[ ]", "two"}));
}
