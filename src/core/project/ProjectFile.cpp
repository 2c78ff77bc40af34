#include "project/ProjectFile.h"

#include "app/AppState.h"
#include "lang/FileTexts.h"
#include "app/Files.h"

namespace swr {

FileResult Load_Project_Xml(const AppState& st, const QString& path, pugi::xml_document& doc,
                            bool* missing, XmlBreaks breaks)
{
    FileResult r;
    XmlError err;
    const XmlLoad l = Load_Xml_File(path, doc, &err, breaks);
    if (missing)
        *missing = l == XmlLoad::Missing;
    if (l == XmlLoad::Failed) {
        r.ok = false;
        r.message = Xml_Error_Text(st, err);
    }
    return r;
}

FileResult Save_Project_Xml(const AppState& st, const QString& path, pugi::xml_document& doc)
{
    FileResult r;
    doc.append_child(pugi::node_comment).set_value(Project_Comment);
    QString reason;
    if (!Save_Xml_File(doc, path, &reason)) {
        r.ok = false;
        r.message = File_Not_Written_Text(st, path, reason);
    }
    return r;
}

} // namespace swr
