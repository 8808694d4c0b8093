#include "chartdoc/DataFileLoader.h"

#include "chartdoc/ChartDocument.h"
#include "chartdoc/ChartOptions.h"
#include "chartdoc/TableFileReader.h"
#include "chartview/ChartView.h"
#include "os/FileAccess.h"
#include "os/PathParts.h"
#include "os/TextCodec.h"
#include "os/UserDialogs.h"
#include "settings/LegendFile.h"

#include <QImageReader>

#include <cmath>

namespace qel::chartdoc {

using namespace chartview;

namespace {

const QString CrLf = QStringLiteral("\r\n");

qint16 regressionNumber(const std::optional<double> &value)
{
    if (!value || !std::isfinite(*value) || std::abs(*value) >= 32768)
        return 0;
    return qint16(*value);
}

// The table image follows a chart read from a chart file, so its counts match its arrays.
void mirrorChart(const ChartModel &m, TableImage &table)
{
    const qint16 groups = qint16(std::clamp(m.seriesCount, 0, 32767));
    const qint16 points = qint16(std::clamp(m.pointCount, 0, 32767));
    table.dimension(groups, points);
    for (int g = 1; g <= groups; ++g) {
        table.groupLegend[g] = m.seriesCaptions.value(g - 1);
        for (int p = 1; p <= points; ++p) {
            const double y = m.value(g - 1, p - 1);
            if (isEmptyPoint(y) || !std::isfinite(y))
                continue;
            table.setX(g, p, float(m.xValue(g - 1, p - 1)));
            table.setY(g, p, float(y));
        }
    }
    for (int p = 1; p <= points; ++p)
        table.pointLegend[p] = m.pointCaptions.value(p - 1);
}

} // namespace

DataFileLoader::DataFileLoader(ChartDocument &document)
    : m_document(document)
{}

bool DataFileLoader::isPicture(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || path.indexOf(QLatin1Char('/'), dot) >= 0)
        return false;
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    return formats.contains(path.mid(dot + 1).toLower().toLatin1());
}

FileKind DataFileLoader::kindOf(const QString &path)
{
    const QString extension = os::PathParts::of(path).lowerExtension();
    if (extension == QStringLiteral(".chf"))
        return FileKind::Chart;
    if (extension == QStringLiteral(".jpg") || isPicture(path))
        return FileKind::Picture;
    if (extension == QStringLiteral(".sld"))
        return FileKind::SlideScript;
    if (extension == QStringLiteral(".tbx"))
        return FileKind::Table;
    return FileKind::Legacy;
}

QString DataFileLoader::messageFor(const QString &result)
{
    if (result == TableFileReader::resultNgData())
        return QStringLiteral("Abnormal/No data.");
    if (result == TableFileReader::resultOldFile())
        return QStringLiteral("Not or old Qel file.");
    return QStringLiteral("Loading file error.");
}

QString DataFileLoader::importFailedText(qint32 error, const QString &path)
{
    return QStringLiteral("chrs") + QString::number(error) +
           QStringLiteral("読み込みできませんでした。dir: ") + path;
}

LoadResult DataFileLoader::open(const QString &path)
{
    LoadResult result;
    result.kind = kindOf(path);
    result.extension = os::PathParts::of(path).lowerExtension();
    switch (result.kind) {
    case FileKind::Picture:
    case FileKind::SlideScript:
        return result;
    case FileKind::Chart: {
        const os::Result loaded = loadChartFile(path);
        result.code = loaded.code;
        result.message = loaded.message;
        break;
    }
    case FileKind::Table:
    case FileKind::Legacy:
        result = openTable(path, result);
        break;
    }
    if (result.ok()) {
        m_document.setCurrentFile(path);
        m_document.controlsFollowChart();
        m_document.resetHistory();
        emit m_document.chartReplaced();
    }
    return result;
}

LoadResult DataFileLoader::openTable(const QString &path, LoadResult result)
{
    // Only a regular file is read: a FIFO would hang the program, a device never end.
    QByteArray bytes;
    const os::Result read = os::FileAccess::readRegularFile(path, bytes, MaxTableFileSize);
    if (!read) {
        result.code = read.code;
        result.message = messageFor(QString()) + CrLf + read.message;
        return result;
    }
    const os::DecodedText decoded = os::decodeText(bytes);
    bytes.clear();
    const QString text = loadTableText(decoded.text, result.extension);
    if (text != TableFileReader::resultOk()) {
        result.code = 1;
        result.message = messageFor(text) + CrLf + path;
        return result;
    }
    if (result.kind == FileKind::Table)
        readLegend(path, false);
    // The file name fills an empty top title band; a title of the file's own stays.
    ChartView &chart = m_document.chart();
    if (chart.TitleCaption(2).trimmed().isEmpty())
        chart.setTitleCaption(2, QStringLiteral("    ") + os::PathParts::of(path).fileName);
    if (decoded.hasErrors)
        result.message = os::unreadableCharactersNote(path);
    return result;
}

