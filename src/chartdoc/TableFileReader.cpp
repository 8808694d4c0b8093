#include "chartdoc/TableFileReader.h"

#include "chartdoc/BottomTitle.h"
#include "chartdoc/ChartDocument.h"
#include "chartdoc/ChartOptions.h"
#include "chartdoc/LegacyFileReader.h"
#include "chartdoc/NiceScale.h"
#include "chartdoc/TableImage.h"
#include "chartdoc/TableText.h"
#include "chartview/CfxOcx.h"
#include "chartview/ChartView.h"
#include "os/FileAccess.h"
#include "os/MessageWindow.h"
#include "os/TextCodec.h"
#include "os/TextLines.h"
#include "os/UserDialogs.h"
#include "settings/Form2State.h"

#include <QDateTime>

#include <cmath>
#include <limits>
#include <vector>

namespace qel::chartdoc {

using namespace chartview;
using settings::Form2State;

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString LoadingData = QStringLiteral("Loading data");

// Counts are whole 16-bit numbers: a single rounded to the nearest integer, halves to even.
std::optional<qint16> toInt16(float v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    const float r = std::nearbyint(v);
    if (r < -32768.0f || r > 32767.0f)
        return std::nullopt;
    return qint16(r);
}

// "Group=" and "Count=": no text is 0; a text that is no number, or too large, cannot be read.
std::optional<qint16> countValue(const QString &text)
{
    if (text.isEmpty())
        return qint16(0);
    bool isNumber = false;
    const float v = TableText::parseCell(text, &isNumber);
    if (!isNumber)
        return std::nullopt;
    return toInt16(v);
}

// "Type=": the integer part of the leading number.
std::optional<qint16> typeValue(const QString &text)
{
    const double v = std::trunc(leadingNumber(text));
    if (v < -32768 || v > 32767)
        return std::nullopt;
    return qint16(v);
}

bool isEndLine(QStringView line)
{
    // Spreadsheets save the end mark with the empty cells of its row, and may quote it.
    const QStringView mark = u"{End}";
    if (line.startsWith(u'"'))
        line = line.startsWith(u"\"{End}\"") ? line.mid(7) : QStringView(u"x");
    else if (line.startsWith(mark))
        line = line.mid(mark.size());
    else
        return false;
    for (QChar c : line) {
        if (c != u'\t' && c != u' ')
            return false;
    }
    return true;
}

QString stampNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    return now.toString(QStringLiteral("yyyy/MM/dd")) + QLatin1Char('\t') +
           now.toString(QStringLiteral("HH:mm:ss"));
}

QStringView cellAt(const std::vector<QStringView> &cells, std::size_t i)
{
    return i < cells.size() ? cells[i] : QStringView();
}

bool isHidden(const TableImage &t, int g, int p)
{
    return os::isMissingNumber(t.x(g, p)) || os::isMissingNumber(t.y(g, p));
}

} // namespace

TableFileReader::TableFileReader(ChartDocument &context)
    : m_context(context)
{}

QString TableFileReader::tooLargeText(qint64 cells)
{
    return QStringLiteral(
               "データが大きすぎるか、ファイルの中身と合いません（グループ数×ポイント数 = %1）。")
        .arg(cells);
}

QString TableFileReader::stop(const QString &result)
{
    m_context.messageWindow().hide();
    return result;
}

QString TableFileReader::loadTable(const QString &path, const QString &extension)
{
    const bool tableFile = extension.toLower() == QStringLiteral(".tbx");
    // Only a regular file is read: a FIFO would hang the program, a device never end.
    QByteArray bytes;
    const os::Result read = os::FileAccess::readRegularFile(path, bytes, MaxFileSize);
    if (!read) {
        if (read.code != os::FileAccess::NotFound)
            m_context.dialogs().inform(read.message);
        return QString();
    }
    return loadBytes(bytes, tableFile);
}

QString TableFileReader::loadBytes(QByteArray bytes, bool tableFile, bool *unreadable)
{
    if (!tableFile) {
        const os::DecodedText decoded = os::decodeText(bytes);
        bytes = QByteArray();
        if (unreadable)
            *unreadable = decoded.hasErrors;
        return loadText(decoded.text, false);
    }
    // A table is read a line at a time from its bytes: the decoded text of a large table
    // would take twice its size again.
    os::TextLines lines(std::move(bytes));
    if (unreadable)
        *unreadable = lines.hasErrors();
    m_context.messageWindow().frmMsgShow(LoadingData, QString());
    TableText text(lines);
    return readTable(text);
}

