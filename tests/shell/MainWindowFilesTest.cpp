#include "WindowFixture.h"

#include "chartdoc/ChartDump.h"
#include "chartdoc/SampleChart.h"
#include "chartview/render/ChartControl.h"
#include "chartview/ui/ChartWidget.h"
#include "os/TextCodec.h"
#include "shell/HeadlessExport.h"
#include "shell/ui/ChartInspection.h"
#include "shell/ui/PictureViewer.h"
#include "shell/ui/SlideShowLink.h"
#include "slides/SlideScript.h"
#include "slides/ui/FormSlide.h"
#include "support/ChartFill.h"
#include "support/Pictures.h"
#include "support/TestFiles.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTimer>
#include <QUndoStack>

#include <functional>

#include <gtest/gtest.h>

using namespace qel;
using shell::MainWindow;

namespace {

// The program started with a file on its command line; no greeting to wait for.
struct WindowFiles : test::WindowFixture
{
    WindowFiles() { speech.taken = 0; }

    // Slides are answered with the space bar unless a test says otherwise.
    void windowCreated() override { presentWithKey(Qt::Key_Space); }

    QString data(const QString &fixture, const QString &name)
    {
        const QString target = dataDir.filePath(name);
        test::writeFile(target, test::readFile(test::fixturePath(fixture)));
        return target;
    }

    // Every slide window of a show is answered with key as soon as its slide is up; the
    // captions of the slides shown are kept.
    void presentWithKey(Qt::Key key)
    {
        window->slideShow().setSlideWindowCreated([this, key](slides::FormSlide &form) {
            QObject::connect(&form, &slides::FormSlide::slideStarted, &form,
                             [this, &form, key](int kind, const QString &) {
                                 slidesShown << QString::number(kind) + u' ' +
                                                    form.findChild<QAbstractButton *>(
                                                            QStringLiteral("CheckHold"))
                                                        ->text()
                                                        .section(u' ', 0, 0);
                                 QTimer::singleShot(0, &form, [&form, key] { sendKey(form, key); });
                             });
        });
    }

    static void sendKey(QWidget &target, Qt::Key key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &press);
    }

    QString chartFile(const QString &name)
    {
        chartview::ChartControl one, two;
        chartdoc::buildSampleChart(one, two);
        one.setTitleCaption(2, name);
        const QString target = dataDir.filePath(name);
        EXPECT_EQ(one.ExportFile(chartview::FormatChartFile, target), 0);
        return target;
    }

    QStringList slidesShown;

    QString accessLog() const
    {
        return os::decodeText(test::readFile(window->accessLogName())).text;
    }
};

} // namespace

