#pragma once

// The software options screen's rules, without widgets: the language list and its pages,
// the flag pictures, the enabling of the update controls, the language change and what OK
// stores.

#include <QString>
#include <QStringList>

namespace swr {

struct AppState;
class Texts;
class IMessages;

// Language slots on one page of the language list.
inline constexpr int Lang_Slots = 6;

// The names (with ".lng") of the plain files of the folder matching "*.lng" in any letter
// case, folders and read-only files left out, sorted without regard to letter case.
QStringList Create_Lang_List(const QString& Language_Dir);

// Pages of n languages: (n + 5) div 6; no languages give no pages.
int Lang_Page_Count(int n);

// What page Num_Page of n languages shows.
struct LangPage {
    int page_count = 0;
    bool prev_visible = false;
    bool next_visible = false;
    int first = 0; // position in the list of the language in slot 1
    int shown = 0; // slots shown, from slot 1
};
LangPage Lang_Page(int n, int Num_Page);

// The page after pressing Next (forward) or Previous; the same page when there is none.
int Turn_Lang_Page(int n, int Show_Page, bool forward);

// The language's name as shown: the file name without its last four characters (".lng").
QString Lang_Display_Name(const QString& file_name);

// The flag of a language: Language_Dir\name.bmp, else Language_Dir\DefaultFlag.bmp, else
// empty (no picture).
QString Flag_Picture(const QString& Language_Dir, const QString& name);

// "Selected Language : " + language (Txt::Selected_Language).
QString Selected_Language_Text(const Texts& texts, const QString& Language_In_Use);
// "Page " + page + " / " + page count (Txt::Language_Page, Txt::Language_Page_Of).
QString Lang_Page_Text(const Texts& texts, int Num_Page, int page_count);
// "Do you want to change the Language from " + from + " to " + to + "?" (Txt::Change_Language,
// Change_Language_To, Change_Language_End).
QString Change_Language_Question(const Texts& texts, const QString& from, const QString& to);

// Loads the texts of language name while Language_Name keeps the language in use: the
// settings file goes on naming that one until the options are confirmed.
void Load_Chosen_Language(AppState& st, IMessages& msg, const QString& name);

// The enabling rule of the connection page: the update switch is enabled exactly when
// internet access is ticked, the manual check exactly when the update switch is enabled
// and ticked. A disabled update switch keeps its tick.
struct UpdateEnabling {
    bool update_enabled = false;
    bool check_enabled = false;
};
UpdateEnabling Update_CheckBox(bool En_Con, bool Update);

// What the screen shows and OK stores.
struct SoftOptionValues {
    QString language;
    bool internet = false;
    bool update = false;
    bool jump_field_tables = false;
    bool double_click_auto_size = false;
};
SoftOptionValues Current_Options(const AppState& st);
void Store_Options(AppState& st, const SoftOptionValues& v);

} // namespace swr
