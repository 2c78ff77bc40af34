#pragma once

#include <QString>
#include <QStringList>

#include <span>

namespace swr {

// A table screen's rows seen as the texts of their attributes, in the order the project
// file writes them. The file's save and the CSV export both go through it, so they write
// the same rows with the same texts; the CSV import fills rows through it.
template <class Table>
struct Table_Texts {
    std::span<const char* const> names; // the attribute names, in file order
    int capacity;                       // rows of the table
    // The last row a save writes, counted from 1; 0 when it writes none.
    int (*used)(const Table&);
    // Whether a save writes row ARow, one of the used ones.
    bool (*saved)(const Table&, int ARow);
    // The texts a save writes for row ARow, one per name.
    QStringList (*texts)(const Table&, int ARow);
    // Fills row ARow from texts, one per name, each read as the file's loader reads its
    // attribute; an empty text stands for an empty cell of the screen.
    void (*fill)(Table&, int ARow, const QStringList& texts);
    // Empties every row.
    void (*clear)(Table&);
};

// Calls each(texts) for every row a save writes, in table order.
template <class Table, class Each>
void For_Saved_Rows(const Table_Texts<Table>& form, const Table& t, Each each)
{
    const int used = form.used(t);
    for (int ARow = 1; ARow <= used; ++ARow)
        if (form.saved(t, ARow))
            each(form.texts(t, ARow));
}

} // namespace swr
