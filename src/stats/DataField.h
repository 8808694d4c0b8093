#pragma once

#include "os/Result.h"
#include "stats/RegressionFields.h"

namespace qel::os {
class UserDialogs;
}
namespace qel::os {
class MessageWindow;
} // namespace qel::os

namespace qel::chartview {
class ChartView;
} // namespace qel::chartview

namespace qel::stats {

// The chart's data field as the settings window changes it: resizing to the range boxes
// (dataFieldChgOk) and reserving the series that hold a regression curve (dataFiled4Regr).
//
// The groups form blocks of N user groups: group N + k holds the line or parabola of user
// group k, group 2N + k its standard-error curves.
class DataField
{
public:
    // Curve kinds of dataFiled4Regr.
    enum Kind { StraightLine = 1, Parabola = 2, LineWithSe = 11 };

    // Points a curve series needs.
    static int pointsFor(int kind);

    DataField(chartview::ChartView &chart, os::UserDialogs &dialogs, RegressionFields &fields,
              os::MessageWindow *messages = nullptr);

    // Resizes the field to the ranges in the boxes; success when the chart now has that size,
    // otherwise why not (a refusal or a question answered with Cancel; see JobFailure).
    // userGroups > 0 renames the legends of the curve blocks behind those user groups.
    os::Result dataFieldChgOk(int userGroups);

    // Makes room for a curve of user group `group` (1-based). colorGroupCount is the program's
    // N: fixed here on success, reset when it no longer fits the chart. firstNew receives the
    // 1-based group of the curve, fieldPoints the point count of the field. A failure ends
    // the run that asked.
    os::Result dataFiled4Regr(int kind, int group, qint16 &colorGroupCount, int &firstNew,
                              int &fieldPoints);

private:
    chartview::ChartView &m_chart;
    os::UserDialogs &m_dialogs;
    RegressionFields &m_fields;
    os::MessageWindow *m_messages;
};

} // namespace qel::stats
