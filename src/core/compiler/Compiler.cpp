#include "compiler/Compiler.h"

#include "base/FileWriter.h"
#include "base/Files.h"
#include "lang/Texts.h"
#include "lang/FileTexts.h"
#include "lang/LangTable.h"
#include "compiler/Layouts.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

namespace swr {

namespace {

// Each bank's read step, in the order they must run: the parameter bank's reader fills
// the broker part of the MQTT picture and the serial flags the listener reader needs,
// and the MQTT placement measures the texts of both.
FileResult Read_Banks(const Texts& texts, const Project_Paths& files, Compiled_Banks& b, uint64_t* mqtt_size)
{
    FileResult r = Read_Parameter_Bank(texts, files.File_ParGen, b.Parameter_Bank, b.MQTT_Config);
    if (r.ok)
        r = Read_NMEA_Listener(texts, files.File_NMEA_Access, b.NMEA_Listener_Items, b.Parameter_Bank);
    if (r.ok)
        r = Read_MQTT_Topics(texts, files.File_MQTT_Topic, b.MQTT_Config, mqtt_size);
    return r;
}

// The three images in bank order, as the files take them.
std::array<const Bank_Image*, 3> Images(const Compiled_Banks& b)
{
    return {&b.Bank1_Image, &b.Bank2_Image, &b.Bank3_Image};
}

QString Too_Large_Text(const Texts& texts, uint64_t size)
{
    return texts.Get_Lang_Text(Txt::Bank_Too_Large)
        .arg(QLatin1String(Bank_File_Names[2]))
        .arg(size)
        .arg(uint64_t(MQTT_Bank_Limit) + 1);
}

// A bank write works beside bin, in folders named after it: the new set is written into
// bin + New_Set, and where the system cannot exchange two folders in one step the old set
// is moved aside to bin + Old_Set. Both end in a unique tag.
constexpr const char* New_Set = ".new-";
constexpr const char* Old_Set = ".old-";

QString Folder_Not_Replaced_Text(const Texts& texts, const QString& folder, const QString& reason)
{
    return texts.Get_Lang_Text(Txt::Folder_Not_Replaced).arg(QDir::toNativeSeparators(folder), reason);
}

// Clears what an interrupted bank write left beside bin. When it was stopped between
// moving the old set aside and moving the new one in, bin is missing and the old set is
// put back first.
void Clean_Up_Bank_Write(const QString& bin)
{
    IFile_Writer& w = File_Writer();
    const QFileInfo info(bin);
    const QDir config = info.dir();
    const QString old_set = info.fileName() + QLatin1String(Old_Set);
    const QStringList left = config.entryList({info.fileName() + QLatin1String(New_Set) + u'*', old_set + u'*'},
                                              QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    if (!info.exists())
        for (const QString& name : left)
            if (name.startsWith(old_set) && w.Rename(config.filePath(name), bin, nullptr))
                break;
    for (const QString& name : left)
        w.Remove(config.filePath(name));
}

// Only the three banks are the compiler's to replace: whatever else the user keeps in bin
// moves on into the new set (linked where the file system can, else copied). On failure
// names the entry that could not follow and the reason.
bool Carry_Over(const QString& bin, const QString& fresh, QString* entry, QString* reason)
{
    namespace fs = std::filesystem;
    for (const QFileInfo& e : QDir(bin).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                      | QDir::NoDotAndDotDot)) {
        const auto is_bank = [&](const char* name) { return e.fileName() == QLatin1String(name); };
        if (std::any_of(std::begin(Bank_File_Names), std::end(Bank_File_Names), is_bank))
            continue;
        const fs::path from(e.filePath().toStdU16String()), to(Join_Path(fresh, e.fileName()).toStdU16String());
        constexpr auto how = fs::copy_options::recursive | fs::copy_options::copy_symlinks;
        std::error_code ec;
        fs::copy(from, to, how | fs::copy_options::create_hard_links, ec);
        if (ec) {
            fs::remove_all(to, ec);
            fs::copy(from, to, how, ec);
        }
        if (ec) {
            *entry = e.filePath();
            *reason = QString::fromLocal8Bit(ec.message());
            return false;
        }
    }
    return true;
}

// Puts the folder fresh in the place of bin, in one step where the system can. Afterwards
// fresh holds the old set (or nothing); on failure bin is as it was.
bool Swap_In(const QString& fresh, const QString& bin, const QString& tag, QString* reason)
{
    IFile_Writer& w = File_Writer();
    switch (w.Exchange_Folders(fresh, bin, reason)) {
    case IFile_Writer::Swap::Done:
        return true;
    case IFile_Writer::Swap::Failed:
        return false;
    case IFile_Writer::Swap::Unsupported:
        break;
    }
    // Two renames: for the moment between them bin is missing, and if the write is stopped
    // there the next one puts the old set back (Clean_Up_Bank_Write).
    const QString old = bin + QLatin1String(Old_Set) + tag;
    if (!w.Rename(bin, old, reason))
        return false;
    if (w.Rename(fresh, bin, reason)) {
        w.Remove(old);
        return true;
    }
    w.Rename(old, bin, nullptr);
    return false;
}

} // namespace

Compiled_Banks Compile_Configuration(const QString& folder, const Texts& texts)
{
    // A value of its own, reset and filled in the firmware's order; the images are all
    // zero until they are written.
    Compiled_Banks b;
    Clear_Parameter_Bank(b.Parameter_Bank);
    Clear_NMEA_Listener(b.NMEA_Listener_Items);
    Clear_MQTT(b.MQTT_Config);

    uint64_t mqtt_size = 0;
    b.Result = Read_Banks(texts, Project_Files_In(folder), b, &mqtt_size);
    if (!b.Result.ok)
        return b;

    // The device learns from bank 1 where bank 3 lies; the checksum covers it.
    Put_Field(b.Parameter_Bank, Par("MQTT_Bank_Address"), MQTT_Bank_Base);
    if (mqtt_size > uint64_t(MQTT_Bank_Limit) + 1) {
        b.Result = FileResult::Failed(Too_Large_Text(texts, mqtt_size));
        return b;
    }

    b.Bank1_Image.Length = Write_Parameter_Bank(b.Parameter_Bank, b.Bank1_Image.Bytes, 0);
    b.Bank2_Image.Length = Write_NMEA_Listener_Bank(b.NMEA_Listener_Items, b.Bank2_Image.Bytes, 0);
    b.Bank3_Image.Base = Get_Field(b.Parameter_Bank, Par("MQTT_Bank_Address"));
    const uint32_t length = Write_MQTT_Bank(b.Bank3_Image.Base, 0, b.Bank3_Image.Bytes,
                                            MQTT_Bank_Limit, b.MQTT_Config);
    if (length == 0 || length != mqtt_size) {
        b.Result = FileResult::Failed(Too_Large_Text(texts, mqtt_size));
        return b;
    }
    b.Bank3_Image.Length = length;
    return b;
}

FileResult Save_Banks(const QString& folder, const Texts& texts, const Compiled_Banks& banks)
{
    if (!banks.Result.ok)
        return FileResult::Failed(texts.Get_Lang_Text(Txt::Banks_Not_Compiled));
    if (folder.isEmpty())
        return FileResult::Failed(texts.Get_Lang_Text(Txt::Project_Not_Valid));

    // The firmware reads the three banks as one configuration, so they replace the old set
    // together: they are written into a new folder beside bin, put on the disk, and the
    // folder, with whatever else the user keeps in bin, is swapped in. Whoever reads bin finds the old set or the new one, each file
    // whole; a write that fails or is stopped leaves the old set as it was, and what it
    // left beside bin goes at the next write.
    const QString bin = Join_Path(folder, QStringLiteral("bin"));
    Clean_Up_Bank_Write(bin);
    if (!QFileInfo(bin).isDir()) // created with the configuration; the compiler creates no folder
        return FileResult::Failed(File_Not_Written_Text(
            texts, Join_Path(bin, QLatin1String(Bank_File_Names[0])),
            QString::fromLocal8Bit(std::make_error_code(std::errc::no_such_file_or_directory).message())));

    IFile_Writer& w = File_Writer();
    const QString tag = Unique_Tag();
    const QString fresh = bin + QLatin1String(New_Set) + tag;
    QString reason;
    if (!w.Make_Folder(fresh, &reason))
        return FileResult::Failed(Folder_Not_Replaced_Text(texts, bin, reason));
    const auto images = Images(banks);
    for (int i = 0; i < 3; ++i) {
        const QString name = QLatin1String(Bank_File_Names[i]);
        if (!Write_New_File(Join_Path(fresh, name), images[i]->File_Bytes(), &reason)) {
            w.Remove(fresh);
            return FileResult::Failed(File_Not_Written_Text(texts, Join_Path(bin, name), reason));
        }
    }
    if (QString entry; !Carry_Over(bin, fresh, &entry, &reason)) {
        w.Remove(fresh);
        return FileResult::Failed(File_Not_Written_Text(texts, entry, reason));
    }
    const bool swapped = Swap_In(fresh, bin, tag, &reason);
    w.Remove(fresh);
    if (!swapped)
        return FileResult::Failed(Folder_Not_Replaced_Text(texts, bin, reason));
    return {};
}

FileResult Compile_And_Save_Banks(const QString& folder, const Texts& texts, Compiled_Banks& banks)
{
    banks = Compile_Configuration(folder, texts);
    return banks.Result.ok ? Save_Banks(folder, texts, banks) : banks.Result;
}

QString Bank_Files_Summary(const QString& folder, const Texts& texts, const Compiled_Banks& banks)
{
    QString out = texts.Get_Lang_Text(Txt::Banks_Written);
    const auto images = Images(banks);
    for (int i = 0; i < 3; ++i) {
        const QString path = Join_Path(Join_Path(folder, QStringLiteral("bin")), QLatin1String(Bank_File_Names[i]));
        out += QLatin1Char('\n') + texts.Get_Lang_Text(Txt::Bank_File_Line)
                                       .arg(QDir::toNativeSeparators(path))
                                       .arg(images[i]->File_Bytes().size());
    }
    return out;
}

} // namespace swr
