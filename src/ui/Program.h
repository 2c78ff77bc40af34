#pragma once

// The program as main runs it: the start-up sequence, then every screen created once, in
// the order start-up asks, each applying its texts; they all live as long as this object.

#include <QString>

#include <functional>
#include <memory>

namespace swr {

class TFKonstrelFirmWare;

class Program {
public:
    // Runs start-up on programDir, then creates the main window and the other screens.
    // Nothing is shown yet. step_done, when given, hears the end of each step by name
    // (the start-up benchmark times them).
    explicit Program(const QString& programDir, const std::function<void(const char* step)>& step_done = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    TFKonstrelFirmWare& Window();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

} // namespace swr
