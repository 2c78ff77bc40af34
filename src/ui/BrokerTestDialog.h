#pragma once

// The broker test of the Set Communication screen: a dialog that runs the test of the
// core on a worker thread, shows each stage as it passes, offers Cancel, and ends with one
// line per stage; and the one-line check summaries under the screen's TLS fields.

#include "broker/BrokerTest.h"
#include "project/pargen/ParGen.h"

#include <QDialog>

#include <atomic>
#include <map>

class QFormLayout;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QThread;

namespace swr {

struct AppState;
class TitleStrip;

class TFBrokerTest : public QDialog {
    Q_OBJECT
public:
    // Starts the test of m at once; resolver looks host names up (tests give a fake).
    TFBrokerTest(const AppState& st, const ParGen& m, IResolver& resolver, const BrokerTestOptions& options = {},
                 QWidget* parent = nullptr);
    ~TFBrokerTest() override;

    bool Finished() const { return finished_; }
    const BrokerTestResult& Result() const { return result_; }
    // The lines shown: one per stage passed so far, then the verdict once finished.
    QStringList Lines() const;

    TitleStrip* P_Title;
    QLabel* L_Running;
    // The verdict once the test has ended: a plate with a mark and the verdict's line, its
    // property "verdict" "passed" or "failed".
    QFrame* P_Verdict;
    QLabel* I_Verdict;
    QLabel* L_Verdict;
    QPlainTextEdit* E_Stages;
    QPushButton* Btn_Close; // Cancel while the test runs, OK afterwards

public slots:
    // Escape, the close box and Cancel: a running test is cancelled first.
    void reject() override;

private:
    void Stage_Passed(const BrokerStage& s);
    void Test_Finished(const BrokerTestResult& r);
    void Show_Verdict(bool passed);
    void Wait_For_Worker();

    const AppState& st_;
    QThread* worker_ = nullptr;
    std::atomic<bool> cancel_{false};
    bool finished_ = false;
    BrokerTestResult result_;
    QStringList lines_;
};

// The summaries under the TLS fields of a form: one label row under each of the server
// certificate, the client certificate and the client key, visible while its field is and
// says something, in warning colour when the check found a problem.
class TlsFieldSummaries {
public:
    // controls: the field of each key, as it sits in form.
    TlsFieldSummaries(QFormLayout* form, const std::map<ParKey, QWidget*>& controls);
    void Update(const AppState& st, const ParGen& m);
    QLabel* Summary(ParKey k) const;

private:
    QFormLayout* form_;
    std::map<ParKey, QWidget*> fields_;
    std::map<ParKey, QLabel*> labels_;
};

} // namespace swr
