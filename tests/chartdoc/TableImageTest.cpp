#include "chartdoc/TableImage.h"

#include <gtest/gtest.h>

using namespace qel::chartdoc;

TEST(TableImage, DimensionFillsEveryCellWithNoData)
{
    TableImage t;
    t.dimension(3, 4);
    EXPECT_EQ(t.groupLegend.size(), 4);
    EXPECT_EQ(t.pointLegend.size(), 5);
    for (int g = 0; g <= 3; ++g)
        for (int p = 0; p <= 4; ++p)
            EXPECT_FALSE(t.isPresent(g, p));
    t.setY(3, 4, 1.5f);
    EXPECT_TRUE(t.isPresent(3, 4));
    EXPECT_EQ(t.y(3, 4), 1.5f);
    EXPECT_FALSE(t.isPresent(2, 4));

    t.dimension(1, 1);
    EXPECT_FALSE(t.isPresent(1, 1)) << "a new load replaces the whole image";
}

// A table whose groups share X keeps it once. Written in the reader's order (point by point,
// group 1 first, every cell), it reads back exactly as a table that keeps every group's X,
// also when a group's X differs from group 1's.
TEST(TableImage, SharedXReadsAsIfEveryGroupKeptItsOwn)
{
    struct Case
    {
        const char *name;
        int groups;
        int points;
        int differentEvery; // a later group's X differs from group 1's every n-th cell; 0 never
    };
    const Case cases[] = {
        {"every group has group 1's X", 5, 40, 0},
        {"one cell differs", 5, 40, 150},
        {"many cells differ", 4, 30, 7},
        {"one group", 1, 10, 3},
    };
    for (const Case &c : cases) {
        TableImage shared;
        TableImage own;
        shared.dimension(qint16(c.groups), qint16(c.points));
        own.dimension(qint16(c.groups), qint16(c.points));
        shared.shareX();
        EXPECT_TRUE(shared.sharesX()) << c.name;
        int n = 0;
        for (int p = 1; p <= c.points; ++p) {
            const float common = p % 5 == 0 ? qel::os::MissingNumber : 0.25f * float(p);
            for (int g = 1; g <= c.groups; ++g) {
                ++n;
                const bool differs = g > 1 && c.differentEvery > 0 && n % c.differentEvery == 0;
                const float x = differs ? 1.0f : common;
                shared.setX(g, p, x);
                own.setX(g, p, x);
                shared.setY(g, p, float(n));
                own.setY(g, p, float(n));
            }
        }
        const bool anyDiffers = c.differentEvery > 0 && c.groups > 1;
        EXPECT_EQ(shared.sharesX(), !anyDiffers) << c.name;
        for (int g = 1; g <= c.groups; ++g) {
            for (int p = 0; p <= c.points; ++p) {
                EXPECT_EQ(shared.x(g, p), own.x(g, p))
                    << c.name << " group " << g << " point " << p;
                EXPECT_EQ(shared.y(g, p), own.y(g, p)) << c.name;
            }
        }
    }
}
