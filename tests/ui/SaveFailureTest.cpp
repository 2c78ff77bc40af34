// A table screen whose file cannot be written: the message names the file and the
// system's reason, the screen stays open with every edit, and the file is as it was.
#include "NmeaAccessModel.h"
#include "NmeaAccessScreen.h"

#include "lang/FileTexts.h"

#include "FailingFiles.h"
#include "TestSupport.h"

#include <QDir>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace swr;
using namespace swr::test;

TEST(SaveFailure, TableScreenKeepsItsEditsAndTheFileWhenTheDiskIsFull)
{
    constexpr int Col_Sentence = 2, Col_Field = 4, Col_PostOpe = 5, Col_Position = 8;
    ProgramFolder p;
    p.start();
    p.st.File_NMEA_Access = p.path("NMEA_0183_Set_Access.xml");
    const QByteArray old = "<NMEA_0183><NMEA_Listener><row Enable=\"Y\" Sentence=\"GGA\" "
                           "DataField=\"Latitude, Direction [character]\" PortOperation=\"None\" Position=\"1\"/>"
                           "</NMEA_Listener></NMEA_0183>";
    p.write("NMEA_0183_Set_Access.xml", old);
    TFNMEA_0183_Set_Access2 s(p.st, p.msg);
    ASSERT_TRUE(s.FormShow());
    NmeaAccessModel& m = *s.Model;
    const std::pair<int, const char*> edits[] = {{Col_Sentence, "GLL"},
                                                 {Col_Field, "Status [character]"},
                                                 {Col_PostOpe, "None"},
                                                 {Col_Position, "5"}};
    for (const auto& [column, value] : edits)
        ASSERT_TRUE(m.setData(m.index(1, column), value, Qt::EditRole));
    s.show();
    {
        Failing_Files full(File_Step::Write, "No space left on device");
        s.Btn_OK->click();
    }
    EXPECT_EQ(p.msg.errors, QStringList{File_Not_Written_Text(p.st, p.st.File_NMEA_Access, "No space left on device")});
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(s.Table.row(2).Sentence, "GLL");
    EXPECT_EQ(s.Table.row(2).Position, "5");
    EXPECT_EQ(p.read("NMEA_0183_Set_Access.xml"), old);
    EXPECT_EQ(QDir(p.dir.path()).entryList({"NMEA_0183_Set_Access.xml*"}, QDir::Files),
              QStringList{"NMEA_0183_Set_Access.xml"});

    // Once there is room again, the same OK saves what is on the screen.
    s.Btn_OK->click();
    EXPECT_EQ(p.msg.errors.size(), 1);
    EXPECT_FALSE(s.isVisible());
    EXPECT_TRUE(p.read("NMEA_0183_Set_Access.xml").contains("Sentence=\"GLL\""));
}
