#include "base/IpAddress.h"
#include "base/StartProgram.h"
#include "session/Version.h"

#include "TestSupport.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

using namespace swr;

TEST(SplitIPAddress, Cases)
{
    struct Case {
        const char* text;
        bool valid;
        std::array<const char*, 4> octets;
    } cases[] = {
        {"192.168.2.205", true, {"192", "168", "2", "205"}},
        {"192.168.2.205.7", false, {"192", "168", "2", "205.7"}},
        {" 10 . 0 . 0 . 1 ", true, {"10", "0", "0", "1"}},
        {"192.168.2", false, {"192", "168", "", ""}},
        {"192.168.002.205", true, {"192", "168", "002", "205"}},
        {"256.1.1.1", false, {"256", "1", "1", "1"}},
        {"1..1.1", false, {"1", "", "1", "1"}},
        {"a.b.c.d", false, {"a", "b", "c", "d"}},
        {"", false, {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        const SplitIP r = Split_IP_Address(c.text);
        EXPECT_EQ(r.valid, c.valid) << c.text;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(r.octets[i], c.octets[i]) << c.text << " octet " << i;
    }
}

TEST(Version, ConversionAndComparison)
{
    EXPECT_EQ(Conv_Version("1.002"), 1002);
    EXPECT_EQ(Conv_Version("VER. 1.003"), 1003);
    EXPECT_EQ(Conv_Version("VER. 1.1"), -1);
    EXPECT_EQ(Conv_Version("VER. x.yzw"), -1);
    EXPECT_TRUE(Is_Newer_Version("VER. 1.003"));
    EXPECT_TRUE(Is_Newer_Version("  VER. 2.000\r\n"));
    EXPECT_FALSE(Is_Newer_Version("VER. 1.002"));
    EXPECT_FALSE(Is_Newer_Version("ver. 0.000"));
    EXPECT_FALSE(Is_Newer_Version("VER. 1.1"));
    EXPECT_FALSE(Is_Newer_Version(""));
    NoVersionCheck none;
    EXPECT_FALSE(none.Check_Version());
}

TEST(StartProgram, WaitsForTheEnd)
{
    int ticks = 0;
    QElapsedTimer t;
    t.start();
    const StartProgramResult r = Start_Program("/bin/sh", "-c \"sleep 0.3\"", false,
                                               [&](qint64) { ++ticks; });
    EXPECT_TRUE(r.started);
    EXPECT_TRUE(r.ended);
    EXPECT_GE(t.elapsed(), 250);
    EXPECT_GT(ticks, 5);
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(Start_Program("/bin/sh", "-c \"exit 3\"", false).exit_status, 3);
    EXPECT_EQ(Start_Program("/bin/sh", "-c \"kill -9 $$\"", false).exit_status, -1);
}

TEST(StartProgram, GivesUpAtTheLimitAndLeavesTheProgramRunning)
{
    test::ProgramFolder p;
    const QString marker = p.path("still-ran");
    const StartProgramResult r =
        Start_Program("/bin/sh", QString("-c \"sleep 1; touch '%1'\"").arg(marker), false, {}, 200);
    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.ended);
    QElapsedTimer t;
    t.start();
    while (!QFileInfo::exists(marker) && t.elapsed() < 10000)
        QThread::msleep(20);
    EXPECT_TRUE(QFileInfo::exists(marker));
}

TEST(StartProgram, MissingProgramIsReported)
{
    const StartProgramResult r = Start_Program("/nonexistent/Ethernet_Update", "", false);
    EXPECT_FALSE(r.started);
    EXPECT_FALSE(r.error.isEmpty());
}
