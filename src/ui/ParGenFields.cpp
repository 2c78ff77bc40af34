#include "ParGenFields.h"

#include "OctetRow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHash>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QStyleOption>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace swr {

namespace {

constexpr int Octet_Width = 44;
constexpr int Panel_Bottom_Margin = 12;

QString Control_Name(const char* prefix, const ParKeyInfo& k)
{
    return QLatin1String(prefix) + QLatin1String(k.name);
}

// A panel's header: its caption in bold on a light band, after an arrow that tells whether
// the panel is open; the band darkens while the header has the focus. Drawn here: a style
// sheet would be parsed, and would restyle the button, at every start.
class Panel_Header final : public QToolButton {
public:
    explicit Panel_Header(QWidget* parent) : QToolButton(parent)
    {
        QFont bold = font();
        bold.setBold(true);
        setFont(bold);
    }
    QSize sizeHint() const override
    {
        const QFontMetrics fm(font());
        return {Text_X() + fm.horizontalAdvance(Caption()) + Padding_X,
                std::max(fm.height(), iconSize().height()) + 2 * Padding_Y};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), hasFocus() ? QColor(0xc6, 0xd4, 0xe3) : QColor(0xdd, 0xe5, 0xee));
        const QColor ink(0x1f, 0x3b, 0x5a);
        // The arrow, two thirds of a line high, in the middle of an icon's place.
        const int arrow_size = QFontMetrics(font()).height() * 2 / 3;
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = QRect(Padding_X + (iconSize().width() - arrow_size) / 2, (height() - arrow_size) / 2,
                           arrow_size, arrow_size);
        arrow.palette.setColor(QPalette::ButtonText, ink);
        arrow.palette.setColor(QPalette::WindowText, ink);
        style()->drawPrimitive(arrowType() == Qt::DownArrow ? QStyle::PE_IndicatorArrowDown
                                                             : QStyle::PE_IndicatorArrowRight,
                               &arrow, &p, this);
        p.setPen(ink);
        p.drawText(QRect(Text_X(), 0, width() - Text_X() - Padding_X, height()),
                   int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic), text());
    }

private:
    static constexpr int Padding_X = 6;
    static constexpr int Padding_Y = 4;
    static constexpr int Gap = 4;
    int Text_X() const { return Padding_X + iconSize().width() + Gap; }
    // The caption as drawn: a mnemonic's marker takes no room.
    QString Caption() const
    {
        QString t = text();
        for (qsizetype i = t.indexOf(QLatin1Char('&')); i >= 0 && i + 1 < t.size(); i = t.indexOf(QLatin1Char('&'), i + 1))
            t.remove(i, 1);
        return t;
    }
};

// The height of a one-line edit in the application's font and style, measured with an edit
// once per font and style rather than for each field.
int One_Line_Edit_Height()
{
    static QHash<QString, int> heights;
    const QString key = QString::number(quintptr(QApplication::style()), 16) + QApplication::font().key();
    auto known = heights.constFind(key);
    if (known == heights.cend())
        known = heights.insert(key, QLineEdit().sizeHint().height());
    return *known;
}

} // namespace

ParTextEdit::ParTextEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The arrows show when there are lines beyond the one in view.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this](int lines) {
        setVerticalScrollBarPolicy(lines > 1 ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    });
    // As tall as a one-line edit, its view exactly one line high so no part of a second
    // line shows; the padding is the view's margin, not the document's.
    document()->setDocumentMargin(0);
    const int line = fontMetrics().lineSpacing();
    const int height = std::max(line + 4 + 2 * frameWidth(), One_Line_Edit_Height());
    const int spare = height - 2 * frameWidth() - line;
    setViewportMargins(3, spare / 2, 0, spare - spare / 2);
    setBackgroundRole(QPalette::Base); // the margins look like the view
    setAutoFillBackground(true);
    setFixedHeight(height);
}

void ParTextEdit::Set_Value(const QString& value)
{
    crlf_ = value.contains(QLatin1String("\r\n"));
    setPlainText(value);
}

void ParTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (source->hasText() && source->text().contains(QLatin1String("\r\n")))
        crlf_ = true;
    QPlainTextEdit::insertFromMimeData(source);
}

