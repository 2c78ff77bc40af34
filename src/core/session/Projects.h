#pragma once

#include "project/ProjectFile.h"

#include <QString>
#include <QStringList>

namespace swr {

struct AppState;

// Derives the three project file paths from Active_Project_Dir.
void Set_Files(AppState& st);

// Creates the configuration folder and its bin folder (Create_Configuration_Folder) and
// makes it active. Returns 0, or the index of the error text to show.
int Create_New_Project(AppState& st, const QString& name);

// The configuration folders directly below the projects folder, in the listing's order
// (by name), hidden ones left out.
QStringList Load_Existing_Configuration(const QString& Projects_Dir);

// Position of name in SL, comparing the letters A to Z without regard to case; -1 if absent.
int Search_Open_Conf(const QStringList& SL, const QString& name);

// The entry the open screen selects first: the active configuration, else the first; -1
// for an empty list.
int Preselected_Configuration(const AppState& st, const QStringList& SL);

// Makes Name_Conf the active configuration (empty: none) and derives the file paths.
void Open_Project(AppState& st, const QString& Name_Conf);

// At start-up: the remembered configuration stays active only when its folder exists.
void Restore_Active_Project(AppState& st);

// The two lines of the main window's active configuration display.
struct ActiveDisplay {
    QString line1;
    QString line2;
};
ActiveDisplay Active_Configuration_Display(const AppState& st);

} // namespace swr
