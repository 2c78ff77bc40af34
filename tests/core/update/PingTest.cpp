#include "update/Ping.h"

#include "lang/Texts.h"

#include "FakeEcho.h"

#include <gtest/gtest.h>

using namespace swr;
using swr::test::FakeClock;
using swr::test::FakeEcho;

TEST(ParseIPv4, Cases)
{
    const struct {
        const char* text;
        std::optional<quint32> ip;
    } cases[] = {
        {"192.168.2.205", 0xC0A802CDu},
        {"192.168.002.205", 0xC0A802CDu},
        {"010.0.0.7", 0x0A000007u}, // leading zeros are decimal, not octal
        {"127.0.0.1", 0x7F000001u},
        {"255.255.255.255", 0xFFFFFFFFu},
        {"256.1.1.1", std::nullopt},
        {"192.168.2.x", std::nullopt},
        {"192.168..205", std::nullopt},
        {"192.168.2", std::nullopt},
        {"1.2.3.4.5", std::nullopt},
        {" 1.2.3.4", std::nullopt},
        {"1.2.3.+4", std::nullopt},
        {"0001.2.3.4", std::nullopt},
        {"...", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parse_IPv4(c.text), c.ip) << c.text;
}

TEST(SendPing, Rules)
{
    using E = EchoResult;
    const E A = E::Answered, T = E::Timed_Out;
    std::vector<E> late(12, T);
    late.push_back(A);
    const struct {
        const char* name;
        std::vector<E> script;
        const char* address;
        bool ok;
        int ping_res;
        int requests;
        int failureText; // when not ok
    } cases[] = {
        {"answers at once", {A}, "192.168.2.205", true, 1, 2, 0},
        {"never answers", {T}, "192.168.2.205", false, 2, 13, Txt::Device_Not_Found},
        {"now and then", {T, A, T, A}, "192.168.2.205", true, 1, 4, 0},
        {"one answer then silence", {A, T}, "192.168.2.205", false, 2, 13, Txt::Device_Not_Found},
        {"only the last one answered", late, "192.168.2.205", true, 1, 13, 0},
        {"letters in a field", {A}, "192.168.2.x", false, 0, 0, Txt::Check_IP_Address},
        {"empty fields", {A}, "...", false, 0, 0, Txt::Check_IP_Address},
        {"system refuses the address", {E::Unresolvable}, "0.0.0.0", false, 0, 1, Txt::Check_IP_Address},
        {"send error after an answer", {A, E::Send_Error}, "10.0.0.7", false, 1, 2, Txt::Check_IP_Address},
        {"send error after no answer", {T, E::Send_Error}, "10.0.0.7", false, 2, 2, Txt::Device_Not_Found},
        {"no way to send", {E::Not_Permitted}, "10.0.0.7", false, 0, 1, Txt::Echo_Not_Permitted},
    };
    for (const auto& c : cases) {
        FakeClock clock;
        FakeEcho echo(c.script, &clock);
        echo.answerMs = 100;
        int serviced = 0;
        const PingResult r = Send_Ping(echo, c.address, [&] { ++serviced; }, clock);
        EXPECT_EQ(r.ok, c.ok) << c.name;
        EXPECT_EQ(r.ping_res, c.ping_res) << c.name;
        EXPECT_EQ(r.requests, c.requests) << c.name;
        EXPECT_EQ(int(echo.calls.size()), c.requests) << c.name;
        if (!c.ok) {
            EXPECT_EQ(Ping_Failure_Text(r), c.failureText) << c.name;
        }
        for (const FakeEcho::Call& call : echo.calls) {
            EXPECT_EQ(call.size, 1024) << c.name;
            EXPECT_EQ(call.timeoutMs, 400) << c.name;
        }
        if (!r.error) {
            EXPECT_EQ(serviced, r.requests) << c.name; // the UI is serviced after every request
        }
    }
}

TEST(SendPing, GivesUpJustAfterFiveSeconds)
{
    FakeClock clock;
    FakeEcho echo({EchoResult::Timed_Out}, &clock);
    const PingResult r = Send_Ping(echo, "192.168.2.205", {}, clock);
    EXPECT_FALSE(r.ok);
    EXPECT_GT(clock.now, 5000);
    EXPECT_LE(clock.now, 5000 + 400 + 10);
    EXPECT_EQ(echo.calls.front().ipv4, 0xC0A802CDu);
}

TEST(SystemEcho, LoopbackAnswers)
{
    SystemEcho echo;
    const EchoResult r = echo.Send_Echo(0x7F000001u, 1024, 400);
    if (r == EchoResult::Not_Permitted)
        GTEST_SKIP() << "this user may not send echo requests here";
    EXPECT_EQ(r, EchoResult::Answered);

    SystemEcho serviced([] {});
    PingClock clock;
    const PingResult p = Send_Ping(serviced, "127.0.0.1", {}, clock);
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.requests, 2);
}
