// The message boxes' buttons take their texts from the string table, so that a question
// in another language is not answered with English buttons.
#include "WidgetMessages.h"

#include "lang/Texts.h"

#include "ModalDialogs.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QMessageBox>

#include <gtest/gtest.h>

using namespace swr;
using namespace swr::test;

TEST(WidgetMessages, ButtonsSpeakTheLanguageOfTheTable)
{
    ProgramFolder p;
    p.start();
    p.st.Lang_Table[Txt::Box_Yes] = QStringLiteral("&Sì");
    p.st.Lang_Table[Txt::Box_No] = QStringLiteral("&No");
    p.st.Lang_Table[Txt::Box_OK] = QStringLiteral("Va bene");
    WidgetMessages msg(p.st);

    QStringList seen;
    const auto answer = [&](QMessageBox::StandardButton pressed) {
        On_Next_Modal<QMessageBox>([&seen, pressed](QMessageBox* box) {
            for (QAbstractButton* b : box->buttons())
                seen << b->text();
            box->button(pressed)->click();
        });
    };
    answer(QMessageBox::No);
    EXPECT_FALSE(msg.Ask_Yes_No(QStringLiteral("Proseguire?")));
    seen.sort();
    EXPECT_EQ(seen, (QStringList{"&No", "&Sì"}));

    seen.clear();
    answer(QMessageBox::Yes);
    EXPECT_TRUE(msg.Ask_Yes_No(QStringLiteral("Proseguire?")));

    seen.clear();
    answer(QMessageBox::Ok);
    msg.Show_Error(QStringLiteral("Errore!!!"));
    EXPECT_EQ(seen, QStringList{"Va bene"});
}
