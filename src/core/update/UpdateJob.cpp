#include "update/UpdateJob.h"

#include "base/Files.h"
#include "base/Xml.h"
#include "lang/FileTexts.h"
#include "lang/LangTable.h"

#include <QDir>
#include <QFileInfo>

#include <pugixml.hpp>

#include <vector>

namespace swr {

namespace {

// One memory operation of the job: what differs from one operation to the next.
struct Operation {
    QString FileName;
    const char* Start_Address;
    bool Firmware;
    bool Read_Back;
    bool GoToApp_After;
};

const char* Flag(bool on) { return on ? "1" : "0"; }

// The children of every Operation element, in their order: a fixed text, or one taken
// from the operation. An empty text leaves the element without text.
struct Operation_Element {
    const char* name;
    const char* text;
    QString (*value)(const Operation&);
};

const Operation_Element Operation_Elements[] = {
    {"Ope_Protection_Enabled", "", nullptr},
    {"Ope_GoToBoot_Before", "0", nullptr},
    {"Ope_GoToApp_Before", "0", nullptr},
    {"Ope_IP_Address", "", nullptr},
    {"Ope_Port", "2008", nullptr},
    {"Ope_Port_Sec", "2007", nullptr},
    {"Ope_Erase_Memory", "0", nullptr},
    {"Ope_FileName", nullptr, [](const Operation& o) { return o.FileName; }},
    {"Ope_Start_Address", nullptr, [](const Operation& o) { return QString::fromLatin1(o.Start_Address); }},
    {"Ope_Memory_Type", "0", nullptr},
    {"Ope_Bank_Type", nullptr, [](const Operation& o) { return QString::fromLatin1(o.Firmware ? "1" : "2"); }},
    {"Ope_Read_Back", nullptr, [](const Operation& o) { return QString::fromLatin1(Flag(o.Read_Back)); }},
    {"Ope_Write_CSS", nullptr, [](const Operation& o) { return QString::fromLatin1(Flag(o.Firmware)); }},
    {"Ope_Address_CSS", "0x07A00", nullptr},
    {"Ope_Command_CSS", "0x02", nullptr},
    {"Ope_Write_Internal_Data", "0", nullptr},
    {"Ope_WID_Address", "0x07810", nullptr},
    {"Ope_WID_Command", "0x02", nullptr},
    {"Ope_WID_Data", "0x00, 0x00, 0x00, 0x01", nullptr},
    {"Ope_GoToApp_After", nullptr, [](const Operation& o) { return QString::fromLatin1(Flag(o.GoToApp_After)); }},
};

// The children of the root before its protections and operations; nullptr stands for the
// device address.
struct Header_Element {
    const char* name;
    const char* text;
};

const Header_Element Header_Elements[] = {
    {"Version", "1000"},
    {"Title", "Norvex - SWR2305 Ethernet Update"},
    {"IP_Address_Dev", nullptr},
    {"Application_Port", "10000"},
    {"Boot_Port", "2008"},
    {"Boot_Port_Sec", "2007"},
    {"Address_Protection", "0x07800"},
};

constexpr const char* Protection_Code = "0xB47";

// Where each file goes in the device memory.
struct Target {
    const char* file;
    const char* start;
};

const Target Firmware_Target = {"SimR2305.sim", "0x8000"};
const Target Bank_Targets[] = {
    {"bank1.bin", "0x07000"},
    {"bank2.bin", "0x80000"},
    {"bank3.bin", "0xA0000"},
};

QString Updater_Name()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Ethernet_Update.exe");
#else
    return QStringLiteral("Ethernet_Update");
#endif
}

void Add_Text(pugi::xml_node parent, const char* name, const QString& text)
{
    pugi::xml_node e = parent.append_child(name);
    if (!text.isEmpty())
        e.text().set(U(text).c_str());
}

std::vector<Operation> Operations_For(const Update_Folders& folders, const Update_Choice& c)
{
    std::vector<Operation> ops;
    auto path = [](const QString& folder, const char* file) {
        return QDir::toNativeSeparators(Join_Path(folder, QString::fromLatin1(file)));
    };
    if (c.Option == Update_Firmware_Configuration || c.Option == Update_Firmware)
        ops.push_back({QDir::toNativeSeparators(Firmware_Image(folders.Master_Dir)), Firmware_Target.start, true,
                       c.Read_Back, false});
    if (c.Option == Update_Firmware_Configuration || c.Option == Update_Configuration) {
        const QString bin = Join_Path(folders.Active_Project_Dir, QStringLiteral("bin"));
        for (const Target& t : Bank_Targets)
            ops.push_back({path(bin, t.file), t.start, false, c.Read_Back, false});
    }
    // The device goes back to its application after the last write only.
    if (!ops.empty())
        ops.back().GoToApp_After = true;
    return ops;
}

} // namespace

