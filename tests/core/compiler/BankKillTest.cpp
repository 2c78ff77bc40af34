// A compile killed at any moment leaves bin holding one whole set of banks. A child
// process (this test binary, running the disabled child test below) compiles two
// configurations in turn into the same folder until it is killed with SIGKILL.
#include "base/Files.h"
#include "session/Projects.h"
#include "session/Startup.h"

#include "CompilerFixture.h"

#include <QDir>
#include <QElapsedTimer>

#include <array>
#include <random>
#include <vector>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace swr;
using namespace swr::test;

#ifdef Q_OS_LINUX

namespace {

using Bank_Set = std::array<QByteArray, 3>;

constexpr const char* Child_Test = "BankKill.DISABLED_ChildCompilesUntilKilled";
constexpr const char* Program_Dir_Variable = "SWR_KILL_PROGRAM_DIR";
constexpr int Report_Fd = 3; // the child reports on it: 'r' ready, '.' a set written, '!' a failure

// The two configurations live apart from the active one, whose bin folder receives both.
const char* const Configurations[] = {"A", "B"};

void Write_Configuration(const ProgramFolder& p, int k)
{
    const QString dir = QString("%1/").arg(Configurations[k]);
    p.write(dir + ParGen_File_Name, ParGen_Xml({{"Ethernet_IP4", k ? "11" : "10"}, {"MQTT_Server_URL", k ? "b" : "aa"}}));
    p.write(dir + NMEA_Access_File_Name,
            QByteArray(R"(<NMEA_0183_Set_Access><NMEA_Listener><row Enable="Y" Sentence="GGA" )"
                       R"(DataField="Latitude, Minutes [floating point]" Position=")")
                + (k ? "7" : "0") + R"("/></NMEA_Listener></NMEA_0183_Set_Access>)");
}

void Report(char c)
{
    while (::write(Report_Fd, &c, 1) < 0 && errno == EINTR) {
    }
}

// The child: started, killed at some moment.
class Child {
public:
    explicit Child(const QString& program_dir)
    {
        char exe[4096] = {};
        int fds[2];
        if (::readlink("/proc/self/exe", exe, sizeof exe - 1) <= 0 || ::pipe2(fds, O_CLOEXEC) != 0)
            return;
        const QByteArray filter = QByteArray("--gtest_filter=") + Child_Test;
        // This process's environment (sanitizer options, say) and the program folder.
        const QByteArray folder = QByteArray(Program_Dir_Variable) + '=' + program_dir.toLocal8Bit();
        std::vector<char*> envp;
        for (char** e = environ; *e; ++e)
            envp.push_back(*e);
        envp.push_back(const_cast<char*>(folder.constData()));
        envp.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            // Only what is safe between fork and exec here.
            ::dup2(fds[1], Report_Fd);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            char* argv[] = {exe, const_cast<char*>(filter.constData()),
                            const_cast<char*>("--gtest_also_run_disabled_tests"), nullptr};
            ::execve(exe, argv, envp.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        fd_ = fds[0];
    }
    ~Child()
    {
        Kill();
        if (fd_ >= 0)
            ::close(fd_);
    }
    // Waits for the child's next report at most ms; 0 when none came.
    char Next(int ms)
    {
        pollfd p{fd_, POLLIN, 0};
        char c = 0;
        if (fd_ < 0 || ::poll(&p, 1, ms) != 1 || ::read(fd_, &c, 1) != 1)
            return 0;
        return c;
    }
    bool Started() const { return pid_ > 0 && fd_ >= 0; }
    void Kill()
    {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int fd_ = -1;
};

} // namespace

TEST(BankKill, EveryKillLeavesOneWholeSet)
{
    Ship s;
    Bank_Set sets[2];
    QElapsedTimer timer;
    timer.start();
    for (int k : {0, 1}) {
        Write_Configuration(s.p, k);
        s.build(s.p.path(Configurations[k]));
        sets[k] = {s.bank(1), s.bank(2), s.bank(3)};
    }
    const qint64 compile_us = timer.nsecsElapsed() / 2000;
    for (int i = 0; i < 3; ++i)
        ASSERT_NE(sets[0][i], sets[1][i]) << "bank " << i + 1;

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    // From the start of the first compile to well into the third.
    std::uniform_int_distribution<qint64> delay_us(0, 3 * compile_us);
    int written = 0;
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Child child(s.p.dir.path());
        ASSERT_TRUE(child.Started());
        ASSERT_EQ(child.Next(10000), 'r');
        ::usleep(useconds_t(delay_us(random)));
        child.Kill();
        for (char c; (c = child.Next(0)) != 0;) {
            ASSERT_NE(c, '!') << "the child's compile failed";
            written += c == '.';
        }
        const Bank_Set now = {s.bank(1), s.bank(2), s.bank(3)};
        EXPECT_TRUE(now == sets[0] || now == sets[1]) << "sizes " << now[0].size() << ' ' << now[1].size()
                                                      << ' ' << now[2].size();
    }
    EXPECT_GT(written, 0);

    // The next compile clears whatever the kills left beside bin.
    s.build();
    EXPECT_EQ(QDir(s.p.path("PROJECTS/Ship")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"bin"});
}

// Run only as the child of the test above.
TEST(BankKill, DISABLED_ChildCompilesUntilKilled)
{
    const QString program_dir = qEnvironmentVariable(Program_Dir_Variable);
    if (program_dir.isEmpty())
        GTEST_SKIP();
    AppState st;
    RecordingMessages msg;
    Start_Up(st, program_dir, msg);
    Open_Project(st, "Ship");
    Report('r');
    for (int k = 0;; k = 1 - k) {
        const Compiled_Banks b = Compile_Configuration(Join_Path(program_dir, QLatin1String(Configurations[k])), st);
        Report(b.Result.ok && Save_Banks(st.Active_Project_Dir, st, b).ok ? '.' : '!');
    }
}

#endif