QString ParTextEdit::Value() const
{
    QString text = toPlainText();
    if (crlf_)
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

ParField Make_Par_Field(const ParKeyInfo& k, QWidget* parent)
{
    ParField f;
    if (k.octet == 1) {
        std::array<QString, 4> names;
        for (int i = 0; i < 4; ++i)
            names[size_t(i)] = Control_Name("E_", Par_Keys()[size_t(int(k.key) + i)]);
        auto* row = new OctetRow(parent, names, Octet_Width);
        f.widget = row;
        for (int i = 0; i < 4; ++i)
            f.controls.emplace_back(ParKey(int(k.key) + i), row->Field(i));
        return f;
    }
    switch (k.kind) {
    case ParKind::Flag:
        f.widget = new QCheckBox(parent);
        f.widget->setObjectName(Control_Name("CB_", k));
        break;
    case ParKind::Choice: {
        auto* list = new QComboBox(parent);
        list->setObjectName(Control_Name("CB_", k));
        list->addItems(Par_Choices(k.list));
        f.widget = list;
        break;
    }
    case ParKind::Text:
        if (k.multi_line) {
            f.widget = new ParTextEdit(parent);
        } else {
            auto* edit = new QLineEdit(parent);
            if (k.max_length > 0)
                edit->setMaxLength(k.max_length);
            f.widget = edit;
        }
        f.widget->setObjectName(Control_Name("E_", k));
        break;
    }
    f.controls.emplace_back(k.key, f.widget);
    return f;
}

QString Par_Field_Value(const ParKeyInfo& k, const QWidget* control)
{
    switch (k.kind) {
    case ParKind::Flag:
        return QLatin1String(static_cast<const QCheckBox*>(control)->isChecked() ? "1" : "0");
    case ParKind::Choice:
        return Par_Choices(k.list).value(static_cast<const QComboBox*>(control)->currentIndex());
    case ParKind::Text:
        break;
    }
    if (k.multi_line)
        return static_cast<const ParTextEdit*>(control)->Value();
    return static_cast<const QLineEdit*>(control)->text();
}

void Set_Par_Field_Value(const ParKeyInfo& k, QWidget* control, const QString& value)
{
    switch (k.kind) {
    case ParKind::Flag:
        static_cast<QCheckBox*>(control)->setChecked(value == QLatin1String("1"));
        return;
    case ParKind::Choice:
        static_cast<QComboBox*>(control)->setCurrentIndex(int(Par_Choices(k.list).indexOf(value)));
        return;
    case ParKind::Text:
        break;
    }
    if (k.multi_line)
        static_cast<ParTextEdit*>(control)->Set_Value(value);
    else
        static_cast<QLineEdit*>(control)->setText(value);
}

void On_Par_Field_Change(const ParKeyInfo& k, QWidget* control, QObject* context,
                         const std::function<void()>& changed)
{
    switch (k.kind) {
    case ParKind::Flag:
        QObject::connect(static_cast<QCheckBox*>(control), &QCheckBox::toggled, context, changed);
        return;
    case ParKind::Choice:
        QObject::connect(static_cast<QComboBox*>(control), &QComboBox::currentIndexChanged, context, changed);
        return;
    case ParKind::Text:
        break;
    }
    if (k.multi_line)
        QObject::connect(static_cast<ParTextEdit*>(control), &QPlainTextEdit::textChanged, context, changed);
    else
        QObject::connect(static_cast<QLineEdit*>(control), &QLineEdit::textChanged, context, changed);
}

CategoryPanel::CategoryPanel(QWidget* parent, const char* name) : QWidget(parent)
{
    setObjectName(QLatin1String(name));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    header_ = new Panel_Header(this);
    header_->setObjectName(QLatin1String(name) + QLatin1String("_Header"));
    header_->setCheckable(true);
    header_->setChecked(true);
    header_->setArrowType(Qt::DownArrow);
    header_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    header_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    header_->setFocusPolicy(Qt::StrongFocus);
    column->addWidget(header_);

    body_ = new QWidget(this);
    body_->setObjectName(QLatin1String(name) + QLatin1String("_Body"));
    form_ = new QFormLayout(body_);
    form_->setContentsMargins(10, 8, 10, Panel_Bottom_Margin);
    form_->setHorizontalSpacing(8);
    form_->setVerticalSpacing(6);
    form_->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form_->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form_->setRowWrapPolicy(QFormLayout::DontWrapRows);
    column->addWidget(body_);

    connect(header_, &QToolButton::toggled, this, [this](bool on) {
        header_->setArrowType(on ? Qt::DownArrow : Qt::RightArrow);
        body_->setVisible(on);
    });
}

bool CategoryPanel::Expanded() const
{
    return header_->isChecked();
}

void CategoryPanel::Set_Expanded(bool on)
{
    header_->setChecked(on);
}

} // namespace swr
