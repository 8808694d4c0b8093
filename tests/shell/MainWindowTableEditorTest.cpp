#include "WindowFixture.h"

#include "chartdoc/SampleChart.h"
#include "chartview/render/ChartControl.h"
#include "chartview/ui/ChartWidget.h"
#include "os/ProgramLauncher.h"
#include "os/ui/AboutWindow.h"
#include "settings/ui/Form2.h"
#include "shell/ui/TableEditing.h"
#include "shell/ui/TableEditorPanel.h"
#include "support/TestFiles.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUndoStack>

#include <gtest/gtest.h>

using namespace qel;
using namespace Qt::StringLiterals;
using shell::MainWindow;

namespace {

const QString Startup = u"Startup"_s;

// The program started on a chart of its own, with a spreadsheet that only records its starts.
struct EditorWindow : test::WindowFixture
{
    QString calc = dataDir.filePath(u"localc"_s);
    QString textEditor = dataDir.filePath(u"text-editor"_s);

    EditorWindow()
    {
        speech.taken = 0;
        for (const QString &program : {calc, textEditor}) {
            test::writeFile(program, "#!/bin/sh\n");
            QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
        settings.setValue(os::ProgramLauncher::settingsApplication(),
                          os::ProgramLauncher::settingsSection(), u"Wordpad.exe"_s, textEditor);
    }

    void start(const QString &editor, const QString &commandLine)
    {
        settings.setValue(u"qelPro"_s, Startup, u"Table Editor"_s, editor);
        WindowFixture::start(commandLine);
    }

    QString chartFile(const QString &name)
    {
        chartview::ChartControl one, two;
        chartdoc::buildSampleChart(one, two);
        const QString target = dataDir.filePath(name);
        EXPECT_EQ(one.ExportFile(chartview::FormatChartFile, target), 0);
        return target;
    }

    settings::Form2 *openSettings()
    {
        window->findChild<QAbstractButton *>(u"SScmdQEL"_s)->click();
        return window->settingsWindow();
    }
    shell::TableEditorPanel *panel()
    {
        return openSettings()->findChild<shell::TableEditorPanel *>(u"frameTableEditor"_s);
    }
    QLabel *reminder() const { return window->findChild<QLabel *>(u"LblTabEditerSet"_s); }
};

TEST_F(EditorWindow, TheButtonsFollowTheEditorAndTheChartShown)
{
    struct Case
    {
        const char *name;
        QString editor;
        bool companion; // the chart's table exists beside it
        bool open, newTable;
    };
    const Case cases[] = {
        {"no editor chosen", QString(), true, false, false},
        {"a cancelled first choice", u"未設定"_s, true, false, false},
        {"an editor, a chart with its table", calc, true, true, true},
        {"an editor, a chart without a table", calc, false, false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString chart = chartFile(u"a.b.chf"_s);
        QFile::remove(dataDir.filePath(u"a.Tbx"_s));
        if (c.companion)
            test::writeFile(dataDir.filePath(u"a.Tbx"_s), "1\t2\r\n");
        start(c.editor.isEmpty() ? u""_s : c.editor, QString());
        QString path = chart;
        window->loadSave(0, path);
        if (!c.companion)
            QFile::remove(dataDir.filePath(u"a.Tbx"_s)); // the load's own copy goes too
        window->chartShown(chart);
        shell::TableEditorPanel *p = panel();
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(!p->openButton()->isHidden(), c.open);
        EXPECT_TRUE(p->openRedButton()->isHidden());
        EXPECT_EQ(!p->newTableButton()->isHidden(), c.newTable);
        EXPECT_EQ(p->editorLabel()->text(), c.editor.isEmpty() ? u"未設定"_s : c.editor);
        window->settingsWindow()->close();
        window.reset();
    }
}

TEST_F(EditorWindow, ChoosingTheEditorShowsItAndACancelSaysSo)
{
    start(u""_s, QString());
    shell::TableEditorPanel *p = panel();
    dialogs.fileChoices = {{calc}};
    p->editorButton()->click();
    EXPECT_EQ(dialogs.fileDialogs.last().title, u"qelPro  エディター設定"_s);
    EXPECT_EQ(p->editorLabel()->text(), calc);
    EXPECT_EQ(p->tempoLabel()->text(), QString());
    EXPECT_FALSE(p->newTableButton()->isHidden());
    EXPECT_TRUE(reminder()->isHidden());
    EXPECT_EQ(settings.value(u"qelPro"_s, Startup, u"Table Editor"_s), calc);

    p->editorButton()->click(); // cancelled: the editor stays
    EXPECT_EQ(p->tempoLabel()->text(), u"cancel"_s);
    EXPECT_EQ(p->editorLabel()->text(), calc);
}

TEST_F(EditorWindow, OpenHandsTheTableOverAndTheChartFollowsIt)
{
    const QString chart = chartFile(u"sales.chf"_s);
    start(calc, chart);
    const QString table = dataDir.filePath(u"sales.Tbx"_s);
    ASSERT_TRUE(QFile::exists(table)) << "an opened chart leaves its table for the editor";
    shell::TableEditorPanel *p = panel();
    ASSERT_FALSE(p->openButton()->isHidden());

    dialogs.answers = {os::MessageAnswer::Yes}; // write the table again
    p->openButton()->click();
    ASSERT_EQ(starter.starts.size(), 1);
    EXPECT_EQ(starter.starts[0].program, calc);
    EXPECT_TRUE(starter.starts[0].arguments.contains(u"--calc"_s));
    EXPECT_EQ(starter.starts[0].arguments.last(), table);
    EXPECT_EQ(window->tableEditing().follower().followedPath(), table);

    // Another chart is shown: its table is not the one being edited.
    window->chartShown(chartFile(u"other.chf"_s));
    EXPECT_TRUE(window->tableEditing().follower().followedPath().isEmpty());
}

TEST_F(EditorWindow, ATableOpenedAsItIsGoesToTheSpreadsheetWithoutACopy)
{
    const QString table = dataDir.filePath(u"sales.Tbx"_s);
    test::writeFile(table, test::readFile(test::fixturePath(u"sales.tbx"_s)));
    start(calc, table);
    panel()->openButton()->click();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << qPrintable(dialogs.messageTexts().join(u'|'));
    ASSERT_EQ(starter.starts.size(), 1);
    EXPECT_EQ(starter.starts[0].arguments.last(), table);
}

TEST_F(EditorWindow, TheFollowSwitchIsKept)
{
    start(calc, QString());
    QCheckBox *follow = panel()->followBox();
    EXPECT_TRUE(follow->isChecked());
    follow->click();
    EXPECT_EQ(settings.value(u"qelPro"_s, Startup, u"Follow Table"_s), u"0"_s);
    EXPECT_FALSE(window->tableEditing().follower().isEnabled());
}

TEST_F(EditorWindow, MemoHistoryAndVersion)
{
    start(calc, QString());
    panel()->memoButton()->click();
    const QString memo = QDir(state.qelDir).filePath(u"qelMemo.txt"_s);
    EXPECT_TRUE(QFile::exists(memo)) << "a missing memo is made empty";
    ASSERT_FALSE(starter.starts.isEmpty());
    EXPECT_EQ(starter.starts.last().program, textEditor);
    EXPECT_TRUE(starter.starts.last().arguments.join(u' ').contains(memo));

    test::writeFile(memo, "notes\r\n");
    panel()->memoButton()->click();
    EXPECT_EQ(test::readFile(memo), "notes\r\n") << "an existing memo is never emptied";

    window->settingsWindow()->findChild<QPushButton *>(u"SScmdHistory"_s)->click();
    EXPECT_TRUE(starter.starts.last().arguments.join(u' ').contains(window->accessLogName()));
    window->settingsWindow()->findChild<QPushButton *>(u"SSCmdVersion"_s)->click();
    ASSERT_NE(window->aboutWindow(), nullptr);
    EXPECT_TRUE(window->aboutWindow()->isVisible());
}

TEST_F(EditorWindow, OkAppliesTheRangeBoxesAsOneUndoStep)
{
    start(calc, chartFile(u"sales.chf"_s));
    chartview::ChartView &chart = window->chart1();
    const chartview::ChartModel before = chart.model();
    ASSERT_GE(chart.SeriesTotal(), 3);
    settings::Form2 *form2 = openSettings();

    window->form2State().setText(settings::Form2State::TxtGrp0, u"0"_s);
    form2->okButton(0)->click();
    EXPECT_TRUE(form2->isVisible()) << "a refused range keeps the window";
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(chart.model(), before);

    window->form2State().setDataFields(u"1"_s, u"2"_s, u"1"_s, QString::number(chart.PointTotal()));
    form2->okButton(0)->click();
    EXPECT_FALSE(form2->isVisible());
    EXPECT_EQ(chart.SeriesTotal(), 2);
    window->document().undoStack().undo();
    EXPECT_EQ(chart.SeriesTotal(), before.seriesCount);
}

} // namespace
