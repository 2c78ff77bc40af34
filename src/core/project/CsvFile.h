#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace swr {

class Texts;

// The CSV files the program reads and writes (the tables, the devices of a fleet and its
// report), all under the same rules.
//
// Written as UTF-8 with a byte-order mark, comma-separated, CR LF, with quotes around a
// value that holds a comma, a quote or a line break, and one apostrophe before a value
// that a spreadsheet would take for a formula (one beginning with "=", "+", "-" or "@",
// after any apostrophes of its own).
//
// Read with or without the mark, with the separator of the header line (comma or
// semicolon), CR LF or LF, strictly as RFC 4180 quotes (a quote only opens and closes a
// whole value). The first line that is not blank names the columns; blank lines are passed
// over; every other line must have as many values as the header has names. One apostrophe
// is taken off before those four characters, so an export reads back exactly.

// Appends one line of values, CR LF at its end.
void Append_Csv_Line(QString& out, const QStringList& values);
// The text of a CSV file: the byte-order mark, then the lines.
QByteArray Csv_File_Bytes(const QString& lines);

// One line of a file as read: where it begins and its values.
struct Csv_Line {
    int line = 1;
    QStringList values;
};

// What reads the lines of a CSV file. Each call returns false to refuse the file, with
// the message set (Csv_Line_Message and Csv_Cell_Message give the place).
class Csv_Sink {
public:
    virtual ~Csv_Sink() = default;
    // The header line, its names as written.
    virtual bool Header(const Csv_Line& header, QString* message) = 0;
    // A line after the header, with as many values as the header has names; values that
    // are all empty too.
    virtual bool Row(const Csv_Line& row, QString* message) = 0;
    // The column at position field of the header, as a message names it.
    virtual QString Column_Name(int field) const { return header_names.value(field); }

    QStringList header_names; // filled before Header is called
};

// Reads the file's lines into sink, in order, up to the first refusal. False with the
// message when the file is refused, by the reader or by the sink.
bool Read_Csv(const Texts& texts, const QByteArray& bytes, Csv_Sink& sink, QString* message);

// "Line n: reason" and "Line n, column c: reason".
QString Csv_Line_Message(const Texts& texts, int line, const QString& reason);
QString Csv_Cell_Message(const Texts& texts, int line, const QString& column, const QString& reason);

} // namespace swr
