#include "chartdoc/ChartDump.h"

#include "chartdoc/ChartDocument.h"

#include "chartdoc/TableImage.h"
#include "chartview/AxisScale.h"
#include "chartview/ChartView.h"

#include <charconv>
#include <cmath>

namespace qel::chartdoc {

using namespace chartview;

namespace {

class JsonOut
{
public:
    QByteArray bytes;

    void raw(const char *s) { bytes += s; }
    void string(const QString &s)
    {
        QString e;
        e.reserve(s.size() + 2);
        e += u'"';
        for (const QChar c : s) {
            switch (c.unicode()) {
            case u'"':
                e += QStringLiteral("\\\"");
                break;
            case u'\\':
                e += QStringLiteral("\\\\");
                break;
            case u'\n':
                e += QStringLiteral("\\n");
                break;
            case u'\r':
                e += QStringLiteral("\\r");
                break;
            case u'\t':
                e += QStringLiteral("\\t");
                break;
            default:
                if (c.unicode() < 0x20)
                    e += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
                else
                    e += c;
            }
        }
        e += u'"';
        bytes += e.toUtf8();
    }
    // Chart values are singles: the shortest text of the single when the value is one.
    void number(double v)
    {
        if (!std::isfinite(v)) {
            bytes += "null";
            return;
        }
        char buf[64];
        const float f = float(v);
        const auto r = double(f) == v ? std::to_chars(buf, buf + sizeof buf, f)
                                      : std::to_chars(buf, buf + sizeof buf, v);
        bytes.append(buf, int(r.ptr - buf));
    }
    void integer(qint64 v) { bytes += QByteArray::number(v); }
    void boolean(bool v) { bytes += v ? "true" : "false"; }
    void key(const char *k)
    {
        bytes += '"';
        bytes += k;
        bytes += "\": ";
    }
};

int decimalsOf(const ChartView &chart, int index, double step)
{
    const auto &decimals = chart.model().axisDecimals;
    const auto it = decimals.find(index);
    return it != decimals.end() ? it->second : AxisScale::decimalsForStep(step);
}

} // namespace

QByteArray ChartDump::toJson(const ChartView &chart, const Options &options)
{
    const ChartModel &m = chart.model();
    JsonOut o;
    o.raw("{\n  ");
    o.key("seriesCount");
    o.integer(m.seriesCount);
    o.raw(",\n  ");
    o.key("pointCount");
    o.integer(m.pointCount);
    o.raw(",\n  ");
    o.key("chartType");
    o.integer(m.chartType);
    o.raw(",\n  ");
    o.key("hasXValues");
    o.boolean(m.hasXValues);
    o.raw(",\n  ");
    o.key("titles");
    o.raw("[");
    for (int i = 0; i < 4; ++i) {
        if (i)
            o.raw(", ");
        o.string(m.titles[std::size_t(i)]);
    }
    o.raw("],\n  ");
    auto texts = [&](const char *name, const QStringList &list, int count) {
        o.key(name);
        o.raw("[");
        for (int i = 0; i < count; ++i) {
            if (i)
                o.raw(", ");
            o.string(list.value(i));
        }
        o.raw("],\n  ");
    };
    texts("seriesCaptions", m.seriesCaptions, m.seriesCount);
    texts("pointCaptions", m.pointCaptions, m.pointCount);
    o.key("series");
    o.raw("[");
    for (int s = 0; s < m.seriesCount; ++s) {
        o.raw(s ? ",\n    {" : "\n    {");
        o.key("y");
        o.raw("[");
        for (int p = 0; p < m.pointCount; ++p) {
            if (p)
                o.raw(", ");
            const double v = m.value(s, p);
            isEmptyPoint(v) ? o.raw("null") : o.number(v);
        }
        o.raw("], ");
        o.key("x");
        o.raw("[");
        for (int p = 0; p < m.pointCount; ++p) {
            if (p)
                o.raw(", ");
            const double v = m.xValue(s, p);
            isEmptyPoint(v) ? o.raw("null") : o.number(v);
        }
        o.raw("]}");
    }
    o.raw(m.seriesCount ? "\n  ],\n  " : "],\n  ");

    const double yStep = chart.AxisValue(AxisYStep);
    const double xStep = chart.AxisValue(AxisXStep);
    o.key("axis");
    o.raw("{");
    o.key("yMin");
    o.number(chart.AxisValue(AxisYMin));
    o.raw(", ");
    o.key("yMax");
    o.number(chart.AxisValue(AxisYMax));
    o.raw(", ");
    o.key("yStep");
    o.number(yStep);
    o.raw(", ");
    o.key("yDecimals");
    o.integer(decimalsOf(chart, DecimalsY, yStep));
    o.raw(", ");
    o.key("xMin");
    o.number(chart.AxisValue(AxisXMin));
    o.raw(", ");
    o.key("xMax");
    o.number(chart.AxisValue(AxisXMax));
    o.raw(", ");
    o.key("xStep");
    o.number(xStep);
    o.raw(", ");
    o.key("xDecimals");
    o.integer(decimalsOf(chart, DecimalsX, xStep));
    o.raw("},\n  ");
    o.key("options");
    o.raw("{");
    o.key("regr");
    o.integer(options.regression);
    o.raw(", ");
    o.key("commonX");
    o.boolean(options.commonX);
    o.raw("},\n  ");
    o.key("legend");
    QString legend = options.legend;
    legend.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    o.string(legend);
    if (const TableImage *t = options.table) {
        o.raw(",\n  ");
        o.key("table");
        o.raw("{");
        o.key("groupCount");
        o.integer(t->groupCount);
        o.raw(", ");
        o.key("pointCount");
        o.integer(t->pointCount);
        o.raw(", ");
        o.key("chartType");
        o.integer(t->chartType);
        o.raw(", ");
        o.key("fileVersion");
        o.integer(t->fileVersion);
        o.raw(", ");
        o.key("typeOpt");
        o.integer(t->typeOpt);
        o.raw(", ");
        o.key("createStamp");
        o.string(t->createStamp);
        o.raw(", ");
        o.key("commonX");
        o.boolean(t->commonX);
        o.raw("}");
    }
    o.raw("\n}\n");
    return o.bytes;
}

QByteArray ChartDump::toJson(const ChartDocument &document)
{
    Options options;
    options.regression = document.regressionOption();
    options.commonX = document.table().commonX;
    options.legend = document.legendText();
    options.table = &document.table();
    return toJson(document.chart(), options);
}

} // namespace qel::chartdoc
