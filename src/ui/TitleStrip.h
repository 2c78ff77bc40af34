#pragma once

#include <QFrame>
#include <QIcon>
#include <QToolButton>

class QLabel;
class QHBoxLayout;

namespace swr {

// The pictures of the icon buttons on the strip (white) and of the find bar (in its text
// colour), drawn at whatever size and pixel density they are shown. They are the
// program's own: the desktop's icon theme, whose index takes milliseconds to read, is not
// searched for them.
enum class Strip_Glyph { Information, Options, Close, Up, Down };
QIcon Strip_Icon(Strip_Glyph glyph, const QColor& colour = Qt::white);

// An icon button on the strip. It paints itself on the dark band: a lighter plate under
// the pointer or while pressed, and a light ring while it has the keyboard focus.
class StripButton : public QToolButton {
    Q_OBJECT
public:
    StripButton(Strip_Glyph glyph, QWidget* parent);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
};

// The band at the top of every screen: the software code (never translated) and the
// screen's description. Further widgets (icon buttons, links) go in extras(). Its colours
// come from its palette, which the labels on it take over; no style sheet is involved, so
// the strip costs nothing extra to style when a screen is created.
class TitleStrip : public QFrame {
    Q_OBJECT
public:
    explicit TitleStrip(QWidget* parent = nullptr);
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QHBoxLayout* extras() const { return extras_; }
    // An icon button named name at the right end of the strip.
    StripButton* Add_Button(const char* name, Strip_Glyph glyph);

    static const QColor Band;   // the strip's background
    static const QColor Accent; // the focus ring and links on the band

private:
    QHBoxLayout* extras_ = nullptr;
};

} // namespace swr
