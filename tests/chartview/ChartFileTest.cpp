#include "chartview/render/ChartFile.h"

#include "os/FileAccess.h"
#include "support/SpecialFiles.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>

#include <unistd.h>

using namespace qel::chartview;

namespace {

// Every member differs from a new chart's, so a member that is not stored shows up.
ChartModel populatedModel()
{
    ChartModel m;
    m.resizeGrid(3, 4);
    for (int s = 0; s < 3; ++s) {
        for (int p = 0; p < 4; ++p) {
            m.values[m.cell(s, p)] = s * 10.5 + p / 3.0 - 7;
            m.xValues[m.cell(s, p)] = p * 0.1 + s;
        }
    }
    m.values[m.cell(1, 2)] = EmptyPointValue;
    m.pointCaptions = {QStringLiteral("１月"), QStringLiteral("2月"), QStringLiteral("三月"),
                       QStringLiteral("\"引用\" \\ と\t制御\n改行\u0001")};
    m.seriesCaptions = {QStringLiteral("売上高"), QString(), QStringLiteral("費用")};
    m.titles = {QStringLiteral("左の題"), QStringLiteral("右{kyOpt}3,1"), QStringLiteral("上の題"),
                QStringLiteral("体重\r\n図1")};

    m.seriesColors.assign(17, rgb(1, 2, 3));
    m.seriesColors[5] = NoColor;
    m.seriesAttrColors = {NoColor, rgb(10, 20, 30), 0xFFFFFFFFu};
    m.markerStyles = {-1, 0, 4};
    m.defaultMarkerStyle = -1;
    m.secondYAxis = {0, 1, 0};

    m.constants = {{12.5, QStringLiteral("目標")}, {-3, QString()}};
    m.constantStyle = 2;
    m.bands = {{1, 2.5, rgb(255, 0, 0)}, {-1e300, 1e300, NoColor}};

    m.axisValues = {{AxisYMin, -5}, {AxisYMax, 120.25}, {AxisY2Step, 0.1}};
    m.axisDecimals = {{DecimalsX, 0}, {DecimalsY, 3}};
    m.queryAxis = 2;

    m.lineWidths = {2, 3, 4};
    m.lineColors = {rgb(1, 1, 1), NoColor, rgb(9, 9, 9)};
    m.wallWidth = 3;
    m.spacing = {1, 2, 3, 4};
    m.view3D = true;
    m.viewAngles = 45 * 65536 + 20;
    m.pointGap = 40;
    m.depth3D = 999;

    m.backColorA = rgb(1, 0, 0);
    m.backColorB = NoColor;
    m.backColorC = rgb(0, 0, 1);
    m.indexedColors = {{IndexedAxisLines, rgb(5, 5, 5)}, {-5, 7}, {IndexedWalls, NoColor}};
    m.backgroundGradient = {true, GradientBox, rgb(255, 255, 128), NoColor | 5};

    m.clickLog = QStringLiteral("クリック 1\n2");
    m.cursorMode = 0;
    m.chartType = 0xF0000208u; // above the largest int
    m.layoutBits = LayoutPlotOnly;
    m.printBits = 0xFFFFFFFFu;
    m.axisBits = AxisHideXLabels | AxisRightLabels;
    m.hasXValues = true;
    m.gradientOn = true;
    m.dragActive = true;

    const int weights[ChartTextCount] = {100, 200, 300, 500, 600, 900};
    for (int i = 0; i < ChartTextCount; ++i) {
        ChartFontSpec &f = m.fonts[std::size_t(i)];
        f.family = QStringLiteral("游ゴシック %1").arg(i);
        f.pointSize += 0.25 + i;
        f.bold = !f.bold;
        f.italic = !f.italic;
        f.underline = !f.underline;
        f.strikeOut = !f.strikeOut;
        f.weight = weights[i];
        f.charset = i;
    }
    m.layoutPairs = {-7, 123456};
    m.member1 = std::numeric_limits<qint32>::min();
    m.member37 = std::numeric_limits<qint16>::min();
    m.member39 = false;
    m.resourceLibrary = QStringLiteral("fxjapan2.dll");
    return m;
}

quint64 bitsOf(double value)
{
    return std::bit_cast<quint64>(value);
}

QJsonObject parsed(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

QByteArray serialised(const QJsonObject &top)
{
    return QJsonDocument(top).toJson();
}

// A literal with its embedded zero bytes, without the terminating one.
template <std::size_t N> QByteArray rawBytes(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N - 1));
}

QByteArray utf16Bytes(const QString &text)
{
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

QStringList listing(const QString &dir)
{
    QStringList paths;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(it.next());
    paths.sort();
    return paths;
}

QByteArray headerWith(const QByteArray &chart)
{
    return QByteArrayLiteral("{\"format\": \"qelPro-chart\", \"version\": 1, \"chart\": ") + chart +
           QByteArrayLiteral("}");
}

} // namespace

