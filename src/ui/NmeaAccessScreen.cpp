#include "NmeaAccessScreen.h"

#include "DataAreaMap.h"
#include "FindBar.h"
#include "GridFit.h"
#include "GridModel.h"
#include "NmeaAccessModel.h"

#include "session/AppState.h"
#include "base/Messages.h"
#include "lang/Texts.h"
#include "project/TableCsv.h"
#include "project/mqtt/MqttTopics.h"
#include "project/nmea/Nmea0183Catalogue.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace swr {

namespace {

constexpr int Client_Width = 1200;
constexpr int Client_Height = 337;

// The columns that take the room a larger window gives: the field texts and the description.
const QList<Room_Column> Room{{NMEA_Col_DataField - 1, 1}, {NMEA_Col_Mnemonic - 1, 1}};

} // namespace

TFNMEA_0183_Set_Access2::TFNMEA_0183_Set_Access2(AppState& st, IMessages& msg, QWidget* parent)
    : TableScreen(st, msg,
                  {Txt::Nmea_Title, Txt::Nmea_Delete_Row, Row_Form::Check_Box, &Map_Finding::listener_rows,
                   &AppState::File_NMEA_Access},
                  parent)
{
    setObjectName(QStringLiteral("TFNMEA_0183_Set_Access2"));
    setModal(true);
    QVBoxLayout* outer = Screen_Layout(this, &P_Title);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 6, 8, 6);
    body->setSpacing(4);
    body->addWidget(Make_Find_Bar());
    ASG = Make_Grid_View(this, "ASG");
    body->addWidget(ASG, 1);
    QHBoxLayout* buttons = Button_Bar(ASG, {}, 0);
    body->addWidget(L_Status);
    body->addLayout(buttons);
    outer->addLayout(body, 1);

    Init_Table();
    PostOpe_SL = Post_Operations();
    SerialChannel_SL = Serial_Channel_Names();
    Scalable({Client_Width, Client_Height});
    Set_Lang();
}

void TFNMEA_0183_Set_Access2::Init_Table()
{
    Model = new NmeaAccessModel(st_, Table, this);
    Add_Grid({ASG, Model, Txt::NMEA_Row_Number_Header, Txt::Nmea_Description, &Do_Copy, {NMEA_Col_Mnemonic - 1}});
    QHeaderView* h = ASG->horizontalHeader();
    Fit = new GridFit(ASG, Room);
    h->setDefaultAlignment(Qt::AlignCenter);
    // Room for the marker and three digits.
    ASG->verticalHeader()->setMinimumWidth(QFontMetrics(ASG->font()).horizontalAdvance(QStringLiteral("100")) + 32);
    ASG->verticalHeader()->setDefaultSectionSize(QFontMetrics(ASG->font()).height() + 8);
    ASG->setWordWrap(false);
    connect(Model, &NmeaAccessModel::Edited, this, &TFNMEA_0183_Set_Access2::Update_Status);
}

void TFNMEA_0183_Set_Access2::Set_Lang()
{
    Hint_Sentence.clear();
    for (const NMEA_Column& c : NMEA_Columns())
        Hint_Sentence.append(st_.Get_Lang_Text(c.grid.hint));
    TableScreen::Set_Lang();
}

int TFNMEA_0183_Set_Access2::Show_Access()
{
    return Exec_Screen([this] { return FormShow(); });
}

bool TFNMEA_0183_Set_Access2::FormShow()
{
    Enable_Serial = Offered_Serial_Mask;
    SerialChannel_SL = Offered_Serial_Channels(Enable_Serial);
    Model->SerialChannel_SL = SerialChannel_SL;
    const FileResult r = Load_NMEA_Access(st_, st_.File_NMEA_Access, Table);
    Model->Refresh();
    Update_Status();
    if (!Report_Load(r))
        return false;
    ASG->setCurrentIndex(Model->index(0, 0));
    ASG->scrollToTop();
    Fit->Fit_Content();
    ASG->setFocus();
    return true;
}

void TFNMEA_0183_Set_Access2::Update_Status()
{
    const NMEA_Findings& f = Model->Findings();
    L_Status->setText(st_.Get_Lang_Text(Txt::Nmea_Status)
                          .arg(f.rows_in_use)
                          .arg(Bytes_Filled(f.uses))
                          .arg(Data_Area_Size)
                          .arg(Next_Free_Position(f.uses)));
}

Check_Findings TFNMEA_0183_Set_Access2::Check() { return Data_Check(st_, Table); }

FileResult TFNMEA_0183_Set_Access2::Save() { return Save_NMEA_Access(st_, st_.File_NMEA_Access, Table); }

QByteArray TFNMEA_0183_Set_Access2::Table_Csv_Bytes() const { return Table_Csv(Table); }

FileResult TFNMEA_0183_Set_Access2::Read_Table_Csv(const QString& file)
{
    return Table_From_Csv_File(st_, file, false, Table);
}

FileResult TFNMEA_0183_Set_Access2::Build_Map(Data_Area_Map& map)
{
    MQTT_Topic_Table topics;
    const FileResult r = Load_MQTT_Topic(st_, st_.File_MQTT_Topic, topics);
    if (r.ok)
        map = Build_Data_Area_Map(st_, Table, topics);
    return r;
}

} // namespace swr
