#include "NmeaAccessScreen.h"

#include "DataAreaMap.h"
#include "FindBar.h"
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

#include <algorithm>
#include <vector>

namespace swr {

namespace {

constexpr int Client_Width = 1200;
constexpr int Client_Height = 337;

// Widths of the shown columns (model columns), wide enough for their headers and the
// longest entries; Data Field fits the field texts up to a width that leaves Mnemonic
// room at 1200 pixels (a double click on its header shows the longest), Mnemonic takes
// what is left.
constexpr int Column_Widths[] = {58, 0, 78, 52, 0, 74, 68, 62, 66, 0};
constexpr int Field_Column_Padding = 12;
constexpr int Field_Column_Cap = 440;

// Measuring a text shapes it, and shaping all 300 field texts was a tenth of start-up.
// The longest texts are measured first, so the measuring stops as soon as one reaches
// the cap; with the usual fonts the very first does.
int Longest_Field_Width(const QFontMetrics& fm)
{
    std::vector<const QString*> texts;
    for (int s = 1; s <= NMEA0183_Sentence_Count; ++s)
        for (const TFieldSentence& f : NMEA0183_Map(s).Fields)
            texts.push_back(&f.Field);
    std::stable_sort(texts.begin(), texts.end(),
                     [](const QString* a, const QString* b) { return a->size() > b->size(); });
    int w = 0;
    for (const QString* t : texts) {
        w = qMax(w, fm.horizontalAdvance(*t));
        if (w + Field_Column_Padding >= Field_Column_Cap)
            break;
    }
    return qMin(w + Field_Column_Padding, Field_Column_Cap);
}

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
    resize(Client_Width, Client_Height);
    Set_Lang();
}

void TFNMEA_0183_Set_Access2::Init_Table()
{
    Model = new NmeaAccessModel(st_, Table, this);
    Add_Grid({ASG, Model, Txt::NMEA_Row_Number_Header, Txt::Nmea_Description, &Do_Copy, {NMEA_Col_Mnemonic - 1}});
    QHeaderView* h = ASG->horizontalHeader();
    for (int c = 0; c < Model->columnCount(); ++c)
        if (Column_Widths[c] > 0)
            ASG->setColumnWidth(c, Column_Widths[c]);
    ASG->setColumnWidth(NMEA_Col_DataField - 1, Longest_Field_Width(QFontMetrics(ASG->font())));
    h->setStretchLastSection(true);
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
    return Exec_After_Load(this, [this] { return FormShow(); });
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
