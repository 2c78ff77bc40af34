// Load and save of ParGen.xml, both driven by the key table.
#include "project/pargen/ParGen.h"

#include "base/Xml.h"

namespace swr {

namespace {

// The text content of a key's element: its text and CDATA children joined. False when the
// element is missing or its content cannot be had as text (it holds elements), so the key
// keeps its default.
bool Element_Text(const pugi::xml_node& element, QString* text)
{
    if (!element)
        return false;
    QByteArray bytes;
    for (const pugi::xml_node& c : element.children()) {
        switch (c.type()) {
        case pugi::node_pcdata:
        case pugi::node_cdata:
            bytes += c.value();
            break;
        case pugi::node_element:
            return false;
        default: // comments and processing instructions are not text
            break;
        }
    }
    *text = QString::fromUtf8(bytes);
    return true;
}

} // namespace

FileResult Load_ParGen(const Texts& texts, const QString& path, ParGen& m)
{
    m = ParGen_Defaults();
    pugi::xml_document doc;
    bool missing = false;
    const FileResult r = Load_Project_Xml(texts, path, doc, &missing);
    if (!r.ok || missing)
        return r;
    // The first top-level node, whatever it is: a comment or PI before Par_Gen has no
    // children, so every key keeps its default.
    const pugi::xml_node root = Xml_Root(doc);
    for (const ParKeyInfo& k : Par_Keys()) {
        QString text;
        if (Element_Text(root.child(k.name), &text)) // the first element of that name
            m.Set_Text(k.key, text);
    }
    return r;
}

FileResult Save_ParGen(const Texts& texts, const QString& path, const ParGen& m)
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child(ParGen_Root);
    for (const ParKeyInfo& k : Par_Keys()) {
        pugi::xml_node e = root.append_child(k.name);
        const QString& v = m.Text(k.key);
        if (!v.isEmpty())
            e.append_child(pugi::node_pcdata).set_value(U(v).c_str());
    }
    return Save_Project_Xml(texts, path, doc);
}

} // namespace swr
