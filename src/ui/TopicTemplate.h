#pragma once

#include "WidgetKit.h"

#include "project/mqtt/TopicTemplate.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QVBoxLayout;

namespace swr {

struct AppState;

// The frame both topic screens share: a modal dialog of a fixed client size named name,
// with the title strip on top. Returns the layout the strip heads.
QVBoxLayout* Topic_Screen_Frame(QDialog* d, const char* name, QSize client, TitleStrip** strip);

// The topic and template editor: a multi-line edit box for one cell of the topic screen
// and the list of keywords a template may use.
class TFTopicTemplate : public QDialog, public ILangScreen {
    Q_OBJECT
public:
    explicit TFTopicTemplate(AppState& st, QWidget* parent = nullptr);
    void Set_Lang() override;

    // Shows the editor modally on the text opened from a cell and returns the cell's
    // text afterwards: the edited text on OK, cell itself on Cancel.
    QString Edit(const Topic_Editor& opened, const QString& cell);

    void Laod_Keywords();

    bool TopicTemplate = false; // a template is edited (always so in this product)

    TitleStrip* P_Title;
    QPlainTextEdit* RE_TopicTemplate;
    QLabel* L_List_Keywords;
    QTableWidget* ASG_Keywords;
    QPushButton* Btn_OK;
    QPushButton* Btn_Cancel;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FormShow();

    AppState& st_;
};

} // namespace swr
