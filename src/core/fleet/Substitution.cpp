#include "fleet/Substitution.h"

#include "base/Files.h"
#include "lang/LangTable.h"
#include "lang/Texts.h"

namespace swr {

namespace {

const QLatin1String Open_Mark("${");
const QLatin1String Literal_Mark("$${");

// Walks text: literal(from, count) for each run of characters that stays, variable(name)
// for each ${name}. False when a ${ is not closed.
template <class Literal, class Variable>
bool Walk(const QString& text, Literal literal, Variable variable)
{
    qsizetype from = 0;
    qsizetype i = 0;
    while ((i = text.indexOf(QLatin1Char('$'), i)) >= 0) {
        if (QStringView(text).mid(i).startsWith(Literal_Mark)) {
            literal(from, i - from);
            literal(i + 1, 2); // "${"
            i += Literal_Mark.size();
            from = i;
        } else if (QStringView(text).mid(i).startsWith(Open_Mark)) {
            const qsizetype close = text.indexOf(QLatin1Char('}'), i + Open_Mark.size());
            if (close < 0)
                return false;
            literal(from, i - from);
            if (!variable(QStringView(text).mid(i + Open_Mark.size(), close - i - Open_Mark.size())))
                return true;
            i = close + 1;
            from = i;
        } else {
            ++i;
        }
    }
    literal(from, text.size() - from);
    return true;
}

struct Place {
    const char* file;
    QString where; // the key, or the row and column
};

class Substituter {
public:
    Substituter(const Texts& texts, const Variable_Lookup& lookup) : texts_(texts), lookup_(lookup) {}

    // Replaces the variables of value; false once one fails, with the message kept.
    bool Apply(QString& value, const Place& place)
    {
        if (!value.contains(QLatin1Char('$')))
            return true;
        const Substitution s = Substitute(value, lookup_);
        if (s.fault == Substitution_Fault::Unknown_Variable)
            message_ = texts_.Get_Lang_Text(Txt::Fleet_Unknown_Variable)
                           .arg(QLatin1String(place.file), place.where, s.variable);
        else if (s.fault == Substitution_Fault::Unclosed)
            message_ = texts_.Get_Lang_Text(Txt::Fleet_Unclosed_Variable).arg(QLatin1String(place.file), place.where);
        else
            value = s.text;
        return s.fault == Substitution_Fault::None;
    }

    QString Row_Place(int row, const char* column) const
    {
        return texts_.Get_Lang_Text(Txt::Fleet_Place_Row).arg(row).arg(QLatin1String(column));
    }

    const QString& Message() const { return message_; }

private:
    const Texts& texts_;
    const Variable_Lookup& lookup_;
    QString message_;
};

bool Substitute_ParGen(Substituter& s, ParGen& m)
{
    for (const ParKeyInfo& k : Par_Keys()) {
        QString v = m.Text(k.key);
        if (!s.Apply(v, {ParGen_File_Name, QLatin1String(k.name)}))
            return false;
        m.Set_Text(k.key, v);
    }
    return true;
}

bool Substitute_Listeners(Substituter& s, NMEA_Listener_Table& t)
{
    for (int ARow = 1; ARow <= NMEA_Listener_Rows; ++ARow)
        if (!s.Apply(t.row(ARow).Mnemonic, {NMEA_Access_File_Name, s.Row_Place(ARow, "Mnemonic")}))
            return false;
    return true;
}

bool Substitute_Rules(Substituter& s, MQTT_Topic_Table& m)
{
    struct Field {
        const char* name;
        QString MQTT_Publish_Row::*field;
    };
    static constexpr Field Fields[] = {{"Topic", &MQTT_Publish_Row::Topic},
                                       {"Template", &MQTT_Publish_Row::Template},
                                       {"Mnemonic", &MQTT_Publish_Row::Mnemonic}};
    for (int i = 0; i < m.Pub.size(); ++i)
        for (const Field& f : Fields)
            if (!s.Apply(m.Pub[i].*f.field, {MQTT_Topic_File_Name, s.Row_Place(i + 1, f.name)}))
                return false;
    return true;
}

} // namespace

Substitution Substitute(const QString& text, const Variable_Lookup& lookup)
{
    Substitution s;
    s.text.reserve(text.size());
    const bool closed = Walk(
        text, [&](qsizetype from, qsizetype n) { s.text += QStringView(text).mid(from, n); },
        [&](QStringView name) {
            const QString* v = lookup(name);
            if (!v) {
                s.fault = Substitution_Fault::Unknown_Variable;
                s.variable = name.toString();
                return false;
            }
            s.text += *v;
            return true;
        });
    if (!closed)
        s.fault = Substitution_Fault::Unclosed;
    if (s.fault != Substitution_Fault::None)
        s.text.clear();
    return s;
}

QStringList Variables_In(const QString& text)
{
    QStringList names;
    Walk(text, [](qsizetype, qsizetype) {},
         [&](QStringView name) {
             if (!names.contains(name.toString()))
                 names.append(name.toString());
             return true;
         });
    return names;
}

FileResult Load_Fleet_Template(const Texts& texts, const QString& folder, Fleet_Template* out)
{
    const Project_Paths files = Project_Files_In(folder);
    Fleet_Template t;
    FileResult r = Load_ParGen(texts, files.File_ParGen, t.par);
    if (r.ok)
        r = Load_NMEA_Access(texts, files.File_NMEA_Access, t.nmea);
    if (r.ok && r.notices.isEmpty())
        r = Load_MQTT_Topic(texts, files.File_MQTT_Topic, t.mqtt);
    // Rows a file holds beyond its table would be lost on every device.
    if (r.ok && !r.notices.isEmpty()) {
        r.ok = false;
        r.message = r.notices.takeFirst();
    }
    if (r.ok)
        *out = std::move(t);
    return r;
}

FileResult Substitute_Template(const Texts& texts, const Fleet_Template& t, const Variable_Lookup& lookup,
                               Fleet_Template* out)
{
    Fleet_Template d = t;
    Substituter s(texts, lookup);
    FileResult r;
    r.ok = Substitute_ParGen(s, d.par) && Substitute_Listeners(s, d.nmea) && Substitute_Rules(s, d.mqtt);
    if (!r.ok) {
        r.message = s.Message();
        return r;
    }
    *out = std::move(d);
    return r;
}

} // namespace swr
