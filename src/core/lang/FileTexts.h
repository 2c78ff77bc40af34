#pragma once

#include <QString>

namespace swr {

class Texts;
struct XmlError;

// Messages for file failures, built from the string table when they are shown: the file
// (in the platform's spelling) and the system's reason.
QString File_Not_Written_Text(const Texts& texts, const QString& path, const QString& reason);
QString File_Not_Read_Text(const Texts& texts, const QString& path, const QString& reason);

// The message for a file that could not be loaded: where the parser stopped and why, or
// why the file could not be read at all.
QString Xml_Error_Text(const Texts& texts, const XmlError& error);

} // namespace swr
