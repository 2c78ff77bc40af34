#include "project/DataAreaMap.h"

#include "lang/Texts.h"
#include "base/Xml.h"
#include "lang/LangTable.h"
#include "project/mqtt/MqttTopics.h"
#include "project/nmea/ListenerReading.h"
#include "project/nmea/NmeaAccess.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace swr {

namespace {

// Per-byte counts of the uses' bytes inside the area, by a running sum of starts and ends.
std::array<int, Data_Area_Size> Byte_Counts(const QList<Data_Area_Use>& uses)
{
    std::array<int, Data_Area_Size + 1> step{};
    for (const Data_Area_Use& u : uses) {
        ++step[size_t(std::clamp(u.Position, 0, Data_Area_Size))];
        --step[size_t(std::clamp(u.End(), 0, Data_Area_Size))];
    }
    std::array<int, Data_Area_Size> counts{};
    int n = 0;
    for (size_t b = 0; b < counts.size(); ++b)
        counts[b] = n += step[b];
    return counts;
}

int Last(const Data_Area_Use& u) { return u.End() - 1; }

QList<int> Indices_At(const QList<Data_Area_Use>& uses, int b)
{
    QList<int> found;
    for (int i = 0; i < uses.size(); ++i)
        if (uses[i].Shares_Bytes(b, 1))
            found.append(i);
    return found;
}

// "publish rule r reads bytes a to b, ... listener row n (bytes c to d)".
QString Rule_And_Field_Text(const Texts& texts, int text, const Data_Area_Use& rule, const Data_Area_Use& f)
{
    return texts.Get_Lang_Text(text)
        .arg(rule.row)
        .arg(rule.Position)
        .arg(Last(rule))
        .arg(f.row)
        .arg(f.Position)
        .arg(Last(f));
}

} // namespace

QList<Map_Finding> Rule_Findings(const Texts& texts, const Data_Area_Use& rule,
                                 const QList<Data_Area_Use>& fields)
{
    QList<Map_Finding> warnings, notes;
    const Publish_Read read = Find_Publish_Read(fields, rule.Position, rule.Dimension);
    const QList<int> touching = Uses_Touching(fields, rule.Position, rule.Dimension);
    const auto at_start = std::find_if(touching.begin(), touching.end(), [&](int i) {
        return fields[i].Shares_Bytes(rule.Position, 1);
    });
    QList<int> rows;
    for (int i : touching)
        rows.append(fields[i].row);
    bool warned = true;
    if (at_start == touching.end()) {
        warnings.append({Finding_Severity::Warning, Finding_Kind::Unfilled, rows, {rule.row},
                         texts.Get_Lang_Text(Txt::Map_Unfilled)
                             .arg(rule.row)
                             .arg(rule.Position)
                             .arg(Last(rule))
                             .arg(read.unfilled)});
    } else if (const Data_Area_Use& f = fields[*at_start]; rule.End() > f.End()) {
        warnings.append({Finding_Severity::Warning, Finding_Kind::Across, rows, {rule.row},
                         Rule_And_Field_Text(texts, Txt::Map_Across, rule, f)});
    } else {
        warned = false;
    }
    if (at_start != touching.end()) {
        const Data_Area_Use& f = fields[*at_start];
        if (f.Position == rule.Position && f.Dimension != rule.Dimension) {
            notes.append({Finding_Severity::Note, Finding_Kind::Dimension_Differs, {f.row}, {rule.row},
                          texts.Get_Lang_Text(Txt::Map_Dimension)
                              .arg(rule.row)
                              .arg(rule.Dimension)
                              .arg(rule.Position)
                              .arg(f.row)
                              .arg(f.Dimension)});
            return warnings + notes;
        }
    }
    if (!warned && read.partial >= 0) {
        const Data_Area_Use& f = fields[read.partial];
        notes.append({Finding_Severity::Note, Finding_Kind::Part_Of_Field, {f.row}, {rule.row},
                      Rule_And_Field_Text(texts, Txt::Map_Part, rule, f)});
    }
    return warnings + notes;
}

