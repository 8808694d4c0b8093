#include "chartview/render/ChartControl.h"

#include "chartview/render/ChartFile.h"
#include "chartview/render/ChartPainter.h"
#include "chartview/render/PngWriter.h"
#include "os/FileAccess.h"
#include "os/LargeMemory.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cmath>
#include <cstdlib>

namespace qel::chartview {

namespace {

// Error numbers of ExportFile.
enum ExportError : qint32 { ExportUnknownFormat = 1, ExportWriteFailed = 5, ExportEmptyChart = 6 };

qint16 clamp16(double v)
{
    return qint16(std::clamp(std::lround(v), -32768L, 32767L));
}

} // namespace

ChartControl::ChartControl(QObject *parent)
    : QObject(parent)
{}

ChartControl::~ChartControl()
{
    if (m_overlayPainter)
        m_overlayPainter->end();
}

bool ChartControl::fail() const
{
    m_errorPending = true;
    return false;
}

bool ChartControl::inRange(qint64 value, qint64 low, qint64 high) const
{
    return (value >= low && value <= high) || fail();
}

bool ChartControl::validSeries(int series) const
{
    return (series >= 0 && series < m_model.seriesCount) || fail();
}

bool ChartControl::validPoint(qint32 point) const
{
    return (point >= 0 && point < m_model.pointCount) || fail();
}

void ChartControl::touch()
{
    m_layoutValid = false;
    m_scalesValid = false;
    m_overlayDone = false;
    // Said once until the chart is painted again: a table of millions of values is set one
    // value at a time, and each signal would ask the window to repaint once more.
    if (!m_changeSignalled) {
        m_changeSignalled = true;
        emit changed();
    }
}

void ChartControl::resizeGrid(qint64 series, qint64 points)
{
    if (series < 0 || points < 0 || series > 32767 || points > 2147483647 ||
        series * points > MaxCells) {
        fail();
        return;
    }
    m_model.resizeGrid(int(series), int(points));
    m_activeSeries = std::min(m_activeSeries, std::max(m_model.seriesCount - 1, 0));
    touch();
}

void ChartControl::setViewSize(const QSize &size)
{
    if (size.isValid() && size != m_viewSize) {
        m_viewSize = size;
        m_layoutValid = false;
        m_scalesValid = false;
    }
}

void ChartControl::setPaintedLayout(ChartLayout layout)
{
    m_layout = std::move(layout);
    m_layoutValid = true;
    m_changeSignalled = false;
}

const ChartLayout &ChartControl::currentLayout()
{
    if (!m_layoutValid) {
        m_layout = ChartPainter(m_model, m_background).layout(QSizeF(m_viewSize));
        m_layoutValid = true;
    }
    return m_layout;
}

const ChartLayout &ChartControl::currentScales()
{
    if (m_layoutValid)
        return m_layout;
    if (!m_scalesValid) {
        m_scales = ChartPainter(m_model, m_background).layout(QSizeF(m_viewSize), false);
        m_scalesValid = true;
    }
    return m_scales;
}

ChartLayout ChartControl::paint(QPainter *painter, const QRectF &target, qreal resolution) const
{
    return ChartPainter(m_model, m_background).paint(painter, target, resolution);
}

const ChartLayout &ChartControl::paintOnScreen(QPainter *painter, const QRectF &target)
{
    std::vector<PointAnchor> spare = std::move(m_layout.anchors);
    m_layoutValid = false;
    setPaintedLayout(
        ChartPainter(m_model, m_background).paint(painter, target, 96, true, std::move(spare)));
    return m_layout;
}

void ChartControl::draw(QPainter *painter, const QRectF &target, qreal resolution) const
{
    ChartPainter(m_model, m_background).paint(painter, target, resolution, false);
}

namespace {

// An image whose memory comes in huge pages where the system offers them: a picture of a few
// megabytes is then faulted in a handful of times instead of a thousand.
QImage hugePageImage(const QSize &size, QImage::Format format)
{
    constexpr std::size_t HugePage = os::LargeMemory::HugePage;
    const qsizetype bytesPerLine = qsizetype(size.width()) * 4;
    const std::size_t bytes = std::size_t(bytesPerLine) * std::size_t(std::max(size.height(), 0));
    if (size.isEmpty() || QImage::toPixelFormat(format).bitsPerPixel() != 32 || bytes < HugePage)
        return QImage(size, format);
    const std::size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
    void *memory = std::aligned_alloc(HugePage, rounded);
    if (!memory)
        return QImage(size, format);
    os::LargeMemory::preferHugePages(memory, rounded);
    return QImage(
        static_cast<uchar *>(memory), size.width(), size.height(), bytesPerLine, format,
        [](void *p) { std::free(p); }, memory);
}

} // namespace

QImage ChartControl::renderImage(const QSize &size, QImage::Format format) const
{
    QImage image = hugePageImage(size, format);
    image.setDotsPerMeterX(3780); // 96 dots per inch
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QPainter painter(&image);
    draw(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

// ---- data ------------------------------------------------------------------------------------

qint16 ChartControl::SeriesTotal() const
{
    return qint16(m_model.seriesCount);
}

void ChartControl::setSeriesTotal(qint16 count)
{
    resizeGrid(count, m_model.pointCount);
}

qint32 ChartControl::PointTotal() const
{
    return m_model.pointCount;
}

void ChartControl::setPointTotal(qint32 count)
{
    resizeGrid(m_model.seriesCount, count);
}

void ChartControl::setActiveSeries(qint16 series)
{
    if (validSeries(series))
        m_activeSeries = series;
}

double ChartControl::ValueY(qint32 point) const
{
    if (!validSeries(m_activeSeries) || !validPoint(point))
        return 0;
    return m_model.value(m_activeSeries, point);
}

void ChartControl::setValueY(qint32 point, double value)
{
    if (!validSeries(m_activeSeries) || !validPoint(point))
        return;
    // Values are singles; anything beyond the single range is a hidden point.
    m_model.values[m_model.cell(m_activeSeries, point)] =
        std::isfinite(value) && std::abs(value) < EmptyPointValue ? float(value)
                                                                  : float(EmptyPointValue);
    touch();
}

double ChartControl::ValueX(qint32 point) const
{
    if (!validSeries(m_activeSeries) || !validPoint(point))
        return 0;
    return m_model.xValue(m_activeSeries, point);
}

void ChartControl::setValueX(qint32 point, double value)
{
    if (!validSeries(m_activeSeries) || !validPoint(point))
        return;
    m_model.xValues[m_model.cell(m_activeSeries, point)] =
        std::isfinite(value) ? float(value) : 0.0f;
    touch();
}

QString ChartControl::PointCaption(qint32 point) const
{
    return validPoint(point) ? m_model.pointCaptions.value(point) : QString();
}

void ChartControl::setPointCaption(qint32 point, const QString &text)
{
    if (validPoint(point)) {
        m_model.pointCaptions[point] = text;
        touch();
    }
}

QString ChartControl::SeriesCaption(qint16 series) const
{
    return validSeries(series) ? m_model.seriesCaptions.value(series) : QString();
}

void ChartControl::setSeriesCaption(qint16 series, const QString &text)
{
    if (validSeries(series)) {
        m_model.seriesCaptions[series] = text;
        touch();
    }
}

QString ChartControl::TitleCaption(qint16 position) const
{
    if (!inRange(position, 0, 3))
        return {};
    return m_model.titles[std::size_t(position)];
}

void ChartControl::setTitleCaption(qint16 position, const QString &text)
{
    if (!inRange(position, 0, 3))
        return;
    m_model.titles[std::size_t(position)] = text;
    touch();
}

void ChartControl::BeginDataLoad(qint16 kind, qint32 a, qint32 b)
{
    switch (kind) {
    case ChannelValues:
    case ChannelXValues:
        resizeGrid(a, b);
        break;
    case ChannelColors:
        if (a > 0 && a <= 4096)
            m_model.seriesColors.resize(std::max<std::size_t>(std::size_t(a), 255), 0);
        break;
    case ChannelConstants:
        m_model.constants.resize(a < 0 ? 0 : std::size_t(std::min(a, 64)));
        touch();
        break;
    case ChannelBands:
        m_model.bands.resize(a < 0 ? 0 : std::size_t(std::min(a, 64)));
        touch();
        break;
    default:
        fail();
    }
}

void ChartControl::EndDataLoad(qint16 kind)
{
    if (kind != ChannelValues && kind != ChannelXValues && kind != ChannelColors &&
        kind != ChannelConstants && kind != ChannelBands) {
        fail();
        return;
    }
    touch();
}

// ---- appearance -----------------------------------------------------------------------------

void ChartControl::setSeriesColor(qint16 series, Rgb color)
{
    if (!inRange(series, 0, qint64(m_model.seriesColors.size()) - 1))
        return;
    m_model.seriesColors[std::size_t(series)] = color;
    touch();
}

void ChartControl::setSeriesAttrColor(qint16 series, Rgb color)
{
    if (series == -1) {
        std::fill(m_model.seriesAttrColors.begin(), m_model.seriesAttrColors.end(), color);
    } else if (validSeries(series)) {
        m_model.seriesAttrColors[std::size_t(series)] = color;
    }
    touch();
}

double ChartControl::AxisValue(qint16 index) const
{
    const auto it = m_model.axisValues.find(index);
    if (it != m_model.axisValues.end())
        return it->second;
    // An axis value nobody set is the automatic one the chart shows.
    const ChartLayout &l = const_cast<ChartControl *>(this)->currentScales();
    switch (index) {
    case AxisYMin:
        return l.yScale.min;
    case AxisYMax:
        return l.yScale.max;
    case AxisYStep:
        return l.yScale.step;
    case AxisXMin:
        return l.xScale.min;
    case AxisXMax:
        return l.xScale.max;
    case AxisXStep:
        return l.xScale.step;
    case AxisY2Min:
        return l.y2Scale.min;
    case AxisY2Max:
        return l.y2Scale.max;
    case AxisY2Step:
        return l.y2Scale.step;
    default:
        return 0;
    }
}

void ChartControl::setAxisValue(qint16 index, double value)
{
    if (!std::isfinite(value)) {
        fail();
        return;
    }
    m_model.axisValues[index] = value;
    touch();
}

void ChartControl::setQueryAxis(qint16 axis)
{
    m_model.queryAxis = axis;
}

qint16 ChartControl::LineWidth(qint16 index) const
{
    if (!inRange(index, 0, 2))
        return 0;
    return m_model.lineWidths[std::size_t(index)];
}

void ChartControl::setLineWidth(qint16 index, qint16 width)
{
    if (!inRange(index, 0, 2) || !inRange(width, 0, 100))
        return;
    m_model.lineWidths[std::size_t(index)] = width;
    touch();
}

void ChartControl::setLineColor(qint16 index, Rgb color)
{
    if (!inRange(index, 0, 2))
        return;
    m_model.lineColors[std::size_t(index)] = color;
    touch();
}

void ChartControl::setAxisDecimals(qint16 axis, qint16 decimals)
{
    m_model.axisDecimals[axis] = std::clamp<int>(decimals, 0, 9);
    touch();
}

void ChartControl::setWallWidth(qint16 width)
{
    m_model.wallWidth = std::clamp<qint16>(width, 0, 50);
    touch();
}

qint16 ChartControl::Spacing(int member) const
{
    if (!inRange(member, 5, 8))
        return 0;
    return m_model.spacing[std::size_t(member - 5)];
}

void ChartControl::setSpacing(int member, qint16 value)
{
    if (!inRange(member, 5, 8))
        return;
    m_model.spacing[std::size_t(member - 5)] = std::clamp<qint16>(value, 0, 400);
    touch();
}

void ChartControl::setView3D(bool on)
{
    m_model.view3D = on;
    touch();
}

void ChartControl::setViewAngles(qint32 angles)
{
    m_model.viewAngles = angles;
    touch();
}

void ChartControl::setPointGap(qint16 gap)
{
    m_model.pointGap = std::clamp<qint16>(gap, 0, 100);
    touch();
}

void ChartControl::setDepth3D(qint16 depth)
{
    m_model.depth3D = std::clamp<qint16>(depth, 0, 999);
    touch();
}

void ChartControl::setBackColorA(Rgb color)
{
    m_model.backColorA = color;
    touch();
}

void ChartControl::setBackColorB(Rgb color)
{
    m_model.backColorB = color;
    touch();
}

void ChartControl::setBackColorC(Rgb color)
{
    m_model.backColorC = color;
    touch();
}

void ChartControl::setIndexedColor(qint32 code, Rgb color)
{
    m_model.indexedColors[code] = color;
    touch();
}

void ChartControl::setCursorMode(qint16 mode)
{
    m_model.cursorMode = mode;
}

void ChartControl::setChartType(quint32 type)
{
    m_model.chartType = type;
    touch();
}

void ChartControl::setLayoutBits(quint32 bits)
{
    m_model.layoutBits = bits;
    touch();
}

void ChartControl::setAxisBits(quint32 bits)
{
    m_model.axisBits = bits;
    touch();
}

void ChartControl::setHasXValues(bool on)
{
    m_model.hasXValues = on;
    touch();
}

ChartFontSpec ChartControl::TextFont(int member) const
{
    if (!inRange(member, 55, 60))
        return {};
    return m_model.fonts[std::size_t(member - 55)];
}

void ChartControl::setTextFont(int member, const ChartFontSpec &font)
{
    if (!inRange(member, 55, 60))
        return;
    m_model.fonts[std::size_t(member - 55)] = font;
    touch();
}

void ChartControl::setConstantValue(qint32 index, double value)
{
    if (!inRange(index, 0, qint64(m_model.constants.size()) - 1))
        return;
    m_model.constants[std::size_t(index)].value = value;
    touch();
}

void ChartControl::setConstantCaption(qint32 index, const QString &text)
{
    if (!inRange(index, 0, qint64(m_model.constants.size()) - 1))
        return;
    m_model.constants[std::size_t(index)].caption = text;
    touch();
}

void ChartControl::setConstantStyle(qint32 style)
{
    m_model.constantStyle = style;
    touch();
}

void ChartControl::StripeBand(qint16 index, double from, double till, Rgb color)
{
    if (!inRange(index, 0, qint64(m_model.bands.size()) - 1))
        return;
    m_model.bands[std::size_t(index)] = {from, till, color};
    touch();
}

qint16 ChartControl::MarkerStyle(qint16 series) const
{
    if (series == -1)
        return m_model.defaultMarkerStyle;
    return validSeries(series) ? m_model.markerStyleOf(series) : 0;
}

void ChartControl::setMarkerStyle(qint16 series, qint16 style)
{
    if (series == -1)
        m_model.defaultMarkerStyle = style;
    else if (validSeries(series))
        m_model.markerStyles[std::size_t(series)] = style;
    touch();
}

qint16 ChartControl::SecondYAxis(qint16 series) const
{
    return validSeries(series) ? m_model.secondYAxis[std::size_t(series)] : 0;
}

void ChartControl::setSecondYAxis(qint16 series, qint16 on)
{
    if (validSeries(series)) {
        m_model.secondYAxis[std::size_t(series)] = on;
        touch();
    }
}

qint32 ChartControl::LayoutPair(qint32 index) const
{
    if (!inRange(index, 0x4000, 0x4001))
        return 0;
    return m_model.layoutPairs[std::size_t(index - 0x4000)];
}

void ChartControl::setLayoutPair(qint32 index, qint32 value)
{
    if (!inRange(index, 0x4000, 0x4001))
        return;
    m_model.layoutPairs[std::size_t(index - 0x4000)] = value;
    touch();
}

void ChartControl::Refresh()
{
    touch();
}

void ChartControl::setModel(const ChartModel &model)
{
    m_model = model;
    m_activeSeries = 0;
    touch();
}

void ChartControl::setBackgroundPainter(BackgroundPainter painter)
{
    m_background = std::move(painter);
    touch();
}

void ChartControl::setBackgroundGradient(const BackgroundGradient &gradient)
{
    m_model.backgroundGradient = gradient;
    touch();
}

// ---- commands, queries, painting ------------------------------------------------------------

qint32 ChartControl::ChartCommand(qint16 code, qint32 param)
{
    switch (code) {
    case CommandRecover:
        // Back to a drawable state: no open overlay, no stale geometry.
        if (m_overlayPainter) {
            m_overlayPainter->end();
            m_overlayPainter.reset();
        }
        m_errorPending = false;
        touch();
        return 0;
    case CommandPageSetup:
    case CommandFontDialog:
        emit commandRequested(code, param);
        return 0;
    default:
        fail();
        return 0;
    }
}

qint32 ChartControl::ChartQuery(qint16 code, double param)
{
    const auto packed = [](const QPointF &p) {
        return qint32(clamp16(p.y())) * 65536 + qint32(clamp16(p.x()));
    };
    const ChartLayout &l = currentLayout();
    switch (code) {
    case QueryBeginOverlay:
        if (!m_overlayPainter) {
            m_overlayPicture = QPicture();
            m_overlayPainter = std::make_unique<QPainter>(&m_overlayPicture);
            m_overlayPainter->setRenderHint(QPainter::Antialiasing);
        }
        return 1;
    case QueryEndOverlay:
        if (m_overlayPainter) {
            m_overlayPainter->end();
            m_overlayPainter.reset();
            m_overlayDone = true;
            emit overlayChanged();
        }
        return 0;
    case QueryHitTest: {
        const qint32 v = qint32(param);
        const qint16 x = qint16(quint16(quint32(v) & 0xFFFF));
        const qint16 y = qint16((v - x) / 65536);
        const auto [series, point] = l.hitTest(QPointF(x, y));
        return qint32(point) * 65536 + qint32(series);
    }
    case QueryPointPosition: {
        const qint32 v = qint32(param);
        const qint16 series = qint16(quint16(quint32(v) & 0xFFFF));
        const qint32 point = (v - series) / 65536;
        QPointF pos;
        if (!l.pointPosition(series, point, pos)) {
            fail();
            return -65537;
        }
        return packed(pos);
    }
    case QueryValuePosition: {
        const bool xAxis = m_model.queryAxis == 2;
        const QPointF p = l.valuePosition(param, xAxis);
        return clamp16(xAxis ? p.x() : p.y());
    }
    case QueryBackgroundOrigin:
        return 0;
    case QueryExtents:
        return qint32(clamp16(m_viewSize.height())) * 65536 + clamp16(m_viewSize.width());
    case QueryPlotBottomLeft:
        return packed(l.projection.map(0, 0, 0));
    case QueryPlotTopRight:
        return packed(l.projection.map(1, 1, 0));
    default:
        fail();
        return 0;
    }
}

QPainter *ChartControl::OverlayPainter(qint32 context)
{
    return context == 1 ? m_overlayPainter.get() : nullptr;
}

void ChartControl::PaintTo(QPainter *painter, const QRect &target, int paintMode, int flags)
{
    Q_UNUSED(flags);
    if (!painter || target.isEmpty()) {
        fail();
        return;
    }
    const qreal dpi = painter->device() ? painter->device()->logicalDpiX() : 96;
    if (paintMode == 3 && !m_viewSize.isEmpty()) {
        // The screen's layout, scaled evenly into the target.
        const qreal scale = std::min(target.width() / qreal(m_viewSize.width()),
                                     target.height() / qreal(m_viewSize.height()));
        const QSizeF size = QSizeF(m_viewSize) * scale;
        const QRectF placed(QPointF(target.left(), target.top()), size);
        draw(painter, placed, 96 * scale);
        return;
    }
    draw(painter, QRectF(target), dpi);
}

qint32 ChartControl::ExportFile(qint16 format, const QString &path)
{
    m_exportError.clear();
    if (m_viewSize.isEmpty())
        return ExportEmptyChart;
    if (format == FormatChartFile) {
        const ChartFileResult r = ChartFile::save(m_model, path);
        m_exportError = r.message;
        return r.code;
    }
    if (format == FormatPicture && path.isEmpty()) {
        m_handedOver = renderImage(m_viewSize);
        return 0;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == FormatBitmap || format == FormatPng || format == FormatJpeg ||
        format == FormatPicture) {
        const char *kind = format == FormatJpeg ? "JPG" : format == FormatPng ? "PNG" : "BMP";
        // The picture is drawn on an opaque background: no alpha channel to store.
        const QImage image = renderImage(m_viewSize, QImage::Format_RGB32);
        if (format == FormatPng) {
            bytes = PngWriter::encode(image);
            if (bytes.isEmpty())
                return ExportWriteFailed;
        } else if (!image.save(&buffer, kind, format == FormatJpeg ? 92 : -1)) {
            return ExportWriteFailed;
        }
    } else if (format == FormatSvg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(m_viewSize);
        svg.setViewBox(QRect(QPoint(0, 0), m_viewSize));
        svg.setResolution(96);
        svg.setTitle(m_model.visibleTitle(3).simplified());
        QPainter painter(&svg);
        draw(&painter, QRectF(QPointF(0, 0), QSizeF(m_viewSize)));
        painter.end();
    } else if (format == FormatPdf) {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(300);
        pdf.setPageSize(QPageSize(QSizeF(m_viewSize) * 72.0 / 96.0, QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(m_model.visibleTitle(3).simplified());
        QPainter painter(&pdf);
        draw(&painter, QRectF(QPointF(0, 0), QSizeF(m_viewSize) * 300.0 / 96.0), 300);
        painter.end();
    } else {
        return ExportUnknownFormat;
    }
    buffer.close();
    // Only a regular file or a new name is written, in one step, so a failed export keeps
    // the earlier picture and a device or FIFO is never replaced.
    const os::Result saved = os::FileAccess::saveFile(path, bytes);
    m_exportError = saved.message;
    return saved ? 0 : ExportWriteFailed;
}

qint32 ChartControl::ImportFile(qint16 format, const QString &path)
{
    m_importError.clear();
    if (format != FormatChartFile) {
        m_importError = QStringLiteral("この形式は読み込めません: %1").arg(path);
        fail();
        return 2;
    }
    ChartModel loaded;
    loaded.backgroundGradient = m_model.backgroundGradient;
    const ChartFileResult r = ChartFile::load(path, loaded);
    if (!r.ok()) {
        m_importError = r.message;
        fail();
        return r.code;
    }
    setModel(loaded);
    return 0;
}

} // namespace qel::chartview
