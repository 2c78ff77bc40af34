#include "BrokerTestDialog.h"

#include "WidgetKit.h"

#include "session/AppState.h"
#include "broker/CertCheck.h"
#include "lang/Texts.h"

#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

namespace swr {

namespace {

const QColor Warning_Colour(0xB0, 0x50, 0x00);

} // namespace

TFBrokerTest::TFBrokerTest(const AppState& st, const ParGen& m, IResolver& resolver,
                           const BrokerTestOptions& options, QWidget* parent)
    : QDialog(parent), st_(st)
{
    setObjectName(QStringLiteral("TFBrokerTest"));
    setModal(true);
    setWindowTitle(st.Get_Lang_Text(Txt::Test_Dialog_Title));
    auto* column = new QVBoxLayout(this);
    L_Running = Named<QLabel>(this, "L_Running");
    L_Running->setText(st.Get_Lang_Text(Txt::Test_Running).arg(Broker_Host(m), QString::number(Broker_Port(m))));
    L_Running->setWordWrap(true);
    column->addWidget(L_Running);
    E_Stages = Named<QPlainTextEdit>(this, "E_Stages");
    E_Stages->setReadOnly(true);
    E_Stages->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    column->addWidget(E_Stages, 1);
    Btn_Close = Make_Button(this, "Btn_Close");
    Btn_Close->setText(st.Get_Lang_Text(Txt::ParGen_Cancel));
    column->addLayout(Button_Row({Btn_Close}));
    connect(Btn_Close, &QPushButton::clicked, this, [this] { finished_ ? accept() : reject(); });
    resize(520, 260);

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
    Btn_Close->setText(st_.Get_Lang_Text(Txt::ParGen_OK));
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