QString TableFileReader::loadText(const QString &text, bool tableFile)
{
    m_context.messageWindow().frmMsgShow(LoadingData, QString());
    if (tableFile) {
        TableText lines(text);
        return readTable(lines);
    }

    TableImage table;
    TableTitles titles;
    LegacyFileReader legacy(m_context);
    const std::optional<QString> stopped = legacy.read(text, table, titles);
    if (stopped)
        return stop(*stopped);
    return finishLoad(std::move(table), titles, std::nullopt, false);
}

QString TableFileReader::readTable(TableText &lines)
{
    TableImage table;
    TableTitles titles;
    std::optional<QString> fileLegend;
    QString typeText, groupText, countText;
    table.commonX = false;
    table.createStamp.clear();

    // Header lines up to "{Begin}".
    QStringView line;
    int count = 0;
    bool begun = false;
    while (lines.nextLine(line)) {
        if (++count > MaxHeaderLines)
            return stop();
        if (TableText::startsWithMark(line, u"{Begin}")) {
            begun = true;
            break;
        }
        const QStringView key = TableText::key(line);
        const QString value =
            TableText::trimBlanks(TableText::cellText(TableText::value(line))).toString();
        if (key == u"TopTit=")
            titles.topTitle = value;
        else if (key == u"Title=")
            titles.figureTitle = value;
        else if (key == u"Create=")
            table.createStamp = value;
        else if (key == u"FileLegend=")
            fileLegend = QString(value).replace(QStringLiteral("{vbcrlf}"), CrLf);
        else if (key == u"Version=")
            table.fileVersion = toInt16(TableText::parseCell(value, nullptr)).value_or(0);
        else if (key == u"Type=")
            typeText = value;
        else if (key == u"Group=")
            groupText = value;
        else if (key == u"Count=")
            countText = value;
        else if (key == u"Xlegend=")
            titles.xLegend = value;
        else if (key == u"Ylegend=")
            titles.yLegend = value;
        else if (key == u"Zlegend=")
            titles.zLegend = value;
    }
    if (!begun)
        return stop();

    if (table.createStamp.startsWith(QStringLiteral("mosaicMatrix"))) {
        titles.yLegend = CrLf + CrLf + CrLf + CrLf + titles.yLegend;
        typeText = QStringLiteral("100");
    } else if (table.createStamp.isEmpty()) {
        table.createStamp = stampNow();
    }

    const std::optional<qint16> type = typeValue(typeText);
    const std::optional<qint16> groups = countValue(groupText);
    const std::optional<qint16> points = countValue(countText);
    if (!type || !groups || !points)
        return stop();
    if (*groups <= 0 || *points <= 0) {
        m_context.messageWindow().hide();
        m_context.dialogs().inform(formatErrorText());
        return QString();
    }
    // Only as many points as the file has lines left, and only as many groups as its widest
    // line has cells, can hold anything; a short file cannot make a huge table.
    qsizetype widest = 1, fileCells = 0;
    const qsizetype linesLeft = lines.remainingLines(&widest, &fileCells);
    const qint16 sized = qint16(std::clamp<qsizetype>(linesLeft, 1, *points));
    const qint16 groupsSized = qint16(std::clamp<qsizetype>(widest, 1, *groups));
    if (!fitsItsFile(qint64(groupsSized) * sized, fileCells)) {
        m_context.messageWindow().hide();
        m_context.dialogs().inform(tooLargeText(qint64(*groups) * *points));
        return QString();
    }
    const qint16 fileVersion = table.fileVersion;
    const QString createStamp = table.createStamp;
    table.dimension(groupsSized, sized);
    table.chartType = *type;
    table.fileVersion = fileVersion;
    table.createStamp = createStamp;
    const int G = table.groupCount;

    // Reads on to the line that starts with mark; a file that ends first is no table.
    const auto skipTo = [&](QStringView mark) {
        while (lines.nextLine(line)) {
            if (TableText::startsWithMark(line, mark))
                return true;
        }
        m_context.messageWindow().hide();
        m_context.dialogs().inform(tbxLoadErrorText());
        return false;
    };

    // Group names.
    if (!skipTo(u"{Group}"))
        return resultNgData();
    // The names are taken once the data header has told the layout of the columns.
    const QString groupLine = line.toString();
    std::vector<QStringView> groupCells;
    TableText::splitCells(groupLine, groupCells);
    std::vector<QStringView> cells;

    if (!skipTo(u"{Data}"))
        return resultNgData();
    const qsizetype tab = line.indexOf(u'\t');
    QStringView layout = tab >= 0 ? TableText::trimBlanks(line.mid(tab + 1)) : QStringView();
    if (layout.startsWith(u'"'))
        layout = layout.mid(1);
    table.commonX = layout.left(7).toString().toUpper() == QStringLiteral("COMMONX");
    // The groups' X is the first group's: kept once, the largest tables take half the memory.
    if (table.commonX)
        table.shareX();

    for (int g = 1; g <= G; ++g) {
        if (table.commonX && g > 1) {
            table.groupLegend[g] = TableText::cellText(cellAt(groupCells, std::size_t(g) + 1));
        } else {
            const std::size_t first = table.commonX ? 1 : std::size_t(2 * g - 1);
            table.groupLegend[g] = TableText::cellText(cellAt(groupCells, first)) +
                                   TableText::cellText(cellAt(groupCells, first + 1));
        }
    }

    // Data rows.
    const bool mosaic = table.chartType == 100;
    qint64 pairs = 0;
    // An overstated "Group=" would give empty series with blank legend entries.
    int lastGroupWithData = 0;
    for (int p = 1; p <= table.pointCount; ++p) {
        // The end of the file ends the data as "{End}" does.
        if (!lines.nextLine(line) || isEndLine(line)) {
            table.pointCount = qint16(p - 1);
            break;
        }
        TableText::splitCells(line, cells);
        bool xIsNumber = false;
        for (int g = 1; g <= G; ++g) {
            QStringView xText, yText;
            float x = os::MissingNumber;
            bool yIsNumber = false;
            float y = os::MissingNumber;
            if (!table.commonX || g == 1) {
                const std::size_t first = table.commonX ? 1 : std::size_t(2 * g - 1);
                xText = cellAt(cells, first);
                yText = cellAt(cells, first + 1);
                x = TableText::parseCell(xText, &xIsNumber);
                y = TableText::parseCell(yText, &yIsNumber);
            } else {
                yText = cellAt(cells, std::size_t(g) + 1);
                y = TableText::parseCell(yText, &yIsNumber);
                x = table.x(1, p);
            }
            if (g == 1)
                table.pointLegend[p] = TableText::cellText(mosaic ? xText : cellAt(cells, 0));
            if (yIsNumber || ((!table.commonX || g == 1) && xIsNumber))
                lastGroupWithData = std::max(lastGroupWithData, g);
            if (!xIsNumber && !yIsNumber)
                x = 1.0f;
            table.setX(g, p, x);
            table.setY(g, p, y);
            if (++pairs % 100 == 0)
                m_context.messageWindow().frmMsgShow(LoadingData, QString::number(pairs));
        }
    }
    if (lastGroupWithData > 0 && lastGroupWithData < table.groupCount)
        table.groupCount = qint16(lastGroupWithData);
    lines.release(); // the file's bytes are not needed beside the chart's data
    return finishLoad(std::move(table), titles, fileLegend, true);
}

