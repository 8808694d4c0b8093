#include "shell/HeadlessExport.h"

#include "shell/HeadlessDialogs.h"

#include "chartdoc/ChartDocument.h"
#include "chartdoc/ChartDump.h"
#include "chartdoc/ChartOptions.h"
#include "chartdoc/ChartSaver.h"
#include "chartdoc/DataFileLoader.h"
#include "chartdoc/SampleChart.h"
#include "chartdoc/TableFileReader.h"
#include "chartdoc/TableFileWriter.h"
#include "chartdoc/TableImage.h"
#include "chartview/render/ChartControl.h"
#include "os/FileAccess.h"
#include "os/PathParts.h"
#include "os/UserDialogs.h"
#include "settings/Form2State.h"
#include "shell/CommandLine.h"
#include "shell/ProgramState.h"
#include "shell/StartupChart.h"
#include "slides/MessageLog.h"
#include "slides/SlideExport.h"
#include "stats/RegressionFields.h"
#include "stats/RegressionJob.h"
#include "stats/RegressionOptions.h"

#include <QFileInfo>

#include <cstdio>

namespace qel::shell {

using namespace chartview;

namespace {

bool isTableOutput(const QString &path)
{
    return QFileInfo(path).suffix().toLower() == QStringLiteral("tbx");
}

bool isJsonOutput(const QString &path)
{
    return QFileInfo(path).suffix().toLower() == QStringLiteral("json");
}

// The program folder the window takes its start-up chart from.
QString startupFolder()
{
    return programDirectoryPath() + QLatin1Char('/');
}

} // namespace

qint16 HeadlessExport::formatFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("png"))
        return FormatPng;
    if (suffix == QStringLiteral("bmp"))
        return FormatBitmap;
    if (suffix == QStringLiteral("jpg") || suffix == QStringLiteral("jpeg"))
        return FormatJpeg;
    if (suffix == QStringLiteral("svg"))
        return FormatSvg;
    if (suffix == QStringLiteral("pdf"))
        return FormatPdf;
    if (suffix == QStringLiteral("chf"))
        return FormatChartFile;
    return 0;
}

int HeadlessExport::exportChart(ChartView &chart, const QString &output, QString &error)
{
    const qint16 format = formatFor(output);
    if (format == 0) {
        error =
            QStringLiteral("%1: 出力形式が分かりません (png, bmp, jpg, svg, pdf, chf, tbx, json)")
                .arg(output);
        return 2;
    }
    if (chart.ExportFile(format, output) != 0) {
        error = QStringLiteral("%1: 記録できませんでした。").arg(output);
        if (!chart.ExportError().isEmpty())
            error += QLatin1Char('\n') + chart.ExportError();
        return 1;
    }
    return 0;
}

namespace {

// Runs the job as the options window would have set it up, on the whole chart.
bool runRegression(chartdoc::ChartDocument &document, const QString &input,
                   const RegressionRequest &r, QString &error)
{
    ChartView &chart = document.chart();
    if (r.series > chart.SeriesTotal()) {
        error = QStringLiteral("--regression %1: the chart has %2 series")
                    .arg(r.series)
                    .arg(chart.SeriesTotal());
        return false;
    }
    stats::RegressionOptions options;
    options.selectMethod(r.parabolic          ? stats::RegressionOptions::Parabolic
                         : r.fixedX.isEmpty() ? stats::RegressionOptions::Linear
                                              : stats::RegressionOptions::FixedPoint);
    options.setTxtX(r.fixedX);
    options.setTxtY(r.fixedY);
    options.setWhole(r.whole);
    options.setSeChecked(r.se);
    options.setDataName(QString::number(r.series) + QStringLiteral(": ") +
                        chart.SeriesCaption(qint16(r.series - 1)));
    const auto closing = r.job == 2    ? options.drawText()
                         : r.job == 77 ? options.smooth()
                                       : options.draw();
    if (closing != stats::RegressionOptions::Closing::Hide) {
        error = QStringLiteral("--fixed %1,%2: 数値を入力してください").arg(r.fixedX, r.fixedY);
        return false;
    }
    stats::RegressionFields fields{QStringLiteral("1"), QString::number(chart.SeriesTotal()),
                                   QStringLiteral("1"), QString::number(chart.PointTotal()),
                                   std::nullopt};
    qint16 colorGroups = 0;
    stats::RegressionJob job(chart, document.dialogs(), options, fields, colorGroups);
    job.setCurrentFile(input);
    // The Y range stays as the user had it, as after an analysis started on the chart.
    const double yMin = chart.AxisValue(AxisYMin), yMax = chart.AxisValue(AxisYMax);
    const stats::JobResult result = job.runRegressionJob(r.series - 1, options.job());
    chart.setAxisValue(AxisYMin, yMin);
    chart.setAxisValue(AxisYMax, yMax);
    if (!result.succeeded()) {
        error = result.message;
        return false;
    }
    return true;
}

} // namespace

