#pragma once

#include <QtGlobal>

namespace qel::stats {

// The codes a regression or smoothing run fails with (qel::os::Result::code). The user has
// been shown the message already, except where a caller runs without a window.
enum JobFailure : qint32 {
    // The chart kept failing while the data were read; another run may succeed.
    ChartFailed = 440,
    // Too few valid points ("data shortage!").
    DataShortage = 1001,
    // The data are beyond the single-precision range.
    Overflow,
    // The report could not be appended to "Stat.txt".
    ReportNotWritten,
    // The user answered a question with Cancel.
    Cancelled,
    // The run was refused: too many groups for SE curves, a curve series picked, too much
    // data to smooth, a field the chart cannot hold, no parabola through the data.
    Refused,
    // A fitted curve could not be written into its series.
    CurveNotWritten,
};

} // namespace qel::stats
