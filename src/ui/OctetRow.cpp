#include "OctetRow.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace swr {

OctetRow::OctetRow(QWidget* parent, const std::array<QString, 4>& names, int width) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(3);
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (i > 0)
            row->addWidget(new QLabel(QStringLiteral("."), this));
        auto* f = new QLineEdit(this);
        f->setObjectName(names[i]);
        f->setFixedWidth(width);
        f->setAlignment(Qt::AlignCenter);
        f->installEventFilter(this);
        row->addWidget(f);
        fields_[i] = f;
    }
    row->addStretch(1);
}

bool OctetRow::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(e)->text() != QLatin1String("."))
        return QWidget::eventFilter(watched, e);
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (watched != fields_[i])
            continue;
        QLineEdit* next = i + 1 < fields_.size() ? fields_[i + 1] : next_;
        if (next && next->isVisible() && next->isEnabled())
            next->setFocus(Qt::TabFocusReason);
        return true; // the dot separates the octets, it is never one of their characters
    }
    return QWidget::eventFilter(watched, e);
}

} // namespace swr