QString TableFileReader::finishLoad(TableImage &&table, const TableTitles &titles,
                                    const std::optional<QString> &fileLegend, bool tableFile)
{
    // Min and max of the points that have both values; a group ends at its first empty point.
    float xMin = 3e33f, xMax = -3e33f, yMin = 3e33f, yMax = -3e33f;
    const int G = std::min<int>(table.groupCount, int(table.groupLegend.size()) - 1);
    const int P = std::min<int>(table.pointCount, int(table.pointLegend.size()) - 1);
    for (int g = 1; g <= G; ++g) {
        for (int p = 1; p <= P; ++p) {
            const float x = table.x(g, p);
            const float y = table.y(g, p);
            const bool xMissing = os::isMissingNumber(x);
            const bool yMissing = os::isMissingNumber(y);
            if (xMissing && yMissing)
                break;
            if (xMissing || yMissing)
                continue;
            xMin = std::min(xMin, x);
            xMax = std::max(xMax, x);
            yMin = std::min(yMin, y);
            yMax = std::max(yMax, y);
        }
    }
    if (xMax == -3e33f && xMin == 3e33f)
        return stop(resultNgData());
    const float xRange = xMax - xMin;
    const float yRange = yMax - yMin;
    if (!std::isfinite(xRange) || !std::isfinite(yRange))
        return stop(resultNgData());
    if (xRange == 0 && yRange == 0)
        return stop(resultNgData());

    // From here on the load replaces what was shown.
    TableImage &image = m_context.table();
    image = std::move(table);
    ChartView &chart = m_context.chart();
    if (tableFile) {
        m_context.setHideXLegend(false);
        m_context.setHideYLegend(false);
        // The legend file beside the table, when there is one, replaces this (see the loader).
        m_context.setLegendText(fileLegend.value_or(QString()));
    }

    Form2State &form2 = m_context.form2();
    chart.setTitleCaption(2, titles.topTitle);
    form2.setText(Form2State::TxtTop, titles.topTitle);
    form2.setText(Form2State::TxtLeft, TableText::trimLeftBlanks(titles.yLegend).toString() + CrLf);
    form2.setText(Form2State::TxtBottom, composeBottomTitle(titles.xLegend, titles.figureTitle));
    const QString zLegend = image.chartType == 4 ? titles.zLegend : QString();
    form2.setText(Form2State::TxtRight, TableText::trimLeftBlanks(zLegend).toString() + CrLf);

    m_context.setHiddenChecked(false);
    m_context.setHiddenEnabled(false);
    m_context.setHiddenEnabled(setChartData());

    applyAxisScales(xMin, xMax, yMin, yMax, image.chartType == 100);
    chart.setSeriesAttrColor(-1, 0);
    applyChartType(image.chartType);

    return stop(resultOk());
}