TEST(ChartFileRoundTrip, FixtureChangesEveryMember)
{
    // If ChartModel gains a member, store it in ChartFile and change it in populatedModel().
    if constexpr (sizeof(void *) == 8) {
        EXPECT_EQ(sizeof(ChartModel), 952u) << "ChartModel changed";
    }

    const ChartModel d;
    const ChartModel m = populatedModel();
    const std::pair<const char *, bool> differs[] = {
        {"seriesCount", m.seriesCount != d.seriesCount},
        {"pointCount", m.pointCount != d.pointCount},
        {"values", m.values != d.values},
        {"xValues", m.xValues != d.xValues},
        {"pointCaptions", m.pointCaptions != d.pointCaptions},
        {"seriesCaptions", m.seriesCaptions != d.seriesCaptions},
        {"titles", m.titles != d.titles},
        {"seriesColors", m.seriesColors != d.seriesColors},
        {"seriesAttrColors", m.seriesAttrColors != d.seriesAttrColors},
        {"markerStyles", m.markerStyles != d.markerStyles},
        {"defaultMarkerStyle", m.defaultMarkerStyle != d.defaultMarkerStyle},
        {"secondYAxis", m.secondYAxis != d.secondYAxis},
        {"constants", m.constants != d.constants},
        {"constantStyle", m.constantStyle != d.constantStyle},
        {"bands", m.bands != d.bands},
        {"axisValues", m.axisValues != d.axisValues},
        {"axisDecimals", m.axisDecimals != d.axisDecimals},
        {"queryAxis", m.queryAxis != d.queryAxis},
        {"lineWidths", m.lineWidths != d.lineWidths},
        {"lineColors", m.lineColors != d.lineColors},
        {"wallWidth", m.wallWidth != d.wallWidth},
        {"spacing", m.spacing != d.spacing},
        {"view3D", m.view3D != d.view3D},
        {"viewAngles", m.viewAngles != d.viewAngles},
        {"pointGap", m.pointGap != d.pointGap},
        {"depth3D", m.depth3D != d.depth3D},
        {"backColorA", m.backColorA != d.backColorA},
        {"backColorB", m.backColorB != d.backColorB},
        {"backColorC", m.backColorC != d.backColorC},
        {"indexedColors", m.indexedColors != d.indexedColors},
        {"backgroundGradient.on", m.backgroundGradient.on != d.backgroundGradient.on},
        {"backgroundGradient.kind", m.backgroundGradient.kind != d.backgroundGradient.kind},
        {"backgroundGradient.color1", m.backgroundGradient.color1 != d.backgroundGradient.color1},
        {"backgroundGradient.color2", m.backgroundGradient.color2 != d.backgroundGradient.color2},
        {"clickLog", m.clickLog != d.clickLog},
        {"cursorMode", m.cursorMode != d.cursorMode},
        {"chartType", m.chartType != d.chartType},
        {"layoutBits", m.layoutBits != d.layoutBits},
        {"printBits", m.printBits != d.printBits},
        {"axisBits", m.axisBits != d.axisBits},
        {"hasXValues", m.hasXValues != d.hasXValues},
        {"gradientOn", m.gradientOn != d.gradientOn},
        {"dragActive", m.dragActive != d.dragActive},
        {"layoutPairs", m.layoutPairs != d.layoutPairs},
        {"member1", m.member1 != d.member1},
        {"member37", m.member37 != d.member37},
        {"member39", m.member39 != d.member39},
        {"resourceLibrary", m.resourceLibrary != d.resourceLibrary},
    };
    for (const auto &[name, changed] : differs)
        EXPECT_TRUE(changed) << name;
    for (int i = 0; i < ChartTextCount; ++i) {
        const ChartFontSpec &a = m.fonts[std::size_t(i)];
        const ChartFontSpec &b = d.fonts[std::size_t(i)];
        EXPECT_TRUE(a.family != b.family && a.pointSize != b.pointSize && a.bold != b.bold &&
                    a.italic != b.italic && a.underline != b.underline &&
                    a.strikeOut != b.strikeOut && a.weight != b.weight && a.charset != b.charset)
            << "font " << i;
    }
}

TEST(ChartFileRoundTrip, PopulatedAndNewChartsComeBackIdentical)
{
    for (const ChartModel &original : {populatedModel(), ChartModel()}) {
        // Reading over a different chart shows that nothing of the earlier one is kept.
        ChartModel loaded = original == ChartModel() ? populatedModel() : ChartModel();
        const ChartFileResult result = ChartFile::fromJson(ChartFile::toJson(original), loaded);
        ASSERT_TRUE(result.ok()) << result.message.toStdString();
        EXPECT_TRUE(loaded == original);
    }
}

TEST(ChartFileRoundTrip, RandomBitPatternsComeBackBitForBit)
{
    ChartModel m;
    m.resizeGrid(40, 500);
    std::mt19937_64 random(20240611);
    for (auto *grid : {&m.values, &m.xValues}) {
        for (double &v : *grid) {
            v = std::bit_cast<double>(quint64(random()));
            if (std::isnan(v)) // NaN never equals itself; its own test covers it
                v = std::bit_cast<double>(quint64(random()) >> 2);
        }
    }
    ChartModel loaded;
    ASSERT_TRUE(ChartFile::fromJson(ChartFile::toJson(m), loaded).ok());
    ASSERT_EQ(loaded.values.size(), m.values.size());
    ASSERT_EQ(loaded.xValues.size(), m.xValues.size());
    EXPECT_EQ(std::memcmp(loaded.values.data(), m.values.data(), m.values.size() * sizeof(double)),
              0);
    EXPECT_EQ(
        std::memcmp(loaded.xValues.data(), m.xValues.data(), m.xValues.size() * sizeof(double)), 0);
}

struct DoubleCase
{
    const char *name;
    double value;
};

void PrintTo(const DoubleCase &c, std::ostream *os)
{
    *os << c.name;
}

class ChartFileDouble : public testing::TestWithParam<DoubleCase>
{
};

