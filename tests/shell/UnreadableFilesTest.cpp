#include "chartdoc/FileTypeRegistration.h"
#include "chartdoc/LoadFixture.h"
#include "chartdoc/TableFileWriter.h"
#include "chartview/render/ChartControl.h"
#include "chartview/render/ChartFile.h"
#include "os/AccessLog.h"
#include "settings/LegendFile.h"
#include "shell/RecentFileList.h"
#include "shell/ui/HelpBrowser.h"
#include "shell/ui/PictureViewer.h"
#include "stats/StatReport.h"
#include "stats/ui/StatTextViewer.h"
#include "support/SpecialFiles.h"
#include "support/TestFiles.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <functional>

using namespace qel;
using test::Special;

namespace {

// Something that reads or writes a file the user named or the program keeps, and the name in
// its folder where it expects that file. run gives the message shown, empty on success.
struct FileUser
{
    const char *name;
    QString file;
    bool writes; // a new name is written; anything else in the way is left alone
    std::function<QString(const QDir &dir, const QString &path)> run;
};

template <typename Result> QString failure(const Result &r)
{
    return r.ok() ? QString() : r.message;
}

QString exported(qint16 format, const QString &path)
{
    chartview::ChartControl chart;
    chart.setSeriesTotal(1);
    chart.setPointTotal(2);
    chart.setViewSize(QSize(200, 150));
    return chart.ExportFile(format, path) == 0 ? QString() : chart.ExportError();
}

const FileUser Users[] = {
    {"chart file", QStringLiteral("a.chf"), false,
     [](const QDir &, const QString &path) {
         chartview::ChartModel model;
         return failure(chartview::ChartFile::load(path, model));
     }},
    {"table", QStringLiteral("a.tbx"), false,
     [](const QDir &, const QString &path) {
         test::LoadFixture f;
         const chartview::ChartModel before = f.chart.model();
         const QString message = failure(f.open(path));
         EXPECT_TRUE(f.chart.model() == before) << "the chart keeps what it showed";
         return message;
     }},
    {"legacy file", QStringLiteral("a.dfl"), false,
     [](const QDir &, const QString &path) { return failure(test::LoadFixture().open(path)); }},
    {"legend file", QStringLiteral("a.App"), false,
     [](const QDir &dir, const QString &) {
         QString legend = QStringLiteral("old");
         const os::Result r = settings::LegendFile::save1Load2AppendLegendFile(
             2, dir.filePath(QStringLiteral("a.tbx")), legend);
         EXPECT_TRUE(legend.isEmpty()) << "no legend of an earlier file stays";
         return failure(r);
     }},
    {"picture", QStringLiteral("a.jpg"), false,
     [](const QDir &, const QString &path) {
         QImage image;
         const os::Result r = shell::PictureViewer::readPicture(path, image);
         shell::PictureViewer viewer;
         EXPECT_FALSE(viewer.jpgShow(path));
         EXPECT_TRUE(viewer.fileName().isEmpty());
         return failure(r);
     }},
    {"recent list", QStringLiteral("qelPropc1.ini"), false,
     [](const QDir &, const QString &path) {
         shell::RecentFileList list;
         list.add(QStringLiteral("/d/a.chf"));
         const os::Result r = list.load(path);
         EXPECT_EQ(list.count(), 1) << "the list is kept";
         return failure(r);
     }},
    {"stat.txt viewer", QStringLiteral("Stat.txt"), false,
     [](const QDir &, const QString &path) {
         stats::StatTextViewer viewer;
         viewer.showReport(path);
         // The window says what went wrong instead of showing nothing.
         EXPECT_TRUE(viewer.window()->toPlainText().endsWith(viewer.lastRead().message));
         stats::StatTextViewer::closeViewers();
         return failure(viewer.lastRead());
     }},
    {"help", QStringLiteral("qelPro.html"), false,
     [](const QDir &, const QString &path) { return failure(shell::HelpBrowser().open(path)); }},

    {"chart file save", QStringLiteral("a.chf"), true,
     [](const QDir &, const QString &path) {
         return failure(chartview::ChartFile::save(chartview::ChartModel(), path));
     }},
    {"chart file export", QStringLiteral("a.chf"), true,
     [](const QDir &, const QString &path) { return exported(chartview::FormatChartFile, path); }},
    {"picture export", QStringLiteral("a.png"), true,
     [](const QDir &, const QString &path) { return exported(chartview::FormatPng, path); }},
    {"bitmap export", QStringLiteral("a.bmp"), true,
     [](const QDir &, const QString &path) { return exported(chartview::FormatBitmap, path); }},
    {"drawing export", QStringLiteral("a.svg"), true,
     [](const QDir &, const QString &path) { return exported(chartview::FormatSvg, path); }},
    {"table save", QStringLiteral("a.Tbx"), true,
     [](const QDir &, const QString &path) {
         test::LoadFixture f;
         f.chart.setSeriesTotal(1);
         f.chart.setPointTotal(2);
         chartdoc::TableFileWriter(f.context).write(path);
         return f.dialogs.messageTexts().join(u'\n');
     }},
    {"legend file save", QStringLiteral("a.App"), true,
     [](const QDir &dir, const QString &) {
         QString legend = QStringLiteral("text");
         return failure(settings::LegendFile::save1Load2AppendLegendFile(
             1, dir.filePath(QStringLiteral("a.chf")), legend));
     }},
    {"Stat.txt", QStringLiteral("Stat.txt"), true,
     [](const QDir &, const QString &path) {
         QString error;
         stats::StatReport::appendToFile(path, QStringLiteral("line\r\n"), &error);
         return error;
     }},
    {"recent list save", QStringLiteral("qelPropc1.ini"), true,
     [](const QDir &, const QString &path) {
         shell::RecentFileList list;
         list.add(QStringLiteral("/d/a.chf"));
         return failure(list.save(path));
     }},
    {"access log", QStringLiteral("qelAccspc1.log"), true,
     [](const QDir &, const QString &path) {
         return failure(os::AccessLog(path).write(
             QStringLiteral("<load JPG>"), QStringLiteral("/a.jpg"), QStringLiteral("3.0"),
             QString(), false, QDateTime(QDate(2026, 12, 5), QTime(5, 9, 26))));
     }},
    {"file type registration", QStringLiteral("mime/packages/qelpro.xml"), true,
     [](const QDir &dir, const QString &) {
         return failure(
             chartdoc::FileTypeRegistration(dir.path(), QStringLiteral("/usr/bin/qelpro"))
                 .registerFileTypes(false));
     }},
};

} // namespace

