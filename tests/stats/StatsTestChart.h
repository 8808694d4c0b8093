#pragma once

#include "chartview/render/ChartControl.h"
#include "stats/ReportViewer.h"
#include "support/FakeMessageWindow.h"

#include <QStringList>

#include <ostream>

#include <utility>
#include <vector>

// Readable QString values in failure messages.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace qel::statstest {

using Points = std::vector<std::pair<double, double>>;

// A scatter chart holding the given series (X, Y pairs); shorter series end in empty points.
inline void fillScatter(chartview::ChartControl &chart, const std::vector<Points> &series)
{
    std::size_t points = 0;
    for (const Points &s : series)
        points = std::max(points, s.size());
    const int groups = int(series.size());
    chart.BeginDataLoad(chartview::ChannelValues, groups, int(points));
    chart.BeginDataLoad(chartview::ChannelXValues, groups, int(points));
    for (int g = 0; g < groups; ++g) {
        chart.setActiveSeries(qint16(g));
        chart.setSeriesCaption(qint16(g), QStringLiteral("G%1").arg(g + 1));
        for (std::size_t p = 0; p < series[std::size_t(g)].size(); ++p) {
            chart.setValueX(int(p), series[std::size_t(g)][p].first);
            chart.setValueY(int(p), series[std::size_t(g)][p].second);
        }
    }
    chart.EndDataLoad(chartview::ChannelValues);
    chart.EndDataLoad(chartview::ChannelXValues);
    chart.setHasXValues(true);
    chart.setChartType(chartview::GalleryScatter | chartview::TypeShowMarkers);
}

using RecordingMessages = test::FakeMessageWindow;

class RecordingViewer : public stats::ReportViewer
{
public:
    void showReport(const QString &path) override { shown.append(path); }
    QStringList shown;
};

} // namespace qel::statstest
