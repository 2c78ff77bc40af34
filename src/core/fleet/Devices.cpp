#include "fleet/Devices.h"

#include "base/TextHelpers.h"
#include "lang/FileTexts.h"
#include "lang/LangTable.h"
#include "lang/Texts.h"
#include "project/CsvFile.h"

#include <QDir>
#include <QFile>

namespace swr {

namespace {

QString Folded(QAnyStringView name)
{
    return name.toString().toCaseFolded();
}

// The devices file's rows after its header: every line that holds a value is a device.
class Devices_Sink : public Csv_Sink {
public:
    Devices_Sink(const Texts& texts, Fleet_Devices& out) : texts_(texts), out_(out) {}

    bool Header(const Csv_Line& header, QString* message) override
    {
        for (const QString& field : header.values) {
            const QString name = Trim_Control(field);
            if (name.isEmpty() || name.contains(QLatin1Char('$')) || name.contains(QLatin1Char('{'))
                || name.contains(QLatin1Char('}'))) {
                *message = Csv_Line_Message(texts_, header.line,
                                            texts_.Get_Lang_Text(Txt::Fleet_Bad_Column_Name).arg(name));
                return false;
            }
            if (out_.index.contains(Folded(name))) {
                *message = Csv_Line_Message(texts_, header.line, texts_.Get_Lang_Text(Txt::Csv_Column_Twice).arg(name));
                return false;
            }
            out_.index.insert(Folded(name), int(out_.columns.size()));
            out_.columns.append(name);
        }
        for (const char* required : {Device_Name_Column, Device_Address_Column})
            if (out_.Column(QLatin1String(required)) < 0) {
                *message = Csv_Line_Message(texts_, header.line, texts_.Get_Lang_Text(Txt::Fleet_Missing_Column)
                                                                     .arg(QLatin1String(required)));
                return false;
            }
        return true;
    }

    bool Row(const Csv_Line& row, QString*) override
    {
        for (const QString& v : row.values)
            if (!v.isEmpty()) {
                out_.devices.append({row.line, row.values});
                break;
            }
        return true;
    }

    QString Column_Name(int field) const override { return Trim_Control(header_names.value(field)); }

private:
    const Texts& texts_;
    Fleet_Devices& out_;
};

} // namespace

int Fleet_Devices::Column(QAnyStringView name) const
{
    return index.value(Folded(name), -1);
}

QString Fleet_Devices::Name(int device) const
{
    return devices.at(device).values.value(Column(QLatin1String(Device_Name_Column)));
}

QString Fleet_Devices::Address(int device) const
{
    return devices.at(device).values.value(Column(QLatin1String(Device_Address_Column)));
}

const QString* Fleet_Devices::Value(int device, QStringView variable) const
{
    const int c = Column(variable);
    return c < 0 ? nullptr : &devices.at(device).values.at(c);
}

FileResult Read_Devices(const Texts& texts, const QByteArray& csv, Fleet_Devices* out)
{
    Fleet_Devices read;
    Devices_Sink sink(texts, read);
    FileResult r;
    r.ok = Read_Csv(texts, csv, sink, &r.message);
    if (r.ok)
        *out = std::move(read);
    return r;
}

FileResult Load_Devices_File(const Texts& texts, const QString& path, Fleet_Devices* out)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return FileResult::Failed(File_Not_Read_Text(texts, path, f.errorString()));
    Fleet_Devices read;
    const FileResult r = Read_Devices(texts, f.readAll(), &read);
    if (!r.ok)
        return FileResult::Failed(File_Not_Read_Text(texts, path, r.message));
    if (read.devices.isEmpty())
        return FileResult::Failed(texts.Get_Lang_Text(Txt::Fleet_No_Devices).arg(QDir::toNativeSeparators(path)));
    *out = std::move(read);
    return r;
}

} // namespace swr
