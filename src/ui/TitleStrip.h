#pragma once

#include <QFrame>
#include <QIcon>

class QLabel;
class QHBoxLayout;

namespace swr {

// The band at the top of every screen: the software code (never translated) and the
// screen's description. Further widgets (icon buttons, links) go in extras().
class TitleStrip : public QFrame {
    Q_OBJECT
public:
    explicit TitleStrip(QWidget* parent = nullptr);
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QHBoxLayout* extras() const { return extras_; }

private:
    QHBoxLayout* extras_ = nullptr;
};

// The pictures of the icon buttons on the strip, drawn in the strip's text colour at
// whatever size and pixel density they are shown. They are the program's own: the
// desktop's icon theme is not searched for them.
enum class Strip_Glyph { Information, Options, Close };
QIcon Strip_Icon(Strip_Glyph glyph);

} // namespace swr
