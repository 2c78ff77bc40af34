#pragma once

#include "WidgetKit.h"

#include "project/nmea/Nmea0183Catalogue.h"
#include "project/nmea/NmeaAccess.h"

#include <QDialog>
#include <QStringList>

#include <functional>

class QLabel;
class QPushButton;
class QTableView;

namespace swr {

struct AppState;
class IGrid;
class IMessages;
class NmeaAccessModel;

// Step 3: which field of which NMEA 0183 sentence lands at which byte of the device's data
// area, row by row, over the project's listener file.
class TFNMEA_0183_Set_Access2 : public QDialog, public ILangScreen {
    Q_OBJECT
public:
    TFNMEA_0183_Set_Access2(AppState& st, IMessages& msg, QWidget* parent = nullptr);
    void Set_Lang() override;

    // Loads the file and shows the screen modally; a file that cannot be read is reported
    // and the screen does not open (QDialog::Rejected).
    int Show_Access();
    // Loads the table from the file; false after the error has been shown.
    bool FormShow();

    void Btn_OKClick();
    void Btn_DelRowClick();
    void Btn_InsRowClick();
    void Btn_CopyRowClick();
    void Btn_PasteRowClick();
    // The data-area map of the rows on screen with the saved publish rules.
    void Btn_DataAreaClick();
    // The row of the focused cell, from 1; 0 when there is none.
    int Current_Row() const;

    NMEA_Listener_Table Table;
    NmeaAccessModel* Model;
    QStringList PostOpe_SL;
    QStringList SerialChannel_SL;
    int Enable_Serial = Offered_Serial_Mask;
    QStringList Hint_Sentence;
    bool Do_Copy = false;

    TitleStrip* P_Title;
    QTableView* ASG;
    QLabel* L_Status;
    QPushButton* Btn_DelRow;
    QPushButton* Btn_InsRow;
    QPushButton* Btn_CopyRow;
    QPushButton* Btn_PasteRow;
    QPushButton* Btn_DataArea;
    QPushButton* Btn_OK;
    QPushButton* Btn_Cancel;

private:
    void Init_Table();
    void Commit_Edit();
    void Update_Status();
    // Runs op on the current row through the row helpers; nothing without a current row.
    void On_Current_Row(const std::function<void(IGrid&, int)>& op);

    AppState& st_;
    IMessages& msg_;
};

} // namespace swr
