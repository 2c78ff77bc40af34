#include "NmeaAccessScreen.h"

#include "DataAreaMap.h"
#include "GridModel.h"
#include "NmeaAccessModel.h"

#include "app/AppState.h"
#include "app/GridRows.h"
#include "app/Messages.h"
#include "app/Texts.h"
#include "project/mqtt/MqttTopics.h"
#include "project/nmea/Nmea0183Catalogue.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace swr {

namespace {

constexpr int Client_Width = 1200;
constexpr int Client_Height = 337;

// Widths of the shown columns (model columns), wide enough for their headers and the
// longest entries; Data Field fits the field texts up to a width that leaves Mnemonic
// room at 1200 pixels (a double click on its header shows the longest), Mnemonic takes
// what is left.
constexpr int Column_Widths[] = {58, 0, 78, 52, 0, 74, 68, 62, 66, 0};

int Longest_Field_Width(const QFontMetrics& fm)
{
    int w = 0;
    for (int s = 1; s <= NMEA0183_Sentence_Count; ++s)
        for (const TFieldSentence& f : NMEA0183_Map(s).Fields)
            w = qMax(w, fm.horizontalAdvance(f.Field));
    return qMin(w + 12, 440);
}

} // namespace

TFNMEA_0183_Set_Access2::TFNMEA_0183_Set_Access2(AppState& st, IMessages& msg, QWidget* parent)
    : QDialog(parent), st_(st), msg_(msg)
{
    setObjectName(QStringLiteral("TFNMEA_0183_Set_Access2"));
    setModal(true);
    QVBoxLayout* outer = Screen_Layout(this, &P_Title);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 6, 8, 6);
    body->setSpacing(4);
    ASG = Named<QTableView>(this, "ASG");
    body->addWidget(ASG, 1);
    L_Status = Named<QLabel>(this, "L_Status");
    body->addWidget(L_Status);

    auto* buttons = new QHBoxLayout;
    Btn_DelRow = Make_Button(this, "Btn_DelRow");
    Btn_InsRow = Make_Button(this, "Btn_InsRow");
    Btn_CopyRow = Make_Button(this, "Btn_CopyRow");
    Btn_PasteRow = Make_Button(this, "Btn_PasteRow");
    Btn_DataArea = Make_Button(this, "Btn_DataArea");
    Btn_OK = Make_Button(this, "Btn_OK");
    Btn_Cancel = Make_Button(this, "Btn_Cancel");
    for (QPushButton* b : {Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow, Btn_DataArea})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(Btn_OK);
    buttons->addWidget(Btn_Cancel);
    body->addLayout(buttons);
    outer->addLayout(body, 1);

    connect(Btn_OK, &QPushButton::clicked, this, &TFNMEA_0183_Set_Access2::Btn_OKClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Btn_DelRow, &QPushButton::clicked, this, &TFNMEA_0183_Set_Access2::Btn_DelRowClick);
    connect(Btn_InsRow, &QPushButton::clicked, this, &TFNMEA_0183_Set_Access2::Btn_InsRowClick);
    connect(Btn_CopyRow, &QPushButton::clicked, this, &TFNMEA_0183_Set_Access2::Btn_CopyRowClick);
    connect(Btn_PasteRow, &QPushButton::clicked, this, &TFNMEA_0183_Set_Access2::Btn_PasteRowClick);
    connect(Btn_DataArea, &QPushButton::clicked, this, &TFNMEA_0183_Set_Access2::Btn_DataAreaClick);

    Init_Table();
    setTabOrder(ASG, Btn_DelRow);
    setTabOrder(Btn_DelRow, Btn_InsRow);
    setTabOrder(Btn_InsRow, Btn_CopyRow);
    setTabOrder(Btn_CopyRow, Btn_PasteRow);
    setTabOrder(Btn_PasteRow, Btn_DataArea);
    setTabOrder(Btn_DataArea, Btn_OK);
    setTabOrder(Btn_OK, Btn_Cancel);

    PostOpe_SL = Post_Operations();
    SerialChannel_SL = Serial_Channel_Names();
    resize(Client_Width, Client_Height);
    Set_Lang();
}

