#include "NmeaAccessModel.h"

#include "session/AppState.h"
#include "lang/Texts.h"
#include "project/nmea/Nmea0183Catalogue.h"

namespace swr {

namespace {

QList<Grid_Column_Desc> Grid_Columns()
{
    QList<Grid_Column_Desc> l;
    for (const NMEA_Column& c : NMEA_Columns())
        l.append(c.grid);
    return l;
}

const NMEA_Column& Col(int column)
{
    return NMEA_Columns()[size_t(column)];
}

// Model columns of the grid columns the rules name.
constexpr int Sentence_Column = NMEA_Col_Sentence - 1;
constexpr int DataField_Column = NMEA_Col_DataField - 1;
constexpr int Index_Column = NMEA_Col_Index - 1;
constexpr int PostOperation_Column = NMEA_Col_PostOperation - 1;
constexpr int Position_Column = NMEA_Col_Position - 1;

QStringList Field_Texts(const QString& Sentence)
{
    QStringList l;
    for (const TFieldSentence& f : NMEA0183_Map(GetIndexSentence(Sentence)).Fields)
        l.append(f.Field);
    return l;
}

} // namespace

NmeaAccessModel::NmeaAccessModel(const AppState& st, NMEA_Listener_Table& t, QObject* parent)
    : GridModel(st, Grid_Columns(), NMEA_Listener_Rows, parent), SerialChannel_SL(Offered_Serial_Channels()), t_(t)
{
}

QString NmeaAccessModel::Text(int row, int column) const
{
    const NMEA_Column& c = Col(column);
    return c.text ? t_.row(row + 1).*c.text : QString();
}

bool NmeaAccessModel::Checked(int row, int column) const
{
    const NMEA_Column& c = Col(column);
    return c.flag && t_.row(row + 1).*c.flag;
}

void NmeaAccessModel::Store_Text(int row, int column, const QString& text)
{
    if (const NMEA_Column& c = Col(column); c.text)
        t_.row(row + 1).*c.text = text;
    stale_ = true;
}

void NmeaAccessModel::Store_Checked(int row, int column, bool checked)
{
    if (const NMEA_Column& c = Col(column); c.flag)
        t_.row(row + 1).*c.flag = checked;
    stale_ = true;
}

void NmeaAccessModel::Cell_Edited(int row, int column)
{
    const int ARow = row + 1;
    NMEA_Listener_Row& r = t_.row(ARow);
    if (column == Sentence_Column)
        Sentence_Chosen(t_, ARow);
    else if (column == DataField_Column)
        Set_Position(t_, ARow, r.Sentence, r.DataField);
    else
        return;
    // What the rule proposed, told to the views.
    for (int c : {DataField_Column, PostOperation_Column, Position_Column})
        Put_Text(row, c, Text(row, c));
    // The Index cell's editability follows the sentence.
    emit dataChanged(index(row, Index_Column), index(row, Index_Column));
}

QStringList NmeaAccessModel::Choices(int row, int column) const
{
    switch (column + 1) {
    case NMEA_Col_Channel: return SerialChannel_SL;
    case NMEA_Col_Sentence: return Enabled_Sentence_Names();
    case NMEA_Col_DataField: return Field_Texts(t_.row(row + 1).Sentence);
    case NMEA_Col_PostOperation: return Post_Operations();
    default: return {};
    }
}

bool NmeaAccessModel::Row_Locked(int row, int) const
{
    return !t_.row(row + 1).Index_Editable();
}

void NmeaAccessModel::Refresh()
{
    stale_ = true; // the messages are in the table's language
    GridModel::Refresh();
}

const NMEA_Findings& NmeaAccessModel::Findings() const
{
    if (!stale_)
        return findings_;
    NMEA_Findings& f = findings_;
    f.rows_in_use = 0;
    for (int ARow = 1; ARow <= NMEA_Listener_Rows; ++ARow) {
        f.check[size_t(ARow - 1)] = Listener_Row_Findings(st_, t_, ARow);
        if (!t_.row(ARow).Is_Empty())
            ++f.rows_in_use;
    }
    f.uses = Listener_Uses(t_);
    f.overlaps = Find_Overlaps(f.uses);
    stale_ = false;
    return f;
}

Row_Marker NmeaAccessModel::Marker(int row) const
{
    const NMEA_Findings& f = Findings();
    QStringList overlaps;
    for (const Data_Area_Overlap& o : f.overlaps) {
        const Data_Area_Use& a = f.uses[o.first];
        const Data_Area_Use& b = f.uses[o.second];
        if (a.row != row + 1 && b.row != row + 1)
            continue;
        const Data_Area_Use& other = a.row == row + 1 ? b : a;
        overlaps.append(st_.Get_Lang_Text(Txt::Nmea_Overlap)
                            .arg(qMax(a.Position, b.Position))
                            .arg(qMin(a.End(), b.End()) - 1)
                            .arg(other.row));
    }
    return Findings_Marker(f.check[size_t(row)], overlaps);
}

} // namespace swr
