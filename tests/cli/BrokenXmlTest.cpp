// Files that are not well-formed XML stop every reader at the first error, with the file,
// line, column and reason, and nothing is written after it: the editors' loads, check,
// resave, compile and the settings file alike.
#include "CliRun.h"

#include "TestSupport.h"

#include "session/Settings.h"
#include "base/Xml.h"
#include "project/mqtt/MqttTopics.h"
#include "project/nmea/NmeaAccess.h"
#include "project/pargen/ParGen.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace swr;

namespace {

struct Broken {
    const char* kind;
    const char* doc;
    int line, column;
};

// One document per kind of fatal error, each going wrong on its second line; and a document
// type declaring an entity, which the tree builder would not expand.
const Broken Documents[] = {
    {"bare ampersand", "<Root>\n<a>x & y</a>\n</Root>\n", 2, 7},
    {"undefined entity", "<Root>\n<a>&nbsp;</a>\n</Root>\n", 2, 10},
    {"duplicate attribute", "<Root>\n<a b='1' b='2'/>\n</Root>\n", 2, 15},
    {"< in an attribute", "<Root>\n<a b='<'/>\n</Root>\n", 2, 7},
    {"second root element", "<Root/>\n<Root/>\n", 2, 1},
    {"text after the root", "<Root/>\ntext\n", 2, 1},
    {"-- in a comment", "<Root>\n<!-- a -- b -->\n</Root>\n", 2, 8},
    {"control character", "<Root>\n<a>\x01</a>\n</Root>\n", 2, 4},
    {"truncated", "<Root>\n<a>", 2, 4},
    {"mismatched tags", "<Root>\n<a></b>\n</Root>\n", 2, 8},
    {"entity declared in the document type", "<!DOCTYPE Root [<!ENTITY e 'x'>]>\n<Root>&e;</Root>\n", 1, 31},
};

using test::Cli;
using test::CliRun;

// How each project file's editor loads it.
struct Editor {
    const char* file;
    std::function<FileResult(const AppState&, const QString&)> load;
};
const Editor Editors[] = {
    {"ParGen.xml", [](const AppState& st, const QString& f) { ParGen m; return Load_ParGen(st, f, m); }},
    {"NMEA_0183_Set_Access.xml",
     [](const AppState& st, const QString& f) { NMEA_Listener_Table t; return Load_NMEA_Access(st, f, t); }},
    {"MQTT_Set_Topic.xml",
     [](const AppState& st, const QString& f) { MQTT_Topic_Table t; return Load_MQTT_Topic(st, f, t); }},
};

} // namespace

TEST(BrokenXml, EveryReaderRefusesWithFileLineColumnAndWritesNothing)
{
    for (const Editor& ed : Editors) {
        for (const Broken& b : Documents) {
            SCOPED_TRACE(std::string(ed.file) + ": " + b.kind);
            test::ProgramFolder p;
            p.start();
            QDir().mkpath(p.path("conf/bin"));
            const QString rel = QStringLiteral("conf/") + ed.file;
            p.write(rel, b.doc);
            const QString file = p.path(rel);

            // The editor's load: the message names the file, line, column and reason.
            const FileResult loaded = ed.load(p.st, file);
            ASSERT_FALSE(loaded.ok);
            const QString where = QStringLiteral("Error!!! The file %1 is not valid XML (line %2, column %3): ")
                                      .arg(QDir::toNativeSeparators(file))
                                      .arg(b.line)
                                      .arg(b.column);
            EXPECT_TRUE(loaded.message.startsWith(where)) << loaded.message.toStdString();
            EXPECT_GT(loaded.message.size(), where.size()) << "no reason given";

            // check and resave give the same message; compile too; nothing is written.
            const CliRun check = Cli({"check", p.path("conf")});
            EXPECT_EQ(check.rc, 1);
            EXPECT_EQ(QString::fromUtf8(check.out), QString(ed.file) + ": " + loaded.message + "\n");
            const CliRun resave = Cli({"resave", p.path("conf")});
            EXPECT_EQ(resave.rc, 1);
            EXPECT_EQ(resave.out, check.out);
            const CliRun compile = Cli({"compile", p.path("conf")});
            EXPECT_EQ(compile.rc, 1);
            EXPECT_TRUE(compile.err.contains(loaded.message)) << compile.err.toStdString();
            EXPECT_EQ(p.read(rel), QByteArray(b.doc));
            EXPECT_EQ(QDir(p.path("conf")).entryList(QDir::Files), QStringList{ed.file});
            EXPECT_TRUE(QDir(p.path("conf/bin")).isEmpty());
        }
    }
}

