#include "FilesFixture.h"

#include "chartview/render/ChartFile.h"

#include <QFileInfo>
#include <QImage>

using namespace qel;
using test::FilesFixture;
using Mode = os::FileDialogRequest::Mode;

namespace {

QString crlf(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace

TEST_F(FilesFixture, OpensATableThroughTheOpenDialogue)
{
    const QString tbx = copyOf(QStringLiteral("sales.tbx"), QStringLiteral("Sales.TBX"));
    dialogs.fileChoices = {{tbx}};
    QString chosen;
    ASSERT_TRUE(files.loadSave(0, chosen));
    EXPECT_EQ(chosen, tbx);

    ASSERT_EQ(dialogs.fileDialogs.size(), 1);
    const os::FileDialogRequest &request = dialogs.fileDialogs[0];
    EXPECT_EQ(request.mode, Mode::OpenMany);
    EXPECT_EQ(request.title, QStringLiteral("QEL Import Chart & Multi Slide"));
    EXPECT_TRUE(request.filters.value(1).startsWith(QStringLiteral("qel Slide    (*.CHF")));

    EXPECT_TRUE(dialogs.messages.isEmpty()) << qPrintable(dialogs.messageTexts().join(u'|'));
    EXPECT_EQ(chart1.SeriesTotal(), 2);
    EXPECT_EQ(chart1.SeriesCaption(0), QStringLiteral("牛肉"));
    EXPECT_EQ(chart1.MarkerStyle(0), 2);
    EXPECT_EQ(chart1.MarkerStyle(1), 1);
    EXPECT_EQ(host.caption, tbx);
    EXPECT_EQ(chart1.TitleCaption(2), QStringLiteral("    Sales.TBX")) << "the name fills the band";
    EXPECT_EQ(state.currentFile, tbx);
    EXPECT_EQ(state.dataPath, dir.path() + QLatin1Char('/'));
    EXPECT_EQ(settings.dataPath(), dir.path() + QLatin1Char('/'));
    EXPECT_TRUE(matchesWhole(logText(), stamped(QStringLiteral("<load .tbx>,DATE,TIME , ") + tbx +
                                                QStringLiteral("\r\n"))))
        << qPrintable(logText());
    EXPECT_EQ(list.count(), 0) << "tables are not listed";
    EXPECT_EQ(files.lastChartBaseName(), QStringLiteral("Sales"));
}

TEST_F(FilesFixture, OpensALegacyFileAndWritesItsTableForTheEditor)
{
    const QString dfl = copyOf(QStringLiteral("line211.dfl"), QStringLiteral("Line.DFL"));
    state.tableEditorPath = QStringLiteral("/usr/bin/localc");
    QString given = dfl;
    ASSERT_TRUE(files.loadSave(0, given));
    EXPECT_TRUE(dialogs.fileDialogs.isEmpty()) << "a given path needs no dialogue";
    EXPECT_EQ(chart1.SeriesTotal(), 2);
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("Line.Tbx"))));
    EXPECT_TRUE(logText().startsWith(QStringLiteral("<load .dfl>,")));
    EXPECT_EQ(state.currentFile, dfl);
}

TEST_F(FilesFixture, OpensAChartFileReadingItsOptions)
{
    const QString chf = sampleChartFile(QStringLiteral("Beef.CHF"));
    dialogs.fileChoices = {{chf}};
    QString chosen;
    ASSERT_TRUE(files.loadSave(0, chosen));
    EXPECT_EQ(chart1.SeriesCaption(0), QStringLiteral("Beef.CHF"));
    EXPECT_EQ(chart1.TitleCaption(1), QStringLiteral("右")) << "options leave the visible title";
    EXPECT_EQ(files.regrOption(), 3);
    EXPECT_TRUE(table.commonX);
    EXPECT_EQ(host.caption, chf);
    EXPECT_EQ(form2.text(settings::Form2State::TxtGrp1), QString::number(chart1.SeriesTotal()));
    EXPECT_TRUE(matchesWhole(logText(), stamped(QStringLiteral("<load CHF>,DATE,TIME , ") + chf +
                                                QStringLiteral("\r\n"))));
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(shell::RecentFileList::pathOf(list.entry(0)), chf);
    EXPECT_EQ(host.shown, 0);
    EXPECT_EQ(files.lastChartDirectory(), dir.path() + QLatin1Char('/'));
    EXPECT_EQ(files.lastChartBaseName(), QStringLiteral("Beef"));
}

