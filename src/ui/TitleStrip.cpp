#include "TitleStrip.h"

#include <QHBoxLayout>
#include <QIconEngine>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

namespace swr {

namespace {

// Draws a glyph in white lines whose width follows the size; fainter when disabled.
class StripIconEngine final : public QIconEngine {
public:
    explicit StripIconEngine(Strip_Glyph glyph) : glyph_(glyph) {}

    QIconEngine* clone() const override { return new StripIconEngine(glyph_); }

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
        const QColor colour(Qt::white);
        p->setPen(QPen(colour, line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p->setBrush(Qt::NoBrush);
        const QRectF in = box.adjusted(line, line, -line, -line);
        switch (glyph_) {
        case Strip_Glyph::Information: {
            p->drawEllipse(in);
            const QPointF c = in.center();
            p->drawLine(QPointF(c.x(), c.y() - in.height() * 0.05), QPointF(c.x(), c.y() + in.height() * 0.25));
            p->setBrush(colour);
            p->setPen(Qt::NoPen);
            p->drawEllipse(QPointF(c.x(), c.y() - in.height() * 0.24), line * 0.75, line * 0.75);
            break;
        }
        case Strip_Glyph::Options:
            // Three sliders, each with its knob at another place.
            for (int i = 0; i < 3; ++i) {
                constexpr qreal Knobs[] = {0.3, 0.7, 0.45};
                const qreal y = in.top() + in.height() * (0.2 + 0.3 * i);
                const qreal knob = in.left() + in.width() * Knobs[i];
                p->drawLine(QPointF(in.left(), y), QPointF(in.right(), y));
                p->setBrush(colour);
                p->drawEllipse(QPointF(knob, y), line * 1.3, line * 1.3);
                p->setBrush(Qt::NoBrush);
            }
            break;
        case Strip_Glyph::Close: {
            const QRectF x = in.adjusted(in.width() * 0.15, in.height() * 0.15, -in.width() * 0.15, -in.height() * 0.15);
            p->drawLine(x.topLeft(), x.bottomRight());
            p->drawLine(x.topRight(), x.bottomLeft());
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
};

} // namespace

QIcon Strip_Icon(Strip_Glyph glyph)
{
    return QIcon(new StripIconEngine(glyph));
}

TitleStrip::TitleStrip(QWidget* parent) : QFrame(parent)
{
    // Styled by a property, so a screen may give the strip its own object name.
    setProperty("titleStrip", true);
    setStyleSheet(QStringLiteral("QFrame[titleStrip=\"true\"] { background: #1f3b5a; }"
                                 "QLabel { color: white; }"));
    setAutoFillBackground(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 8, 8, 8);
    auto* texts = new QVBoxLayout;
    L_SW_Code = new QLabel(this);
    L_SW_Code->setObjectName(QStringLiteral("L_SW_Code"));
    QFont big = L_SW_Code->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    L_SW_Code->setFont(big);
    L_SW_Desc = new QLabel(this);
    L_SW_Desc->setObjectName(QStringLiteral("L_SW_Desc"));
    texts->addWidget(L_SW_Code);
    texts->addWidget(L_SW_Desc);
    row->addLayout(texts, 1);
    extras_ = new QHBoxLayout;
    row->addLayout(extras_);
}

} // namespace swr
