#include "base/Xml.h"

#include "base/Files.h"

#include <sstream>

namespace swr {

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

} // namespace swr
