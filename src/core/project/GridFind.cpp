#include "project/GridFind.h"

#include "project/GridRows.h"

#include <algorithm>

namespace swr {

namespace {

Qt::CaseSensitivity Case_Of(const Grid_Search& s)
{
    return s.match_case ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

} // namespace

bool Matches(const Grid_Search& search, const QString& cell)
{
    return !search.text.isEmpty() && cell.contains(search.text, Case_Of(search));
}

QList<int> Grid_Find_Rows(const IGrid& grid, const QList<int>& columns, const Grid_Search& search)
{
    QList<int> rows;
    if (search.text.isEmpty())
        return rows;
    for (int row = 1; row < grid.Row_Count(); ++row)
        for (const int col : columns)
            if (Matches(search, grid.Cell_Text(col, row))) {
                rows.append(row);
                break;
            }
    return rows;
}

int Next_Found_Row(const QList<int>& found, int row, bool back)
{
    if (found.isEmpty())
        return 0;
    if (back) {
        const auto before = std::lower_bound(found.cbegin(), found.cend(), row);
        return before == found.cbegin() ? found.back() : *(before - 1);
    }
    const auto after = std::upper_bound(found.cbegin(), found.cend(), row);
    return after == found.cend() ? found.front() : *after;
}

QList<Cell_Change> Grid_Replaced_Cells(const IGrid& grid, int col, const QList<int>& rows, const Grid_Search& search,
                                       const QString& with)
{
    QList<Cell_Change> changes;
    for (const int row : rows) {
        const QString before = grid.Cell_Text(col, row);
        if (!Matches(search, before))
            continue;
        QString after = before;
        after.replace(search.text, with, Case_Of(search));
        if (after != before)
            changes.append({row, std::move(after)});
    }
    return changes;
}

} // namespace swr
