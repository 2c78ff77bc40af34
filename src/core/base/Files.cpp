#include "base/Files.h"

#include "base/FileWriter.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

namespace swr {

QString Join_Path(const QString& folder, const QString& name)
{
    return folder + QDir::separator() + name;
}

QString Unique_Tag()
{
    return QString::number(QRandomGenerator::global()->generate(), 16);
}

bool Write_New_File(const QString& path, const QByteArray& data, QString* error)
{
    IFile_Writer& w = File_Writer();
    QFile f(path);
    if (!w.Open(f, error))
        return false;
    if (w.Write(f, data, error) && w.Flush(f, error))
        return true;
    f.close();
    w.Remove(path);
    return false;
}

bool Write_File_Atomic(const QString& path, const QByteArray& data, QString* error)
{
    const QString temp = path + QStringLiteral(".new-") + Unique_Tag();
    if (!Write_New_File(temp, data, error))
        return false;
    if (File_Writer().Rename(temp, path, error))
        return true;
    File_Writer().Remove(temp);
    return false;
}

} // namespace swr
