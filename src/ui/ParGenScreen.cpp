#include "ParGenScreen.h"

#include "BrokerTestDialog.h"
#include "OctetRow.h"
#include "ParGenFields.h"
#include "UndoSteps.h"

#include "session/AppState.h"
#include "base/Messages.h"
#include "lang/Texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace swr {

namespace {

constexpr int Client_Width = 460;
constexpr int Client_Height = 700;
constexpr int Wheel_Notch = 120;

// The panels in display order, each with its caption's text.
struct PanelInfo {
    ParGroup group;
    const char* name;
    int caption;
    CategoryPanel* TFParGen::*member;
};

constexpr PanelInfo Panels[] = {
    {ParGroup::Ethernet_Connection, "CP_Ethernet_Connection", 1121, &TFParGen::CP_Ethernet_Connection},
    {ParGroup::MQTT, "CP_MQTT", 562, &TFParGen::CP_MQTT},
    {ParGroup::Serial, "CP_RS232", 589, &TFParGen::CP_RS232},
    {ParGroup::TLS, "CP_TLS", 1100, &TFParGen::CP_TLS},
    {ParGroup::NTP, "CP_NTP", 1115, &TFParGen::CP_NTP},
    {ParGroup::Ethernet, "CP_Ethernet", 517, &TFParGen::CP_Ethernet},
};

// Whether key k's control stands in the label column of another key's row.
bool Is_Label_Key(ParKey k)
{
    for (const ParKeyInfo& i : Par_Keys())
        if (i.label_key == k)
            return true;
    return false;
}

// Runs the layout requests now, so geometry is final before the view scrolls to a field.
void Settle_Layouts()
{
    for (int i = 0; i < 4; ++i)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

// Whether a key takes the screen's undo or redo, which the fields leave to the screen.
bool Is_Undo_Key(const QKeyEvent* k)
{
    return k->matches(QKeySequence::Undo) || k->matches(QKeySequence::Redo)
           || k->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y);
}

using Put = std::function<void(ParKey, const QString&, bool)>;

// One edit of a field: its value before and after, and whether the value before was the
// user's. Typing on in the same text field adds to the step.
class Field_Step : public QUndoCommand {
public:
    Field_Step(const QString& name, ParKey k, QString before, bool edited, QString after, Put put)
        : QUndoCommand(name), key_(k), before_(std::move(before)), after_(std::move(after)), edited_(edited),
          put_(std::move(put))
    {
    }
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* o = static_cast<const Field_Step*>(other);
        if (o->key_ != key_ || Par_Key_Info(key_).kind != ParKind::Text)
            return false;
        after_ = o->after_;
        return true;
    }
    void undo() override { put_(key_, before_, edited_); }
    void redo() override
    {
        if (pushed_)
            put_(key_, after_, true);
        pushed_ = true;
    }

private:
    ParKey key_;
    QString before_, after_;
    bool edited_;
    Put put_;
    bool pushed_ = false; // the push's redo finds the value in the field already
};

} // namespace

TFParGen::TFParGen(AppState& st, IMessages& msg, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Undo_Stack(new QUndoStack(this)), st_(st), msg_(msg), loaded_(ParGen_Defaults())
{
    setObjectName(QStringLiteral("TFParGen"));
    setModal(true);
    connect(Undo_Stack, &QUndoStack::cleanChanged, this, [this](bool clean) { Is_Change = !clean; });
    Attach_Undo_Keys(this, [this] { Undo_Stack->undo(); }, [this] { Undo_Stack->redo(); });
    QVBoxLayout* outer = Screen_Layout(this, &P_Title);

    CPG = Named<QScrollArea>(this, "CPG");
    CPG->setWidgetResizable(true);
    CPG->setFrameShape(QFrame::NoFrame);
    CPG->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    CPG->verticalScrollBar()->setSingleStep(20);
    // The area is given its content before the fields exist, so the keyboard order is the
    // order in which they are made: panel by panel, top to bottom.
    auto* area = new QWidget;
    area->setObjectName(QStringLiteral("CPG_Area"));
    CPG->setWidget(area);
    outer->addWidget(CPG, 1);
    Order_TAB_Panels(area);
    Broker_Resolver = &System_Resolver();
    // The broker test closes the MQTT panel; each TLS field has its check summary below it.
    Btn_Test_Connection = Make_Button(CP_MQTT->Body(), "Btn_Test_Connection");
    CP_MQTT->Form()->addRow(QString(), Btn_Test_Connection);
    QWidget::setTabOrder(Control(ParKey::MQTT_Password), Btn_Test_Connection);
    connect(Btn_Test_Connection, &QPushButton::clicked, this, &TFParGen::Btn_Test_ConnectionClick);
    tls_summaries_ = std::make_unique<TlsFieldSummaries>(
        CP_TLS->Form(), std::map<ParKey, QWidget*>{
                            {ParKey::TLS_Server_Auth_Certificate, Control(ParKey::TLS_Server_Auth_Certificate)},
                            {ParKey::TLS_Client_Auth_Certificate, Control(ParKey::TLS_Client_Auth_Certificate)},
                            {ParKey::TLS_Client_Auth_Key, Control(ParKey::TLS_Client_Auth_Key)}});

    auto* strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("P_Button"));
    strip->setFrameShape(QFrame::NoFrame);
    Btn_OK = Make_Button(strip, "Btn_OK");
    Btn_Cancel = Make_Button(strip, "Btn_Cancel");
    QHBoxLayout* buttons = Button_Row({Btn_OK, Btn_Cancel});
    buttons->setContentsMargins(12, 8, 12, 8);
    strip->setLayout(buttons);
    outer->addWidget(strip);
    connect(Btn_OK, &QPushButton::clicked, this, &TFParGen::Btn_OKClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &TFParGen::reject);

    // The wheel over the panel area scrolls the area, also over a list or an edit.
    CPG->viewport()->installEventFilter(this);
    for (QWidget* w : area->findChildren<QWidget*>())
        w->installEventFilter(this);

    Set_Lang();
    Fill(loaded_);
    setFixedSize(Client_Width, Client_Height);
}