// A file that cannot be opened is named in the message; the chart, the current file and the
// log stay as they were.
TEST_F(FilesFixture, WhatCannotBeOpenedIsReportedAndTheChartKept)
{
    test::writeFile(path(QStringLiteral("broken.chf")), "{ not a chart");
    test::writeFile(path(QStringLiteral("empty.tbx")), QByteArray());
    // a.b.chf has the extension .b.chf: no chart file, so the legacy reader has it.
    sampleChartFile(QStringLiteral("a.b.chf"));
    const struct
    {
        const char *file;    // chosen in the open dialogue; none: cancelled
        const char *message; // %1: the path
        bool exclamation;
    } rows[] = {
        {"", "キャンセルが選択されました。", false},
        {"broken.chf", "chrs2読み込みできませんでした。dir: %1", false},
        {"a.b.chf", "%1", true},
        {"empty.tbx", "empty.tbx 情報(データ）がありません。", true},
        {"gone.jpg", "%1 が読めません。", false},
    };
    for (const auto &row : rows) {
        dialogs.messages.clear();
        const QString chosen = *row.file ? path(QString::fromLatin1(row.file)) : QString();
        dialogs.fileChoices = {chosen.isEmpty() ? QStringList() : QStringList{chosen}};
        QString expected = QString::fromUtf8(row.message);
        expected.replace(QStringLiteral("%1"), chosen);
        QString given;
        EXPECT_FALSE(files.loadSave(0, given)) << row.file;
        ASSERT_FALSE(dialogs.messages.isEmpty()) << row.file;
        const os::MessageRequest &shown = dialogs.messages[0];
        EXPECT_TRUE(shown.text.startsWith(expected) || shown.text.endsWith(expected))
            << qPrintable(shown.text);
        if (row.exclamation) {
            EXPECT_EQ(shown.icon, os::MessageIcon::Exclamation) << row.file;
        }
        EXPECT_EQ(chart1.SeriesCaption(0), QStringLiteral("Beef")) << row.file;
        EXPECT_TRUE(state.currentFile.isEmpty()) << row.file;
    }
    EXPECT_FALSE(QFileInfo::exists(host.accessLog));
}

