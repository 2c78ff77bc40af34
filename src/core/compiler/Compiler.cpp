#include "compiler/Compiler.h"

#include "app/AppState.h"
#include "compiler/CompilerState.h"
#include "app/Files.h"
#include "app/Texts.h"
#include "compiler/Layouts.h"

#include <QDir>
#include <QSaveFile>

#include <memory>

namespace swr {

namespace {

FileResult Failure(const QString& message)
{
    FileResult r;
    r.ok = false;
    r.message = message;
    return r;
}

// Each bank's read step, in the order they must run: the parameter bank's reader fills
// the broker part of the MQTT picture and the serial flags the listener reader needs,
// and the MQTT placement measures the texts of both.
FileResult Read_Banks(AppState& st, uint64_t* mqtt_size)
{
    FileResult r = Read_Parameter_Bank(st);
    if (r.ok)
        r = Read_NMEA_Listener(st);
    if (r.ok)
        r = Read_MQTT_Topics(st, mqtt_size);
    return r;
}

QString Too_Large_Text(const AppState& st, uint64_t size)
{
    return st.Get_Lang_Text(Txt::Bank_Too_Large)
        .arg(QLatin1String(Bank_File_Names[2]))
        .arg(size)
        .arg(uint64_t(MQTT_Bank_Limit) + 1);
}

} // namespace

FileResult Compile_Banks(AppState& st)
{
    Compiler_State& cs = *st.Compiler;
    cs.Compiled = false;
    Clear_Parameter_Bank(cs.Parameter_Bank);
    Clear_NMEA_Listener(cs.NMEA_Listener_Items);
    Clear_MQTT(cs.MQTT_Config);
    for (Bank_Image* image : {&cs.Bank1_Image, &cs.Bank2_Image, &cs.Bank3_Image}) {
        image->Length = 0;
        image->Bytes.fill('\0');
    }

    uint64_t mqtt_size = 0;
    FileResult r = Read_Banks(st, &mqtt_size);
    if (!r.ok)
        return r;

    // The device learns from bank 1 where bank 3 lies; the checksum covers it.
    Put_Field(cs.Parameter_Bank, Par("MQTT_Bank_Address"), MQTT_Bank_Base);
    if (mqtt_size > uint64_t(MQTT_Bank_Limit) + 1)
        return Failure(Too_Large_Text(st, mqtt_size));

    cs.Bank1_Image.Length = Write_Parameter_Bank(cs.Parameter_Bank, cs.Bank1_Image.Bytes, 0);
    cs.Bank2_Image.Length = Write_NMEA_Listener_Bank(cs.NMEA_Listener_Items, cs.Bank2_Image.Bytes, 0);
    cs.Bank3_Image.Base = Get_Field(cs.Parameter_Bank, Par("MQTT_Bank_Address"));
    const uint32_t length = Write_MQTT_Bank(cs.Bank3_Image.Base, 0, cs.Bank3_Image.Bytes,
                                            MQTT_Bank_Limit, cs.MQTT_Config);
    if (length == 0 || length != mqtt_size)
        return Failure(Too_Large_Text(st, mqtt_size));
    cs.Bank3_Image.Length = length;
    cs.Compiled = true;
    return r;
}

FileResult Save_Banks(const AppState& st)
{
    const Compiler_State& cs = *st.Compiler;
    if (!cs.Compiled)
        return Failure(st.Get_Lang_Text(Txt::Banks_Not_Compiled));
    if (st.Active_Project_Dir.isEmpty())
        return Failure(st.Get_Lang_Text(Txt::Project_Not_Valid));

    // All three go to temporary files first; an old bank file is replaced only when every
    // new one is complete, so the device never gets a mixed or truncated set. Files not
    // committed are removed when they go out of scope.
    const QString bin = Join_Path(st.Active_Project_Dir, QStringLiteral("bin"));
    const Bank_Image* images[] = {&cs.Bank1_Image, &cs.Bank2_Image, &cs.Bank3_Image};
    std::unique_ptr<QSaveFile> files[3];
    for (int i = 0; i < 3; ++i) {
        const QString path = Join_Path(bin, QLatin1String(Bank_File_Names[i]));
        files[i] = std::make_unique<QSaveFile>(path);
        const QByteArray bytes = images[i]->File_Bytes();
        if (!files[i]->open(QIODevice::WriteOnly) || files[i]->write(bytes) != bytes.size())
            return Failure(File_Not_Written_Text(st, path, files[i]->errorString()));
    }
    for (auto& f : files)
        if (!f->commit())
            return Failure(File_Not_Written_Text(st, f->fileName(), f->errorString()));
    return {};
}

FileResult Compile_And_Save_Banks(AppState& st)
{
    const FileResult c = Compile_Banks(st);
    return c.ok ? Save_Banks(st) : c;
}

QString Bank_Files_Summary(const AppState& st)
{
    const Compiler_State& cs = *st.Compiler;
    const Bank_Image* images[] = {&cs.Bank1_Image, &cs.Bank2_Image, &cs.Bank3_Image};
    QString out = st.Get_Lang_Text(Txt::Banks_Written);
    for (int i = 0; i < 3; ++i) {
        const QString path = Join_Path(Join_Path(st.Active_Project_Dir, QStringLiteral("bin")),
                                       QLatin1String(Bank_File_Names[i]));
        out += QLatin1Char('\n') + st.Get_Lang_Text(Txt::Bank_File_Line)
                                       .arg(QDir::toNativeSeparators(path))
                                       .arg(images[i]->File_Bytes().size());
    }
    return out;
}

} // namespace swr
