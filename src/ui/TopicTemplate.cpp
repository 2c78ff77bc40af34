#include "TopicTemplate.h"

#include "session/AppState.h"
#include "lang/Texts.h"

#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace swr {

namespace {

constexpr int Client_Width = 635;
constexpr int Client_Height = 396;

} // namespace

QVBoxLayout* Topic_Screen_Frame(QDialog* d, const char* name, QSize client, TitleStrip** strip)
{
    d->setObjectName(QLatin1String(name));
    d->setModal(true);
    d->setFixedSize(client);
    QVBoxLayout* outer = Screen_Layout(d, strip);
    outer->setContentsMargins(0, 0, 0, 8);
    outer->setSpacing(6);
    return outer;
}

TFTopicTemplate::TFTopicTemplate(AppState& st, QWidget* parent) : QDialog(parent), st_(st)
{
    QVBoxLayout* outer = Topic_Screen_Frame(this, "TFTopicTemplate", {Client_Width, Client_Height}, &P_Title);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(12, 4, 12, 0);
    RE_TopicTemplate = Named<QPlainTextEdit>(this, "RE_TopicTemplate");
    // Enter makes a new line of the template; Tab leaves the box, as in every field.
    RE_TopicTemplate->setTabChangesFocus(true);
    body->addWidget(RE_TopicTemplate, 3);

    L_List_Keywords = Named<QLabel>(this, "L_List_Keywords");
    body->addWidget(L_List_Keywords);
    ASG_Keywords = Named<QTableWidget>(this, "ASG_Keywords");
    ASG_Keywords->setColumnCount(2);
    ASG_Keywords->verticalHeader()->hide();
    ASG_Keywords->horizontalHeader()->setStretchLastSection(true);
    ASG_Keywords->setColumnWidth(0, 180);
    ASG_Keywords->setTabKeyNavigation(false);
    body->addWidget(ASG_Keywords, 2);
    L_List_Keywords->setBuddy(ASG_Keywords);
    outer->addLayout(body, 1);

    Btn_OK = Make_Button(this, "Btn_OK");
    Btn_Cancel = Make_Button(this, "Btn_Cancel");
    auto* buttons = Button_Row({Btn_OK, Btn_Cancel});
    buttons->setContentsMargins(12, 0, 12, 0);
    outer->addLayout(buttons);
    connect(Btn_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Ctrl+Enter confirms from the edit box, where Enter starts a new line.
    for (const QKeySequence& k : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)})
        connect(new QShortcut(k, this), &QShortcut::activated, this, &QDialog::accept);

    setTabOrder(RE_TopicTemplate, ASG_Keywords);
    setTabOrder(ASG_Keywords, Btn_OK);
    setTabOrder(Btn_OK, Btn_Cancel);
    Set_Lang();
}

void TFTopicTemplate::Set_Lang()
{
    const Topic_Editor e{TopicTemplate, {}};
    setWindowTitle(Topic_Editor_Caption(st_, e));
    Set_Title_Strip(P_Title, st_, Topic_Editor_Label(st_, e));
    Apply_Captions(st_, {{L_List_Keywords, Txt::Topic_Editor_List},
                         {Btn_OK, Txt::Topic_Editor_OK},
                         {Btn_Cancel, Txt::Topic_Editor_Cancel}});
    ASG_Keywords->setHorizontalHeaderLabels(
        {st_.Get_Lang_Text(Txt::Topic_Editor_Keyword), st_.Get_Lang_Text(Txt::Topic_Editor_Description)});
    RE_TopicTemplate->setAccessibleName(Topic_Editor_Label(st_, e));
}

QString TFTopicTemplate::Edit(const Topic_Editor& opened, const QString& cell)
{
    TopicTemplate = opened.TopicTemplate;
    RE_TopicTemplate->clear();
    RE_TopicTemplate->setPlainText(opened.Text);
    const bool ok = exec() == QDialog::Accepted;
    return Close_Topic_Editor(opened, RE_TopicTemplate->toPlainText(), ok, cell);
}

void TFTopicTemplate::showEvent(QShowEvent* e)
{
    FormShow();
    QDialog::showEvent(e);
}

void TFTopicTemplate::FormShow()
{
    Set_Lang(); // caption and label follow what is edited
    Laod_Keywords();
    RE_TopicTemplate->moveCursor(QTextCursor::End);
    RE_TopicTemplate->setFocus(Qt::OtherFocusReason);
}

void TFTopicTemplate::Laod_Keywords()
{
    const QList<Topic_Keyword> rows = swr::Laod_Keywords();
    ASG_Keywords->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        ASG_Keywords->setItem(i, 0, new QTableWidgetItem(rows[i].Keyword));
        auto* d = new QTableWidgetItem(rows[i].Description);
        d->setFlags(d->flags() & ~Qt::ItemIsEditable);
        ASG_Keywords->setItem(i, 1, d);
    }
}

} // namespace swr