// Every kind of file the command line names, opened as the window starts.
TEST_F(WindowFiles, TheCommandLineOpensWhatItNames)
{
    chartview::ChartControl chart;
    chart.setViewSize(QSize(300, 200));
    chart.setSeriesTotal(1);
    chart.setPointTotal(2);
    chart.setSeriesCaption(0, QStringLiteral("from the command line"));
    ASSERT_EQ(
        chart.ExportFile(chartview::FormatChartFile, dataDir.filePath(QStringLiteral("Given.CHF"))),
        0);
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(dataDir.filePath(QStringLiteral("photo.jpg")), "JPG"));
    data(QStringLiteral("sales.tbx"), QStringLiteral("Sales Report.TBX"));
    data(QStringLiteral("line211.dfl"), QStringLiteral("Line.dfl"));

    const struct
    {
        const char *name;
        const char *file;
        const char *firstSeries; // what the window shows afterwards
        bool opened;             // the file became the current file
        const char *message;     // a part of the last message shown
    } rows[] = {
        {"a table, quoted", "\"Sales Report.TBX\"", "牛肉", true, nullptr},
        {"a legacy file", "Line.dfl", "新A", true, nullptr},
        {"a chart file", "Given.CHF", "from the command line", true, nullptr},
        {"a picture: not a kind the command line opens", "photo.jpg", "Beef", false, nullptr},
        {"a missing file", "Missing.CHF", "Beef", false, "Missing.CHF が読めません。"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        state.currentFile.clear();
        dialogs.messages.clear();
        QString file = QString::fromUtf8(row.file);
        start(file.startsWith(u'"') ? u'"' + dataDir.filePath(file.mid(1))
                                    : dataDir.filePath(file));
        file.remove(u'"');
        EXPECT_EQ(window->chart1().SeriesCaption(0), QString::fromUtf8(row.firstSeries));
        EXPECT_EQ(state.currentFile, row.opened ? dataDir.filePath(file) : QString());
        if (row.message) {
            ASSERT_FALSE(dialogs.messages.isEmpty());
            EXPECT_TRUE(dialogs.messages.last().text.contains(QString::fromUtf8(row.message)))
                << qPrintable(dialogs.messageTexts().join(u'|'));
        } else {
            EXPECT_TRUE(dialogs.messages.isEmpty())
                << qPrintable(dialogs.messageTexts().join(u'|'));
        }
        EXPECT_EQ(window->pictureViewer(), nullptr);
        if (row.opened) {
            EXPECT_TRUE(window->windowTitle().endsWith(dataDir.filePath(file)));
        }
        test::savePicture(window->grab().toImage(), QStringLiteral("mainwindow-") + file);
        close();
    }
}

TEST_F(WindowFiles, APictureDroppedOnTheHelpButtonIsShown)
{
    start();
    const QString jpg = dataDir.filePath(QStringLiteral("photo.jpg"));
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(jpg, "JPG"));
    window->cmdQelHlp_OLEDragDrop({jpg});
    ASSERT_NE(window->pictureViewer(), nullptr);
    EXPECT_EQ(window->pictureViewer()->fileName(), jpg);
    EXPECT_EQ(window->pictureViewer()->objectName(), QStringLiteral("frmJpg"));
}

TEST_F(WindowFiles, AScriptOnTheCommandLinePlaysTheShow)
{
    chartFile(QStringLiteral("a.chf"));
    QImage(64, 48, QImage::Format_RGB32).save(dataDir.filePath(QStringLiteral("p.jpg")), "JPG");
    const QString sld = dataDir.filePath(QStringLiteral("Show.Sld"));
    test::writeFile(sld, "<FILE> a.chf\r\n<TEXT>one\r\n<FILE> gone.chf\r\n<FILE> p.jpg\r\n");
    start(sld);
    EXPECT_EQ(slidesShown, QStringList({QStringLiteral("1 a.CHF"), QStringLiteral("10 p.JPG")}));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(
        QStringLiteral("gone.CHF\r\n読み込みできませんでした。dir= ")));
    // The show is over: the main window holds the last chart slide.
    EXPECT_FALSE(window->slideShow().showRunning());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->chart1().TitleCaption(2), QStringLiteral("a.chf"));
    EXPECT_EQ(state.currentFile, dataDir.filePath(QStringLiteral("a.chf"))) << "as it is on disk";
}

TEST_F(WindowFiles, SeveralFilesChosenTogetherPlayAndMayBeKeptAsAScript)
{
    start();
    const QStringList chosen = {chartFile(QStringLiteral("a.chf")),
                                chartFile(QStringLiteral("b.chf")),
                                dataDir.filePath(QStringLiteral("notes.txt"))};
    dialogs.messages.clear();
    dialogs.fileChoices = {chosen};
    dialogs.answers = {os::MessageAnswer::Yes};
    window->openCommand();
    EXPECT_EQ(slidesShown, QStringList({QStringLiteral("2 a.chf"), QStringLiteral("2 b.chf")}));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("スライドショーファイル")));
    const QStringList kept = QDir(dataDir.path()).entryList({QStringLiteral("*.Sld")});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.contains(kept[0]));
    slides::SlideTable table;
    ASSERT_TRUE(slides::SlideScript::read(dataDir.filePath(kept[0]), table).ok());
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.rows[2].file, QStringLiteral("b.CHF"));
    EXPECT_EQ(table.rows[2].narration, QStringLiteral(" 2番目のスライドです."));
}

