#include "session/Projects.h"
#include "session/Settings.h"
#include "session/Startup.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace swr;
using swr::test::ProgramFolder;

TEST(StartUp, FirstRunInAnEmptyFolder)
{
    ProgramFolder p;
    p.start();
    for (const char* d : {"MASTER", "PROJECTS", "LANGUAGE"})
        EXPECT_TRUE(QFileInfo(p.path(d)).isDir()) << d;
    EXPECT_EQ(p.st.Program_Dir, QDir::toNativeSeparators(p.dir.path()));
    EXPECT_EQ(p.st.Projects_Dir, p.st.Program_Dir + QDir::separator() + "PROJECTS");
    EXPECT_TRUE(p.st.Active_Project_Dir.isEmpty());
    EXPECT_EQ(p.st.Language_Name, "English");
    EXPECT_EQ(p.st.Last_IP_Address, "192.168.2.205");
    EXPECT_FALSE(Update_Timer_Wanted(p.st));
    EXPECT_TRUE(p.st.Update_Read_Back);
    EXPECT_EQ(p.st.Lang_Table.size(), 1600);
    EXPECT_TRUE(p.msg.errors.isEmpty());
    EXPECT_EQ(p.st.Product_Title, "Norvex - Configurator SWR2305 - NMEA 0183 / MQTT ");

    ASSERT_TRUE(Save_Setting(p.st, nullptr));
    EXPECT_EQ(p.read("Konstrel.xml"),
              "<?xml version=\"1.0\"?>\n"
              "<Conf_Settings>\n"
              "\t<lastproj>\n\t\t<projectname></projectname>\n\t</lastproj>\n"
              "\t<lastipadd>\n\t\t<ipaddress>192.168.2.205</ipaddress>\n\t</lastipadd>\n"
              "\t<lastlang>\n\t\t<language>English</language>\n\t</lastlang>\n"
              "\t<lastinternet>\n"
              "\t\t<enable_internet>0</enable_internet>\n"
              "\t\t<enable_update>0</enable_update>\n"
              "\t\t<enable_jump_field_tables>0</enable_jump_field_tables>\n"
              "\t\t<Double_Click_Auto_Size>0</Double_Click_Auto_Size>\n"
              "\t</lastinternet>\n"
              "</Conf_Settings>\n");
}

TEST(Settings, EachValueIsReadOnItsOwn)
{
    ProgramFolder p;
    QDir().mkpath(p.path("PROJECTS/Plant 1"));
    // Another root name, another order, a switch written " 1" and one "true".
    p.write("Konstrel.xml",
            "<Other><lastinternet><enable_update> 1</enable_update>"
            "<enable_internet>1</enable_internet><enable_jump_field_tables>true</enable_jump_field_tables>"
            "<Double_Click_Auto_Size>1</Double_Click_Auto_Size></lastinternet>"
            "<lastlang><language>Deutsch</language></lastlang>"
            "<lastipadd><ipaddress> 10.0.0.7 </ipaddress></lastipadd>"
            "<lastproj><projectname>Plant 1</projectname></lastproj></Other>");
    p.start();
    EXPECT_TRUE(p.st.Enable_Internet);
    EXPECT_FALSE(p.st.Enable_Update);
    EXPECT_FALSE(p.st.Enable_Jump_Field_Tables);
    EXPECT_TRUE(p.st.Double_Click_Auto_Size);
    EXPECT_EQ(p.st.Last_IP_Address, " 10.0.0.7 ");
    EXPECT_EQ(p.st.Language_Name, "English"); // no Deutsch.lng
    EXPECT_EQ(p.st.Active_Project_Name, "Plant 1");
    EXPECT_EQ(p.st.Active_Project_Dir, p.st.Projects_Dir + QDir::separator() + "Plant 1");
    EXPECT_EQ(p.st.File_ParGen, p.st.Active_Project_Dir + QDir::separator() + "ParGen.xml");
}

TEST(Settings, MissingGroupsAndEmptyElements)
{
    ProgramFolder p;
    p.write("Konstrel.xml",
            "<Conf_Settings><lastproj><projectname>Gone</projectname></lastproj>"
            "<lastipadd><ipaddress></ipaddress></lastipadd></Conf_Settings>");
    p.start();
    EXPECT_TRUE(p.st.Active_Project_Name.isEmpty()); // its folder does not exist
    EXPECT_TRUE(p.st.Last_IP_Address.isEmpty());
    EXPECT_EQ(p.st.Language_Name, "English");
    EXPECT_FALSE(p.st.Enable_Internet || p.st.Enable_Update || p.st.Enable_Jump_Field_Tables
                 || p.st.Double_Click_Auto_Size);
    const ActiveDisplay d = Active_Configuration_Display(p.st);
    EXPECT_EQ(d.line1, "None Configuration Opened ");
    EXPECT_EQ(d.line2, "Use Step1 to open or create new configuration");
}

