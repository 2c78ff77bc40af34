#include "compiler/Decode.h"

#include "compiler/Compiler.h"
#include "compiler/Layouts.h"

#include <QFileInfo>
#include <QStringList>

namespace swr {

namespace {

QString Hex(uint64_t v, int digits = 8)
{
    return QStringLiteral("0x") + QString::number(v, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

// A text on one line: quoted, line breaks and quotes escaped.
QString Quoted(const QString& s)
{
    QString q = s;
    q.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    q.replace(QLatin1Char('"'), QLatin1String("\\\""));
    q.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    q.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

class Dumper {
public:
    Dumper(const QByteArray& bytes, uint32_t base) : b_(bytes), base_(base) {}

    QString Result() const { return out_.join(QLatin1Char('\n')) + QLatin1Char('\n'); }

    void Line(uint64_t at, const QString& name, const QString& value)
    {
        out_.append(QStringLiteral("%1  %2  %3").arg(Hex(at, 5), name.leftJustified(40), value));
    }
    void Note(const QString& text) { out_.append(text); }

    bool Has(uint64_t at, uint64_t n) const { return at + n <= uint64_t(b_.size()); }
    uint32_t Num(uint64_t at, int width) const
    {
        return Get_LE(reinterpret_cast<const uint8_t*>(b_.constData()) + at, width);
    }
    uint8_t Byte(uint64_t at) const { return uint8_t(b_.at(qsizetype(at))); }

    // The 0-terminated text at a device address; empty with a reason when it is not there.
    QString Text_At(uint32_t address, QString* problem) const
    {
        const uint64_t at = uint32_t(address - base_);
        if (!Has(at, 1)) {
            *problem = QStringLiteral("outside the bank");
            return {};
        }
        const qsizetype end = b_.indexOf('\0', qsizetype(at));
        if (end < 0)
            *problem = QStringLiteral("no 0 byte before the end of the file");
        return QString::fromUtf8(b_.mid(qsizetype(at), end < 0 ? -1 : end - qsizetype(at)));
    }

    QString Address_Value(uint32_t address, bool follow) const
    {
        QString v = Hex(address) + QStringLiteral(" (offset %1)").arg(uint32_t(address - base_));
        if (!follow)
            return v;
        QString problem;
        const QString text = Text_At(address, &problem);
        return v + QStringLiteral(" -> ") + (problem.isEmpty() ? Quoted(text) : problem);
    }

    QString Str12_Value(uint64_t at) const
    {
        const uint32_t address = Num(at, 4);
        const uint32_t len = Num(at + 4, 4);
        const uint32_t again = Num(at + 8, 4);
        QString v = QStringLiteral("%1 len %2").arg(Hex(address)).arg(len);
        if (again != address)
            v += QStringLiteral(" (second address %1 differs)").arg(Hex(again));
        if (address == 0)
            return v + QStringLiteral(" -> none");
        const uint64_t off = uint32_t(address - base_);
        if (!Has(off, uint64_t(len) + 1))
            return v + QStringLiteral(" -> outside the bank");
        v += QStringLiteral(" -> ") + Quoted(QString::fromUtf8(b_.mid(qsizetype(off), len)));
        if (Byte(off + len) != 0)
            v += QStringLiteral(" (no 0 byte after it)");
        return v;
    }

    QString Value(const auto& f, uint64_t at) const
    {
        switch (f.Shown) {
        case Kind::Address:
            return Address_Value(Num(at, 4), true);
        case Kind::Table:
            return Address_Value(Num(at, 4), false);
        case Kind::Str12:
            return Str12_Value(at);
        case Kind::Tag:
            return Quoted(QString::fromLatin1(b_.mid(qsizetype(at), 4)));
        case Kind::Octets: {
            QStringList parts;
            for (int i = 0; i < f.Width; ++i)
                parts.append(QString::number(Byte(at + i)));
            return parts.join(QLatin1Char('.'));
        }
        case Kind::Text: {
            const QByteArray raw = b_.mid(qsizetype(at), f.Width);
            const qsizetype end = raw.indexOf('\0');
            return Quoted(QString::fromLatin1(raw.left(end < 0 ? raw.size() : end)));
        }
        case Kind::Zero:
            for (int i = 0; i < f.Width; ++i)
                if (Byte(at + i) != 0)
                    return QStringLiteral("not zero!");
            return QStringLiteral("0");
        case Kind::Checksum: {
            uint32_t sum = 0;
            for (uint64_t i = 0; i < at; ++i)
                sum += Byte(i);
            const uint32_t v = Num(at, 4);
            return QString::number(v)
                   + (v == sum ? QStringLiteral(" (matches)")
                               : QStringLiteral(" (the bytes sum to %1)").arg(sum));
        }
        case Kind::Number:
            break;
        }
        const uint32_t v = Num(at, f.Width);
        return QStringLiteral("%1 (%2)").arg(v).arg(Hex(v, f.Width * 2));
    }

    // The fields of one record at offset at; false when the file ends inside it.
    template <class T, std::size_t N>
    bool Record(const Bank_Field<T> (&layout)[N], uint64_t at, const QString& prefix)
    {
        for (const Bank_Field<T>& f : layout) {
            if (!Has(at + f.Offset, f.Width)) {
                Line(at + f.Offset, prefix + QLatin1String(f.Name), QStringLiteral("beyond the end of the file"));
                return false;
            }
            Line(at + f.Offset, prefix + QLatin1String(f.Name), Value(f, at + f.Offset));
        }
        return true;
    }

    // A table of count records at a device address.
    template <class T, std::size_t N>
    void Table(const Bank_Field<T> (&layout)[N], const char* name, uint32_t address, uint32_t count)
    {
        const uint64_t at = uint32_t(address - base_);
        const uint32_t size = Record_Size(layout);
        Note(QStringLiteral("%1: %2 entries at %3").arg(QLatin1String(name)).arg(count).arg(Hex(at, 5)));
        for (uint32_t i = 0; i < count; ++i)
            if (!Record(layout, at + uint64_t(i) * size, QStringLiteral("%1[%2].").arg(QLatin1String(name)).arg(i)))
                return;
    }

    uint32_t Fixed(const Bank_Field<TMQTT>& f) const { return Has(f.Offset, f.Width) ? Num(f.Offset, f.Width) : 0; }

    // Reserved bytes between the fields of a picture; only bytes that are not zero matter.
    void Reserved(uint64_t from, uint64_t to)
    {
        to = std::min<uint64_t>(to, uint64_t(b_.size()));
        for (uint64_t i = from; i < to; ++i)
            if (Byte(i) != 0) {
                Line(i, QStringLiteral("reserved"), QStringLiteral("%1 bytes, not all zero!").arg(to - from));
                return;
            }
    }

private:
    const QByteArray& b_;
    uint32_t base_;
    QStringList out_;
};

void Size_Note(Dumper& d, const QByteArray& bytes, uint32_t expected)
{
    if (uint32_t(bytes.size()) != expected)
        d.Note(QStringLiteral("The file holds %1 bytes, the bank %2.").arg(bytes.size()).arg(expected));
}

QString Parameter_Bank_Dump(const QByteArray& bytes)
{
    Dumper d(bytes, Parameter_Bank_Base);
    Size_Note(d, bytes, Parameter_Bank_Size);
    uint64_t at = 0;
    for (const Par_Field& f : Parameter_Bank_Layout) {
        d.Reserved(at, f.Offset);
        if (!d.Has(f.Offset, f.Width))
            break;
        d.Line(f.Offset, QLatin1String(f.Name), d.Value(f, f.Offset));
        at = f.Offset + f.Width;
    }
    return d.Result();
}

QString Listener_Bank_Dump(const QByteArray& bytes)
{
    Dumper d(bytes, NMEA_Bank_Base);
    Size_Note(d, bytes, NMEA_Listener_Bank_Size);
    // Items that are all zero are unused; runs of them are shown as one line.
    int zero_from = -1;
    const auto end_zero_run = [&](int i) {
        if (zero_from >= 0)
            d.Line(uint64_t(zero_from) * NMEA_Listener_Item_Size,
                   QStringLiteral("Item[%1..%2]").arg(zero_from).arg(i - 1), QStringLiteral("all zero"));
        zero_from = -1;
    };
    const int count = int(bytes.size() / NMEA_Listener_Item_Size);
    for (int i = 0; i < count; ++i) {
        const QByteArray item = bytes.mid(i * NMEA_Listener_Item_Size, NMEA_Listener_Item_Size);
        if (item.count('\0') == item.size()) {
            if (zero_from < 0)
                zero_from = i;
            continue;
        }
        end_zero_run(i);
        d.Record(NMEA_Listener_Item_Layout, uint64_t(i) * NMEA_Listener_Item_Size,
                 QStringLiteral("Item[%1].").arg(i));
    }
    end_zero_run(count);
    return d.Result();
}

QString MQTT_Bank_Dump(const QByteArray& bytes)
{
    Dumper d(bytes, MQTT_Bank_Base);
    if (!d.Record(MQTT_Fixed_Layout, 0, QString()))
        return d.Result();
    const uint32_t filters = d.Fixed(MQTT_Fixed("Topic_Filter_Count"));
    if (filters != 0) {
        d.Table(Topic_Filter_Layout, "Topic_Filters", d.Fixed(MQTT_Fixed("Topic_Filters_Add")), filters);
        d.Table(Topic_Filter_QoS_Layout, "Topic_Filter_QoS", d.Fixed(MQTT_Fixed("Topic_Filter_QoS_Add")), filters);
        d.Table(Subscribe_Layout, "Subscribe_Data", d.Fixed(MQTT_Fixed("Subscribe_Data_Add")), filters);
    }
    const uint32_t publish = d.Fixed(MQTT_Fixed("Publish_Topic_Count"));
    if (publish != 0)
        d.Table(Publish_Layout, "Publish_Data", d.Fixed(MQTT_Fixed("Publish_Data_Add")), publish);
    d.Note(QStringLiteral("%1 bytes").arg(bytes.size()));
    return d.Result();
}

} // namespace

QString Decode_Bank(const QByteArray& bytes, int bank)
{
    switch (bank) {
    case 1:
        return Parameter_Bank_Dump(bytes);
    case 2:
        return Listener_Bank_Dump(bytes);
    case 3:
        return MQTT_Bank_Dump(bytes);
    default:
        return QStringLiteral("There is no bank %1: banks are 1, 2 and 3.\n").arg(bank);
    }
}

int Bank_Of_File(const QString& path, const QByteArray& bytes)
{
    const QString name = QFileInfo(path).fileName().toLower();
    for (int i = 0; i < 3; ++i)
        if (name == QLatin1String(Bank_File_Names[i]))
            return i + 1;
    if (uint32_t(bytes.size()) == Parameter_Bank_Size)
        return 1;
    if (uint32_t(bytes.size()) == NMEA_Listener_Bank_Size)
        return 2;
    return 3;
}

} // namespace swr
