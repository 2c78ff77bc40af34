#include "WidgetKit.h"

#include "session/AppState.h"
#include "base/Messages.h"
#include "project/ProjectFile.h"

#include <QAbstractButton>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <utility>

namespace swr {

void Apply_Caption(QWidget* w, const QString& caption, const QString& hint)
{
    if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(caption);
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(caption);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(caption);
    // Each is set only when it changes: a new name or description is announced to
    // assistive technology.
    if (w->toolTip() != hint)
        w->setToolTip(hint);
    const bool icon_only = caption.isEmpty() && qobject_cast<QAbstractButton*>(w);
    const QString& name = icon_only ? hint : caption;
    if (w->accessibleName() != name)
        w->setAccessibleName(name);
    if (w->accessibleDescription() != hint)
        w->setAccessibleDescription(hint);
}

void Apply_Captions(const AppState& st, std::initializer_list<Caption> captions)
{
    for (const Caption& c : captions) {
        QString caption;
        if (c.text >= 0)
            caption = st.Get_Lang_Text(c.text);
        else if (auto* b = qobject_cast<QAbstractButton*>(c.w))
            caption = b->text(); // a caption set elsewhere stays
        else if (auto* l = qobject_cast<QLabel*>(c.w))
            caption = l->text();
        Apply_Caption(c.w, caption, c.hint >= 0 ? st.Get_Lang_Text(c.hint) : QString());
    }
}

void Set_Title_Strip(TitleStrip* strip, const AppState& st, const QString& description)
{
    strip->L_SW_Code->setText(st.Product_Code);
    strip->L_SW_Desc->setText(description);
}

QVBoxLayout* Screen_Layout(QWidget* screen, TitleStrip** strip)
{
    auto* outer = new QVBoxLayout(screen);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    *strip = Named<TitleStrip>(screen, "P_Title");
    outer->addWidget(*strip);
    return outer;
}

QVBoxLayout* Screen_Body(QWidget* screen, TitleStrip** strip)
{
    QVBoxLayout* outer = Screen_Layout(screen, strip);
    auto* body = new QVBoxLayout;
    const QStyle* style = screen->style();
    body->setContentsMargins(style->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, screen),
                             style->pixelMetric(QStyle::PM_LayoutTopMargin, nullptr, screen),
                             style->pixelMetric(QStyle::PM_LayoutRightMargin, nullptr, screen),
                             style->pixelMetric(QStyle::PM_LayoutBottomMargin, nullptr, screen));
    // Set, not left to the outer layout, whose spacing is none: the rows inside take it.
    body->setSpacing(style->pixelMetric(QStyle::PM_LayoutVerticalSpacing, nullptr, screen));
    outer->addLayout(body, 1);
    return body;
}

QPushButton* Make_Button(QWidget* parent, const char* name)
{
    auto* b = Named<QPushButton>(parent, name);
    b->setAutoDefault(false);
    return b;
}

QHBoxLayout* Button_Row(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* b : buttons)
        row->addWidget(b);
    return row;
}

namespace {

// Holds a window's pending fit and runs it as the window is about to be shown.
class Pending_Fit final : public QObject {
public:
    explicit Pending_Fit(QWidget* window) : QObject(window)
    {
        setObjectName(QStringLiteral("Pending_Fit"));
        window->installEventFilter(this);
    }
    std::function<void()> fit;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        // Before the window's own show handling, so a dialog centres itself at its new size.
        if (e->type() == QEvent::Show && fit)
            std::exchange(fit, nullptr)();
        return false;
    }
};

} // namespace

void Fit_When_Shown(QWidget* window, std::function<void()> fit)
{
    auto* pending = window->findChild<Pending_Fit*>(QStringLiteral("Pending_Fit"), Qt::FindDirectChildrenOnly);
    if (window->isVisible()) {
        if (pending)
            pending->fit = nullptr;
        fit();
        return;
    }
    if (!pending)
        pending = new Pending_Fit(window);
    pending->fit = std::move(fit);
}

void Centre_On_Screen(QWidget* window)
{
    if (QScreen* s = window->screen()) {
        QRect r = window->frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        window->move(r.topLeft());
    }
}

int Exec_After_Load(QDialog* screen, const std::function<bool()>& load, const std::function<void(QWidget*)>& place)
{
    if (!load())
        return QDialog::Rejected;
    place(screen);
    return screen->exec();
}

void Restore_Place(QWidget* window, const QMap<QString, Screen_Place>& places)
{
    const auto kept = places.constFind(window->objectName());
    if (kept == places.cend()) {
        window->setWindowState(window->windowState() & ~Qt::WindowMaximized);
        Centre_On_Screen(window);
        return;
    }
    QList<QRect> screens;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        screens.append(primary->availableGeometry());
    for (const QScreen* s : QGuiApplication::screens())
        if (s != QGuiApplication::primaryScreen())
            screens.append(s->availableGeometry());
    window->setWindowState(window->windowState() & ~Qt::WindowMaximized);
    window->setGeometry(Place_On_Screens(kept->normal, screens));
    if (kept->maximized)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void Keep_Place(const QWidget* window, QMap<QString, Screen_Place>& places)
{
    if (!window->isVisible())
        return;
    const bool maximized = window->windowState() & Qt::WindowMaximized;
    QRect normal = maximized ? window->normalGeometry() : window->geometry();
    if (normal.isEmpty()) // maximised before the normal area was known
        normal = places.value(window->objectName()).normal;
    if (normal.isEmpty())
        normal = window->geometry();
    places[window->objectName()] = {normal, maximized};
}

void Check_Save_Accept(QDialog* screen, IMessages& msg, const Check_Findings& found,
                       const std::function<void(const Check_Finding&)>& mark, const std::function<FileResult()>& save)
{
    if (const Check_Finding* e = First_Error(found)) {
        mark(*e);
        msg.Show_Error(e->message);
        return;
    }
    const FileResult r = save();
    if (!r.ok) {
        msg.Show_Error(r.message);
        return;
    }
    screen->accept();
}

} // namespace swr