TEST(Settings, MalformedFileIsReportedAndDefaultsUsed)
{
    ProgramFolder p;
    p.write("Konstrel.xml", "<Conf_Settings>\n  <lastipadd><ipaddress>1.2.3.4</ipaddress>\n</Conf_Settings>");
    p.start();
    ASSERT_EQ(p.msg.errors.size(), 1);
    const QString e = p.msg.errors.first();
    EXPECT_TRUE(e.contains(QDir::toNativeSeparators(p.path("Konstrel.xml")))) << e.toStdString();
    EXPECT_TRUE(e.contains("line 3")) << e.toStdString();
    EXPECT_EQ(p.st.Last_IP_Address, "192.168.2.205");
    EXPECT_EQ(p.st.Lang_Table.size(), 1600);
}

TEST(Settings, RoundTripAndUtf16File)
{
    ProgramFolder p;
    p.start();
    p.st.Last_IP_Address = "10.0.0.7";
    p.st.Enable_Update = true;
    p.st.Language_Name = QString::fromUtf8("Fran\xC3\xA7" "ais");
    ASSERT_TRUE(Save_Setting(p.st, nullptr));
    AppState again = p.st;
    Read_Settings(again, p.msg);
    EXPECT_EQ(again.Last_IP_Address, "10.0.0.7");
    EXPECT_TRUE(again.Enable_Update);
    EXPECT_EQ(again.Language_Name, p.st.Language_Name);

    const QString xml = "<Conf_Settings><lastipadd><ipaddress>10.1.1.1</ipaddress></lastipadd></Conf_Settings>";
    QByteArray le("\xFF\xFE");
    for (QChar c : xml)
        le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    p.write("Konstrel.xml", le);
    Read_Settings(again, p.msg);
    EXPECT_EQ(again.Last_IP_Address, "10.1.1.1");
    EXPECT_TRUE(p.msg.errors.isEmpty());
}

TEST(Settings, WriteFailureNamesTheFileAndKeepsTheOldOne)
{
    ProgramFolder p;
    p.start();
    p.write("Konstrel.xml", "<Conf_Settings/>");
    // A folder where the temporary file would go cannot be written: the program folder
    // is replaced by a path below a plain file.
    AppState st = p.st;
    st.Program_Dir = p.path("Konstrel.xml");
    QString error;
    EXPECT_FALSE(Save_Setting(st, &error));
    EXPECT_TRUE(error.contains("Konstrel.xml")) << error.toStdString();
    EXPECT_EQ(p.read("Konstrel.xml"), "<Conf_Settings/>");
}

TEST(Language, FallsBackToEnglishFile)
{
    ProgramFolder p;
    p.write("LANGUAGE/English.lng", "STR18 = Project?\n");
    p.write("LANGUAGE/Deutsch.lng", "STR17 = Aktualisieren\n");
    p.write("Konstrel.xml", "<Conf_Settings><lastlang><language>Italiano</language></lastlang></Conf_Settings>");
    p.start();
    EXPECT_EQ(p.st.Language_Name, "English");
    EXPECT_EQ(p.st.Get_Lang_Text(18), "Project?");

    p.st.Language_Name = "Deutsch";
    Load_Language(p.st, p.msg);
    EXPECT_EQ(p.st.Get_Lang_Text(17), "Aktualisieren");
    EXPECT_EQ(p.st.Get_Lang_Text(18), "Error! Project not Valid"); // defaults reloaded first
}

TEST(Workspace, UnwritableProgramFolderUsesTheFallback)
{
    ProgramFolder p;
    EXPECT_EQ(Choose_Program_Dir(p.dir.path(), p.path("fallback")), QDir::cleanPath(p.dir.path()));
    // /proc cannot take a file, not even for root.
    EXPECT_EQ(Choose_Program_Dir("/proc", p.path("fallback")), p.path("fallback"));
    EXPECT_TRUE(QFileInfo(p.path("fallback")).isDir());
    // An installed program keeps its workspace per user even where it could write.
    EXPECT_EQ(Choose_Program_Dir(p.dir.path(), p.path("fallback"), true), p.path("fallback"));
}

