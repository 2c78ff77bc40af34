#include "Desktop.h"

#include <QDesktopServices>
#include <QThread>
#include <QUrl>

#include <memory>

namespace swr {

QString Html_Link(const QString& target, const QString& text, const QString& colour)
{
    const QString style = colour.isEmpty() ? QString() : QStringLiteral(" style=\"color:%1\"").arg(colour);
    return QStringLiteral("<a href=\"%1\"%2>%3</a>").arg(target.toHtmlEscaped(), style, text.toHtmlEscaped());
}

void DesktopBrowser::Open_Url(const QString& url)
{
    QDesktopServices::openUrl(QUrl(url));
}

Version_Check_Runner::Version_Check_Runner(IVersionCheck& check, QObject* parent)
    : QObject(parent), check_(check)
{
}

Version_Check_Runner::~Version_Check_Runner()
{
    if (thread_) {
        thread_->requestInterruption();
        thread_->wait();
        delete thread_;
    }
}

bool Version_Check_Runner::Start(std::function<void(bool newer)> done)
{
    if (thread_)
        return false;
    auto newer = std::make_shared<bool>(false);
    thread_ = QThread::create([this, newer] { *newer = check_.Check_Version(); });
    // Delivered on this object's thread, the windows' one.
    connect(thread_, &QThread::finished, this, [this, newer, done = std::move(done)] {
        thread_->deleteLater();
        thread_ = nullptr;
        done(*newer);
    });
    thread_->start();
    return true;
}

} // namespace swr
