#include "session/Options.h"

#include "session/AppState.h"
#include "base/Files.h"
#include "session/Startup.h"
#include "lang/Texts.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace swr {

QStringList Create_Lang_List(const QString& Language_Dir)
{
    QStringList names;
    // Name filters of QDir ignore letter case unless told otherwise.
    const QFileInfoList files = QDir(Language_Dir).entryInfoList(
        {QStringLiteral("*.lng")}, QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QFileInfo& f : files) {
        // Read-only is the file's own mark, not whether this user could write it.
        if (!f.permission(QFileDevice::WriteOwner))
            continue;
        names.append(f.fileName());
    }
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

int Lang_Page_Count(int n)
{
    return (n + Lang_Slots - 1) / Lang_Slots;
}

LangPage Lang_Page(int n, int Num_Page)
{
    LangPage p;
    p.page_count = Lang_Page_Count(n);
    p.prev_visible = Num_Page != 1;
    p.next_visible = Num_Page != p.page_count;
    p.first = Lang_Slots * (Num_Page - 1);
    p.shown = std::clamp(n - p.first, 0, Lang_Slots);
    return p;
}

int Turn_Lang_Page(int n, int Show_Page, bool forward)
{
    if (forward)
        return Lang_Page_Count(n) >= Show_Page + 1 ? Show_Page + 1 : Show_Page;
    return Show_Page - 1 > 0 ? Show_Page - 1 : Show_Page;
}

QString Lang_Display_Name(const QString& file_name)
{
    return file_name.left(std::max<qsizetype>(0, file_name.size() - 4));
}

QString Flag_Picture(const QString& Language_Dir, const QString& name)
{
    for (const QString& file : {name + QStringLiteral(".bmp"), QStringLiteral("DefaultFlag.bmp")}) {
        const QString path = Join_Path(Language_Dir, file);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString Selected_Language_Text(const Texts& texts, const QString& Language_In_Use)
{
    return texts.Get_Lang_Text(Txt::Selected_Language) + Language_In_Use;
}

QString Lang_Page_Text(const Texts& texts, int Num_Page, int page_count)
{
    return texts.Get_Lang_Text(Txt::Language_Page) + QString::number(Num_Page) + texts.Get_Lang_Text(Txt::Language_Page_Of)
         + QString::number(page_count);
}

QString Change_Language_Question(const Texts& texts, const QString& from, const QString& to)
{
    return texts.Get_Lang_Text(Txt::Change_Language) + from + texts.Get_Lang_Text(Txt::Change_Language_To) + to + texts.Get_Lang_Text(Txt::Change_Language_End);
}

void Load_Chosen_Language(AppState& st, IMessages& msg, const QString& name)
{
    const QString in_use = st.Language_Name;
    st.Language_Name = name;
    Load_Language(st, msg);
    st.Language_Name = in_use;
}

UpdateEnabling Update_CheckBox(bool En_Con, bool Update)
{
    UpdateEnabling e;
    e.update_enabled = En_Con;
    e.check_enabled = e.update_enabled && Update;
    return e;
}

SoftOptionValues Current_Options(const AppState& st)
{
    return {st.Language_Name, st.Enable_Internet, st.Enable_Update, st.Enable_Jump_Field_Tables,
            st.Double_Click_Auto_Size};
}

void Store_Options(AppState& st, const SoftOptionValues& v)
{
    st.Language_Name = v.language;
    st.Enable_Internet = v.internet;
    st.Enable_Update = v.update;
    st.Enable_Jump_Field_Tables = v.jump_field_tables;
    st.Double_Click_Auto_Size = v.double_click_auto_size;
}

} // namespace swr
