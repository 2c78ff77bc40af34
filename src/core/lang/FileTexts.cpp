#include "lang/FileTexts.h"

#include "lang/Texts.h"
#include "base/Xml.h"
#include "lang/LangTable.h"

#include <QDir>

namespace swr {

QString File_Not_Written_Text(const Texts& texts, const QString& path, const QString& reason)
{
    return texts.Get_Lang_Text(Txt::File_Not_Written).arg(QDir::toNativeSeparators(path), reason);
}

QString File_Not_Read_Text(const Texts& texts, const QString& path, const QString& reason)
{
    return texts.Get_Lang_Text(Txt::File_Not_Read).arg(QDir::toNativeSeparators(path), reason);
}

QString Xml_Error_Text(const Texts& texts, const XmlError& e)
{
    if (e.line == 0)
        return File_Not_Read_Text(texts, e.file, e.reason);
    return texts.Get_Lang_Text(Txt::Xml_Not_Valid)
        .arg(QDir::toNativeSeparators(e.file))
        .arg(e.line)
        .arg(e.column)
        .arg(e.reason);
}

} // namespace swr
