#include "project/TableCsv.h"

#include "base/Files.h"
#include "base/TextHelpers.h"
#include "lang/FileTexts.h"
#include "lang/LangTable.h"
#include "lang/Texts.h"
#include "project/CsvFile.h"
#include "project/TableTexts.h"
#include "project/mqtt/MqttTopics.h"
#include "project/nmea/NmeaAccess.h"

#include <QDir>
#include <QFile>

namespace swr {

namespace {

template <class Table>
QStringList Names_Of(const Table_Texts<Table>& form)
{
    QStringList names;
    for (const char* n : form.names)
        names.append(QLatin1String(n));
    return names;
}

template <class Table>
QByteArray Csv_Of(const Table_Texts<Table>& form, const Table& t)
{
    QString out;
    Append_Csv_Line(out, Names_Of(form));
    For_Saved_Rows(form, t, [&](const QStringList& v) { Append_Csv_Line(out, v); });
    return Csv_File_Bytes(out);
}

// Reads the lines of a CSV file into a table: the header's names are the table's columns,
// every further line is a row. Lines of empty values after the last row that holds one
// are passed over (a spreadsheet may write them for rows it formatted).
template <class Table>
class Table_Sink : public Csv_Sink {
public:
    Table_Sink(const Texts& texts, const Table_Texts<Table>& form, Table& out, bool append)
        : texts_(texts), form_(form), out_(out), next_row_(append ? form.used(out) + 1 : 1)
    {
        if (!append)
            form.clear(out);
    }

    bool Header(const Csv_Line& header, QString* message) override
    {
        for (const QString& field : header.values) {
            // A name read as it stands, but for blanks and marks a second byte-order
            // mark or an editor may put around it.
            QString name = Trim_Control(field);
            while (name.startsWith(QChar(0xFEFF)))
                name = Trim_Control(name.mid(1));
            int column = -1;
            for (size_t i = 0; i < form_.names.size(); ++i)
                if (name.compare(QLatin1String(form_.names[i]), Qt::CaseInsensitive) == 0)
                    column = int(i);
            if (column < 0) {
                *message = Csv_Line_Message(texts_, header.line, texts_.Get_Lang_Text(Txt::Csv_Unknown_Column)
                                                                     .arg(name, Names_Of(form_).join(QLatin1String(", "))));
                return false;
            }
            if (map_.contains(column)) {
                *message = Csv_Line_Message(texts_, header.line, texts_.Get_Lang_Text(Txt::Csv_Column_Twice)
                                                                     .arg(QLatin1String(form_.names[size_t(column)])));
                return false;
            }
            map_.append(column);
        }
        return true;
    }

    bool Row(const Csv_Line& row, QString* message) override
    {
        QStringList texts(qsizetype(form_.names.size()));
        bool empty = true;
        for (qsizetype j = 0; j < row.values.size(); ++j) {
            empty = empty && row.values.at(j).isEmpty();
            texts[map_.at(j)] = row.values.at(j);
        }
        if (empty) {
            ++empty_lines_;
            return true;
        }
        // Empty lines between rows are empty rows.
        for (; empty_lines_ > 0; --empty_lines_)
            if (!Fill(row.line, QStringList(texts.size()), message))
                return false;
        return Fill(row.line, texts, message);
    }

    QString Column_Name(int field) const override
    {
        return QLatin1String(form_.names[size_t(map_.at(field))]);
    }

private:
    bool Fill(int line, const QStringList& texts, QString* message)
    {
        const int ARow = next_row_++;
        if (ARow > form_.capacity) {
            *message = Csv_Line_Message(texts_, line,
                                        texts_.Get_Lang_Text(Txt::Csv_Too_Many_Rows).arg(form_.capacity).arg(ARow));
            return false;
        }
        form_.fill(out_, ARow, texts);
        // A value the row does not give back as it was written is one the column cannot hold.
        const QStringList back = form_.texts(out_, ARow);
        for (const int column : std::as_const(map_)) {
            const QString& v = texts.at(column);
            if (!v.isEmpty() && back.at(column) != v) {
                *message = Csv_Cell_Message(texts_, line, QLatin1String(form_.names[size_t(column)]),
                                            texts_.Get_Lang_Text(Txt::Csv_Value_Not_Offered).arg(v));
                return false;
            }
        }
        return true;
    }

