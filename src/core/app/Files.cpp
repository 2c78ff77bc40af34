#include "app/Files.h"

#include "app/AppState.h"
#include "app/Texts.h"

#include <QDir>
#include <QSaveFile>

namespace swr {

QString Join_Path(const QString& folder, const QString& name)
{
    return folder + QDir::separator() + name;
}

bool Write_File_Atomic(const QString& path, const QByteArray& data, QString* error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    if (f.write(data) != data.size()) {
        if (error)
            *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
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
