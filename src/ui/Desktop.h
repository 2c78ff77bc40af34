#pragma once

// The desktop's services behind the core's interfaces: the user's browser, and the
// version check run away from the windows.

#include "base/Browser.h"
#include "session/Version.h"

#include <QObject>
#include <QString>

#include <functional>

class QThread;

namespace swr {

// A link label's text: text, linking to target, in colour when one is given (a link on
// the dark title strip).
QString Html_Link(const QString& target, const QString& text, const QString& colour = {});

class DesktopBrowser final : public IBrowser {
public:
    void Open_Url(const QString& url) override;
};

// Runs a version check on a thread of its own and hands its result to done on the
// user-interface thread, so no window waits for the server. One check at a time; a
// check still running when the runner goes is asked to stop and waited for.
class Version_Check_Runner final : public QObject {
    Q_OBJECT
public:
    explicit Version_Check_Runner(IVersionCheck& check, QObject* parent = nullptr);
    ~Version_Check_Runner() override;
    // Starts the check; false, and done is never called, while one is running.
    bool Start(std::function<void(bool newer)> done);
    bool Running() const { return thread_ != nullptr; }

private:
    IVersionCheck& check_;
    QThread* thread_ = nullptr;
};

} // namespace swr
