#pragma once

// The program as main runs it: the start-up sequence, then every screen created once, in
// the order start-up asks, each applying its texts; they all live as long as Program.

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QIcon;
class QTextStream;
class QWidget;

namespace swr {

class TFKonstrelFirmWare;

class Program {
public:
    // Runs start-up on programDir, then creates the main window and the other screens.
    // Nothing is shown yet. step_done, when given, hears the end of each step by name;
    // shippedLanguageDir, when given, seeds the workspace's LANGUAGE.
    explicit Program(const QString& programDir, const std::function<void(const char* step)>& step_done = {},
                     const QString& shippedLanguageDir = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    TFKonstrelFirmWare& Window();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// What the start-up benchmark's probe changes in a run; main leaves all of it empty.
struct Run_Options {
    // The workspace folder; empty for the executable's folder (or the fallback when that
    // cannot be written).
    QString program_dir;
    // Hears the end of each step of the start by name.
    std::function<void(const char* step)> step_done;
    // Called with the main window once it is shown, before the event loop.
    std::function<void(QWidget& window)> shown;
};

// The icon of the program's windows, the one its menu entry shows.
QIcon Program_Icon();
// Gives every window the program's icon once window has painted for the first time:
// decoding the icon's pictures and handing them to the window manager then does not delay
// the first paint.
void Window_Icon_After_First_Paint(QWidget& window);

// The answer to --version or --help among args (without the program's name), written to
// out before any window is made; false when args ask for neither.
bool Answer_Info_Option(const QStringList& args, QTextStream& out);

// main: the answer to --version or --help, or else the application object, Program, the
// main window shown, and the event loop until it closes; the result is the loop's.
int Run_Program(int argc, char** argv, const Run_Options& options = {});

} // namespace swr
