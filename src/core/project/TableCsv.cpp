#include "project/TableCsv.h"

#include "base/Files.h"
#include "base/TextHelpers.h"
#include "lang/FileTexts.h"
#include "lang/LangTable.h"
#include "lang/Texts.h"
#include "project/TableTexts.h"
#include "project/mqtt/MqttTopics.h"
#include "project/nmea/NmeaAccess.h"

#include <QDir>
#include <QFile>

#include <csv.h>

#include <memory>

namespace swr {

namespace {

const QByteArray Byte_Order_Mark = QByteArrayLiteral("\xEF\xBB\xBF");

// A value a spreadsheet would run as a formula: "=", "+", "-" or "@" first, after any
// apostrophes. Such a value is written with one more apostrophe in front, so the one that
// reading takes off gives back the value exactly.
bool Formula_Like(QStringView v)
{
    qsizetype i = 0;
    while (i < v.size() && v[i] == QLatin1Char('\''))
        ++i;
    return i < v.size() && QStringView(u"=+-@").contains(v[i]);
}

void Append_Field(QString& out, const QString& v)
{
    const QString text = Formula_Like(v) ? QLatin1Char('\'') + v : v;
    const bool quoted = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"'))
                        || text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
    if (!quoted) {
        out += text;
        return;
    }
    out += QLatin1Char('"');
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            out += QLatin1Char('"');
        out += c;
    }
    out += QLatin1Char('"');
}

void Append_Line(QString& out, const QStringList& fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(',');
        Append_Field(out, fields.at(i));
    }
    out += QLatin1String("\r\n");
}

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
    QString out(QChar(0xFEFF));
    Append_Line(out, Names_Of(form));
    For_Saved_Rows(form, t, [&](const QStringList& v) { Append_Line(out, v); });
    return out.toUtf8();
}

// The separator of the header line: its first comma or semicolon outside quotes; a comma
// when it has neither (a file of one column).
char Header_Separator(const QByteArray& data)
{
    qsizetype i = 0;
    while (i < data.size() && (data[i] == '\r' || data[i] == '\n'))
        ++i; // blank lines before the header
    bool quoted = false;
    for (; i < data.size(); ++i) {
        const char c = data[i];
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\r' || c == '\n'))
            break;
        else if (!quoted && (c == ',' || c == ';'))
            return c;
    }
    return ',';
}

// Counts the lines of the file as the parser hands over its characters: CR LF, a lone CR
// and a lone LF each end a line.
struct Line_Counter {
    int line = 1;
    bool after_cr = false;

    void Feed(char c)
    {
        if (c == '\n' && after_cr) {
            after_cr = false;
            return;
        }
        after_cr = c == '\r';
        if (c == '\r' || c == '\n')
            ++line;
    }
    void Feed(const char* s, size_t n)
    {
        for (size_t i = 0; i < n; ++i)
            Feed(s[i]);
    }
};

// Reads the lines of a CSV file into a table through libcsv: the first line that is not
// blank names the columns, every further one is a row. Blank lines are passed over, and
// so are lines of empty values after the last row that holds one (a spreadsheet may write
// them for rows it formatted).
template <class Table>
class Csv_Reader {
public:
    Csv_Reader(const Texts& texts, const Table_Texts<Table>& form, Table& out, bool append)
        : texts_(texts), form_(form), out_(out), next_row_(append ? form.used(out) + 1 : 1)
    {
        if (!append)
            form.clear(out);
    }

    // False with the message when the file is refused.
    bool Read(const QByteArray& bytes, QString* message)
    {
        const QByteArray data = bytes.startsWith(Byte_Order_Mark) ? bytes.mid(Byte_Order_Mark.size()) : bytes;
        separator_ = Header_Separator(data);
        csv_parser p;
        // Strict, as RFC 4180 writes it: a quote may only open and close a whole value.
        // Every line end is reported so that lines can be counted; no blanks are trimmed.
        csv_init(&p, CSV_STRICT | CSV_STRICT_FINI | CSV_REPALL_NL);
        const std::unique_ptr<csv_parser, void (*)(csv_parser*)> owner(&p, csv_free);
        csv_set_delim(&p, static_cast<unsigned char>(separator_));
        csv_set_space_func(&p, [](unsigned char) { return 0; });
        const size_t parsed = csv_parse(&p, data.constData(), size_t(data.size()), Field, End, this);
        if (failed_) {
            *message = message_;
            return false;
        }
        if (parsed < size_t(data.size())) {
            // The first character the strict parser refused: its line counted from the start.
            Line_Counter at;
            at.Feed(data.constData(), parsed);
            Fail_In_Field(at.line, texts_.Get_Lang_Text(Txt::Csv_Stray_Quote));
        } else if (csv_fini(&p, Field, End, this) != 0 && !failed_) {
            Fail_In_Field(lines_.line, texts_.Get_Lang_Text(Txt::Csv_Unclosed_Quote));
        } else if (!failed_ && map_.isEmpty()) {
            Fail(1, texts_.Get_Lang_Text(Txt::Csv_No_Header));
        }
        *message = message_;
        return !failed_;
    }

private:
    static void Field(void* s, size_t n, void* self)
    {
        auto* r = static_cast<Csv_Reader*>(self);
        if (r->failed_)
            return;
        const char* text = s ? static_cast<const char*>(s) : "";
        r->fields_.append(Utf8_Text(text, qsizetype(n)));
        r->lines_.Feed(text, n);
    }

