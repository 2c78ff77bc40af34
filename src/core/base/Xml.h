#pragma once

#include "base/TextHelpers.h"

#include <QString>

#include <pugixml.hpp>

namespace swr {

// Why an XML file could not be loaded: the file, where, and the parser's or system's reason.
struct XmlError {
    QString file;
    int line = 0;   // 0 when the file could not be read at all
    int column = 0;
    QString reason;
};

enum class XmlLoad { Missing, Loaded, Failed };

// How line breaks and tabs inside attribute values (and element texts) are read.
// Normalised is XML's own rule: a literal line break or tab in an attribute becomes a
// blank and CR LF becomes LF. Kept leaves every character as it stands, for files whose
// attributes carry multi-line texts the user typed; escaped breaks (&#13;&#10;, as this
// program writes them) read back exactly either way.
enum class XmlBreaks { Normalised, Kept };

// Loads an XML file the way every reader of the program does, in one pass that checks XML
// 1.0 and builds the tree: UTF-8, UTF-16 or UTF-32 by byte-order mark (UTF-16 and UTF-32
// also by how they write the first "<"), else the encoding the declaration names, else
// UTF-8; the declaration and document type skipped, comments and processing instructions
// kept (the first top-level node is the root, whatever it is), element text made only of
// blanks kept when it is all its element holds. A document type that declares entities or
// attributes is refused, and no file it names is read.
XmlLoad Load_Xml_File(const QString& path, pugi::xml_document& doc, XmlError* error,
                      XmlBreaks breaks = XmlBreaks::Normalised);

// The same for bytes already read; file names the origin in the error.
XmlLoad Load_Xml_Bytes(const QByteArray& bytes, const QString& file, pugi::xml_document& doc,
                       XmlError* error, XmlBreaks breaks = XmlBreaks::Normalised);

// The document's first top-level node, taken as the root without checking its name.
pugi::xml_node Xml_Root(const pugi::xml_document& doc);

// Text of an element as it stands; found is false when the element is missing.
QString Xml_Text(const pugi::xml_node& element, bool* found = nullptr);

// Serialises the document as the XML library does (its own declaration, tab indentation),
// except that a carriage return in element text is written "&#13;" so that it reads back.
QByteArray Xml_Bytes(const pugi::xml_document& doc);

// Writes the document whole, replacing the file; error gets the system's reason.
bool Save_Xml_File(const pugi::xml_document& doc, const QString& path, QString* error);

inline QString Q(const pugi::char_t* s) { return Utf8_Text(s); }
inline std::string U(const QString& s) { return s.toStdString(); }

} // namespace swr
