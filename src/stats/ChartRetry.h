#pragma once

#include "chartview/ChartView.h"

#include <QString>

namespace qel::stats {

// Chart calls of the regression run are retried while the chart reports an error: an
// attempt counts when no error is pending after it. True when one attempt succeeded.
template <typename Step> bool retryChart(chartview::ChartView &chart, int attempts, Step &&step)
{
    for (int i = 0; i < attempts; ++i) {
        chart.clearError();
        step();
        if (!chart.ErrorPending())
            return true;
    }
    chart.clearError();
    return false;
}

// What the user is told when a chart call kept failing; the chart gives no reason of its own.
inline QString chartErrorText()
{
    return QStringLiteral("チャートの操作に失敗しました。");
}

} // namespace qel::stats
