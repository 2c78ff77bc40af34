#include "MqttTopicScreen.h"

#include "DataAreaMap.h"
#include "GridHelpers.h"
#include "MonitorWindow.h"
#include "TopicTemplate.h"

#include "session/AppState.h"
#include "base/Messages.h"
#include "compiler/ParameterBank.h"
#include "lang/Texts.h"
#include "project/DataAreaMap.h"
#include "project/nmea/NmeaAccess.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace swr {

namespace {

constexpr int Client_Width = 1100;
constexpr int Client_Height = 337;

// Widths of the publish grid's shown columns, by attribute; the last column takes the rest.
constexpr struct {
    const char* name;
    int width;
} Pub_Widths[] = {
    {"Topic", 190}, {"Retained", 64}, {"QoS", 44},     {"DataType", 76}, {"Dimension", 72},
    {"Position", 62}, {"Template", 170}, {"OnChange", 72}, {"OnTimer", 64}, {"Time", 64},
};

QTableView* Make_Grid(QWidget* page, const char* name)
{
    auto* grid = Make_Grid_View(page, name);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid);
    grid->verticalHeader()->setDefaultSectionSize(22);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setWordWrap(false);
    return grid;
}

bool Is_Ctrl_Enter(const QKeyEvent* k)
{
    return (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && (k->modifiers() & Qt::ControlModifier);
}

} // namespace

TFMQTT_Set_Topic::TFMQTT_Set_Topic(AppState& st, IMessages& msg, TFTopicTemplate* FTopicTemplate, QWidget* parent)
    : TableScreen(st, msg, {Txt::MQTT_Title, Txt::MQTT_Delete_Row, Row_Form::Text, &Map_Finding::rule_rows}, parent),
      FTopicTemplate_(FTopicTemplate)
{
    QVBoxLayout* outer = Topic_Screen_Frame(this, "TFMQTT_Set_Topic", {Client_Width, Client_Height}, &P_Title);

    PageControl1 = Named<QTabWidget>(this, "PageControl1");
    TS_MQTT_Publish = Named<QWidget>(PageControl1, "TS_MQTT_Publish");
    TS_MQTT_Subscribe = Named<QWidget>(PageControl1, "TS_MQTT_Subscribe");
    ACG_Pub = Make_Grid(TS_MQTT_Publish, "ACG_Pub");
    ACG_Sub = Make_Grid(TS_MQTT_Subscribe, "ACG_Sub");
    PageControl1->addTab(TS_MQTT_Publish, QString());
    PageControl1->addTab(TS_MQTT_Subscribe, QString());
    PageControl1->setTabVisible(1, false); // this product offers no subscribe rules
    auto* pages = new QHBoxLayout;
    pages->setContentsMargins(8, 0, 8, 0);
    pages->addWidget(PageControl1);
    outer->addLayout(pages, 1);

    Pub_Model = new MqttPublishModel(st_, Table.Pub, Publish_Columns, this);
    Sub_Model = new MqttSubscribeModel(st_, Table.Sub, Subscribe_Columns, this);
    Add_Grid({ACG_Pub, Pub_Model, Txt::Pub_Number_Header, Txt::MQTT_Publish_Page, &Do_Copy_Pub});
    Add_Grid({ACG_Sub, Sub_Model, Txt::Sub_Number_Header, Txt::MQTT_Subscribe_Page, &Do_Copy_Sub});
    for (const auto& w : Pub_Widths)
        ACG_Pub->setColumnWidth(Grid_Column(Publish_Columns, w.name) - 1, w.width);
    Pub_Model->marker = [this](int row) { return Pub_Marker(row); };
    // Read after the conveniences so that Ctrl+Enter reaches the template editor first.
    for (QTableView* grid : {ACG_Pub, ACG_Sub}) {
        grid->installEventFilter(this);
        grid->viewport()->installEventFilter(this);
    }

    status_timer_ = new QTimer(this);
    status_timer_->setSingleShot(true);
    status_timer_->setInterval(0); // once after a burst of changes
    connect(status_timer_, &QTimer::timeout, this, &TFMQTT_Set_Topic::Update_Status);
    connect(Pub_Model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from, const QModelIndex& to) {
        for (int r = from.row(); r <= to.row(); ++r)
            markers_[r].reset();
        if (!status_timer_->isActive())
            status_timer_->start();
    });
    connect(Pub_Model, &QAbstractItemModel::modelReset, this, [this] {
        for (std::optional<Row_Marker>& m : markers_)
            m.reset();
    });

    setTabOrder(PageControl1, ACG_Pub);
    Btn_Monitor = Make_Button(this, "Btn_Monitor");
    connect(Btn_Monitor, &QPushButton::clicked, this, &TFMQTT_Set_Topic::Btn_MonitorClick);
    QHBoxLayout* bottom = Button_Bar(ACG_Pub, {Btn_Monitor}, 24);
    bottom->setContentsMargins(12, 0, 12, 0);
    bottom->insertWidget(0, L_Status, 1);
    L_Status->setWordWrap(true); // a long translation beside the buttons takes two lines
    outer->addLayout(bottom);
    Set_Lang();
}

