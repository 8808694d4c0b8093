// In-process timings for bench/run.sh: each mode prints "name value unit" lines, medians over
// the repetitions. Not a test: nothing here passes or fails.
//
//   qel_bench load FILE [RUNS]                 load through the program's one load routine
//   qel_bench screen FILE WxH [RUNS]           repaint, resize, point drag, rotation step, hover
//   qel_bench stats FILE [RUNS]                regression job with its report on series 1
//   qel_bench slides SCRIPT WxH                slide to slide; PDF export of the show
//   qel_bench picture FILE WxH OUT [3d]        the chart as the window paints it, for a look
#include "chartdoc/ChartDocument.h"
#include "chartdoc/DataFileLoader.h"
#include "chartview/CfxOcx.h"
#include "chartview/render/ChartControl.h"
#include "os/Useful.h"
#include "shell/HeadlessDialogs.h"
#include "shell/StartupChart.h"
#include "slides/MessageLog.h"
#include "slides/SlideExport.h"
#include "slides/SlidePreparation.h"
#include "slides/SlideScript.h"
#include "stats/RegressionFields.h"
#include "stats/RegressionJob.h"
#include "stats/RegressionOptions.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

using namespace qel;
using namespace qel::chartview;

namespace {

// The chart window's pair of charts and the document over the first.
struct Session
{
    ChartControl chart1, chart2;
    // Message boxes get the answer that lets the job go on, as the command line's --yes gives.
    shell::HeadlessDialogs dialogs{true};
    slides::MessageLog messages;
    chartdoc::ChartDocument document{chart1, dialogs, messages};

