#include "app/Files.h"

#include "app/AppState.h"
#include "app/FileWriter.h"
#include "lang/Texts.h"

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

QString File_Not_Written_Text(const AppState& st, const QString& path, const QString& reason)
{
    return st.Get_Lang_Text(Txt::File_Not_Written).arg(QDir::toNativeSeparators(path), reason);
}

QString File_Not_Read_Text(const AppState& st, const QString& path, const QString& reason)
{
    return st.Get_Lang_Text(Txt::File_Not_Read).arg(QDir::toNativeSeparators(path), reason);
}

} // namespace swr