bool TableFileReader::setChartData()
{
    const TableImage &t = m_context.table();
    // The counts never reach past the arrays, whoever set them.
    const int G = std::max(0, std::min<int>(t.groupCount, int(t.groupLegend.size()) - 1));
    const int P = std::max(0, std::min<int>(t.pointCount, int(t.pointLegend.size()) - 1));

    // A point is hidden in the chart when either of its values is missing.
    std::vector<int> shared; // points kept when hidden points are erased with the point sets held
    bool hasHidden = false;
    for (int p = 1; p <= P; ++p) {
        bool anyData = false;
        for (int g = 1; g <= G; ++g) {
            if (isHidden(t, g, p))
                hasHidden = true;
            else
                anyData = true;
        }
        if (anyData)
            shared.push_back(p);
    }

    bool erase = false;
    bool holdPoints = true;
    if (m_context.hiddenChecked()) {
        os::MessageRequest question;
        question.text =
            QStringLiteral("ポイント内のデータを保持します。\r\nHold data set within points.");
        question.title = QStringLiteral("Erase hidden");
        question.buttons = os::MessageButtons::YesNoCancel;
        question.defaultAnswer = os::MessageAnswer::Yes;
        const os::MessageAnswer answer = m_context.dialogs().message(question);
        if (answer == os::MessageAnswer::Cancel) {
            m_context.setHiddenChecked(false);
            return hasHidden;
        }
        erase = true;
        holdPoints = answer == os::MessageAnswer::Yes;
    }

    // The points each series shows, in order.
    std::vector<std::vector<int>> kept(std::size_t(G) + 1);
    int points = P;
    if (erase) {
        points = holdPoints ? int(shared.size()) : 0;
        for (int g = 1; g <= G; ++g) {
            std::vector<int> &k = kept[std::size_t(g)];
            if (holdPoints) {
                k = shared;
                continue;
            }
            for (int p = 1; p <= P; ++p) {
                if (!isHidden(t, g, p))
                    k.push_back(p);
            }
            points = std::max(points, int(k.size()));
        }
    }
    auto source = [&](int g, int i) -> int {
        if (!erase)
            return i + 1;
        const std::vector<int> &k = kept[std::size_t(g)];
        return i < int(k.size()) ? k[std::size_t(i)] : 0;
    };

    ChartView &chart = m_context.chart();
    os::MessageWindow &progress = m_context.messageWindow();
    progress.frmMsgShow(QStringLiteral("Setting data"), QString());
    chart.BeginDataLoad(ChannelValues, G, points);
    chart.BeginDataLoad(ChannelXValues, G, points);
    // Every caption is written, empty ones too, so nothing of the previous chart stays.
    for (int i = 0; i < points; ++i) {
        const int p = !erase ? i + 1 : (i < int(shared.size()) ? shared[std::size_t(i)] : 0);
        chart.setPointCaption(i, p > 0 ? t.pointLegend[p] : QString());
    }
    for (int g = 1; g <= G; ++g)
        chart.setSeriesCaption(qint16(g - 1), t.groupLegend[g]);
    qint64 done = 0;
    for (int g = 1; g <= G; ++g) {
        chart.setActiveSeries(qint16(g - 1));
        for (int i = 0; i < points; ++i) {
            const int p = source(g, i);
            if (p > 0 && !isHidden(t, g, p)) {
                chart.setValueX(i, t.x(g, p));
                chart.setValueY(i, t.y(g, p));
            } else {
                chart.setValueX(i, EmptyPointValue);
                chart.setValueY(i, EmptyPointValue);
            }
            if (++done % 100 == 0)
                progress.frmMsgShow(QStringLiteral("Setting data"), QString::number(done));
        }
    }
    chart.EndDataLoad(ChannelValues);
    chart.EndDataLoad(ChannelXValues);
    m_context.depthText_DblClick();
    return hasHidden;
}