QString Device_Address(const std::array<QString, 4>& fields)
{
    return fields[0] + QLatin1Char('.') + fields[1] + QLatin1Char('.') + fields[2] + QLatin1Char('.')
           + fields[3];
}

QString Update_Job_File(const QString& Program_Dir)
{
    return Join_Path(Program_Dir, QString::fromLatin1(Update_Job_File_Name));
}

QString Updater_Program(const QString& Program_Dir)
{
    return Join_Path(Program_Dir, Updater_Name());
}

QString Master_Dir_Of(const QString& Program_Dir)
{
    return Join_Path(Program_Dir, QStringLiteral("MASTER"));
}

QString Firmware_Image(const QString& Master_Dir)
{
    return Join_Path(Master_Dir, QString::fromLatin1(Firmware_Target.file));
}

QString Find_Updater(const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QString updater = Updater_Program(QDir::toNativeSeparators(folder));
        if (QFileInfo(updater).isFile())
            return updater;
    }
    return {};
}

QString Missing_For_Update(const Texts& texts, const QString& Master_Dir, int option,
                           const QStringList& updaterFolders, QString* updater)
{
    const QString image = Firmware_Image(Master_Dir);
    if ((option == Update_Firmware_Configuration || option == Update_Firmware) && !QFileInfo(image).isFile())
        return texts.Get_Lang_Text(Txt::Firmware_Missing)
            .arg(QString::fromLatin1(Firmware_Target.file), QDir::toNativeSeparators(Master_Dir));
    *updater = Find_Updater(updaterFolders);
    if (!updater->isEmpty())
        return {};
    QStringList shown;
    for (const QString& folder : updaterFolders)
        shown.append(QDir::toNativeSeparators(folder));
    return texts.Get_Lang_Text(Txt::Updater_Missing)
        .arg(Updater_Name(), shown.join(QStringLiteral(", ")));
}

void Build_Update_Job(const Update_Folders& folders, const Update_Choice& choice, pugi::xml_document& doc)
{
    doc.reset();
    pugi::xml_node root = doc.append_child("Ethernet_Update");
    for (const Header_Element& h : Header_Elements)
        Add_Text(root, h.name, h.text ? QString::fromLatin1(h.text) : Device_Address(choice.IP));
    Add_Text(root.append_child("Protections"), "Protection", QString::fromLatin1(Protection_Code));
    pugi::xml_node operations = root.append_child("Operations");
    for (const Operation& o : Operations_For(folders, choice)) {
        pugi::xml_node op = operations.append_child("Operation");
        for (const Operation_Element& e : Operation_Elements)
            Add_Text(op, e.name, e.value ? e.value(o) : QString::fromLatin1(e.text));
    }
}

bool Compile_XML_Parameter_New_Boot(const Texts& texts, const Update_Folders& folders, const Update_Choice& choice,
                                    QString* error)
{
    pugi::xml_document doc;
    Build_Update_Job(folders, choice, doc);
    const QString file = Update_Job_File(folders.Program_Dir);
    QString reason;
    if (Save_Xml_File(doc, file, &reason))
        return true;
    if (error)
        *error = File_Not_Written_Text(texts, file, reason);
    return false;
}

} // namespace swr
