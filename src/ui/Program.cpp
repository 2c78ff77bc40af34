#include "Program.h"

#include "About.h"
#include "Desktop.h"
#include "FleetWindow.h"
#include "MainWindow.h"
#include "MqttTopicScreen.h"
#include "NmeaAccessScreen.h"
#include "ParGenScreen.h"
#include "SoftOptions.h"
#include "TopicTemplate.h"
#include "UpdateDialog.h"
#include "WidgetMessages.h"

#include "session/AppState.h"
#include "session/Startup.h"
#include "session/Version.h"
#include "session/VersionServer.h"
#include "update/Echo.h"
#include "update/Ping.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QIcon>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextStream>
#include <QToolButton>

#include <future>
#include <thread>

#ifdef SWR_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace swr {

namespace {

void Step_Done(const std::function<void(const char* step)>& step_done, const char* step)
{
    if (step_done)
        step_done(step);
}

} // namespace

struct Program::Parts {
    AppState st;
    WidgetMessages msg{st};
    HttpVersionCheck server;
    DesktopBrowser browser;
    // The device check keeps the windows painted while it waits for each answer.
    SystemEcho echo{[] { QApplication::processEvents(); }};
    // The fleet's device checks run away from the windows, and touch none.
    SystemEcho fleet_echo;
    PingClock fleet_clock;
    TFFleet* fleet = nullptr; // owned by the main window
    std::unique_ptr<TFKonstrelFirmWare> window;
};

Program::Program(const QString& programDir, const std::function<void(const char* step)>& step_done,
                 const QString& shippedLanguageDir)
    : parts_(std::make_unique<Parts>())
{
    const auto done = [&step_done](const char* step) { Step_Done(step_done, step); };
    Parts& p = *parts_;
    Start_Up(p.st, programDir, p.msg, shippedLanguageDir);
    done("start_up");
    p.window = std::make_unique<TFKonstrelFirmWare>(p.st, p.msg, p.server);
    done("main_window");
    TFKonstrelFirmWare& window = *p.window;
    window.Browser = &p.browser;
    // The screens are created in this order, each joining Change_Language as it is made:
    // (main window, new and open configuration,) software options, About, Set
    // Communication, update dialog, NMEA 0183 access, MQTT topics, topic template.
    auto* FSoftOptions = new TFSoftOptions(p.st, p.msg, p.server, p.browser, &window);
    window.Add_Lang_Screen(FSoftOptions);
    FSoftOptions->Change_Language = [&window] { window.Change_Language(); };
    window.Show_Soft_Options = [FSoftOptions] { return FSoftOptions->exec() == QDialog::Accepted; };
    done("options");
    auto* FAbout = new TFAbout(p.st, p.browser, &window);
    window.Set_Step_Action(window.Btn_Info, [FAbout] { FAbout->exec(); });
    done("about");
    auto* FParGen = new TFParGen(p.st, p.msg, &window);
    window.Add_Lang_Screen(FParGen);
    window.Set_Step_Action(window.Btn_Prm_Gen, [FParGen] { FParGen->Execute(); });
    done("set_communication");
    auto* FBoot = new TFBoot(p.st, p.msg, p.echo, &window);
    // The updater lies beside the program; an installed program's users, who cannot write
    // there, put it into their data folder.
    const QStringList updater_folders{QCoreApplication::applicationDirPath(),
                                      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)};
    FBoot->Updater_Folders = updater_folders;
    window.Add_Lang_Screen(FBoot);
    window.Show_Update_Dialog = [FBoot] { FBoot->Show_Update(1); };
    done("update_dialog");
    auto* FNMEA_0183_Set_Access2 = new TFNMEA_0183_Set_Access2(p.st, p.msg, &window);
    window.Add_Lang_Screen(FNMEA_0183_Set_Access2);
    window.Set_Step_Action(window.Btn_NMEA0183_Access,
                           [FNMEA_0183_Set_Access2] { FNMEA_0183_Set_Access2->Show_Access(); });
    done("nmea_access");
    auto* FTopicTemplate = new TFTopicTemplate(p.st, &window);
    auto* FMQTT_Set_Topic = new TFMQTT_Set_Topic(p.st, p.msg, FTopicTemplate, &window);
    window.Add_Lang_Screen(FMQTT_Set_Topic);
    window.Add_Lang_Screen(FTopicTemplate);
    window.Set_Step_Action(window.Btn_MQTT_Set_Topic, [FMQTT_Set_Topic] { FMQTT_Set_Topic->Show_Topics(); });
    done("mqtt_topics");
    // The fleet window, seldom opened, is made when first asked for, not at start-up.
    window.Set_Step_Action(window.Btn_Fleet, [&p, &window, updater_folders] {
        if (!p.fleet) {
            p.fleet = new TFFleet(p.st, p.msg, p.fleet_echo, p.fleet_clock, p.browser, &window);
            p.fleet->Updater_Folders = updater_folders;
            window.Add_Lang_Screen(p.fleet);
        }
        p.fleet->Show_Fleet();
    });
}