void TableFileReader::applyAxisScales(float xMin, float xMax, float yMin, float yMax, bool mosaic)
{
    ChartView &chart = m_context.chart();
    float xStep = 1;
    int xDecimals = 0;
    if (!niceScale(xMin, xMax, xStep, xDecimals))
        m_context.dialogs().inform(QStringLiteral("error normalize."));
    chart.setAxisValue(AxisXMin, xMin);
    chart.setAxisValue(AxisXMax, xMax);
    chart.setAxisValue(AxisXStep, mosaic ? 1.0 : double(xStep));
    chart.setAxisValue(14, 1.0);
    chart.setAxisValue(3, xDecimals);

    float yStep = 1;
    int yDecimals = 0;
    if (!niceScale(yMin, yMax, yStep, yDecimals))
        m_context.dialogs().inform(QStringLiteral("error normalize."));
    chart.setAxisValue(AxisYMin, yMin);
    chart.setAxisValue(AxisYMax, yMax);
    chart.setAxisValue(AxisYStep, mosaic ? yStep / 2.0 : double(yStep));
    chart.setAxisValue(3, 1.0);
    chart.setAxisDecimals(DecimalsY, qint16(yDecimals));
    if (chart.Member37() <= 0)
        chart.setMember37(2);
}

void TableFileReader::applyChartType(int chartType)
{
    ChartView &chart = m_context.chart();
    constexpr quint32 Styled = 0x4500u | 0x20000u;
    switch (chartType) {
    case 1:
        chart.setChartType(GalleryScatter);
        chart.setHasXValues(false);
        chart.setLineColor(2, rgb(0, 0, 0));
        chart.setLineWidth(2, 1);
        break;
    case 2:
        chart.setChartType(GalleryBars);
        break;
    case 3:
        chart.setChartType(GalleryPie);
        break;
    case 4:
        chart.setChartType(GalleryBars | Styled);
        break;
    case 10:
        chart.setChartType(GallerySurface | Styled);
        break;
    case 100:
        chart.setChartType(GallerySurface | Styled);
        chart.setPointGap(1);
        chart.setView3D(true);
        chart.setViewAngles(MakeLong(90, 0));
        chart.setPointGap(1);
        m_context.updateGapScroll();
        chart.setDepth3D(90);
        m_context.updateDepthScroll();
        chart.setWallWidth(1);
        chart.setMember39(false);
        m_context.setRibbon3(true);
        m_context.setHideXLegend(false);
        m_context.setHideYLegend(true);
        break;
    case 160:
        chart.setChartType(GalleryScatter);
        chart.setHasXValues(false);
        chart.setSeriesAttrColor(0, 0x800008);
        chart.setLineColor(2, rgb(255, 0, 0));
        chart.setLineWidth(2, 3);
        break;
    default:
        chart.setChartType(GalleryLines | Styled);
        break;
    }
}

} // namespace qel::chartdoc