TEST_F(WindowFiles, TheChartAloneFullScreenEndsWithAClick)
{
    start();
    presentWithKey(Qt::Key_Escape);
    auto *full = window->findChild<QAction *>(QStringLiteral("chartFullScreen"));
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->shortcut(), QKeySequence(Qt::Key_F11));
    full->trigger();
    ASSERT_EQ(slidesShown.size(), 1);
    EXPECT_TRUE(slidesShown[0].startsWith(QStringLiteral("0 ")));
    EXPECT_FALSE(window->slideShow().showRunning());
    EXPECT_EQ(window->chart1().SeriesCaption(0), QStringLiteral("Beef")) << "the chart stays";
}

TEST_F(WindowFiles, TheListOpensOnEnterAndNotOnArrowKeys)
{
    chartview::ChartControl chart;
    chart.setViewSize(QSize(300, 200));
    chart.setSeriesTotal(1);
    chart.setPointTotal(2);
    QStringList paths;
    for (const char *name : {"One.chf", "Two.chf"}) {
        chart.setSeriesCaption(0, QString::fromLatin1(name));
        paths << dataDir.filePath(QString::fromLatin1(name));
        ASSERT_EQ(chart.ExportFile(chartview::FormatChartFile, paths.last()), 0);
    }
    start();
    for (QString p : paths)
        ASSERT_TRUE(window->loadSave(0, p));
    auto *combo = window->findChild<QComboBox *>(QStringLiteral("Combo1"));
    ASSERT_EQ(combo->count(), 2);
    combo->setFocus();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(combo, &down);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(window->chart1().SeriesCaption(0), QStringLiteral("Two.chf")) << "not opened";
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(combo, &enter);
    EXPECT_EQ(window->chart1().SeriesCaption(0), QStringLiteral("One.chf"));
    EXPECT_TRUE(accessLog().contains(QStringLiteral("<load list>,")));

    // The step button's right button goes back, wrapping to the last entry with a beep.
    auto *step = window->findChild<QWidget *>(QStringLiteral("cmdViewListFile"));
    const QPointF centre(step->width() / 2.0, step->height() / 2.0);
    QMouseEvent right(QEvent::MouseButtonPress, centre, step->mapToGlobal(centre), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(step, &right);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(dialogs.beeps, 1);
}

TEST_F(WindowFiles, TheToolBarSavesTheChartOnView)
{
    start();
    const QString target = dataDir.filePath(QStringLiteral("Saved.CHF"));
    dialogs.fileChoices = {{target}};
    window->saveCommand();
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_TRUE(accessLog().contains(QStringLiteral("<save CHF>,") + target));
}

TEST_F(WindowFiles, ARelativeNameIsTakenFromTheStartingFolder)
{
    data(QStringLiteral("sales.tbx"), QStringLiteral("Rel.tbx"));
    QDir::setCurrent(dataDir.path());
    start(QStringLiteral("Rel.tbx"));
    EXPECT_TRUE(dialogs.messages.isEmpty()) << qPrintable(dialogs.messageTexts().join(u'|'));
    EXPECT_EQ(state.currentFile, dataDir.filePath(QStringLiteral("Rel.tbx")));
    EXPECT_EQ(state.dataPath, dataDir.path() + QLatin1Char('/'));
}

namespace {

// A dump with the load's own time left out (a table without "Create=" is stamped with it).
QJsonObject comparable(const QByteArray &json)
{
    QJsonObject o = QJsonDocument::fromJson(json).object();
    QJsonObject table = o.value(QStringLiteral("table")).toObject();
    static const QRegularExpression stamp(
        QStringLiteral("^\\d{4}/\\d\\d/\\d\\d\\t\\d\\d:\\d\\d:\\d\\d$"));
    if (stamp.match(table.value(QStringLiteral("createStamp")).toString()).hasMatch())
        table.insert(QStringLiteral("createStamp"), QString());
    o.insert(QStringLiteral("table"), table);
    return o;
}

} // namespace

TEST_F(WindowFiles, EveryFixtureReadsTheSameInTheWindowAndOnTheCommandLine)
{
    // The command line opens over the start-up chart of the same program folder.
    qputenv("QELPRO_HOME", programDir.path().toUtf8());
    QStringList fixtures;
    for (const QString &folder : {test::tableData(QString()), test::dataPath(QString())}) {
        for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::Files))
            fixtures.append(info.filePath());
    }
    ASSERT_GT(fixtures.size(), 25);
    int loaded = 0;
    for (const QString &fixture : std::as_const(fixtures)) {
        const QString input = dataDir.filePath(QFileInfo(fixture).fileName());
        test::writeFile(input, test::readFile(fixture));
        start();
        dialogs.messages.clear();
        QString path = input;
        const bool opened = window->loadSave(0, path);
        const QStringList shown = dialogs.messageTexts();

        const QString json = dataDir.filePath(QStringLiteral("dump.json"));
        QFile::remove(json);
        QString error;
        const int rc = shell::HeadlessExport::run(json, QSize(400, 300), input, error);
        EXPECT_EQ(opened, rc == 0) << qPrintable(input) << " " << qPrintable(error);
        if (opened && rc == 0) {
            ++loaded;
            EXPECT_EQ(comparable(chartdoc::ChartDump::toJson(window->document())),
                      comparable(test::readFile(json)))
                << qPrintable(input);
        } else if (!opened) {
            ASSERT_FALSE(shown.isEmpty()) << qPrintable(input);
            EXPECT_TRUE(error.endsWith(
                QString(shown.last()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))))
                << qPrintable(error) << " | " << qPrintable(shown.last());
        }
        close();
    }
    EXPECT_GT(loaded, 10);
    qunsetenv("QELPRO_HOME");
}