// An installed program's language files reach the workspace before the language is
// loaded; a file the user already has stays as it is.
TEST(Language, ShippedFilesSeedTheWorkspaceWithoutReplacingTheUsers)
{
    ProgramFolder shipped;
    shipped.write("English.lng", "STR18 = Shipped\n");
    shipped.write("Deutsch.lng", "STR17 = Aktualisieren\n");
    shipped.write("DefaultFlag.bmp", "BM");
    shipped.write("Other/Italiano.lng", "STR17 = Aggiorna\n");
    ProgramFolder p;
    p.write("LANGUAGE/English.lng", "STR18 = Mine\n");
    p.write("Konstrel.xml", "<Conf_Settings><lastlang><language>Deutsch</language></lastlang></Conf_Settings>");
    Start_Up(p.st, p.dir.path(), p.msg, shipped.dir.path());
    EXPECT_EQ(p.st.Get_Lang_Text(17), "Aktualisieren");
    EXPECT_EQ(p.read("LANGUAGE/English.lng"), "STR18 = Mine\n");
    EXPECT_EQ(p.read("LANGUAGE/DefaultFlag.bmp"), "BM");
    EXPECT_EQ(QDir(p.path("LANGUAGE")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"DefaultFlag.bmp", "Deutsch.lng", "English.lng"}));

    // A later start copies only what the user has removed since.
    QFile::remove(p.path("LANGUAGE/Deutsch.lng"));
    p.write("LANGUAGE/DefaultFlag.bmp", "mine");
    Start_Up(p.st, p.dir.path(), p.msg, shipped.dir.path());
    EXPECT_EQ(p.read("LANGUAGE/Deutsch.lng"), "STR17 = Aktualisieren\n");
    EXPECT_EQ(p.read("LANGUAGE/DefaultFlag.bmp"), "mine");
    EXPECT_TRUE(p.msg.errors.isEmpty());
}

TEST(Language, MissingShippedFolderSeedsNothing)
{
    ProgramFolder p;
    Start_Up(p.st, p.dir.path(), p.msg, p.path("no/such/folder"));
    EXPECT_TRUE(QFileInfo(p.path("LANGUAGE")).isDir());
    EXPECT_TRUE(QDir(p.path("LANGUAGE")).isEmpty());
    EXPECT_TRUE(p.msg.errors.isEmpty());
    EXPECT_EQ(p.st.Language_Name, "English");
}

TEST(Settings, ScreenPlacesFollowTheOtherElements)
{
    ProgramFolder p;
    p.start();
    p.st.Screen_Places["TFMQTT_Set_Topic"] = {QRect(-1200, 40, 1100, 337), true};
    p.st.Screen_Places["TFNMEA_0183_Set_Access2"] = {QRect(10, 20, 1400, 900), false};
    ASSERT_TRUE(Save_Setting(p.st, nullptr));
    // The groups every reader knows stay as they were, and come first.
    const QByteArray file = p.read("Konstrel.xml");
    EXPECT_TRUE(file.contains("\t</lastinternet>\n"
                              "\t<lastwindows>\n"
                              "\t\t<TFMQTT_Set_Topic>\n"
                              "\t\t\t<left>-1200</left>\n"
                              "\t\t\t<top>40</top>\n"
                              "\t\t\t<width>1100</width>\n"
                              "\t\t\t<height>337</height>\n"
                              "\t\t\t<maximized>1</maximized>\n"
                              "\t\t</TFMQTT_Set_Topic>\n"))
        << file.toStdString();
    AppState again = p.st;
    Read_Settings(again, p.msg);
    ASSERT_EQ(again.Screen_Places.size(), 2);
    EXPECT_EQ(again.Screen_Places["TFMQTT_Set_Topic"].normal, QRect(-1200, 40, 1100, 337));
    EXPECT_TRUE(again.Screen_Places["TFMQTT_Set_Topic"].maximized);
    EXPECT_EQ(again.Screen_Places["TFNMEA_0183_Set_Access2"].normal, QRect(10, 20, 1400, 900));
    EXPECT_FALSE(again.Screen_Places["TFNMEA_0183_Set_Access2"].maximized);

    // A place with a number missing, not a number or an empty area is passed over; the
    // others and the rest of the file are read as ever.
    p.write("Konstrel.xml",
            "<Conf_Settings><lastipadd><ipaddress>10.0.0.7</ipaddress></lastipadd><lastwindows>"
            "<A><left>1</left><top>2</top><width>3</width></A>"
            "<B><left>1</left><top>x</top><width>3</width><height>4</height></B>"
            "<C><left>1</left><top>2</top><width>0</width><height>4</height></C>"
            "<D><left>5</left><top>6</top><width>700</width><height>400</height></D>"
            "</lastwindows></Conf_Settings>");
    Read_Settings(again, p.msg);
    EXPECT_EQ(again.Last_IP_Address, "10.0.0.7");
    ASSERT_EQ(again.Screen_Places.keys(), QStringList{"D"});
    EXPECT_EQ(again.Screen_Places["D"].normal, QRect(5, 6, 700, 400));
    EXPECT_FALSE(again.Screen_Places["D"].maximized);
    // No settings file: nothing placed.
    QFile::remove(p.path("Konstrel.xml"));
    Read_Settings(again, p.msg);
    EXPECT_TRUE(again.Screen_Places.isEmpty());
    EXPECT_TRUE(p.msg.errors.isEmpty());
}