TEST_F(FilesFixture, SavesAChartWithItsOptionsAndTheFourLogLines)
{
    chart1.setTitleCaption(3, QStringLiteral("月\r\n\r\n図2 肉の値段"));
    table.commonX = true;
    const QString target = path(QStringLiteral("Saved.CHF"));
    dialogs.fileChoices = {{target}};
    QString chosen;
    ASSERT_TRUE(files.loadSave(1, chosen));
    ASSERT_EQ(dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(dialogs.fileDialogs[0].mode, Mode::Save);
    EXPECT_EQ(dialogs.fileDialogs[0].title, QStringLiteral("QEL Export Chart"));
    EXPECT_EQ(dialogs.fileDialogs[0].proposedPath, QStringLiteral("*.CHF"));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    chartview::ChartModel saved;
    ASSERT_TRUE(chartview::ChartFile::load(target, saved).ok());
    EXPECT_EQ(saved.titles[1], QStringLiteral("右タイトル{kyOpt}{commonX}"));
    EXPECT_FALSE(chart1.TitleCaption(1).contains(QStringLiteral("{kyOpt}")))
        << "screen stays clean";

    const QString expected = stamped(
        crlf({QString(), QStringLiteral("<3.0>, DATE,TIME"), QStringLiteral("<save CHF>,") + target,
              QStringLiteral("<title>    ,\"図2 肉の値段\"")}));
    EXPECT_TRUE(matchesWhole(logText(), expected)) << qPrintable(logText());
    EXPECT_EQ(list.count(), 1);

    // The next save proposes the name just used.
    dialogs.fileChoices = {{target}};
    chosen.clear();
    ASSERT_TRUE(files.loadSave(1, chosen));
    EXPECT_EQ(dialogs.fileDialogs[1].proposedPath, dir.path() + QStringLiteral("/Saved.CHF"));
}

TEST_F(FilesFixture, SavesABitmap)
{
    QString target = path(QStringLiteral("chart.BMP"));
    ASSERT_TRUE(files.loadSave(1, target));
    QImage image(target);
    EXPECT_EQ(image.size(), QSize(480, 360));
    EXPECT_TRUE(matchesWhole(logText(), stamped(QStringLiteral("<save BMP>,DATE,TIME , ") + target +
                                                QStringLiteral("\r\n"))));
    EXPECT_EQ(list.count(), 0) << "pictures saved are not listed";
}

TEST_F(FilesFixture, AFailedSaveKeepsTheOldFileAndSaysSo)
{
    // As root a folder's mode does not stop writes; a folder that is a file does.
    const QString notAFolder = path(QStringLiteral("plain"));
    test::writeFile(notAFolder, "x");
    for (const QString &name : {QStringLiteral("out.CHF"), QStringLiteral("out.bmp")}) {
        dialogs.messages.clear();
        QString target = notAFolder + QLatin1Char('/') + name;
        const QString asked = target;
        EXPECT_FALSE(files.loadSave(1, target));
        EXPECT_TRUE(target.isEmpty());
        // The designed text, then the file and why it could not be written.
        ASSERT_EQ(dialogs.messageTexts().size(), 1);
        const QString text = dialogs.messageTexts().first();
        EXPECT_TRUE(text.startsWith(QStringLiteral("記録できませんでした。\n")))
            << qPrintable(text);
        EXPECT_TRUE(text.contains(asked)) << qPrintable(text);
        EXPECT_TRUE(text.endsWith(QStringLiteral("フォルダーがありません"))) << qPrintable(text);
    }
    // An existing chart where no temporary file can be made beside it stays as it was.
    const QString kept = path(QStringLiteral("kept.CHF"));
    QString first = kept;
    ASSERT_TRUE(files.loadSave(1, first));
    const QByteArray before = test::readFile(kept);
    chart1.setSeriesCaption(0, QStringLiteral("changed"));
    dialogs.messages.clear();
    QString procTarget = QStringLiteral("/proc/self/kept.CHF");
    EXPECT_FALSE(files.loadSave(1, procTarget));
    ASSERT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_TRUE(
        dialogs.messageTexts().first().startsWith(QStringLiteral("記録できませんでした。\n")));
    EXPECT_EQ(test::readFile(kept), before);
    EXPECT_FALSE(logText().contains(QStringLiteral("/proc/self")));
}

TEST_F(FilesFixture, SeveralFilesBecomeASlideShowSelection)
{
    dialogs.fileChoices = {{path(QStringLiteral("a.CHF")), path(QStringLiteral("b.jpg")),
                            path(QStringLiteral("c.Sld"))}};
    QString none;
    EXPECT_TRUE(files.loadSave(0, none));
    ASSERT_EQ(host.log.size(), 1);
    EXPECT_EQ(host.log[0],
              QStringLiteral("multSlideShow 1 [%1/] [%1\r\na.CHF\r\nb.jpg\r\nc.Sld\r\n]")
                  .arg(dir.path()));
    EXPECT_TRUE(state.currentFile.isEmpty());
}

TEST_F(FilesFixture, PicturesScriptsAndTheSpeechChart)
{
    const QString jpg = path(QStringLiteral("Photo.JPG"));
    QImage(8, 8, QImage::Format_RGB32).save(jpg, "JPG");
    QString given = jpg;
    ASSERT_TRUE(files.loadSave(0, given));
    EXPECT_EQ(host.log.value(0), QStringLiteral("jpgShow ") + jpg);
    EXPECT_TRUE(logText().startsWith(QStringLiteral("<load JPG>,")));
    EXPECT_EQ(list.count(), 1);

    QString script = path(QStringLiteral("Show.SLD"));
    EXPECT_TRUE(files.loadSave(0, script));
    EXPECT_EQ(host.log.last(), QStringLiteral("multSlideShow 0 [%1/] [%2]")
                                   .arg(dir.path(), path(QStringLiteral("Show.SLD"))));

    const QString speech = sampleChartFile(QStringLiteral("TQZWARB.CHF"));
    given = speech;
    EXPECT_TRUE(files.loadSave(0, given));
    EXPECT_TRUE(host.log.contains(QStringLiteral("showSpeechEngine")));
    EXPECT_EQ(chart1.SeriesCaption(0), QStringLiteral("TQZWARB.CHF")) << "and the chart loads";
}

TEST_F(FilesFixture, Chart1LoadCHFGoesOnOnlyAfterASuccessfulImport)
{
    const QString chf = sampleChartFile(QStringLiteral("Beef.CHF"));
    state.currentFile = path(QStringLiteral("missing.chf"));
    EXPECT_FALSE(files.Chart1LoadCHF());
    EXPECT_EQ(files.regrOption(), 0);
    EXPECT_TRUE(state.dataPath.isEmpty()) << "a failed import records no folder";
    EXPECT_TRUE(dialogs.messages.isEmpty());

    state.currentFile = chf;
    EXPECT_TRUE(files.Chart1LoadCHF());
    EXPECT_EQ(files.regrOption(), 3);
    EXPECT_EQ(chart1.TitleCaption(1), QStringLiteral("右"));
    EXPECT_EQ(state.dataPath, dir.path() + QLatin1Char('/'));
    EXPECT_EQ(host.caption, chf);
}

TEST_F(FilesFixture, SecondChartOpensAndSavesOnItsOwn)
{
    const QString chf = sampleChartFile(QStringLiteral("Multi.CHF"));
    dialogs.fileChoices = {{chf}};
    EXPECT_TRUE(files.chartCommand(2, shell::LoadSave::ToolOpen));
    EXPECT_EQ(dialogs.fileDialogs[0].title, QStringLiteral("QEL Import Chart"));
    EXPECT_EQ(chart2.SeriesCaption(0), QStringLiteral("Multi.CHF"));
    EXPECT_EQ(chart1.SeriesCaption(0), QStringLiteral("Beef"));
    EXPECT_EQ(chart2.TitleCaption(1), QStringLiteral("右"));

    host.chart2Shown = true;
    QFile::remove(host.accessLog);
    const QString target = path(QStringLiteral("Multi2.CHF"));
    dialogs.fileChoices = {{target}};
    EXPECT_TRUE(files.chartCommand(2, shell::LoadSave::ToolSave));
    chartview::ChartModel saved;
    ASSERT_TRUE(chartview::ChartFile::load(target, saved).ok());
    EXPECT_EQ(saved.titles[1], QStringLiteral("右{kyOpt}{regr=3}{commonX}"));
    EXPECT_TRUE(matchesWhole(logText(), stamped(crlf({QString(), QStringLiteral("<3.0>, DATE,TIME"),
                                                      QStringLiteral("<save CHF>2,") + target}))))
        << qPrintable(logText());

    dialogs.messages.clear();
    const QString bad = path(QStringLiteral("bad.CHF"));
    test::writeFile(bad, "garbage");
    dialogs.fileChoices = {{bad}};
    files.chart2Open();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(
        QStringLiteral("chrs2読み込みできませんでした。dir: ") + bad));
    EXPECT_EQ(chart2.SeriesCaption(0), QStringLiteral("Multi.CHF"));

    EXPECT_FALSE(files.chartCommand(1, 29442)) << "view commands stay with the chart";
}