TEST(BrokenXml, SettingsFileIsReportedAndStartUpGoesOnWithDefaults)
{
    for (const Broken& b : Documents) {
        SCOPED_TRACE(b.kind);
        test::ProgramFolder p;
        p.write("Konstrel.xml", b.doc);
        p.start();
        ASSERT_EQ(p.msg.errors.size(), 1);
        EXPECT_TRUE(p.msg.errors[0].contains(QStringLiteral("(line %1, column %2): ").arg(b.line).arg(b.column)))
            << p.msg.errors[0].toStdString();
        EXPECT_EQ(p.st.Language_Name, "English");
        EXPECT_EQ(p.st.Last_IP_Address, "192.168.2.205");
        EXPECT_EQ(p.st.Lang_Table.size(), 1600);
    }
}

// What reads today still reads: comments and processing instructions before the root
// (the first node is then not the root), a declaration, a byte-order mark, UTF-16,
// character references and CDATA.
TEST(BrokenXml, WellFormedVariantsStillRead)
{
    const QByteArray docs[] = {
        "<?xml version=\"1.0\"?>\n<Par_Gen><Ethernet_IP1>10</Ethernet_IP1></Par_Gen>",
        "\xEF\xBB\xBF<Par_Gen><Ethernet_IP1>10</Ethernet_IP1></Par_Gen>",
        "<!DOCTYPE Par_Gen>\n<Par_Gen><Ethernet_IP1>&#49;0</Ethernet_IP1></Par_Gen>",
        "<Par_Gen><Ethernet_IP1><![CDATA[10]]></Ethernet_IP1></Par_Gen>\n<!-- SW_VERSION = 1.002 -->\n",
    };
    test::ProgramFolder p;
    p.start();
    for (const QByteArray& d : docs) {
        p.write("ParGen.xml", d);
        ParGen m;
        ASSERT_TRUE(Load_ParGen(p.st, p.path("ParGen.xml"), m).ok) << d.toStdString();
        EXPECT_EQ(m.Text(ParKey::Ethernet_IP1), "10") << d.toStdString();
    }
    QByteArray utf16("\xFF\xFE");
    for (const QChar c : QStringLiteral("<Par_Gen><Ethernet_IP1>10</Ethernet_IP1></Par_Gen>"))
        utf16 += char(c.unicode()), utf16 += '\0';
    p.write("ParGen.xml", utf16);
    ParGen m;
    ASSERT_TRUE(Load_ParGen(p.st, p.path("ParGen.xml"), m).ok);
    EXPECT_EQ(m.Text(ParKey::Ethernet_IP1), "10");
    // A comment before the root is the first node: every key keeps its default.
    p.write("ParGen.xml", "<!-- c --><Par_Gen><Ethernet_IP1>10</Ethernet_IP1></Par_Gen>");
    ASSERT_TRUE(Load_ParGen(p.st, p.path("ParGen.xml"), m).ok);
    EXPECT_EQ(m.Text(ParKey::Ethernet_IP1), "192");
}

TEST(BrokenXml, ControlCharactersInTheReasonAreNamed)
{
    pugi::xml_document doc;
    XmlError e;
    ASSERT_EQ(Load_Xml_Bytes("<a>\x01</a>", "f.xml", doc, &e), XmlLoad::Failed);
    EXPECT_TRUE(e.reason.contains("U+0001")) << e.reason.toStdString();
}
