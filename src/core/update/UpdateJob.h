#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace pugi {
class xml_document;
}

namespace swr {

class Texts;

inline constexpr const char* Update_Job_File_Name = "Ethernet_Update.xml";

// The update options in the order of the dialog's list.
enum Update_Option : int {
    Update_Firmware_Configuration = 0,
    Update_Firmware = 1,
    Update_Configuration = 2,
};
inline constexpr int Update_Option_Count = 3;

// What the update dialog hands to the job: the four address fields as typed, the chosen
// option and the Read Back box.
struct Update_Choice {
    std::array<QString, 4> IP;
    int Option = Update_Firmware_Configuration;
    bool Read_Back = true;
};

// The folders the job names: the program folder holds the job file and the updater,
// Master_Dir the firmware image, and the configuration folder's bin the banks.
struct Update_Folders {
    QString Program_Dir;
    QString Master_Dir;
    QString Active_Project_Dir;
};

// The four fields joined with ".", each as typed.
QString Device_Address(const std::array<QString, 4>& fields);

// The job file and the external updater, both in the program folder.
QString Update_Job_File(const QString& Program_Dir);
QString Updater_Program(const QString& Program_Dir);

// The folder of the firmware image in a program folder: Program_Dir\MASTER.
QString Master_Dir_Of(const QString& Program_Dir);

// The firmware image the firmware options write: Master_Dir\SimR2305.sim.
QString Firmware_Image(const QString& Master_Dir);

// The updater of the first of folders that holds it, in their order; empty when none does.
QString Find_Updater(const QStringList& folders);

// What an update run needs on this computer before the device is asked: the firmware
// image when the option writes the firmware, then the updater in one of updaterFolders.
// Returns the message that names what is missing and where to put it, or an empty text
// when nothing is; updater gets the updater found.
QString Missing_For_Update(const Texts& texts, const QString& Master_Dir, int option,
                           const QStringList& updaterFolders, QString* updater);

// The job document for the choice, built from Master_Dir and Active_Project_Dir.
void Build_Update_Job(const Update_Folders& folders, const Update_Choice& choice, pugi::xml_document& doc);

// Builds the job and writes it whole over any earlier one. On failure returns false and
// sets error to the message to show (file and reason).
bool Compile_XML_Parameter_New_Boot(const Texts& texts, const Update_Folders& folders, const Update_Choice& choice,
                                    QString* error);

} // namespace swr
