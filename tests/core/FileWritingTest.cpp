// Every kind of file the program writes, failing at each step of the write: the message
// names the file and the system's reason, and the folder is left exactly as it was.
#include "base/Files.h"
#include "session/Settings.h"
#include "lang/Texts.h"
#include "lang/FileTexts.h"
#include "project/ProjectFile.h"
#include "update/UpdateJob.h"

#include "FailingFiles.h"
#include "compiler/CompilerFixture.h"

#include <QDirIterator>
#include <QMap>

#include <functional>

using namespace swr;
using namespace swr::test;

namespace {

// Every file below dir with its bytes, by path relative to dir.
QMap<QString, QByteArray> Tree(const QString& dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        f.open(QIODevice::ReadOnly);
        files[QDir(dir).relativeFilePath(f.fileName())] = f.readAll();
    }
    return files;
}

// One kind of writer: the file it replaces (relative to the program folder), and the write
// itself, giving the message to show or nothing.
struct Writer {
    const char* kind;
    const char* file;
    std::function<QString(Ship&)> write;
};

QString Message(const FileResult& r) { return r.ok ? QString() : r.message; }

const Writer Writers[] = {
    {"project file", "PROJECTS/Ship/ParGen.xml",
     [](Ship& s) {
         pugi::xml_document doc;
         doc.append_child("Par_Gen").append_child("Ethernet_IP4").text().set("7");
         return Message(Save_Project_Xml(s.p.st, s.p.st.File_ParGen, doc));
     }},
    {"settings", "Konstrel.xml",
     [](Ship& s) {
         QString error;
         return Save_Setting(s.p.st, &error) ? QString() : error;
     }},
    {"update job", "Ethernet_Update.xml",
     [](Ship& s) {
         QString error;
         const Update_Choice c = {{"10", "0", "0", "7"}, Update_Configuration, true};
         return Compile_XML_Parameter_New_Boot(s.p.st, Update_Folders_Of(s.p.st), c, &error) ? QString() : error;
     }},
};

struct Step_Case {
    File_Step step;
    const char* reason;
};

const Step_Case Steps[] = {
    {File_Step::Open, "Permission denied"},
    {File_Step::Write, "No space left on device"},
    {File_Step::Flush, "Input/output error"},
    {File_Step::Rename, "Read-only file system"},
};

} // namespace

TEST(FileWriting, EveryWriterFailingAtEveryStepKeepsTheOldFile)
{
    for (const Writer& w : Writers)
        for (const Step_Case& c : Steps) {
            SCOPED_TRACE(std::string(w.kind) + ", " + Step_Name(c.step));
            Ship s;
            s.p.write(w.file, "old content\n");
            const auto before = Tree(s.p.dir.path());
            {
                Failing_Files fake(c.step, c.reason);
                EXPECT_EQ(w.write(s), File_Not_Written_Text(s.p.st, s.p.path(w.file), c.reason));
                EXPECT_EQ(fake.failures, 1);
            }
            EXPECT_EQ(Tree(s.p.dir.path()), before); // no temporary file left beside it
            EXPECT_EQ(w.write(s), QString());        // and the real write goes through
            EXPECT_NE(s.p.read(w.file), "old content\n");
        }
}

TEST(FileWriting, BanksFailingAtEveryStepKeepTheOldSet)
{
    // The old set: three files the new compile would change.
    const Step_Case bank_steps[] = {
        {File_Step::Make_Folder, "Permission denied"},
        {File_Step::Open, "Permission denied"},
        {File_Step::Write, "No space left on device"},
        {File_Step::Flush, "Input/output error"},
        {File_Step::Swap, "Read-only file system"},
    };
    for (const Step_Case& c : bank_steps) {
        SCOPED_TRACE(Step_Name(c.step));
        Ship s;
        for (int n : {1, 2, 3})
            s.write(QString("bin/bank%1.bin").arg(n), "old bank " + QByteArray::number(n));
        ASSERT_TRUE(s.compile().ok);
        const auto before = Tree(s.p.dir.path());
        const bool file_step = c.step == File_Step::Open || c.step == File_Step::Write || c.step == File_Step::Flush;
        // A file step fails at the second bank, once the first is written.
        Failing_Files fake(c.step, c.reason, file_step ? "bank2.bin" : "");
        const FileResult r = s.save();
        const QString bin = s.p.path("PROJECTS/Ship/bin");
        EXPECT_EQ(r.message, file_step ? File_Not_Written_Text(s.p.st, bin + "/bank2.bin", c.reason)
                                       : s.p.st.Get_Lang_Text(Txt::Folder_Not_Replaced).arg(bin, c.reason));
        EXPECT_EQ(Tree(s.p.dir.path()), before);
        EXPECT_EQ(QDir(s.p.path("PROJECTS/Ship")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{"bin"});
    }
}