// Each value goes through every kind of double member the file holds.
TEST_P(ChartFileDouble, ComesBackBitForBit)
{
    const double v = GetParam().value;
    ChartModel m;
    m.resizeGrid(1, 1);
    m.values[0] = v;
    m.xValues[0] = v;
    m.axisValues[AxisYMin] = v;
    m.constants = {{v, QString()}};
    m.bands = {{v, v, 0}};
    m.fonts[0].pointSize = v;

    ChartModel loaded;
    const ChartFileResult result = ChartFile::fromJson(ChartFile::toJson(m), loaded);
    ASSERT_TRUE(result.ok()) << result.message.toStdString();
    const double back[] = {loaded.values[0],
                           loaded.xValues[0],
                           loaded.axisValues[AxisYMin],
                           loaded.constants.at(0).value,
                           loaded.bands.at(0).from,
                           loaded.bands.at(0).till,
                           loaded.fonts[0].pointSize};
    for (const double b : back) {
        if (std::isnan(v))
            EXPECT_TRUE(std::isnan(b)); // the payload is not kept
        else
            EXPECT_EQ(bitsOf(b), bitsOf(v)) << b;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, ChartFileDouble,
    testing::Values(DoubleCase{"Zero", 0.0}, DoubleCase{"MinusZero", -0.0},
                    DoubleCase{"Tenth", 0.1}, DoubleCase{"Third", 1.0 / 3.0},
                    DoubleCase{"EmptyPoint", EmptyPointValue},
                    DoubleCase{"AboveEmptyPoint", std::nextafter(EmptyPointValue, HUGE_VAL)},
                    DoubleCase{"BelowEmptyPoint", std::nextafter(EmptyPointValue, 0.0)},
                    DoubleCase{"Largest", std::numeric_limits<double>::max()},
                    DoubleCase{"SmallestNormal", std::numeric_limits<double>::min()},
                    DoubleCase{"SmallestSubnormal", std::numeric_limits<double>::denorm_min()},
                    DoubleCase{"NegativeSubnormal", -std::numeric_limits<double>::denorm_min()},
                    DoubleCase{"TwoPow53PlusTwo", 9007199254740994.0},
                    DoubleCase{"TwoPow63", 9223372036854775808.0},
                    DoubleCase{"MinusTwoPow63", -9223372036854775808.0},
                    DoubleCase{"TenPow22", 1e22}, DoubleCase{"NegativeInteger", -123456789012.0},
                    DoubleCase{"Infinity", std::numeric_limits<double>::infinity()},
                    DoubleCase{"MinusInfinity", -std::numeric_limits<double>::infinity()},
                    DoubleCase{"NaN", std::numeric_limits<double>::quiet_NaN()}),
    [](const testing::TestParamInfo<DoubleCase> &info) { return std::string(info.param.name); });

TEST(ChartFileRoundTrip, HandWrittenFileTakesDefaultsForWhatItLeavesOut)
{
    // As Notepad saves it: a byte order mark, CRLF line ends, a note of the editor's own.
    const QByteArray text =
        QByteArrayLiteral("\xEF\xBB\xBF{\r\n"
                          "  \"format\": \"qelPro-chart\",\r\n"
                          "  \"version\": 1,\r\n"
                          "  \"note\": \"手で書いた\",\r\n"
                          "  \"chart\": {\r\n"
                          "    \"seriesCount\": 2, \"pointCount\": 3,\r\n"
                          "    \"values\": [1, 2, 3, 4.5e0, 5, 3.4028234663852886e38],\r\n"
                          "    \"titles\": [\"\", \"\", \"体重\", \"\"],\r\n"
                          "    \"comment\": 12\r\n"
                          "  }\r\n"
                          "}\r\n");
    ChartModel loaded = populatedModel();
    const ChartFileResult result = ChartFile::fromJson(text, loaded);
    ASSERT_TRUE(result.ok()) << result.message.toStdString();

    ChartModel expected;
    expected.resizeGrid(2, 3);
    expected.values = {1, 2, 3, 4.5, 5, EmptyPointValue};
    expected.titles[2] = QStringLiteral("体重");
    // A file without a background gradient (every file of the first qelPro versions) leaves
    // the program's background painting as it was.
    expected.backgroundGradient = populatedModel().backgroundGradient;
    EXPECT_TRUE(loaded == expected);
    // The grid is series-major: the second series starts at the fourth value.
    EXPECT_EQ(loaded.value(1, 0), 4.5);
    EXPECT_TRUE(isEmptyPoint(loaded.value(1, 2)));
}

TEST(ChartFileRoundTrip, SaveThenLoadThroughAFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("グラフ.chf"));
    qel::test::writeFile(path, QByteArrayLiteral("an older file"));

    const ChartModel original = populatedModel();
    const ChartFileResult saved = ChartFile::save(original, path);
    ASSERT_TRUE(saved.ok()) << saved.message.toStdString();
    ChartModel loaded;
    const ChartFileResult result = ChartFile::load(path, loaded);
    ASSERT_TRUE(result.ok()) << result.message.toStdString();
    EXPECT_TRUE(loaded == original);
    // The temporary file of the atomic write is gone.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(ChartFileDamaged, EveryCutOfAFileIsRefusedAndLeavesTheModel)
{
    const QByteArray json = ChartFile::toJson(populatedModel()).trimmed();
    const qsizetype nameEnd = json.indexOf("\"qelPro-chart\"") + 14;
    ASSERT_GT(nameEnd, 14);
    const ChartModel before = ChartModel();
    for (qsizetype length = 0; length < json.size(); ++length) {
        ChartModel model = before;
        const ChartFileResult result = ChartFile::fromJson(json.left(length), model);
        // Before the format name nothing says whose file it is.
        const qint32 expected =
            length < nameEnd ? ChartFileResult::NotChartFile : ChartFileResult::Damaged;
        ASSERT_EQ(result.code, expected) << "cut at " << length;
        ASSERT_TRUE(model == before) << "cut at " << length;
    }
}

TEST(ChartFileDamaged, CutFileNamesTheFileAndWhereItBreaks)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("途中.chf"));
    const QByteArray json = ChartFile::toJson(populatedModel());
    qel::test::writeFile(path, json.left(json.size() / 2));

    ChartModel model = populatedModel();
    const ChartFileResult result = ChartFile::load(path, model);
    EXPECT_EQ(result.code, ChartFileResult::Damaged);
    EXPECT_TRUE(result.message.startsWith(QStringLiteral("図表ファイルが壊れています: ")));
    EXPECT_TRUE(result.message.contains(QDir::toNativeSeparators(path)));
    EXPECT_TRUE(result.message.contains(QStringLiteral("バイト目")));
    EXPECT_TRUE(model == populatedModel());
}

