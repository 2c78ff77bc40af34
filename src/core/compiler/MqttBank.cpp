#include "compiler/MqttBank.h"

#include "lang/Texts.h"
#include "lang/LangTable.h"
#include "compiler/Layouts.h"
#include "compiler/Reading.h"
#include "project/ProjectFile.h"
#include "project/mqtt/MqttTopics.h"

namespace swr {

namespace {

// The strings and tables after the fixed part, in the order they lie in the bank. The
// placement and the writing both walk this one function, so every address the first
// stores points at the bytes the second writes.
template <class M, class V>
void Visit_MQTT_Variable(M& m, V& v)
{
    v.Text(m.Server_Address, m.Server_Address_Add);
    auto& cd = m.Connect_Data;
    for (auto* s : {&cd.ClientID, &cd.Will.TopicName, &cd.Will.WillMessage, &cd.Username, &cd.Password})
        v.String(*s);
    v.Text(m.TLS_Server_Cert, m.TLS_Server_Cert_Add, &m.TLS_Server_Cert_Len);
    v.Text(m.TLS_Client_Cert, m.TLS_Client_Cert_Add, &m.TLS_Client_Cert_Len);
    v.Text(m.TLS_Client_Key, m.TLS_Client_Key_Add, &m.TLS_Client_Key_Len);
    v.Text(m.TLS_Client_Key_Pass, m.TLS_Client_Key_Add_Pass);
    v.Text(m.NTP_Server_Address, m.NTP_Server_Address_Add);
    if (!m.Topic_Filters.isEmpty()) {
        v.Table(m.Topic_Filters_Add, m.Topic_Filters, Topic_Filter_Layout);
        for (auto& s : m.Topic_Filters)
            v.String(s);
        v.Table(m.Topic_Filter_QoS_Add, m.Topic_Filter_QoS, Topic_Filter_QoS_Layout);
        v.Table(m.Subscribe_Data_Add, m.Subscribe_Data, Subscribe_Layout);
        for (auto& s : m.Subscribe_Data) {
            v.Text(s.Input_Template, s.Input_Template_Add);
            v.Text(s.Output_Template, s.Output_Template_Add);
        }
    }
    if (!m.Publish_Data.isEmpty()) {
        v.Table(m.Publish_Data_Add, m.Publish_Data, Publish_Layout);
        for (auto& p : m.Publish_Data) {
            v.Text(p.Description, p.Desc_Add);
            v.String(p.Publish_Topic);
            v.Text(p.Input_Template, p.Input_Template_Add);
            v.Text(p.Output_Template, p.Output_Template_Add);
        }
    }
}

// First pass: a cursor through the bank gives each text and table its offset. An empty
// text takes no bytes and points at the shared 0 byte; an empty TMQTTString has none.
struct Placer {
    uint64_t f = MQTT_Fixed_Size;

    void Text(const QString& s, uint32_t& add, uint32_t* len = nullptr)
    {
        const uint64_t n = uint64_t(s.toUtf8().size());
        if (len)
            *len = uint32_t(n);
        add = n == 0 ? Empty_String_Offset : uint32_t(f);
        if (n != 0)
            f += n + 1;
    }
    void String(TMQTTString& s)
    {
        const uint64_t n = uint64_t(s.CString.toUtf8().size());
        s.Len = int32_t(n);
        s.Address = n == 0 ? 0 : uint32_t(f);
        if (n != 0)
            f += n + 1;
    }
    template <class L, class F, std::size_t N>
    void Table(uint32_t& add, const L& list, const F (&layout)[N])
    {
        add = uint32_t(f);
        f += uint64_t(Record_Size(layout)) * uint64_t(list.size());
    }
};

// Second pass: writes the bytes, and fails when an offset of the first pass does not
// match where the bytes land (the picture changed in between).
struct Writer {
    Image_Writer& w;
    uint32_t base;

