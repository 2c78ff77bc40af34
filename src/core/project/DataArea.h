#pragma once

#include <QList>

namespace swr {

struct NMEA_Listener_Table;

// Who fills or reads which bytes of the device's data area. The listener rows fill it;
// the publish rules read it. A use is one row's run of bytes.

enum class Data_Area_User {
    Listener,     // a row of the NMEA listener table
    Publish_Rule, // a publish rule of the MQTT topic table
};

struct Data_Area_Use {
    Data_Area_User user = Data_Area_User::Listener;
    int row = 0;       // the row's number in its table, from 1
    int Position = 0;  // first byte
    int Dimension = 0; // bytes

    int End() const { return Position + Dimension; } // one past the last byte
    bool Shares_Bytes(int position, int dimension) const
    {
        return Position < position + dimension && position < End();
    }

    bool operator==(const Data_Area_Use&) const = default;
};

// Two uses (indices into the list given, first < second) whose bytes overlap.
struct Data_Area_Overlap {
    int first = 0;
    int second = 0;

    bool operator==(const Data_Area_Overlap&) const = default;
};

// The enabled listener rows that compile (sentence and field in the catalogue, Position
// in the area), in row order, with the bytes each fills.
QList<Data_Area_Use> Listener_Uses(const NMEA_Listener_Table& t);

// Every pair of uses whose byte ranges share a byte, in the order of their first use.
QList<Data_Area_Overlap> Find_Overlaps(const QList<Data_Area_Use>& uses);
// The indices of the uses that share a byte with [position, position + dimension).
QList<int> Uses_Touching(const QList<Data_Area_Use>& uses, int position, int dimension);
// How many distinct bytes of the area the uses fill (bytes past its end not counted).
int Bytes_Filled(const QList<Data_Area_Use>& uses);
// The first byte after the use of the highest row; 0 without uses.
int Next_Free_Position(const QList<Data_Area_Use>& uses);

// What a publish rule finds in the bytes [position, position + dimension) it reads.
struct Publish_Read {
    int unfilled = 0;        // how many of the bytes no use fills
    int first_unfilled = -1; // the first of them; -1 when every byte is filled
    int partial = -1;        // index of the first use the rule reads only part of; -1 for none
};
Publish_Read Find_Publish_Read(const QList<Data_Area_Use>& uses, int position, int dimension);

} // namespace swr
