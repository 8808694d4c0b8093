#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <vector>

namespace qel::chartview {

// Colours travel in the Windows layout: red in the low byte, blue in the third.
using Rgb = quint32;
inline constexpr Rgb NoColor = 0x80000000u; // "no colour": the area is left transparent

inline constexpr Rgb rgb(int r, int g, int b)
{
    return Rgb(r & 255) | (Rgb(g & 255) << 8) | (Rgb(b & 255) << 16);
}
QColor toQColor(Rgb value);
Rgb fromQColor(const QColor &color);

// A point holding this value (the largest finite single) is not drawn.
inline constexpr double EmptyPointValue = 3.4028234663852886e38;
inline bool isEmptyPoint(double v)
{
    return v >= EmptyPointValue;
}

// The six chart texts, in the order of their fonts and of the font dialogue's elements.
enum class ChartText { LeftTitle, RightTitle, TopTitle, BottomTitle, XLabels, YLabels };
inline constexpr int ChartTextCount = 6;

struct ChartFontSpec
{
    QString family = QStringLiteral("IPAPGothic");
    double pointSize = 11;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int weight = 400;  // 100..900, as the font dialogue reports it
    int charset = 128; // SHIFTJIS_CHARSET; kept for files, not used for drawing

    bool operator==(const ChartFontSpec &) const = default;
};

struct ConstantLine
{
    double value = 0;
    QString caption;
    bool operator==(const ConstantLine &) const = default;
};

struct ValueBand
{
    double from = 0;
    double till = 0;
    Rgb color = 0;
    bool operator==(const ValueBand &) const = default;
};

// The background the program paints itself in place of BackColorA (superGradientOn with the
// gradient kind and its two colours). Colour 1 lies at the outside, colour 2 inside.
enum GradientKind : qint16 {
    GradientNone = 0,
    GradientVertical = 1, // horizontal bands from top to bottom
    GradientTwoWay = 2,   // bands narrowing towards the middle from top and bottom
    GradientBox = 4,      // nested boxes
};

struct BackgroundGradient
{
    bool on = false; // superGradientOn: the program paints the background
    qint16 kind = GradientNone;
    Rgb color1 = 0;
    Rgb color2 = 0;

    // Whether there is a gradient to paint.
    bool painted() const
    {
        return on && (kind == GradientVertical || kind == GradientTwoWay || kind == GradientBox);
    }
    bool operator==(const BackgroundGradient &) const = default;
};

// Gallery codes held in the low four bits of the chart type word.
inline constexpr quint32 GalleryLines = 1;
inline constexpr quint32 GalleryBars = 2;
inline constexpr quint32 GallerySpline = 3;
inline constexpr quint32 GalleryMarks = 4;
inline constexpr quint32 GalleryPie = 5;
inline constexpr quint32 GalleryArea = 6;
inline constexpr quint32 GalleryStackedBars = 7;
inline constexpr quint32 GalleryScatter = 8;
inline constexpr quint32 GalleryHighLow = 9;
inline constexpr quint32 GallerySurface = 10;

// Style bits of the chart type word (see docs/chart-view.md).
inline constexpr quint32 GalleryMask = 0xF;
inline constexpr quint32 TypeShowMarkers = 0x100;
inline constexpr quint32 TypeHorizontal = 0x200;
inline constexpr quint32 TypeGrid = 0x400;
inline constexpr quint32 TypeOutline = 0x4000;
inline constexpr quint32 TypeShaded = 0x20000;
inline constexpr quint32 TypeTrackMouse = 0x10000000;

inline constexpr quint32 LayoutPlotOnly = 0x200;
inline constexpr quint32 LayoutHideLegend = 0x800; // the tool bar's legend button

// Whether a chart of this type places its points along a numeric X axis by their X values;
// otherwise they stand in point slots. Within a numeric axis a series whose X values are all
// 0 (and the chart's HasXValues off) has none: its points sit at the point numbers 1, 2, ….
// The regression reads its X values the same way, so its curves land on the points drawn.
inline bool numericXAxis(quint32 chartType, bool hasXValues)
{
    const quint32 g = chartType & GalleryMask;
    return g == GalleryScatter ||
           (hasXValues && (g == GalleryLines || g == GallerySpline || g == GalleryMarks ||
                           g == GalleryArea || g == GalleryHighLow));
}

inline constexpr quint32 AxisHideXLabels = 0x4;
inline constexpr quint32 AxisHideYLabels = 0x20;
inline constexpr quint32 AxisVerticalXLabels = 0x80;
inline constexpr quint32 AxisRightLabels = 0x100;

// AxisValue indices.
enum AxisIndex {
    AxisYMin = 0,
    AxisYMax = 1,
    AxisYStep = 2,
    AxisXMin = 6,
    AxisXMax = 7,
    AxisXStep = 8,
    AxisY2Min = 10,
    AxisY2Max = 11,
    AxisY2Step = 12,
};

// AxisDecimals indices.
enum AxisDecimalsIndex { DecimalsX = 0, DecimalsY2 = 1, DecimalsY = 2 };

// IndexedColor element codes.
enum IndexedElement { IndexedAxisLines = 0x1000, IndexedWalls = 0x1001 };

// Everything one chart holds. A plain value: copy it, compare it, store it.
struct ChartModel
{
    ChartModel();