int Data_Area_Map::Warning_Count() const
{
    return int(std::count_if(findings.begin(), findings.end(), [](const Map_Finding& f) {
        return f.severity == Finding_Severity::Warning;
    }));
}

QList<int> Data_Area_Map::Listeners_At(int b) const
{
    return Indices_At(listener_uses, b);
}

QList<int> Data_Area_Map::Rules_At(int b) const
{
    QList<int> found;
    for (int i = 0; i < rules.size(); ++i)
        if (rules[i].use.Shares_Bytes(b, 1))
            found.append(i);
    return found;
}

Data_Area_Map Build_Data_Area_Map(const Texts& texts, const NMEA_Listener_Table& listeners,
                                  const MQTT_Topic_Table& topics)
{
    Data_Area_Map map;
    map.listener_uses = Listener_Uses(listeners);
    for (const Data_Area_Use& u : map.listener_uses) {
        const NMEA_Listener_Row& r = listeners.row(u.row);
        map.listeners.append({u, r.Sentence.trimmed(), r.DataField.trimmed()});
    }
    QList<Data_Area_Use> rule_uses;
    for (int i = 0; i < topics.Pub.size(); ++i) {
        const MQTT_Publish_Row& r = topics.Pub[i];
        Data_Area_Use u{Data_Area_User::Publish_Rule, i + 1};
        if (Rule_Placement(r, &u.Position, &u.Dimension)) {
            map.rules.append({u, r.Topic, r.DataType.trimmed()});
            rule_uses.append(u);
        }
    }

    const std::array<int, Data_Area_Size> filled = Byte_Counts(map.listener_uses);
    const std::array<int, Data_Area_Size> read = Byte_Counts(rule_uses);
    for (size_t b = 0; b < map.bytes.size(); ++b)
        map.bytes[b] = filled[b] > 1  ? Byte_State::Conflict
                       : filled[b]    ? (read[b] ? Byte_State::Published : Byte_State::Filled)
                       : read[b]      ? Byte_State::Unfilled_Read
                                      : Byte_State::Free;

    QList<Map_Finding> notes;
    for (const Data_Area_Overlap& o : Find_Overlaps(map.listener_uses)) {
        const Data_Area_Use &a = map.listener_uses[o.first], &b = map.listener_uses[o.second];
        map.findings.append({Finding_Severity::Warning, Finding_Kind::Overlap, {a.row, b.row}, {},
                             texts.Get_Lang_Text(Txt::Map_Overlap)
                                 .arg(a.row)
                                 .arg(b.row)
                                 .arg(std::max(a.Position, b.Position))
                                 .arg(std::min(Last(a), Last(b)))});
    }
    for (const Data_Area_Use& r : rule_uses)
        for (const Map_Finding& f : Rule_Findings(texts, r, map.listener_uses))
            (f.severity == Finding_Severity::Warning ? map.findings : notes).append(f);
    for (const Data_Area_Use& u : map.listener_uses) {
        const auto first = read.begin() + std::min(u.Position, Data_Area_Size);
        const auto end = read.begin() + std::min(u.End(), Data_Area_Size);
        if (std::all_of(first, end, [](int n) { return n == 0; }))
            notes.append({Finding_Severity::Note, Finding_Kind::Not_Published, {u.row}, {},
                          texts.Get_Lang_Text(Txt::Map_Not_Published).arg(u.row).arg(u.Position).arg(Last(u))});
    }
    map.findings.append(notes);
    return map;
}

FileResult Load_Compiled_Listeners(const Texts& texts, const QString& File_NMEA_Access, const QString& File_ParGen,
                                   NMEA_Listener_Table& t)
{
    FileResult r = Load_NMEA_Access(texts, File_NMEA_Access, t);
    pugi::xml_document doc;
    bool missing = false;
    if (!r.ok || !Load_Project_Xml(texts, File_NMEA_Access, doc, &missing).ok || missing)
        return r;
    // The screen's load shows only the exact catalogue texts, and a row enabled unless its
    // Enable is "N". Each row gets the texts as stored instead, and Enable as the compiler
    // reads it: Row_Placement then places the row where the compiler does.
    const bool line_on = QFileInfo::exists(File_ParGen);
    size_t i = 0;
    for (const pugi::xml_node& e : Xml_Root(doc).child("NMEA_Listener").children()) {
        if (e.type() != pugi::node_element)
            continue;
        if (i == t.rows.size())
            break;
        NMEA_Listener_Row& row = t.rows[i++];
        for (const NMEA_Column& c : NMEA_Columns())
            if (c.text)
                row.*c.text = Q(e.attribute(c.attribute).value());
        row.Enable = line_on && Compiled_Enable(Read_Listener_Values(e).View(Listener_Attr::Enable));
    }
    return r;
}

