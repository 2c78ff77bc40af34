// The floor of the start-up benchmark: a program that links only Qt Widgets and shows an
// empty window of the main window's size. Argument: the benchmark's start time.
#include "FirstPaint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    swr::bench::Steps steps(swr::bench::Start_Ns(argc, argv, 1));
    steps.Done("to_main");
    QApplication app(argc, argv);
    steps.Done("application");
    QWidget w;
    w.resize(640, 480);
    w.show();
    steps.Done("show");
    swr::bench::Report_At_First_Paint(w, steps);
    return app.exec();
}