// Every reader opens regular files only (a FIFO would block the program for good, a device
// never end) and every save leaves what is no regular file alone; the message names the file
// and gives the reason. A new name is written, as it should be.
TEST(UnreadableFiles, WhatIsNoFileIsNeitherReadNorReplaced)
{
    for (const FileUser &user : Users) {
        for (const Special kind : test::AllSpecials) {
            // Saves are never pointed at a system device, whatever they would do with it.
            if (user.writes && kind == Special::LinkToDevice)
                continue;
            SCOPED_TRACE(std::string(user.name) + ", " + test::nameOf(kind));
            QTemporaryDir tmp;
            const QDir dir(tmp.path());
            dir.mkpath(QFileInfo(dir.filePath(user.file)).path());
            const QString path = test::makeSpecial(dir, user.file, kind);
            const QString kindBefore = test::kindOf(path);
            const QStringList before = test::listing(QDir(QFileInfo(path).path()));
            const test::HangGuard guard;
            const QString message = user.run(dir, path);
            if (user.writes && kind == Special::Missing) {
                EXPECT_TRUE(message.isEmpty()) << message.toStdString();
                EXPECT_EQ(test::kindOf(path), QStringLiteral("file"));
                continue;
            }
            EXPECT_TRUE(message.contains(path + QStringLiteral(": "))) << message.toStdString();
            const QString reason = user.writes && kind == Special::Folder
                                       ? QStringLiteral("フォルダー")
                                       : test::readReason(kind);
            EXPECT_TRUE(message.contains(reason)) << message.toStdString();
            EXPECT_EQ(test::kindOf(path), kindBefore);
            EXPECT_EQ(test::listing(QDir(QFileInfo(path).path())), before);
        }
    }
}

TEST(UnreadableFiles, TheHelpShowsWhenAPictureItLinksToIsAFifo)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    test::makeFifo(dir, QStringLiteral("pipe.png"));
    const QString help = dir.filePath(QStringLiteral("qelPro.html"));
    test::writeFile(help, "<html><head><title>ヘルプ</title></head>"
                          "<body><p>電卓</p><img src=\"pipe.png\"></body></html>");
    const test::HangGuard guard;
    shell::HelpBrowser browser;
    ASSERT_TRUE(browser.open(help).ok());
    EXPECT_TRUE(browser.browser()->toPlainText().contains(QStringLiteral("電卓")));
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("ヘルプ"));

    const QString empty = dir.filePath(QStringLiteral("empty.html"));
    test::writeFile(empty, " \n");
    EXPECT_EQ(browser.open(empty).message, empty + QStringLiteral(": ファイルが空です"));
}
