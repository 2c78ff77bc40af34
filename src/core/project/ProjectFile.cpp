#include "project/ProjectFile.h"

#include "base/Files.h"
#include "lang/FileTexts.h"
#include "lang/Texts.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace swr {

Project_Paths Project_Files_In(const QString& folder)
{
    return {Join_Path(folder, QString::fromLatin1(ParGen_File_Name)),
            Join_Path(folder, QString::fromLatin1(NMEA_Access_File_Name)),
            Join_Path(folder, QString::fromLatin1(MQTT_Topic_File_Name))};
}

bool Name_Stays_Inside(const QString& name)
{
    if (QDir::isAbsolutePath(name) || name.startsWith(QLatin1Char('/'))
        || name.startsWith(QLatin1Char('\\')))
        return false;
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (drive.match(name).hasMatch())
        return false;
    static const QRegularExpression sep(QStringLiteral("[/\\\\]"));
    const QStringList parts = name.split(sep);
    for (const QString& p : parts)
        if (p == QLatin1String(".."))
            return false;
    return true;
}

int Create_Configuration_Folder(const QString& Projects_Dir, const QString& name, bool existing_too)
{
    if (name.isEmpty())
        return Txt::New_Name_Empty;
    if (!Name_Stays_Inside(name))
        return Txt::New_Name_Invalid_Create;
    const QString dir = Join_Path(Projects_Dir, name);
    if (QFileInfo(dir).isDir()) {
        if (!existing_too)
            return Txt::New_Name_Exists;
    } else if (!QDir().mkdir(dir)) {
        return Txt::New_Name_Invalid_Create;
    }
    QDir().mkpath(Join_Path(dir, QStringLiteral("bin")));
    return 0;
}

FileResult Load_Project_Xml(const Texts& texts, const QString& path, pugi::xml_document& doc,
                            bool* missing, XmlBreaks breaks)
{
    FileResult r;
    XmlError err;
    const XmlLoad l = Load_Xml_File(path, doc, &err, breaks);
    if (missing)
        *missing = l == XmlLoad::Missing;
    if (l == XmlLoad::Failed) {
        r.ok = false;
        r.message = Xml_Error_Text(texts, err);
    }
    return r;
}

void Append_Row(pugi::xml_node list, std::span<const char* const> names, const QStringList& texts)
{
    pugi::xml_node row = list.append_child("row");
    for (size_t i = 0; i < names.size(); ++i)
        row.append_attribute(names[i]).set_value(U(texts.at(qsizetype(i))).c_str());
}

FileResult Save_Project_Xml(const Texts& texts, const QString& path, pugi::xml_document& doc)
{
    FileResult r;
    doc.append_child(pugi::node_comment).set_value(Project_Comment);
    QString reason;
    if (!Save_Xml_File(doc, path, &reason)) {
        r.ok = false;
        r.message = File_Not_Written_Text(texts, path, reason);
    }
    return r;
}

} // namespace swr
