#include "session/Projects.h"

#include "session/AppState.h"
#include "base/Files.h"
#include "lang/Texts.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace swr {

void Set_Files(AppState& st)
{
    Project_Paths files = Project_Files_In(st.Active_Project_Dir);
    st.File_ParGen = std::move(files.File_ParGen);
    st.File_NMEA_Access = std::move(files.File_NMEA_Access);
    st.File_MQTT_Topic = std::move(files.File_MQTT_Topic);
}

int Create_New_Project(AppState& st, const QString& name)
{
    if (const int error = Create_Configuration_Folder(st.Projects_Dir, name))
        return error;
    st.Active_Project_Name = name;
    st.Active_Project_Dir = Join_Path(st.Projects_Dir, name);
    Set_Files(st);
    return 0;
}

QStringList Load_Existing_Configuration(const QString& Projects_Dir)
{
    return QDir(Projects_Dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

int Search_Open_Conf(const QStringList& SL, const QString& name)
{
    // Only A..Z fold; other letters compare exactly.
    auto fold = [](const QString& s) {
        QString r = s;
        for (QChar& c : r)
            if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
                c = QChar(c.unicode() + 32);
        return r;
    };
    const QString key = fold(name);
    for (int i = 0; i < SL.size(); ++i)
        if (fold(SL.at(i)) == key)
            return i;
    return -1;
}

int Preselected_Configuration(const AppState& st, const QStringList& SL)
{
    if (SL.isEmpty())
        return -1;
    QString active;
    const QString prefix = st.Projects_Dir + QDir::separator();
    if (st.Active_Project_Dir.startsWith(prefix))
        active = st.Active_Project_Dir.mid(prefix.size());
    const int found = active.isEmpty() ? -1 : Search_Open_Conf(SL, active);
    return found >= 0 ? found : 0;
}

void Open_Project(AppState& st, const QString& Name_Conf)
{
    st.Active_Project_Name = Name_Conf;
    st.Active_Project_Dir = Name_Conf.isEmpty() ? QString() : Join_Path(st.Projects_Dir, Name_Conf);
    Set_Files(st);
}

void Restore_Active_Project(AppState& st)
{
    const QString dir = Join_Path(st.Projects_Dir, st.Active_Project_Name);
    if (!st.Active_Project_Name.isEmpty() && Name_Stays_Inside(st.Active_Project_Name)
        && QFileInfo(dir).isDir()) {
        st.Active_Project_Dir = dir;
    } else {
        st.Active_Project_Name.clear();
        st.Active_Project_Dir.clear();
    }
}

ActiveDisplay Active_Configuration_Display(const AppState& st)
{
    if (st.Active_Project_Dir.isEmpty())
        return {st.Get_Lang_Text(Txt::None_Configuration), st.Get_Lang_Text(Txt::Use_Step1)};
    return {st.Get_Lang_Text(Txt::Opened_Configuration), st.Active_Project_Name};
}

} // namespace swr