TEST_F(WindowFiles, ASavedChartReopensWithTitlesLegendOptionsAndData)
{
    start(data(QStringLiteral("sales.tbx"), QStringLiteral("Sales.tbx")));
    chartview::ChartView &chart = window->chart1();
    chart.setTitleCaption(2, QStringLiteral("売上の推移"));
    chart.setTitleCaption(3, QStringLiteral("Temperature (C)\r\n\r\n"));
    auto *legend = window->findChild<QPlainTextEdit *>(QStringLiteral("txtLegend"));
    legend->setPlainText(QStringLiteral("メモ \"引用\"\n二行目"));
    window->document().setRegressionOption(2);
    const chartview::ChartModel saved = chart.model();

    QString target = dataDir.filePath(QStringLiteral("Kept.chf"));
    ASSERT_TRUE(window->loadSave(1, target));
    EXPECT_FALSE(window->document().isModified());
    EXPECT_EQ(chart.model(), saved) << "saving leaves the chart on screen as it was";
    close();
    start();
    QString path = target;
    ASSERT_TRUE(window->loadSave(0, path)) << qPrintable(dialogs.messageTexts().join(u'|'));
    EXPECT_EQ(window->chart1().model(), saved);
    EXPECT_EQ(window->findChild<QPlainTextEdit *>(QStringLiteral("txtLegend"))->toPlainText(),
              QStringLiteral("メモ \"引用\"\n二行目"));
    EXPECT_EQ(window->document().regressionOption(), 2);
}

