#include "TitleStrip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace swr {

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