TFMQTT_Set_Topic::~TFMQTT_Set_Topic()
{
    // The models show Table, which goes before the grids do.
    ACG_Pub->setModel(nullptr);
    ACG_Sub->setModel(nullptr);
    delete Pub_Model;
    delete Sub_Model;
}

void TFMQTT_Set_Topic::Set_Lang()
{
    Apply_Captions(st_, {{Btn_Monitor, Txt::Btn_Monitor, Txt::Btn_Monitor_Hint}});
    PageControl1->setTabText(0, st_.Get_Lang_Text(Txt::MQTT_Publish_Page));
    PageControl1->setTabText(1, st_.Get_Lang_Text(Txt::MQTT_Subscribe_Page));
    TableScreen::Set_Lang();
}

int TFMQTT_Set_Topic::Show_Topics()
{
    return Exec_After_Load(this, [this] { return FormShow(); });
}

bool TFMQTT_Set_Topic::FormShow()
{
    Byte_IN = Data_Area_Size;
    Byte_OUT = Data_Area_Size;
    PageControl1->setCurrentWidget(TS_MQTT_Publish);

    // What the rules are compared with: the listener rows that fill the data area, and
    // the part of bank 3 the communication parameters take.
    NMEA_Listener_Table listeners;
    listeners_read_ = Load_Compiled_Listeners(st_, st_.File_NMEA_Access, st_.File_ParGen, listeners).ok;
    listeners_ = listeners_read_ ? Listener_Uses(listeners) : QList<Data_Area_Use>{};
    broker_ = TMQTT{};
    Read_MQTT_Parameters(st_, st_.File_ParGen, broker_);

    FileResult r;
    Pub_Model->Reset([&] {
        Sub_Model->Reset([&] {
            r = Load_MQTT_Topic(st_, st_.File_MQTT_Topic, Table);
            Table.Byte_IN = Byte_IN;
            Table.Byte_OUT = Byte_OUT;
        });
    });
    Do_Copy_Pub = false;
    Do_Copy_Sub = false;
    ACG_Pub->setCurrentIndex(Pub_Model->index(0, 0));
    ACG_Sub->setCurrentIndex(Sub_Model->index(0, 0));
    ACG_Pub->scrollToTop();
    ACG_Pub->setFocus(Qt::OtherFocusReason);
    Update_Status();
    // A table loaded in part is never shown: OK would write it over the whole file.
    return Report_Load(r);
}

QTableView* TFMQTT_Set_Topic::Shown_Grid() const
{
    return PageControl1->currentWidget() == TS_MQTT_Subscribe ? ACG_Sub : ACG_Pub;
}

// The rules as on screen, watched on the broker of the saved configuration.
void TFMQTT_Set_Topic::Btn_MonitorClick() { Open_Monitor(st_, msg_, Table, this); }

Check_Findings TFMQTT_Set_Topic::Check()
{
    Table.Byte_IN = Byte_IN;
    Table.Byte_OUT = Byte_OUT;
    return Data_Check(st_, Table);
}

