#include "ProgramWait.h"

#include "session/AppState.h"
#include "lang/Texts.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace swr {

StartProgramResult Start_Program_Waiting(QWidget* parent, const AppState& st, const QString& NomeSW,
                                         const QString& Parameter, bool tipo, int limitMs)
{
    QDialog note(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    note.setObjectName(QStringLiteral("Program_Wait"));
    note.setWindowTitle(st.Product_Code);
    note.setModal(true);
    auto* layout = new QVBoxLayout(&note);
    auto* label = new QLabel(&note);
    label->setObjectName(QStringLiteral("L_Wait"));
    auto* bar = new QProgressBar(&note);
    bar->setRange(0, 0); // busy indicator
    layout->addWidget(label);
    layout->addWidget(bar);
    const QString shown = QDir::toNativeSeparators(NomeSW);
    auto show_seconds = [&](qint64 ms) {
        label->setText(st.Get_Lang_Text(Txt::Waiting_For_Program).arg(shown).arg(ms / 1000));
    };
    show_seconds(0);
    note.setMinimumWidth(420);
    note.show();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    qint64 lastShown = 0;
    const StartProgramResult r = Start_Program(
        NomeSW, Parameter, tipo,
        [&](qint64 ms) {
            if (ms / 1000 != lastShown / 1000) {
                show_seconds(ms);
                lastShown = ms;
            }
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        },
        limitMs, st.Program_Dir);
    note.hide();
    return r;
}

} // namespace swr
