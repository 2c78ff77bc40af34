#pragma once

#include "base/Messages.h"

namespace swr {

struct AppState;

// The message boxes as modal Qt boxes over the active window.
class WidgetMessages final : public IMessages {
public:
    explicit WidgetMessages(const AppState& st) : st_(st) {}
    void Show_Error(const QString& text) override;
    void Show_Warning(const QString& text) override;
    void Show_Info(const QString& text) override;
    bool Ask_Yes_No(const QString& text) override;

private:
    const AppState& st_;
};

} // namespace swr
