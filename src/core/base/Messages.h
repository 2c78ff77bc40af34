#pragma once

#include <QString>

namespace swr {

// The modal message boxes. The GUI shows them; tests and the command line answer them.
class IMessages {
public:
    virtual ~IMessages() = default;
    virtual void Show_Error(const QString& text) = 0;
    virtual void Show_Warning(const QString& text) = 0;
    virtual void Show_Info(const QString& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool Ask_Yes_No(const QString& text) = 0;
};

} // namespace swr
