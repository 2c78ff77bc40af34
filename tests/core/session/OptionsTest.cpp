#include "session/Options.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace swr;
using swr::test::ProgramFolder;

TEST(SoftOptions, LanguageListTakesWritablePlainFilesSortedWithoutCase)
{
    ProgramFolder p;
    p.start();
    for (const char* f : {"b.lng", "A.LNG", "Deutsch.lng", "c.Lng", "RO.lng", "notes.txt", "x.lng.bak"})
        p.write(QString("LANGUAGE/") + f, "STR18 = x\n");
    QFile(p.path("LANGUAGE/RO.lng")).setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    QDir().mkpath(p.path("LANGUAGE/Folder.lng"));
    EXPECT_EQ(Create_Lang_List(p.st.Language_Dir), (QStringList{"A.LNG", "b.lng", "c.Lng", "Deutsch.lng"}));
    EXPECT_TRUE(Create_Lang_List(p.path("missing")).isEmpty());
}

TEST(SoftOptions, LanguagePages)
{
    struct Case {
        int n, page;
        int page_count;
        bool prev, next;
        int first, shown;
    } cases[] = {
        {7, 1, 2, false, true, 0, 6},
        {7, 2, 2, true, false, 6, 1},
        {6, 1, 1, false, false, 0, 6},
        {12, 2, 2, true, false, 6, 6},
        {13, 2, 3, true, true, 6, 6},
        {1, 1, 1, false, false, 0, 1},
        // No language files: "Page 1 / 0", no slot; the buttons change nothing.
        {0, 1, 0, false, true, 0, 0},
    };
    for (const Case& c : cases) {
        const LangPage p = Lang_Page(c.n, c.page);
        EXPECT_EQ(p.page_count, c.page_count) << c.n << " page " << c.page;
        EXPECT_EQ(p.prev_visible, c.prev) << c.n << " page " << c.page;
        EXPECT_EQ(p.next_visible, c.next) << c.n << " page " << c.page;
        EXPECT_EQ(p.first, c.first) << c.n << " page " << c.page;
        EXPECT_EQ(p.shown, c.shown) << c.n << " page " << c.page;
    }
    EXPECT_EQ(Turn_Lang_Page(7, 1, true), 2);
    EXPECT_EQ(Turn_Lang_Page(7, 2, true), 2);
    EXPECT_EQ(Turn_Lang_Page(7, 2, false), 1);
    EXPECT_EQ(Turn_Lang_Page(7, 1, false), 1);
    EXPECT_EQ(Turn_Lang_Page(0, 1, true), 1);
    EXPECT_EQ(Turn_Lang_Page(0, 1, false), 1);
    EXPECT_EQ(Lang_Display_Name("Deutsch.lng"), "Deutsch");
    EXPECT_EQ(Lang_Display_Name("A.LNG"), "A");
}

TEST(SoftOptions, FlagPictureFallsBackToTheDefaultFlag)
{
    ProgramFolder p;
    p.start();
    const QString dir = p.st.Language_Dir;
    EXPECT_TRUE(Flag_Picture(dir, "Deutsch").isEmpty());
    p.write("LANGUAGE/DefaultFlag.bmp", "BM");
    EXPECT_EQ(QDir::cleanPath(Flag_Picture(dir, "Deutsch")), p.path("LANGUAGE/DefaultFlag.bmp"));
    p.write("LANGUAGE/Deutsch.bmp", "BM");
    EXPECT_EQ(QDir::cleanPath(Flag_Picture(dir, "Deutsch")), p.path("LANGUAGE/Deutsch.bmp"));
    QDir().mkpath(p.path("LANGUAGE/Folder.bmp")); // a folder is no picture
    EXPECT_EQ(QDir::cleanPath(Flag_Picture(dir, "Folder")), p.path("LANGUAGE/DefaultFlag.bmp"));
}

TEST(SoftOptions, EnablingRule)
{
    struct Case {
        bool en_con, update, update_enabled, check_enabled;
    } cases[] = {
        {true, true, true, true},
        {true, false, true, false},
        {false, true, false, false}, // the update switch keeps its tick, disabled
        {false, false, false, false},
    };
    for (const Case& c : cases) {
        const UpdateEnabling e = Update_CheckBox(c.en_con, c.update);
        EXPECT_EQ(e.update_enabled, c.update_enabled) << c.en_con << c.update;
        EXPECT_EQ(e.check_enabled, c.check_enabled) << c.en_con << c.update;
    }
}

TEST(SoftOptions, ChosenLanguageLoadsItsTextsAndKeepsTheNameInUse)
{
    ProgramFolder p;
    p.start();
    p.write("LANGUAGE/Deutsch.lng", "STR18 = Fehler! Projekt ungueltig\n");
    EXPECT_EQ(Change_Language_Question(p.st, "English", "Deutsch"),
              "Do you want to change the Language from English to Deutsch?");
    EXPECT_EQ(Selected_Language_Text(p.st, "English"), "Selected Language : English");
    EXPECT_EQ(Lang_Page_Text(p.st, 1, 0), "Page 1 / 0");

    Load_Chosen_Language(p.st, p.msg, "Deutsch");
    EXPECT_EQ(p.st.Get_Lang_Text(18), "Fehler! Projekt ungueltig");
    EXPECT_EQ(p.st.Language_Name, "English");

    // Removed since the list was made: English texts, the name still set back.
    p.st.Language_Name = "Deutsch";
    Load_Chosen_Language(p.st, p.msg, "Gone");
    EXPECT_EQ(p.st.Get_Lang_Text(18), "Error! Project not Valid");
    EXPECT_EQ(p.st.Language_Name, "Deutsch");
    EXPECT_TRUE(p.msg.errors.isEmpty());
}
