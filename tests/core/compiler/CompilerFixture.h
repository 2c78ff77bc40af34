#pragma once

#include "session/Projects.h"
#include "compiler/Compiler.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace swr::test {

inline constexpr uint32_t Base3 = 0xA0000;

// A started program folder with one active configuration "Ship", and its last compilation.
struct Ship {
    ProgramFolder p;
    Compiled_Banks banks;
    Ship()
    {
        p.start();
        EXPECT_EQ(Create_New_Project(p.st, "Ship"), 0);
    }
    void write(const QString& name, const QByteArray& bytes) const
    {
        p.write("PROJECTS/Ship/" + name, bytes);
    }
    QByteArray file(const QString& rel) const { return p.read("PROJECTS/Ship/" + rel); }
    QString folder() const { return p.st.Active_Project_Dir; }
    // Compiles the project files in from (by default Ship's own).
    FileResult compile(const QString& from = {})
    {
        banks = Compile_Configuration(from.isEmpty() ? folder() : from, p.st);
        return banks.Result;
    }
    // Writes the last compilation into Ship's bin.
    FileResult save() const { return Save_Banks(folder(), p.st, banks); }
    FileResult compile_and_save() { return Compile_And_Save_Banks(folder(), p.st, banks); }
    // Compiles and saves; both must succeed.
    void build(const QString& from = {})
    {
        const FileResult c = compile(from);
        ASSERT_TRUE(c.ok) << c.message.toStdString();
        const FileResult s = save();
        ASSERT_TRUE(s.ok) << s.message.toStdString();
    }
    QByteArray bank(int n) const { return file(QString("bin/bank%1.bin").arg(n)); }
    QByteArray image(int n) const
    {
        return (n == 1 ? banks.Bank1_Image : n == 2 ? banks.Bank2_Image : banks.Bank3_Image).File_Bytes();
    }
};

inline uint32_t LE(const QByteArray& b, int at, int width = 4)
{
    uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i)
        v = (v << 8) | uint8_t(b.at(at + i));
    return v;
}

// A buffer of size zero bytes with the given hexadecimal runs at their offsets.
inline QByteArray Bytes_With(int size, std::initializer_list<std::pair<int, const char*>> runs)
{
    QByteArray b(size, '\0');
    for (const auto& [at, hex] : runs) {
        const QByteArray h = QByteArray::fromHex(hex);
        b.replace(at, h.size(), h);
    }
    return b;
}

// ParGen.xml holding just these keys.
inline QByteArray ParGen_Xml(std::initializer_list<std::pair<const char*, QString>> keys)
{
    QByteArray x = "<Par_Gen>";
    for (const auto& [k, v] : keys)
        x += "<" + QByteArray(k) + ">" + v.toHtmlEscaped().toUtf8() + "</" + QByteArray(k) + ">";
    return x + "</Par_Gen><!--SW_VERSION = 1.002-->";
}

// NMEA_0183_Set_Access.xml with these listener rows.
inline QByteArray Listener_Xml(const QByteArray& rows)
{
    return "<NMEA_0183_Set_Access><NMEA_Listener>" + rows
           + "</NMEA_Listener></NMEA_0183_Set_Access><!--SW_VERSION = 1.002-->";
}

// MQTT_Set_Topic.xml with these publish and subscribe children.
inline QByteArray Topic_Xml(const QByteArray& publish, const QByteArray& subscribe = {})
{
    return "<MQTT_Set_Topic><MQTT_Publish>" + publish + "</MQTT_Publish><MQTT_Subscribe>"
           + subscribe + "</MQTT_Subscribe></MQTT_Set_Topic><!--SW_VERSION = 1.002-->";
}

} // namespace swr::test
