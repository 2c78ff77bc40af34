#include "project/nmea/ListenerReading.h"

#include "base/Numbers.h"
#include "project/nmea/Nmea0183Catalogue.h"

namespace swr {

namespace {

Catalogue_Field Field_Of(int s, int f)
{
    if (f < 0)
        return {};
    return {s, f, NMEA0183_Map(s).Fields.at(f).Dimension};
}

} // namespace

bool Compiled_Enable(QAnyStringView enable)
{
    return enable == QLatin1String("Y");
}

Catalogue_Field Compiled_Field(const QString& sentence, const QString& field)
{
    const int s = Find_Sentence(sentence.trimmed().toUpper());
    if (s < 1 || s > NMEA0183_Sentence_Count || !NMEA0183_Sentence(s).Enabled)
        return {};
    return Field_Of(s, GetIndexDataField(s, field.trimmed().toUpper()));
}

Catalogue_Field Proposal_Field(const QString& sentence, const QString& field)
{
    const int s = GetIndexSentence(sentence);
    return Field_Of(s, GetIndexDataField(s, field.toUpper()));
}

uint16_t Compiled_Position(QAnyStringView position)
{
    return uint16_t(Decimal_Trimmed_Or(position, 0) & 0xFFFF);
}

int Proposal_Position(QAnyStringView position)
{
    return Decimal_Trimmed_Or(position, 0);
}

bool Read_Listener(const Listener_Values& v, Listener_As_Compiled* out)
{
    using A = Listener_Attr;
    if (!Compiled_Enable(v.View(A::Enable)))
        return false;
    const Catalogue_Field f = Compiled_Field(v.Text(A::Sentence), v.Text(A::DataField));
    if (f.Field_Index < 0)
        return false;
    Listener_As_Compiled c;
    c.Sentence_Index = f.Sentence_Index;
    c.Field_Index = f.Field_Index;
    c.Dimension = f.Dimension;
    // Only the sentences and fields that address one of several values carry an Index.
    if (Index_Range(f.Sentence_Index, f.Field_Index))
        c.Item_Index = uint8_t(Decimal_Trimmed_Or(v.View(A::Index), 0) & 0xFF);
    c.Post_Operation = uint8_t(GetIndexPostOperation(v.Text(A::PortOperation).trimmed()));
    const auto yes = [&v](A a) { return v.Text(a).trimmed().toUpper() == QLatin1String("Y"); };
    c.Swap_Flags = uint8_t((yes(A::SwapAll) ? 1 : 0) | (yes(A::Swap16) ? 2 : 0));
    c.Position = Compiled_Position(v.View(A::Position));
    *out = c;
    return true;
}

} // namespace swr