QString DataFileLoader::loadTableFile(const QString &path, const QString &extension)
{
    if (path.isEmpty()) {
        const QString one = QStringLiteral("1");
        m_document.form2().setDataFields(one, one, one, one);
        return QString();
    }
    QByteArray bytes;
    if (!os::FileAccess::readRegularFile(path, bytes, MaxTableFileSize))
        return QString();
    return loadTableText(os::decodeText(bytes).text, extension);
}

namespace {

// The chart as it looked before, holding the data of the chart just read.
ChartModel withDataOf(const ChartModel &look, const ChartModel &data)
{
    ChartModel merged = look;
    merged.seriesCount = data.seriesCount;
    merged.pointCount = data.pointCount;
    merged.values = data.values;
    merged.xValues = data.xValues;
    merged.pointCaptions = data.pointCaptions;
    merged.seriesCaptions = data.seriesCaptions;
    merged.titles = data.titles;
    merged.hasXValues = data.hasXValues;
    merged.axisValues = data.axisValues;
    merged.axisDecimals = data.axisDecimals;
    // Series the table added take the styles the reader gave them.
    using Styles = std::vector<qint16> ChartModel::*;
    for (Styles styles : {&ChartModel::markerStyles, &ChartModel::secondYAxis}) {
        std::vector<qint16> &kept = merged.*styles;
        const std::vector<qint16> &read = data.*styles;
        for (std::size_t s = kept.size(); s < read.size(); ++s)
            kept.push_back(read[s]);
    }
    return merged;
}

} // namespace

os::Result DataFileLoader::reloadTable(const QString &path)
{
    QByteArray bytes;
    const os::Result read = os::FileAccess::readRegularFile(path, bytes, MaxTableFileSize);
    if (!read.ok())
        return read;
    ChartView &chart = m_document.chart();
    const ChartModel before = chart.model();
    const TableImage tableBefore = m_document.table();
    const QString result = loadTableText(os::decodeText(bytes).text, QStringLiteral(".tbx"));
    if (result != TableFileReader::resultOk()) {
        chart.setModel(before);
        m_document.table() = tableBefore;
        const QString why =
            result.isEmpty() ? QStringLiteral("表として読めません。") : messageFor(result);
        return os::Result::failure(path + QStringLiteral(": ") + why);
    }
    chart.setModel(withDataOf(before, chart.model()));
    return os::Result::success();
}

QString DataFileLoader::loadTableText(const QString &text, const QString &extension)
{
    settings::Form2State &form2 = m_document.form2();
    ChartView &chart = m_document.chart();
    const bool tableFile = extension.toLower() == QStringLiteral(".tbx");
    const QString result = TableFileReader(m_document).loadText(text, tableFile);
    if (result != TableFileReader::resultOk())
        return result; // a failed load leaves the chart as it was, titles and markers included
    form2.applyTitleBoxes(chart);
    const QString one = QStringLiteral("1");
    form2.setDataFields(one, QString::number(chart.SeriesTotal()), one,
                        QString::number(chart.PointTotal()));
    static constexpr qint16 Markers[3] = {2, 1, 3};
    for (int s = 0; s < chart.SeriesTotal(); ++s)
        chart.setMarkerStyle(qint16(s), Markers[s % 3]);
    return result;
}

os::Result DataFileLoader::loadChartFile(const QString &path)
{
    ChartView &chart = m_document.chart();
    const qint32 error = chart.ImportFile(FormatChartFile, path);
    if (error != 0) {
        QString text = importFailedText(error, path);
        if (!chart.ImportError().isEmpty())
            text += CrLf + chart.ImportError();
        chart.clearError(); // reported by the caller, not again by the error trap
        return os::Result::failure(text, error);
    }
    bool commonX = false;
    const std::optional<double> regression = chartOptions(chart, OptionsMode::Read, 0, commonX);
    m_document.setRegressionOption(regressionNumber(regression));
    const QString one = QStringLiteral("1");
    m_document.form2().setDataFields(one, QString::number(chart.SeriesTotal()), one,
                                     QString::number(chart.PointTotal()));
    m_document.form2().loadTitleBoxes(chart);
    TableImage &table = m_document.table();
    mirrorChart(chart.model(), table);
    table.commonX = commonX;
    readLegend(path, true);
    return os::Result::success();
}

void DataFileLoader::readLegend(const QString &path, bool clearWithoutFile)
{
    QString legend;
    // A table without a legend file keeps the legend it carries itself.
    if (!settings::LegendFile::save1Load2AppendLegendFile(2, path, legend) && !clearWithoutFile)
        return;
    // The file adds one line break after the text; the box shows the text as it was typed.
    if (legend.endsWith(CrLf))
        legend.chop(CrLf.size());
    m_document.setLegendText(legend);
}

} // namespace qel::chartdoc