    const Texts& texts_;
    const Table_Texts<Table>& form_;
    Table& out_;
    int next_row_;
    QList<int> map_; // the table column of each column of the file, in file order
    int empty_lines_ = 0;
};

template <class Table>
FileResult From_Csv(const Texts& texts, const Table_Texts<Table>& form, const QByteArray& csv, bool append,
                    Table& t)
{
    Table out = t;
    Table_Sink<Table> sink(texts, form, out, append);
    FileResult r;
    r.ok = Read_Csv(texts, csv, sink, &r.message);
    if (r.ok)
        t = std::move(out);
    return r;
}

FileResult Failed(FileResult r, const QString& message)
{
    r.ok = false;
    r.message = message;
    return r;
}

template <class Table>
using Load_Fn = FileResult (*)(const Texts&, const QString&, Table&);
template <class Table>
using Save_Fn = FileResult (*)(const Texts&, const QString&, const Table&);

template <class Table>
FileResult Export(const Texts& texts, const QString& path, Load_Fn<Table> load, QByteArray* csv)
{
    Table t;
    const FileResult r = load(texts, path, t);
    if (r.ok)
        *csv = Table_Csv(t);
    return r;
}

template <class Table>
FileResult From_Csv_File(const Texts& texts, const QString& csv_file, bool append, Table& t)
{
    QFile f(csv_file);
    if (!f.open(QIODevice::ReadOnly))
        return Failed({}, File_Not_Read_Text(texts, csv_file, f.errorString()));
    const FileResult read = Table_From_Csv(texts, f.readAll(), append, t);
    if (!read.ok)
        return Failed({}, texts.Get_Lang_Text(Txt::Csv_Not_Imported)
                              .arg(QDir::toNativeSeparators(csv_file), read.message));
    return read;
}

template <class Table>
FileResult Import(const Texts& texts, const QString& path, Load_Fn<Table> load, Save_Fn<Table> save,
                  const QString& csv_file, bool append)
{
    Table t;
    FileResult r = load(texts, path, t);
    if (!r.ok)
        return r;
    // Rows the file holds beyond the table would be lost: refused when they are kept.
    if (append && !r.notices.isEmpty())
        return Failed({}, r.notices.first());
    r.notices.clear();
    if (const FileResult read = From_Csv_File(texts, csv_file, append, t); !read.ok)
        return read;
    const Check_Findings findings = Data_Check(texts, t);
    if (const Check_Finding* e = First_Error(findings))
        return Failed({}, texts.Get_Lang_Text(Txt::Csv_Check_Failed).arg(e->message));
    r = save(texts, path, t);
    for (const Check_Finding& w : findings)
        if (w.severity == Check_Finding::Warning)
            r.notices.append(w.message);
    return r;
}

QString Table_File(const QString& folder, Csv_Table table)
{
    return Join_Path(folder, QString::fromLatin1(table == Csv_Table::Listener ? NMEA_Access_File_Name
                                                                               : MQTT_Topic_File_Name));
}

} // namespace

QByteArray Table_Csv(const NMEA_Listener_Table& t)
{
    return Csv_Of(Listener_Texts(), t);
}

QByteArray Table_Csv(const MQTT_Topic_Table& m)
{
    return Csv_Of(Publish_Texts(), m);
}

FileResult Table_From_Csv(const Texts& texts, const QByteArray& csv, bool append, NMEA_Listener_Table& t)
{
    return From_Csv(texts, Listener_Texts(), csv, append, t);
}

FileResult Table_From_Csv(const Texts& texts, const QByteArray& csv, bool append, MQTT_Topic_Table& m)
{
    return From_Csv(texts, Publish_Texts(), csv, append, m);
}

FileResult Table_From_Csv_File(const Texts& texts, const QString& csv_file, bool append, NMEA_Listener_Table& t)
{
    return From_Csv_File(texts, csv_file, append, t);
}

FileResult Table_From_Csv_File(const Texts& texts, const QString& csv_file, bool append, MQTT_Topic_Table& m)
{
    return From_Csv_File(texts, csv_file, append, m);
}

FileResult Export_Table_Csv(const Texts& texts, const QString& folder, Csv_Table table, QByteArray* csv)
{
    const QString path = Table_File(folder, table);
    if (table == Csv_Table::Listener)
        return Export<NMEA_Listener_Table>(texts, path, Load_NMEA_Access, csv);
    return Export<MQTT_Topic_Table>(texts, path, Load_MQTT_Topic, csv);
}

FileResult Import_Table_Csv(const Texts& texts, const QString& folder, Csv_Table table, const QString& csv_file,
                            bool append)
{
    const QString path = Table_File(folder, table);
    if (table == Csv_Table::Listener)
        return Import<NMEA_Listener_Table>(texts, path, Load_NMEA_Access, Save_NMEA_Access, csv_file, append);
    return Import<MQTT_Topic_Table>(texts, path, Load_MQTT_Topic, Save_MQTT_Topic, csv_file, append);
}

} // namespace swr
