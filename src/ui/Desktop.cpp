#include "Desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

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

bool WaitCursorVersionCheck::Check_Version()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool newer = check_.Check_Version();
    QApplication::restoreOverrideCursor();
    return newer;
}

} // namespace swr
