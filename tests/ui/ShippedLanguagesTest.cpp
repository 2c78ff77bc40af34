// The shipped languages on every screen: each text fits its control, a start in another
// language shows no English, and the options lead back to English for good.
#include "BrokerTestDialog.h"
#include "DataAreaMap.h"
#include "FleetWindow.h"
#include "MainWindow.h"
#include "MonitorWindow.h"
#include "MqttTopicScreen.h"
#include "NmeaAccessScreen.h"
#include "ParGenScreen.h"
#include "Program.h"
#include "SoftOptions.h"
#include "TopicTemplate.h"
#include "UpdateDialog.h"

#include "lang/LangTable.h"
#include "project/mqtt/TopicTemplate.h"
#include "project/pargen/ParGen.h"
#include "session/AppState.h"

#include "FakeResolver.h"
#include "ModalDialogs.h"
#include "TestSupport.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QThread>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

using namespace swr;
using swr::test::On_Next_Modal;

namespace {

const char* const Shipped[] = {"English", "Italiano", "Deutsch"};

// Room the window manager's title bar takes beside the title: icon and three buttons.
constexpr int Title_Bar_Room = 150;

void Settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QApplication::processEvents();
    }
}

// A program folder as a user has it after installing: the shipped languages, settings
// that name the language and the configuration "Fit", whose switches are all on so that
// every row of Set Communication shows. Its broker is on this machine, on a port where
// none listens.
struct Workspace {
    QTemporaryDir dir;

    explicit Workspace(const QString& language)
    {
        QDir().mkpath(dir.filePath("LANGUAGE"));
        const QDir shipped(QStringLiteral(SWR_LANGUAGE_DIR));
        for (const QString& f : shipped.entryList(QDir::Files))
            QFile::copy(shipped.filePath(f), dir.filePath("LANGUAGE/" + f));
        Write("Konstrel.xml", "<Conf_Settings><lastproj><projectname>Fit</projectname></lastproj><lastlang><language>"
                                  + language.toUtf8() + "</language></lastlang></Conf_Settings>");
        QDir().mkpath(dir.filePath("PROJECTS/Fit/bin"));
        AppState st;
        Load_Default_Strings(st.Lang_Table);
        ParGen m = ParGen_Defaults();
        for (const ParKeyInfo& k : Par_Keys())
            if (k.kind == ParKind::Flag)
                m.values[size_t(k.key)] = QStringLiteral("1");
        m.Set_Text(ParKey::MQTT_Server_URL, QStringLiteral("127.0.0.1"));
        m.Set_Text(ParKey::MQTT_Server_Port, QStringLiteral("1"));
        EXPECT_TRUE(Save_ParGen(st, dir.filePath("PROJECTS/Fit/ParGen.xml"), m).ok);
    }
    void Write(const QString& rel, const QByteArray& data) const
    {
        QFile f(dir.filePath(rel));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    QByteArray Read(const QString& rel) const
    {
        QFile f(dir.filePath(rel));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// The widest line of a text in font, rich text as the label lays it out.
int Text_Width(const QFont& font, const QString& text, bool rich)
{
    if (rich) {
        QTextDocument doc;
        doc.setDefaultFont(font);
        doc.setDocumentMargin(0);
        doc.setHtml(text);
        return qCeil(doc.idealWidth());
    }
    const QFontMetrics fm(font);
    int w = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        w = qMax(w, fm.horizontalAdvance(line));
    return w;
}

// Where the control stops showing, in its own coordinates: its right edge, or the first
// ancestor's (a scroll area's view, say) that cuts it off before.
int Shown_Right(const QWidget* w)
{
    int right = w->width();
    for (const QWidget* a = w->parentWidget(); a && !w->isWindow(); a = a->parentWidget()) {
        right = qMin(right, w->mapFrom(a, QPoint(a->width(), 0)).x());
        if (a->isWindow())
            break;
    }
    return right;
}

// Walks the screens of one language: what does not fit, and every text shown.
class Screen_Walk {
public:
    explicit Screen_Walk(QString language) : language_(std::move(language)) {}

    // The window as it is now, then with each page of each of its tab widgets in turn.
    void Walk(QWidget* window, const QString& screen)
    {
        Settle();
        Check(window, screen);
        for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
            if (!tabs->isVisibleTo(window))
                continue;
            const int was = tabs->currentIndex();
            for (int i = 0; i < tabs->count(); ++i) {
                if (!tabs->isTabVisible(i))
                    continue;
                tabs->setCurrentIndex(i);
                Settle();
                Check(window, screen);
            }
            tabs->setCurrentIndex(was);
        }
        walked << screen;
    }

    QStringList faults;      // one line per control whose text would be cut
    QSet<QString> shown;     // every text on a control, trimmed
    QStringList walked;      // the screens, in the order walked

private:
    void Fault(const QString& screen, const QWidget* w, const QString& part, const QString& text, int need, int has)
    {
        const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                       : w->objectName();
        const QString line = QStringLiteral("%1 / %2 / %3%4: \"%5\" needs %6 px, has %7 px")
                                 .arg(language_, screen, name, part, text)
                                 .arg(need)
                                 .arg(has);
        if (!faults.contains(line))
            faults << line;
    }
    void Shown(const QString& text)
    {
        if (!text.trimmed().isEmpty())
            shown.insert(text.trimmed());
    }

    void Check(QWidget* window, const QString& screen)
    {
        if (!window->windowTitle().isEmpty()) {
            Shown(window->windowTitle());
            const int need = Text_Width(window->font(), window->windowTitle(), false) + Title_Bar_Room;
            if (need > window->width())
                Fault(screen, window, " (title)", window->windowTitle(), need, window->width());
        }
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->window() != window || !w->isVisibleTo(window))
                continue;
            if (auto* l = qobject_cast<QLabel*>(w))
                Check_Label(screen, l);
            else if (auto* b = qobject_cast<QPushButton*>(w))
                Check_Push_Button(screen, b);
            else if (auto* c = qobject_cast<QCheckBox*>(w))
                Check_Check_Box(screen, c, QStyle::SE_CheckBoxContents);
            else if (auto* r = qobject_cast<QRadioButton*>(w))
                Check_Check_Box(screen, r, QStyle::SE_RadioButtonContents);
            else if (auto* t = qobject_cast<QToolButton*>(w))
                Check_Tool_Button(screen, t);
            else if (auto* bar = qobject_cast<QTabBar*>(w))
                Check_Tabs(screen, bar);
            else if (auto* h = qobject_cast<QHeaderView*>(w))
                Check_Header(screen, h);
            else if (auto* cb = qobject_cast<QComboBox*>(w))
                Check_Combo(screen, cb);
        }
    }