    int seriesCount = 0;
    int pointCount = 0;
    // Series-major, seriesCount x pointCount. The control stores singles, so floats hold
    // every value exactly at half the memory of doubles.
    std::vector<float> values;
    std::vector<float> xValues; // same shape
    QStringList pointCaptions;
    QStringList seriesCaptions;
    std::array<QString, 4> titles; // left, right, top, bottom

    std::vector<Rgb> seriesColors; // 255 entries
    std::vector<Rgb> seriesAttrColors;
    std::vector<qint16> markerStyles; // per series; 0 = the chart's default
    qint16 defaultMarkerStyle = 0;    // 0 = automatic, -1 none, 1..4 shapes
    std::vector<qint16> secondYAxis;  // per series; 1 = on the second Y axis

    std::vector<ConstantLine> constants;
    qint32 constantStyle = 0;
    std::vector<ValueBand> bands;

    std::map<int, double> axisValues; // set explicitly; the rest are automatic
    std::map<int, int> axisDecimals;
    qint16 queryAxis = 0;

    std::array<qint16, 3> lineWidths{1, 1, 1}; // 0 data lines, 1 secondary lines, 2 grid
    std::array<Rgb, 3> lineColors{0, 0, rgb(160, 160, 160)};
    qint16 wallWidth = 1;
    std::array<qint16, 4> spacing{6, 6, 6, 6}; // members 5, 6 (horizontal), 7, 8 (vertical)
    bool view3D = false;
    qint32 viewAngles = 30; // low word elevation, high word rotation (degrees)
    qint16 pointGap = 0;    // 0..100, percent of a point's slot left free; 0 = 30
    qint16 depth3D = 50;    // 0..999, percent of a point's slot

    Rgb backColorA = rgb(0, 192, 192);   // the chart's surround
    Rgb backColorB = rgb(255, 255, 255); // the plot area
    Rgb backColorC = rgb(255, 255, 255); // the legend box
    std::map<qint32, Rgb> indexedColors;
    BackgroundGradient backgroundGradient;

    QString clickLog;
    qint16 cursorMode = 1;
    quint32 chartType = GalleryLines | TypeShowMarkers | TypeGrid | TypeOutline | TypeShaded;
    quint32 layoutBits = 272;
    quint32 printBits = 16;
    quint32 axisBits = 0;
    bool hasXValues = false;
    bool gradientOn = false; // GradientOn: passed through; backgroundGradient is what is painted
    bool dragActive = false;

    std::array<ChartFontSpec, ChartTextCount> fonts;
    std::array<qint32, 2> layoutPairs{0, 0};
    qint32 member1 = 0;
    qint16 member37 = 2;
    bool member39 = true;
    QString resourceLibrary;

    bool operator==(const ChartModel &) const = default;

    // Resizes the value grid, keeping the values that fit; new cells are empty points.
    void resizeGrid(int series, int points);
    std::size_t cell(int series, int point) const
    {
        return std::size_t(series) * std::size_t(pointCount) + std::size_t(point);
    }
    double value(int series, int point) const { return double(values[cell(series, point)]); }
    double xValue(int series, int point) const { return double(xValues[cell(series, point)]); }

    quint32 gallery() const { return chartType & GalleryMask; }
    Rgb seriesColor(int series) const;
    Rgb indexedColor(qint32 code) const;
    qint16 markerStyleOf(int series) const;
    bool onSecondAxis(int series) const;
    int elevation() const;
    int rotation() const;
    // The visible right title: the option text after "{kyOpt}" is never drawn.
    QString visibleTitle(int index) const;
};

} // namespace qel::chartview
