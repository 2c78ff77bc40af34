#include "session/Startup.h"
#include "lang/FileTexts.h"

#include "session/AppState.h"
#include "base/Files.h"
#include "base/Messages.h"
#include "session/Projects.h"
#include "session/Settings.h"
#include "lang/LangTable.h"
#include "project/nmea/Nmea0183Catalogue.h"
#include "update/UpdateJob.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace swr {

namespace {

// Root may write anywhere whatever the permission bits say, so the folder is asked by
// creating a file in it.
bool Folder_Writable(const QString& dir)
{
    if (!QFileInfo(dir).isDir())
        return false;
    QTemporaryFile probe(Join_Path(dir, QStringLiteral(".swr2305-probe-XXXXXX")));
    return probe.open();
}

} // namespace

QString Choose_Program_Dir(const QString& exeDir, const QString& fallbackDir, bool installed)
{
    if ((!installed && Folder_Writable(exeDir)) || fallbackDir.isEmpty())
        return QDir::cleanPath(exeDir);
    QDir().mkpath(fallbackDir);
    return QDir::cleanPath(fallbackDir);
}

void Seed_Language_Dir(const QString& shippedDir, const QString& Language_Dir)
{
    if (shippedDir.isEmpty())
        return;
    const QFileInfoList shipped = QDir(shippedDir).entryInfoList(QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo& from : shipped) {
        const QString to = Join_Path(Language_Dir, from.fileName());
        if (QFileInfo::exists(to))
            continue;
        QFile in(from.filePath());
        if (in.open(QIODevice::ReadOnly))
            Write_File_Atomic(to, in.readAll(), nullptr);
    }
}

void Load_Language(AppState& st, IMessages& msg)
{
    Load_Default_Strings(st.Lang_Table);
    QString file = Join_Path(st.Language_Dir, st.Language_Name + QStringLiteral(".lng"));
    if (!QFileInfo::exists(file)) {
        st.Language_Name = QString::fromLatin1(Default_Language);
        file = Join_Path(st.Language_Dir, QStringLiteral("English.lng"));
        if (!QFileInfo::exists(file))
            return;
    }
    QString reason;
    if (!Read_Language_File(st.Lang_Table, file, &reason))
        msg.Show_Error(File_Not_Read_Text(st, file, reason));
}

void Start_Up(AppState& st, const QString& programDir, IMessages& msg, const QString& shippedLanguageDir)
{
    st.Lang_Table.clear();

    st.Program_Dir = QDir::toNativeSeparators(QDir::cleanPath(programDir));
    st.Master_Dir = Master_Dir_Of(st.Program_Dir);
    st.Projects_Dir = Join_Path(st.Program_Dir, QStringLiteral("PROJECTS"));
    st.Language_Dir = Join_Path(st.Program_Dir, QStringLiteral("LANGUAGE"));
    for (const QString& dir : {st.Master_Dir, st.Projects_Dir, st.Language_Dir})
        if (!QFileInfo(dir).isDir())
            QDir().mkdir(dir);
    Seed_Language_Dir(shippedLanguageDir, st.Language_Dir);

    st.Active_Project_Name.clear();
    st.Active_Project_Dir.clear();
    st.Update_Read_Back = true;
    st.Update_Option_Index = 0;

    // The texts for a settings error are needed before the language is known.
    Load_Default_Strings(st.Lang_Table);
    Read_Settings(st, msg);

    st.Product_Title = QStringLiteral("Norvex - Configurator SWR2305 - NMEA 0183 / MQTT ");
    st.Product_Code = QStringLiteral("SWR2305");
    st.Product_Description = QStringLiteral("NMEA 0183 / MQTT - Converter");

    Load_Language(st, msg);
    Restore_Active_Project(st);
    Set_Files(st);

    st.Row_Clipboard.clear();
    st.Row_Clipboard_Check.clear();
    st.Row_Clipboard_Below.clear();

    Init_NMEA0183_Map();
}

bool Update_Timer_Wanted(const AppState& st)
{
    return st.Enable_Internet && st.Enable_Update;
}

} // namespace swr