    Session()
    {
        shell::StartupChart::applyDefaults(chart1, chart2);
        document.controlsFollowChart();
    }
    bool open(const QString &path)
    {
        const chartdoc::LoadResult r = chartdoc::DataFileLoader(document).open(path);
        if (!r.ok())
            std::fprintf(stderr, "qel_bench: %s\n", qPrintable(r.message));
        return r.ok();
    }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Milliseconds of one call of work, runs times; the median.
double timeMs(int runs, const std::function<void()> &work, const std::function<void()> &before = {})
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (before)
            before();
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(ms);
}

void print(const char *name, double value, const char *unit)
{
    std::printf("%s %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

QSize parseSize(const char *text)
{
    int w = 0, h = 0;
    return std::sscanf(text, "%dx%d", &w, &h) == 2 ? QSize(w, h) : QSize(1382, 648);
}

int load(const QString &file, int runs)
{
    Session s;
    bool ok = true;
    print("load", timeMs(runs, [&] { ok = s.open(file) && ok; }), "ms");
    return ok ? 0 : 1;
}

// What the window does on each repaint: the whole chart into the backing store's image.
const ChartLayout &paintOnce(ChartControl &chart, QImage &image)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    const ChartLayout &layout =
        chart.paintOnScreen(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    painter.end();
    return layout;
}

int screen(const QString &file, const QSize &size, int runs)
{
    Session s;
    if (!s.open(file))
        return 1;
    ChartControl &chart = s.chart1;
    chart.setViewSize(size);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    paintOnce(chart, image); // fonts and caches as after the first paint
    print("repaint", timeMs(runs, [&] { paintOnce(chart, image); }), "ms");

    QImage other(size - QSize(37, 23), QImage::Format_ARGB32_Premultiplied);
    int flip = 0;
    print("resize",
          timeMs(runs,
                 [&] {
                     QImage &target = (++flip % 2) ? other : image;
                     chart.setViewSize(target.size());
                     paintOnce(chart, target);
                 }),
          "ms");
    chart.setViewSize(size);
    paintOnce(chart, image);

    chart.setActiveSeries(0);
    const int point = chart.PointTotal() / 2;
    const double value = chart.ValueY(point);
    int step = 0;
    print("drag",
          timeMs(runs,
                 [&] {
                     chart.setActiveSeries(0);
                     chart.setValueY(point, value + (++step % 5));
                     paintOnce(chart, image);
                 }),
          "ms");
    chart.setValueY(point, value);

    // Hit tests over the painted layout, at random places of the plot; the first query after a
    // paint is timed on its own (a chart whose anchors are not ordered along x scans them).
    const ChartLayout &layout = paintOnce(chart, image);
    {
        const QPointF centre = layout.plot.center();
        QElapsedTimer t;
        t.start();
        chart.ChartQuery(QueryHitTest, MakeLong(qint16(centre.x()), qint16(centre.y())));
        print("hover_first", t.nsecsElapsed() / 1e6, "ms");
    }
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> xs(layout.plot.left(), layout.plot.right());
    std::uniform_real_distribution<double> ys(layout.plot.top(), layout.plot.bottom());
    std::vector<double> us;
    for (int i = 0; i < 2000; ++i) {
        const qint16 x = qint16(xs(rng)), y = qint16(ys(rng));
        QElapsedTimer t;
        t.start();
        chart.ChartQuery(QueryHitTest, MakeLong(x, y));
        us.push_back(t.nsecsElapsed() / 1e3);
    }
    print("hover", median(us), "us");

    chart.setView3D(true);
    int angle = 30;
    paintOnce(chart, image);
    print("rotate",
          timeMs(std::max(3, runs / 2),
                 [&] {
                     angle = (angle + 5) % 360;
                     chart.setViewAngles(MakeLong(qint16(20), qint16(angle)));
                     paintOnce(chart, image);
                 }),
          "ms");
    return 0;
}

int regression(const QString &file, int runs)
{
    QTemporaryDir reports;
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        Session s; // a fresh chart each time: the job adds its series to it
        if (!s.open(file))
            return 1;
        ChartView &chart = s.chart1;
        stats::RegressionOptions options;
        options.selectMethod(stats::RegressionOptions::Linear);
        options.setSeChecked(false);
        options.setDataName(QStringLiteral("1: ") + chart.SeriesCaption(0));
        options.drawText();
        stats::RegressionFields fields{QStringLiteral("1"), QString::number(chart.SeriesTotal()),
                                       QStringLiteral("1"), QString::number(chart.PointTotal()),
                                       std::nullopt};
        qint16 colorGroups = 0;
        stats::RegressionJob job(chart, s.dialogs, options, fields, colorGroups);
        job.setCurrentFile(file);
        job.setReportDirectory(reports.path());
        QElapsedTimer t;
        t.start();
        const stats::JobResult result = job.runRegressionJob(0, options.job());
        ms.push_back(t.nsecsElapsed() / 1e6);
        if (!result.succeeded()) {
            std::fprintf(stderr, "qel_bench: %s\n", qPrintable(result.message));
            return 1;
        }
    }
    print("regression", median(ms), "ms");
    return 0;
}

int slideShow(const QString &script, const QSize &size)
{
    Session s;
    const slides::PictureLoader pictures = [](const QString &path, QImage &image) {
        QImageReader reader(path);
        image = reader.read();
        return image.isNull() ? os::Result::failure(reader.errorString()) : os::Result();
    };
    const slides::SlidePreparation preparation(
        s.chart1,
        [&s](const QString &path) -> os::Result {
            return chartdoc::DataFileLoader(s.document).open(path);
        },
        pictures);
    slides::SlideTable table;
    if (!slides::SlideScript::read(script, table).ok())
        return 1;
    const QString folder = QFileInfo(script).absolutePath();
    std::vector<double> ms;
    for (int round = 0; round < 2; ++round) {
        for (const slides::SlideRow &row : table.rows) {
            if (row.file.isEmpty())
                continue;
            QElapsedTimer t;
            t.start();
            const slides::PreparedSlide slide = preparation.prepare(folder, row.file);
            const QImage shown = preparation.render(slide, size, 1.0);
            ms.push_back(t.nsecsElapsed() / 1e6);
            if (!slide.ok() || shown.isNull())
                std::fprintf(stderr, "qel_bench: %s\n", qPrintable(slide.loaded.message));
        }
    }
    print("slide", median(ms), "ms");
    QTemporaryDir out;
    QStringList notes;
    print("slides_pdf",
          timeMs(3,
                 [&] {
                     slides::SlideExport::exportPdf(
                         script, out.filePath(QStringLiteral("show.pdf")), preparation, notes);
                 }),
          "ms");
    return 0;
}

int picture(const QString &file, const QSize &size, const QString &out, bool view3D)
{
    Session s;
    if (!s.open(file))
        return 1;
    s.chart1.setViewSize(size);
    if (view3D) {
        s.chart1.setView3D(true);
        s.chart1.setViewAngles(MakeLong(qint16(20), qint16(35)));
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    paintOnce(s.chart1, image);
    return image.save(out) ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    os::keepFreedMemory(); // as the program does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1);
    const QString file = args.value(2);
    if (mode == QStringLiteral("load") && !file.isEmpty())
        return load(file, args.value(3, QStringLiteral("5")).toInt());
    if (mode == QStringLiteral("screen") && !file.isEmpty())
        return screen(file, parseSize(argc > 3 ? argv[3] : ""),
                      args.value(4, QStringLiteral("9")).toInt());
    if (mode == QStringLiteral("stats") && !file.isEmpty())
        return regression(file, args.value(3, QStringLiteral("7")).toInt());
    if (mode == QStringLiteral("slides") && !file.isEmpty())
        return slideShow(file, parseSize(argc > 3 ? argv[3] : ""));
    if (mode == QStringLiteral("picture") && argc > 4)
        return picture(file, parseSize(argv[3]), args.value(4),
                       args.value(5) == QStringLiteral("3d"));
    std::fprintf(stderr, "usage: qel_bench load|screen|stats|slides|picture FILE [WxH] ...\n");
    return 2;
}
