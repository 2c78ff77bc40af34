// The program's own start, as main runs it, on the workspace folder given as the first
// argument; the second is the benchmark's start time. Ends at the main window's first
// paint.
#include "FirstPaint.h"

#include "Program.h"

int main(int argc, char** argv)
{
    swr::bench::Steps steps(swr::bench::Start_Ns(argc, argv, 2));
    steps.Done("to_main");
    swr::Run_Options options;
    if (argc > 1)
        options.program_dir = QString::fromLocal8Bit(argv[1]);
    options.step_done = [&steps](const char* step) { steps.Done(step); };
    options.shown = [&steps](QWidget& window) { swr::bench::Report_At_First_Paint(window, steps); };
    return swr::Run_Program(argc, argv, options);
}
