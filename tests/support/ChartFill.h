#pragma once

#include "chartview/CfxOcx.h"
#include "chartview/ChartView.h"

#include <QPoint>

#include <functional>

namespace qel::test {

using PointValue = std::function<double(int series, int point)>;

// Fills the chart with series x points: y gives every value and x, when given, the X values.
// The series are captioned "G1", "G2", ...
inline void fillChart(chartview::ChartView &chart, int series, int points, const PointValue &y,
                      const PointValue &x = nullptr)
{
    chart.BeginDataLoad(chartview::ChannelValues, qint16(series), points);
    if (x)
        chart.BeginDataLoad(chartview::ChannelXValues, qint16(series), points);
    for (int s = 0; s < series; ++s) {
        chart.setActiveSeries(qint16(s));
        chart.setSeriesCaption(qint16(s), QStringLiteral("G%1").arg(s + 1));
        for (int p = 0; p < points; ++p) {
            if (x)
                chart.setValueX(p, x(s, p));
            chart.setValueY(p, y(s, p));
        }
    }
    chart.EndDataLoad(chartview::ChannelValues);
    if (x)
        chart.EndDataLoad(chartview::ChannelXValues);
}

// Where the chart draws a point, in pixels of its view.
inline QPoint pointPosition(chartview::ChartView &chart, int series, int point)
{
    const qint32 v = chart.ChartQuery(chartview::QueryPointPosition,
                                      chartview::MakeLong(qint16(series), qint16(point)));
    return QPoint(chartview::LowWordOf(v), (v - chartview::LowWordOf(v)) / 65536);
}

} // namespace qel::test
