#include "shell/Form3State.h"

#include "chartdoc/ChartDocument.h"
#include "chartview/ChartView.h"
#include "os/Useful.h"
#include "os/UserDialogs.h"

#include <algorithm>
#include <cmath>

namespace qel::shell {

using namespace chartview;

namespace {

constexpr Rgb White = rgb(255, 255, 255);
constexpr int MaxRampGroup = 255;

// A box's number, or nothing when it holds none (the tolerant conversion's missing number).
std::optional<double> numberIn(const QString &text)
{
    bool isNumber = false;
    const float v = os::parseSingle(text, &isNumber);
    if (!isNumber || !std::isfinite(v))
        return std::nullopt;
    return double(v);
}

QString backgroundCaption(int kind)
{
    switch (kind) {
    case GradientVertical:
        return QStringLiteral("背景グラディエーション");
    case GradientTwoWay:
        return QStringLiteral("背景2方向グラディエーション");
    case GradientBox:
        return QStringLiteral("背景透過グラディエーション");
    default:
        return QStringLiteral("背景単色");
    }
}

} // namespace

Form3State::Form3State(chartdoc::ChartDocument &document, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_random(clockSeededRandom())
    , m_serColor{rgb(0, 0, 255), rgb(255, 0, 0), rgb(255, 255, 0)}
    , m_bands{BandRow{{}, {}, rgb(255, 220, 220)}, BandRow{{}, {}, rgb(220, 255, 220)},
              BandRow{{}, {}, rgb(220, 220, 255)}, BandRow{{}, {}, rgb(255, 255, 200)}}
{
    for (int i = 0; i < Rows; ++i)
        m_constants[std::size_t(i)].caption = QStringLiteral("Const %1").arg(i + 1);
    connect(&document, &chartdoc::ChartDocument::chartReplaced, this, &Form3State::chartReplaced);
    connect(&document, &chartdoc::ChartDocument::gradientChanged, this, &Form3State::changed);
    load();
}

QStringList Form3State::gridHeadings()
{
    QStringList headings = gridFormat().split(QLatin1Char('|'));
    for (QString &h : headings) {
        if (h.startsWith(QLatin1Char('<')))
            h.remove(0, 1);
        h = h.trimmed();
    }
    return headings;
}

void Form3State::load()
{
    m_group = {QStringLiteral("1"), QString::number(m_document.userGroupCount())};
    m_groupsShown = m_document.userGroupCount();
    const ChartModel &m = m_document.chart().model();
    m_drawn = !m.constants.empty() || !m.bands.empty();
    emit changed();
}

void Form3State::chartReplaced()
{
    // A range that covered every group keeps covering them; any other is kept within them.
    const int n = m_document.userGroupCount();
    if (groupNumber(0) == 1 && groupNumber(1) == m_groupsShown)
        m_group[1] = QString::number(n);
    m_groupsShown = n;
    colGrp_LostFocus();
    const ChartModel &m = m_document.chart().model();
    m_drawn = !m.constants.empty() || !m.bands.empty();
    emit changed();
}

// ---- background ---------------------------------------------------------------------------

BackgroundGradient Form3State::gradient() const
{
    return m_document.gradient();
}

void Form3State::SSRibbon_Click(int kind)
{
    if (kind != GradientNone && kind != GradientVertical && kind != GradientTwoWay &&
        kind != GradientBox)
        return;
    m_document.edit(backgroundCaption(kind), [&] {
        ChartView &chart = m_document.chart();
        BackgroundGradient g = m_document.gradient();
        if (kind == GradientNone) {
            chart.setBackColorC(White);
            chart.setBackColorB(White);
            chart.setBackColorA(rgb(0, 192, 192));
        } else if (kind == GradientBox) {
            chart.setBackColorC(NoColor);
            chart.setBackColorB(NoColor);
        }
        g.on = kind != GradientNone;
        g.kind = qint16(kind);
        m_document.setGradient(g);
        chart.Refresh();
    });
    emit changed();
}

void Form3State::Picture_Click(int which)
{
    BackgroundGradient g = m_document.gradient();
    Rgb &color = which == 2 ? g.color2 : g.color1;
    const Rgb chosen = getColor(color);
    if (chosen == color)
        return;
    color = chosen;
    m_document.edit(QStringLiteral("グラディエーション色%1").arg(which == 2 ? 2 : 1), [&] {
        m_document.setGradient(g);
        m_document.chart().Refresh();
    });
    emit changed();
}

Rgb Form3State::getColor(Rgb initial)
{
    const std::optional<quint32> chosen = m_document.dialogs().chooseColor(initial & 0xFFFFFF);
    return chosen ? Rgb(*chosen & 0xFFFFFF) : initial;
}

// ---- series colours -------------------------------------------------------------------------

void Form3State::PictureSerColor_Click(int index)
{
    if (index < 0 || index > 2)
        return;
    Rgb &box = m_serColor[std::size_t(index)];
    box = getColor(box);
    emit changed();
}

void Form3State::cmdViaColor_Click()
{
    m_viaOn = !m_viaOn;
    emit changed();
}

void Form3State::cmdRnd_Click()
{
    m_document.edit(QStringLiteral("ランダム配色"), [&] {
        ChartView &chart = m_document.chart();
        groupRndColor(chart, 1, chart.SeriesTotal(), m_random);
        chart.Refresh();
    });
    emit changed();
}

int Form3State::groupNumber(int index) const
{
    const std::optional<double> v = numberIn(m_group[std::size_t(index)]);
    return v ? int(std::clamp(std::round(*v), -32768.0, 32767.0)) : 0;
}

std::pair<int, int> Form3State::groupRange() const
{
    const int n = m_document.userGroupCount();
    if (n < 1)
        return {1, 0};
    int first = std::clamp(groupNumber(0), 1, n);
    int last = std::clamp(groupNumber(1), 1, n);
    if (first > last)
        std::swap(first, last);
    return {first, std::min(last, MaxRampGroup)};
}

void Form3State::setGroupText(int index, const QString &text)
{
    if (index == 0 || index == 1)
        m_group[std::size_t(index)] = text;
}

void Form3State::colGrp_LostFocus()
{
    const auto [first, last] = groupRange();
    if (last < first)
        return; // no groups to keep them within
    const std::array<QString, 2> kept{QString::number(first), QString::number(last)};
    if (kept != m_group) {
        m_group = kept;
        emit changed();
    }
}

void Form3State::colGrp0_DblClick()
{
    const int n = m_document.userGroupCount();
    if (n < 1)
        return;
    const int group = std::clamp(groupNumber(0), 1, std::min(n, MaxRampGroup));
    m_document.edit(QStringLiteral("グループの色"), [&] {
        m_document.chart().setSeriesColor(qint16(group - 1), m_serColor[0]);
        m_document.chart().Refresh();
    });
    emit changed();
}

void Form3State::CmdSerColor_Click()
{
    const auto [first, last] = groupRange();
    if (last < first)
        return;
    const std::vector<Rgb> colors =
        colorRamp(first, last, m_serColor[0], m_serColor[1],
                  m_viaOn ? std::optional<Rgb>(m_serColor[2]) : std::nullopt);
    m_document.edit(QStringLiteral("グループ配色"), [&] {
        ChartView &chart = m_document.chart();
        for (int g = first; g <= last; ++g)
            chart.setSeriesColor(qint16(g - 1), colors[std::size_t(g - first)]);
        chart.Refresh();
    });
    emit changed();
}

// ---- constants and bands --------------------------------------------------------------------

void Form3State::setConstantRow(int row, const ConstantRow &value)
{
    if (row >= 0 && row < Rows)
        m_constants[std::size_t(row)] = value;
}

void Form3State::setBandRow(int row, const BandRow &value)
{
    if (row >= 0 && row < Rows)
        m_bands[std::size_t(row)] = value;
}

void Form3State::constCol_Click(int row)
{
    if (row < 0 || row >= Rows)
        return;
    Rgb &color = m_bands[std::size_t(row)].color;
    color = getColor(color);
    emit changed();
}

void Form3State::Command1_Click()
{
    if (!m_drawn) {
        m_document.edit(QStringLiteral("定数描画"), [this] { drawConstants(); });
        m_drawn = true;
    } else {
        m_document.edit(QStringLiteral("定数消去"), [this] { removeConstants(); });
        m_drawn = false;
    }
    emit changed();
}

void Form3State::drawConstants()
{
    ChartView &chart = m_document.chart();
    chart.BeginDataLoad(ChannelConstants, Rows, 0);
    for (int i = 0; i < Rows; ++i) {
        const ConstantRow &row = m_constants[std::size_t(i)];
        // A row without a number draws no line (rather than one at 0).
        chart.setConstantValue(i, numberIn(row.value).value_or(EmptyPointValue));
        chart.setConstantCaption(i, row.caption);
    }
    chart.setConstantStyle(3);
    chart.EndDataLoad(ChannelConstants);
    chart.BeginDataLoad(ChannelBands, Rows, 0);
    for (int i = 0; i < Rows; ++i) {
        const BandRow &row = m_bands[std::size_t(i)];
        drawStripe(i + 1, row.from, row.till, row.color);
    }
    chart.EndDataLoad(ChannelBands);
}

void Form3State::drawStripe(int index, const QString &from, const QString &till, Rgb color)
{
    std::optional<double> low = numberIn(from);
    std::optional<double> high = till.trimmed().isEmpty() ? low : numberIn(till);
    if (!low || !high)
        low = high = EmptyPointValue; // no band for a row without its numbers
    // Row `index` (from 1) is the chart's band index - 1.
    m_document.chart().StripeBand(qint16(index - 1), *low, *high, color);
}

void Form3State::removeConstants()
{
    ChartView &chart = m_document.chart();
    // The bits the main window's OnlyChart and legend buttons switch stay as they are.
    chart.setLayoutBits(ConstantsRemovedLayout |
                        (chart.LayoutBits() & (LayoutPlotOnly | LayoutHideLegend)));
    chart.BeginDataLoad(ChannelConstants, -1, 0);
    chart.BeginDataLoad(ChannelBands, -1, 0);
}

// ---- point styles ---------------------------------------------------------------------------

std::vector<Form3State::PointStyleRow> Form3State::pointStyleRows() const
{
    const ChartView &chart = m_document.chart();
    std::vector<PointStyleRow> rows;
    const int n = m_document.userGroupCount();
    for (int r = 1; r <= n; ++r) {
        const qint16 style = chart.MarkerStyle(qint16(r - 1));
        rows.push_back(
            {QString::number(r) + QStringLiteral(") ") + chart.SeriesCaption(qint16(r - 1)),
             style >= 1 && style <= 4 ? style : 5, chart.SecondYAxis(qint16(r - 1)) == 1});
    }
    return rows;
}

void Form3State::fgPointStyle_Click(int row, int column)
{
    const int n = m_document.userGroupCount();
    if (row < 1 || row > n || column < 1 || column > 6)
        return;
    ChartView &chart = m_document.chart();
    const int total = chart.SeriesTotal();
    // The series and its regression companions s + N and s + 2N, where they exist.
    std::vector<qint16> series;
    for (int s = row - 1; s < total && series.size() < 3; s += n)
        series.push_back(qint16(s));
    if (column <= 5) {
        // ")(" is no marker for this series alone; the chart's default stays, so the other
        // series keep the markers the grid shows for them.
        const qint16 style = column <= 4 ? qint16(column) : qint16(-1);
        m_document.edit(QStringLiteral("点の形"), [&] {
            for (qint16 s : series)
                chart.setMarkerStyle(s, style);
            chart.Refresh();
        });
    } else {
        m_document.dialogs().beep();
        const qint16 on = chart.SecondYAxis(series.front()) == 1 ? 0 : 1;
        m_document.edit(QStringLiteral("第2Y軸"), [&] {
            for (qint16 s : series)
                chart.setSecondYAxis(s, on);
            chart.Refresh();
        });
    }
    emit changed();
}

} // namespace qel::shell
