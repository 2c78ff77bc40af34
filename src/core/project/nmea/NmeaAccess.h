#pragma once

#include "base/DataArea.h"
#include "base/GridColumns.h"
#include "project/CheckFinding.h"
#include "project/ProjectFile.h"
#include "project/TableTexts.h"

#include <QString>

#include <array>
#include <span>

namespace swr {

class Texts;

// The NMEA listener table of a project (NMEA_0183_Set_Access.xml): which field of which
// sentence the device stores where in its data area.

inline constexpr int NMEA_Listener_Rows = 100;

// One row as the user sees it: texts as typed or picked, three check marks.
struct NMEA_Listener_Row {
    bool Enable = true;
    QString Serial_Channel;
    QString Sentence;
    QString Index;
    QString DataField;
    QString PortOperation;
    bool SwapAll = false;
    bool Swap16 = false;
    QString Position;
    QString Mnemonic;

    bool Is_Empty() const; // no sentence (blanks do not count)
    // The Index cell is editable only for sentences that use an Index.
    bool Index_Editable() const;

    bool operator==(const NMEA_Listener_Row&) const = default;
};

// 100 rows; a default-constructed table is the table of a project without a file.
struct NMEA_Listener_Table {
    std::array<NMEA_Listener_Row, NMEA_Listener_Rows> rows;

    NMEA_Listener_Row& row(int ARow) { return rows.at(size_t(ARow - 1)); } // ARow from 1
    const NMEA_Listener_Row& row(int ARow) const { return rows.at(size_t(ARow - 1)); }
};

// How a column's attribute is read back (a missing attribute is a null one).
enum class NMEA_Load_Rule {
    Enable,        // set unless exactly "N"; set when missing
    Channel,       // always the one channel offered
    Sentence,      // an enabled sentence's name, else empty
    Stored,        // as stored, empty when missing
    DataField,     // a field text of the row's sentence (read before), else empty
    PostOperation, // one of the nine texts, else empty; "None" when missing
    Swap,          // set only when exactly "Y"
};

// One column of the table: its attribute in the file, how it is read, the row value it
// holds (a flag, written "Y"/"N", or a text) and how the grid shows it.
struct NMEA_Column {
    const char* attribute;
    NMEA_Load_Rule rule;
    bool NMEA_Listener_Row::*flag;
    QString NMEA_Listener_Row::*text;
    Grid_Column_Desc grid;
};

// The ten columns in the order they are written, which is the grid's column 1 to 10.
std::span<const NMEA_Column> NMEA_Columns();
inline constexpr int NMEA_Col_Channel = 2; // grid columns the screen's rules name
inline constexpr int NMEA_Col_Sentence = 3;
inline constexpr int NMEA_Col_Index = 4;
inline constexpr int NMEA_Col_DataField = 5;
inline constexpr int NMEA_Col_PostOperation = 6;
inline constexpr int NMEA_Col_Position = 9;
inline constexpr int NMEA_Col_Mnemonic = 10;

// Resets t and fills it from the file. A missing file leaves the defaults and is no
// error. A file that is not well-formed, or that holds no listener list, gives ok false
// with the message (t then holds the defaults). Rows beyond the 100th are not loaded and
// a notice says so.
FileResult Load_NMEA_Access(const Texts& texts, const QString& path, NMEA_Listener_Table& t);

// The table as its file writes it, row by row; the CSV form reads and writes the same.
const Table_Texts<NMEA_Listener_Table>& Listener_Texts();

// Writes the file whole. Like every project file's save it does not check: the caller runs
// Controllo_dati first and saves only when it passes.
FileResult Save_NMEA_Access(const Texts& texts, const QString& path, const NMEA_Listener_Table& t);

// The findings of row ARow: the first test the check refuses, as an error ("Error row
// <n>" and the reason); none when the check skips or passes the row.
Check_Findings Listener_Row_Findings(const Texts& texts, const NMEA_Listener_Table& t, int ARow);
// The findings of every row, in row order.
Check_Findings Data_Check(const Texts& texts, const NMEA_Listener_Table& t);
// The check of OK: empty when every enabled row with a sentence is valid, otherwise the
// message for the first fault.
QString Controllo_dati(const Texts& texts, const NMEA_Listener_Table& t);

// The bytes of the data area the row fills once compiled: an enabled row whose sentence
// and field the compiler finds (blanks and case aside) and whose Position is a start
// offset in the area. False for any other row.
bool Row_Placement(const NMEA_Listener_Row& r, int* Position, int* Dimension);

// The first free byte after the nearest earlier enabled row with a catalogue field.
int Get_Last_Position(const NMEA_Listener_Table& t, int ARow);
// Proposes and writes the Position of row ARow for the sentence and field just chosen.
void Set_Position(NMEA_Listener_Table& t, int ARow, const QString& Sentence,
                  const QString& DataField);
// What picking the sentence now in row ARow proposes: its first data field, "None" for an
// empty post operation (the check refuses none), and the Position (Set_Position). The
// Index keeps its text.
void Sentence_Chosen(NMEA_Listener_Table& t, int ARow);

} // namespace swr