Program::~Program() = default;

TFKonstrelFirmWare& Program::Window()
{
    return *parts_->window;
}

namespace {

class First_Paint_Icon final : public QObject {
public:
    explicit First_Paint_Icon(QWidget& window) : QObject(&window) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // After this paint has reached the screen.
            QMetaObject::invokeMethod(
                qApp, [] { QApplication::setWindowIcon(Program_Icon()); }, Qt::QueuedConnection);
            deleteLater();
        }
        return false;
    }
};

} // namespace

void Window_Icon_After_First_Paint(QWidget& window)
{
    new First_Paint_Icon(window);
}

QIcon Program_Icon()
{
    QIcon icon;
    for (const char* size : {"48", "256"})
        icon.addFile(QStringLiteral(":/icons/swr2305-%1.png").arg(QLatin1String(size)));
    return icon;
}

bool Answer_Info_Option(const QStringList& args, QTextStream& out)
{
    if (args.contains(QLatin1String("--version"))) {
        out << Version_Line(QStringLiteral("swr2305")) << '\n';
        return true;
    }
    if (!args.contains(QLatin1String("--help")))
        return false;
    out << "usage: swr2305 [--help | --version] [toolkit options]\n"
           "The configurator of the HDR2305 NMEA 0183 / MQTT converter.\n"
           "  --help     this text\n"
           "  --version  the name and version of the program\n"
           "The toolkit's own options are taken too, for example -platform offscreen.\n"
           "The workspace is the program's folder, or the per-user data folder when the\n"
           "program's folder cannot be written.\n";
    return true;
}

namespace {

// Two of the largest costs of a start are the system's font configuration (its files
// are parsed when the first text is measured) and the toolkit's list of the installed
// fonts (made at the same moment). The first is read on a thread of its own while the
// application object connects to the display; once the object exists, the same thread
// makes the font list while the main thread runs start-up and makes the main window.
// The toolkit's font database is thread-safe: a text measured meanwhile waits for it.
class Font_Preload {
public:
    Font_Preload()
    {
        thread_ = std::thread([made = application_.get_future()]() mutable {
#ifdef SWR_FONTCONFIG
            FcInit();
#endif
            if (made.get())
                QFontDatabase::families();
        });
    }
    // Without an application object the thread only reads the configuration.
    ~Font_Preload()
    {
        Release(false);
        Join();
    }
    // The application object exists: the font list can be made.
    void Application_Made() { Release(true); }
    // Before the application object goes, the thread must have ended.
    void Join()
    {
        if (thread_.joinable())
            thread_.join();
    }

private:
    void Release(bool made)
    {
        if (!released_) {
            released_ = true;
            application_.set_value(made);
        }
    }
    std::promise<bool> application_;
    bool released_ = false;
    std::thread thread_;
};

} // namespace

int Run_Program(int argc, char** argv, const Run_Options& options)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    {
        QTextStream out(stdout);
        if (Answer_Info_Option(args, out))
            return 0;
    }
    Font_Preload fonts;
    QApplication app(argc, argv);
    fonts.Application_Made();
    // However this function is left, the font thread ends before the application object.
    struct End_Fonts_First {
        Font_Preload& fonts;
        ~End_Fonts_First() { fonts.Join(); }
    } end_fonts_first{fonts};
    QApplication::setApplicationName(QStringLiteral("SWR2305"));
    QApplication::setOrganizationName(QStringLiteral("Norvex"));
    // The menu entry's name, by which desktops match the windows to the entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(SWR_APP_ID));
    Step_Done(options.step_done, "application");

    // An installed program finds the language files it ships where the package puts them
    // beside its executable's folder; their presence is what tells it is installed.
    const QString shipped =
        QDir::cleanPath(QApplication::applicationDirPath() + QStringLiteral("/" SWR_SHIPPED_LANGUAGE_FROM_BIN));
    const bool installed = options.program_dir.isEmpty() && QFileInfo(shipped).isDir();
    Program program(Choose_Program_Dir(options.program_dir.isEmpty() ? QApplication::applicationDirPath()
                                                                     : options.program_dir,
                                       QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), installed),
                    options.step_done, shipped);
    Window_Icon_After_First_Paint(program.Window());
    program.Window().show();
    Step_Done(options.step_done, "show");
    if (options.shown)
        options.shown(program.Window());
    return app.exec();
}

} // namespace swr
