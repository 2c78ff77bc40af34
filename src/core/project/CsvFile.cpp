#include "project/CsvFile.h"

#include "base/TextHelpers.h"
#include "lang/LangTable.h"
#include "lang/Texts.h"

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

// Hands the lines of a file, as libcsv parses them, to the sink.
class Csv_Reader {
public:
    Csv_Reader(const Texts& texts, Csv_Sink& sink) : texts_(texts), sink_(sink) {}

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
        if (!failed_) {
            if (parsed < size_t(data.size())) {
                // The first character the strict parser refused: its line counted from the start.
                Line_Counter at;
                at.Feed(data.constData(), parsed);
                Fail_In_Field(at.line, texts_.Get_Lang_Text(Txt::Csv_Stray_Quote));
            } else if (csv_fini(&p, Field, End, this) != 0 && !failed_) {
                Fail_In_Field(lines_.line, texts_.Get_Lang_Text(Txt::Csv_Unclosed_Quote));
            } else if (!failed_ && !header_read_) {
                Fail(Csv_Line_Message(texts_, 1, texts_.Get_Lang_Text(Txt::Csv_No_Header)));
            }
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
        r->values_.append(Utf8_Text(text, qsizetype(n)));
        r->lines_.Feed(text, n);
    }

    static void End(int c, void* self)
    {
        auto* r = static_cast<Csv_Reader*>(self);
        if (!r->failed_ && !r->values_.isEmpty())
            r->Line();
        r->values_.clear();
        if (c >= 0)
            r->lines_.Feed(char(c));
        r->record_line_ = r->lines_.line;
    }

    void Fail(const QString& message)
    {
        failed_ = true;
        message_ = message;
    }

    // A fault in the value the parser was reading: named by its column when the header
    // names one there.
    void Fail_In_Field(int line, const QString& reason)
    {
        if (header_read_ && values_.size() < sink_.header_names.size())
            Fail(Csv_Cell_Message(texts_, line, sink_.Column_Name(int(values_.size())), reason));
        else
            Fail(Csv_Line_Message(texts_, line, reason));
    }

    void Line()
    {
        QString message;
        if (!header_read_) {
            header_read_ = true;
            sink_.header_names = values_;
            if (!sink_.Header({record_line_, values_}, &message))
                Fail(message);
            return;
        }
        if (values_.size() != sink_.header_names.size())
            return Fail(Csv_Line_Message(texts_, record_line_,
                                         texts_.Get_Lang_Text(Txt::Csv_Field_Count)
                                             .arg(values_.size())
                                             .arg(sink_.header_names.size())
                                             .arg(QLatin1Char(separator_))));
        Csv_Line row{record_line_, values_};
        for (QString& v : row.values)
            if (v.startsWith(QLatin1Char('\'')) && Formula_Like(v))
                v.remove(0, 1);
        if (!sink_.Row(row, &message))
            Fail(message);
    }

    const Texts& texts_;
    Csv_Sink& sink_;
    char separator_ = ',';
    bool header_read_ = false;
    QStringList values_;
    Line_Counter lines_;
    int record_line_ = 1; // the line where the line being read begins
    bool failed_ = false;
    QString message_;
};

} // namespace

void Append_Csv_Line(QString& out, const QStringList& values)
{
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(',');
        Append_Field(out, values.at(i));
    }
    out += QLatin1String("\r\n");
}

QByteArray Csv_File_Bytes(const QString& lines)
{
    return Byte_Order_Mark + lines.toUtf8();
}

bool Read_Csv(const Texts& texts, const QByteArray& bytes, Csv_Sink& sink, QString* message)
{
    return Csv_Reader(texts, sink).Read(bytes, message);
}

QString Csv_Line_Message(const Texts& texts, int line, const QString& reason)
{
    return texts.Get_Lang_Text(Txt::Csv_Line).arg(line).arg(reason);
}

QString Csv_Cell_Message(const Texts& texts, int line, const QString& column, const QString& reason)
{
    return texts.Get_Lang_Text(Txt::Csv_Cell).arg(line).arg(column, reason);
}

} // namespace swr
