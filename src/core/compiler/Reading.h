#pragma once

// How the compiler reads values from the project files. Its conversions and defaults are
// its own: a value that is missing or not a number takes the compiler's default.

#include "base/Xml.h"

#include <QList>

namespace swr {

class Texts;

// Text of the root's first child element of that name; found is false when there is none.
QString Key_Text(const pugi::xml_node& root, const char* key, bool* found = nullptr);

// The key's text as a decimal integer; d when the key is missing or not a number.
int Key_Int(const pugi::xml_node& root, const char* key, int d);

// An attribute's value; found is false when the element has no such attribute.
QString Attr_Text(const pugi::xml_node& node, const char* name, bool* found = nullptr);

// The element children of a node, in document order (text and comments are not rows).
QList<pugi::xml_node> Element_Children(const pugi::xml_node& node);

// "The file ... cannot be compiled: reason".
QString Compile_Error_Text(const Texts& texts, const QString& file, const QString& reason);

} // namespace swr
