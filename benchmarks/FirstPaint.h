#pragma once

// For the start-up probes: the steps of a start, timed from the moment the benchmark
// started the process, and the line that reports them once a window has painted.

#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace swr::bench {

inline long long Monotonic_Ns()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

// "step=nanoseconds" fields separated by tabs, each step measured from the end of the one
// before; the first from start_ns (the benchmark's clock when it started this process).
class Steps {
public:
    explicit Steps(long long start_ns) : last_(start_ns) {}
    void Done(const char* step)
    {
        const long long now = Monotonic_Ns();
        line_ += QByteArray(step) + '=' + QByteArray::number(now - last_) + '\t';
        last_ = now;
    }
    const QByteArray& Line() const { return line_; }

private:
    long long last_;
    QByteArray line_;
};

// Once window's first paint has gone out (the paint event and the flush that follows
// it), writes the steps with "first_paint" last to standard output and ends the process
// at once: the teardown is not part of a start.
inline void Report_At_First_Paint(QWidget& window, Steps& steps)
{
    struct Watch : QObject {
        QWidget* w;
        Steps* steps;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (o == w && e->type() == QEvent::Paint) {
                w->removeEventFilter(this);
                QTimer::singleShot(0, [s = steps] {
                    s->Done("first_paint");
                    const QByteArray line = s->Line() + '\n';
                    [[maybe_unused]] ssize_t n = write(STDOUT_FILENO, line.constData(), line.size());
                    _exit(0);
                });
            }
            return false;
        }
    };
    auto* watch = new Watch;
    watch->w = &window;
    watch->steps = &steps;
    window.installEventFilter(watch);
}

// The start time handed over by the benchmark, or now when the probe runs by hand.
inline long long Start_Ns(int argc, char** argv, int index)
{
    return argc > index ? std::atoll(argv[index]) : Monotonic_Ns();
}

} // namespace swr::bench