    void Check_Label(const QString& screen, QLabel* l)
    {
        if (l->text().isEmpty())
            return;
        const bool rich = l->textFormat() == Qt::RichText
                          || (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text()));
        if (rich) {
            QTextDocument doc;
            doc.setHtml(l->text());
            Shown(doc.toPlainText());
        } else {
            Shown(l->text());
        }
        if (l->wordWrap()) {
            // A wrapped label fits when the lines it needs at its width are as high as it is.
            const int need = l->heightForWidth(l->width());
            if (need > l->height())
                Fault(screen, l, " (height)", l->text(), need, l->height());
            return;
        }
        const QRect text = l->contentsRect().adjusted(l->margin(), 0, -l->margin(), 0);
        const int has = qMin(text.right() + 1, Shown_Right(l)) - text.left();
        const int need = Text_Width(l->font(), l->text(), rich);
        if (need > has)
            Fault(screen, l, QString(), l->text(), need, has);
    }

    void Check_Push_Button(const QString& screen, QPushButton* b)
    {
        if (b->text().isEmpty())
            return;
        Shown(b->text());
        // The style draws the caption, and the icon before it, within the button's contents.
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        opt.icon = b->icon();
        opt.iconSize = b->iconSize();
        if (b->isDefault())
            opt.features |= QStyleOptionButton::DefaultButton;
        const QRect contents = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
        const int has = qMin(contents.right() + 1, Shown_Right(b)) - contents.left();
        int need = Text_Width(b->font(), QString(b->text()).remove(QLatin1Char('&')), false);
        if (!b->icon().isNull())
            need += b->iconSize().width() + 4;
        if (need > has)
            Fault(screen, b, QString(), b->text(), need, has);
    }

    void Check_Check_Box(const QString& screen, QAbstractButton* c, QStyle::SubElement contents)
    {
        if (c->text().isEmpty())
            return;
        Shown(c->text());
        QStyleOptionButton opt;
        opt.initFrom(c);
        opt.text = c->text();
        const QRect r = c->style()->subElementRect(contents, &opt, c);
        const int has = qMin(r.right() + 1, Shown_Right(c)) - r.left();
        const int need = Text_Width(c->font(), c->text(), false);
        if (need > has)
            Fault(screen, c, QString(), c->text(), need, has);
    }

    void Check_Tool_Button(const QString& screen, QToolButton* t)
    {
        const bool text_shown = t->toolButtonStyle() != Qt::ToolButtonIconOnly || t->icon().isNull();
        if (t->text().isEmpty() || !text_shown)
            return;
        Shown(t->text());
        const int has = qMin(t->width(), Shown_Right(t));
        if (t->sizeHint().width() > has)
            Fault(screen, t, QString(), t->text(), t->sizeHint().width(), has);
    }

    void Check_Tabs(const QString& screen, QTabBar* bar)
    {
        const int space = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
        for (int i = 0; i < bar->count(); ++i) {
            if (!bar->isTabVisible(i))
                continue;
            Shown(bar->tabText(i));
            const QRect r = bar->tabRect(i);
            const int need = Text_Width(bar->font(), bar->tabText(i), false) + space;
            const int has = qMin(r.width(), bar->width() - r.left());
            if (need > has)
                Fault(screen, bar, QStringLiteral(" tab %1").arg(i), bar->tabText(i), need, has);
        }
    }

    void Check_Header(const QString& screen, QHeaderView* h)
    {
        if (h->orientation() != Qt::Horizontal || !h->model())
            return;
        const int margin = 2 * h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
        for (int c = 0; c < h->count(); ++c) {
            const QString text = h->model()->headerData(c, Qt::Horizontal).toString();
            if (h->isSectionHidden(c) || text.isEmpty())
                continue;
            Shown(text);
            const int need = Text_Width(h->font(), text, false) + margin;
            if (need > h->sectionSize(c))
                Fault(screen, h, QStringLiteral(" column %1").arg(c), text, need, h->sectionSize(c));
        }
    }

    void Check_Combo(const QString& screen, QComboBox* cb)
    {
        QStyleOptionComboBox opt;
        opt.initFrom(cb);
        opt.editable = cb->isEditable();
        opt.frame = cb->hasFrame();
        const QRect field = cb->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, cb);
        const int has = qMin(field.right() + 1, Shown_Right(cb)) - field.left();
        for (int i = 0; i < cb->count(); ++i) {
            Shown(cb->itemText(i));
            const int need = Text_Width(cb->font(), cb->itemText(i), false);
            if (need > has)
                Fault(screen, cb, QStringLiteral(" item %1").arg(i), cb->itemText(i), need, has);
        }
    }

    QString language_;
};

