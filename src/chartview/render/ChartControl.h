#pragma once

#include "chartview/ChartView.h"
#include "chartview/render/ChartLayout.h"

#include <QObject>
#include <QPicture>
#include <QSize>

#include <memory>

namespace qel::chartview {

// Our chart control: the ChartView operations over a ChartModel, painted by ChartPainter.
// It needs no widget; ChartWidget shows it on screen, and the command line exports it.
class ChartControl : public QObject, public ChartView
{
    Q_OBJECT

public:
    explicit ChartControl(QObject *parent = nullptr);
    ~ChartControl() override;

    // The size the chart is shown at, in chart pixels; queries and exports use it.
    QSize viewSize() const { return m_viewSize; }
    void setViewSize(const QSize &size);
    // Called by the widget after each paint, so queries answer from what is on screen.
    void setPaintedLayout(const ChartLayout &layout);
    const ChartLayout &currentLayout();
    const QPicture *overlay() const { return m_overlayDone ? &m_overlayPicture : nullptr; }
    const BackgroundPainter &backgroundPainter() const { return m_background; }
    // Paints at the given size and resolution (the single entry for every output).
    ChartLayout paint(QPainter *painter, const QRectF &target, qreal resolution = 96) const;
    QImage renderImage(const QSize &size) const;

    // ChartView
    qint16 SeriesTotal() const override;
    void setSeriesTotal(qint16 count) override;
    qint32 PointTotal() const override;
    void setPointTotal(qint32 count) override;
    void setActiveSeries(qint16 series) override;
    double ValueY(qint32 point) const override;
    void setValueY(qint32 point, double value) override;
    double ValueX(qint32 point) const override;
    void setValueX(qint32 point, double value) override;
    QString PointCaption(qint32 point) const override;
    void setPointCaption(qint32 point, const QString &text) override;
    QString SeriesCaption(qint16 series) const override;
    void setSeriesCaption(qint16 series, const QString &text) override;
    QString TitleCaption(qint16 position) const override;
    void setTitleCaption(qint16 position, const QString &text) override;
    void BeginDataLoad(qint16 kind, qint32 a, qint32 b) override;
    void EndDataLoad(qint16 kind) override;
    void setSeriesColor(qint16 series, Rgb color) override;
    void setSeriesAttrColor(qint16 series, Rgb color) override;
    double AxisValue(qint16 index) const override;
    void setAxisValue(qint16 index, double value) override;
    void setQueryAxis(qint16 axis) override;
    qint16 LineWidth(qint16 index) const override;
    void setLineWidth(qint16 index, qint16 width) override;
    void setLineColor(qint16 index, Rgb color) override;
    void setAxisDecimals(qint16 axis, qint16 decimals) override;
    qint16 WallWidth() const override { return m_model.wallWidth; }
    void setWallWidth(qint16 width) override;
    qint16 Spacing(int member) const override;
    void setSpacing(int member, qint16 value) override;
    void setView3D(bool on) override;
    void setViewAngles(qint32 angles) override;
    qint16 PointGap() const override { return m_model.pointGap; }
    void setPointGap(qint16 gap) override;
    qint16 Depth3D() const override { return m_model.depth3D; }
    void setDepth3D(qint16 depth) override;
    void setBackColorA(Rgb color) override;
    void setBackColorB(Rgb color) override;
    void setBackColorC(Rgb color) override;
    void setIndexedColor(qint32 code, Rgb color) override;
    QString ClickLog() const override { return m_model.clickLog; }
    void setClickLog(const QString &text) override { m_model.clickLog = text; }
    void setCursorMode(qint16 mode) override;
    quint32 ChartType() const override { return m_model.chartType; }
    void setChartType(quint32 type) override;
    quint32 LayoutBits() const override { return m_model.layoutBits; }
    void setLayoutBits(quint32 bits) override;
    quint32 PrintBits() const override { return m_model.printBits; }
    void setPrintBits(quint32 bits) override { m_model.printBits = bits; }
    quint32 AxisBits() const override { return m_model.axisBits; }
    void setAxisBits(quint32 bits) override;
    bool HasXValues() const override { return m_model.hasXValues; }
    void setHasXValues(bool on) override;
    void setGradientOn(bool on) override { m_model.gradientOn = on; }
    void setDragActive(bool on) override { m_model.dragActive = on; }
    ChartFontSpec TextFont(int member) const override;
    void setTextFont(int member, const ChartFontSpec &font) override;
    qint32 ChartCommand(qint16 code, qint32 param) override;
    qint32 ChartQuery(qint16 code, double param = 0) override;
    void PaintTo(QPainter *painter, const QRect &target, int paintMode = 3, int flags = 0) override;
    qint32 ExportFile(qint16 format, const QString &path) override;
    qint32 ImportFile(qint16 format, const QString &path) override;
    QString ImportError() const override { return m_importError; }
    QString ExportError() const override { return m_exportError; }
    void ResourceLibrary(const QString &path) override { m_model.resourceLibrary = path; }
    void setConstantValue(qint32 index, double value) override;
    void setConstantCaption(qint32 index, const QString &text) override;
    void setConstantStyle(qint32 style) override;
    void StripeBand(qint16 index, double from, double till, Rgb color) override;
    qint16 MarkerStyle(qint16 series) const override;
    void setMarkerStyle(qint16 series, qint16 style) override;
    qint16 SecondYAxis(qint16 series) const override;
    void setSecondYAxis(qint16 series, qint16 on) override;
    qint32 LayoutPair(qint32 index) const override;
    void setLayoutPair(qint32 index, qint32 value) override;
    void Refresh() override;
    void setMember1(qint32 value) override { m_model.member1 = value; }
    qint16 Member37() const override { return m_model.member37; }
    void setMember37(qint16 value) override { m_model.member37 = value; }
    void setMember39(bool value) override { m_model.member39 = value; }
    QPainter *OverlayPainter(qint32 context) override;
    QImage HandedOverPicture() const override { return m_handedOver; }
    void setBackgroundPainter(BackgroundPainter painter) override;
    BackgroundGradient backgroundGradient() const override { return m_model.backgroundGradient; }
    void setBackgroundGradient(const BackgroundGradient &gradient) override;
    bool ErrorPending() const override { return m_errorPending; }
    void clearError() override { m_errorPending = false; }
    const ChartModel &model() const override { return m_model; }
    void setModel(const ChartModel &model) override;

    // The largest grid the view accepts (series x points).
    static constexpr qint64 MaxCells = 16'000'000;

signals:
    // The chart must be drawn again.
    void changed();
    // The overlay drawing changed.
    void overlayChanged();
    // A command that needs a dialogue (page setup, a text's font): the widget shows it.
    void commandRequested(qint16 code, qint32 param);

private:
    bool fail() const;
    // False, with an error left pending, when value lies outside low..high.
    bool inRange(qint64 value, qint64 low, qint64 high) const;
    bool validSeries(int series) const;
    bool validPoint(qint32 point) const;
    void touch();
    void resizeGrid(qint64 series, qint64 points);

    ChartModel m_model;
    int m_activeSeries = 0;
    QSize m_viewSize{640, 400};
    ChartLayout m_layout;
    bool m_layoutValid = false;
    mutable bool m_errorPending = false;
    BackgroundPainter m_background;
    QString m_importError;
    QString m_exportError;
    QImage m_handedOver;
    QPicture m_overlayPicture;
    std::unique_ptr<QPainter> m_overlayPainter;
    bool m_overlayDone = false;
};

} // namespace qel::chartview
