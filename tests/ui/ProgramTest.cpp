#include "MainWindow.h"
#include "Program.h"
#include "TitleStrip.h"

#include "session/AppState.h"

#include <QDialog>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <gtest/gtest.h>

using namespace swr;

namespace {

// The alpha of the most opaque pixel.
int Most_Opaque(const QImage& image)
{
    int alpha = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            alpha = std::max(alpha, qAlpha(image.pixel(x, y)));
    return alpha;
}

} // namespace

// Every screen exists, once, before the main window is shown: none is made on first use.
TEST(ProgramStart, CreatesEveryScreenOnceBeforeShowingTheMainWindow)
{
    QTemporaryDir dir;
    Program program(dir.path());
    TFKonstrelFirmWare& w = program.Window();
    EXPECT_FALSE(w.isVisible());
    for (const char* name : {"TFNew_Project", "TFOpenConf", "TFSoftOptions", "TFAbout", "TFParGen", "TFBoot",
                             "TFNMEA_0183_Set_Access2", "TFMQTT_Set_Topic", "TFTopicTemplate"}) {
        const QList<QDialog*> found = w.findChildren<QDialog*>(QLatin1String(name));
        ASSERT_EQ(found.size(), 1) << name;
        EXPECT_FALSE(found.front()->isVisible()) << name;
    }
    for (const char* folder : {"MASTER", "PROJECTS", "LANGUAGE"})
        EXPECT_TRUE(QDir(dir.filePath(QLatin1String(folder))).exists()) << folder;
}

// The strip's pictures are drawn at any size and pixel density, white on nothing, and
// fainter when disabled.
TEST(StripIcons, DrawnAtEverySizeAndFainterWhenDisabled)
{
    for (Strip_Glyph g : {Strip_Glyph::Information, Strip_Glyph::Options, Strip_Glyph::Close}) {
        const QIcon icon = Strip_Icon(g);
        for (int size : {16, 24, 48}) {
            const QImage normal = icon.pixmap(QSize(size, size)).toImage();
            ASSERT_EQ(normal.size(), QSize(size, size));
            EXPECT_EQ(qAlpha(normal.pixel(0, 0)), 0) << size; // the corners stay clear
            EXPECT_EQ(Most_Opaque(normal), 255) << size;
            const QImage disabled = icon.pixmap(QSize(size, size), QIcon::Disabled).toImage();
            EXPECT_LT(Most_Opaque(disabled), 200) << size;
        }
        const QPixmap dense = icon.pixmap(QSize(24, 24), 2.0);
        EXPECT_EQ(dense.size(), QSize(48, 48));
        EXPECT_EQ(dense.devicePixelRatio(), 2.0);
    }
}

// The window icon is the menu entry's picture, at the two sizes it is drawn in, in the
// title strips' blue.
TEST(ProgramIcon, BuiltInAtBothSizes)
{
    const QIcon icon = Program_Icon();
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{48, 48}, {256, 256}}));
    const QImage small = icon.pixmap(QSize(48, 48)).toImage();
    EXPECT_EQ(small.pixelColor(24, 8), QColor("#1f3b5a"));
    EXPECT_EQ(qAlpha(small.pixel(0, 0)), 0);
}

TEST(ProgramIcon, GivenToTheWindowsOnceTheMainWindowHasPainted)
{
    QApplication::setWindowIcon(QIcon());
    QWidget window;
    window.resize(200, 100);
    Window_Icon_After_First_Paint(window);
    QCoreApplication::processEvents();
    EXPECT_TRUE(QApplication::windowIcon().isNull()); // not before the window is shown
    window.show();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::windowIcon().isNull(); }));
    EXPECT_EQ(QApplication::windowIcon().availableSizes(), Program_Icon().availableSizes());
    EXPECT_EQ(window.windowIcon().availableSizes(), Program_Icon().availableSizes());
}

TEST(ProgramOptions, HelpAndVersionAnsweredBeforeAnyWindow)
{
    const struct {
        QStringList args;
        bool answered;
        const char* starts;
    } cases[] = {
        {{"--version"}, true, "swr2305 "},
        {{"-platform", "offscreen", "--help"}, true, "usage: swr2305 [--help | --version]"},
        {{}, false, nullptr},
        {{"-platform", "offscreen"}, false, nullptr},
    };
    for (const auto& c : cases) {
        QString text;
        QTextStream out(&text);
        EXPECT_EQ(Answer_Info_Option(c.args, out), c.answered) << c.args.join(' ').toStdString();
        out.flush();
        if (c.starts)
            EXPECT_TRUE(text.startsWith(QLatin1String(c.starts))) << text.toStdString();
        else
            EXPECT_TRUE(text.isEmpty()) << text.toStdString();
    }
    QString text;
    QTextStream out(&text);
    Answer_Info_Option({"--version"}, out);
    out.flush();
    EXPECT_EQ(text, QString("swr2305 ") + Program_Version + "\n");
}