struct ForeignCase
{
    const char *name;
    QByteArray bytes;
};

void PrintTo(const ForeignCase &c, std::ostream *os)
{
    *os << c.name;
}

class ChartFileForeign : public testing::TestWithParam<ForeignCase>
{
};

TEST_P(ChartFileForeign, IsNotTakenForAChartFile)
{
    ChartModel model = populatedModel();
    const ChartFileResult result =
        ChartFile::fromJson(GetParam().bytes, model, QStringLiteral("x.chf"));
    EXPECT_EQ(result.code, ChartFileResult::NotChartFile);
    EXPECT_EQ(result.message, QStringLiteral("qelPro の図表ファイルではありません: x.chf"));
    EXPECT_TRUE(model == populatedModel());
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, ChartFileForeign,
    testing::Values(
        ForeignCase{"Empty", QByteArray()}, ForeignCase{"Blanks", QByteArrayLiteral(" \r\n\t ")},
        ForeignCase{"Garbage", rawBytes("\x00\x01\xFE\xFF{{[\x80garbage")},
        ForeignCase{"Png", rawBytes("\x89PNG\r\n\x1A\n\x00\x00\x00\rIHDR")},
        ForeignCase{"TableText", QByteArrayLiteral("系列\t1月\t2月\r\nA\t1\t2\r\n")},
        ForeignCase{"OtherJsonObject", QByteArrayLiteral("{\"name\": \"x\", \"values\": [1, 2]}")},
        ForeignCase{"JsonArray", QByteArrayLiteral("[1, 2, 3]")},
        ForeignCase{"JsonNumber", QByteArrayLiteral("42")},
        ForeignCase{"DeepNesting", QByteArray(200000, '[')},
        ForeignCase{"OtherFormatName",
                    QByteArrayLiteral("{\"format\": \"qelPro-table\", \"version\": 1}")},
        ForeignCase{"FormatAsNumber", QByteArrayLiteral("{\"format\": 1, \"version\": 1}")},
        // Saved again by an editor as UTF-16: none of our bytes are where they belong.
        ForeignCase{"Utf16", utf16Bytes(QStringLiteral("{\"format\": \"qelPro-chart\"}"))}),
    [](const testing::TestParamInfo<ForeignCase> &info) { return std::string(info.param.name); });

TEST(ChartFileNewer, LaterVersionIsRefusedWhateverItHolds)
{
    const QByteArray files[] = {
        QByteArrayLiteral("{\"format\": \"qelPro-chart\", \"version\": 2, \"chart\": {}}"),
        QByteArrayLiteral("{\"format\": \"qelPro-chart\", \"version\": 2, \"chart\": \"??\"}"),
        QByteArrayLiteral("{\"format\": \"qelPro-chart\", \"version\": 1000000}"),
    };
    for (const QByteArray &file : files) {
        ChartModel model = populatedModel();
        const ChartFileResult result = ChartFile::fromJson(file, model, QStringLiteral("新.chf"));
        EXPECT_EQ(result.code, ChartFileResult::Newer) << file.toStdString();
        EXPECT_EQ(
            result.message,
            QStringLiteral(
                "新しい版の qelPro で作られた図表ファイルです。この版では読めません: 新.chf"));
        EXPECT_TRUE(model == populatedModel());
    }
}

struct DamageCase
{
    const char *name;
    std::function<void(QJsonObject &top, QJsonObject &chart)> damage;
    const char *complaint; // a part of the message that says what is wrong
};

void PrintTo(const DamageCase &c, std::ostream *os)
{
    *os << c.name;
}

class ChartFileDamage : public testing::TestWithParam<DamageCase>
{
};

TEST_P(ChartFileDamage, IsRefusedNamingTheFaultAndLeavesTheModel)
{
    QJsonObject top = parsed(ChartFile::toJson(populatedModel()));
    QJsonObject chart = top.value(QStringLiteral("chart")).toObject();
    GetParam().damage(top, chart);
    if (top.value(QStringLiteral("chart")).isObject())
        top[QStringLiteral("chart")] = chart;

    ChartModel model;
    const ChartFileResult result =
        ChartFile::fromJson(serialised(top), model, QStringLiteral("d.chf"));
    EXPECT_EQ(result.code, ChartFileResult::Damaged);
    EXPECT_TRUE(result.message.startsWith(QStringLiteral("図表ファイルが壊れています: d.chf（")))
        << result.message.toStdString();
    EXPECT_TRUE(result.message.contains(QString::fromUtf8(GetParam().complaint)))
        << result.message.toStdString();
    EXPECT_TRUE(model == ChartModel());
}

