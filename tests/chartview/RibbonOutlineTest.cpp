#include "chartview/render/RibbonOutline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace qel::chartview;

namespace {

// The outline worked out over the whole run at once: per column along the run's direction, the
// first, lowest, highest and last point, in the run's order, each once.
std::vector<RibbonPoint> wholeRunOutline(const std::vector<RibbonPoint> &run, const QPointF &along)
{
    const QPointF across(-along.y(), along.x());
    const auto dot = [](const QPointF &a, const QPointF &b) {
        return a.x() * b.x() + a.y() * b.y();
    };
    const QPointF start = run.front().front;
    std::vector<RibbonPoint> kept;
    std::size_t i = 0;
    while (i < run.size()) {
        const double column = std::floor(dot(run[i].front - start, along));
        std::size_t lo = i, hi = i, last = i;
        double loAcross = dot(run[i].front, across), hiAcross = loAcross;
        std::size_t j = i + 1;
        for (; j < run.size() && std::floor(dot(run[j].front - start, along)) == column; ++j) {
            const double a = dot(run[j].front, across);
            if (a < loAcross) {
                loAcross = a;
                lo = j;
            }
            if (a > hiAcross) {
                hiAcross = a;
                hi = j;
            }
            last = j;
        }
        std::size_t pushed = run.size();
        for (const std::size_t k : {i, std::min(lo, hi), std::max(lo, hi), last}) {
            if (k != pushed)
                kept.push_back(run[k]);
            pushed = k;
        }
        i = j;
    }
    return kept;
}

} // namespace

// Taken a point at a time, the outline is the one worked out over the whole run: dense and
// sparse runs, runs that turn back, single points, and directions the screen gives a turned
// view.
TEST(RibbonOutline, KeepsWhatTheWholeRunWouldKeep)
{
    struct Case
    {
        const char *name;
        int points;
        double pixels; // the run's length on the screen
        double angle;  // of the run's direction, degrees
        bool turnsBack;
    };
    const Case cases[] = {
        {"one point", 1, 0, 0, false},
        {"two points", 2, 1, 0, false},
        {"dense, level", 5000, 300, 0, false},
        {"dense, slanted", 5000, 300, 25, false},
        {"dense, turned over", 5000, 300, 200, false},
        {"sparse", 40, 600, 10, false},
        {"turning back and forth", 3000, 200, 0, true},
    };
    std::mt19937 rng(11);
    std::normal_distribution<double> wobble(0, 3);
    for (const Case &c : cases) {
        const double radians = c.angle * 3.14159265358979 / 180;
        const QPointF along(std::cos(radians), std::sin(radians));
        const QPointF across(-along.y(), along.x());
        std::vector<RibbonPoint> run;
        RibbonOutline outline(along);
        double height = 0;
        for (int p = 0; p < c.points; ++p) {
            const double t = c.points > 1 ? double(p) / (c.points - 1) : 0;
            const double step = c.turnsBack ? c.pixels * std::abs(std::sin(t * 9)) : c.pixels * t;
            height += wobble(rng);
            const QPointF at = QPointF(40, 70) + along * step + across * height;
            run.push_back({t, height, at});
            outline.add(run.back());
        }
        outline.finish();
        const std::vector<RibbonPoint> expected = wholeRunOutline(run, along);
        ASSERT_EQ(outline.count(), run.size()) << c.name;
        EXPECT_EQ(outline.first().front, run.front().front) << c.name;
        EXPECT_EQ(outline.last().front, run.back().front) << c.name;
        ASSERT_EQ(outline.kept().size(), expected.size()) << c.name;
        for (std::size_t k = 0; k < expected.size(); ++k) {
            EXPECT_EQ(outline.kept()[k].front, expected[k].front) << c.name << " " << k;
            EXPECT_EQ(outline.kept()[k].u, expected[k].u) << c.name << " " << k;
        }
        if (!c.turnsBack && c.pixels > 0 && c.points > 4 * c.pixels) {
            EXPECT_LT(outline.kept().size(), run.size() / 2) << c.name << ": far fewer kept";
        }
        outline.clear();
        EXPECT_EQ(outline.count(), 0u);
        EXPECT_TRUE(outline.kept().empty());
    }
}