// What a user changes with the mouse or a statistics job is one step back and forth each.
TEST_F(WindowFiles, ADragARegressionAndASmoothingAreEachOneUndoStep)
{
    start(data(QStringLiteral("regression.tbx"), QStringLiteral("Regression.tbx")));
    chartview::ChartView &chart = window->chart1();
    chartview::ChartWidget *widget = window->chartWidget1();
    QUndoStack &stack = window->document().undoStack();
    const struct
    {
        const char *name;
        std::function<void()> change;
    } steps[] = {
        {"a point dragged",
         [&] {
             chart.setDragActive(true);
             const QPoint at = test::pointPosition(chart, 1, 3);
             widget->pressAt(at);
             for (int dy = 10; dy <= 50; dy += 10)
                 widget->moveTo(at - QPoint(0, dy), Qt::LeftButton);
             widget->releaseAt(at - QPoint(0, 50));
         }},
        {"a regression line", [&] { window->inspection().runRegressionJob(1, 1); }},
        {"a smoothing", [&] { window->inspection().runRegressionJob(1, 77); }},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.name);
        const chartview::ChartModel before = chart.model();
        const int depth = stack.count();
        dialogs.answers = {os::MessageAnswer::Ok, os::MessageAnswer::Ok, os::MessageAnswer::Ok};
        step.change();
        const chartview::ChartModel after = chart.model();
        ASSERT_FALSE(after == before) << "the step changed the chart";
        EXPECT_EQ(stack.count(), depth + 1);
        stack.undo();
        EXPECT_TRUE(chart.model() == before);
        stack.redo();
        EXPECT_TRUE(chart.model() == after);
    }
}

TEST_F(WindowFiles, EditsUndoRedoAndAreAskedAboutBeforeTheyAreLost)
{
    start(data(QStringLiteral("sales.tbx"), QStringLiteral("Sales.tbx")));
    chartdoc::ChartDocument &doc = window->document();
    chartview::ChartView &chart = window->chart1();
    EXPECT_FALSE(doc.isModified());
    const double before = chart.model().value(0, 0);
    doc.edit(QStringLiteral("点の移動"), [&] {
        chart.setActiveSeries(0);
        chart.setValueY(0, before + 100);
    });
    auto *hideX = window->findChild<QAbstractButton *>(QStringLiteral("SSCheck_CL_HIDEXLEG"));
    hideX->click();
    EXPECT_TRUE(chart.AxisBits() & chartview::AxisHideXLabels);
    EXPECT_TRUE(doc.isModified());

    auto *undo = window->findChild<QAction *>(QStringLiteral("editUndo"));
    auto *redo = window->findChild<QAction *>(QStringLiteral("editRedo"));
    ASSERT_TRUE(undo && redo);
    EXPECT_EQ(undo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(redo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
    undo->trigger();
    EXPECT_FALSE(chart.AxisBits() & chartview::AxisHideXLabels);
    EXPECT_FALSE(hideX->isChecked()) << "the box follows the chart";
    undo->trigger();
    EXPECT_EQ(chart.model().value(0, 0), before);
    EXPECT_FALSE(doc.isModified());
    redo->trigger();
    EXPECT_EQ(chart.model().value(0, 0), before + 100);

    // Opening another file asks first; Cancel keeps everything.
    const QString other = data(QStringLiteral("regression.tbx"), QStringLiteral("Other.tbx"));
    dialogs.messages.clear();
    dialogs.answers = {os::MessageAnswer::Cancel};
    QString path = other;
    EXPECT_FALSE(window->loadSave(0, path));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].buttonTexts,
              (QStringList{QStringLiteral("保存"), QStringLiteral("保存しない"),
                           QStringLiteral("キャンセル")}));
    EXPECT_EQ(chart.model().value(0, 0), before + 100);

    // Quitting asks too: Cancel stays, "don't save" goes on to the quit question.
    dialogs.messages.clear();
    dialogs.answers = {os::MessageAnswer::Cancel};
    window->close();
    EXPECT_TRUE(window->isVisible());
    dialogs.answers = {os::MessageAnswer::No, os::MessageAnswer::Ok};
    window->close();
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(dialogs.messages.size(), 3);
    EXPECT_EQ(dialogs.messages[2].text, QStringLiteral("終了"));
}