void TFNMEA_0183_Set_Access2::Init_Table()
{
    Model = new NmeaAccessModel(st_, Table, this);
    Attach_Grid_Model(ASG, Model, st_, NMEA_Row_Number_Header);
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
    setWindowTitle(st_.Get_Lang_Text(1000));
    Set_Title_Strip(P_Title, st_, st_.Get_Lang_Text(1001));
    Apply_Captions(st_, {{Btn_OK, 1002, 1008},
                         {Btn_Cancel, 1003, 1009},
                         {Btn_DelRow, 1004, 1010},
                         {Btn_InsRow, 1005, 1011},
                         {Btn_CopyRow, 1006, 1012},
                         {Btn_PasteRow, 1007, 1013},
                         {Btn_DataArea, Txt::Map_Button, Txt::Map_Button + 1}});
    ASG->setAccessibleName(st_.Get_Lang_Text(1001));
    Hint_Sentence.clear();
    for (const NMEA_Column& c : NMEA_Columns())
        Hint_Sentence.append(st_.Get_Lang_Text(c.grid.hint));
    Set_Grid_Corner_Text(ASG, st_.Get_Lang_Text(NMEA_Row_Number_Header));
    Model->Refresh(); // headers, hints and markers are read from the table as shown
    Update_Status();
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
    if (!r.ok) {
        msg_.Show_Error(r.message);
        return false;
    }
    for (const QString& n : r.notices)
        msg_.Show_Warning(n);
    ASG->setCurrentIndex(Model->index(0, 0));
    ASG->scrollToTop();
    ASG->setFocus();
    return true;
}

int TFNMEA_0183_Set_Access2::Current_Row() const
{
    const QModelIndex cur = ASG->currentIndex();
    return cur.isValid() ? cur.row() + 1 : 0;
}

void TFNMEA_0183_Set_Access2::Commit_Edit()
{
    // Leaving the cell commits an open editor; the cell then becomes current again.
    const QModelIndex cur = ASG->currentIndex();
    ASG->setCurrentIndex(QModelIndex());
    ASG->setCurrentIndex(cur);
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

void TFNMEA_0183_Set_Access2::Btn_OKClick()
{
    Commit_Edit();
    // The check runs first: a refused table writes nothing and the screen stays open on
    // the cell of the first fault.
    const Check_Findings found = Data_Check(st_, Table);
    if (const Check_Finding* e = First_Error(found)) {
        ASG->setCurrentIndex(Model->index(e->row - 1, e->column - 1));
        msg_.Show_Error(e->message);
        return;
    }
    const FileResult r = Save_NMEA_Access(st_, st_.File_NMEA_Access, Table);
    if (!r.ok) {
        msg_.Show_Error(r.message); // the edits stay on the screen
        return;
    }
    accept();
}

void TFNMEA_0183_Set_Access2::On_Current_Row(const std::function<void(IGrid&, int)>& op)
{
    Commit_Edit();
    const int row = Current_Row();
    if (row < 1)
        return;
    {
        ModelGrid g(Model);
        op(g, row);
    }
    Update_Status();
}

void TFNMEA_0183_Set_Access2::Btn_DelRowClick()
{
    On_Current_Row([this](IGrid& g, int row) {
        if (msg_.Ask_Yes_No(st_.Get_Lang_Text(1039) + QString::number(row)))
            Grid_Delete_Row_Check(g, row, true);
    });
}

void TFNMEA_0183_Set_Access2::Btn_InsRowClick()
{
    On_Current_Row([](IGrid& g, int row) { Grid_Insert_Row_Check(g, row, true); });
}

void TFNMEA_0183_Set_Access2::Btn_CopyRowClick()
{
    On_Current_Row([this](IGrid& g, int row) {
        Grid_Copy_Row_Check(g, row, st_.Row_Clipboard, st_.Row_Clipboard_Check);
        Do_Copy = true;
    });
}

void TFNMEA_0183_Set_Access2::Btn_PasteRowClick()
{
    // The Index cell follows the pasted sentence as it follows any sentence.
    On_Current_Row([this](IGrid& g, int row) {
        Grid_Paste_Row_Check(g, row, Do_Copy, st_.Row_Clipboard, st_.Row_Clipboard_Check, st_, msg_);
    });
}

void TFNMEA_0183_Set_Access2::Btn_DataAreaClick()
{
    Commit_Edit();
    MQTT_Topic_Table topics;
    const FileResult r = Load_MQTT_Topic(st_, st_.File_MQTT_Topic, topics);
    if (!r.ok) {
        msg_.Show_Error(r.message);
        return;
    }
    Show_Data_Area_Map(this, st_, Build_Data_Area_Map(st_, Table, topics), ASG, [](const Map_Finding& f) {
        return f.listener_rows.value(0);
    });
}

} // namespace swr
