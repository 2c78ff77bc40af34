#include "WidgetMessages.h"

#include "lang/Texts.h"
#include "session/AppState.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace swr {

namespace {

QMessageBox::StandardButton Box(const AppState& st, QMessageBox::Icon icon, const QString& text,
                                QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, st.Product_Code, text, buttons, QApplication::activeWindow());
    // The buttons speak the language of the rest of the program.
    for (const auto& [button, index] : {std::pair{QMessageBox::Yes, int(Txt::Box_Yes)},
                                        {QMessageBox::No, int(Txt::Box_No)},
                                        {QMessageBox::Ok, int(Txt::Box_OK)}})
        if (QAbstractButton* b = box.button(button))
            b->setText(st.Get_Lang_Text(index));
    return QMessageBox::StandardButton(box.exec());
}

} // namespace

void WidgetMessages::Show_Error(const QString& text)
{
    Box(st_, QMessageBox::Critical, text, QMessageBox::Ok);
}

void WidgetMessages::Show_Warning(const QString& text)
{
    Box(st_, QMessageBox::Warning, text, QMessageBox::Ok);
}

void WidgetMessages::Show_Info(const QString& text)
{
    Box(st_, QMessageBox::Information, text, QMessageBox::Ok);
}

bool WidgetMessages::Ask_Yes_No(const QString& text)
{
    return Box(st_, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace swr