    static void End(int c, void* self)
    {
        auto* r = static_cast<Csv_Reader*>(self);
        if (!r->failed_ && !r->fields_.isEmpty())
            r->Line();
        r->fields_.clear();
        if (c >= 0)
            r->lines_.Feed(char(c));
        r->record_line_ = r->lines_.line;
    }

    void Fail(int line, const QString& reason)
    {
        failed_ = true;
        message_ = texts_.Get_Lang_Text(Txt::Csv_Line).arg(line).arg(reason);
    }

    void Fail(int line, int column, const QString& reason)
    {
        failed_ = true;
        message_ = texts_.Get_Lang_Text(Txt::Csv_Cell).arg(line).arg(QLatin1String(form_.names[size_t(column)]), reason);
    }

    // A fault in the value the parser was reading: named by its column when the header
    // names one there.
    void Fail_In_Field(int line, const QString& reason)
    {
        if (fields_.size() < map_.size())
            Fail(line, map_.at(fields_.size()), reason);
        else
            Fail(line, reason);
    }

    void Line()
    {
        if (map_.isEmpty())
            Header();
        else
            Row();
    }

    void Header()
    {
        for (const QString& field : std::as_const(fields_)) {
            // A name read as it stands, but for blanks and marks a second byte-order
            // mark or an editor may put around it.
            QString name = Trim_Control(field);
            while (name.startsWith(QChar(0xFEFF)))
                name = Trim_Control(name.mid(1));
            int column = -1;
            for (size_t i = 0; i < form_.names.size(); ++i)
                if (name.compare(QLatin1String(form_.names[i]), Qt::CaseInsensitive) == 0)
                    column = int(i);
            if (column < 0)
                return Fail(record_line_, texts_.Get_Lang_Text(Txt::Csv_Unknown_Column)
                                              .arg(name, Names_Of(form_).join(QLatin1String(", "))));
            if (map_.contains(column))
                return Fail(record_line_, texts_.Get_Lang_Text(Txt::Csv_Column_Twice)
                                              .arg(QLatin1String(form_.names[size_t(column)])));
            map_.append(column);
        }
    }

    void Row()
    {
        if (fields_.size() != map_.size())
            return Fail(record_line_, texts_.Get_Lang_Text(Txt::Csv_Field_Count)
                                          .arg(fields_.size())
                                          .arg(map_.size())
                                          .arg(QLatin1Char(separator_)));
        QStringList texts(qsizetype(form_.names.size()));
        bool empty = true;
        for (qsizetype j = 0; j < fields_.size(); ++j) {
            const QString& v = fields_.at(j);
            empty = empty && v.isEmpty();
            texts[map_.at(j)] = v.startsWith(QLatin1Char('\'')) && Formula_Like(v) ? v.mid(1) : v;
        }
        if (empty) {
            ++empty_lines_;
            return;
        }
        // Empty lines between rows are empty rows.
        for (; empty_lines_ > 0; --empty_lines_)
            if (!Fill(QStringList(texts.size())))
                return;
        Fill(texts);
    }

    bool Fill(const QStringList& texts)
    {
        const int ARow = next_row_++;
        if (ARow > form_.capacity) {
            Fail(record_line_, texts_.Get_Lang_Text(Txt::Csv_Too_Many_Rows).arg(form_.capacity).arg(ARow));
            return false;
        }
        form_.fill(out_, ARow, texts);
        // A value the row does not give back as it was written is one the column cannot hold.
        const QStringList back = form_.texts(out_, ARow);
        for (const int column : std::as_const(map_)) {
            const QString& v = texts.at(column);
            if (!v.isEmpty() && back.at(column) != v) {
                Fail(record_line_, column, texts_.Get_Lang_Text(Txt::Csv_Value_Not_Offered).arg(v));
                return false;
            }
        }
        return true;
    }

    const Texts& texts_;
    const Table_Texts<Table>& form_;
    Table& out_;
    int next_row_;
    char separator_ = ',';
    QList<int> map_; // the table column of each column of the file, in file order
    QStringList fields_;
    Line_Counter lines_;
    int record_line_ = 1; // the line where the line being read begins
    int empty_lines_ = 0;
    bool failed_ = false;
    QString message_;
};

template <class Table>
FileResult From_Csv(const Texts& texts, const Table_Texts<Table>& form, const QByteArray& csv, bool append,
                    Table& t)
{
    Table out = t;
    Csv_Reader<Table> reader(texts, form, out, append);
    FileResult r;
    r.ok = reader.Read(csv, &r.message);
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