template <class D>
D* Screen(TFKonstrelFirmWare& w)
{
    D* d = w.findChild<D*>();
    EXPECT_TRUE(d);
    return d;
}

// Runs event loops until done or 10 s have passed.
bool Until(const std::function<bool()>& done)
{
    const QDeadlineTimer deadline(10000);
    while (!done() && !deadline.hasExpired()) {
        QApplication::processEvents();
        QThread::msleep(5);
    }
    return done();
}

// Runs action and closes every message box it shows meanwhile.
void Closing_Messages(const std::function<void()>& action)
{
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->reject();
    });
    timer.start();
    action();
}

// Every screen and dialog of a program started in the workspace, opened the way the user
// opens it.
void Walk_Every_Screen(Program& program, Screen_Walk& walk)
{
    TFKonstrelFirmWare& w = program.Window();
    w.show();
    walk.Walk(&w, "main window");

    On_Next_Modal([&](QDialog* d) { walk.Walk(d, "new configuration"); }, true);
    w.Btn_New->click();
    On_Next_Modal([&](QDialog* d) { walk.Walk(d, "open configuration"); }, true);
    w.Btn_Open->click();
    On_Next_Modal<TFSoftOptions>([&](TFSoftOptions* d) { walk.Walk(d, "options"); }, true);
    w.Btn_Opz->click();
    On_Next_Modal([&](QDialog* d) { walk.Walk(d, "about"); }, true);
    w.Btn_Info->click();

    test::FakeResolver resolver;
    On_Next_Modal<TFParGen>(
        [&](TFParGen* d) {
            walk.Walk(d, "set communication");
            d->Broker_Resolver = &resolver;
            On_Next_Modal<TFBrokerTest>(
                [&](TFBrokerTest* t) {
                    walk.Walk(t, "broker test");
                    EXPECT_TRUE(Until([t] { return t->Finished(); }));
                    walk.Walk(t, "broker test, finished");
                },
                true);
            d->Btn_Test_Connection->click();
        },
        true);
    w.Btn_Prm_Gen->click();

    On_Next_Modal<TFNMEA_0183_Set_Access2>(
        [&](TFNMEA_0183_Set_Access2* d) {
            walk.Walk(d, "NMEA 0183 access");
            d->Open_Find(true);
            walk.Walk(d, "NMEA 0183 access, find and replace");
            On_Next_Modal<TFData_Area_Map>([&](TFData_Area_Map* m) { walk.Walk(m, "data area map"); }, true);
            d->Btn_DataArea->click();
        },
        true);
    w.Btn_NMEA0183_Access->click();

    On_Next_Modal<TFMQTT_Set_Topic>(
        [&](TFMQTT_Set_Topic* d) {
            walk.Walk(d, "MQTT topics");
            d->Open_Find(true);
            walk.Walk(d, "MQTT topics, find and replace");
            // With TLS on and no client certificate the monitor says it cannot start.
            Closing_Messages([d] { d->Btn_Monitor->click(); });
            if (auto* m = d->findChild<TFMonitor*>()) {
                walk.Walk(m, "live monitor");
                m->close();
            }
        },
        true);
    w.Btn_MQTT_Set_Topic->click();

    TFTopicTemplate* editor = Screen<TFTopicTemplate>(w);
    On_Next_Modal<TFTopicTemplate>([&](TFTopicTemplate* d) { walk.Walk(d, "template editor"); }, true);
    editor->Edit(Open_Topic_Editor(Pub_Template_Col, Pub_Template_Col, QString()), QString());

    On_Next_Modal<TFBoot>([&](TFBoot* d) { walk.Walk(d, "update dialog"); }, true);
    Screen<TFBoot>(w)->Show_Update(1);

    On_Next_Modal<TFFleet>([&](TFFleet* d) { walk.Walk(d, "fleet"); }, true);
    w.Btn_Fleet->click();
}