TEST_F(WindowFiles, TheControlsFollowEveryLoad)
{
    start(data(QStringLiteral("mosaic.tbx"), QStringLiteral("Mosaic.tbx")));
    auto checked = [this](const char *name) {
        return window->findChild<QAbstractButton *>(QString::fromLatin1(name))->isChecked();
    };
    auto text = [this](const char *name) {
        return window->findChild<QLineEdit *>(QString::fromLatin1(name))->text();
    };
    auto *hidden = window->findChild<QAbstractButton *>(QStringLiteral("SSChkHidden"));
    EXPECT_TRUE(checked("SSCheck_CL_HIDEYLEG"));
    EXPECT_FALSE(checked("SSCheck_CL_HIDEXLEG"));
    EXPECT_TRUE(checked("SSRibbon3"));
    EXPECT_EQ(text("xGapText"), QStringLiteral("1"));
    EXPECT_EQ(text("depthText"), QStringLiteral("90"));

    QString path = data(QStringLiteral("empty_cells.tbx"), QStringLiteral("Empty.tbx"));
    ASSERT_TRUE(window->loadSave(0, path));
    EXPECT_FALSE(checked("SSCheck_CL_HIDEYLEG"));
    EXPECT_TRUE(hidden->isEnabled()) << "the table has missing values";
    EXPECT_EQ(text("depthText"), QString::number(window->chart1().Depth3D()));

    // The erase-hidden question is reachable, and Cancel leaves the chart and clears the box.
    const chartview::ChartModel shown = window->chart1().model();
    dialogs.messages.clear();
    dialogs.answers = {os::MessageAnswer::Cancel};
    hidden->click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Erase hidden"));
    EXPECT_FALSE(hidden->isChecked());
    EXPECT_EQ(window->chart1().model(), shown);

    path = data(QStringLiteral("sales.tbx"), QStringLiteral("Sales.tbx"));
    ASSERT_TRUE(window->loadSave(0, path));
    EXPECT_FALSE(hidden->isEnabled()) << "no missing values";
}

TEST_F(WindowFiles, OneShowAtATime)
{
    start();
    const QString sld = dataDir.filePath(QStringLiteral("Show.Sld"));
    test::writeFile(sld, "<FILE> a.chf\r\n");
    auto *full = window->findChild<QAction *>(QStringLiteral("chartFullScreen"));
    int started = 0;
    window->slideShow().setSlideWindowCreated([&](slides::FormSlide &form) {
        QObject::connect(&form, &slides::FormSlide::slideStarted, &form, [&](int, const QString &) {
            ++started;
            QTimer::singleShot(0, &form, [&] {
                // Reached through the main window behind the slide: refused with a beep.
                full->trigger();
                QString again = sld;
                window->loadSave(0, again);
                sendKey(form, Qt::Key_Escape);
            });
        });
    });
    dialogs.beeps = 0;
    full->trigger();
    EXPECT_EQ(started, 1);
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_FALSE(window->slideShow().showRunning());
}

TEST_F(WindowFiles, EscEndsASelectionsShowWithNothingKeptAndNothingLeftOnScreen)
{
    start();
    presentWithKey(Qt::Key_Escape);
    dialogs.messages.clear();
    dialogs.fileChoices = {
        {chartFile(QStringLiteral("a.chf")), chartFile(QStringLiteral("b.chf"))}};
    window->openCommand();
    EXPECT_EQ(slidesShown, QStringList({QStringLiteral("2 a.chf")}));
    EXPECT_TRUE(dialogs.messages.isEmpty()) << qPrintable(dialogs.messageTexts().join(u'|'));
    EXPECT_TRUE(QDir(dataDir.path()).entryList({QStringLiteral("*.Sld")}).isEmpty());
    EXPECT_TRUE(window->isVisible());
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QStringLiteral("frmMsg") ||
            top->objectName() == QStringLiteral("FormSlide")) {
            EXPECT_FALSE(top->isVisible()) << qPrintable(top->objectName());
        }
    }
}
