#include "session/VersionServer.h"

#include "LocalHttpServer.h"

#include <QThread>

#include <gtest/gtest.h>

using namespace swr;
using swr::test::LocalHttpServer;

namespace {

QByteArray Ok(const QByteArray& body)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + QByteArray::number(body.size())
         + "\r\n\r\n" + body;
}

} // namespace

TEST(VersionRequest, IsAnHttp10GetWithTheAcceptHeaderAndOurUserAgent)
{
    EXPECT_EQ(Version_Url(Maker_Server_Base()).toString(),
              "http://www.norvex.example/home/download/GetversionSW.asp?nomesw=SWR2305");
    EXPECT_EQ(Http_Get_Request(Version_Url("http://127.0.0.1:8080/"), Version_Accept, Http_User_Agent),
              "GET /home/download/GetversionSW.asp?nomesw=SWR2305 HTTP/1.0\r\n"
              "Host: 127.0.0.1:8080\r\n"
              "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
              "User-Agent: SWR2305/1.002\r\n"
              "\r\n");
    EXPECT_TRUE(Http_Get_Request(Version_Url(Maker_Server_Base()), "*/*", "x")
                    .contains("\r\nHost: www.norvex.example\r\n"));
}

TEST(VersionRequest, ResponseBodyOnlyForSuccess)
{
    struct Case {
        QByteArray response;
        QByteArray body;
    } cases[] = {
        {Ok("VER. 1.003"), "VER. 1.003"},
        {"HTTP/1.0 200 OK\r\n\r\nVER. 1.003\r\n", "VER. 1.003\r\n"}, // ends when the server closes
        {"HTTP/1.0 200 OK\n\nVER. 1.003", "VER. 1.003"},
        {"HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nVER. 1.003", "VER."},
        {"HTTP/1.1 200\r\n\r\nVER. 1.003", "VER. 1.003"},
        {"HTTP/1.1 404 Not Found\r\n\r\nVER. 9.999", ""},
        {"HTTP/1.1 500 Internal Server Error\r\n\r\nVER. 9.999", ""},
        {"HTTP/1.1 302 Found\r\nLocation: /x\r\n\r\nVER. 9.999", ""},
        {"HTTP/1.1 200 OK\r\nContent-Length: 40\r\n\r\nVER. 1.003", ""}, // cut off
        {"HTTP/1.1 200 OK\r\nContent-Length: x\r\n\r\nVER. 1.003", ""},
        {"HTTP/1.1 200 OK\r\nVER. 1.003", ""}, // headers never end
        {"VER. 1.003", ""},
        {"HTTP/1.1 2000 OK\r\n\r\nVER. 1.003", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Http_Response_Body(c.response), c.body) << c.response.toStdString();
}

struct LocalServerCase {
    QByteArray response;
    bool newer;
};

class VersionServerAnswer : public ::testing::TestWithParam<LocalServerCase> {};

TEST_P(VersionServerAnswer, DecidesWhetherANewerVersionExists)
{
    LocalHttpServer server(GetParam().response);
    HttpVersionCheck check(server.base(), 5000);
    EXPECT_EQ(check.Check_Version(), GetParam().newer);
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_TRUE(server.requests().first().startsWith(
        "GET /home/download/GetversionSW.asp?nomesw=SWR2305 HTTP/1.0\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Answers, VersionServerAnswer,
                         ::testing::Values(LocalServerCase{Ok("VER. 1.003"), true},
                                           LocalServerCase{Ok("  VER. 2.000\r\n"), true},
                                           LocalServerCase{Ok("VER. 1.002"), false},
                                           LocalServerCase{Ok("ver. 0.000"), false},
                                           LocalServerCase{Ok("VER. 1.1"), false},
                                           LocalServerCase{Ok(""), false},
                                           LocalServerCase{"HTTP/1.0 404 Not Found\r\n\r\nVER. 9.999", false},
                                           LocalServerCase{"HTTP/1.0 503 Busy\r\n\r\nVER. 9.999", false}));

TEST(VersionServer, AnswerTextAsReceived)
{
    LocalHttpServer server("HTTP/1.0 200 OK\r\n\r\nver. 1.003 ");
    HttpVersionCheck check(server.base(), 5000);
    EXPECT_EQ(check.Version_Answer(), "ver. 1.003 ");
}

TEST(VersionServer, ServerThatNeverAnswersTimesOut)
{
    LocalHttpServer server(Ok("VER. 9.999"));
    server.silent = true;
    HttpVersionCheck check(server.base(), 200);
    EXPECT_TRUE(check.Version_Answer().isEmpty());
    EXPECT_EQ(server.requests().size(), 1);
}

TEST(VersionServer, NoServerAtAll)
{
    QString base;
    {
        LocalHttpServer gone;
        base = gone.base();
    } // the port is closed again
    HttpVersionCheck check(base, 5000);
    EXPECT_FALSE(check.Check_Version());
    EXPECT_TRUE(HttpVersionCheck("ftp://127.0.0.1/", 5000).Version_Answer().isEmpty());
}

TEST(VersionServer, OverlongAnswerIsRefused)
{
    LocalHttpServer server("HTTP/1.0 200 OK\r\n\r\nVER. 1.003" + QByteArray(Http_Response_Limit, ' '));
    HttpVersionCheck check(server.base(), 5000);
    EXPECT_TRUE(check.Version_Answer().isEmpty());
}

TEST(VersionServer, AStopEndsTheWaitBeforeItsDeadline)
{
    LocalHttpServer server(Ok("VER. 9.999"));
    server.silent = true;
    QByteArray answer = "not run";
    QThread* worker = QThread::create([&] {
        answer = Http_Exchange(QStringLiteral("127.0.0.1"), server.port(), "GET / HTTP/1.0\r\n\r\n", 60000);
    });
    worker->start();
    while (server.requests().isEmpty())
        QThread::msleep(5);
    worker->requestInterruption();
    EXPECT_TRUE(worker->wait(30000)); // far below the request's own minute
    EXPECT_TRUE(answer.isEmpty());
    delete worker;
}
