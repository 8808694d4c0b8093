#include "stats/RegressionOptions.h"

#include <gtest/gtest.h>

using namespace qel::stats;
using Closing = RegressionOptions::Closing;

TEST(RegressionOptions, StartsAsLoaded)
{
    const RegressionOptions o;
    EXPECT_EQ(o.lblJob(), QStringLiteral("0"));
    EXPECT_EQ(o.job(), 0);
    EXPECT_EQ(o.method(), RegressionOptions::Linear);
    EXPECT_TRUE(o.whole());
    EXPECT_FALSE(o.xyEnabled());
    EXPECT_TRUE(o.seEnabled());
    EXPECT_FALSE(o.seCurves());
}

TEST(RegressionOptions, FixedPointNeedsNumbersBeforeTheWindowCloses)
{
    RegressionOptions o;
    o.selectMethod(RegressionOptions::FixedPoint);
    EXPECT_TRUE(o.xyEnabled());
    o.setTxtX(QStringLiteral("abc"));
    o.setTxtY(QStringLiteral("2"));
    EXPECT_EQ(o.draw(), Closing::FocusX);
    o.setTxtX(QStringLiteral(" 1.5 "));
    o.setTxtY(QString());
    EXPECT_EQ(o.drawText(), Closing::FocusY);
    o.setTxtY(QStringLiteral("-3e2"));
    EXPECT_EQ(o.draw(), Closing::Hide);
    EXPECT_EQ(o.job(), 1);
    EXPECT_TRUE(o.fixedPoint());
    EXPECT_EQ(o.x0(), 1.5f);
    EXPECT_EQ(o.y0(), -300.0f);
    EXPECT_EQ(o.drawText(), Closing::Hide);
    EXPECT_EQ(o.job(), 2);
}

TEST(RegressionOptions, OtherButtonsCloseAtOnce)
{
    RegressionOptions o;
    o.selectMethod(RegressionOptions::FixedPoint);
    EXPECT_EQ(o.smooth(), Closing::Hide);
    EXPECT_EQ(o.lblJob(), QStringLiteral("77"));
    EXPECT_EQ(o.cancel(), Closing::Hide);
    EXPECT_EQ(o.job(), 0);
    o.selectMethod(RegressionOptions::Linear);
    o.setTxtX(QStringLiteral("abc"));
    EXPECT_EQ(o.draw(), Closing::Hide) << "the fields only count for a fixed point";
}

TEST(RegressionOptions, ParabolaGreysOutTheStandardErrorsWithoutClearingThem)
{
    RegressionOptions o;
    o.setSeChecked(true);
    o.selectMethod(RegressionOptions::Parabolic);
    EXPECT_FALSE(o.seEnabled());
    EXPECT_TRUE(o.seCurves());
    EXPECT_FALSE(o.xyEnabled());
    o.selectMethod(RegressionOptions::Linear);
    EXPECT_TRUE(o.seEnabled());
    o.selectMethod(7);
    EXPECT_EQ(o.method(), RegressionOptions::Linear);
}

TEST(RegressionOptions, ChoicesLastUntilTheWindowIsUnloaded)
{
    RegressionOptions o;
    o.selectMethod(RegressionOptions::Parabolic);
    o.setWhole(false);
    o.setSeChecked(true);
    o.draw();
    EXPECT_EQ(o.job(), 1);
    o.unload();
    EXPECT_EQ(o.job(), 0);
    EXPECT_EQ(o.method(), RegressionOptions::Linear);
    EXPECT_TRUE(o.whole());
    EXPECT_FALSE(o.seCurves());
}
