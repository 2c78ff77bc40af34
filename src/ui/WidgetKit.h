#pragma once

// The small pieces every screen is built from: named widgets, the title strip, button
// rows and the captions and hints applied from the string table.

#include "LangScreen.h"
#include "TitleStrip.h"

#include "project/CheckFinding.h"
#include "session/ScreenPlaces.h"

#include <QMap>
#include <QString>

#include <functional>
#include <initializer_list>

class QBoxLayout;
class QDialog;
class QHBoxLayout;
class QVBoxLayout;
class QPushButton;
class QWidget;

namespace swr {

struct AppState;
struct FileResult;
class IMessages;

// A widget created under parent with its object name (the control's name on the screen).
template <class W>
W* Named(QWidget* parent, const char* name)
{
    auto* w = new W(parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

// One control's texts by string table index; -1 for none.
struct Caption {
    QWidget* w;
    int text = -1;
    int hint = -1;
};

// Gives a control its caption and hint. The caption goes to a label, button, check box or
// group box; the hint is the tooltip. The accessible name is the caption and the hint the
// accessible description, so screen readers (and tests) find a control by the words on
// it. A button without a caption (an icon button) takes its hint as its name; any other
// control without one keeps the name its buddy label gives it.
void Apply_Caption(QWidget* w, const QString& caption, const QString& hint);
void Apply_Captions(const AppState& st, std::initializer_list<Caption> captions);

// The title strip's two texts: the software code, never translated, and the description.
void Set_Title_Strip(TitleStrip* strip, const AppState& st, const QString& description);

// A screen's outer layout with its title strip (named P_Title) on top and nothing else yet:
// no margins and no spacing of its own, so the strip runs to the window's edges.
QVBoxLayout* Screen_Layout(QWidget* screen, TitleStrip** strip);

// The same with the screen's body below the strip: the layout returned, with the margins
// and spacing the style gives a window's own layout.
QVBoxLayout* Screen_Body(QWidget* screen, TitleStrip** strip);

// A push button that Enter in another field never presses.
QPushButton* Make_Button(QWidget* parent, const char* name);

// The buttons side by side at the right end of a row.
QHBoxLayout* Button_Row(std::initializer_list<QPushButton*> buttons);

// Runs fit now when window is shown, otherwise just before it is next shown (a later call
// while hidden replaces an earlier one). Fitting a window to its texts measures them, which a
// screen made at start-up and not yet shown need not do.
void Fit_When_Shown(QWidget* window, std::function<void()> fit);

// Puts a window in the middle of its screen's free area.
void Centre_On_Screen(QWidget* window);

// How every editor opens: load runs first, and only when it succeeds is the screen placed
// (centred on its screen unless place puts it elsewhere) and shown modally; its result is
// then exec's. When load fails (it has shown why) nothing is shown and the result is
// QDialog::Rejected.
int Exec_After_Load(QDialog* screen, const std::function<bool()>& load,
                    const std::function<void(QWidget*)>& place = Centre_On_Screen);

// A resizable screen opens where places keeps it by its name, maximised again when it
// was, and on one of the desktop's screens whatever it was before; a screen not kept
// there opens at its present size, centred.
void Restore_Place(QWidget* window, const QMap<QString, Screen_Place>& places);
// Keeps a shown screen's place (its area when not maximised, and whether it is) by its name.
void Keep_Place(const QWidget* window, QMap<QString, Screen_Place>& places);

// How every editor's OK closes it: the check's findings first; while one refuses OK,
// mark shows where the first error is, its message follows and nothing is written. Then
// save writes the file; when that fails its message is shown and the screen stays open
// with every edit. Only then is the screen accepted.
void Check_Save_Accept(QDialog* screen, IMessages& msg, const Check_Findings& found,
                       const std::function<void(const Check_Finding&)>& mark, const std::function<FileResult()>& save);

} // namespace swr
