#pragma once

// How an editing grid shows its columns: header and hint from the string table, and the
// editor a cell gets. The tables that own the rows describe their columns with these, so
// the file code and the screen read one description.
namespace swr {

enum class Cell_Editor {
    Check,           // a check mark; "Y"/"N" in the file
    Choice,          // a drop-down that accepts only a listed value
    Editable_Choice, // a drop-down that also takes typed text
    Text,            // free text
    Hidden,          // kept with the row, never shown
};

// When the cells of a column cannot be edited.
enum class Cell_Lock {
    Never,
    Always,
    By_Row, // the row decides (the Index of a sentence without one, say)
};

struct Grid_Column_Desc {
    int header = -1; // string table index of the header text
    int hint = -1;   // string table index of the header's hint; -1 for none
    Cell_Editor editor = Cell_Editor::Text;
    Cell_Lock lock = Cell_Lock::Never;
};

} // namespace swr
