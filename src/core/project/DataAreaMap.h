#pragma once

#include "base/DataArea.h"
#include "project/DataArea.h"
#include "project/ProjectFile.h"

#include <QList>
#include <QString>

#include <array>
#include <cstdint>

namespace swr {

class Texts;
struct NMEA_Listener_Table;
struct MQTT_Topic_Table;

// The map of the device's data area: which listener rows fill each byte and which publish
// rules read it, and what does not meet. Only the rows that compile take part.

// A listener row that fills bytes, with what the map shows of it.
struct Map_Listener {
    Data_Area_Use use;
    QString Sentence, DataField;
};

// A publish rule that reads bytes.
struct Map_Rule {
    Data_Area_Use use;
    QString Topic, DataType;
};

enum class Finding_Severity { Warning, Note };
enum class Finding_Kind {
    Overlap,           // warning: two listener rows fill the same bytes
    Unfilled,          // warning: a rule reads bytes no listener row fills
    Across,            // warning: a rule reads past the end of a field
    Part_Of_Field,     // note: a rule reads part of a field
    Dimension_Differs, // note: a rule starts at a field with another Dimension
    Not_Published,     // note: a field no rule reads
};

struct Map_Finding {
    Finding_Severity severity = Finding_Severity::Warning;
    Finding_Kind kind = Finding_Kind::Overlap;
    QList<int> listener_rows; // row numbers, from 1
    QList<int> rule_rows;
    QString text;
};

// What a byte of the area holds, as the map window colours it.
enum class Byte_State : uint8_t { Free, Filled, Published, Unfilled_Read, Conflict };

struct Data_Area_Map {
    QList<Map_Listener> listeners; // row order
    QList<Map_Rule> rules;         // row order
    QList<Data_Area_Use> listener_uses; // the uses of listeners, same order
    std::array<Byte_State, Data_Area_Size> bytes{};
    QList<Map_Finding> findings; // warnings first, then notes

    int Warning_Count() const;
    // The listeners and rules (indices into the lists) that fill or read byte b.
    QList<int> Listeners_At(int b) const;
    QList<int> Rules_At(int b) const;
};

// What one publish rule finds in the fields: at most one warning (bytes no field fills,
// or past the end of a field), then at most one note (part of a field, or another
// Dimension than the field it starts at). The topic screen's row markers show these.
QList<Map_Finding> Rule_Findings(const Texts& texts, const Data_Area_Use& rule,
                                 const QList<Data_Area_Use>& fields);

// Builds the map of the two tables as they stand.
Data_Area_Map Build_Data_Area_Map(const Texts& texts, const NMEA_Listener_Table& listeners,
                                  const MQTT_Topic_Table& topics);

// Loads the listener file File_NMEA_Access as the compiler takes it: every row holds its
// texts as stored (" gga " too, which the screen shows empty), a row whose Enable is not
// exactly "Y" is disabled, though the screen shows it enabled, and without a File_ParGen
// the serial line is off and every row is.
FileResult Load_Compiled_Listeners(const Texts& texts, const QString& File_NMEA_Access, const QString& File_ParGen,
                                   NMEA_Listener_Table& t);

// Loads both tables of the configuration in folder and builds their map; the first file
// that cannot be loaded gives ok false with its message.
FileResult Load_Data_Area_Map(const Texts& texts, const QString& folder, Data_Area_Map& map);

// A run of bytes filled and read by the same rows (indices into listeners and rules).
struct Map_Range {
    int first = 0, last = 0;
    QList<int> listeners, rules;
};
// The runs of the area that some row fills or reads, in address order.
QList<Map_Range> Map_Ranges(const Data_Area_Map& map);

// One line naming a row of the map: "Listener row 3: GGA, ... (4 bytes)".
QString Listener_Line(const Texts& texts, const Map_Listener& l);
QString Rule_Line(const Texts& texts, const Map_Rule& r);
// Byte b and the rows that fill and read it, one a line.
QString Byte_Description(const Texts& texts, const Data_Area_Map& map, int b);

// The question Update Device asks when the map has warnings: at most ten of them, then
// how many more. Empty without warnings.
QString Map_Warnings_Question(const Texts& texts, const Data_Area_Map& map);

} // namespace swr