// English texts that the language's table replaces by another text.
QSet<QString> Replaced_English(const QStringList& table)
{
    QStringList english;
    Load_Default_Strings(english);
    QSet<QString> translated;
    for (const QString& t : table)
        translated.insert(t.trimmed());
    QSet<QString> replaced;
    for (int i = 0; i < english.size(); ++i)
        if (english[i] != table[i] && !translated.contains(english[i].trimmed()))
            replaced.insert(english[i].trimmed());
    return replaced;
}

} // namespace

// Set in each shipped language, every screen and dialog shows each button, label, check
// box, tab, column header, list entry and title whole: its text is no wider than the
// control, or the control has grown with it. A language other than English shows no
// English text its table translates.
TEST(ShippedLanguagesUi, EveryTextFitsEveryScreenInEachLanguage)
{
    QStringList faults;
    for (const char* language : Shipped) {
        SCOPED_TRACE(language);
        Workspace ws(QString::fromLatin1(language));
        Program program(ws.dir.path());
        Screen_Walk walk(QString::fromLatin1(language));
        Walk_Every_Screen(program, walk);
        EXPECT_EQ(walk.walked.join(", "),
                  "main window, new configuration, open configuration, options, about, set communication, "
                  "broker test, broker test, finished, NMEA 0183 access, NMEA 0183 access, find and replace, "
                  "data area map, MQTT topics, MQTT topics, find and replace, live monitor, template editor, update dialog, fleet");
        faults << walk.faults;

        if (QString::fromLatin1(language) == QLatin1String("English"))
            continue;
        QStringList table;
        Load_Default_Strings(table);
        ASSERT_TRUE(Read_Language_File(table, ws.dir.filePath(QStringLiteral("LANGUAGE/%1.lng").arg(language)), nullptr));
        const QSet<QString> english = Replaced_English(table);
        for (const QString& text : walk.shown)
            EXPECT_FALSE(english.contains(text)) << "English on screen in " << language << ": " << text.toStdString();
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
}

// A user who started in Italian picks English in the options: it applies at once, OK
// stores it, and the next start is in English.
TEST(ShippedLanguagesUi, OptionsLeadBackToEnglishAndStoreIt)
{
    Workspace ws(QStringLiteral("Italiano"));
    {
        Program program(ws.dir.path());
        TFKonstrelFirmWare& w = program.Window();
        w.show();
        EXPECT_EQ(w.Btn_New->text(), "Nuova configurazione");
        // Qt's own dialogs speak it too.
        EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), "&Nome del file:");
        On_Next_Modal<TFSoftOptions>([&](TFSoftOptions* o) {
            EXPECT_EQ(o->L_Sel_Lang->text(), "Lingua selezionata: Italiano");
            QToolButton* english = nullptr;
            for (QToolButton* b : o->L_L)
                if (b->isVisibleTo(o) && b->text() == "English")
                    english = b;
            ASSERT_TRUE(english);
            On_Next_Modal<QMessageBox>([](QMessageBox* box) {
                EXPECT_EQ(box->text(), "Cambiare la lingua da Italiano a English?");
                box->button(QMessageBox::Yes)->click();
            });
            english->click();
            EXPECT_EQ(o->L_Sel_Lang->text(), "Selected Language : English");
            o->Btn_OK->click();
        });
        w.Btn_Opz->click();
        EXPECT_EQ(w.Btn_New->text(), "New Configuration");
        EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), "File &name:");
    }
    EXPECT_TRUE(ws.Read("Konstrel.xml").contains("<language>English</language>")) << ws.Read("Konstrel.xml").data();
    Program again(ws.dir.path());
    EXPECT_EQ(again.Window().Btn_New->text(), "New Configuration");
    EXPECT_EQ(Screen<TFParGen>(again.Window())->windowTitle(), "Set Communication");
}
