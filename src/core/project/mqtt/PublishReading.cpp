#include "project/mqtt/PublishReading.h"

#include "base/Numbers.h"
#include "base/TextHelpers.h"

namespace swr {

bool Compiled_Yes(QAnyStringView flag)
{
    return flag.size() == 1 && (flag.front() == u'Y' || flag.front() == u'y');
}

bool Checked_Yes(const QString& flag)
{
    return Trim_Control(flag).toUpper() == QLatin1String("Y");
}

Publish_As_Compiled Read_Publish(const Publish_Values& v)
{
    using A = Publish_Attr;
    Publish_As_Compiled c;
    for (A a : {A::Topic, A::Retained, A::QoS, A::Mnemonic}) {
        if (!v.Has(a)) {
            c.missing = Publish_Attributes[size_t(a)];
            break;
        }
    }
    c.Topic = Strip_CRLF(v.Text(A::Topic));
    c.Retained = Compiled_Yes(v.View(A::Retained));
    c.QoS_Is_Number = Parse_Decimal_Trimmed(v.View(A::QoS), &c.QoS);
    c.OnChange = Compiled_Yes(v.View(A::OnChange));
    c.OnTimer = Compiled_Yes(v.View(A::OnTimer));
    c.Timer = c.OnTimer ? uint32_t(Decimal_Trimmed_Or(v.View(A::Time), 0)) : 0;
    c.Type_Data = Data_Type_Code(v.Text(A::DataType));
    const Publish_Bytes bytes = Read_Publish_Bytes(v);
    c.Length = bytes.Length;
    c.Position = bytes.Position;
    c.Template = v.Has(A::Template) ? Strip_CRLF(v.Text(A::Template)) : QStringLiteral("$VALUE$");
    c.Mnemonic = v.Text(A::Mnemonic);
    return c;
}

Publish_Bytes Read_Publish_Bytes(const Publish_Values& v)
{
    return {uint32_t(Decimal_Trimmed_Or(v.View(Publish_Attr::Position), 0)),
            uint16_t(Decimal_Trimmed_Or(v.View(Publish_Attr::Dimension), 4))};
}

QString Strip_CRLF(const QString& text)
{
    if (!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')))
        return text;
    QString s = text;
    s.remove(QLatin1Char('\r'));
    s.remove(QLatin1Char('\n'));
    return s;
}

uint16_t Data_Type_Code(const QString& text)
{
    static constexpr const char* codes[] = {"STRING", "INT", "FLOAT", "BASE64"};
    const QString t = text.trimmed().toUpper();
    for (uint16_t i = 0; i < std::size(codes); ++i)
        if (t == QLatin1String(codes[i]))
            return i;
    return 0;
}

} // namespace swr
