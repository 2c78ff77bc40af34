#pragma once

#include <QFrame>

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

} // namespace swr
