#pragma once

#include "MqttTopicModel.h"
#include "TableScreen.h"

#include "compiler/MqttBank.h"
#include "project/DataArea.h"
#include "project/mqtt/MqttTopics.h"

#include <optional>

class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;

namespace swr {

struct AppState;
class IMessages;
class GridFit;
class TFTopicTemplate;

// Set MQTT Topics: the publish rules of the configuration, up to 1024, in one grid; OK
// checks and writes MQTT_Set_Topic.xml. The subscribe grid holds a file's subscribe rows
// for the check and is never shown.
class TFMQTT_Set_Topic : public TableScreen {
    Q_OBJECT
public:
    TFMQTT_Set_Topic(AppState& st, IMessages& msg, TFTopicTemplate* FTopicTemplate, QWidget* parent = nullptr);
    ~TFMQTT_Set_Topic() override;
    void Set_Lang() override;

    // Loads the file and shows the screen modally; a file that cannot be read is reported
    // and the screen does not open (QDialog::Rejected).
    int Show_Topics();
    // Loads the tables from the file; false after the error has been shown.
    bool FormShow();
    void Btn_MonitorClick(); // opens the live monitor over the rules on screen
    // A double click on a cell (ARow, ACol from 1) of either grid.
    void ACG_MQTT_DblClickCell(QTableView* Sender, int ARow, int ACol);
    // Opens the template editor on a cell and writes its result back.
    void Show_Form_Topic(QTableView* Sender, int ARow, int ACol);

    int Byte_IN = Data_Area_Size;
    int Byte_OUT = Data_Area_Size;
    bool Do_Copy_Pub = false;
    bool Do_Copy_Sub = false;
    MQTT_Topic_Table Table; // what the two grids show

    QTabWidget* PageControl1;
    QWidget* TS_MQTT_Publish;
    QWidget* TS_MQTT_Subscribe;
    QTableView* ACG_Pub;
    QTableView* ACG_Sub;
    QPushButton* Btn_Monitor;
    MqttPublishModel* Pub_Model;
    MqttSubscribeModel* Sub_Model;
    GridFit* Pub_Fit; // the publish grid's column widths

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    QTableView* Shown_Grid() const override;
    Check_Findings Check() override;
    FileResult Save() override;
    // The saved listener rows beside the rules on screen, whose page is then shown.
    FileResult Build_Map(Data_Area_Map& map) override;
    void Update_Status() override;
    QByteArray Table_Csv_Bytes() const override;
    FileResult Read_Table_Csv(const QString& file) override;

private:
    Row_Marker Pub_Marker(int row) const;
    Row_Marker Find_Pub_Marker(int row) const;

    TFTopicTemplate* FTopicTemplate_;
    QList<Data_Area_Use> listeners_; // read from the listener file at each showing
    bool listeners_read_ = false;
    TMQTT broker_; // the broker, TLS and NTP part of bank 3, from ParGen.xml
    QTimer* status_timer_;
    // Each publish row's marker once asked, until the row changes.
    mutable QList<std::optional<Row_Marker>> markers_ = QList<std::optional<Row_Marker>>(MQTT_Table_Rows);
};

} // namespace swr
