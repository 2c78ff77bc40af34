#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace swr {

// The NMEA 0183 sentences the device can listen to. Sentence indices (1..57), the order
// of each sentence's fields (the field index) and the post-operation codes are compiled
// into the device bank; the sentence names and field texts are the keys stored in the
// listener file. All of it is built in and read-only.

inline constexpr int NMEA0183_Sentence_Count = 57;

struct TFieldSentence {
    QString Field;
    qint32 Dimension = 0; // bytes the value takes in the device data area
};

struct TMNEA0183_Map {
    QList<TFieldSentence> Fields; // empty for a sentence that is not enabled
};

struct TNMEA0183_Sentence {
    QString Name;
    bool Enabled = false;
};

// The valid Index of a listener row whose sentence and field use one, and the text of the
// message shown when it is outside.
struct TIndex_Range {
    int Min;
    int Max;
    int Text;
};

// Builds the lookup structures; the lookups build them on first use as well, so calling
// it again (or never) changes nothing.
void Init_NMEA0183_Map();

// Records by sentence index 1..57; any other index gives an empty, disabled record.
const TNMEA0183_Sentence& NMEA0183_Sentence(int Ind_Sent);
const TMNEA0183_Map& NMEA0183_Map(int Ind_Sent);

// Index 1..57 of the sentence named exactly Sentence (enabled or not), else -1.
int GetIndexSentence(const QString& Sentence);
int Find_Sentence(const QString& Sentence);
// Sentence when it is exactly the name of an enabled sentence, else empty.
QString Get_Sentence(const QString& Sentence);
// 0-based position of the field whose text, upper-cased and trimmed, equals DataField
// (callers pass it upper-cased), else -1; -1 also for a sentence without fields.
int GetIndexDataField(int Ind_Sent, const QString& DataField);
// DataField when it is exactly one of the field texts of Sentence, else empty.
QString Get_DataField(const QString& DataField, const QString& Sentence);

// The nine post operations in code order ("None" is code 0).
const QStringList& Post_Operations();
// Code of the post operation PostOpe, 0 ("None") when it is not one of them.
int GetIndexPostOperation(const QString& PostOpe);
// PostOpe when it is exactly one of the nine texts, else empty.
QString Get_PostOperatin(const QString& PostOpe);

// Serial channel names by channel code 0..2, and those offered for a channel mask
// (bit n offers code n). The access screen offers only "RS232" (mask 1).
const QStringList& Serial_Channel_Names();
inline constexpr int Offered_Serial_Mask = 1;
QStringList Offered_Serial_Channels(int Enable_Serial = Offered_Serial_Mask);
// Ser_Chan when it is exactly one of the offered channel names, else empty.
QString Get_Serial_Channel(const QString& Ser_Chan, int Enable_Serial = Offered_Serial_Mask);

// Names of the enabled sentences in index order, as the sentence list offers them.
QStringList Enabled_Sentence_Names();

// Whether rows of the sentence carry an Index at all (the Index cell is editable).
bool Index_Capable_Sentence(int Ind_Sent);
// The Index range for the field, or nullptr when that field does not use the Index.
// Sentences whose every field uses it give their range whatever Field_Index is.
const TIndex_Range* Index_Range(int Ind_Sent, int Field_Index);

// The catalogue as text, sentence 1 to 57: per field
// "<index>\t<name>\t<field index>\t<dimension>\t<field text>", and "<index>\t<name>" for a
// sentence without fields; one LF-ended line each.
QString Sentences_Listing();

} // namespace swr
