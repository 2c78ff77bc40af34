#include "project/GridFind.h"
#include "project/GridRows.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace swr;

namespace {

// One column of texts, row 1 first.
class Column_Grid final : public IGrid {
public:
    explicit Column_Grid(QStringList cells) : cells_(std::move(cells)) {}
    int Row_Count() const override { return int(cells_.size()) + 1; }
    int Col_Count() const override { return 1; }
    QString Cell_Text(int, int row) const override { return cells_.at(row - 1); }
    void Set_Cell_Text(int, int row, const QString& text) override { cells_[row - 1] = text; }
    bool Is_Check_Cell(int, int) const override { return false; }
    bool Cell_Checked(int, int) const override { return false; }
    void Set_Cell_Checked(int, int, bool) override {}
    bool Column_Is_Check_Editor(int) const override { return false; }

private:
    QStringList cells_;
};

TEST(GridFind, ReplacesEveryMatchOfACellAndCountsOnlyCellsThatChange)
{
    const Column_Grid g({"Ship1/a/ship1", "nav", "SHIP1", "x.y", "a"});
    const struct {
        const char* name;
        Grid_Search search;
        QString with;
        QList<Cell_Change> expected;
    } cases[] = {
        {"any case, every match", {"ship1", false}, "s2", {{1, "s2/a/s2"}, {3, "s2"}}},
        {"case counts", {"ship1", true}, "s2", {{1, "Ship1/a/s2"}}},
        {"a dot is a dot", {".", false}, "/", {{4, "x/y"}}},
        {"the replacement holds the text", {"a", false}, "aa", {{1, "Ship1/aa/ship1"}, {2, "naav"}, {5, "aa"}}},
        {"the same text again changes nothing", {"SHIP1", true}, "SHIP1", {}},
        {"an empty text finds nothing", {"", false}, "z", {}},
    };
    for (const auto& c : cases) {
        const QList<Cell_Change> got = Grid_Replaced_Cells(g, 1, {1, 2, 3, 4, 5}, c.search, c.with);
        ASSERT_EQ(got.size(), c.expected.size()) << c.name;
        for (qsizetype i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].row, c.expected[i].row) << c.name;
            EXPECT_EQ(got[i].text, c.expected[i].text) << c.name;
        }
    }
    EXPECT_EQ(Grid_Replaced_Cells(g, 1, {2, 3}, {"ship1", false}, "s2").size(), 1) << "only the rows given";
}

} // namespace
