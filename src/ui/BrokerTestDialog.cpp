#include "BrokerTestDialog.h"

#include "WidgetKit.h"

#include "session/AppState.h"
#include "broker/CertCheck.h"
#include "lang/Texts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

namespace swr {

namespace {

const QColor Warning_Colour(0xB0, 0x50, 0x00);

// The verdict's plate and ink. They differ in lightness as well as in hue, and the mark
// differs in shape, so the verdict reads the same in greyscale.
struct Verdict_Look {
    QColor plate;
    QColor ink;
    bool tick; // a tick for a working connection, a cross for a failed one
};
const Verdict_Look Passed_Look{QColor(0xd4, 0xef, 0xd9), QColor(0x0b, 0x4d, 0x1c), true};
const Verdict_Look Failed_Look{QColor(0x9e, 0x1b, 0x1b), QColor(Qt::white), false};

// The verdict's mark: a disc in the ink with a tick or a cross in the plate's colour.
QPixmap Verdict_Mark(const Verdict_Look& look, int size, qreal ratio)
{
    QPixmap pm(QSize(size, size) * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(look.ink);
    const QRectF disc(0.5, 0.5, size - 1, size - 1);
    p.drawEllipse(disc);
    p.setPen(QPen(look.plate, qMax<qreal>(2, size / 8.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal s = size;
    if (look.tick) {
        p.drawPolyline(QPolygonF{QPointF(s * 0.27, s * 0.52), QPointF(s * 0.44, s * 0.69), QPointF(s * 0.74, s * 0.34)});
    } else {
        p.drawLine(QPointF(s * 0.32, s * 0.32), QPointF(s * 0.68, s * 0.68));
        p.drawLine(QPointF(s * 0.68, s * 0.32), QPointF(s * 0.32, s * 0.68));
    }
    return pm;
}

} // namespace

TFBrokerTest::TFBrokerTest(const AppState& st, const ParGen& m, IResolver& resolver,
                           const BrokerTestOptions& options, QWidget* parent)
    : QDialog(parent), st_(st)
{
    setObjectName(QStringLiteral("TFBrokerTest"));
    setModal(true);
    setWindowTitle(st.Get_Lang_Text(Txt::Test_Dialog_Title));
    QVBoxLayout* column = Screen_Body(this, &P_Title);
    Set_Title_Strip(P_Title, st, st.Get_Lang_Text(Txt::Test_Dialog_Title));
    L_Running = Named<QLabel>(this, "L_Running");
    L_Running->setText(st.Get_Lang_Text(Txt::Test_Running).arg(Broker_Host(m), QString::number(Broker_Port(m))));
    L_Running->setWordWrap(true);
    column->addWidget(L_Running);
    P_Verdict = Named<QFrame>(this, "P_Verdict");
    P_Verdict->setAutoFillBackground(true);
    auto* verdict = new QHBoxLayout(P_Verdict);
    verdict->setContentsMargins(10, 8, 10, 8);
    I_Verdict = Named<QLabel>(P_Verdict, "I_Verdict");
    L_Verdict = Named<QLabel>(P_Verdict, "L_Verdict");
    QFont bold = L_Verdict->font();
    bold.setBold(true);
    if (bold.pointSizeF() > 0)
        bold.setPointSizeF(bold.pointSizeF() * 1.2);
    L_Verdict->setFont(bold);
    L_Verdict->setWordWrap(true);
    verdict->addWidget(I_Verdict);
    verdict->addWidget(L_Verdict, 1);
    P_Verdict->hide();
    column->addWidget(P_Verdict);
    E_Stages = Named<QPlainTextEdit>(this, "E_Stages");
    E_Stages->setReadOnly(true);
    E_Stages->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    column->addWidget(E_Stages, 1);
    Btn_Close = Make_Button(this, "Btn_Close");
    Btn_Close->setText(st.Get_Lang_Text(Txt::ParGen_Cancel));
    column->addLayout(Button_Row({Btn_Close}));
    connect(Btn_Close, &QPushButton::clicked, this, [this] { finished_ ? accept() : reject(); });
    resize(520, 320);

    // The worker reads its own copy of the values; what it finds comes back queued, so the
    // window keeps painting meanwhile.
    worker_ = QThread::create([this, m, &resolver, options] {
        const BrokerTestResult r = Run_Broker_Test(m, resolver, options, &cancel_, [this](const BrokerStage& s) {
            QMetaObject::invokeMethod(this, [this, s] { Stage_Passed(s); }, Qt::QueuedConnection);
        });
        QMetaObject::invokeMethod(this, [this, r] { Test_Finished(r); }, Qt::QueuedConnection);
    });
    worker_->start();
}

TFBrokerTest::~TFBrokerTest()
{
    cancel_ = true;
    Wait_For_Worker();
}

void TFBrokerTest::Wait_For_Worker()
{
    if (worker_) {
        worker_->wait();
        delete worker_;
        worker_ = nullptr;
    }
}

QStringList TFBrokerTest::Lines() const { return lines_; }

void TFBrokerTest::Stage_Passed(const BrokerStage& s)
{
    lines_ << Broker_Stage_Line(st_.Lang_Table, s);
    E_Stages->appendPlainText(lines_.constLast());
}

void TFBrokerTest::Test_Finished(const BrokerTestResult& r)
{
    Wait_For_Worker();
    result_ = r;
    finished_ = true;
    lines_ << st_.Get_Lang_Text(r.Accepted() ? Txt::Test_Passed : Txt::Test_Failed);
    E_Stages->appendPlainText(lines_.constLast());
    L_Running->setText(QString());
    L_Running->hide();
    Show_Verdict(r.Accepted());
    Btn_Close->setText(st_.Get_Lang_Text(Txt::ParGen_OK));
    // Enter now closes the window; while the test ran it did nothing.
    Btn_Close->setDefault(true);
    Btn_Close->setFocus(Qt::OtherFocusReason);
}

void TFBrokerTest::Show_Verdict(bool passed)
{
    const Verdict_Look& look = passed ? Passed_Look : Failed_Look;
    QPalette pal = P_Verdict->palette();
    pal.setColor(QPalette::Window, look.plate);
    pal.setColor(QPalette::WindowText, look.ink);
    P_Verdict->setPalette(pal);
    P_Verdict->setProperty("verdict", QLatin1String(passed ? "passed" : "failed"));
    L_Verdict->setText(lines_.constLast());
    const int mark = QFontMetrics(L_Verdict->font()).height() + 8;
    I_Verdict->setPixmap(Verdict_Mark(look, mark, devicePixelRatioF()));
    I_Verdict->setAccessibleName(lines_.constLast());
    P_Verdict->show();
}

void TFBrokerTest::reject()
{
    if (!finished_) {
        // The stages look at the flag every few milliseconds; the verdict line follows.
        cancel_ = true;
        return;
    }
    QDialog::reject();
}

TlsFieldSummaries::TlsFieldSummaries(QFormLayout* form, const std::map<ParKey, QWidget*>& controls)
    : form_(form), fields_(controls)
{
    for (const auto& [key, field] : fields_) {
        int row = -1;
        QFormLayout::ItemRole role;
        form->getWidgetPosition(field, &row, &role);
        auto* l = new QLabel(field->parentWidget());
        l->setObjectName(QLatin1String("L_Check_") + QLatin1String(Par_Key_Info(key).name));
        l->setWordWrap(true);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->insertRow(row + 1, l); // across both columns, so that it mostly takes one line
        form->setRowVisible(l, false);
        labels_[key] = l;
    }
}

QLabel* TlsFieldSummaries::Summary(ParKey k) const
{
    const auto it = labels_.find(k);
    return it == labels_.end() ? nullptr : it->second;
}

void TlsFieldSummaries::Update(const AppState& st, const ParGen& m)
{
    const TlsFieldsCheck c = Check_Tls_Fields(m);
    struct Line {
        ParKey key;
        QString text;
        bool problem;
    };
    const Line lines[] = {
        {ParKey::TLS_Server_Auth_Certificate, Cert_Summary(st.Lang_Table, c.server), c.server.Problem()},
        {ParKey::TLS_Client_Auth_Certificate, Cert_Summary(st.Lang_Table, c.client), c.client.Problem()},
        {ParKey::TLS_Client_Auth_Key, Key_Summary(st.Lang_Table, c.key), c.key.Problem()},
    };
    for (const Line& l : lines) {
        QLabel* label = Summary(l.key);
        if (!label)
            continue;
        label->setText(l.text);
        label->setProperty("tlsWarning", l.problem);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, l.problem ? Warning_Colour : form_->parentWidget()->palette().color(QPalette::WindowText));
        label->setPalette(p);
        form_->setRowVisible(label, !l.text.isEmpty() && Par_Key_Visible(m, l.key));
    }
}

} // namespace swr
