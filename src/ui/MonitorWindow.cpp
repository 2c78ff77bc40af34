#include "MonitorWindow.h"

#include "GridHelpers.h"
#include "WidgetKit.h"

#include "session/AppState.h"
#include "base/Messages.h"
#include "lang/Texts.h"
#include "project/mqtt/MqttTopics.h"
#include "project/pargen/ParGen.h"

#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace swr {

namespace {

enum Column { Col_Row, Col_Topic, Col_State, Col_Payload, Col_Age, Col_Count, Col_Interval, Column_Count };

// waiting, live, overdue, stale retained
const QColor State_Colours[] = {QColor(0xE0, 0xE0, 0xE0), QColor(0xB8, 0xE6, 0xB0), QColor(0xF4, 0xA8, 0x9C),
                                QColor(0xF6, 0xE0, 0x90)};

void Set_Cell(QTableWidget* g, int row, int col, const QString& text)
{
    QTableWidgetItem* it = g->item(row, col);
    if (!it) {
        it = new QTableWidgetItem(text);
        it->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        g->setItem(row, col, it);
    } else if (it->text() != text) {
        it->setText(text);
    }
}

} // namespace

TFMonitor::TFMonitor(const AppState& st, IMessages& msgs, const MQTT_Topic_Table& t, QWidget* parent,
                     const IClock& clock)
    : QDialog(parent), st_(st), msgs_(msgs)
{
    setObjectName(QStringLiteral("TFMonitor"));
    auto* column = new QVBoxLayout(this);
    L_Status = Named<QLabel>(this, "L_Status");
    L_Status->setWordWrap(true);
    L_Status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(L_Status);

    auto* split = new QSplitter(Qt::Vertical, this);
    ACG_Monitor = Named<QTableWidget>(split, "ACG_Monitor");
    ACG_Monitor->setColumnCount(Column_Count);
    ACG_Monitor->setSelectionBehavior(QAbstractItemView::SelectRows);
    ACG_Monitor->setSelectionMode(QAbstractItemView::SingleSelection);
    ACG_Monitor->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ACG_Monitor->verticalHeader()->hide();
    // The payload takes the room the other columns leave; they fit their titles.
    ACG_Monitor->horizontalHeader()->setSectionResizeMode(Col_Payload, QHeaderView::Stretch);
    ACG_Monitor->setWordWrap(false);
    for (const auto& [col, width] : {std::pair{Col_Row, 44}, {Col_Topic, 230}, {Col_State, 110}, {Col_Age, 70},
                                     {Col_Count, 70}, {Col_Interval, 100}})
        ACG_Monitor->setColumnWidth(col, width);
    auto* detail = new QWidget(split);
    auto* detailColumn = new QVBoxLayout(detail);
    detailColumn->setContentsMargins(0, 0, 0, 0);
    L_Payload = Named<QLabel>(detail, "L_Payload");
    E_Payload = Named<QPlainTextEdit>(detail, "E_Payload");
    E_Payload->setReadOnly(true);
    E_Payload->setFont(QFont(QStringLiteral("monospace")));
    detailColumn->addWidget(L_Payload);
    detailColumn->addWidget(E_Payload);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    column->addWidget(split, 1);

    Btn_Connect = Make_Button(this, "Btn_Connect");
    Btn_Disconnect = Make_Button(this, "Btn_Disconnect");
    column->addLayout(Button_Row({Btn_Connect, Btn_Disconnect}));
    connect(Btn_Connect, &QPushButton::clicked, this, &TFMonitor::Btn_ConnectClick);
    connect(Btn_Disconnect, &QPushButton::clicked, this, &TFMonitor::Btn_DisconnectClick);
    connect(ACG_Monitor, &QTableWidget::currentCellChanged, this, [this] { Show_Detail(); });

    // The broker as saved in the configuration; the rules as on the topic screen.
    ParGen m = ParGen_Defaults();
    const FileResult loaded = Load_ParGen(st, st.File_ParGen, m);
    monitor_ = std::make_unique<Monitor>(m, Monitor_Rules(t), clock);
    ACG_Monitor->setRowCount(int(monitor_->Rules().size()));
    shown_.seen.resize(monitor_->Rules().size());
    monitor_->Set_Notify([this] { QMetaObject::invokeMethod(this, [this] { Changed(); }, Qt::QueuedConnection); });

    slot_ = new QTimer(this);
    slot_->setSingleShot(true);
    connect(slot_, &QTimer::timeout, this, &TFMonitor::Refresh);
    ticker_ = new QTimer(this);
    ticker_->setInterval(500);
    connect(ticker_, &QTimer::timeout, this, &TFMonitor::Changed);
    ticker_->start();

    Set_Lang();
    resize(900, 560);
    if (loaded.ok)
        Btn_ConnectClick();
    else
        msgs_.Show_Error(loaded.message);
    Refresh();
    if (ACG_Monitor->rowCount() > 0)
        ACG_Monitor->setCurrentCell(0, Col_Topic);
}

