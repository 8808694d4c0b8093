#pragma once

#include <QString>

namespace qel::chartview {

// How a statistics run for a chosen series ended: error 0 is success.
struct AnalysisOutcome
{
    int error = 0;
    QString description;
};

// What point inspection needs from the main window: the series and value boxes (Text1,
// Text2), the regression options window and the statistics run, which live above the chart.
class InspectionHost
{
public:
    virtual ~InspectionHost() = default;

    // The series box gets the 1-based series number, the "Value:" box the point's value
    // (empty beside the points).
    virtual void setPointBoxes(const QString &series, const QString &value) = 0;
    // Shows the regression options window modally with the data name; the job it closed with.
    virtual int askRegressionJob(const QString &dataName) = 0;
    // The statistics and regression run for series (0-based) with that job.
    virtual AnalysisOutcome runRegressionJob(int series, int job) = 0;
    // A point was chosen for analysis on a chart that is not a scatter chart: tells the user
    // that analysis needs one and asks whether to switch. True when the user agrees.
    virtual bool offerScatterChart() = 0;
};

} // namespace qel::chartview
