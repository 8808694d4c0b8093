// The main window as it opens on a given screen: every control visible, none over another,
// none cut off, every caption whole. ctest runs this on a 1366 x 768 screen, a 1920 x 1080
// screen and that screen at a display scale of 2 (QEL_LAYOUT_CASE names the case); each run
// leaves its picture in the output folder.

#include "FakeForm.h"

#include "os/IniSettingsStore.h"
#include "shell/ProgramState.h"
#include "shell/ui/CommandColumn.h"
#include "shell/ui/MainWindow.h"
#include "support/FakeDialogs.h"
#include "support/FakeProcessStarter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;
using shell::MainWindow;

namespace {

QString caseName()
{
    const QString name = qEnvironmentVariable("QEL_LAYOUT_CASE");
    return name.isEmpty() ? QStringLiteral("default") : name;
}

QString describe(const QWidget *w)
{
    const QRect r = w->geometry();
    return QStringLiteral("%1 [%2,%3 %4x%5]")
        .arg(w->objectName())
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height());
}

// The widget's rectangle in the window's coordinates.
QRect inWindow(const QWidget *w)
{
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

struct LayoutFixture : ::testing::Test
{
    QTemporaryDir programDir;
    QTemporaryDir configDir;
    shell::ProgramState state;
    os::IniSettingsStore settings{configDir.path()};
    test::FakeDialogs dialogs;
    test::FakeProcessStarter starter;
    QStringList speechLog;
    test::RecordingSpeech speech{speechLog};
    MainWindow window{{state, settings, dialogs, starter, speech}};

    LayoutFixture()
    {
        shell::StartupOptions options;
        options.programDir = programDir.path();
        options.dataHome = programDir.filePath(QStringLiteral("share"));
        options.runDesktopTools = false;
        double clock = 3600;
        options.timeOfDay = [clock]() mutable { return clock += 1; };
        options.pumpEvents = [] { QCoreApplication::processEvents(); };
        window.setStartupOptions(options);
        window.Form_Load();
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    ~LayoutFixture() override
    {
        window.document().markSaved();
        dialogs.answers = {os::MessageAnswer::Ok};
        window.close();
    }

    // The window's controls the user sees: the charts, the legend box and the column.
    QList<QWidget *> shownControls() const
    {
        QList<QWidget *> shown;
        for (QWidget *w : window.column().controls()) {
            if (w->isVisible())
                shown << w;
        }
        for (const char16_t *name : {u"Chart1", u"txtLegend"})
            shown << window.findChild<QWidget *>(QString::fromUtf16(name));
        return shown;
    }
};

} // namespace

TEST_F(LayoutFixture, TheWindowFitsItsScreenAndShowsEveryControlWhole)
{
    const QScreen *screen = window.screen();
    ASSERT_NE(screen, nullptr);
    const QRect available = screen->availableGeometry();
    EXPECT_TRUE(available.contains(window.frameGeometry()))
        << qPrintable(caseName()) << ": window " << window.frameGeometry().width() << "x"
        << window.frameGeometry().height() << " on " << available.width() << "x"
        << available.height();

    const QImage picture = window.grab().toImage();
    const QString dir = QStringLiteral(QEL_TEST_OUTPUT);
    QDir().mkpath(dir);
    EXPECT_TRUE(picture.save(dir + QStringLiteral("/main-window-%1.png").arg(caseName())));

    const QList<QWidget *> shown = shownControls();
    ASSERT_GT(shown.size(), 40);
    const QRect client = inWindow(window.centralWidget());
    for (QWidget *w : shown) {
        const QRect r = inWindow(w);
        EXPECT_FALSE(r.isEmpty()) << qPrintable(describe(w));
        EXPECT_TRUE(client.contains(r)) << qPrintable(describe(w)) << " is cut off by the window";
        // Inside every frame it sits in.
        for (QWidget *p = w->parentWidget(); p && p != window.centralWidget();
             p = p->parentWidget())
            EXPECT_TRUE(inWindow(p).contains(r))
                << qPrintable(describe(w)) << " is cut off by " << qPrintable(describe(p));
        // The caption is whole.
        const bool captioned = qobject_cast<QAbstractButton *>(w) || qobject_cast<QLabel *>(w);
        if (captioned && w->objectName() != QStringLiteral("Label6")) {
            const QSize need = w->minimumSizeHint();
            EXPECT_GE(w->width(), need.width()) << qPrintable(describe(w)) << " clips its caption";
            EXPECT_GE(w->height(), need.height())
                << qPrintable(describe(w)) << " clips its caption";
        }
    }
    for (int i = 0; i < shown.size(); ++i) {
        for (int j = i + 1; j < shown.size(); ++j) {
            QWidget *a = shown[i];
            QWidget *b = shown[j];
            if (a->isAncestorOf(b) || b->isAncestorOf(a))
                continue;
            EXPECT_FALSE(inWindow(a).intersects(inWindow(b)))
                << qPrintable(describe(a)) << " overlaps " << qPrintable(describe(b));
        }
    }
}

TEST_F(LayoutFixture, TheColumnReadsInTheSystemFont)
{
    const QFont system = QApplication::font();
    for (QWidget *w : window.column().controls()) {
        if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QLabel *>(w)) {
            EXPECT_GE(w->font().pointSizeF(), system.pointSizeF()) << qPrintable(describe(w));
        }
    }
    for (const char *name : {"VScroll1", "VScroll2"}) {
        QWidget *bar = window.findChild<QWidget *>(QString::fromLatin1(name));
        const int extent = bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar);
        EXPECT_GE(bar->height(), extent) << name;
        EXPECT_GE(bar->width(), 4 * extent) << name << ": room for its arrows and thumb";
    }
}
