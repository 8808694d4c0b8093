#include "PdfTools.h"
#include "print/PdfDocument.h"
#include "print/PrintLayout.h"
#include "settings/LegendFile.h"
#include "support/Pictures.h"
#include "support/SpecialFiles.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;

namespace {

struct Outcome
{
    int code = -1;
    QString err;
};

Outcome qelpro(const QStringList &arguments, const QString &workDir = QString())
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QTemporaryDir home;
    env.insert(QStringLiteral("QELPRO_HOME"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    if (!workDir.isEmpty())
        process.setWorkingDirectory(workDir);
    process.start(QStringLiteral(QELPRO_BINARY), arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        return {};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

// The table fixture with a legend file beside it, in dir.
QString tableWithLegend(const QDir &dir, const QString &legend)
{
    const QString table = dir.filePath(QStringLiteral("sales.tbx"));
    QFile::copy(test::fixturePath(QStringLiteral("sales.tbx")), table);
    test::writeFile(settings::LegendFile::pathFor(table), settings::LegendFile::encode(legend));
    return table;
}

// A designed rectangle in printer pixels of the command line's PDF (1200 dpi, 10 mm margins)
// as pixels of its page rendered at dpi.
QRect onRendered(const QRect &printer, int dpi)
{
    const double margin = 10 / 25.4 * dpi;
    const double scale = dpi / 1200.0;
    return QRectF(margin + printer.x() * scale, margin + printer.y() * scale,
                  printer.width() * scale, printer.height() * scale)
        .toAlignedRect();
}

print::PageMetrics a4Metrics(bool landscape = false)
{
    print::PdfDocument pdf(print::PdfDocument::layoutFor(
        QPageSize::A4, landscape ? QPageLayout::Landscape : QPageLayout::Portrait));
    return pdf.page().metrics();
}

} // namespace

TEST(HeadlessPrint, StandardPageCarriesHeaderPathAndLegend)
{
    QTemporaryDir dir;
    const QString table =
        tableWithLegend(QDir(dir.path()), QStringLiteral("売上の凡例 legend words"));
    const QString out = dir.filePath(QStringLiteral("standard.pdf"));
    const Outcome run = qelpro({QStringLiteral("--print"), out, table});
    ASSERT_EQ(run.code, 0) << qPrintable(run.err);
    const QString text = test::pdfText(out);
    EXPECT_TRUE(text.contains(QStringLiteral("qelPro"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("3.0.0"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(table)) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("売上の凡例"))) << qPrintable(text);
    EXPECT_EQ(test::pdfPages(out), 1);
    EXPECT_TRUE(test::pdfInfo(out).contains(QStringLiteral("(A4)")));

    // The chart lies inside its designed rectangle: between the header and the legend every
    // mark is within it, and it spans most of its width.
    const int dpi = 60;
    const QImage page = test::pdfPage(out, dpi);
    test::savePicture(page, QStringLiteral("print-standard"));
    const QRect designed = onRendered(print::PrintLayout::standardPage(1, a4Metrics()).chart1, dpi);
    const QRect chart = test::inkBox(page, designed.top(), designed.bottom());
    EXPECT_TRUE(designed.adjusted(-1, -1, 1, 1).contains(chart))
        << chart.x() << "," << chart.y() << " " << chart.width() << "x" << chart.height();
    // Drawn as on screen, scaled evenly: it fills the rectangle's width or its height.
    EXPECT_TRUE(chart.width() > designed.width() * 9 / 10 ||
                chart.height() > designed.height() * 9 / 10);
    // The header lies above the chart, the legend below it.
    EXPECT_LT(test::inkBox(page).top(), designed.top());
    EXPECT_GT(test::inkBox(page).bottom(), designed.bottom());
}

TEST(HeadlessPrint, EveryLayoutOnItsPage)
{
    QTemporaryDir dir;
    const QString table = tableWithLegend(QDir(dir.path()), QStringLiteral("legend"));
    const int dpi = 60;
    struct Row
    {
        const char *name;
        QStringList options;
        bool landscape;
    };
    const Row rows[] = {
        {"standard-white", {QStringLiteral("--white")}, false},
        {"standard-mode2", {QStringLiteral("--mode"), QStringLiteral("2")}, false},
        {"screen", {QStringLiteral("--layout"), QStringLiteral("screen")}, false},
        {"fill", {QStringLiteral("--layout"), QStringLiteral("fill")}, false},
        {"fill-landscape",
         {QStringLiteral("--layout"), QStringLiteral("fill"), QStringLiteral("--landscape")},
         true},
        {"form", {QStringLiteral("--layout"), QStringLiteral("form")}, false},
        {"letter", {QStringLiteral("--page"), QStringLiteral("letter")}, false},
    };
    for (const Row &row : rows) {
        const QString out = dir.filePath(QString::fromLatin1(row.name) + QStringLiteral(".pdf"));
        const Outcome run =
            qelpro(QStringList{QStringLiteral("--print"), out} + row.options + QStringList{table});
        ASSERT_EQ(run.code, 0) << row.name << qPrintable(run.err);
        EXPECT_EQ(test::pdfPages(out), 1) << row.name;
        const QImage page = test::pdfPage(out, dpi);
        test::savePicture(page, QStringLiteral("print-%1").arg(QString::fromLatin1(row.name)));
        const QRect ink = test::inkBox(page);
        ASSERT_FALSE(ink.isEmpty()) << row.name;
        const QString layout =
            row.options.value(row.options.indexOf(QStringLiteral("--layout")) + 1);
        if (layout == QStringLiteral("fill")) {
            const QRect designed =
                onRendered(print::PrintLayout::fillingWidth(a4Metrics(row.landscape)), dpi);
            EXPECT_TRUE(designed.adjusted(-1, -1, 1, 1).contains(ink)) << row.name;
            EXPECT_GT(ink.width(), designed.width() * 9 / 10) << row.name;
            EXPECT_LT(ink.bottom(), page.height() / 2) << row.name << ": the upper half";
        } else if (layout == QStringLiteral("screen") || layout == QStringLiteral("form")) {
            // At the top left, at the window's size: far less than the page.
            EXPECT_LT(ink.left(), dpi / 2 + 2) << row.name;
            EXPECT_LT(ink.top(), dpi / 2 + 2) << row.name;
            EXPECT_LT(ink.width(), page.width() * 95 / 100) << row.name;
        }
        if (QByteArrayView(row.name) == "letter") {
            EXPECT_TRUE(test::pdfInfo(out).contains(QStringLiteral("(letter)"))) << row.name;
        }
        if (QByteArrayView(row.name) == "standard-mode2") {
            const auto placed = print::PrintLayout::standardPage(2, a4Metrics());
            const QRect second = onRendered(placed.chart2, dpi);
            EXPECT_FALSE(test::inkBox(page, second.top(), second.bottom()).isEmpty());
            EXPECT_FALSE(test::pdfText(out).contains(QStringLiteral("legend")))
                << "mode 2 prints no legend text";
        }
    }
}

TEST(HeadlessPrint, PicturePrintsAtASeventhOfThePage)
{
    QTemporaryDir dir;
    QImage picture(240, 120, QImage::Format_RGB32); // 2.5 x 1.25 inches at 96 dpi
    picture.fill(QColor(0, 0, 200));
    picture.setDotsPerMeterX(3780);
    picture.setDotsPerMeterY(3780);
    const QString png = dir.filePath(QStringLiteral("picture.png"));
    ASSERT_TRUE(picture.save(png));
    const QString out = dir.filePath(QStringLiteral("picture.pdf"));
    const Outcome run = qelpro({QStringLiteral("--print"), out, png});
    ASSERT_EQ(run.code, 0) << qPrintable(run.err);
    EXPECT_TRUE(test::pdfText(out).contains(QStringLiteral("picture.png")));
    const int dpi = 60;
    const QImage page = test::pdfPage(out, dpi);
    test::savePicture(page, QStringLiteral("print-picture"));
    const print::PageMetrics m = a4Metrics();
    const QPoint at = print::PrintLayout::picturePosition(m);
    const QRect designed = onRendered(QRect(at, QSize(int(2.5 * 1200), int(1.25 * 1200))), dpi);
    const QPoint centre = designed.center();
    const QColor inside = page.pixelColor(centre);
    EXPECT_LT(inside.red(), 40);
    EXPECT_GT(inside.blue(), 160);
    EXPECT_TRUE(designed.adjusted(-1, -1, 1, 1)
                    .contains(test::inkBox(page, designed.top() + 2, page.height() - 1)));
}

// Failures exit non-zero, say why on standard error and leave no file behind.
TEST(HeadlessPrint, FailuresSayWhy)
{
    QTemporaryDir dir;
    const QString table = tableWithLegend(QDir(dir.path()), QStringLiteral("x"));
    const QString out = dir.filePath(QStringLiteral("o.pdf"));
    test::writeFile(dir.filePath(QStringLiteral("show.sld")), "a.chf\r\n");
    test::writeFile(dir.filePath(QStringLiteral("huge.png")), test::pngHeaderOnly(20000, 20000));
    test::writeFile(dir.filePath(QStringLiteral("bad.chf")), "\x89PNG garbage");
    const QString fifo = test::makeFifo(QDir(dir.path()), QStringLiteral("pipe.pdf"));
    struct Row
    {
        const char *name;
        QStringList arguments;
        int code;
        QString said;
    };
    const Row rows[] = {
        {"missing input",
         {QStringLiteral("--print"), out, dir.filePath(QStringLiteral("no.tbx"))},
         1,
         QStringLiteral("no.tbx")},
        {"unreadable chart",
         {QStringLiteral("--print"), out, dir.filePath(QStringLiteral("bad.chf"))},
         1,
         QStringLiteral("bad.chf")},
        {"slide script",
         {QStringLiteral("--print"), out, dir.filePath(QStringLiteral("show.sld"))},
         2,
         QStringLiteral("show.sld")},
        {"huge picture",
         {QStringLiteral("--print"), out, dir.filePath(QStringLiteral("huge.png"))},
         1,
         QStringLiteral("20000")},
        {"missing folder",
         {QStringLiteral("--print"), dir.filePath(QStringLiteral("gone/o.pdf")), table},
         1,
         QStringLiteral("gone/o.pdf")},
        {"fifo", {QStringLiteral("--print"), fifo, table}, 1, QStringLiteral("pipe.pdf")},
        {"not a pdf",
         {QStringLiteral("--print"), dir.filePath(QStringLiteral("o.png")), table},
         2,
         QStringLiteral("PDF")},
        {"layout",
         {QStringLiteral("--print"), out, QStringLiteral("--layout"), QStringLiteral("wide"),
          table},
         2,
         QStringLiteral("--layout")},
        {"mode",
         {QStringLiteral("--print"), out, QStringLiteral("--mode"), QStringLiteral("3"), table},
         2,
         QStringLiteral("--mode")},
        {"size",
         {QStringLiteral("--print"), out, QStringLiteral("--size"), QStringLiteral("100x100"),
          table},
         2,
         QStringLiteral("--size")},
        {"page",
         {QStringLiteral("--print"), out, QStringLiteral("--page"), QStringLiteral("A3"), table},
         2,
         QStringLiteral("--page")},
        {"white without print", {QStringLiteral("--white"), table}, 2, QStringLiteral("--print")},
    };
    for (const Row &row : rows) {
        const Outcome run = qelpro(row.arguments);
        EXPECT_EQ(run.code, row.code) << row.name << " " << qPrintable(run.err);
        EXPECT_TRUE(run.err.contains(row.said)) << row.name << " " << qPrintable(run.err);
        EXPECT_FALSE(QFile::exists(out)) << row.name;
    }
    EXPECT_EQ(test::kindOf(fifo), QStringLiteral("fifo"));
}