TFParGen::~TFParGen()
{
    // The history goes with the window's children, after this screen's own part: it must
    // not report its last change back to a screen that is already gone.
    QObject::disconnect(Undo_Stack, nullptr, this, nullptr);
}

void TFParGen::Order_TAB_Panels(QWidget* area)
{
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    for (const PanelInfo& p : Panels) {
        auto* panel = new CategoryPanel(area, p.name);
        this->*p.member = panel;
        panels_[size_t(p.group) - 1] = panel;
        column->addWidget(panel);
        for (const ParKeyInfo& k : Par_Keys())
            if (k.group == p.group && k.shown && k.octet <= 1 && !Is_Label_Key(k.key))
                Add_Row(panel, k);
    }
    column->addStretch(1);
    // The "." key goes on from the fourth octet of a row to the next row of its chain.
    for (const Row& r : rows_)
        if (auto* octets = qobject_cast<OctetRow*>(r.field))
            if (const std::optional<ParKey> next = Par_Dot_Next(ParKey(int(r.key->key) + 3)))
                octets->Chain_To(qobject_cast<QLineEdit*>(Control(*next)));
}

void TFParGen::Add_Row(CategoryPanel* panel, const ParKeyInfo& k)
{
    QWidget* body = panel->Body();
    QWidget* label = nullptr;
    if (k.label_key) {
        const ParField head = Make_Par_Field(Par_Key_Info(*k.label_key), body);
        Bind(head);
        label = head.widget;
    }
    const ParField f = Make_Par_Field(k, body);
    Bind(f);
    if (!label && k.kind == ParKind::Flag) {
        panel->Form()->addRow(f.widget); // a check box carries its own caption
    } else {
        if (!label) {
            auto* l = new QLabel(body);
            l->setObjectName(QLatin1String("L_") + QLatin1String(k.name));
            l->setBuddy(f.controls.front().second);
            label = l;
        }
        panel->Form()->addRow(label, f.widget);
    }
    rows_.push_back({&k, panel, label, f.widget});
}

void TFParGen::Bind(const ParField& f)
{
    for (const auto& [key, control] : f.controls) {
        controls_[size_t(key)] = control;
        On_Par_Field_Change(Par_Key_Info(key), control, this, [this, key = key] { On_Change(key); });
    }
}

