#include "shell/HeadlessExport.h"

#include "chartdoc/ChartDump.h"
#include "chartdoc/ChartOptions.h"
#include "chartdoc/DataFileLoader.h"
#include "chartdoc/SampleChart.h"
#include "chartdoc/TableFileReader.h"
#include "chartdoc/TableFileWriter.h"
#include "chartdoc/TableImage.h"
#include "chartdoc/TableLoadContext.h"
#include "chartview/ChartControl.h"
#include "os/PathParts.h"
#include "os/UserDialogs.h"
#include "settings/Form2State.h"
#include "shell/CommandLine.h"
#include "stats/RegressionFields.h"
#include "stats/RegressionJob.h"
#include "stats/RegressionOptions.h"
#include "slides/MessageLog.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace qel::shell {

using namespace chartview;

namespace {

// The message boxes of a run without a window: every text is kept, questions take their
// default answer.
class HeadlessDialogs : public os::UserDialogs
{
public:
    os::MessageAnswer message(const os::MessageRequest &request) override
    {
        QString text = request.text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        texts.append(text);
        return request.defaultAnswer;
    }
    QStringList chooseFiles(const os::FileDialogRequest &) override { return {}; }
    void beep() override {}

    QStringList texts;
};

bool isTableOutput(const QString &path)
{
    return QFileInfo(path).suffix().toLower() == QStringLiteral("tbx");
}

bool isJsonOutput(const QString &path)
{
    return QFileInfo(path).suffix().toLower() == QStringLiteral("json");
}

// The chart as the program sets it up before the first file is shown.
void startupLook(ChartView &chart)
{
    chart.setLayoutBits(272);
    chart.setPrintBits(16);
    chart.setBackColorC(rgb(255, 255, 255));
    chart.setBackColorB(rgb(255, 255, 255));
    chart.setBackColorA(rgb(0, 192, 192));
    chart.setIndexedColor(IndexedWalls, rgb(180, 180, 180));
    chart.setIndexedColor(IndexedAxisLines, rgb(180, 180, 180));
    chart.setPointGap(0);
    chart.setDepth3D(50);
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
        return 1;
    }
    return 0;
}

namespace {

// Runs the job as the options window would have set it up, on the whole chart.
bool runRegression(ChartView &chart, os::UserDialogs &dialogs, const RegressionRequest &r,
                   QString &error)
{
    if (r.series > chart.SeriesTotal()) {
        error = QStringLiteral("--regression %1: the chart has %2 series")
                    .arg(r.series)
                    .arg(chart.SeriesTotal());
        return false;
    }
    stats::RegressionOptions options;
    options.selectMethod(r.parabolic   ? stats::RegressionOptions::Parabolic
                         : r.fixedX.isEmpty() ? stats::RegressionOptions::Linear
                                              : stats::RegressionOptions::FixedPoint);
    options.setTxtX(r.fixedX);
    options.setTxtY(r.fixedY);
    options.setWhole(r.whole);
    options.setSeChecked(r.se);
    options.setDataName(QString::number(r.series) + QStringLiteral(": ")
                        + chart.SeriesCaption(qint16(r.series - 1)));
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
    stats::RegressionJob job(chart, dialogs, options, fields, colorGroups);
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

int HeadlessExport::run(const QString &output, const QSize &size, const QString &input,
                        QString &error, const RegressionRequest *regression)
{
    if (formatFor(output) == 0 && !isTableOutput(output) && !isJsonOutput(output)) {
        error =
            QStringLiteral("%1: 出力形式が分かりません (png, bmp, jpg, svg, pdf, chf, tbx, json)")
                .arg(output);
        return 2;
    }
    ChartControl chart1, chart2;
    chart1.setViewSize(size);
    startupLook(chart1);
    chartdoc::TableImage table;
    HeadlessDialogs dialogs;
    slides::MessageLog messages;
    settings::Form2State form2;
    chartdoc::TableLoadContext context(chart1, table, dialogs, messages, form2);
    chartdoc::DataFileLoader loader(context);
    bool haveTable = false;
    bool commonX = false;
    bool legacy = false;

    if (input.isEmpty()) {
        chartdoc::buildSampleChart(chart1, chart2);
    } else {
        const QString extension = os::PathParts::of(input).lowerExtension();
        const QFileInfo info(input);
        if (!info.exists() || info.isDir()) {
            error = input + QStringLiteral(" が読めません。");
            return 1;
        }
        if (extension == QStringLiteral(".chf")) {
            if (!loader.loadChartFile(input)) {
                error = dialogs.texts.join(QLatin1Char('\n'));
                return 1;
            }
            commonX = table.commonX;
        } else if (extension == QStringLiteral(".tbx") ||
                   extension.startsWith(QStringLiteral(".df"))) {
            const QString result = loader.loadTableFile(input, extension);
            if (result != chartdoc::TableFileReader::resultOk()) {
                error = dialogs.texts.join(QLatin1Char('\n'));
                return 1;
            }
            haveTable = true;
            commonX = table.commonX;
            legacy = extension != QStringLiteral(".tbx");
        } else {
            error =
                QStringLiteral("%1: 読み込めない種類のファイルです (.tbx, .df?, .chf)").arg(input);
            return 2;
        }
    }
    if (regression && regression->series > 0) {
        if (input.isEmpty()) {
            error = QStringLiteral("--regression needs an input file");
            return 2;
        }
        if (!runRegression(chart1, dialogs, *regression, error)) {
            if (!dialogs.texts.isEmpty())
                error = dialogs.texts.join(QLatin1Char('\n')) + QLatin1Char('\n') + error;
            return 1;
        }
    }
    // What the window would have shown on the way, though the load went on.
    for (const QString &text : std::as_const(dialogs.texts))
        std::fprintf(stderr, "qelpro: %s\n", text.toUtf8().constData());
    dialogs.texts.clear();

    if (isJsonOutput(output)) {
        chartdoc::ChartDump::Options options;
        options.regression = loader.regressionOption();
        options.commonX = commonX;
        options.legend = context.legendText();
        options.table = haveTable ? &table : nullptr;
        const QByteArray json = chartdoc::ChartDump::toJson(chart1, options);
        QSaveFile file(output);
        if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit()) {
            error = QStringLiteral("%1: 記録できませんでした。").arg(output);
            return 1;
        }
        return 0;
    }
    if (isTableOutput(output)) {
        // As the conversion for the table editor does after opening a legacy file.
        if (legacy) {
            table.fileVersion = 1;
            table.typeOpt = 0;
        }
        table.chartType = 1;
        chartdoc::TableFileWriter writer(context);
        if (!writer.write(output)) {
            error = dialogs.texts.join(QLatin1Char('\n'));
            return 1;
        }
        return 0;
    }
    // A chart file carries the options in its right title, as the save command writes them.
    if (formatFor(output) == FormatChartFile)
        chartdoc::chartOptions(chart1, chartdoc::OptionsMode::Write, loader.regressionOption(),
                               commonX);
    return exportChart(chart1, output, error);
}

} // namespace qel::shell
