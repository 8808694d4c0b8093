#include "stats/DataField.h"

#include "chartview/ChartView.h"
#include "os/MessageWindow.h"
#include "os/NumberFormat.h"
#include "os/Useful.h"
#include "os/UserDialogs.h"
#include "stats/JobFailure.h"

#include <cmath>
#include <vector>

namespace qel::stats {

using chartview::EmptyPointValue;
using Field = RegressionFields::Field;

namespace {

constexpr int MaxGroupsWithoutAsking = 20;
constexpr qint64 LargeField = 5000;
constexpr qint64 LargeGrowth = 1500;
constexpr int SeCurveGroupLimit = 5;

// A range box as a whole number; text that is no number counts as 0, as the boxes' own
// check would have refused it.
qint64 boxNumber(const QString &text)
{
    bool ok = false;
    const float v = os::parseSingle(text, &ok);
    if (!ok)
        return 0;
    return qint64(std::nearbyint(std::clamp(double(v), -1e9, 1e9)));
}

} // namespace

int DataField::pointsFor(int kind)
{
    switch (kind) {
    case StraightLine:
        return 6;
    case Parabola:
        return 60;
    case LineWithSe:
        return 80;
    default:
        return 0;
    }
}

DataField::DataField(chartview::ChartView &chart, os::UserDialogs &dialogs,
                     RegressionFields &fields, os::MessageWindow *messages)
    : m_chart(chart)
    , m_dialogs(dialogs)
    , m_fields(fields)
    , m_messages(messages)
{}

os::Result DataField::dataFieldChgOk(int userGroups)
{
    m_fields.focus.reset();
    const qint64 groups = m_chart.SeriesTotal();
    const qint64 points = m_chart.PointTotal();
    qint64 g0 = boxNumber(m_fields.firstGroup);
    qint64 g1 = boxNumber(m_fields.lastGroup);
    qint64 p0 = boxNumber(m_fields.firstPoint);
    qint64 p1 = boxNumber(m_fields.lastPoint);
    if (g0 == 1 && g1 == groups && p0 == 1 && p1 == points)
        return os::Result::success();

    if (g0 > g1)
        std::swap(g0, g1);
    if (p0 > p1)
        std::swap(p0, p1);
    if (g0 < 1 || p0 < 1) {
        m_fields.focus = Field::FirstGroup;
        return os::Result::failure(QStringLiteral("グループと点の範囲は1からです。"), Refused);
    }
    const qint64 newGroups = g1 - g0 + 1;
    if (newGroups > MaxGroupsWithoutAsking) {
        const os::MessageAnswer a = m_dialogs.message(
            {QStringLiteral("グループが20を超えています。"), QStringLiteral("qelPro"),
             os::MessageButtons::OkCancel, os::MessageIcon::Question, os::MessageAnswer::Ok});
        if (a == os::MessageAnswer::Cancel)
            return os::Result::failure(QStringLiteral("グループが20を超えるので、中止しました。"),
                                       Cancelled);
    }
    const qint64 newPoints = p1 - p0 + 1;
    if (newPoints < 2) {
        m_dialogs.inform(QStringLiteral("Should Points >=2 "), os::MessageIcon::Exclamation);
        m_fields.focus = Field::FirstPoint;
        return os::Result::failure(QStringLiteral("Should Points >=2 "), Refused);
    }
    const qint64 newSize = newGroups * newPoints;
    const qint64 oldSize = groups * points;
    if (newSize > oldSize && (newSize > LargeField || newSize - oldSize > LargeGrowth)) {
        const QString text =
            QStringLiteral("データサイズ(") + os::integerStr(newSize) +
            QStringLiteral(")が大きいです。\nメモリ不足などが生じる可能性があります。"
                           "\n\n強行しますか？");
        const os::MessageAnswer a =
            m_dialogs.message({text, QStringLiteral("qelPro"), os::MessageButtons::OkCancel,
                               os::MessageIcon::Exclamation, os::MessageAnswer::Cancel});
        if (a == os::MessageAnswer::Cancel)
            return os::Result::failure(QStringLiteral("データサイズ(") + os::integerStr(newSize) +
                                           QStringLiteral(")が大きいので、中止しました。"),
                                       Cancelled);
    }

    if (m_messages)
        m_messages->frmMsgShow(QStringLiteral("Resizing field"), QString());

    // The selected ranges of the old field, read before the field changes under them.
    const int G = int(newGroups), P = int(newPoints);
    std::vector<double> ys(std::size_t(G) * std::size_t(P), EmptyPointValue);
    std::vector<double> xs(ys.size(), 0.0);
    QStringList legends, captions;
    for (int j = 0; j < G; ++j) {
        const qint64 old = g0 - 1 + j;
        if (old < groups) {
            legends.append(m_chart.SeriesCaption(qint16(old)));
            m_chart.setActiveSeries(qint16(old));
            for (int q = 0; q < P; ++q) {
                const qint64 op = p0 - 1 + q;
                if (op >= points)
                    break;
                ys[std::size_t(j) * std::size_t(P) + std::size_t(q)] = m_chart.ValueY(qint32(op));
                xs[std::size_t(j) * std::size_t(P) + std::size_t(q)] = m_chart.ValueX(qint32(op));
            }
        } else {
            legends.append(QStringLiteral("New #") + os::integerStr(g0 + j));
        }
    }
    for (int q = 0; q < P; ++q) {
        const qint64 op = p0 - 1 + q;
        captions.append(op < points ? m_chart.PointCaption(qint32(op)) : QString());
    }

    m_chart.clearError();
    m_chart.BeginDataLoad(chartview::ChannelValues, G, P);
    m_chart.BeginDataLoad(chartview::ChannelXValues, G, P);
    if (m_chart.ErrorPending() || m_chart.SeriesTotal() != G || m_chart.PointTotal() != P) {
        // The chart refused the size; it still holds the old field untouched.
        m_chart.clearError();
        m_chart.EndDataLoad(chartview::ChannelValues);
        m_chart.EndDataLoad(chartview::ChannelXValues);
        if (m_messages)
            m_messages->hide();
        const QString text = QStringLiteral("データサイズ(") + os::integerStr(newSize) +
                             QStringLiteral(")の領域を作れませんでした。");
        m_dialogs.inform(text, os::MessageIcon::Exclamation);
        return os::Result::failure(text, Refused);
    }
    for (int j = 0; j < G; ++j) {
        if (m_messages && j > 0 && j % 50 == 0)
            m_messages->frmMsgShow(QStringLiteral("Resizing field"),
                                   QString::number(j) + u'/' + QString::number(G));
        m_chart.setActiveSeries(qint16(j));
        for (int q = 0; q < P; ++q) {
            const std::size_t c = std::size_t(j) * std::size_t(P) + std::size_t(q);
            m_chart.setValueX(q, xs[c]);
            m_chart.setValueY(q, ys[c]);
        }
    }
    for (int q = 0; q < P; ++q)
        m_chart.setPointCaption(q, captions[q]);
    m_chart.EndDataLoad(chartview::ChannelValues);
    m_chart.EndDataLoad(chartview::ChannelXValues);

    for (int j = 0; j < G; ++j)
        m_chart.setSeriesCaption(qint16(j), legends[j]);
    const int n = userGroups;
    if (n > 0) {
        for (int g = n; g < G; ++g) {
            const QString legend = g >= 2 * n
                                       ? QStringLiteral("SEy #") + QString::number(g - 2 * n + 1)
                                       : QStringLiteral("Regr #") + QString::number(g - n + 1);
            m_chart.setSeriesCaption(qint16(g), legend);
        }
    }
    m_chart.Refresh();
    if (m_messages)
        m_messages->hide();
    return os::Result::success();
}

os::Result DataField::dataFiled4Regr(int kind, int group, qint16 &colorGroupCount, int &firstNew,
                                     int &fieldPoints)
{
    const int groups = m_chart.SeriesTotal();
    const int points = m_chart.PointTotal();
    m_fields.firstGroup = QStringLiteral("1");
    m_fields.lastGroup = QString::number(groups);
    m_fields.firstPoint = QStringLiteral("1");
    m_fields.lastPoint = QString::number(points);

    const int required = pointsFor(kind);
    if (required == 0)
        return os::Result::failure(QStringLiteral("回帰線の種類が分かりません。"), Refused);

    int g0 = colorGroupCount;
    if (g0 <= 0 || g0 > groups) {
        colorGroupCount = 0;
        g0 = groups;
    }
    // Checked on the user groups actually in use, so a chart whose N is not fixed yet is
    // refused as well instead of growing to three times its groups.
    if (kind == LineWithSe && g0 > SeCurveGroupLimit) {
        const QString text =
            QStringLiteral("グループが５以下でないので、SE曲線を描けません。（仕様）");
        m_dialogs.inform(text);
        return os::Result::failure(text, Refused);
    }

    bool grow = false;
    if (points < required) {
        m_fields.lastPoint = QString::number(required);
        grow = true;
    }
    if (group > g0) {
        m_dialogs.beep();
        return os::Result::failure(QStringLiteral("グループ%1は回帰線の系列です。").arg(group),
                                   Refused);
    }
    const int needGroups = (kind == LineWithSe ? 3 : 2) * g0;
    if (groups < needGroups) {
        m_fields.lastGroup = QString::number(needGroups);
        grow = true;
    }
    fieldPoints = int(boxNumber(m_fields.lastPoint));
    firstNew = group + g0;
    if (grow) {
        const os::Result resized = dataFieldChgOk(g0);
        if (!resized)
            return resized;
    }
    colorGroupCount = qint16(g0);
    return os::Result::success();
}

} // namespace qel::stats
