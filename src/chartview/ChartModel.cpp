#include "chartview/ChartModel.h"

#include "os/LargeMemory.h"

#include <algorithm>

namespace qel::chartview {

QColor toQColor(Rgb value)
{
    if (value & NoColor)
        return QColor(Qt::transparent);
    return QColor(int(value & 255), int((value >> 8) & 255), int((value >> 16) & 255));
}

Rgb fromQColor(const QColor &color)
{
    if (color.alpha() == 0)
        return NoColor;
    return rgb(color.red(), color.green(), color.blue());
}

namespace {

// A palette that tells neighbouring series apart on screen and in print.
const std::array<Rgb, 16> DefaultSeriesColors = {
    rgb(31, 119, 180),  rgb(255, 127, 14), rgb(44, 160, 44),   rgb(214, 39, 40),
    rgb(148, 103, 189), rgb(140, 86, 75),  rgb(227, 119, 194), rgb(127, 127, 127),
    rgb(188, 189, 34),  rgb(23, 190, 207), rgb(0, 0, 128),     rgb(128, 0, 0),
    rgb(0, 128, 0),     rgb(128, 0, 128),  rgb(0, 128, 128),   rgb(128, 128, 0),
};

} // namespace

ChartModel::ChartModel()
    : seriesColors(255)
{
    for (std::size_t i = 0; i < seriesColors.size(); ++i)
        seriesColors[i] = DefaultSeriesColors[i % DefaultSeriesColors.size()];
    indexedColors = {{IndexedAxisLines, rgb(90, 90, 90)}, {IndexedWalls, rgb(180, 180, 180)}};
    fonts[int(ChartText::LeftTitle)].pointSize = 14;
    fonts[int(ChartText::RightTitle)].pointSize = 14;
    fonts[int(ChartText::TopTitle)].pointSize = 8;
    fonts[int(ChartText::BottomTitle)].pointSize = 14;
}

void ChartModel::resizeGrid(int series, int points)
{
    series = std::max(series, 0);
    points = std::max(points, 0);
    if (series == seriesCount && points == pointCount)
        return;
    std::vector<float> newValues;
    std::vector<float> newX;
    const std::size_t cells = std::size_t(series) * std::size_t(points);
    os::LargeMemory::assign(newValues, cells, float(EmptyPointValue));
    os::LargeMemory::assign(newX, cells, 0.0f);
    const int keepSeries = std::min(series, seriesCount);
    const int keepPoints = std::min(points, pointCount);
    for (int s = 0; s < keepSeries; ++s) {
        for (int p = 0; p < keepPoints; ++p) {
            const std::size_t to = std::size_t(s) * std::size_t(points) + std::size_t(p);
            newValues[to] = values[cell(s, p)];
            newX[to] = xValues[cell(s, p)];
        }
    }
    values = std::move(newValues);
    xValues = std::move(newX);
    seriesCount = series;
    pointCount = points;
    pointCaptions.resize(points);
    seriesCaptions.resize(series);
    seriesAttrColors.resize(std::size_t(series), 0);
    markerStyles.resize(std::size_t(series), 0);
    secondYAxis.resize(std::size_t(series), 0);
}

Rgb ChartModel::seriesColor(int series) const
{
    return seriesColors[std::size_t(series) % seriesColors.size()];
}

Rgb ChartModel::indexedColor(qint32 code) const
{
    const auto it = indexedColors.find(code);
    return it == indexedColors.end() ? rgb(128, 128, 128) : it->second;
}

qint16 ChartModel::markerStyleOf(int series) const
{
    const qint16 own = series < int(markerStyles.size()) ? markerStyles[std::size_t(series)] : 0;
    if (own != 0)
        return own;
    if (defaultMarkerStyle != 0)
        return defaultMarkerStyle;
    return qint16(series % 4 + 1);
}

bool ChartModel::onSecondAxis(int series) const
{
    return series < int(secondYAxis.size()) && secondYAxis[std::size_t(series)] == 1;
}

int ChartModel::elevation() const
{
    return qint16(viewAngles & 0xFFFF);
}

int ChartModel::rotation() const
{
    return viewAngles / 65536;
}

QString ChartModel::visibleTitle(int index) const
{
    const QString &t = titles[std::size_t(index)];
    const qsizetype opt = t.indexOf(QStringLiteral("{kyOpt}"));
    return opt < 0 ? t : t.left(opt);
}

} // namespace qel::chartview
