#include "stats/ui/StatTextViewer.h"

#include "chartview/render/ChartPainter.h"
#include "os/TextCodec.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace qel;
using namespace qel::stats;

namespace {

int visibleViewers()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += w->isVisible() && w->windowTitle() == QStringLiteral("stat.txt");
    return n;
}

} // namespace

TEST(StatTextViewer, ShowsTheFileAtItsEndAndClosesEarlierViewers)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Stat.txt"));
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines.append(QStringLiteral("【 DATA INFORMATION 】 line %1").arg(i));
    qel::test::writeFile(path, os::encodeLines(lines));

    StatTextViewer viewer;
    viewer.showReport(path);
    QApplication::processEvents();
    QPlainTextEdit *first = viewer.window();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("stat.txt"));
    EXPECT_TRUE(first->isReadOnly());
    EXPECT_TRUE(first->toPlainText().startsWith(QStringLiteral("【 DATA INFORMATION 】 line 0")));
    EXPECT_TRUE(first->toPlainText().endsWith(QStringLiteral("line 299")));
    QScrollBar *bar = first->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(visibleViewers(), 1);

    // A second report: the first viewer goes, one new viewer shows the longer file.
    lines.append(QStringLiteral("the second report"));
    qel::test::writeFile(path, os::encodeLines(lines));
    viewer.showReport(path);
    QApplication::processEvents();
    EXPECT_EQ(visibleViewers(), 1);
    EXPECT_TRUE(viewer.window()->toPlainText().endsWith(QStringLiteral("the second report")));
    StatTextViewer::closeViewers();
    QApplication::processEvents();
    EXPECT_EQ(visibleViewers(), 0);
}

TEST(StatTextViewer, TheReportIsShownInAFixedPitchJapaneseFont)
{
    // The report lines its tables up in 14-column zones: every half-width character must take
    // one column and every full-width one two.
    // A chart drawn in the Gothic first, as the main window does before any report.
    chartview::ChartFontSpec gothic;
    gothic.family = QStringLiteral("ＭＳ ゴシック");
    EXPECT_EQ(chartview::ChartPainter::fontFor(gothic).family(), QStringLiteral("IPAGothic"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Stat.txt"));
    qel::test::writeFile(path, os::encodeLines({QStringLiteral("  n= 12  ΣX= 3.5")}));
    StatTextViewer viewer;
    viewer.showReport(path);
    ASSERT_TRUE(viewer.window());
    const QFont font = viewer.window()->document()->defaultFont();
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("IPAGothic"));
    const QFontMetricsF fm(font);
    const double column = fm.horizontalAdvance(QStringLiteral("0"));
    for (const QString &half : {QStringLiteral("i"), QStringLiteral("W"), QStringLiteral(" "),
                                QStringLiteral("."), QStringLiteral("=")})
        EXPECT_DOUBLE_EQ(fm.horizontalAdvance(half), column) << half.toStdString();
    for (const QString &full : {QStringLiteral("Σ"), QStringLiteral("【"), QStringLiteral("固")})
        EXPECT_DOUBLE_EQ(fm.horizontalAdvance(full), 2 * column) << full.toStdString();
    StatTextViewer::closeViewers();
}
