#include "Cli.h"

#include "TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace swr;

namespace {

struct CliRun {
    int rc;
    QByteArray out;
    QString err;
};

CliRun Cli(const QStringList& args)
{
    QByteArray out;
    QString err;
    QTextStream o(&out), e(&err);
    o.setEncoding(QStringConverter::Utf8);
    const int rc = Run_Cli(args, o, e);
    o.flush();
    e.flush();
    return {rc, out, err};
}

} // namespace

TEST(CliTexts, PrintsTheDefaultTable)
{
    const CliRun r = Cli({"texts"});
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.out, test::Read_Test_Data("english_texts.txt"));
}

TEST(CliTexts, AppliesALanguageFileAndWritesAFileThatReadsBack)
{
    test::ProgramFolder p;
    p.write("de.lng", "\xEF\xBB\xBFSTR18 = \xC2\xB6 Fehler \xC2\xB6\r\nSTR0 = Anfang\r\n");
    const CliRun r = Cli({"texts", "--language", p.path("de.lng"), "--output", p.path("out.lng")});
    ASSERT_EQ(r.rc, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    const QByteArray written = p.read("out.lng");
    ASSERT_TRUE(written.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(written.contains("STR18 = \xC2\xB6 Fehler \xC2\xB6\n"));
    EXPECT_TRUE(written.contains("STR0 = \xC2\xB6" "Anfang\xC2\xB6\n"));

    const CliRun back = Cli({"texts", "--language", p.path("out.lng")});
    EXPECT_EQ(back.out, written.mid(3));
}

TEST(CliTexts, UsageErrors)
{
    for (const QStringList& args : {QStringList{}, QStringList{"nope"}, QStringList{"texts", "--language"},
                                    QStringList{"texts", "--bogus", "x"}, QStringList{"texts", "extra"}}) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.rc, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("usage"));
    }
    EXPECT_EQ(Cli({"texts", "--language", "/nonexistent.lng"}).rc, 1);
}

TEST(CliSentences, PrintsTheCatalogue)
{
    const CliRun r = Cli({"sentences"});
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.out, test::Read_Test_Data("nmea_sentences.txt"));
    EXPECT_EQ(Cli({"sentences", "x"}).rc, 2);
}