void TFParGen::Set_Lang()
{
    setWindowTitle(st_.Get_Lang_Text(Txt::ParGen_Title));
    Set_Title_Strip(P_Title, st_, st_.Get_Lang_Text(Txt::ParGen_Description));
    for (const PanelInfo& p : Panels)
        Panel(p.group)->Header()->setText(QString::number(int(p.group)) + QLatin1String(". ")
                                          + st_.Get_Lang_Text(p.caption));
    const auto text = [this](int i) { return i >= 0 ? st_.Get_Lang_Text(i) : QString(); };
    for (const ParKeyInfo& k : Par_Keys()) {
        if (QWidget* c = Control(k.key))
            Apply_Caption(c, k.kind == ParKind::Flag ? text(k.label) : QString(), text(k.hint));
    }
    for (const Row& r : rows_)
        if (qobject_cast<QLabel*>(r.label))
            Apply_Caption(r.label, text(r.key->label), text(r.key->hint));
    Apply_Captions(st_, {{Btn_OK, Txt::ParGen_OK, Txt::ParGen_OK_Hint},
                         {Btn_Cancel, Txt::ParGen_Cancel, Txt::ParGen_Cancel_Hint},
                         {Btn_Test_Connection, Txt::Btn_Test_Connection, Txt::Btn_Test_Connection_Hint}});
    if (tls_summaries_)
        tls_summaries_->Update(st_, Values());
    Fit_When_Shown(this, [this] {
        Align_Labels();
        Fit_Width();
    });
}

// The label columns of all panels as wide as the widest label, so every panel's fields
// start at the same place.
void TFParGen::Align_Labels()
{
    int width = 0;
    for (const Row& r : rows_)
        if (r.label) {
            r.label->setMinimumWidth(0);
            width = std::max(width, r.label->sizeHint().width());
        }
    for (const Row& r : rows_)
        if (r.label)
            r.label->setMinimumWidth(width);
}

// As wide as the widest row of the panels needs (a long translation of a check box, say),
// never narrower than the screen's own width; the panels scroll only up and down.
void TFParGen::Fit_Width()
{
    QWidget* area = CPG->widget();
    area->layout()->activate();
    const int need = area->minimumSizeHint().width() + CPG->verticalScrollBar()->sizeHint().width()
                     + 2 * CPG->frameWidth();
    setFixedWidth(std::max(Client_Width, need));
}

int TFParGen::Execute()
{
    return Exec_After_Load(this, [this] { return FormShow(); });
}

bool TFParGen::FormShow()
{
    ParGen m;
    const FileResult r = Load_ParGen(st_, st_.File_ParGen, m);
    if (!r.ok) {
        msg_.Show_Error(r.message);
        return false;
    }
    Fill(m);
    for (CategoryPanel* p : panels_)
        p->Set_Expanded(true);
    CPG->verticalScrollBar()->setValue(0);
    if (QWidget* first = Control(ParKey::Eth_Conn_Device_Name))
        first->setFocus();
    return true;
}

// Puts m into the fields as the unchanged state of the screen, then applies the rules.
void TFParGen::Fill(const ParGen& m)
{
    loaded_ = m;
    loading_ = true;
    for (size_t i = 0; i < Par_Key_Count; ++i)
        if (controls_[i])
            Set_Par_Field_Value(Par_Keys()[i], controls_[i], m.values[i]);
    loading_ = false;
    for (size_t i = 0; i < Par_Key_Count; ++i)
        if (controls_[i])
            shown_[i] = Par_Field_Value(Par_Keys()[i], controls_[i]);
    edited_.reset();
    Undo_Stack->clear();
    Is_Change = false;
    Unmark();
    Move_GroupBoxs();
}

ParGen TFParGen::Values() const
{
    // A value not edited since the load is written back exactly as it was read, also where
    // its control cannot show it as it is (a device name longer than the field takes).
    ParGen m = loaded_;
    for (size_t i = 0; i < Par_Key_Count; ++i)
        if (controls_[i] && edited_[i])
            m.values[i] = Par_Field_Value(Par_Keys()[i], controls_[i]);
    return m;
}

void TFParGen::On_Change(ParKey k)
{
    if (loading_)
        return;
    const size_t i = size_t(k);
    const QString value = Par_Field_Value(Par_Key_Info(k), controls_[i]);
    if (value != shown_[i]) {
        Undo_Stack->push(new Field_Step(st_.Get_Lang_Text(Txt::Step_Edit), k, shown_[i], edited_[i], value,
                                        [this](ParKey key, const QString& v, bool edited) { Put_Field(key, v, edited); }));
        shown_[i] = value;
    }
    edited_.set(i);
    Changed(k);
}

void TFParGen::Changed(ParKey k)
{
    if (marked_ == Control(k))
        Unmark();
    if (Par_Key_Drives_Rules(k))
        Move_GroupBoxs();
    else if (Par_Key_Info(k).group == ParGroup::TLS)
        tls_summaries_->Update(st_, Values());
}

void TFParGen::Put_Field(ParKey k, const QString& value, bool edited)
{
    QWidget* c = Control(k);
    loading_ = true;
    Set_Par_Field_Value(Par_Key_Info(k), c, value);
    loading_ = false;
    shown_[size_t(k)] = value;
    edited_.set(size_t(k), edited);
    Changed(k);
    Panel(Par_Key_Info(k).group)->Set_Expanded(true);
    Settle_Layouts();
    CPG->ensureWidgetVisible(c, 24, 48);
    c->setFocus(Qt::OtherFocusReason);
}

