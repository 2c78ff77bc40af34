#include "About.h"

#include "Desktop.h"
#include "WidgetKit.h"

#include "session/AppState.h"
#include "base/Browser.h"
#include "base/Maker.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIconEngine>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace swr {

namespace {

// The maker's logo: its name on the band colour of the title strips, drawn in a 96 × 96 box.
void Draw_Maker_Logo(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1f, 0x3b, 0x5a));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 92, 92), 14, 14);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(44);
    p.setFont(f);
    p.drawText(QRectF(0, 0, 96, 70), Qt::AlignCenter, QStringLiteral("N"));
    f.setPixelSize(13);
    p.setFont(f);
    p.drawText(QRectF(0, 60, 96, 28), Qt::AlignCenter, QStringLiteral("NORVEX"));
}

// The logo as an icon drawn when it is first shown, not when the window is made: its two
// large fonts are not loaded at start-up.
class Maker_Logo final : public QIconEngine {
public:
    void paint(QPainter* p, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        p->save();
        p->translate(rect.topLeft());
        p->scale(rect.width() / 96.0, rect.height() / 96.0);
        Draw_Maker_Logo(*p);
        p->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap logo(size);
        logo.fill(Qt::transparent);
        QPainter p(&logo);
        paint(&p, QRect(QPoint(), size), mode, state);
        return logo;
    }
    QIconEngine* clone() const override { return new Maker_Logo; }
};

} // namespace

TFAbout::TFAbout(const AppState& st, IBrowser& browser, QWidget* parent)
    : QDialog(parent), browser_(browser)
{
    setObjectName(QStringLiteral("TFAbout"));
    setModal(true);
    setWindowTitle(QStringLiteral("About..."));

    Image2 = Named<QToolButton>(this, "Image2");
    Image2->setIcon(QIcon(new Maker_Logo));
    Image2->setIconSize(QSize(96, 96));
    Image2->setAutoRaise(true);
    Image2->setCursor(Qt::PointingHandCursor);
    Image2->setFocusPolicy(Qt::NoFocus); // the address takes the keyboard
    connect(Image2, &QToolButton::clicked, this, &TFAbout::Open_Home_Page);

    const auto label = [this](const char* name, const QString& text, bool bold = false) {
        auto* l = Named<QLabel>(this, name);
        l->setText(text);
        if (bold) {
            QFont f = l->font();
            f.setBold(true);
            f.setPointSizeF(f.pointSizeF() * 1.2);
            l->setFont(f);
        }
        return l;
    };
    Label1 = label("Label1", QStringLiteral("Software Konstrel "), true);
    Label2 = label("Label2", st.Product_Description, true);
    Label3 = label("Label3", QStringLiteral("Version :"));
    Label10 = label("Label10", QString::fromLatin1(Program_Version));
    Label6 = label("Label6", QStringLiteral("Software Code : "));
    Label9 = label("Label9", QStringLiteral("SWR2305"));
    Label8 = label("Label8", QStringLiteral("Document Code :"));
    Label12 = label("Label12", QStringLiteral("VOR2305"));
    Label4 = Named<QLabel>(this, "Label4");
    Label4->setText(Html_Link(Maker_Home_Page(), Maker_Web_Address()));
    Label4->setTextInteractionFlags(Qt::TextBrowserInteraction);
    Label4->setAccessibleName(Maker_Web_Address());
    connect(Label4, &QLabel::linkActivated, this, &TFAbout::Open_Home_Page);
    Image2->setAccessibleName(Maker_Web_Address());
    Image2->setToolTip(Maker_Web_Address());

    auto* facts = new QGridLayout;
    facts->setHorizontalSpacing(12);
    facts->setVerticalSpacing(6);
    int row = 0;
    for (auto [name, value] : {std::pair{Label3, Label10}, std::pair{Label6, Label9}, std::pair{Label8, Label12}}) {
        facts->addWidget(name, row, 0);
        facts->addWidget(value, row, 1);
        ++row;
    }
    facts->setColumnStretch(1, 1);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(8);
    texts->addWidget(Label1);
    texts->addWidget(Label2);
    texts->addSpacing(8);
    texts->addLayout(facts);
    texts->addSpacing(8);
    texts->addWidget(Label4);
    texts->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(20);
    top->addWidget(Image2, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    Btn_OK = Named<QPushButton>(this, "Btn_OK");
    Btn_OK->setText(QStringLiteral("OK"));
    Btn_OK->setDefault(true);
    connect(Btn_OK, &QPushButton::clicked, this, &QDialog::accept);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(20, 20, 20, 16);
    outer->addLayout(top, 1);
    outer->addLayout(Button_Row({Btn_OK}));
    Fit_When_Shown(this, [this] {
        layout()->activate();
        setFixedSize(sizeHint().expandedTo(QSize(420, 240)));
    });
}

void TFAbout::Open_Home_Page()
{
    browser_.Open_Url(Maker_Home_Page());
}

} // namespace swr
