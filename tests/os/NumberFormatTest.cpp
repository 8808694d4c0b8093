#include "os/NumberFormat.h"
#include "os/Useful.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

using qel::os::DoubleDigits;
using qel::os::integerStr;
using qel::os::parseSingle;
using qel::os::PrintLine;
using qel::os::SingleDigits;
using qel::os::singleToText;
using qel::os::vbStr;

namespace {

struct SingleCase
{
    float value;
    const char16_t *text;
};

class SingleToTextTest : public ::testing::TestWithParam<SingleCase>
{
};

TEST_P(SingleToTextTest, WritesTableCell)
{
    const SingleCase c = GetParam();
    EXPECT_EQ(singleToText(c.value), QString::fromUtf16(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Values, SingleToTextTest,
    ::testing::Values(SingleCase{12.5f, u" 12.5"}, SingleCase{-3.0f, u"-3"},
                      SingleCase{0.1f, u" 0.1"}, SingleCase{0.0f, u" 0"}, SingleCase{-0.0f, u" 0"},
                      SingleCase{-0.25f, u"-0.25"}, SingleCase{100.0f, u" 100"},
                      SingleCase{1.1f, u" 1.1"}, SingleCase{123.456f, u" 123.456"},
                      SingleCase{0.001f, u" 0.001"}, SingleCase{1234567.0f, u" 1234567"},
                      SingleCase{9999999.0f, u" 9999999"}, SingleCase{1e7f, u" 1E+07"},
                      SingleCase{12345678.0f, u" 1.2345678E+07"},
                      SingleCase{16777216.0f, u" 1.6777216E+07"}, SingleCase{1e20f, u" 1E+20"},
                      SingleCase{-1e-20f, u"-1E-20"}, SingleCase{1e-7f, u" 0.0000001"},
                      SingleCase{1.5e-7f, u" 1.5E-07"}, SingleCase{1e-10f, u" 1E-10"},
                      // seven digits would not read back; these need eight or nine
                      SingleCase{1.0f / 3.0f, u" 0.33333334"},
                      SingleCase{1.0000001f, u" 1.0000001"},
                      // the missing-number sentinel, the hidden marker and the smallest single
                      SingleCase{3e-33f, u" 3E-33"},
                      SingleCase{std::numeric_limits<float>::max(), u" 3.4028235E+38"},
                      SingleCase{std::numeric_limits<float>::denorm_min(), u" 1E-45"},
                      SingleCase{std::numeric_limits<float>::infinity(), u""},
                      SingleCase{std::numeric_limits<float>::quiet_NaN(), u""}));

void expectReadsBack(float v)
{
    const QString text = singleToText(v);
    bool isNumber = false;
    const float back = parseSingle(text, &isNumber);
    ASSERT_TRUE(isNumber) << text.toStdString();
    EXPECT_EQ(std::bit_cast<std::uint32_t>(back), std::bit_cast<std::uint32_t>(v))
        << text.toStdString();
}

TEST(SingleToText, EveryKindOfSingleReadsBackBitForBit)
{
    std::mt19937 random(20240607);
    std::uniform_int_distribution<std::uint32_t> anyBits;
    int checked = 0;
    while (checked < 200000) {
        const float v = std::bit_cast<float>(anyBits(random));
        // -0 is written " 0" on purpose.
        if (!std::isfinite(v) || v == 0)
            continue;
        expectReadsBack(v);
        ++checked;
    }
}

TEST(SingleToText, MeasuredValuesReadBackBitForBit)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> measured(-1000.0f, 1000.0f);
    for (int i = 0; i < 100000; ++i)
        expectReadsBack(measured(random));
    for (int i = 0; i < 10000; ++i)
        expectReadsBack(static_cast<float>(i) / 100.0f + 0.01f);
}

struct StrCase
{
    double value;
    int digits;
    const char16_t *text;
};

class VbStrTest : public ::testing::TestWithParam<StrCase>
{
};

TEST_P(VbStrTest, WritesAsStr)
{
    const StrCase c = GetParam();
    EXPECT_EQ(vbStr(c.value, c.digits), QString::fromUtf16(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Values, VbStrTest,
    ::testing::Values(
        StrCase{0.5, SingleDigits, u" .5"}, StrCase{-0.5, SingleDigits, u"-.5"},
        StrCase{12.5, SingleDigits, u" 12.5"}, StrCase{0.0, SingleDigits, u" 0"},
        StrCase{-0.0, DoubleDigits, u" 0"}, StrCase{100.0, SingleDigits, u" 100"},
        StrCase{-3.0, DoubleDigits, u"-3"},
        // a single widened to a double shows its binary error only with double digits
        StrCase{0.1f, SingleDigits, u" .1"}, StrCase{0.1f, DoubleDigits, u" .100000001490116"},
        StrCase{2.0 / 3.0, SingleDigits, u" .6666667"},
        StrCase{1.0 / 3.0, DoubleDigits, u" .333333333333333"},
        StrCase{1.0 / 30.0, DoubleDigits, u" 3.33333333333333E-02"},
        StrCase{1234567.0, SingleDigits, u" 1234567"},
        StrCase{12345678.0, SingleDigits, u" 1.234568E+07"},
        StrCase{9999999.6, SingleDigits, u" 1E+07"},
        StrCase{123456789012345.0, DoubleDigits, u" 123456789012345"},
        StrCase{1e14, DoubleDigits, u" 100000000000000"}, StrCase{1e15, DoubleDigits, u" 1E+15"},
        StrCase{-1e100, DoubleDigits, u"-1E+100"}, StrCase{1e-7, SingleDigits, u" .0000001"},
        StrCase{1.5e-7, SingleDigits, u" 1.5E-07"}, StrCase{-2.5e-5, SingleDigits, u"-.000025"},
        StrCase{0.0001234567, SingleDigits, u" 1.234567E-04"},
        StrCase{0.001, DoubleDigits, u" .001"}, StrCase{2.25, SingleDigits, u" 2.25"},
        StrCase{std::nan(""), DoubleDigits, u" NaN"},
        StrCase{-std::numeric_limits<double>::infinity(), DoubleDigits, u"-Inf"}));

TEST(IntegerStr, BlankForTheSign)
{
    EXPECT_EQ(integerStr(0), QStringLiteral(u" 0"));
    EXPECT_EQ(integerStr(12), QStringLiteral(u" 12"));
    EXPECT_EQ(integerStr(-3), QStringLiteral(u"-3"));
}

TEST(PrintLine, NumbersCarryATrailingBlank)
{
    PrintLine line;
    line.text(u"  n=").integer(5).text(u"ΣX=").single(15.5f).text(u"ΣY=").single(-0.5f);
    EXPECT_EQ(line.line(), QStringLiteral(u"  n= 5 ΣX= 15.5 ΣY=-.5 "));
    EXPECT_EQ(PrintLine().number(1.0 / 3.0).line(), QStringLiteral(u" .333333333333333 "));
}

TEST(PrintLine, ZoneSeparatorMovesToTheNextZone)
{
    EXPECT_EQ(PrintLine().text(u"ab").nextZone().text(u"c").line(),
              QStringLiteral(u"ab            c"));
    // From the start of a zone, including the start of the line, a whole zone is skipped.
    EXPECT_EQ(PrintLine().nextZone().text(u"x").line(), QString(14, u' ') + u'x');
    EXPECT_EQ(PrintLine().text(u"y - SE(line)  ").nextZone().line(),
              QStringLiteral(u"y - SE(line)  ") + QString(14, u' '));
}

TEST(PrintLine, StandardErrorTableRow)
{
    PrintLine row;
    row.text(u"  ").single(2.5f).text(u",");
    row.nextZone().single(0.125f).text(u",");
    row.nextZone().single(-1.75f);
    // Values start after the zone padding at columns 14 and 28.
    EXPECT_EQ(row.line(), QStringLiteral(u"   2.5 ,       .125 ,       -1.75 "));
}

} // namespace