FileResult Load_Data_Area_Map(const Texts& texts, const QString& folder, Data_Area_Map& map)
{
    const Project_Paths files = Project_Files_In(folder);
    NMEA_Listener_Table listeners;
    FileResult r = Load_Compiled_Listeners(texts, files.File_NMEA_Access, files.File_ParGen, listeners);
    if (!r.ok)
        return r;
    MQTT_Topic_Table topics;
    const FileResult t = Load_MQTT_Topic(texts, files.File_MQTT_Topic, topics);
    r.notices.append(t.notices);
    if (!t.ok) {
        r.ok = false;
        r.message = t.message;
        return r;
    }
    map = Build_Data_Area_Map(texts, listeners, topics);
    return r;
}

QList<Map_Range> Map_Ranges(const Data_Area_Map& map)
{
    QList<int> cuts;
    const auto add = [&](const Data_Area_Use& u) {
        cuts << std::clamp(u.Position, 0, Data_Area_Size) << std::clamp(u.End(), 0, Data_Area_Size);
    };
    for (const Data_Area_Use& u : map.listener_uses)
        add(u);
    for (const Map_Rule& r : map.rules)
        add(r.use);
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    QList<Map_Range> ranges;
    for (qsizetype i = 0; i + 1 < cuts.size(); ++i) {
        Map_Range r{cuts[i], cuts[i + 1] - 1, map.Listeners_At(cuts[i]), map.Rules_At(cuts[i])};
        if (r.listeners.isEmpty() && r.rules.isEmpty())
            continue;
        if (!ranges.isEmpty() && ranges.last().last + 1 == r.first && ranges.last().listeners == r.listeners
            && ranges.last().rules == r.rules)
            ranges.last().last = r.last;
        else
            ranges.append(r);
    }
    return ranges;
}

QString Listener_Line(const Texts& texts, const Map_Listener& l)
{
    return texts.Get_Lang_Text(Txt::Map_Byte_Listener).arg(l.use.row).arg(l.Sentence, l.DataField).arg(l.use.Dimension);
}

QString Rule_Line(const Texts& texts, const Map_Rule& r)
{
    return texts.Get_Lang_Text(Txt::Map_Byte_Rule).arg(r.use.row).arg(r.Topic, r.DataType).arg(r.use.Dimension);
}

QString Byte_Description(const Texts& texts, const Data_Area_Map& map, int b)
{
    QStringList lines{texts.Get_Lang_Text(Txt::Map_Byte).arg(b)};
    for (int i : map.Listeners_At(b))
        lines << Listener_Line(texts, map.listeners[i]);
    for (int i : map.Rules_At(b))
        lines << Rule_Line(texts, map.rules[i]);
    return lines.join(QLatin1Char('\n'));
}

QString Map_Warnings_Question(const Texts& texts, const Data_Area_Map& map)
{
    constexpr int Listed = 10;
    QStringList lines;
    int warnings = 0;
    for (const Map_Finding& f : map.findings)
        if (f.severity == Finding_Severity::Warning && warnings++ < Listed)
            lines << f.text;
    if (warnings == 0)
        return {};
    if (warnings > Listed)
        lines << texts.Get_Lang_Text(Txt::Map_More).arg(warnings - Listed);
    return texts.Get_Lang_Text(Txt::Map_Question) + QStringLiteral("\n\n") + lines.join(QLatin1Char('\n'))
           + QStringLiteral("\n\n") + texts.Get_Lang_Text(Txt::Map_Continue);
}

} // namespace swr
