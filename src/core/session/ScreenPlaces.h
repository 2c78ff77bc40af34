#pragma once

#include <QList>
#include <QMap>
#include <QRect>
#include <QString>

namespace swr {

// Where a resizable screen was when it last closed: its area while neither maximised nor
// minimised, and whether it was maximised. The settings file keeps one for each screen,
// by the screen's name.
struct Screen_Place {
    QRect normal;
    bool maximized = false;
};

// The area a screen kept at normal opens in, given the available areas of the desktop's
// screens, the primary first. A place whose top edge still lies on one of them stays as
// it is, so the title bar can be reached; any other is centred on the screen it overlaps
// most (the primary when it overlaps none), made no larger than that screen leaves room
// for. No screens: the place as it is.
QRect Place_On_Screens(const QRect& normal, const QList<QRect>& screens);

} // namespace swr
