#pragma once

#include "WidgetKit.h"

#include "project/pargen/ParGen.h"

#include <QDialog>
#include <QPalette>

#include <array>
#include <bitset>
#include <memory>
#include <vector>

class QPushButton;
class QScrollArea;
class QUndoStack;

namespace swr {

struct AppState;
class CategoryPanel;
struct ParField;
class IMessages;
class IResolver;
class TlsFieldSummaries;

// Set Communication: the communication parameters of the active configuration, in six
// numbered panels whose fields are made from the key table, their rules applied from it.
class TFParGen : public QDialog, public ILangScreen {
    Q_OBJECT
public:
    TFParGen(AppState& st, IMessages& msg, QWidget* parent = nullptr);
    ~TFParGen() override;
    void Set_Lang() override;

    // Loads ParGen.xml and shows the screen modally; a file that cannot be read is
    // reported and the screen does not open (Rejected then).
    int Execute();
    // Fills the fields from ParGen.xml, clears Is_Change and applies the rules; false
    // after a file that cannot be read was reported.
    bool FormShow();
    // Shows, hides, enables and disables the fields by the rules of the key table.
    void Move_GroupBoxs();
    // Checks the fields and writes the file; closes only when both succeed.
    void Btn_OKClick();
    // Tests the connection to the broker with the values on screen, saving nothing.
    void Btn_Test_ConnectionClick();
    TlsFieldSummaries* Tls_Summaries() const { return tls_summaries_.get(); }

    // The values on screen; keys without a field keep the values loaded.
    ParGen Values() const;
    // The control that holds key k (nullptr for a key the screen does not show).
    QWidget* Control(ParKey k) const { return controls_[size_t(k)]; }
    CategoryPanel* Panel(ParGroup g) const { return panels_[size_t(g) - 1]; }
    // The field the last failed check pointed to, until it is edited.
    QWidget* Marked_Field() const { return marked_; }

    // On while the fields differ from the load by an edit that is not undone.
    bool Is_Change = false;
    // Every edit of a field is a step, typing on in the same text field adds to it; Ctrl+Z
    // undoes, Ctrl+Y redoes. Each load starts it afresh.
    QUndoStack* Undo_Stack;

    TitleStrip* P_Title;
    QScrollArea* CPG;
    CategoryPanel* CP_Ethernet_Connection;
    CategoryPanel* CP_MQTT;
    CategoryPanel* CP_RS232;
    CategoryPanel* CP_TLS;
    CategoryPanel* CP_NTP;
    CategoryPanel* CP_Ethernet;
    QPushButton* Btn_OK;
    QPushButton* Btn_Cancel;
    QPushButton* Btn_Test_Connection;
    IResolver* Broker_Resolver; // the system's; tests put a fake here

public slots:
    // Cancel, Escape and the close box: with changes, asks first whether to leave.
    void reject() override;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // One label/field row of a panel.
    struct Row {
        const ParKeyInfo* key; // the first key of the row
        CategoryPanel* panel;
        QWidget* label;        // a QLabel, or the control of the row's label_key
        QWidget* field;
    };

    void Order_TAB_Panels(QWidget* area);
    void Add_Row(CategoryPanel* panel, const ParKeyInfo& k);
    void Bind(const ParField& f);
    void Fill(const ParGen& m);
    void On_Change(ParKey k);
    // What follows a change of key k's value: its mark goes and the rules run.
    void Changed(ParKey k);
    // Puts a value into key k's field as undo or redo does and brings the field into view;
    // edited says whether the value is the user's or still the loaded one.
    void Put_Field(ParKey k, const QString& value, bool edited);
    void Align_Labels();
    void Fit_Width();
    void Show_Failed(ParKey k);
    void Unmark();
    void FormMouseWheel(int delta);

    AppState& st_;
    IMessages& msg_;
    std::array<CategoryPanel*, 6> panels_{};
    std::array<QWidget*, Par_Key_Count> controls_{};
    std::vector<Row> rows_;
    ParGen loaded_;
    std::bitset<Par_Key_Count> edited_;
    std::array<QString, Par_Key_Count> shown_; // each field's value before its latest change
    bool loading_ = false; // the screen, not the user, puts values into the fields
    QWidget* marked_ = nullptr;
    QPalette marked_palette_;
    int wheel_ = 0;
    std::unique_ptr<TlsFieldSummaries> tls_summaries_;
};

} // namespace swr
