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
