#include "os/Useful.h"

#include <QLocale>

#include <gtest/gtest.h>

using qel::os::MissingNumber;
using qel::os::parseSingle;

namespace {

struct ParseCase
{
    const char16_t *text;
    bool isNumber;
    float value;
};

class ParseSingleTest : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(ParseSingleTest, ReadsTheCLocaleForm)
{
    const ParseCase c = GetParam();
    bool isNumber = !c.isNumber;
    const float v = parseSingle(QString::fromUtf16(c.text), &isNumber);
    EXPECT_EQ(isNumber, c.isNumber);
    EXPECT_EQ(v, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseSingleTest,
    ::testing::Values(
        ParseCase{u"", false, MissingNumber}, ParseCase{u"abc", false, MissingNumber},
        ParseCase{u"1,2,3", false, MissingNumber}, ParseCase{u" 12.5 ", true, 12.5f},
        ParseCase{u"\t-3\t", true, -3.0f}, ParseCase{u"+7", true, 7.0f},
        ParseCase{u".5", true, 0.5f}, ParseCase{u"5.", true, 5.0f},
        ParseCase{u"1e3", true, 1000.0f}, ParseCase{u"2.5E-2", true, 0.025f},
        ParseCase{u"１２．５", true, 12.5f}, ParseCase{u"0.1", true, 0.1f},
        ParseCase{u"inf", false, MissingNumber}, ParseCase{u"nan", false, MissingNumber},
        ParseCase{u"0x10", false, MissingNumber}, ParseCase{u"1e", false, MissingNumber},
        ParseCase{u"-", false, MissingNumber}, ParseCase{u".", false, MissingNumber},
        ParseCase{u"12 5", false, MissingNumber}, ParseCase{u"1e39", false, MissingNumber},
        ParseCase{u"3.4028234e38", true, 3.4028234e38f}));

TEST(ParseSingle, DecimalCommaLocaleDoesNotChangeHowFilesRead)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    bool ok = false;
    EXPECT_EQ(parseSingle(QStringLiteral("12.5"), &ok), 12.5f);
    EXPECT_TRUE(ok);
    EXPECT_EQ(parseSingle(QStringLiteral("12,5"), &ok), MissingNumber);
    EXPECT_FALSE(ok);
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(saved);
}

TEST(ParseSingle, RoundsToTheNearestSingle)
{
    // 16777217 is not representable as a single; it rounds to even (16777216).
    EXPECT_EQ(parseSingle(QStringLiteral("16777217")), 16777216.0f);
    EXPECT_EQ(parseSingle(QStringLiteral("3e-33")), MissingNumber);
}

} // namespace
