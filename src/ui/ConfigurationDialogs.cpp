#include "ConfigurationDialogs.h"

#include "session/AppState.h"
#include "base/Messages.h"
#include "session/Projects.h"
#include "lang/Texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace swr {

namespace {

// The OK / Cancel row at the bottom of a configuration dialog.
QHBoxLayout* Button_Row(QDialog* d, QPushButton** ok, QPushButton** cancel)
{
    *ok = Named<QPushButton>(d, "Btn_OK");
    (*ok)->setDefault(true);
    *cancel = Named<QPushButton>(d, "Btn_Cancel");
    QHBoxLayout* row = swr::Button_Row({*ok, *cancel});
    QObject::connect(*cancel, &QPushButton::clicked, d, &QDialog::reject);
    return row;
}

QVBoxLayout* Body(QDialog* d, TitleStrip** strip)
{
    auto* outer = new QVBoxLayout(d);
    outer->setContentsMargins(0, 0, 0, 12);
    *strip = new TitleStrip(d);
    outer->addWidget(*strip);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(16, 8, 16, 0);
    outer->addLayout(body, 1);
    return body;
}

} // namespace

TFNew_Project::TFNew_Project(AppState& st, IMessages& msg, QWidget* parent)
    : QDialog(parent), st_(st), msg_(msg)
{
    setObjectName(QStringLiteral("TFNew_Project"));
    setModal(true);
    QVBoxLayout* body = Body(this, &Strip);
    Label1 = Named<QLabel>(this, "Label1");
    E_New_Proj = Named<QLineEdit>(this, "E_New_Proj");
    Label1->setBuddy(E_New_Proj);
    body->addWidget(Label1);
    body->addWidget(E_New_Proj);
    body->addStretch(1);
    body->addLayout(Button_Row(this, &Btn_OK, &Btn_Cancel));
    connect(Btn_OK, &QPushButton::clicked, this, &TFNew_Project::Btn_OKClick);
    setFixedSize(440, 220);
    Set_Lang();
}

void TFNew_Project::Set_Lang()
{
    setWindowTitle(st_.Get_Lang_Text(Txt::New_Config_Title));
    Set_Title_Strip(Strip, st_, st_.Get_Lang_Text(Txt::New_Config_Description));
    Apply_Captions(st_, {{Label1, 102}, {Btn_OK, 103, 109}, {Btn_Cancel, 104, 110}, {E_New_Proj, -1, 108}});
}

void TFNew_Project::showEvent(QShowEvent* e)
{
    E_New_Proj->clear();
    E_New_Proj->setFocus();
    QDialog::showEvent(e);
}

void TFNew_Project::Btn_OKClick()
{
    // The name is taken exactly as typed, without trimming.
    const int error = Create_New_Project(st_, E_New_Proj->text());
    if (error != 0) {
        msg_.Show_Error(st_.Get_Lang_Text(error));
        return;
    }
    accept();
}

TFOpenConf::TFOpenConf(AppState& st, QWidget* parent) : QDialog(parent), st_(st)
{
    setObjectName(QStringLiteral("TFOpenConf"));
    setModal(true);
    QVBoxLayout* body = Body(this, &Strip);
    Label1 = Named<QLabel>(this, "Label1");
    ListBox1 = Named<QListWidget>(this, "ListBox1");
    Label1->setBuddy(ListBox1);
    body->addWidget(Label1);
    body->addWidget(ListBox1, 1);
    body->addLayout(Button_Row(this, &Btn_OK, &Btn_Cancel));
    connect(Btn_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
        Name_Conf = row >= 0 && row < SL.size() ? SL.at(row) : QString();
    });
    setFixedSize(440, 380);
    Set_Lang();
}

void TFOpenConf::Set_Lang()
{
    setWindowTitle(st_.Get_Lang_Text(Txt::Open_Config_Title));
    Set_Title_Strip(Strip, st_, st_.Get_Lang_Text(Txt::Open_Config_Description));
    Apply_Captions(st_, {{Label1, 202}, {Btn_OK, 203, 206}, {Btn_Cancel, 204, 207}, {ListBox1, -1, 205}});
}

void TFOpenConf::Load_Existing_Configuration()
{
    SL = swr::Load_Existing_Configuration(st_.Projects_Dir);
    Name_Conf.clear();
    ListBox1->clear();
    ListBox1->addItems(SL);
    const int pre = Preselected_Configuration(st_, SL);
    ListBox1->setCurrentRow(pre);
    Name_Conf = pre >= 0 ? SL.at(pre) : QString();
}

void TFOpenConf::showEvent(QShowEvent* e)
{
    Load_Existing_Configuration();
    ListBox1->setFocus();
    QDialog::showEvent(e);
}

} // namespace swr
