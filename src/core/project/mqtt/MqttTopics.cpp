#include "project/mqtt/MqttTopics.h"

#include "base/Numbers.h"
#include "base/TextHelpers.h"
#include "lang/LangTable.h"
#include "lang/Texts.h"
#include "project/DataAreaMap.h"
#include "project/mqtt/TopicTemplate.h"

#include <QDir>
#include <QStringList>

#include <algorithm>

namespace swr {

namespace {

constexpr const char* Root_Name = "MQTT_Set_Topic";
constexpr const char* Publish_Name = "MQTT_Publish";
constexpr const char* Subscribe_Name = "MQTT_Subscribe";

bool Blank(const QString& s)
{
    return Trim_Control(s).isEmpty();
}

FileResult Failed(FileResult r, const QString& message)
{
    r.ok = false;
    r.message = message;
    return r;
}

// Fills rows from the element children of section, in document order; comments and
// blanks between rows are not rows. Returns the number of rows the section holds, or -1
// with r failed when a row to load lacks a required attribute; that row stays empty.
template <class Row, size_t N>
int Load_Rows(const Texts& texts, const QString& path, const pugi::xml_node& section,
              QList<Row>& rows, const std::array<MQTT_Column<Row>, N>& columns, FileResult& r)
{
    int count = 0;
    for (const pugi::xml_node& e : section.children()) {
        if (e.type() != pugi::node_element)
            continue;
        if (count < rows.size()) {
            for (const MQTT_Column<Row>& c : columns) {
                if (c.required && !e.attribute(c.name)) {
                    r = Failed(r, texts.Get_Lang_Text(Txt::MQTT_Attribute_Missing)
                                      .arg(QDir::toNativeSeparators(path))
                                      .arg(count + 1)
                                      .arg(QLatin1String(section.name()), QLatin1String(c.name)));
                    return -1;
                }
            }
            for (const MQTT_Column<Row>& c : columns) {
                const pugi::xml_attribute a = e.attribute(c.name);
                rows[count].*c.field = a ? Q(a.value()) : QString::fromLatin1(c.absent);
            }
        }
        ++count;
    }
    return count;
}

// The run of check texts of one kind of row, in the order Txt describes.
enum Check { Data_Type, Dim_Int, Dim_Float, Dim_Other, Position_Range };

// The first test a row fails: its text, what follows the text, and the attribute the test
// reads. text 0 when the row passes.
struct Row_Fault {
    int text = 0;
    QString tail;
    const char* attribute = "";
};

template <class Row>
Row_Fault Check_Row(const Row& r, int bytes, int first_text, int template_text)
{
    const QString type = Trim_Control(r.DataType).toUpper();
    if (type.isEmpty())
        return {first_text + Data_Type, {}, "DataType"};
    const int dim = Decimal_Whole_Or(r.Dimension, -1);
    if (type == QLatin1String("INT")) {
        if (dim != 1 && dim != 2 && dim != 4 && dim != 8)
            return {first_text + Dim_Int, {}, "Dimension"};
    } else if (type == QLatin1String("FLOAT")) {
        if (dim != 4 && dim != 8)
            return {first_text + Dim_Float, {}, "Dimension"};
    } else if (dim < 1) {
        return {first_text + Dim_Other, {}, "Dimension"};
    }
    const int pos = Decimal_Whole_Or(r.Position, -1);
    if (pos < 0 || pos >= bytes)
        return {first_text + Position_Range, QString::number(bytes - 1), "Position"};
    if (Error_In_Topic_Template(Trim_Control(r.Template)))
        return {template_text, {}, "Template"};
    if constexpr (requires { r.OnTimer; }) {
        const int time = Decimal_Whole_Or(r.Time, -1);
        if (Checked_Yes(r.OnTimer) && (time < 1 || time > 999999999))
            return {Txt::MQTT_Pub_Time, {}, "Time"};
    }
    return {};
}

// The error finding of row ARow of a table for its fault: "Error row ", the row number,
// the fault's text and its tail, run together.
template <class Row, size_t N>
Check_Finding Row_Error(const Texts& texts, int table, int ARow, const std::array<MQTT_Column<Row>, N>& columns,
                        const Row_Fault& f)
{
    Check_Finding e;
    e.table = table;
    e.row = ARow;
    e.column = Grid_Column(columns, f.attribute);
    e.text = f.text;
    e.message = texts.Get_Lang_Text(Txt::MQTT_Error_Row) + QString::number(ARow) + texts.Get_Lang_Text(f.text) + f.tail;
    return e;
}

} // namespace

bool Is_Publish_Rule(const MQTT_Publish_Row& row)
{
    return !Blank(row.Topic);
}

bool Is_Empty_Row(const MQTT_Publish_Row& row)
{
    for (const auto& c : Publish_Columns) {
        const QString& cell = row.*c.field;
        if (c.grid.editor == Cell_Editor::Hidden || Blank(cell))
            continue;
        if (c.grid.editor == Cell_Editor::Check && Trim_Control(cell).toUpper() == QLatin1String("N"))
            continue;
        return false;
    }
    return true;
}

int Publish_Rule_Count(const MQTT_Topic_Table& m)
{
    return int(std::count_if(m.Pub.cbegin(), m.Pub.cend(), Is_Publish_Rule));
}

Check_Findings Publish_Row_Findings(const Texts& texts, const MQTT_Topic_Table& m, int ARow)
{
    const MQTT_Publish_Row& row = m.Pub.at(ARow - 1);
    Check_Findings found;
    if (!Is_Publish_Rule(row)) {
        if (!Is_Empty_Row(row))
            found.append(Row_Error(texts, Publish_Table, ARow, Publish_Columns,
                                   {Txt::MQTT_Pub_Topic_Missing, {}, "Topic"}));
        return found;
    }
    if (const Row_Fault f = Check_Row(row, m.Byte_IN, Txt::MQTT_Pub_Data_Type, Txt::MQTT_Pub_Template); f.text)
        found.append(Row_Error(texts, Publish_Table, ARow, Publish_Columns, f));
    // The check lets a rule without a QoS pass; compiling it for the device does not.
    if (!Read_Publish(Rule_Values(row)).QoS_Is_Number) {
        Check_Finding w;
        w.row = ARow;
        w.column = Grid_Column(Publish_Columns, "QoS");
        w.text = Txt::MQTT_Pub_QoS_Not_Chosen;
        w.message = texts.Get_Lang_Text(w.text).arg(ARow);
        w.severity = Check_Finding::Warning;
        found.append(w);
    }
    return found;
}

QString Publish_Row_Fault(const Texts& texts, const MQTT_Topic_Table& m, int ARow)
{
    return First_Error_Message(Publish_Row_Findings(texts, m, ARow));
}

Publish_Values Rule_Values(const MQTT_Publish_Row& row)
{
    // The attribute each column holds, -1 for the columns the compiler does not read.
    static constexpr auto attrs = [] {
        std::array<int, Publish_Columns.size()> a{};
        for (size_t i = 0; i < a.size(); ++i)
            a[i] = Publish_Values::Index(Publish_Columns[i].name, Publish_Attributes);
        return a;
    }();
    Publish_Values v;
    for (size_t i = 0; i < attrs.size(); ++i)
        if (attrs[i] >= 0)
            v.Set(Publish_Attr(attrs[i]), row.*Publish_Columns[i].field);
    return v;
}

bool Rule_Placement(const MQTT_Publish_Row& row, int* Position, int* Dimension)
{
    if (!Is_Publish_Rule(row))
        return false;
    const Publish_Bytes b = Read_Publish_Bytes(Rule_Values(row));
    if (b.Length < 1 || b.Position >= uint32_t(Data_Area_Size))
        return false;
    *Position = int(b.Position);
    *Dimension = std::min(int(b.Length), Data_Area_Size);
    return true;
}

QString Publish_Row_Warning(const Texts& texts, const MQTT_Topic_Table& m, int ARow,
                            const QList<Data_Area_Use>& listeners)
{
    Data_Area_Use rule{Data_Area_User::Publish_Rule, ARow};
    if (!Rule_Placement(m.Pub.at(ARow - 1), &rule.Position, &rule.Dimension))
        return {};
    QStringList lines;
    for (const Map_Finding& f : Rule_Findings(texts, rule, listeners))
        lines << f.text;
    return lines.join(QLatin1Char('\n'));
}

FileResult Load_MQTT_Topic(const Texts& texts, const QString& path, MQTT_Topic_Table& m)
{
    m.Pub = QList<MQTT_Publish_Row>(MQTT_Table_Rows);
    m.Sub = QList<MQTT_Subscribe_Row>(MQTT_Table_Rows);
    pugi::xml_document doc;
    bool missing = false;
    // Topics and templates may hold line breaks: they are read as they stand.
    FileResult r = Load_Project_Xml(texts, path, doc, &missing, XmlBreaks::Kept);
    if (!r.ok || missing)
        return r;
    const QString file = QDir::toNativeSeparators(path);
    const pugi::xml_node root = Xml_Root(doc);
    if (root.type() != pugi::node_element)
        return Failed(r, texts.Get_Lang_Text(Txt::MQTT_Root_Not_Element).arg(file));
    const auto section = [&](const char* name, pugi::xml_node* node) {
        *node = root.child(name);
        if (!*node)
            r = Failed(r, texts.Get_Lang_Text(Txt::MQTT_Element_Missing).arg(file, QLatin1String(name)));
        return bool(*node);
    };
    pugi::xml_node pub, sub;
    if (!section(Publish_Name, &pub))
        return r;
    const int published = Load_Rows(texts, path, pub, m.Pub, Publish_Columns, r);
    if (published < 0)
        return r;
    if (published > MQTT_Table_Rows)
        r.notices.append(texts.Get_Lang_Text(Txt::MQTT_Rows_Not_Loaded)
                             .arg(file)
                             .arg(published)
                             .arg(MQTT_Table_Rows));
    // Subscribe rows beyond the table are dropped: none of them is ever saved again.
    if (section(Subscribe_Name, &sub))
        Load_Rows(texts, path, sub, m.Sub, Subscribe_Columns, r);
    return r;
}

namespace {

constexpr auto Publish_Names = [] {
    std::array<const char*, Publish_Columns.size()> n{};
    for (size_t i = 0; i < n.size(); ++i)
        n[i] = Publish_Columns[i].name;
    return n;
}();

} // namespace

const Table_Texts<MQTT_Topic_Table>& Publish_Texts()
{
    static const Table_Texts<MQTT_Topic_Table> form{
        Publish_Names,
        MQTT_Table_Rows,
        // Every rule is saved; empty rows in between are left out and lose no rule behind them.
        [](const MQTT_Topic_Table& m) {
            const auto last = std::find_if(m.Pub.crbegin(), m.Pub.crend(), Is_Publish_Rule);
            return int(m.Pub.crend() - last);
        },
        [](const MQTT_Topic_Table& m, int ARow) { return Is_Publish_Rule(m.Pub.at(ARow - 1)); },
        [](const MQTT_Topic_Table& m, int ARow) {
            const MQTT_Publish_Row& row = m.Pub.at(ARow - 1);
            QStringList v;
            v.reserve(qsizetype(Publish_Columns.size()));
            for (const auto& c : Publish_Columns)
                v.append(row.*c.field);
            return v;
        },
        [](MQTT_Topic_Table& m, int ARow, const QStringList& v) {
            MQTT_Publish_Row& row = m.Pub[ARow - 1];
            for (size_t i = 0; i < Publish_Columns.size(); ++i)
                row.*Publish_Columns[i].field = v.at(qsizetype(i));
        },
        [](MQTT_Topic_Table& m) { m.Pub = QList<MQTT_Publish_Row>(MQTT_Table_Rows); },
    };
    return form;
}

FileResult Save_MQTT_Topic(const Texts& texts, const QString& path, const MQTT_Topic_Table& m)
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child(Root_Name);
    pugi::xml_node pub = root.append_child(Publish_Name);
    For_Saved_Rows(Publish_Texts(), m, [&](const QStringList& v) { Append_Row(pub, Publish_Names, v); });
    root.append_child(Subscribe_Name);
    return Save_Project_Xml(texts, path, doc);
}

Check_Findings Data_Check(const Texts& texts, const MQTT_Topic_Table& m)
{
    Check_Findings found;
    for (int ARow = 1; ARow <= m.Pub.size(); ++ARow)
        found.append(Publish_Row_Findings(texts, m, ARow));
    // Subscribe rows end at the first blank Topic.
    for (int ARow = 1; ARow <= m.Sub.size() && !Blank(m.Sub[ARow - 1].Topic); ++ARow) {
        const Row_Fault f = Check_Row(m.Sub[ARow - 1], m.Byte_OUT, Txt::MQTT_Sub_Data_Type, Txt::MQTT_Sub_Template);
        if (f.text)
            found.append(Row_Error(texts, Subscribe_Table, ARow, Subscribe_Columns, f));
    }
    return found;
}

QString Controllo_dati(const Texts& texts, const MQTT_Topic_Table& m)
{
    return First_Error_Message(Data_Check(texts, m));
}

} // namespace swr
