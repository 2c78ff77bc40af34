#pragma once

#include "lang/LangTable.h"
#include "session/ScreenPlaces.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace swr {

struct Update_Folders;

// The process-wide state of the configurator. One object lives for the whole run and is
// passed to whoever needs it; tests make their own over a temporary program folder.
struct AppState {
    QStringList Lang_Table;

    QString Program_Dir;
    QString Master_Dir;
    QString Projects_Dir;
    QString Language_Dir;

    QString Active_Project_Name;
    QString Active_Project_Dir;
    QString File_ParGen;
    QString File_NMEA_Access;
    QString File_MQTT_Topic;

    QString Product_Title;
    QString Product_Code;
    QString Product_Description;

    QString Last_IP_Address;
    QString Language_Name;
    bool Enable_Internet = false;
    bool Enable_Update = false;
    bool Enable_Jump_Field_Tables = false;
    bool Double_Click_Auto_Size = false;

    int Update_Option_Index = 0;
    bool Update_Read_Back = true;

    QStringList Row_Clipboard;
    QList<bool> Row_Clipboard_Check;
    QList<QStringList> Row_Clipboard_Below; // the rows after the first of a block copied

    // Where the resizable screens were when they last closed, by screen name; read from
    // and written to the settings file with the rest.
    QMap<QString, Screen_Place> Screen_Places;

    // The entry at index; an index outside the table gives an empty text.
    QString Get_Lang_Text(int index) const { return Texts(Lang_Table).Get_Lang_Text(index); }

    // Whoever only shows texts is handed the table, not the whole state.
    operator Texts() const { return Texts(Lang_Table); }
};

// The folders of the process-wide state that a device update works in.
Update_Folders Update_Folders_Of(const AppState& st);

inline constexpr const char* Program_Version = "1.002";
inline constexpr const char* Default_IP_Address = "192.168.2.205";
inline constexpr const char* Default_Language = "English";

} // namespace swr