int HeadlessExport::exportSlides(const QString &output, const QString &script,
                                 const slides::PictureLoader &pictures, QString &error)
{
    if (formatFor(output) != FormatPdf) {
        error = QStringLiteral("%1: スライドショーは PDF にだけ書き出せます").arg(output);
        return 2;
    }
    ChartControl chart1, chart2;
    HeadlessDialogs dialogs(false);
    slides::MessageLog messages;
    chartdoc::ChartDocument document(chart1, dialogs, messages);
    StartupChart::prepareStartupChart(chart1, chart2, startupFolder());
    document.controlsFollowChart();
    const slides::SlidePreparation preparation(
        chart1,
        [&document](const QString &path) -> os::Result {
            return chartdoc::DataFileLoader(document).open(path);
        },
        pictures);
    QStringList notes;
    const os::Result written = slides::SlideExport::exportPdf(script, output, preparation, notes);
    // The readers' own notices on the way, then the slides that were left out.
    for (const QString &text : std::as_const(dialogs.texts) + notes) {
        QString line = text;
        line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        std::fprintf(stderr, "qelpro: %s\n", line.toUtf8().constData());
    }
    if (!written.ok()) {
        error = written.message;
        return 1;
    }
    return 0;
}

int HeadlessExport::run(const QString &output, const QSize &size, const QString &input,
                        QString &error, const RegressionRequest *regression, bool answerYes,
                        const slides::PictureLoader &pictures)
{
    if (chartdoc::DataFileLoader::kindOf(input) == chartdoc::FileKind::SlideScript &&
        !input.isEmpty())
        return exportSlides(output, input, pictures, error);
    if (formatFor(output) == 0 && !isTableOutput(output) && !isJsonOutput(output)) {
        error =
            QStringLiteral("%1: 出力形式が分かりません (png, bmp, jpg, svg, pdf, chf, tbx, json)")
                .arg(output);
        return 2;
    }
    ChartControl chart1, chart2;
    chart1.setViewSize(size);
    HeadlessDialogs dialogs(answerYes);
    slides::MessageLog messages;
    chartdoc::ChartDocument document(chart1, dialogs, messages);

    if (input.isEmpty()) {
        // As the window shows it for "kycfx.chf": over the start-up defaults.
        StartupChart::applyDefaults(chart1, chart2);
        chartdoc::buildSampleChart(chart1, chart2);
    } else {
        StartupChart::prepareStartupChart(chart1, chart2, startupFolder());
        document.controlsFollowChart();
        const chartdoc::FileKind kind = chartdoc::DataFileLoader::kindOf(input);
        if (kind == chartdoc::FileKind::Picture || kind == chartdoc::FileKind::SlideScript) {
            error =
                QStringLiteral("%1: 読み込めない種類のファイルです (.tbx, .df?, .chf)").arg(input);
            return 2;
        }
        const chartdoc::LoadResult loaded = chartdoc::DataFileLoader(document).open(input);
        dialogs.texts.append(loaded.message); // a note of a load that went on, or why it failed
        if (!loaded.ok()) {
            error = dialogs.takeTexts();
            return 1;
        }
        dialogs.texts.removeAll(QString());
    }
    if (regression && regression->series > 0) {
        if (input.isEmpty()) {
            error = QStringLiteral("--regression needs an input file");
            return 2;
        }
        if (!runRegression(document, QFileInfo(input).absoluteFilePath(), *regression, error)) {
            // The job's message is often the last box it showed; it is said once.
            if (!dialogs.texts.isEmpty() &&
                QString(dialogs.texts.last())
                        .replace(QStringLiteral("\r\n"), QStringLiteral("\n")) ==
                    QString(error).replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
                dialogs.texts.removeLast();
            if (!dialogs.texts.isEmpty())
                error = dialogs.takeTexts() + QLatin1Char('\n') + error;
            return 1;
        }
    }
    // What the window would have shown on the way, though the load went on.
    for (const QString &text : std::as_const(dialogs.texts))
        std::fprintf(stderr, "qelpro: %s\n", text.toUtf8().constData());
    dialogs.texts.clear();

    if (isJsonOutput(output)) {
        const QByteArray json = chartdoc::ChartDump::toJson(document);
        const os::Result saved = os::FileAccess::saveFile(output, json);
        if (!saved) {
            error = QStringLiteral("%1: 記録できませんでした。\n").arg(output) + saved.message;
            return 1;
        }
        return 0;
    }
    if (isTableOutput(output)) {
        // As the conversion for the table editor does after opening a legacy file.
        chartdoc::TableImage &table = document.table();
        if (chartdoc::DataFileLoader::kindOf(input) == chartdoc::FileKind::Legacy) {
            table.fileVersion = 1;
            table.typeOpt = 0;
        }
        table.chartType = 1;
        chartdoc::TableFileWriter writer(document);
        if (!writer.write(output)) {
            error = dialogs.takeTexts();
            return 1;
        }
        return 0;
    }
    if (formatFor(output) == FormatChartFile) {
        const os::Result saved = chartdoc::ChartSaver::save(document, output);
        if (!saved.ok()) {
            error = output + QStringLiteral(": ") + saved.message;
            return 1;
        }
        return 0;
    }
    return exportChart(chart1, output, error);
}

} // namespace qel::shell
