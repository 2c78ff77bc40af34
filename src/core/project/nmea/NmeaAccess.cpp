#include "project/nmea/NmeaAccess.h"

#include "lang/Texts.h"
#include "base/Xml.h"
#include "base/Numbers.h"
#include "base/TextHelpers.h"
#include "lang/LangTable.h"
#include "project/nmea/ListenerReading.h"
#include "project/nmea/Nmea0183Catalogue.h"

#include <QDir>

namespace swr {

namespace {

using Row = NMEA_Listener_Row;

using Rule = NMEA_Load_Rule;
using Column = NMEA_Column;

constexpr Column Columns[] = {
    {"Enable", Rule::Enable, &Row::Enable, nullptr, {1015, 1024, Cell_Editor::Check}},
    {"Serial_Channel", Rule::Channel, nullptr, &Row::Serial_Channel, {1016, 1025, Cell_Editor::Hidden}},
    {"Sentence", Rule::Sentence, nullptr, &Row::Sentence, {1017, 1026, Cell_Editor::Choice}},
    {"Index", Rule::Stored, nullptr, &Row::Index, {1040, 1041, Cell_Editor::Text, Cell_Lock::By_Row}},
    {"DataField", Rule::DataField, nullptr, &Row::DataField, {1018, 1027, Cell_Editor::Choice}},
    {"PortOperation", Rule::PostOperation, nullptr, &Row::PortOperation, {1019, 1028, Cell_Editor::Choice}},
    {"SwapAll", Rule::Swap, &Row::SwapAll, nullptr, {1020, 1029, Cell_Editor::Check}},
    {"Swap16", Rule::Swap, &Row::Swap16, nullptr, {1021, 1030, Cell_Editor::Check}},
    {"Position", Rule::Stored, nullptr, &Row::Position, {1022, 1031}},
    {"Mnemonic", Rule::Stored, nullptr, &Row::Mnemonic, {1023, 1032}},
};
static_assert(std::size(Columns) == 10);
static_assert(Columns[NMEA_Col_Channel - 1].rule == Rule::Channel && Columns[NMEA_Col_Sentence - 1].rule == Rule::Sentence
              && Columns[NMEA_Col_DataField - 1].rule == Rule::DataField
              && Columns[NMEA_Col_PostOperation - 1].rule == Rule::PostOperation
              && Columns[NMEA_Col_Index - 1].grid.lock == Cell_Lock::By_Row
              && Columns[NMEA_Col_Position - 1].grid.header == 1022);

const char* const List_Element = "NMEA_Listener";

QString Channel()
{
    return Serial_Channel_Names().at(0);
}

// Reads one column's attribute into the row as the loader does; present is false for a
// missing attribute.
void Read_Value(const Column& c, const QString& v, bool present, Row& r)
{
    switch (c.rule) {
    case Rule::Enable: r.*c.flag = !present || v != QLatin1String("N"); break;
    case Rule::Swap: r.*c.flag = v == QLatin1String("Y"); break;
    case Rule::Channel: r.*c.text = Channel(); break;
    case Rule::Sentence: r.*c.text = Get_Sentence(v); break;
    case Rule::Stored: r.*c.text = v; break;
    case Rule::DataField: r.*c.text = Get_DataField(v, r.Sentence); break;
    case Rule::PostOperation: r.*c.text = present ? Get_PostOperatin(v) : Post_Operations().at(0); break;
    }
}

void Read_Row(const pugi::xml_node& e, Row& r)
{
    for (const Column& c : Columns) {
        const pugi::xml_attribute a = e.attribute(c.attribute);
        Read_Value(c, Q(a.value()), bool(a), r); // empty for a missing attribute
    }
}

// The text a save writes for the column of the row.
QString Saved_Text(const Column& c, const Row& r)
{
    if (c.flag)
        return QLatin1String(r.*c.flag ? "Y" : "N");
    return c.rule == Rule::Channel ? Channel() : r.*c.text;
}

constexpr auto Names = [] {
    std::array<const char*, std::size(Columns)> n{};
    for (size_t i = 0; i < n.size(); ++i)
        n[i] = Columns[i].attribute;
    return n;
}();

// Bytes of the catalogue field the sentence and field texts name, 0 when they name none,
// as the Position proposal reads them.
qint32 Field_Dimension(const QString& Sentence, const QString& DataField)
{
    return Proposal_Field(Sentence, DataField).Dimension;
}

// The first fault of an enabled row with a sentence: its text index, what follows the
// text, and the grid column of the cell the test reads. Text 0 when the row is valid.
struct Row_Fault {
    int text = 0;
    QString tail;
    int column = 0;
};

Row_Fault Find_Row_Fault(const Row& r)
{
    const QString field = Trim_Control(r.DataField);
    const int s = GetIndexSentence(Trim_Control(r.Sentence));
    const int f = GetIndexDataField(s, field.toUpper());
    if (const TIndex_Range* range = Index_Range(s, f)) {
        const int index = Decimal_Trimmed_Or(r.Index, -1);
        if (index < range->Min || index > range->Max)
            return {range->Text, {}, NMEA_Col_Index};
    }
    if (field.isEmpty())
        return {Txt::Nmea_Data_Field_Missing, {}, NMEA_Col_DataField};
    if (Trim_Control(r.PortOperation).isEmpty())
        return {Txt::Nmea_Post_Operation_Missing, {}, NMEA_Col_PostOperation};
    const int position = Decimal_Trimmed_Or(r.Position, -1);
    if (position < 0 || position >= Data_Area_Size)
        return {Txt::Nmea_Position_Range, QString::number(Data_Area_Size), NMEA_Col_Position};
    return {};
}

} // namespace

std::span<const NMEA_Column> NMEA_Columns()
{
    return Columns;
}

bool NMEA_Listener_Row::Is_Empty() const
{
    return Trim_Control(Sentence).isEmpty();
}

bool NMEA_Listener_Row::Index_Editable() const
{
    return Index_Capable_Sentence(GetIndexSentence(Sentence));
}

FileResult Load_NMEA_Access(const Texts& texts, const QString& path, NMEA_Listener_Table& t)
{
    t = NMEA_Listener_Table{};
    pugi::xml_document doc;
    bool missing = false;
    FileResult r = Load_Project_Xml(texts, path, doc, &missing);
    if (!r.ok || missing)
        return r;

    // The root is taken by position, whatever its name; but it has to be an element
    // holding the list, or the table would come up empty and a save would wipe the file.
    const pugi::xml_node root = Xml_Root(doc);
    const pugi::xml_node list =
        root.type() == pugi::node_element ? root.child(List_Element) : pugi::xml_node();
    if (!list) {
        r.ok = false;
        r.message = texts.Get_Lang_Text(Txt::Nmea_File_No_Listener).arg(QDir::toNativeSeparators(path));
        return r;
    }

    // Every element is a row whatever its name; comments and text between rows are not.
    int count = 0;
    for (pugi::xml_node e = list.first_child(); e; e = e.next_sibling()) {
        if (e.type() != pugi::node_element)
            continue;
        if (count < NMEA_Listener_Rows)
            Read_Row(e, t.rows[size_t(count)]);
        ++count;
    }
    if (count > NMEA_Listener_Rows)
        r.notices.append(texts.Get_Lang_Text(Txt::Nmea_Rows_Not_Loaded)
                             .arg(QDir::toNativeSeparators(path))
                             .arg(count)
                             .arg(NMEA_Listener_Rows));
    return r;
}

const Table_Texts<NMEA_Listener_Table>& Listener_Texts()
{
    static const Table_Texts<NMEA_Listener_Table> form{
        Names,
        NMEA_Listener_Rows,
        // Rows are saved up to the last one with a sentence. Rows without one above it are
        // saved too, so that the rows below them are not lost; they load back as they were.
        [](const NMEA_Listener_Table& t) {
            int used = 0;
            for (int ARow = 1; ARow <= NMEA_Listener_Rows; ++ARow)
                if (!t.row(ARow).Is_Empty())
                    used = ARow;
            return used;
        },
        [](const NMEA_Listener_Table&, int) { return true; },
        [](const NMEA_Listener_Table& t, int ARow) {
            QStringList v;
            v.reserve(qsizetype(std::size(Columns)));
            for (const Column& c : Columns)
                v.append(Saved_Text(c, t.row(ARow)));
            return v;
        },
        // The sentence is read before its data field, which is looked up in it.
        [](NMEA_Listener_Table& t, int ARow, const QStringList& v) {
            static_assert(NMEA_Col_Sentence < NMEA_Col_DataField);
            for (size_t i = 0; i < std::size(Columns); ++i)
                Read_Value(Columns[i], v.at(qsizetype(i)), true, t.row(ARow));
        },
        [](NMEA_Listener_Table& t) { t = NMEA_Listener_Table{}; },
    };
    return form;
}

FileResult Save_NMEA_Access(const Texts& texts, const QString& path, const NMEA_Listener_Table& t)
{
    pugi::xml_document doc;
    pugi::xml_node list = doc.append_child("NMEA_0183").append_child(List_Element);
    For_Saved_Rows(Listener_Texts(), t, [&](const QStringList& v) { Append_Row(list, Names, v); });
    return Save_Project_Xml(texts, path, doc);
}

Check_Findings Listener_Row_Findings(const Texts& texts, const NMEA_Listener_Table& t, int ARow)
{
    const Row& r = t.row(ARow);
    if (r.Is_Empty() || !r.Enable)
        return {};
    const Row_Fault f = Find_Row_Fault(r);
    if (!f.text)
        return {};
    Check_Finding e;
    e.row = ARow;
    e.column = f.column;
    e.text = f.text;
    e.message = texts.Get_Lang_Text(Txt::Nmea_Error_Row) + QString::number(ARow) + texts.Get_Lang_Text(f.text) + f.tail;
    return {e};
}

Check_Findings Data_Check(const Texts& texts, const NMEA_Listener_Table& t)
{
    Check_Findings found;
    for (int ARow = 1; ARow <= NMEA_Listener_Rows; ++ARow)
        found.append(Listener_Row_Findings(texts, t, ARow));
    return found;
}

QString Controllo_dati(const Texts& texts, const NMEA_Listener_Table& t)
{
    return First_Error_Message(Data_Check(texts, t));
}

namespace {

// The values a save writes for the row, to read it as the compiler does.
Listener_Values Saved_Values(const Row& r)
{
    // The attribute each column holds, -1 for the columns the compiler does not read.
    static constexpr auto attrs = [] {
        std::array<int, std::size(Columns)> a{};
        for (size_t i = 0; i < a.size(); ++i)
            a[i] = Listener_Values::Index(Columns[i].attribute, Listener_Attributes);
        return a;
    }();
    Listener_Values v;
    for (size_t i = 0; i < attrs.size(); ++i) {
        const Column& c = Columns[i];
        if (attrs[i] < 0)
            continue;
        if (c.flag)
            v.Set(Listener_Attr(attrs[i]), QAnyStringView(r.*c.flag ? "Y" : "N"));
        else
            v.Set(Listener_Attr(attrs[i]), r.*c.text);
    }
    return v;
}

} // namespace

bool Row_Placement(const NMEA_Listener_Row& r, int* Position, int* Dimension)
{
    Listener_As_Compiled c;
    if (!Read_Listener(Saved_Values(r), &c) || c.Position >= Data_Area_Size)
        return false;
    *Position = c.Position;
    *Dimension = c.Dimension;
    return true;
}

int Get_Last_Position(const NMEA_Listener_Table& t, int ARow)
{
    for (int r = qMin(ARow - 1, NMEA_Listener_Rows); r >= 1; --r) {
        const Row& row = t.row(r);
        if (!row.Enable)
            continue;
        if (const qint32 d = Field_Dimension(row.Sentence, row.DataField))
            return Proposal_Position(row.Position) + d;
    }
    return 0;
}

void Set_Position(NMEA_Listener_Table& t, int ARow, const QString& Sentence,
                  const QString& DataField)
{
    if (ARow < 1 || ARow > NMEA_Listener_Rows)
        return;
    int p = Get_Last_Position(t, ARow);
    // A one- or three-byte value goes one byte further on.
    const qint32 d = Field_Dimension(Sentence, DataField);
    if (d == 1 || d == 3)
        ++p;
    t.row(ARow).Position = QString::number(p);
}

void Sentence_Chosen(NMEA_Listener_Table& t, int ARow)
{
    if (ARow < 1 || ARow > NMEA_Listener_Rows)
        return;
    Row& r = t.row(ARow);
    const QList<TFieldSentence>& fields = NMEA0183_Map(GetIndexSentence(r.Sentence)).Fields;
    r.DataField = fields.isEmpty() ? QString() : fields.first().Field;
    // The check refuses a row without a post operation: an empty one becomes "None".
    if (Trim_Control(r.PortOperation).isEmpty())
        r.PortOperation = Post_Operations().at(0);
    Set_Position(t, ARow, r.Sentence, r.DataField);
}

} // namespace swr
