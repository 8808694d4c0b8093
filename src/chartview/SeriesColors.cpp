#include "chartview/SeriesColors.h"

#include "chartview/ChartView.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <random>

namespace qel::chartview {

namespace {

constexpr int MaxColorGroup = 255;

int mixPart(double t, int a, int b)
{
    return int(std::lround(t * a + (1 - t) * b));
}

// t of `to` and 1 - t of `from`, component by component.
Rgb blend(double t, Rgb to, Rgb from)
{
    const ColorParts a = splitColor(to), b = splitColor(from);
    return rgb(mixPart(t, a.red, b.red), mixPart(t, a.green, b.green), mixPart(t, a.blue, b.blue));
}

} // namespace

ColorParts splitColor(Rgb color)
{
    return {int(color & 255), int((color / 256) & 255), int((color / 65536) & 255)};
}

RandomFraction clockSeededRandom()
{
    auto engine = std::make_shared<std::mt19937>(
        std::uint32_t(QDateTime::currentMSecsSinceEpoch() & 0xFFFFFFFF));
    return [engine] { return std::uniform_real_distribution<double>(0.0, 1.0)(*engine); };
}

Rgb randomGroupColor(int group, const RandomFraction &random)
{
    // A random integer 0..4 times 40; the fraction is kept below 1 whatever the source gives.
    const auto step = [&] { return 40 * std::clamp(int(5 * random()), 0, 4); };
    int r = step();
    int g = step();
    int b = step();
    const int hi = std::clamp(int(std::lround(35 * random() + 220)), 220, 255);
    switch (group % 6) {
    case 0:
        r = hi;
        break;
    case 1:
        g = hi;
        break;
    case 2:
        b = hi;
        break;
    case 3:
        r = g = hi;
        break;
    case 4:
        r = b = hi;
        break;
    default:
        g = b = hi;
        break;
    }
    return rgb(r, g, b);
}

void groupRndColor(ChartView &chart, int first, int last, const RandomFraction &random)
{
    last = std::min(last, MaxColorGroup);
    for (int g = std::max(first, 1); g <= last; ++g)
        chart.setSeriesColor(qint16(g - 1), randomGroupColor(g, random));
}

std::vector<Rgb> colorRamp(int first, int last, Rgb c0, Rgb c1, std::optional<Rgb> via)
{
    std::vector<Rgb> out;
    if (last < first)
        return out;
    if (!via) {
        // A single group takes the first colour (the steps would divide by zero).
        const double n = std::round(last - first + 0.001);
        for (int g = first; g <= last; ++g)
            out.push_back(n > 0 ? blend((g - first) / n, c1, c0) : c0);
        return out;
    }
    const int m = last - first + 1;
    const double h = m / 2.0;
    for (int k = 1; k <= m; ++k)
        out.push_back(k < h ? blend((k - 1) / h, *via, c0) : blend((k - h) / h, c1, *via));
    return out;
}

} // namespace qel::chartview
