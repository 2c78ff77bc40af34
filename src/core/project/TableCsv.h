#pragma once

#include "project/ProjectFile.h"

#include <QByteArray>
#include <QString>

namespace swr {

class Texts;
struct NMEA_Listener_Table;
struct MQTT_Topic_Table;

// The two table screens' tables in CSV: a header line of the file's attribute names, then
// one line per row. Written as UTF-8 with a byte-order mark, comma-separated, CR LF, with
// quotes around a value that holds a comma, a quote or a line break, and one apostrophe
// before a value that a spreadsheet would take for a formula (one beginning with "=",
// "+", "-" or "@", after any apostrophes of its own). Read with or without the mark, with
// the separator of the header line (comma or semicolon), CR LF or LF, columns in any order
// and named in any case; a missing column leaves its cells empty, and one apostrophe is
// taken off before those four characters.

enum class Csv_Table { Listener, Publish };

// The rows the screen's OK would save, in table order, each value as it would be saved.
QByteArray Table_Csv(const NMEA_Listener_Table& t);
QByteArray Table_Csv(const MQTT_Topic_Table& m);

// Puts the rows of csv into the table: in place of its rows, or with append after the last
// row a save would write. Each cell is read as the project file's loader reads it; a value
// the column cannot hold as written is refused. On failure the table is unchanged and the
// message names the line, and the column where there is one.
FileResult Table_From_Csv(const Texts& texts, const QByteArray& csv, bool append, NMEA_Listener_Table& t);
FileResult Table_From_Csv(const Texts& texts, const QByteArray& csv, bool append, MQTT_Topic_Table& m);

// Table_From_Csv over the file csv_file; a message of the CSV's names the file.
FileResult Table_From_Csv_File(const Texts& texts, const QString& csv_file, bool append, NMEA_Listener_Table& t);
FileResult Table_From_Csv_File(const Texts& texts, const QString& csv_file, bool append, MQTT_Topic_Table& m);

// The table of the configuration folder's project file as CSV. A missing file gives the
// header line alone.
FileResult Export_Table_Csv(const Texts& texts, const QString& folder, Csv_Table table, QByteArray* csv);

// Imports csv_file into the table of the folder's project file, runs the table's data
// check and writes the project file as the screen's OK does. On any error nothing is
// written. The check's warnings come back as notices.
FileResult Import_Table_Csv(const Texts& texts, const QString& folder, Csv_Table table,
                            const QString& csv_file, bool append);

} // namespace swr
