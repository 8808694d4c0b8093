#include "FilesFixture.h"

#include "os/ProcessStarter.h"
#include "shell/TableEditorHandOver.h"
#include "shell/TableFollower.h"
#include "support/FakeProcessStarter.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>

using namespace qel;
using namespace qel::shell;
using namespace Qt::StringLiterals;

namespace {

void writeExecutable(const QString &path, const QByteArray &script)
{
    test::writeFile(path, script);
    QFile::setPermissions(path,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

struct HandOverFixture : test::FilesFixture
{
    test::FakeProcessStarter starter;
    TableEditorHandOver handOver{state, settings, dialogs, starter};
    QString calc = path(u"soffice"_s);

    HandOverFixture()
    {
        writeExecutable(calc, "#!/bin/sh\n");
        handOver.setProgramFolders({dir.path()});
    }
};

TEST(TableEditorHandOver, StartsLibreOfficeWithTheImportFilterOfTheTablesEncoding)
{
    QTemporaryDir dir;
    const QString cp932 = dir.filePath(u"a.Tbx"_s);
    const QString utf8 = dir.filePath(u"b.Tbx"_s);
    test::writeFile(cp932, os::encodeText(u"TopTit=\t売上\r\n"_s));
    test::writeFile(utf8, "\xEF\xBB\xBF" + u"TopTit=\t€\r\n"_s.toUtf8());
    const QString cp932Filter =
        u"--infilter=Text - txt - csv (StarCalc):9,34,64,1,,1041,false,false"_s;
    const QString utf8Filter =
        u"--infilter=Text - txt - csv (StarCalc):9,34,76,1,,1041,false,false"_s;
    const struct
    {
        QString editor;
        QString table;
        QStringList expected;
    } cases[] = {
        {u"/usr/bin/localc"_s, cp932, {u"--calc"_s, cp932Filter, cp932}},
        {u"/usr/bin/soffice"_s, utf8, {u"--calc"_s, utf8Filter, utf8}},
        {u"/opt/libreoffice7.4/program/soffice.bin"_s, cp932, {u"--calc"_s, cp932Filter, cp932}},
        {u"/usr/bin/libreoffice"_s,
         dir.filePath(u"missing.Tbx"_s),
         {u"--calc"_s, cp932Filter, dir.filePath(u"missing.Tbx"_s)}},
        {u"/usr/bin/gnumeric"_s, cp932, {cp932}},
        {u"/home/u/bin/mycalc"_s, utf8, {utf8}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TableEditorHandOver::editorArguments(c.editor, c.table), c.expected)
            << qPrintable(c.editor);
}

TEST_F(HandOverFixture, ButtonsFollowTheEditorAndTheCompanionTable)
{
    test::writeFile(path(u"a.Tbx"_s), "x");
    test::writeFile(path(u"empty.Tbx"_s), "");
    const struct
    {
        QString editor;
        QString chart;
        int result;
        TableEditorButtons buttons;
        QString tablePath;
    } cases[] = {
        {QString(), path(u"a.b.chf"_s), 0, {}, QString()},
        {TableEditorHandOver::notSet(), path(u"a.b.chf"_s), 0, {}, QString()},
        {calc, path(u"a.b.chf"_s), 0, {true, false, true, false}, path(u"a.Tbx"_s)},
        {calc, path(u"other.chf"_s), 0, {false, false, true, false}, path(u"other.Tbx"_s)},
        {calc, path(u"empty.chf"_s), 0, {false, false, true, false}, path(u"empty.Tbx"_s)},
        {calc, dir.path() + u'/', -1, {}, QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.chart + u" with "_s + c.editor));
        TableEditorHandOver fresh(state, settings, dialogs, starter);
        state.tableEditorPath = c.editor;
        EXPECT_EQ(fresh.setXcelOpenVisible(c.chart), c.result);
        EXPECT_EQ(fresh.buttons(), c.buttons);
        EXPECT_EQ(fresh.tablePath(), c.tablePath);
    }
}

TEST_F(HandOverFixture, EditorChoiceProposesTheSpreadsheetAndRemembersWhatWasChosen)
{
    writeExecutable(path(u"gnumeric"_s), "#!/bin/sh\n");
    // A cancelled first choice stores "未設定", so it is not asked again at every start.
    EXPECT_FALSE(handOver.chooseEditor());
    ASSERT_EQ(dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(dialogs.fileDialogs[0].title, u"qelPro  エディター設定"_s);
    EXPECT_EQ(dialogs.fileDialogs[0].proposedPath, calc);
    EXPECT_EQ(handOver.tempo(), u"cancel"_s);
    EXPECT_EQ(settings.tableEditor(), TableEditorHandOver::notSet());

    const QString text = path(u"notes.txt"_s);
    test::writeFile(text, "not a program");
    dialogs.fileChoices = {{text}};
    EXPECT_FALSE(handOver.chooseEditor());
    EXPECT_TRUE(dialogs.messageTexts().last().contains(text));
    EXPECT_EQ(state.tableEditorPath, TableEditorHandOver::notSet());

    dialogs.fileChoices = {{path(u"gnumeric"_s)}};
    EXPECT_TRUE(handOver.chooseEditor());
    EXPECT_EQ(settings.tableEditor(), path(u"gnumeric"_s));
    EXPECT_TRUE(handOver.tempo().isEmpty());
    EXPECT_TRUE(handOver.buttons().newXcl);
}

TEST_F(HandOverFixture, OpenTableWritesTheCompanionAndStartsTheSpreadsheetWithIt)
{
    state.tableEditorPath = calc;
    state.currentFile = path(u"a.b.chf"_s);
    bool write = false;
    handOver.setCompanionWriter([&] {
        if (write)
            test::writeFile(path(u"a.Tbx"_s), os::encodeText(u"表\r\n"_s));
        return write;
    });
    int handed = 0;
    QObject::connect(&handOver, &TableEditorHandOver::tableHandedOver, [&] { ++handed; });
    handOver.openTable(); // the writer refused (the user kept the old table): nothing starts
    EXPECT_TRUE(starter.starts.isEmpty());

    write = true;
    handOver.openTable();
    ASSERT_EQ(starter.starts.size(), 1);
    EXPECT_EQ(starter.starts[0].program, calc);
    EXPECT_EQ(starter.starts[0].arguments.last(), path(u"a.Tbx"_s));
    EXPECT_EQ(handed, 1);
    EXPECT_TRUE(handOver.buttons().xcelOpen);

    starter.failing = {calc};
    QFile::remove(path(u"a.Tbx"_s)); // written anew by this press
    handOver.openTable();
    EXPECT_TRUE(dialogs.messageTexts().last().contains(calc));
    EXPECT_TRUE(handOver.buttons().reminder);
    EXPECT_TRUE(handOver.buttons().xcelOpen) << "the table written stays offered";
}

TEST_F(HandOverFixture, NewTableOpensTheTemplateAndAsksBeforeASecondStart)
{
    state.tableEditorPath = calc;
    handOver.newTable();
    EXPECT_TRUE(dialogs.messageTexts().last().startsWith(u"書式ファイルが見つかりません。"_s));
    EXPECT_TRUE(starter.starts.isEmpty());

    test::writeFile(handOver.templatePath(), os::encodeText(u"{Begin}\r\n"_s));
    handOver.newTable();
    ASSERT_EQ(starter.starts.size(), 1);
    EXPECT_EQ(starter.starts[0].arguments.last(), handOver.templatePath());

    dialogs.answers = {os::MessageAnswer::No, os::MessageAnswer::Yes};
    handOver.newTable();
    EXPECT_EQ(dialogs.messages.last().text, u"再度 TableEditor を起動しますか？"_s);
    EXPECT_EQ(starter.starts.size(), 1);
    EXPECT_EQ(dialogs.beeps, 1);
    handOver.newTable();
    EXPECT_EQ(starter.starts.size(), 2);
}

TEST_F(HandOverFixture, NewTableWithAnEditorThatCannotStartAsksForAnother)
{
    test::writeFile(handOver.templatePath(), os::encodeText(u"{Begin}\r\n"_s));
    state.tableEditorPath = path(u"gone"_s);
    handOver.newTable();
    EXPECT_TRUE(dialogs.messageTexts().contains(u"書式編集プログラムを起動できません。\n"_s +
                                                path(u"gone"_s) +
                                                u": 実行できるプログラムがありません。"_s));
    EXPECT_TRUE(handOver.buttons().reminder);
    EXPECT_EQ(dialogs.fileDialogs.size(), 1);                        // the editor choice
    EXPECT_EQ(state.tableEditorPath, TableEditorHandOver::notSet()); // the choice was cancelled
}

// The spreadsheet edits the companion table; the chart follows it.
struct FollowerFixture : test::FilesFixture
{
    TableFollower follower{context};
    QString tablePath = path(u"sales.Tbx"_s);

    FollowerFixture()
    {
        follower.setSettleTime(0);
        copyOf(u"separate_cp932.tbx"_s, u"sales.Tbx"_s);
        QString given = tablePath;
        EXPECT_TRUE(files.loadSave(0, given));
    }

    // The table as a spreadsheet saves it: the same layout with other numbers.
    QByteArray editedTable(const QString &from, const QString &to) const
    {
        QString text = os::decodeText(test::readFile(tablePath)).text;
        text.replace(from, to);
        return os::encodeText(text);
    }
};

TEST_F(FollowerFixture, ReloadKeepsTheLookAndIsOneUndoStep)
{
    chart1.setChartType(chartview::GalleryBars);
    chart1.setSeriesColor(0, chartview::rgb(1, 2, 3));
    const chartview::ChartModel styled = chart1.model();
    follower.follow(tablePath);
    test::writeFile(tablePath, editedTable(u" 11.5"_s, u" 42"_s));

    ASSERT_TRUE(follower.reload().ok());
    EXPECT_EQ(chart1.model().value(0, 1), 42.0);
    EXPECT_EQ(chart1.model().chartType, styled.chartType);
    EXPECT_EQ(chart1.model().seriesColor(0), chartview::rgb(1, 2, 3));
    context.undoStack().undo();
    EXPECT_EQ(chart1.model(), styled);
}

TEST_F(FollowerFixture, BadTablesLeaveTheChartAndSayWhy)
{
    follower.follow(tablePath);
    const chartview::ChartModel before = chart1.model();
    const QByteArray bad[] = {
        QByteArray(),
        "half-written\r\n{Begin}",
        QByteArray(5000, '\xFF'),
        editedTable(u"\t"_s, u","_s),
    };
    for (const QByteArray &bytes : bad) {
        test::writeFile(tablePath, bytes);
        QStringList failed;
        const auto connection = QObject::connect(&follower, &TableFollower::reloadFailed,
                                                 [&](const QString &text) { failed << text; });
        EXPECT_FALSE(follower.reload().ok());
        QObject::disconnect(connection);
        ASSERT_EQ(failed.size(), 1);
        EXPECT_TRUE(failed[0].contains(tablePath));
        EXPECT_EQ(chart1.model(), before);
    }
    QFile::remove(tablePath);
    EXPECT_FALSE(follower.reload().ok());
    EXPECT_EQ(chart1.model(), before);
    EXPECT_EQ(context.undoStack().count(), 0);
}

TEST_F(FollowerFixture, TablesSavedAsUtf8OrWithExtraColumnsStillLoad)
{
    follower.follow(tablePath);
    const QString text = os::decodeText(editedTable(u" 11.5"_s, u" 7"_s)).text;
    for (const QByteArray &bytes :
         {text.toUtf8(), QString(text).replace(u"\r\n"_s, u"\t\t\r\n"_s).toUtf8()}) {
        test::writeFile(tablePath, bytes);
        ASSERT_TRUE(follower.reload().ok());
        EXPECT_EQ(chart1.model().value(0, 1), 7.0);
        EXPECT_EQ(chart1.model().seriesCaptions.value(0), u"牛肉"_s);
    }
}

// A real program started with the table: it records its arguments and saves the table the
// way many editors do, into a new file renamed over the old one.
TEST_F(FollowerFixture, FollowsASpreadsheetThatSavesByRename)
{
    const QString edited = path(u"edited.Tbx"_s);
    test::writeFile(edited, editedTable(u" 9.25"_s, u" 99"_s));
    const QString calc = path(u"fake-calc"_s);
    writeExecutable(calc, "#!/bin/sh\n"
                          "for last; do :; done\n"
                          "printf '%s\\n' \"$@\" > \"$(dirname \"$last\")/args.txt\"\n"
                          "sleep 1\n"
                          "cp \"$(dirname \"$last\")/edited.Tbx\" \"$last.tmp\"\n"
                          "mv \"$last.tmp\" \"$last\"\n");
    os::QtProcessStarter starter;
    state.tableEditorPath = calc;
    state.currentFile = path(u"sales.chf"_s);
    TableEditorHandOver handOver(state, settings, dialogs, starter);
    handOver.setCompanionWriter([] { return true; });
    QObject::connect(&handOver, &TableEditorHandOver::tableHandedOver, &follower,
                     &TableFollower::follow);
    QStringList reloaded;
    QEventLoop loop;
    QObject::connect(&follower, &TableFollower::reloaded, [&](const QString &text) {
        reloaded << text;
        loop.quit();
    });
    handOver.openTable();
    QTimer::singleShot(30000, &loop, &QEventLoop::quit); // only against a hang
    loop.exec();
    ASSERT_EQ(reloaded.size(), 1);
    EXPECT_EQ(chart1.model().value(0, 2), 99.0);
    EXPECT_EQ(test::readFile(path(u"args.txt"_s)), tablePath.toUtf8() + '\n');
    EXPECT_TRUE(reloaded[0].contains(u"sales.Tbx"_s));
}

} // namespace