// Written whole to a temporary file first: a failed write leaves the old file.
FileResult TFMQTT_Set_Topic::Save() { return Save_MQTT_Topic(st_, st_.File_MQTT_Topic, Table); }

FileResult TFMQTT_Set_Topic::Build_Map(Data_Area_Map& map)
{
    NMEA_Listener_Table listeners;
    const FileResult r = Load_Compiled_Listeners(st_, st_.File_NMEA_Access, st_.File_ParGen, listeners);
    if (r.ok) {
        PageControl1->setCurrentWidget(TS_MQTT_Publish);
        map = Build_Data_Area_Map(st_, listeners, Table);
    }
    return r;
}

void TFMQTT_Set_Topic::ACG_MQTT_DblClickCell(QTableView* Sender, int ARow, int ACol)
{
    Grid_Auto_Size_Column(Sender, st_, ARow, ACol);
    const QModelIndex cur = Sender->currentIndex();
    const int template_col = Sender == ACG_Sub ? Sub_Template_Col : Pub_Template_Col;
    if (ARow > 0 && cur.isValid() && cur.column() + 1 == template_col)
        Show_Form_Topic(Sender, cur.row() + 1, cur.column() + 1);
}

void TFMQTT_Set_Topic::Show_Form_Topic(QTableView* Sender, int ARow, int ACol)
{
    GridModel* model = Grid_Of(Sender).model;
    const QString cell = model->Text(ARow - 1, ACol - 1);
    const int template_col = Sender == ACG_Sub ? Sub_Template_Col : Pub_Template_Col;
    const QString result = FTopicTemplate_->Edit(Open_Topic_Editor(ACol, template_col, cell), cell);
    if (result != cell)
        model->setData(model->index(ARow - 1, ACol - 1), result, Qt::EditRole);
}

bool TFMQTT_Set_Topic::eventFilter(QObject* watched, QEvent* e)
{
    const bool double_click = e->type() == QEvent::MouseButtonDblClick;
    const bool ctrl_enter = e->type() == QEvent::KeyPress && Is_Ctrl_Enter(static_cast<QKeyEvent*>(e));
    if (!double_click && !ctrl_enter)
        return QDialog::eventFilter(watched, e);
    for (QTableView* grid : {ACG_Pub, ACG_Sub}) {
        const int template_col = grid == ACG_Sub ? Sub_Template_Col : Pub_Template_Col;
        if (double_click && watched == grid->viewport()) {
            // On a Template cell the double click opens the template editor, not the
            // cell's own drop-down.
            const QModelIndex i = grid->indexAt(static_cast<QMouseEvent*>(e)->position().toPoint());
            if (i.isValid() && i.column() + 1 == template_col) {
                grid->setCurrentIndex(i);
                ACG_MQTT_DblClickCell(grid, i.row() + 1, i.column() + 1);
                return true;
            }
        } else if (ctrl_enter && watched == grid) {
            // Ctrl+Enter: the template editor from the keyboard.
            const QModelIndex cur = grid->currentIndex();
            if (cur.isValid() && cur.column() + 1 == template_col)
                Show_Form_Topic(grid, cur.row() + 1, cur.column() + 1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

Row_Marker TFMQTT_Set_Topic::Pub_Marker(int row) const
{
    std::optional<Row_Marker>& known = markers_[row];
    if (!known)
        known = Find_Pub_Marker(row);
    return *known;
}

Row_Marker TFMQTT_Set_Topic::Find_Pub_Marker(int row) const
{
    QStringList map;
    if (listeners_read_)
        if (const QString w = Publish_Row_Warning(st_, Table, row + 1, listeners_); !w.isEmpty())
            map.append(w);
    return Findings_Marker(Publish_Row_Findings(st_, Table, row + 1), map);
}

void TFMQTT_Set_Topic::Update_Status()
{
    status_timer_->stop();
    L_Status->setText(Topic_Status_Text(st_, Publish_Rule_Count(Table), MQTT_Bank_Estimate(st_, broker_, Table.Pub)));
}

} // namespace swr