TEST_F(FilesFixture, ChartOneToolBarRunsLoadSave)
{
    const QString chf = sampleChartFile(QStringLiteral("Tool.CHF"));
    dialogs.fileChoices = {{chf}};
    EXPECT_TRUE(files.chartCommand(1, shell::LoadSave::ToolOpen));
    EXPECT_EQ(chart1.SeriesCaption(0), QStringLiteral("Tool.CHF"));
    const QString target = path(QStringLiteral("Tool2.chf"));
    dialogs.fileChoices = {{target}};
    EXPECT_TRUE(files.chartCommand(1, shell::LoadSave::ToolSave));
    EXPECT_TRUE(QFileInfo::exists(target));
}

TEST_F(FilesFixture, AShowAsksAboutUnsavedChangesFirst)
{
    // A show loads its chart slides into Chart1.
    context.edit(QStringLiteral("タイトル"),
                 [&] { chart1.setTitleCaption(0, QStringLiteral("changed")); });
    ASSERT_TRUE(context.isModified());
    const QString script = path(QStringLiteral("Show.SLD"));
    test::writeFile(script, "<FILE> a.chf\r\n");
    struct Case
    {
        const char *what;
        QStringList chosen;
        QString given;
    };
    for (const Case &c : {Case{"selection",
                               {path(QStringLiteral("a.CHF")), path(QStringLiteral("b.jpg"))},
                               QString()},
                          Case{"script", {}, script}}) {
        SCOPED_TRACE(c.what);
        host.log.clear();
        dialogs.messages.clear();
        dialogs.fileChoices = {c.chosen};
        dialogs.answers = {os::MessageAnswer::Cancel};
        QString given = c.given;
        EXPECT_FALSE(files.loadSave(0, given));
        EXPECT_TRUE(host.log.isEmpty()) << qPrintable(host.log.join(u'|'));
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(dialogs.messages[0].buttons, os::MessageButtons::YesNoCancel);

        dialogs.answers = {os::MessageAnswer::No};
        dialogs.fileChoices = {c.chosen};
        given = c.given;
        EXPECT_TRUE(files.loadSave(0, given));
        EXPECT_EQ(host.log.size(), 1);
        EXPECT_TRUE(context.isModified()) << "kept until a slide replaces it";
    }
}