namespace {

// Shows or hides a row of a panel's form. A row already so is left alone: showing a row
// polishes its widgets at once, also while the screen is hidden, as when it is made.
void Show_Row(QFormLayout* form, QWidget* field, bool on)
{
    const auto shown = [](const QWidget* w) {
        return !(w->testAttribute(Qt::WA_WState_ExplicitShowHide) && w->testAttribute(Qt::WA_WState_Hidden));
    };
    const QWidget* label = form->labelForField(field);
    if (shown(field) == on && (!label || shown(label) == on))
        return;
    form->setRowVisible(field, on);
}

} // namespace

void TFParGen::Move_GroupBoxs()
{
    const ParGen m = Values();
    for (const Row& r : rows_) {
        const bool enabled = Par_Key_Enabled(m, r.key->key);
        Show_Row(r.panel->Form(), r.field, Par_Key_Visible(m, r.key->key));
        r.field->setEnabled(enabled);
        if (qobject_cast<QLabel*>(r.label))
            r.label->setEnabled(enabled);
        else if (r.label)
            r.label->setEnabled(Par_Key_Enabled(m, *r.key->label_key));
    }
    if (tls_summaries_)
        tls_summaries_->Update(st_, m);
}

void TFParGen::Btn_Test_ConnectionClick()
{
    TFBrokerTest d(st_, Values(), *Broker_Resolver, {}, this);
    d.exec();
}

void TFParGen::Btn_OKClick()
{
    const ParGen m = Values();
    Check_Save_Accept(
        this, msg_, Data_Check(st_, m), [this](const Check_Finding& e) { Show_Failed(ParKey(e.key)); },
        [this, &m] { return Save_ParGen(st_, st_.File_ParGen, m); });
}

// Brings the field the check failed on into view and marks it until it is edited; the
// input focus stays where it is.
void TFParGen::Show_Failed(ParKey k)
{
    QWidget* c = Control(k);
    if (!c)
        return;
    Unmark();
    Panel(Par_Key_Info(k).group)->Set_Expanded(true);
    marked_ = c;
    marked_palette_ = c->palette();
    QPalette p = marked_palette_;
    p.setColor(QPalette::Base, QColor(0xFF, 0xD8, 0xD8));
    c->setPalette(p);
    c->setProperty("parInvalid", true);
    Settle_Layouts();
    CPG->ensureWidgetVisible(c, 24, 48);
}

void TFParGen::Unmark()
{
    if (!marked_)
        return;
    marked_->setPalette(marked_palette_);
    marked_->setProperty("parInvalid", false);
    marked_ = nullptr;
}

void TFParGen::reject()
{
    if (Is_Change && !msg_.Ask_Yes_No(st_.Get_Lang_Text(Txt::ParGen_Exit_Unsaved)))
        return;
    QDialog::reject();
}

bool TFParGen::event(QEvent* e)
{
    // A window whose top edge is above the screen is moved down to it when it is activated.
    if (e->type() == QEvent::WindowActivate)
        if (QScreen* s = screen(); s && frameGeometry().top() < s->availableGeometry().top())
            move(x(), s->availableGeometry().top());
    return QDialog::event(e);
}

bool TFParGen::eventFilter(QObject* watched, QEvent* e)
{
    // A field's own undo would take back a keystroke as a new edit; the screen's steps go
    // back to the loaded values.
    if (e->type() == QEvent::ShortcutOverride && Is_Undo_Key(static_cast<QKeyEvent*>(e)))
        return true;
    if (e->type() == QEvent::Wheel) {
        FormMouseWheel(static_cast<QWheelEvent*>(e)->angleDelta().y());
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

// The wheel scrolls the panel area by the system's wheel-scroll lines per notch: up when
// it turns away from the user. Finer steps (touch pads) add up to whole notches.
void TFParGen::FormMouseWheel(int delta)
{
    const int lines = QApplication::wheelScrollLines();
    if (lines < 1)
        return;
    wheel_ += delta;
    QScrollBar* bar = CPG->verticalScrollBar();
    for (; wheel_ >= Wheel_Notch; wheel_ -= Wheel_Notch)
        for (int i = 0; i < lines; ++i)
            bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    for (; wheel_ <= -Wheel_Notch; wheel_ += Wheel_Notch)
        for (int i = 0; i < lines; ++i)
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
}

} // namespace swr
