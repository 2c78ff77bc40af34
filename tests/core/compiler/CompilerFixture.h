#pragma once

#include "app/Projects.h"
#include "compiler/Compiler.h"
#include "compiler/CompilerState.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace swr::test {

inline constexpr uint32_t Base3 = 0xA0000;

// A started program folder with one active configuration "Ship".
struct Ship {
    ProgramFolder p;
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
    FileResult compile() { return Compile_Banks(p.st); }
    // Compiles and saves; both must succeed.
    void build()
    {
        const FileResult c = compile();
        ASSERT_TRUE(c.ok) << c.message.toStdString();
        const FileResult s = Save_Banks(p.st);
        ASSERT_TRUE(s.ok) << s.message.toStdString();
    }
    QByteArray bank(int n) const { return file(QString("bin/bank%1.bin").arg(n)); }
    QByteArray image(int n) const
    {
        const Compiler_State& c = *p.st.Compiler;
        return (n == 1 ? c.Bank1_Image : n == 2 ? c.Bank2_Image : c.Bank3_Image).File_Bytes();
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
