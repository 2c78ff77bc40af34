#include "base/StartProgram.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;
#endif

namespace swr {

namespace {

#ifdef Q_OS_WIN

// Started detached; its process is watched through a handle taken at once, which also
// keeps its exit code.
class Started_Program {
public:
    bool Start(const QString& program, const QStringList& arguments, const QString& folder, QString* error)
    {
        QProcess p;
        p.setProgram(program);
        p.setArguments(arguments);
        p.setStandardInputFile(QProcess::nullDevice());
        p.setWorkingDirectory(folder);
        qint64 pid = 0;
        if (!p.startDetached(&pid)) {
            *error = p.errorString();
            return false;
        }
        handle_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
        return true;
    }
    ~Started_Program()
    {
        if (handle_)
            CloseHandle(handle_);
    }
    // True once ended, with its exit status (-1 when unknown).
    bool Ended(int* status)
    {
        if (!handle_)
            return true; // ended before it could be watched
        if (WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT)
            return false;
        DWORD code = 0;
        *status = GetExitCodeProcess(handle_, &code) ? int(code) : -1;
        return true;
    }

private:
    HANDLE handle_ = nullptr;
};

#else

// Started as a child in a session of its own, with nothing on its standard input; the
// wait reaps it, which gives its exit status. One left running at the limit is not
// reaped when it ends later, and waits as a finished process until this one ends.
class Started_Program {
public:
    bool Start(const QString& program, const QStringList& arguments, const QString& folder, QString* error)
    {
        // The program named from this one's working folder, also when it runs in another.
        std::vector<QByteArray> args{QFile::encodeName(QFileInfo(program).absoluteFilePath())};
        for (const QString& a : arguments)
            args.push_back(a.toLocal8Bit());
        std::vector<char*> argv;
        for (QByteArray& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);

        posix_spawn_file_actions_t files;
        posix_spawnattr_t attr;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
        const QByteArray dir = QFile::encodeName(folder);
        if (!dir.isEmpty())
            posix_spawn_file_actions_addchdir_np(&files, dir.constData());
        posix_spawnattr_init(&attr);
#ifdef POSIX_SPAWN_SETSID
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
#endif
        const int rc = posix_spawn(&pid_, argv.front(), &files, &attr, argv.data(), environ);
        posix_spawnattr_destroy(&attr);
        posix_spawn_file_actions_destroy(&files);
        if (rc != 0) {
            *error = QString::fromLocal8Bit(std::strerror(rc));
            return false;
        }
        return true;
    }
    bool Ended(int* status)
    {
        int s = 0;
        pid_t r;
        do
            r = ::waitpid(pid_, &s, WNOHANG);
        while (r < 0 && errno == EINTR);
        if (r == 0)
            return false;
        if (r == pid_)
            *status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
        return true; // reaped now, or by someone else before
    }

private:
    pid_t pid_ = 0;
};

#endif

} // namespace

StartProgramResult Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo,
                                 const std::function<void(qint64)>& tick, int limitMs, const QString& workingDir)
{
    Q_UNUSED(tipo);
    StartProgramResult result;
    Started_Program p;
    if (!p.Start(NomeSW, QProcess::splitCommand(Parameter), workingDir, &result.error))
        return result;
    result.started = true;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (p.Ended(&result.exit_status)) {
            result.ended = true;
            return result;
        }
        if (clock.elapsed() >= limitMs)
            return result;
        if (tick)
            tick(clock.elapsed());
        QThread::msleep(10);
    }
}

} // namespace swr
