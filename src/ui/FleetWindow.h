#pragma once

#include "UpdateDialog.h"
#include "WidgetKit.h"

#include "fleet/Devices.h"
#include "fleet/Report.h"

#include <QDialog>

#include <atomic>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QThread;

namespace swr {

struct AppState;
class IBrowser;
class IEcho;
class IMessages;
class PingClock;

// Fleet commissioning: the active configuration as the template, a devices file, and the
// plan and the update of every device. The work runs on a thread of its own, so the window
// keeps painting and Stop is heard.
class TFFleet : public QDialog, public ILangScreen {
    Q_OBJECT
public:
    // echo and clock serve the device checks on the worker thread: neither may touch a window.
    TFFleet(AppState& st, IMessages& msg, IEcho& echo, PingClock& clock, IBrowser& browser,
            QWidget* parent = nullptr);
    ~TFFleet() override;
    void Set_Lang() override;

    // Opens the window over the active configuration; false when its files cannot be read
    // (the message has been shown).
    int Show_Fleet();

    // Where the updater is looked for, in order: the program folder unless the program
    // names others, as the update dialog does.
    QStringList Updater_Folders;

    // Picks the devices file; a file dialog unless replaced (tests give a path).
    std::function<QString()> Choose_Devices_File;

    void Btn_DevicesClick();
    void Btn_PlanClick();
    void Btn_Update_AllClick();
    void Btn_StopClick();
    void Btn_ReportClick();
    bool Busy() const { return worker_ != nullptr; }

    TitleStrip* P_Title;
    QLabel* L_Template;
    QLabel* L_Devices;
    QTableView* ACG_Devices;
    QLabel* L_Update_Option;
    QComboBox* CB_Update_Options;
    QCheckBox* CB_Update_Option_Read_Back;
    QProgressBar* PB_Devices;
    QLabel* L_Step;
    QPushButton* Btn_Devices;
    QPushButton* Btn_Plan;
    QPushButton* Btn_Update_All;
    QPushButton* Btn_Stop;
    QPushButton* Btn_Report;

public slots:
    // Escape and the close box: while work runs, it stops after the device under way and
    // the window closes then.
    void reject() override;

private:
    bool Load_Devices(const QString& path);
    void Show_Devices();
    void Enable_Buttons();
    void Run(std::function<void()> work);
    void Work_Done();

    AppState& st_;
    IMessages& msg_;
    IEcho& echo_;
    PingClock& clock_;
    IBrowser& browser_;
    Update_Option_Controls options_;
    QStandardItemModel* model_;
    QString template_dir_;
    QStringList secret_variables_;
    QString devices_file_;
    Fleet_Devices devices_;
    Fleet_Report report_;
    QThread* worker_ = nullptr;
    std::atomic<bool> stop_{false};
    bool close_when_done_ = false;
};

} // namespace swr
