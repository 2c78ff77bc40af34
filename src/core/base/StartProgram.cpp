#include "base/StartProgram.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <sys/types.h>
#endif

namespace swr {

namespace {

// The program is started detached so that it survives the wait's end and the
// configurator's exit; its process is then watched by its id.
bool Process_Running(qint64 pid)
{
#ifdef Q_OS_WIN
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (!h)
        return false;
    const bool running = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
    CloseHandle(h);
    return running;
#else
    if (::kill(pid_t(pid), 0) != 0 && errno != EPERM)
        return false;
#ifdef Q_OS_LINUX
    // An ended program that its new parent has not reaped yet is a zombie: it has ended.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        const qsizetype close = line.lastIndexOf(')');
        if (close >= 0 && close + 2 < line.size() && (line[close + 2] == 'Z' || line[close + 2] == 'X'))
            return false;
    }
#endif
    return true;
#endif
}

} // namespace

StartProgramResult Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo,
                                 const std::function<void(qint64)>& tick, int limitMs, const QString& workingDir)
{
    Q_UNUSED(tipo);
    StartProgramResult result;
    QProcess p;
    p.setProgram(NomeSW);
    p.setArguments(QProcess::splitCommand(Parameter));
    p.setStandardInputFile(QProcess::nullDevice());
    p.setWorkingDirectory(workingDir);
    qint64 pid = 0;
    if (!p.startDetached(&pid)) {
        result.error = p.errorString();
        return result;
    }
    result.started = true;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (!Process_Running(pid)) {
            QThread::msleep(10);
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