namespace {

void setElement(QJsonObject &object, const QString &key, qsizetype index, const QJsonValue &value)
{
    QJsonArray array = object.value(key).toArray();
    array[index] = value;
    object[key] = array;
}

void setFontMember(QJsonObject &chart, qsizetype index, const QString &key, const QJsonValue &value)
{
    QJsonArray fonts = chart.value(QStringLiteral("fonts")).toArray();
    QJsonObject font = fonts.at(index).toObject();
    font[key] = value;
    fonts[index] = font;
    chart[QStringLiteral("fonts")] = fonts;
}

void setCounts(QJsonObject &chart, double series, double points)
{
    chart[QStringLiteral("seriesCount")] = series;
    chart[QStringLiteral("pointCount")] = points;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Members, ChartFileDamage,
    testing::Values(
        // Counts
        DamageCase{"SeriesCountAsText",
                   [](auto &, auto &c) { c[QStringLiteral("seriesCount")] = QStringLiteral("3"); },
                   "「seriesCount」の型が違います"},
        DamageCase{"SeriesCountFraction",
                   [](auto &, auto &c) { c[QStringLiteral("seriesCount")] = 2.5; },
                   "「seriesCount」の型が違います"},
        DamageCase{"SeriesCountNegative",
                   [](auto &, auto &c) { c[QStringLiteral("seriesCount")] = -1; },
                   "系列数 -1 が範囲外"},
        DamageCase{"SeriesCountAboveCap",
                   [](auto &, auto &c) { c[QStringLiteral("seriesCount")] = 32768; },
                   "系列数 32768 が範囲外"},
        DamageCase{"PointCountBeyondInt",
                   [](auto &, auto &c) { c[QStringLiteral("pointCount")] = 2147483648.0; },
                   "「pointCount」の値 2147483648 が範囲外"},
        DamageCase{"SeriesCountMissing",
                   [](auto &, auto &c) { c.remove(QStringLiteral("seriesCount")); },
                   "「seriesCount」がありません"},
        // Counts that would ask for more memory than any machine has: refused before allocating.
        DamageCase{"AbsurdGrid", [](auto &, auto &c) { setCounts(c, 32767, 2147483647); },
                   "大きすぎます"},
        DamageCase{"GridJustAboveCap", [](auto &, auto &c) { setCounts(c, 4001, 4000); },
                   "大きすぎます"},
        DamageCase{"PointsWithoutSeriesAboveCap",
                   [](auto &, auto &c) { setCounts(c, 0, 16000001); }, "大きすぎます"},
        DamageCase{"LargeCountsWithFewValues", [](auto &, auto &c) { setCounts(c, 4000, 4000); },
                   "「values」の要素数が 12 です（16000000 個のはず"},
        // Value grid
        DamageCase{"ValuesMissing", [](auto &, auto &c) { c.remove(QStringLiteral("values")); },
                   "「values」がありません"},
        DamageCase{"ValuesShort",
                   [](auto &, auto &c) {
                       QJsonArray a = c[QStringLiteral("values")].toArray();
                       a.removeLast();
                       c[QStringLiteral("values")] = a;
                   },
                   "「values」の要素数が 11 です"},
        DamageCase{"ValuesNotArray",
                   [](auto &, auto &c) { c[QStringLiteral("values")] = QStringLiteral("1,2,3"); },
                   "「values」の型が違います"},
        DamageCase{"ValueAsText",
                   [](auto &, auto &c) {
                       setElement(c, QStringLiteral("values"), 3, QStringLiteral("12"));
                   },
                   "「values[3]」の型が違います"},
        DamageCase{
            "ValueNull",
            [](auto &, auto &c) { setElement(c, QStringLiteral("values"), 0, QJsonValue()); },
            "「values[0]」の型が違います"},
        DamageCase{"ValueBool",
                   [](auto &, auto &c) { setElement(c, QStringLiteral("values"), 1, true); },
                   "「values[1]」の型が違います"},
        DamageCase{"ValueLowerCaseInf",
                   [](auto &, auto &c) {
                       setElement(c, QStringLiteral("values"), 2, QStringLiteral("inf"));
                   },
                   "「values[2]」の型が違います"},
        DamageCase{"XValuesLong",
                   [](auto &, auto &c) {
                       QJsonArray a = c[QStringLiteral("xValues")].toArray();
                       a.append(1);
                       c[QStringLiteral("xValues")] = a;
                   },
                   "「xValues」の要素数が 13 です"},
        // Per-point and per-series lists
        DamageCase{"PointCaptionsShort",
                   [](auto &, auto &c) {
                       c[QStringLiteral("pointCaptions")] = QJsonArray{QStringLiteral("a")};
                   },
                   "「pointCaptions」の要素数が 1 です（4 個のはず"},
        DamageCase{"PointCaptionNumber",
                   [](auto &, auto &c) { setElement(c, QStringLiteral("pointCaptions"), 1, 5); },
                   "「pointCaptions[1]」の型が違います"},
        DamageCase{"MarkerStylesLong",
                   [](auto &, auto &c) {
                       c[QStringLiteral("markerStyles")] = QJsonArray{0, 0, 0, 0};
                   },
                   "「markerStyles」の要素数"},
        DamageCase{"MarkerStyleBeyondShort",
                   [](auto &, auto &c) { setElement(c, QStringLiteral("markerStyles"), 0, 40000); },
                   "「markerStyles[0]」の値 40000 が範囲外"},
        DamageCase{"SeriesColorsEmpty",
                   [](auto &, auto &c) { c[QStringLiteral("seriesColors")] = QJsonArray(); },
                   "「seriesColors」が空"},
        DamageCase{"TitlesThree",
                   [](auto &, auto &c) {
                       c[QStringLiteral("titles")] = QJsonArray{
                           QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
                   },
                   "「titles」の要素数が 3 です（4 個のはず"},
        // Colours and flags
        DamageCase{"ColourNegative", [](auto &, auto &c) { c[QStringLiteral("backColorA")] = -1; },
                   "「backColorA」の値 -1 が範囲外"},
        DamageCase{"ColourBeyond32Bits",
                   [](auto &, auto &c) { c[QStringLiteral("backColorB")] = 4294967296.0; },
                   "「backColorB」の値 4294967296 が範囲外"},
        DamageCase{"FlagAsNumber", [](auto &, auto &c) { c[QStringLiteral("view3D")] = 1; },
                   "「view3D」の型が違います"},
        DamageCase{"TextAsNull",
                   [](auto &, auto &c) { c[QStringLiteral("clickLog")] = QJsonValue(); },
                   "「clickLog」の型が違います"},
        // Fonts, constants, bands
        DamageCase{"FiveFonts",
                   [](auto &, auto &c) {
                       QJsonArray a = c[QStringLiteral("fonts")].toArray();
                       a.removeLast();
                       c[QStringLiteral("fonts")] = a;
                   },
                   "「fonts」の要素数が 5 です（6 個のはず"},
        DamageCase{"FontWeightAsText",
                   [](auto &, auto &c) {
                       setFontMember(c, 2, QStringLiteral("weight"), QStringLiteral("bold"));
                   },
                   "「fonts[2].weight」の型が違います"},
        DamageCase{"GradientNotObject",
                   [](auto &, auto &c) { c[QStringLiteral("backgroundGradient")] = 4; },
                   "「backgroundGradient」の型が違います"},
        DamageCase{"GradientKindAsText",
                   [](auto &, auto &c) {
                       QJsonObject g = c[QStringLiteral("backgroundGradient")].toObject();
                       g[QStringLiteral("kind")] = QStringLiteral("box");
                       c[QStringLiteral("backgroundGradient")] = g;
                   },
                   "「backgroundGradient.kind」の型が違います"},
        DamageCase{"GradientColourBeyondWord",
                   [](auto &, auto &c) {
                       QJsonObject g = c[QStringLiteral("backgroundGradient")].toObject();
                       g[QStringLiteral("color2")] = 4294967296.0;
                       c[QStringLiteral("backgroundGradient")] = g;
                   },
                   "「backgroundGradient.color2」の値 4294967296 が範囲外"},
        DamageCase{"FontNotObject",
                   [](auto &, auto &c) { setElement(c, QStringLiteral("fonts"), 1, 3); },
                   "「fonts[1]」の型が違います"},
        DamageCase{"ConstantNotObject",
                   [](auto &, auto &c) { setElement(c, QStringLiteral("constants"), 0, 5); },
                   "「constants[0]」の型が違います"},
        DamageCase{"BandColourFraction",
                   [](auto &, auto &c) {
                       setElement(c, QStringLiteral("bands"), 0,
                                  QJsonObject{{QStringLiteral("color"), 1.5}});
                   },
                   "「bands[0].color」の型が違います"},
        // Maps
        DamageCase{"AxisValueKeyNotNumber",
                   [](auto &, auto &c) {
                       c[QStringLiteral("axisValues")] = QJsonObject{{QStringLiteral("y"), 1}};
                   },
                   "「axisValues」のキー「y」が整数ではありません"},
        DamageCase{"AxisValueKeyLeadingZero",
                   [](auto &, auto &c) {
                       c[QStringLiteral("axisValues")] = QJsonObject{{QStringLiteral("01"), 1}};
                   },
                   "「axisValues」のキー「01」が整数ではありません"},
        DamageCase{"AxisValueAsText",
                   [](auto &, auto &c) {
                       c[QStringLiteral("axisValues")] =
                           QJsonObject{{QStringLiteral("0"), QStringLiteral("5")}};
                   },
                   "「axisValues.0」の型が違います"},
        DamageCase{"IndexedColorKeyBeyondInt",
                   [](auto &, auto &c) {
                       c[QStringLiteral("indexedColors")] =
                           QJsonObject{{QStringLiteral("99999999999"), 1}};
                   },
                   "キー「99999999999」が整数ではありません"},
        DamageCase{"MapAsArray",
                   [](auto &, auto &c) { c[QStringLiteral("axisDecimals")] = QJsonArray{1}; },
                   "「axisDecimals」の型が違います"},
        // Top level
        DamageCase{"ChartMissing", [](auto &t, auto &) { t.remove(QStringLiteral("chart")); },
                   "「chart」がありません"},
        DamageCase{"ChartNotObject",
                   [](auto &t, auto &) { t[QStringLiteral("chart")] = QJsonArray(); },
                   "「chart」の型が違います"},
        DamageCase{"VersionMissing", [](auto &t, auto &) { t.remove(QStringLiteral("version")); },
                   "「version」がありません"},
        DamageCase{"VersionAsText",
                   [](auto &t, auto &) { t[QStringLiteral("version")] = QStringLiteral("1"); },
                   "「version」の型が違います"},
        DamageCase{"VersionFraction", [](auto &t, auto &) { t[QStringLiteral("version")] = 1.5; },
                   "「version」の型が違います"},
        DamageCase{"VersionZero", [](auto &t, auto &) { t[QStringLiteral("version")] = 0; },
                   "「version」の値 0 が範囲外"}),
    [](const testing::TestParamInfo<DamageCase> &info) { return std::string(info.param.name); });

TEST(ChartFileDamaged, OversizedFileIsRefusedUnread)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Sparse files: nothing of their size is written to the disk.
    const QString ours = dir.filePath(QStringLiteral("ours.chf"));
    const QString other = dir.filePath(QStringLiteral("other.chf"));
    qel::test::writeFile(ours, headerWith(QByteArrayLiteral("{")));
    qel::test::writeFile(other, QByteArrayLiteral("MZ"));
    for (const QString &path : {ours, other}) {
        QFile file(path);
        ASSERT_TRUE(file.resize(ChartFile::MaxFileSize + 1));
    }

    ChartModel model = populatedModel();
    ChartFileResult result = ChartFile::load(ours, model);
    EXPECT_EQ(result.code, ChartFileResult::Damaged);
    EXPECT_TRUE(result.message.contains(QStringLiteral("大きすぎます")))
        << result.message.toStdString();
    result = ChartFile::load(other, model);
    EXPECT_EQ(result.code, ChartFileResult::NotChartFile);
    EXPECT_TRUE(model == populatedModel());
}

TEST(ChartFileUnreadable, MissingFolderOrLockedFileIsReportedAsUnreadable)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString locked = dir.filePath(QStringLiteral("locked.chf"));
    qel::test::writeFile(locked, ChartFile::toJson(ChartModel()));
    QFile::setPermissions(locked, QFileDevice::Permissions());

