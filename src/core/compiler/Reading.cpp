#include "compiler/Reading.h"

#include "base/Numbers.h"
#include "lang/Texts.h"
#include "lang/LangTable.h"

#include <QDir>
#include <QList>

namespace swr {

QString Key_Text(const pugi::xml_node& root, const char* key, bool* found)
{
    return Xml_Text(root.child(key), found);
}

int Key_Int(const pugi::xml_node& root, const char* key, int d)
{
    bool found = false;
    const QString text = Key_Text(root, key, &found);
    return found ? Decimal_Trimmed_Or(text, d) : d;
}

QString Attr_Text(const pugi::xml_node& node, const char* name, bool* found)
{
    const pugi::xml_attribute a = node.attribute(name);
    if (found)
        *found = bool(a);
    return a ? Q(a.value()) : QString();
}

QList<pugi::xml_node> Element_Children(const pugi::xml_node& node)
{
    QList<pugi::xml_node> rows;
    for (const pugi::xml_node& n : node.children())
        if (n.type() == pugi::node_element)
            rows.append(n);
    return rows;
}

QString Compile_Error_Text(const Texts& texts, const QString& file, const QString& reason)
{
    return texts.Get_Lang_Text(Txt::Compile_Error).arg(QDir::toNativeSeparators(file), reason);
}

} // namespace swr
