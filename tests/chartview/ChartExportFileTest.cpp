#include "chartview/render/ChartControl.h"

#include "support/SpecialFiles.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;
using namespace qel::chartview;

namespace {

ChartControl &exportable(ChartControl &chart)
{
    chart.setSeriesTotal(1);
    chart.setPointTotal(2);
    chart.setViewSize(QSize(200, 150));
    return chart;
}

} // namespace

// A link to a picture is written at its target; what is no regular file is refused (see
// UnreadableFiles).
TEST(ChartExportFile, ALinkToAPictureIsWrittenAtItsTargetAndTheErrorIsCleared)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QString target = dir.filePath(QStringLiteral("real.png"));
    test::writeFile(target, "old");
    const QString link = test::makeLink(dir, QStringLiteral("a.png"), target);
    ChartControl chart;
    exportable(chart);
    EXPECT_NE(chart.ExportFile(FormatPng, dir.filePath(QStringLiteral("no/a.png"))), 0);
    EXPECT_FALSE(chart.ExportError().isEmpty());
    ASSERT_EQ(chart.ExportFile(FormatPng, link), 0) << chart.ExportError().toStdString();
    EXPECT_TRUE(chart.ExportError().isEmpty());
    EXPECT_EQ(test::kindOf(link), QStringLiteral("link"));
    EXPECT_EQ(QImage(target).size(), QSize(200, 150));
}

// The exported PNG holds exactly the picture the chart paints, at 96 dots per inch.
TEST(ChartExportFile, PngHoldsThePaintedPictureExactly)
{
    QTemporaryDir tmp;
    ChartControl chart;
    exportable(chart);
    chart.setValueY(0, 3);
    chart.setValueY(1, 7);
    const QString path = QDir(tmp.path()).filePath(QStringLiteral("chart.png"));
    ASSERT_EQ(chart.ExportFile(FormatPng, path), 0) << qPrintable(chart.ExportError());
    const QImage written(path);
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written.size(), QSize(200, 150));
    EXPECT_FALSE(written.hasAlphaChannel());
    EXPECT_EQ(written.dotsPerMeterX(), 3780);
    const QImage painted = chart.renderImage(QSize(200, 150)).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), painted);
}