    const QString paths[] = {dir.filePath(QStringLiteral("ありません.chf")), dir.path(),
                             dir.filePath(QStringLiteral("no/such/folder.chf")), locked};
    for (const QString &path : paths) {
        if (path == locked && ::geteuid() == 0)
            continue; // root reads any file
        ChartModel model = populatedModel();
        const ChartFileResult result = ChartFile::load(path, model);
        EXPECT_EQ(result.code, ChartFileResult::Unreadable) << path.toStdString();
        EXPECT_TRUE(result.message.startsWith(QStringLiteral("図表ファイルを読めません: ") +
                                              QDir::toNativeSeparators(path)))
            << result.message.toStdString();
        EXPECT_TRUE(model == populatedModel());
    }
}

struct WriteFailureCase
{
    const char *name;
    // Prepares the temporary folder and returns the path to save to.
    std::function<QString(const QString &dir)> prepare;
    bool needsNonRoot;
};

void PrintTo(const WriteFailureCase &c, std::ostream *os)
{
    *os << c.name;
}

class ChartFileUnwritable : public testing::TestWithParam<WriteFailureCase>
{
};

TEST_P(ChartFileUnwritable, FailsWithoutTouchingTheFolder)
{
    if (GetParam().needsNonRoot && ::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = GetParam().prepare(dir.path());
    const QStringList before = listing(dir.path());

    const ChartFileResult result = ChartFile::save(populatedModel(), path);
    const QStringList after = listing(dir.path());
    const QString earlier = dir.filePath(QStringLiteral("ro/old.chf"));
    const QByteArray earlierContent =
        QFile::exists(earlier) ? qel::test::readFile(earlier) : QByteArray();
    QFile::setPermissions(dir.filePath(QStringLiteral("ro")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    EXPECT_EQ(result.code, ChartFileResult::Unwritable);
    EXPECT_TRUE(result.message.startsWith(QStringLiteral("図表ファイルを書き込めません: ") +
                                          QDir::toNativeSeparators(path)))
        << result.message.toStdString();
    // Nothing is left behind, and an earlier file keeps its content.
    EXPECT_EQ(after, before);
    if (QFile::exists(earlier)) {
        EXPECT_EQ(earlierContent, QByteArrayLiteral("earlier"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ChartFileUnwritable,
    testing::Values(
        WriteFailureCase{"FolderMissing",
                         [](const QString &dir) { return dir + QStringLiteral("/no/a.chf"); },
                         false},
        WriteFailureCase{"PathIsAFolder",
                         [](const QString &dir) {
                             QDir(dir).mkpath(QStringLiteral("a.chf"));
                             return dir + QStringLiteral("/a.chf");
                         },
                         false},
        WriteFailureCase{"ParentIsAFile",
                         [](const QString &dir) {
                             qel::test::writeFile(dir + QStringLiteral("/plain"),
                                                  QByteArrayLiteral("x"));
                             return dir + QStringLiteral("/plain/a.chf");
                         },
                         false},
        WriteFailureCase{"ReadOnlyFolder",
                         [](const QString &dir) {
                             QDir(dir).mkpath(QStringLiteral("ro"));
                             const QString path = dir + QStringLiteral("/ro/old.chf");
                             qel::test::writeFile(path, QByteArrayLiteral("earlier"));
                             QFile::setPermissions(dir + QStringLiteral("/ro"),
                                                   QFileDevice::ReadOwner | QFileDevice::ExeOwner);
                             return path;
                         },
                         true}),
    [](const testing::TestParamInfo<WriteFailureCase> &info) {
        return std::string(info.param.name);
    });

struct UnstorableCase
{
    const char *name;
    std::function<void(ChartModel &)> spoil;
    const char *complaint;
};

void PrintTo(const UnstorableCase &c, std::ostream *os)
{
    *os << c.name;
}

class ChartFileUnstorable : public testing::TestWithParam<UnstorableCase>
{
};

// A chart whose sizes disagree would make a file that cannot be read back: it is not written.
TEST_P(ChartFileUnstorable, IsNotWrittenOverTheEarlierFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("a.chf"));
    qel::test::writeFile(path, QByteArrayLiteral("earlier"));
    ChartModel model = populatedModel();
    GetParam().spoil(model);

    EXPECT_FALSE(ChartFile::canStore(model));
    const ChartFileResult result = ChartFile::save(model, path);
    EXPECT_EQ(result.code, ChartFileResult::Unwritable);
    EXPECT_TRUE(result.message.contains(QString::fromUtf8(GetParam().complaint)))
        << result.message.toStdString();
    EXPECT_EQ(qel::test::readFile(path), QByteArrayLiteral("earlier"));
}

INSTANTIATE_TEST_SUITE_P(
    Models, ChartFileUnstorable,
    testing::Values(UnstorableCase{"ValuesShort", [](ChartModel &m) { m.values.pop_back(); },
                                   "「values」の要素数が 11 です"},
                    UnstorableCase{
                        "CaptionsLong",
                        [](ChartModel &m) { m.pointCaptions.append(QStringLiteral("余分")); },
                        "「pointCaptions」の要素数が 5 です"},
                    UnstorableCase{"SecondAxisShort", [](ChartModel &m) { m.secondYAxis.clear(); },
                                   "「secondYAxis」の要素数が 0 です"},
                    UnstorableCase{"NoSeriesColours", [](ChartModel &m) { m.seriesColors.clear(); },
                                   "「seriesColors」が空"},
                    UnstorableCase{"TooManySeries", [](ChartModel &m) { m.seriesCount = 40000; },
                                   "系列数 40000 が範囲外"}),
    [](const testing::TestParamInfo<UnstorableCase> &info) {
        return std::string(info.param.name);
    });

// A chart name that leads to a FIFO or a device is neither read (it would hang or never end)
// nor replaced by the save (the node would become a regular file).
TEST(ChartFileSpecialFiles, NoRegularFileIsNeitherReadNorReplaced)
{
    struct Row
    {
        const char *name;
        QString (*make)(const QDir &dir);
        bool canSaveTo; // false: refused before anything is touched
    };
    const Row rows[] = {
        {"fifo", [](const QDir &d) { return qel::test::makeFifo(d, QStringLiteral("a.chf")); },
         false},
        {"link to fifo",
         [](const QDir &d) {
             return qel::test::makeLink(d, QStringLiteral("a.chf"),
                                        qel::test::makeFifo(d, QStringLiteral("pipe")));
         },
         false},
        {"socket", [](const QDir &d) { return qel::test::makeSocket(d, QStringLiteral("a.chf")); },
         false},
    };
    for (const Row &row : rows) {
        QTemporaryDir dir;
        const QString path = row.make(QDir(dir.path()));
        const QString kind = qel::test::kindOf(path);
        const QStringList before = listing(dir.path());
        ChartModel model = populatedModel();
        ChartFileResult result = ChartFile::load(path, model);
        EXPECT_EQ(result.code, ChartFileResult::Unreadable) << row.name;
        EXPECT_TRUE(result.message.contains(qel::os::FileAccess::notRegularText())) << row.name;
        EXPECT_TRUE(model == populatedModel()) << row.name;

        result = ChartFile::save(populatedModel(), path);
        EXPECT_EQ(result.code, ChartFileResult::Unwritable) << row.name;
        EXPECT_TRUE(
            result.message.startsWith(QStringLiteral("図表ファイルを書き込めません: ") + path))
            << row.name << result.message.toStdString();
        EXPECT_EQ(qel::test::kindOf(path), kind) << row.name;
        EXPECT_EQ(listing(dir.path()), before) << row.name;
    }
}

TEST(ChartFileSpecialFiles, LinkToADeviceIsNotRead)
{
    QTemporaryDir dir;
    const QString path =
        qel::test::makeLink(QDir(dir.path()), QStringLiteral("a.chf"), QStringLiteral("/dev/zero"));
    ChartModel model = populatedModel();
    const ChartFileResult result = ChartFile::load(path, model);
    EXPECT_EQ(result.code, ChartFileResult::Unreadable);
    EXPECT_TRUE(model == populatedModel());
}

TEST(ChartFileSpecialFiles, SaveThroughALinkWritesItsTargetAndKeepsTheLink)
{
    QTemporaryDir dir;
    const QDir d(dir.path());
    d.mkdir(QStringLiteral("charts"));
    const QString target = d.filePath(QStringLiteral("charts/real.chf"));
    qel::test::writeFile(target, QByteArrayLiteral("earlier"));
    const QString link = qel::test::makeLink(d, QStringLiteral("a.chf"), target);

    ASSERT_TRUE(ChartFile::save(populatedModel(), link).ok());
    EXPECT_EQ(qel::test::kindOf(link), QStringLiteral("link"));
    ChartModel loaded;
    ASSERT_TRUE(ChartFile::load(target, loaded).ok());
    EXPECT_TRUE(loaded == populatedModel());
}