TFMonitor::~TFMonitor()
{
    monitor_->Set_Notify({});
    monitor_->Stop();
}

void TFMonitor::Set_Lang()
{
    setWindowTitle(st_.Get_Lang_Text(Txt::Monitor_Title));
    QStringList titles;
    for (int c = 0; c < Column_Count; ++c)
        titles << st_.Get_Lang_Text(Txt::Monitor_Col_Row + c);
    ACG_Monitor->setHorizontalHeaderLabels(titles);
    Fit_Column_Titles(ACG_Monitor);
    Apply_Captions(st_, {{Btn_Connect, Txt::Btn_Monitor_Connect, Txt::Btn_Monitor_Connect_Hint},
                         {Btn_Disconnect, Txt::Btn_Monitor_Disconnect, Txt::Btn_Monitor_Disconnect_Hint}});
    if (monitor_)
        Refresh();
}

void TFMonitor::Btn_ConnectClick()
{
    QString error;
    if (!monitor_->Start(st_.Lang_Table, &error))
        msgs_.Show_Error(st_.Get_Lang_Text(Txt::Monitor_Not_Started).arg(error));
    Show_Buttons();
}

void TFMonitor::Btn_DisconnectClick()
{
    monitor_->Stop();
    Show_Buttons();
    Refresh();
}

void TFMonitor::Show_Buttons()
{
    Btn_Connect->setEnabled(!monitor_->Running());
    Btn_Disconnect->setEnabled(monitor_->Running());
}

// A change heard: shown now when the last repaint is long enough ago, else in the next slot.
void TFMonitor::Changed()
{
    if (slot_->isActive())
        return;
    const qint64 since = since_.isValid() ? since_.elapsed() : Min_Repaint_Ms;
    if (since >= Min_Repaint_Ms)
        Refresh();
    else
        slot_->start(int(Min_Repaint_Ms - since));
}

void TFMonitor::Refresh()
{
    slot_->stop();
    since_.start();
    ++refreshes_;
    const MonitorSnapshot s = monitor_->Take();
    const std::vector<MonitorRule>& rules = monitor_->Rules();
    ACG_Monitor->setUpdatesEnabled(false);
    for (size_t i = 0; i < rules.size(); ++i) {
        const int row = int(i);
        const MonitorLine l = Monitor_Line(st_.Lang_Table, rules[i], s.seen[i], s.now_ms);
        Set_Cell(ACG_Monitor, row, Col_Row, l.row);
        Set_Cell(ACG_Monitor, row, Col_Topic, l.topic);
        Set_Cell(ACG_Monitor, row, Col_State, l.state_text);
        Set_Cell(ACG_Monitor, row, Col_Payload, l.payload);
        Set_Cell(ACG_Monitor, row, Col_Age, l.age);
        Set_Cell(ACG_Monitor, row, Col_Count, l.count);
        Set_Cell(ACG_Monitor, row, Col_Interval, l.interval);
        QTableWidgetItem* state = ACG_Monitor->item(row, Col_State);
        const QColor colour = State_Colours[int(l.state)];
        if (state->background().color() != colour)
            state->setBackground(colour);
        if (rules[i].wildcard) {
            QTableWidgetItem* topic = ACG_Monitor->item(row, Col_Topic);
            topic->setForeground(QColor(0x90, 0x50, 0x00));
            topic->setToolTip(l.topic); // the flag is longer than the column
        }
    }
    ACG_Monitor->setUpdatesEnabled(true);
    const int current = ACG_Monitor->currentRow();
    const bool detailChanged = current >= 0 && size_t(current) < s.seen.size()
        && s.seen[size_t(current)].count != shown_.seen[size_t(current)].count;
    shown_ = s;
    if (detailChanged)
        Show_Detail();
    L_Status->setText(Monitor_Link_Line(st_.Lang_Table, *monitor_, s));
    Show_Buttons();
}

void TFMonitor::Show_Detail()
{
    const int row = ACG_Monitor->currentRow();
    if (row < 0 || size_t(row) >= shown_.seen.size()) {
        L_Payload->clear();
        E_Payload->clear();
        return;
    }
    const MonitorRule& r = monitor_->Rules()[size_t(row)];
    const RuleSeen& s = shown_.seen[size_t(row)];
    bool hex = false;
    Payload_Text(s.payload, &hex);
    QString label = r.topic;
    if (hex)
        label += QLatin1Char(' ') + st_.Get_Lang_Text(Txt::Monitor_Hex);
    L_Payload->setText(label);
    E_Payload->setPlainText(Payload_Detail(s.payload));
}

TFMonitor* Open_Monitor(const AppState& st, IMessages& msgs, const MQTT_Topic_Table& t, QWidget* parent)
{
    auto* w = new TFMonitor(st, msgs, t, parent);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    return w;
}

} // namespace swr
