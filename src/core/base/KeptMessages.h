#pragma once

#include "Messages.h"

#include <QList>

#include <utility>

namespace swr {

// The messages given while nothing can show them (start-up runs before any window
// exists), kept in their order to be shown once there is a window system. A question is
// answered No and kept as a warning, so that nothing asked goes unseen.
class Kept_Messages final : public IMessages {
public:
    void Show_Error(const QString& text) override { kept_.append({Kind::Error, text}); }
    void Show_Warning(const QString& text) override { kept_.append({Kind::Warning, text}); }
    void Show_Info(const QString& text) override { kept_.append({Kind::Info, text}); }
    bool Ask_Yes_No(const QString& text) override
    {
        Show_Warning(text);
        return false;
    }
    // Shows every kept message on to, in the order given, and forgets them.
    void Show_On(IMessages& to)
    {
        for (const Kept& k : std::exchange(kept_, {})) {
            if (k.kind == Kind::Error)
                to.Show_Error(k.text);
            else if (k.kind == Kind::Warning)
                to.Show_Warning(k.text);
            else
                to.Show_Info(k.text);
        }
    }
    bool Empty() const { return kept_.isEmpty(); }

private:
    enum class Kind { Error, Warning, Info };
    struct Kept {
        Kind kind;
        QString text;
    };
    QList<Kept> kept_;
};

} // namespace swr
