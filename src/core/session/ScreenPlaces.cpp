#include "session/ScreenPlaces.h"

namespace swr {

namespace {

// How much of the top edge must lie on a screen for the window to be grabbed there.
constexpr int Grip_Height = 24;
constexpr int Grip_Width = 64;
// What a moved window keeps free around it on its new screen, for the frame and the title.
constexpr int Screen_Margin = 40;

bool Top_Edge_On(const QRect& place, const QRect& screen)
{
    const QRect edge(place.left(), place.top(), place.width(), qMin(place.height(), Grip_Height));
    const QRect seen = edge & screen;
    return seen.height() == edge.height() && seen.width() >= qMin(place.width(), Grip_Width);
}

qint64 Area(const QRect& r) { return r.isEmpty() ? 0 : qint64(r.width()) * r.height(); }

} // namespace

QRect Place_On_Screens(const QRect& normal, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return normal;
    for (const QRect& s : screens)
        if (Top_Edge_On(normal, s))
            return normal;
    QRect target = screens.front();
    qint64 best = 0;
    for (const QRect& s : screens)
        if (const qint64 a = Area(normal & s); a > best) {
            best = a;
            target = s;
        }
    const QSize room(qMax(1, target.width() - 2 * Screen_Margin), qMax(1, target.height() - 2 * Screen_Margin));
    QRect r(QPoint(), normal.size().boundedTo(room));
    r.moveCenter(target.center());
    return r;
}

} // namespace swr
