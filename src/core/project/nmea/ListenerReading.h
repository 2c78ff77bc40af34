#pragma once

#include "project/RowValues.h"

#include <cstdint>

namespace swr {

// A row of the listener file as the compiler takes it into the device's listener bank.
// The compiler, the data-area map and the listener screen's Position proposal read rows
// here, so that what they show is what the device gets.

enum class Listener_Attr { Enable, Sentence, Index, DataField, PortOperation, SwapAll, Swap16, Position, Count };
using Listener_Values = Row_Values<Listener_Attr>;
inline constexpr Listener_Values::Names Listener_Attributes{
    "Enable", "Sentence", "Index", "DataField", "PortOperation", "SwapAll", "Swap16", "Position"};

inline Listener_Values Read_Listener_Values(const pugi::xml_node& row)
{
    return {row, Listener_Attributes};
}

struct Listener_As_Compiled {
    int Sentence_Index = 0; // 1..57, an enabled sentence
    int Field_Index = 0;    // in the sentence's list of fields
    int Dimension = 0;      // bytes the field's value fills in the data area
    uint16_t Position = 0;  // the low 16 bits of the Position
    uint8_t Post_Operation = 0;
    uint8_t Swap_Flags = 0; // bit 0 swap all, bit 1 swap 16
    uint8_t Item_Index = 0; // the low 8 bits of the Index, for the fields that take one
};

// The row as the compiler takes it; false when the compiler skips it: Enable is not
// exactly "Y", or the sentence is not an enabled one of the catalogue, or the data field
// is not one of the sentence's (either of them missing included). Every other value
// falls back (0, not set) when it is missing or does not read.
bool Read_Listener(const Listener_Values& v, Listener_As_Compiled* out);

// Where the listener screen reads a value in its own way, both readings stand here.
//
// Enable. The compiler's: exactly "Y"; missing is off. The screen's load (Read_Row in
// NmeaAccess.cpp) shows a row enabled unless its Enable is exactly "N", and its save then
// writes "Y": a "y" row is off in the bank until the screen saves it again.
bool Compiled_Enable(QAnyStringView enable);
//
// Sentence and data field. The compiler's (Compiled_Field): both trimmed and upper-cased,
// and only an enabled sentence. The Position proposal's (Proposal_Field): the sentence as
// it stands, any sentence of the catalogue; the field upper-cased, not trimmed. (The
// screen's load takes only the exact catalogue texts; its check trims control characters
// off both: Row_Fault in NmeaAccess.cpp.)
struct Catalogue_Field {
    int Sentence_Index = -1;
    int Field_Index = -1;
    int Dimension = 0; // 0 when the texts name no field
};
Catalogue_Field Compiled_Field(const QString& sentence, const QString& field);
Catalogue_Field Proposal_Field(const QString& sentence, const QString& field);
//
// Position. The compiler's: trimmed, 0 when it does not read as a number, then its low 16
// bits. The proposal's: trimmed, 0 when it does not read, the whole number. (The check
// refuses anything that does not read or lies outside the data area.)
uint16_t Compiled_Position(QAnyStringView position);
int Proposal_Position(QAnyStringView position);

} // namespace swr