    void At(bool empty, uint32_t add, uint32_t empty_add)
    {
        if (add != (empty ? empty_add : w.Pos() - w.Start()))
            w.Fail();
    }
    void Text(const QString& s, uint32_t add, const uint32_t* = nullptr)
    {
        At(s.isEmpty(), add, Empty_String_Offset);
        Write_C_String(w, s);
    }
    void String(const TMQTTString& s)
    {
        At(s.CString.isEmpty(), s.Address, 0);
        Write_C_String(w, s.CString);
    }
    template <class L, class F, std::size_t N>
    void Table(uint32_t add, const L& list, const F (&layout)[N])
    {
        At(false, add, 0);
        for (const auto& e : list)
            Write_Record(w, base, layout, e);
    }
};

// Fills p from a publish rule as the compiler takes it. reason is set when the rule
// cannot be compiled; every text of p is filled even then, so the placement can still
// measure the rule.
bool Read_Publish_Row(const Texts& texts, const Publish_Values& v, int number, TMQTT_Publish_Data& p,
                      QString* reason)
{
    Publish_As_Compiled c = Read_Publish(v);
    p.Publish_Topic.CString = std::move(c.Topic);
    p.Retained = c.Retained ? 1 : 0;
    p.QoS = c.QoS;
    p.Options = (c.OnChange ? 1u : 0u) | (c.OnTimer ? 4u : 0u);
    p.Timer = c.Timer;
    p.Type_Data = c.Type_Data;
    p.Length = c.Length;
    p.Position = c.Position;
    p.Output_Template = std::move(c.Template);
    p.Input_Template.clear();
    p.Source_IP_Address = 0;
    p.Description = std::move(c.Mnemonic);
    if (c.missing) {
        *reason = texts.Get_Lang_Text(Txt::Compile_Attribute_Missing).arg(number).arg(QLatin1String(c.missing));
        return false;
    }
    if (!c.QoS_Is_Number) {
        *reason = texts.Get_Lang_Text(Txt::Compile_QoS_Not_Number).arg(number).arg(v.Text(Publish_Attr::QoS));
        return false;
    }
    return true;
}

} // namespace

void Clear_MQTT(TMQTT& m)
{
    m = TMQTT{}; // a fresh record carries the structure marks and protocol level 4
}

FileResult Read_MQTT_Topics(const Texts& texts, const QString& File_MQTT_Topic, TMQTT& m, uint64_t* bank_size)
{
    pugi::xml_document doc;
    bool missing = false;
    FileResult r = Load_Project_Xml(texts, File_MQTT_Topic, doc, &missing, XmlBreaks::Kept);
    if (!r.ok)
        return r;
    if (!missing) {
        const auto fail = [&](const QString& reason) {
            r.ok = false;
            r.message = Compile_Error_Text(texts, File_MQTT_Topic, reason);
            return r;
        };
        const auto element = [&](const char* name) {
            return Xml_Root(doc).child(name);
        };
        const auto element_missing = [&](const char* name) {
            return texts.Get_Lang_Text(Txt::Compile_Element_Missing).arg(QLatin1String(name));
        };
        const pugi::xml_node publish = element("MQTT_Publish");
        if (!publish)
            return fail(element_missing("MQTT_Publish"));
        const QList<pugi::xml_node> rows = Element_Children(publish);
        m.Publish_Data.resize(rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QString reason;
            if (!Read_Publish_Row(texts, Read_Publish_Values(rows[i]), int(i + 1), m.Publish_Data[i], &reason))
                return fail(reason);
        }
        const pugi::xml_node subscribe = element("MQTT_Subscribe");
        if (!subscribe)
            return fail(element_missing("MQTT_Subscribe"));
        // The device's subscribe entries are reserved: one zeroed entry per row, whatever
        // the row holds.
        const qsizetype n = Element_Children(subscribe).size();
        m.Topic_Filters.fill(TMQTTString{}, n);
        m.Topic_Filter_QoS.fill(0, n);
        m.Subscribe_Data.fill(TMQTT_Subscribe_Data{}, n);
    }
    const uint64_t size = Place_MQTT_Strings(m);
    if (bank_size)
        *bank_size = size;
    return r;
}

uint64_t Place_MQTT_Strings(TMQTT& m)
{
    m.Topic_Filter_Count = int32_t(m.Topic_Filters.size());
    m.Publish_Topic_Count = int32_t(m.Publish_Data.size());
    m.Topic_Filters_Add = m.Topic_Filter_QoS_Add = m.Subscribe_Data_Add = 0;
    m.Publish_Data_Add = 0;
    Placer p;
    Visit_MQTT_Variable(m, p);
    return p.f;
}

uint32_t Write_MQTT_Bank(uint32_t base, uint32_t start, QByteArray& image, uint32_t limit,
                         const TMQTT& m)
{
    Image_Writer w(image, start, limit);
    Write_Record(w, base, MQTT_Fixed_Layout, m);
    Writer v{w, base};
    Visit_MQTT_Variable(m, v);
    return w.Failed() ? 0 : w.Pos();
}

uint64_t MQTT_Bank_Estimate(const Texts& texts, const TMQTT& broker,
                            const QList<MQTT_Publish_Row>& rows)
{
    TMQTT m = broker;
    // The saved file holds the rules alone, and no subscribe rows.
    m.Topic_Filters.clear();
    m.Topic_Filter_QoS.clear();
    m.Subscribe_Data.clear();
    m.Publish_Data.clear();
    m.Publish_Data.reserve(rows.size());
    for (const MQTT_Publish_Row& row : rows) {
        if (!Is_Publish_Rule(row))
            continue;
        // A rule the compiler would refuse still takes its room; the check reports it.
        const int number = int(m.Publish_Data.size()) + 1;
        QString reason;
        Read_Publish_Row(texts, Rule_Values(row), number, m.Publish_Data.emplace_back(), &reason);
    }
    return Place_MQTT_Strings(m);
}

QString Topic_Status_Text(const Texts& texts, int rules, uint64_t bank_bytes)
{
    const uint64_t limit = uint64_t(MQTT_Bank_Limit) + 1;
    return texts.Get_Lang_Text(Txt::MQTT_Rules_In_Use).arg(rules).arg(MQTT_Table_Rows) + QStringLiteral("    ")
           + texts.Get_Lang_Text(bank_bytes > limit ? Txt::MQTT_Bank_Too_Large : Txt::MQTT_Bank_Bytes)
                 .arg(bank_bytes)
                 .arg(limit);
}

} // namespace swr
