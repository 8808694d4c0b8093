#pragma once

#include "chartview/ChartModel.h"

#include <QImage>
#include <QString>

#include <functional>

class QPainter;

namespace qel::chartview {

// Data channels opened with BeginDataLoad.
enum DataChannel : qint16 {
    ChannelValues = 1,
    ChannelConstants = 2,
    ChannelColors = 3,
    ChannelBands = 4,
    ChannelXValues = 6,
};

// ChartCommand codes.
enum ChartCommandCode : qint16 {
    CommandPageSetup = 0x7403,
    CommandRecover = 0x740C,
    CommandFontDialog = 0x740D,
};

// ChartQuery codes.
enum ChartQueryCode : qint16 {
    QueryBeginOverlay = 0,
    QueryEndOverlay = 1,
    QueryHitTest = 2,
    QueryPointPosition = 3,
    QueryValuePosition = 4,
    QueryBackgroundOrigin = 6,
    QueryExtents = 7,
    QueryPlotBottomLeft = 10,
    QueryPlotTopRight = 11,
};

// ExportFile and ImportFile formats.
enum FileFormat : qint16 {
    FormatPicture = 1, // format 1 with an empty path hands the picture over in memory
    FormatBitmap = 2,
    FormatChartFile = 3,
    FormatPng = 10,
    FormatJpeg = 11,
    FormatSvg = 12,
    FormatPdf = 13,
};

// The chart operations the program uses, under their role names. Indices are 0-based.
// Values and texts may be written inside a BeginDataLoad/EndDataLoad bracket and after it.
// A call that fails leaves an error pending (ErrorPending) for the error trap; nothing throws.
class ChartView
{
public:
    virtual ~ChartView() = default;

    // Painting of the background by the host (the program's own gradients). Returns true
    // when it painted the area; otherwise the view fills it with BackColorA.
    using BackgroundPainter = std::function<bool(QPainter *painter, const QRect &area)>;

    virtual qint16 SeriesTotal() const = 0;
    virtual void setSeriesTotal(qint16 count) = 0;
    virtual qint32 PointTotal() const = 0;
    virtual void setPointTotal(qint32 count) = 0;
    virtual void setActiveSeries(qint16 series) = 0;
    virtual double ValueY(qint32 point) const = 0;
    virtual void setValueY(qint32 point, double value) = 0;
    virtual double ValueX(qint32 point) const = 0;
    virtual void setValueX(qint32 point, double value) = 0;
    virtual QString PointCaption(qint32 point) const = 0;
    virtual void setPointCaption(qint32 point, const QString &text) = 0;
    virtual QString SeriesCaption(qint16 series) const = 0;
    virtual void setSeriesCaption(qint16 series, const QString &text) = 0;
    virtual QString TitleCaption(qint16 position) const = 0;
    virtual void setTitleCaption(qint16 position, const QString &text) = 0;

    virtual void BeginDataLoad(qint16 kind, qint32 a, qint32 b) = 0;
    virtual void EndDataLoad(qint16 kind) = 0;

