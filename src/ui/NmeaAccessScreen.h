#pragma once

#include "TableScreen.h"

#include "project/nmea/Nmea0183Catalogue.h"
#include "project/nmea/NmeaAccess.h"

#include <QStringList>

class QTableView;

namespace swr {

struct AppState;
class IMessages;
class GridFit;
class NmeaAccessModel;

// Step 3: which field of which NMEA 0183 sentence lands at which byte of the device's data
// area, row by row, over the project's listener file.
class TFNMEA_0183_Set_Access2 : public TableScreen {
    Q_OBJECT
public:
    TFNMEA_0183_Set_Access2(AppState& st, IMessages& msg, QWidget* parent = nullptr);
    void Set_Lang() override;

    // Loads the file and shows the screen modally; a file that cannot be read is reported
    // and the screen does not open (QDialog::Rejected).
    int Show_Access();
    // Loads the table from the file; false after the error has been shown.
    bool FormShow();

    NMEA_Listener_Table Table;
    NmeaAccessModel* Model;
    QStringList PostOpe_SL;
    QStringList SerialChannel_SL;
    int Enable_Serial = Offered_Serial_Mask;
    QStringList Hint_Sentence;
    bool Do_Copy = false;

    QTableView* ASG;
    GridFit* Fit; // the grid's column widths

protected:
    Check_Findings Check() override;
    FileResult Save() override;
    // The saved publish rules beside the rows on screen.
    FileResult Build_Map(Data_Area_Map& map) override;
    void Update_Status() override;
    QByteArray Table_Csv_Bytes() const override;
    FileResult Read_Table_Csv(const QString& file) override;

private:
    void Init_Table();
};

} // namespace swr
