#pragma once

// The live monitor window, opened from the MQTT topic screen: one line per publish rule
// with what has arrived on the broker, a detail pane with the selected rule's last payload
// in full, Connect and Disconnect, and a status line. Messages come in on the client's own
// thread; the window hears of them through queued calls and repaints at most ten times a
// second, however many arrive.

#include "LangScreen.h"

#include "broker/Monitor.h"

#include <QDialog>
#include <QElapsedTimer>

#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace swr {

class GridFit;
class TitleStrip;
struct AppState;
class IMessages;
struct MQTT_Topic_Table;

class TFMonitor : public QDialog, public ILangScreen {
    Q_OBJECT
public:
    // Watches the rules of t on the broker of the configuration's ParGen.xml; connects at
    // once. clock is the monitor's (tests give a fake one).
    TFMonitor(const AppState& st, IMessages& msgs, const MQTT_Topic_Table& t, QWidget* parent = nullptr,
              const IClock& clock = Steady_Clock());
    ~TFMonitor() override;

    void Set_Lang() override;
    void Btn_ConnectClick();
    void Btn_DisconnectClick();
    // Shows what has arrived now, without waiting for the next repaint slot.
    void Refresh();
    int Refreshes() const { return refreshes_; }
    const MonitorSnapshot& Shown() const { return shown_; }

    TitleStrip* P_Title;
    QTableWidget* ACG_Monitor;
    QPlainTextEdit* E_Payload;
    QLabel* L_Payload;
    QLabel* L_Status;
    QPushButton* Btn_Connect;
    QPushButton* Btn_Disconnect;
    GridFit* Fit; // the grid's column widths

    static constexpr int Min_Repaint_Ms = 100;

private:
    void Changed();
    void Show_Detail();
    void Show_Buttons();
    void Fit_Columns();

    const AppState& st_;
    IMessages& msgs_;
    std::unique_ptr<Monitor> monitor_;
    MonitorSnapshot shown_;
    QTimer* slot_;  // the next repaint when one came too soon after the last
    QTimer* ticker_; // ages and overdue rules move on without messages
    QElapsedTimer since_;
    int refreshes_ = 0;
};

// Opens the monitor over parent, deleted when closed.
TFMonitor* Open_Monitor(const AppState& st, IMessages& msgs, const MQTT_Topic_Table& t, QWidget* parent);

} // namespace swr