    virtual void setSeriesColor(qint16 series, Rgb color) = 0;
    virtual void setSeriesAttrColor(qint16 series, Rgb color) = 0; // -1: all series
    virtual double AxisValue(qint16 index) const = 0;
    virtual void setAxisValue(qint16 index, double value) = 0;
    virtual void setQueryAxis(qint16 axis) = 0;
    virtual qint16 LineWidth(qint16 index) const = 0;
    virtual void setLineWidth(qint16 index, qint16 width) = 0;
    virtual void setLineColor(qint16 index, Rgb color) = 0;
    virtual void setAxisDecimals(qint16 axis, qint16 decimals) = 0;
    virtual qint16 WallWidth() const = 0;
    virtual void setWallWidth(qint16 width) = 0;
    // Spacing members 5, 6 (horizontal), 7 and 8 (vertical).
    virtual qint16 Spacing(int member) const = 0;
    virtual void setSpacing(int member, qint16 value) = 0;
    virtual void setView3D(bool on) = 0;
    virtual void setViewAngles(qint32 angles) = 0;
    virtual qint16 PointGap() const = 0;
    virtual void setPointGap(qint16 gap) = 0;
    virtual qint16 Depth3D() const = 0;
    virtual void setDepth3D(qint16 depth) = 0;
    virtual void setBackColorA(Rgb color) = 0;
    virtual void setBackColorB(Rgb color) = 0;
    virtual void setBackColorC(Rgb color) = 0;
    virtual void setIndexedColor(qint32 code, Rgb color) = 0;
    virtual QString ClickLog() const = 0;
    virtual void setClickLog(const QString &text) = 0;
    virtual void setCursorMode(qint16 mode) = 0;
    virtual quint32 ChartType() const = 0;
    virtual void setChartType(quint32 type) = 0;
    virtual quint32 LayoutBits() const = 0;
    virtual void setLayoutBits(quint32 bits) = 0;
    virtual quint32 PrintBits() const = 0;
    virtual void setPrintBits(quint32 bits) = 0;
    virtual quint32 AxisBits() const = 0;
    virtual void setAxisBits(quint32 bits) = 0;
    virtual bool HasXValues() const = 0;
    virtual void setHasXValues(bool on) = 0;
    virtual void setGradientOn(bool on) = 0;
    virtual void setDragActive(bool on) = 0;
    // TextFont(55..60): the fonts of the six chart texts.
    virtual ChartFontSpec TextFont(int member) const = 0;
    virtual void setTextFont(int member, const ChartFontSpec &font) = 0;

    virtual qint32 ChartCommand(qint16 code, qint32 param) = 0;
    virtual qint32 ChartQuery(qint16 code, double param = 0) = 0;
    // Paints the chart into target (device pixels of painter); paint modes 1 and 3 are
    // the printing layouts (3 keeps the screen's look, 1 fills the target).
    virtual void PaintTo(QPainter *painter, const QRect &target, int paintMode = 3,
                         int flags = 0) = 0;
    // 0 on success, otherwise an error number; ImportError tells the user why.
    virtual qint32 ExportFile(qint16 format, const QString &path) = 0;
    virtual qint32 ImportFile(qint16 format, const QString &path) = 0;
    virtual QString ImportError() const = 0;
    // Why the last ExportFile failed, with the file's name; empty after a success.
    virtual QString ExportError() const { return QString(); }
    virtual void ResourceLibrary(const QString &path) = 0;

    virtual void setConstantValue(qint32 index, double value) = 0;
    virtual void setConstantCaption(qint32 index, const QString &text) = 0;
    virtual void setConstantStyle(qint32 style) = 0;
    virtual void StripeBand(qint16 index, double from, double till, Rgb color) = 0;
    virtual qint16 MarkerStyle(qint16 series) const = 0;
    virtual void setMarkerStyle(qint16 series, qint16 style) = 0; // -1: the default
    virtual qint16 SecondYAxis(qint16 series) const = 0;
    virtual void setSecondYAxis(qint16 series, qint16 on) = 0;
    virtual qint32 LayoutPair(qint32 index) const = 0; // 0x4000 or 0x4001
    virtual void setLayoutPair(qint32 index, qint32 value) = 0;
    virtual void Refresh() = 0;

    // Members 1, 37 and 39 only pass values from data files through.
    virtual void setMember1(qint32 value) = 0;
    virtual qint16 Member37() const = 0;
    virtual void setMember37(qint16 value) = 0;
    virtual void setMember39(bool value) = 0;

    // The drawing context of ChartQuery(0) for overlays; null when none is open.
    virtual QPainter *OverlayPainter(qint32 context) = 0;
    // The picture handed over by ExportFile(FormatPicture, "").
    virtual QImage HandedOverPicture() const = 0;
    virtual void setBackgroundPainter(BackgroundPainter painter) = 0;
    // The background the program paints itself (superGradientOn, the gradient kind and colours).
    virtual BackgroundGradient backgroundGradient() const = 0;
    virtual void setBackgroundGradient(const BackgroundGradient &gradient) = 0;

    // The pending-error state that the error trap reads (VB's Err after a chart call).
    virtual bool ErrorPending() const = 0;
    virtual void clearError() = 0;

    // The whole state, for chart files and tests.
    virtual const ChartModel &model() const = 0;
    virtual void setModel(const ChartModel &model) = 0;
};

} // namespace qel::chartview
