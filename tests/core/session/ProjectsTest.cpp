#include "session/Projects.h"
#include "lang/Texts.h"

#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace swr;
using swr::test::ProgramFolder;

TEST(NewConfiguration, CreatesFolderAndBinAndBecomesActive)
{
    ProgramFolder p;
    p.start();
    ASSERT_EQ(Create_New_Project(p.st, "Plant1"), 0);
    EXPECT_TRUE(QFileInfo(p.path("PROJECTS/Plant1/bin")).isDir());
    EXPECT_EQ(p.st.Active_Project_Name, "Plant1");
    EXPECT_EQ(p.st.File_NMEA_Access,
              QDir::toNativeSeparators(p.path("PROJECTS/Plant1/NMEA_0183_Set_Access.xml")));
    EXPECT_FALSE(QFileInfo::exists(p.st.File_ParGen));
    const ActiveDisplay d = Active_Configuration_Display(p.st);
    EXPECT_EQ(d.line1, "Opened Configuration of the Converter : ");
    EXPECT_EQ(d.line2, "Plant1");
}

TEST(NewConfiguration, RefusedNames)
{
    ProgramFolder p;
    p.start();
    QDir().mkpath(p.path("PROJECTS/Plant1"));
    p.write("PROJECTS/AFile", "x");
    struct Case {
        const char* name;
        int text;
    } cases[] = {
        {"", Txt::New_Name_Empty},
        {"Plant1", Txt::New_Name_Exists},
        {"A/B", Txt::New_Name_Invalid_Create},       // A does not exist
        {"AFile", Txt::New_Name_Invalid_Create},     // a file of that name
        {"../Outside", Txt::New_Name_Invalid_Create}, // would leave PROJECTS
        {"Plant1/../../Outside", Txt::New_Name_Invalid_Create},
        {"/tmp/abs", Txt::New_Name_Invalid_Create},
        {"C:Drive", Txt::New_Name_Invalid_Create},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Create_New_Project(p.st, c.name), c.text) << c.name;
        EXPECT_TRUE(p.st.Active_Project_Dir.isEmpty()) << c.name;
    }
    EXPECT_FALSE(QFileInfo::exists(p.path("Outside")));
}

TEST(NewConfiguration, NameWithSeparatorInsideAnExistingFolder)
{
    ProgramFolder p;
    p.start();
    QDir().mkpath(p.path("PROJECTS/A"));
    ASSERT_EQ(Create_New_Project(p.st, "A/B"), 0);
    EXPECT_EQ(p.st.Active_Project_Name, "A/B");
    EXPECT_TRUE(QFileInfo(p.path("PROJECTS/A/B/bin")).isDir());
}

TEST(OpenConfiguration, ListsFoldersAndPreselectsTheActiveOne)
{
    ProgramFolder p;
    p.start();
    for (const char* d : {"beta", "Alpha", "Plant1", ".hidden"})
        QDir().mkpath(p.path(QString("PROJECTS/") + d));
    p.write("PROJECTS/file.txt", "x");
    const QStringList SL = Load_Existing_Configuration(p.st.Projects_Dir);
    EXPECT_EQ(SL, (QStringList{"Alpha", "Plant1", "beta"}));
    EXPECT_EQ(Preselected_Configuration(p.st, SL), 0); // nothing active: the first

    // The active configuration listed under another letter case is still found.
    p.st.Active_Project_Dir = p.st.Projects_Dir + QDir::separator() + "PLANT1";
    EXPECT_EQ(Preselected_Configuration(p.st, SL), 1);
    EXPECT_EQ(Search_Open_Conf(SL, "BETA"), 2);
    EXPECT_EQ(Search_Open_Conf(SL, "gamma"), -1);
    EXPECT_EQ(Preselected_Configuration(p.st, {}), -1);

    Open_Project(p.st, "beta");
    EXPECT_EQ(p.st.Active_Project_Dir, p.st.Projects_Dir + QDir::separator() + "beta");
    Open_Project(p.st, "");
    EXPECT_TRUE(p.st.Active_Project_Dir.isEmpty());
    EXPECT_EQ(p.st.File_ParGen, QDir::separator() + QString("ParGen.xml"));
}
