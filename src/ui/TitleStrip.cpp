#include "TitleStrip.h"

#include <QHBoxLayout>
#include <QIconEngine>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QVBoxLayout>

#include <cmath>
#include <numbers>

namespace swr {

const QColor TitleStrip::Band(0x1f, 0x3b, 0x5a);
const QColor TitleStrip::Accent(0xff, 0xd8, 0x66);

namespace {

constexpr int Glyph_Size = 24;
constexpr int Button_Padding = 6; // round the glyph, for the plate and the focus ring

// Draws a glyph in white lines whose width follows the size; fainter when disabled.
class StripIconEngine final : public QIconEngine {
public:
    StripIconEngine(Strip_Glyph glyph, const QColor& colour) : glyph_(glyph), colour_(colour) {}

    QIconEngine* clone() const override { return new StripIconEngine(glyph_, colour_); }

    void paint(QPainter* p, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        if (mode == QIcon::Disabled) { // the whole picture fainter, where strokes cross too
            const QPixmap normal = pixmap(rect.size(), QIcon::Normal, state);
            p->save();
            p->setOpacity(0.45);
            p->drawPixmap(rect.topLeft(), normal);
            p->restore();
            return;
        }
        const qreal s = qMin(rect.width(), rect.height());
        const QRectF box(rect.x() + (rect.width() - s) / 2, rect.y() + (rect.height() - s) / 2, s, s);
        const qreal line = qMax<qreal>(1.5, s / 12);
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        p->setPen(QPen(colour_, line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p->setBrush(Qt::NoBrush);
        const QRectF in = box.adjusted(line, line, -line, -line);
        switch (glyph_) {
        case Strip_Glyph::Information: {
            p->drawEllipse(in);
            const QPointF c = in.center();
            p->drawLine(QPointF(c.x(), c.y() - in.height() * 0.05), QPointF(c.x(), c.y() + in.height() * 0.25));
            p->setBrush(colour_);
            p->setPen(Qt::NoPen);
            p->drawEllipse(QPointF(c.x(), c.y() - in.height() * 0.24), line * 0.75, line * 0.75);
            break;
        }
        case Strip_Glyph::Options: {
            // A gear: eight teeth round a solid wheel with a hole in the middle.
            constexpr int Teeth = 8;
            const QPointF c = in.center();
            const qreal outer = in.width() / 2 + line / 2, root = outer * 0.74, hole = outer * 0.32;
            const qreal pitch = 2 * std::numbers::pi / Teeth;
            auto at = [c](qreal r, qreal a) { return QPointF(c.x() + r * std::sin(a), c.y() - r * std::cos(a)); };
            QPolygonF wheel;
            for (int i = 0; i < Teeth; ++i) {
                const qreal a = pitch * i;
                wheel << at(root, a - pitch * 0.3) << at(outer, a - pitch * 0.17) << at(outer, a + pitch * 0.17)
                      << at(root, a + pitch * 0.3);
            }
            QPainterPath gear;
            gear.setFillRule(Qt::OddEvenFill);
            gear.addPolygon(wheel);
            gear.closeSubpath();
            gear.addEllipse(c, hole, hole);
            p->setPen(Qt::NoPen);
            p->setBrush(colour_);
            p->drawPath(gear);
            break;
        }
        case Strip_Glyph::Close: {
            const QRectF x = in.adjusted(in.width() * 0.15, in.height() * 0.15, -in.width() * 0.15, -in.height() * 0.15);
            p->drawLine(x.topLeft(), x.bottomRight());
            p->drawLine(x.topRight(), x.bottomLeft());
            break;
        }
        case Strip_Glyph::Up:
        case Strip_Glyph::Down: {
            // An arrow: a shaft and a head pointing up or down.
            const qreal sign = glyph_ == Strip_Glyph::Up ? -1 : 1;
            const QPointF c = in.center();
            const QPointF tip(c.x(), c.y() + sign * in.height() * 0.4);
            p->drawLine(QPointF(c.x(), c.y() - sign * in.height() * 0.4), tip);
            p->drawLine(tip, QPointF(c.x() - in.width() * 0.3, tip.y() - sign * in.height() * 0.3));
            p->drawLine(tip, QPointF(c.x() + in.width() * 0.3, tip.y() - sign * in.height() * 0.3));
            break;
        }
        }
        p->restore();
    }

    // In device pixels: QIcon asks for the size times the screen's pixel ratio and sets
    // the ratio on what it gets.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }

private:
    Strip_Glyph glyph_;
    QColor colour_;
};

} // namespace

QIcon Strip_Icon(Strip_Glyph glyph, const QColor& colour)
{
    return QIcon(new StripIconEngine(glyph, colour));
}

StripButton::StripButton(Strip_Glyph glyph, QWidget* parent) : QToolButton(parent)
{
    setIcon(Strip_Icon(glyph));
    setIconSize(QSize(Glyph_Size, Glyph_Size));
    setAutoRaise(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

QSize StripButton::sizeHint() const
{
    return iconSize() + QSize(2 * Button_Padding, 2 * Button_Padding);
}

void StripButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plate = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    if (isEnabled() && (isDown() || underMouse())) {
        p.setPen(Qt::NoPen);
        p.setBrush(isDown() ? TitleStrip::Band.lighter(190) : TitleStrip::Band.lighter(150));
        p.drawRoundedRect(plate, 4, 4);
    }
    const QRect glyph(QPoint(), iconSize());
    icon().paint(&p, glyph.translated(rect().center() - glyph.center()), Qt::AlignCenter,
                 isEnabled() ? QIcon::Normal : QIcon::Disabled);
    if (hasFocus()) {
        p.setPen(QPen(TitleStrip::Accent, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(plate, 4, 4);
    }
}

TitleStrip::TitleStrip(QWidget* parent) : QFrame(parent)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Band);
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(r, Qt::white);
    pal.setColor(QPalette::Link, Accent);
    setPalette(pal);
    setAutoFillBackground(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 8, 8, 8);
    auto* texts = new QVBoxLayout;
    L_SW_Code = new QLabel(this);
    L_SW_Code->setObjectName(QStringLiteral("L_SW_Code"));
    QFont big = L_SW_Code->font();
    if (big.pointSizeF() > 0)
        big.setPointSizeF(big.pointSizeF() * 1.6);
    else
        big.setPixelSize(qRound(big.pixelSize() * 1.6));
    big.setBold(true);
    L_SW_Code->setFont(big);
    L_SW_Desc = new QLabel(this);
    L_SW_Desc->setObjectName(QStringLiteral("L_SW_Desc"));
    texts->addWidget(L_SW_Code);
    texts->addWidget(L_SW_Desc);
    row->addLayout(texts, 1);
    extras_ = new QHBoxLayout;
    extras_->setSpacing(4);
    row->addLayout(extras_);
}

StripButton* TitleStrip::Add_Button(const char* name, Strip_Glyph glyph)
{
    auto* b = new StripButton(glyph, this);
    b->setObjectName(QLatin1String(name));
    extras_->addWidget(b, 0, Qt::AlignTop);
    return b;
}

} // namespace swr
