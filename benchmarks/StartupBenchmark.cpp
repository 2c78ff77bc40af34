// Start-up: from starting the program's process to the first complete paint of its main
// window, every screen created, against a program that shows a bare window of the same
// size (the floor), started the same way in the same run. Aim: at most 1.5 times the
// floor. Each repetition starts both once, the floor first; the counters give the ratio,
// each step's share (ms) of the program's start and the processor time of each start
// (cpu_ms, bare_cpu_ms: all threads) with its ratio. Run under Xvfb by scripts/bench.sh.
// SWR_STARTUP_PROBE=PATH times another build's startup_probe (say, one saved before a
// change) against the same floor.
#include "FirstPaint.h"

#include "session/AppState.h"
#include "session/Settings.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

using namespace swr;

namespace {

// The probe built with this benchmark, or the one the environment names.
std::string Program_Probe()
{
    const char* other = std::getenv("SWR_STARTUP_PROBE");
    return other && *other ? other : SWR_STARTUP_PROBE;
}

struct Start {
    bool ok = false;
    double ms = 0;
    // Processor time of the whole process, all threads, until it ended after its report.
    double cpu_ms = 0;
    // Each step in ms, in the order the probe took them.
    std::vector<std::pair<std::string, double>> steps;
};

// Starts probe with args and waits, at most 20 s, for its line of steps. A start right
// after another is slowed by the display server still tearing the last client down, so
// each begins after a pause.
Start Run_Probe(const char* probe, std::vector<std::string> args)
{
    Start r;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    int fds[2];
    if (pipe(fds) != 0)
        return r;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const long long start = bench::Monotonic_Ns();
    args.insert(args.begin(), probe);
    args.push_back(std::to_string(start));
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, probe, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string line;
    if (spawned == 0) {
        pollfd p{fds[0], POLLIN, 0};
        char buf[512];
        while (line.find('\n') == std::string::npos && poll(&p, 1, 20000) > 0) {
            const ssize_t n = read(fds[0], buf, sizeof buf);
            if (n <= 0)
                break;
            line.append(buf, size_t(n));
        }
        r.ms = double(bench::Monotonic_Ns() - start) / 1e6;
        kill(pid, SIGKILL); // a probe that reported has ended by itself already
        rusage used{};
        wait4(pid, nullptr, 0, &used);
        const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
        r.cpu_ms = ms(used.ru_utime) + ms(used.ru_stime);
    }
    close(fds[0]);
    r.ok = line.find('\n') != std::string::npos;
    size_t at = 0;
    while (r.ok) {
        const size_t eq = line.find('=', at);
        const size_t tab = line.find('\t', at);
        if (eq == std::string::npos || tab == std::string::npos || eq > tab)
            break;
        r.steps.emplace_back(line.substr(at, eq - at), std::stod(line.substr(eq + 1, tab - eq - 1)) / 1e6);
        at = tab + 1;
    }
    return r;
}

// A workspace whose settings name an existing configuration, as after a first session.
struct Workspace {
    QTemporaryDir dir;
    Workspace()
    {
        AppState st;
        st.Program_Dir = dir.path();
        st.Active_Project_Name = QStringLiteral("Bench");
        st.Language_Name = QStringLiteral("English");
        QString error;
        Save_Setting(st, &error);
        QDir(dir.path()).mkpath(QStringLiteral("PROJECTS/Bench/bin"));
    }
};

void Start_Program_And_Bare_Window(benchmark::State& state)
{
    Workspace ws;
    for (auto _ : state) {
        const Start bare = Run_Probe(SWR_BARE_WINDOW_PROBE, {});
        const Start program = Run_Probe(Program_Probe().c_str(), {ws.dir.path().toStdString()});
        if (!bare.ok || !program.ok) {
            state.SkipWithError("a probe did not paint its window (is there a display?)");
            return;
        }
        state.SetIterationTime(program.ms / 1000);
        state.counters["bare_window_ms"] = bare.ms;
        state.counters["ratio"] = program.ms / bare.ms;
        for (const auto& [step, ms] : program.steps)
            state.counters[step] = ms;
        for (const auto& [step, ms] : bare.steps)
            state.counters["bare_" + step] = ms;
        // Processor time is what a loaded machine stretches: its ratio is the steadier one.
        state.counters["cpu_ms"] = program.cpu_ms;
        state.counters["bare_cpu_ms"] = bare.cpu_ms;
        state.counters["cpu_ratio"] = program.cpu_ms / bare.cpu_ms;
    }
}

} // namespace

BENCHMARK(Start_Program_And_Bare_Window)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
