#include "app/Xml.h"

#include "app/AppState.h"
#include "app/Files.h"
#include "lang/LangTable.h"
#include "lang/Texts.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

#include <sstream>

namespace swr {

namespace {

constexpr unsigned Parse_Options = pugi::parse_default | pugi::parse_comments | pugi::parse_pi
                                   | pugi::parse_ws_pcdata_single;

unsigned Parse_Options_For(XmlBreaks breaks)
{
    return breaks == XmlBreaks::Kept
               ? Parse_Options & ~(pugi::parse_wconv_attribute | pugi::parse_eol)
               : Parse_Options;
}

// Line and column (from 1) of a character offset into the text the parser saw.
void Line_Column(const QString& text, qsizetype offset, int* line, int* column)
{
    *line = 1;
    *column = 1;
    for (qsizetype i = 0; i < offset && i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\n')) {
            ++*line;
            *column = 1;
        } else {
            ++*column;
        }
    }
}

bool Has_Byte_Order_Mark(const QByteArray& bytes)
{
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")
           || bytes.startsWith("\xEF\xBB\xBF");
}

// The document's characters: by its byte-order mark, else UTF-8.
QString Decode_Xml_Text(const QByteArray& bytes)
{
    return Has_Byte_Order_Mark(bytes) ? Decode_Language_Bytes(bytes) : QString::fromUtf8(bytes);
}

// Line and column (from 1) just past the last character of the text.
void End_Line_Column(const QByteArray& bytes, int* line, int* column)
{
    const QString text = Decode_Xml_Text(bytes);
    Line_Column(text, text.size(), line, column);
}

// A character XML does not allow anywhere in a document.
bool Not_Xml_Char(char32_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || (c >= 0xD800 && c < 0xE000)
           || c == 0xFFFE || c == 0xFFFF;
}

// The stream reader names a character it refuses as it stands, which an error box does
// not show when it is a control character: such a reason names its code instead.
QString Reason_At(const QString& reason, const QString& text, int line, int column)
{
    qsizetype start = 0;
    for (int l = 1; l < line && start >= 0; ++l)
        start = text.indexOf(QLatin1Char('\n'), start) + 1;
    const qsizetype at = start + column - 1;
    if (start < 0 || at < 0 || at >= text.size() || !Not_Xml_Char(text.at(at).unicode()))
        return reason;
    return QStringLiteral("Character U+%1 is not allowed in XML.")
        .arg(QString::number(text.at(at).unicode(), 16).toUpper().rightJustified(4, u'0'));
}

// XML 1.0 well-formedness, decided by Qt's conforming stream reader before the tree is
// built: every error XML calls fatal stops the load, at its line and column. The tree
// builder does not expand entities or default attributes declared in a document type
// definition, so such a file is refused rather than read differently from what it says.
bool Check_Well_Formed(const QByteArray& bytes, const QString& file, XmlError* error)
{
    QXmlStreamReader r(bytes);
    while (!r.atEnd()) {
        switch (r.readNext()) {
        case QXmlStreamReader::EntityReference:
            r.raiseError(QStringLiteral("Entity '%1' not declared.").arg(r.name()));
            break;
        case QXmlStreamReader::DTD:
            if (r.text().contains(QLatin1String("<!ENTITY"))
                || r.text().contains(QLatin1String("<!ATTLIST")))
                r.raiseError(QStringLiteral("Entity and attribute declarations are not supported."));
            break;
        default:
            break;
        }
    }
    if (!r.hasError())
        return true;
    if (error) {
        error->file = file;
        error->reason = r.errorString();
        if (r.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
            End_Line_Column(bytes, &error->line, &error->column);
        } else {
            error->line = int(qMax<qint64>(1, r.lineNumber()));
            error->column = int(qMax<qint64>(1, r.columnNumber()));
            error->reason = Reason_At(error->reason, Decode_Xml_Text(bytes), error->line, error->column);
        }
    }
    return false;
}

} // namespace

XmlLoad Load_Xml_Bytes(const QByteArray& bytes, const QString& file, pugi::xml_document& doc,
                       XmlError* error, XmlBreaks breaks)
{
    doc.reset();
    if (!Check_Well_Formed(bytes, file, error))
        return XmlLoad::Failed;
    const pugi::xml_parse_result r = doc.load_buffer(bytes.constData(), size_t(bytes.size()),
                                                     Parse_Options_For(breaks),
                                                     pugi::encoding_auto);
    if (r)
        return XmlLoad::Loaded;
    if (error) {
        error->file = file;
        error->reason = QString::fromUtf8(r.description());
        // The parser's offset counts characters of its UTF-8 view of the text.
        const QByteArray view = Has_Byte_Order_Mark(bytes) ? Decode_Xml_Text(bytes).toUtf8() : bytes;
        const qsizetype off = qBound<qsizetype>(0, qsizetype(r.offset), view.size());
        const QString prefix = QString::fromUtf8(view.left(off));
        Line_Column(prefix, prefix.size(), &error->line, &error->column);
    }
    doc.reset();
    return XmlLoad::Failed;
}

XmlLoad Load_Xml_File(const QString& path, pugi::xml_document& doc, XmlError* error,
                      XmlBreaks breaks)
{
    doc.reset();
    QFile f(path);
    if (!f.exists())
        return XmlLoad::Missing;
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = XmlError{path, 0, 0, f.errorString()};
        return XmlLoad::Failed;
    }
    return Load_Xml_Bytes(f.readAll(), path, doc, error, breaks);
}

pugi::xml_node Xml_Root(const pugi::xml_document& doc)
{
    return doc.first_child();
}

QString Xml_Text(const pugi::xml_node& element, bool* found)
{
    if (found)
        *found = bool(element);
    return element ? Q(element.child_value()) : QString();
}

QByteArray Xml_Bytes(const pugi::xml_document& doc)
{
    std::ostringstream out;
    doc.save(out, "\t", pugi::format_default, pugi::encoding_utf8);
    const std::string s = out.str();
    QByteArray bytes(s.data(), qsizetype(s.size()));
    // The library writes a carriage return inside element text as it stands, and every
    // reader (this one too) turns a written CR LF or lone CR into LF. Written as a
    // character reference it is read back as CR. The library's own layout uses only LF and
    // tabs and it already escapes CR in attribute values, so a CR left here belongs to
    // element text (the program builds no comment, CDATA or PI holding one).
    bytes.replace('\r', "&#13;");
    return bytes;
}

bool Save_Xml_File(const pugi::xml_document& doc, const QString& path, QString* error)
{
    return Write_File_Atomic(path, Xml_Bytes(doc), error);
}

QString Xml_Error_Text(const AppState& st, const XmlError& e)
{
    if (e.line == 0)
        return File_Not_Read_Text(st, e.file, e.reason);
    return st.Get_Lang_Text(Txt::Xml_Not_Valid)
        .arg(QDir::toNativeSeparators(e.file))
        .arg(e.line)
        .arg(e.column)
        .arg(e.reason);
}

} // namespace swr
