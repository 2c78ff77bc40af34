#include "FleetWindow.h"

#include "session/AppState.h"
#include "base/Browser.h"
#include "base/Messages.h"
#include "fleet/FleetScreen.h"
#include "fleet/Plan.h"
#include "fleet/Secrets.h"
#include "fleet/Substitution.h"
#include "fleet/Update.h"
#include "lang/Texts.h"
#include "update/UpdateJob.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QThread>
#include <QUrl>
#include <QVBoxLayout>

namespace swr {

TFFleet::TFFleet(AppState& st, IMessages& msg, IEcho& echo, PingClock& clock, IBrowser& browser, QWidget* parent)
    : QDialog(parent), st_(st), msg_(msg), echo_(echo), clock_(clock), browser_(browser)
{
    setObjectName(QStringLiteral("TFFleet"));
    setModal(true);
    QVBoxLayout* body = Screen_Body(this, &P_Title);

    L_Template = Named<QLabel>(this, "L_Template");
    L_Template->setTextInteractionFlags(Qt::TextSelectableByMouse);
    body->addWidget(L_Template);
    auto* file_row = new QHBoxLayout;
    L_Devices = Named<QLabel>(this, "L_Devices");
    L_Devices->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Btn_Devices = Make_Button(this, "Btn_Devices");
    file_row->addWidget(L_Devices, 1);
    file_row->addWidget(Btn_Devices);
    body->addLayout(file_row);

    model_ = new QStandardItemModel(this);
    ACG_Devices = Named<QTableView>(this, "ACG_Devices");
    ACG_Devices->setModel(model_);
    ACG_Devices->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ACG_Devices->setSelectionBehavior(QAbstractItemView::SelectRows);
    ACG_Devices->horizontalHeader()->setStretchLastSection(true);
    body->addWidget(ACG_Devices, 1);

    auto* options = new QHBoxLayout;
    options_ = Make_Update_Options(this, options);
    L_Update_Option = options_.L_Update_Option;
    CB_Update_Options = options_.CB_Update_Options;
    CB_Update_Option_Read_Back = options_.CB_Update_Option_Read_Back;
    options->addStretch(1);
    body->addLayout(options);

    PB_Devices = Named<QProgressBar>(this, "PB_Devices");
    PB_Devices->setRange(0, 1);
    PB_Devices->setValue(0);
    L_Step = Named<QLabel>(this, "L_Step");
    L_Step->setWordWrap(true);
    body->addWidget(PB_Devices);
    body->addWidget(L_Step);

    Btn_Plan = Make_Button(this, "Btn_Plan");
    Btn_Update_All = Make_Button(this, "Btn_Update_All");
    Btn_Stop = Make_Button(this, "Btn_Stop");
    Btn_Report = Make_Button(this, "Btn_Report");
    body->addLayout(Button_Row({Btn_Plan, Btn_Update_All, Btn_Stop, Btn_Report}));

    connect(Btn_Devices, &QPushButton::clicked, this, &TFFleet::Btn_DevicesClick);
    connect(Btn_Plan, &QPushButton::clicked, this, &TFFleet::Btn_PlanClick);
    connect(Btn_Update_All, &QPushButton::clicked, this, &TFFleet::Btn_Update_AllClick);
    connect(Btn_Stop, &QPushButton::clicked, this, &TFFleet::Btn_StopClick);
    connect(Btn_Report, &QPushButton::clicked, this, &TFFleet::Btn_ReportClick);
    Choose_Devices_File = [this] {
        return QFileDialog::getOpenFileName(this, st_.Get_Lang_Text(Txt::Fleet_Buttons), QString(),
                                            QStringLiteral("CSV (*.csv);;* (*)"));
    };
    resize(900, 540);
    Set_Lang();
    Enable_Buttons();
}

TFFleet::~TFFleet()
{
    stop_ = true;
    if (worker_) {
        worker_->wait();
        delete worker_;
    }
}

void TFFleet::Set_Lang()
{
    setWindowTitle(st_.Get_Lang_Text(Txt::Fleet_Title));
    Set_Title_Strip(P_Title, st_, st_.Get_Lang_Text(Txt::Fleet_Title));
    const int b = Txt::Fleet_Buttons;
    Apply_Captions(st_, {{Btn_Devices, b, b + 1},
                         {Btn_Plan, b + 2, b + 3},
                         {Btn_Update_All, b + 4, b + 5},
                         {Btn_Stop, b + 6, b + 7},
                         {Btn_Report, b + 8, b + 9}});
    const int option = CB_Update_Options->currentIndex();
    Set_Update_Options_Lang(st_, options_);
    CB_Update_Options->setCurrentIndex(std::max(option, 0));
    L_Template->setText(st_.Get_Lang_Text(Txt::Fleet_Template_Label).arg(QDir::toNativeSeparators(template_dir_)));
    L_Devices->setText(st_.Get_Lang_Text(Txt::Fleet_Devices_Label).arg(QDir::toNativeSeparators(devices_file_)));
    Show_Devices();
}

int TFFleet::Show_Fleet()
{
    return Exec_After_Load(this, [this] {
        Fleet_Template t;
        const FileResult r = Load_Fleet_Template(st_, st_.Active_Project_Dir, &t);
        if (!r.ok) {
            msg_.Show_Error(r.message);
            return false;
        }
        template_dir_ = st_.Active_Project_Dir;
        secret_variables_ = Secret_Variables(t);
        // As the update dialog starts.
        if (st_.Update_Option_Index >= 0 && st_.Update_Option_Index < Update_Option_Count)
            CB_Update_Options->setCurrentIndex(st_.Update_Option_Index);
        CB_Update_Option_Read_Back->setChecked(st_.Update_Read_Back);
        if (!devices_file_.isEmpty())
            Load_Devices(devices_file_);
        Set_Lang();
        Enable_Buttons();
        return true;
    });
}

bool TFFleet::Load_Devices(const QString& path)
{
    Fleet_Devices devices;
    FileResult r = Load_Devices_File(st_, path, &devices);
    Fleet_Report report;
    if (r.ok)
        r = Load_Fleet_Report(st_, path, &report);
    if (!r.ok) {
        msg_.Show_Error(r.message);
        return false;
    }
    devices_file_ = path;
    devices_ = std::move(devices);
    report_ = std::move(report);
    PB_Devices->setRange(0, int(devices_.devices.size()));
    PB_Devices->setValue(0);
    L_Step->clear();
    return true;
}

void TFFleet::Show_Devices()
{
    const Fleet_Table t = Fleet_Devices_Table(st_, devices_, secret_variables_, report_);
    model_->clear();
    model_->setHorizontalHeaderLabels(t.header);
    for (const QStringList& row : t.rows) {
        QList<QStandardItem*> items;
        for (const QString& v : row) {
            auto* item = new QStandardItem(v);
            item->setToolTip(v);
            items.append(item);
        }
        model_->appendRow(items);
    }
    ACG_Devices->resizeColumnsToContents();
}

void TFFleet::Enable_Buttons()
{
    const bool idle = !Busy();
    bool planned = false;
    for (const Device_Record& d : std::as_const(report_.devices))
        planned = planned || d.planned;
    Btn_Devices->setEnabled(idle);
    Btn_Plan->setEnabled(idle && !devices_file_.isEmpty());
    Btn_Update_All->setEnabled(idle && planned);
    Btn_Stop->setEnabled(!idle && !stop_);
    Btn_Report->setEnabled(!devices_file_.isEmpty()
                           && QFileInfo::exists(Fleet_Report_Path(devices_file_, Fleet_Csv_Name)));
    CB_Update_Options->setEnabled(idle);
    CB_Update_Option_Read_Back->setEnabled(idle);
}

void TFFleet::Btn_DevicesClick()
{
    if (Busy())
        return;
    const QString path = Choose_Devices_File ? Choose_Devices_File() : QString();
    if (path.isEmpty() || !Load_Devices(path))
        return;
    Set_Lang();
    Enable_Buttons();
}

void TFFleet::Run(std::function<void()> work)
{
    worker_ = QThread::create(std::move(work));
    Enable_Buttons();
    worker_->start();
}

void TFFleet::Work_Done()
{
    if (worker_) {
        worker_->wait();
        delete worker_;
        worker_ = nullptr;
    }
    Show_Devices();
    Enable_Buttons();
    if (close_when_done_) {
        close_when_done_ = false;
        QDialog::reject();
    }
}

void TFFleet::Btn_PlanClick()
{
    if (Busy() || devices_file_.isEmpty())
        return;
    Fleet_Plan_Options o;
    if (const int existing = Existing_Configurations(template_dir_, devices_)) {
        if (!msg_.Ask_Yes_No(st_.Get_Lang_Text(Txt::Fleet_Replace_Question).arg(existing)))
            return;
        o.replace = true;
    }
    stop_ = true; // a plan runs to its end: Stop stays off
    PB_Devices->setRange(0, int(devices_.devices.size()));
    PB_Devices->setValue(0);
    L_Step->setText(st_.Get_Lang_Text(Txt::Fleet_Steps + int(Fleet_Step::Plan)));
    const Texts texts = st_;
    Run([this, texts, o, template_dir = template_dir_, devices_file = devices_file_] {
        Fleet_Report report;
        const FileResult r = Plan_Fleet(texts, template_dir, devices_file, o, &report, [this](int done, int count, int device) {
            QMetaObject::invokeMethod(this, [this, done, count, device] {
                PB_Devices->setValue(done);
                if (device >= 0)
                    L_Step->setText(Fleet_Step_Text(st_, done, count, devices_.Name(device), Fleet_Step::Plan));
            }, Qt::QueuedConnection);
        });
        QMetaObject::invokeMethod(this, [this, r, report] {
            if (r.ok || !report.devices.isEmpty())
                report_ = report;
            int planned = 0;
            for (const Device_Record& d : report.devices)
                planned += d.planned ? 1 : 0;
            L_Step->setText(st_.Get_Lang_Text(Txt::Fleet_Plan_Done).arg(planned).arg(report.devices.size()));
            Work_Done();
            if (!r.ok)
                msg_.Show_Error(r.message);
        }, Qt::QueuedConnection);
    });
}

void TFFleet::Btn_Update_AllClick()
{
    if (Busy())
        return;
    Fleet_Update_Options o;
    o.program_dir = st_.Program_Dir;
    o.updater_folders = Updater_Folders;
    o.option = CB_Update_Options->currentIndex();
    o.read_back = CB_Update_Option_Read_Back->isChecked();
    const int count = int(Fleet_Update_Devices(report_, o).size());
    if (count == 0 || !msg_.Ask_Yes_No(st_.Get_Lang_Text(Txt::Fleet_Update_Question).arg(count)))
        return;
    stop_ = false;
    PB_Devices->setRange(0, count);
    PB_Devices->setValue(0);
    // The updater reads its job from the program folder: the window says why it takes one
    // device at a time.
    L_Step->setText(st_.Get_Lang_Text(Txt::Fleet_One_At_A_Time));
    const Texts texts = st_;
    Run([this, texts, o, devices_file = devices_file_] {
        Fleet_Report report;
        Fleet_Update_Outcome outcome;
        Fleet_Update_Hooks hooks;
        hooks.stop = &stop_;
        hooks.step = [this](int device, int position, int count, Fleet_Step step) {
            QMetaObject::invokeMethod(this, [this, device, position, count, step] {
                PB_Devices->setValue(position - 1);
                L_Step->setText(Fleet_Step_Text(st_, position, count, report_.devices.value(device).name, step));
            }, Qt::QueuedConnection);
        };
        hooks.finished = [this, &report](int device) {
            const Device_Record d = report.devices.at(device);
            QMetaObject::invokeMethod(this, [this, device, d] {
                if (device < report_.devices.size())
                    report_.devices[device] = d;
                PB_Devices->setValue(PB_Devices->value() + 1);
                Show_Devices();
            }, Qt::QueuedConnection);
        };
        const FileResult r = Update_Fleet(texts, devices_file, o, echo_, clock_, &report, &outcome, hooks);
        QMetaObject::invokeMethod(this, [this, r, report, outcome] {
            if (!report.devices.isEmpty())
                report_ = report;
            L_Step->setText(st_.Get_Lang_Text(Txt::Fleet_Update_Done)
                                .arg(outcome.taken - outcome.failed)
                                .arg(outcome.taken));
            Work_Done();
            if (!r.ok)
                msg_.Show_Error(r.message);
        }, Qt::QueuedConnection);
    });
}

void TFFleet::Btn_StopClick()
{
    stop_ = true;
    Enable_Buttons();
}

void TFFleet::Btn_ReportClick()
{
    if (!devices_file_.isEmpty())
        browser_.Open_Url(QUrl::fromLocalFile(Fleet_Report_Path(devices_file_, Fleet_Csv_Name)).toString());
}

void TFFleet::reject()
{
    if (Busy()) {
        Btn_StopClick();
        close_when_done_ = true;
        return;
    }
    QDialog::reject();
}

} // namespace swr
