#pragma once

// The desktop's services behind the core's interfaces: the user's browser, and the
// version check with the wait cursor shown while it asks the server.

#include "app/Browser.h"
#include "app/Version.h"

#include <QString>

namespace swr {

// A link label's text: text, linking to target, in colour when one is given (a link on
// the dark title strip).
QString Html_Link(const QString& target, const QString& text, const QString& colour = {});

class DesktopBrowser final : public IBrowser {
public:
    void Open_Url(const QString& url) override;
};

// Runs another check with the wait cursor up, so a slow server is seen to be asked.
class WaitCursorVersionCheck final : public IVersionCheck {
public:
    explicit WaitCursorVersionCheck(IVersionCheck& check) : check_(check) {}
    bool Check_Version() override;

private:
    IVersionCheck& check_;
};

} // namespace swr
