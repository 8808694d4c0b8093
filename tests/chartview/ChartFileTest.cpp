#include "chartview/render/ChartFile.h"

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

// A literal with its embedded zero bytes, without the terminating one.
template <std::size_t N> QByteArray rawBytes(const char (&text)[N])
{
    return QByteArray(text, qsizetype(N - 1));
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

} // namespace

TEST(ChartFileRoundTrip, FixtureChangesEveryMember)
{
    // If ChartModel gains a member, store it in ChartFile and change it in populatedModel().
    if constexpr (sizeof(void *) == 8) {
        EXPECT_EQ(sizeof(ChartModel), 952u) << "ChartModel changed";
    }
    const ChartModel d;
    const ChartModel m = populatedModel();
#define DIFFERS(member) std::pair<const char *, bool>(#member, m.member != d.member)
    // clang-format off
    const std::pair<const char *, bool> differs[] = {
        DIFFERS(seriesCount), DIFFERS(pointCount), DIFFERS(values), DIFFERS(xValues),
        DIFFERS(pointCaptions), DIFFERS(seriesCaptions), DIFFERS(titles), DIFFERS(seriesColors),
        DIFFERS(seriesAttrColors), DIFFERS(markerStyles), DIFFERS(defaultMarkerStyle),
        DIFFERS(secondYAxis), DIFFERS(constants), DIFFERS(constantStyle), DIFFERS(bands),
        DIFFERS(axisValues), DIFFERS(axisDecimals), DIFFERS(queryAxis), DIFFERS(lineWidths),
        DIFFERS(lineColors), DIFFERS(wallWidth), DIFFERS(spacing), DIFFERS(view3D),
        DIFFERS(viewAngles), DIFFERS(pointGap), DIFFERS(depth3D), DIFFERS(backColorA),
        DIFFERS(backColorB), DIFFERS(backColorC), DIFFERS(indexedColors),
        DIFFERS(backgroundGradient.on), DIFFERS(backgroundGradient.kind),
        DIFFERS(backgroundGradient.color1), DIFFERS(backgroundGradient.color2), DIFFERS(clickLog),
        DIFFERS(cursorMode), DIFFERS(chartType), DIFFERS(layoutBits), DIFFERS(printBits),
        DIFFERS(axisBits), DIFFERS(hasXValues), DIFFERS(gradientOn), DIFFERS(dragActive),
        DIFFERS(layoutPairs), DIFFERS(member1), DIFFERS(member37), DIFFERS(member39),
        DIFFERS(resourceLibrary)};
    // clang-format on
#undef DIFFERS
    for (const auto &[name, changed] : differs)
        EXPECT_TRUE(changed) << name;
    for (std::size_t i = 0; i < ChartTextCount; ++i) {
        const ChartFontSpec &a = m.fonts[i], &b = d.fonts[i];
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
    // Through a file, over an older one: the temporary file of the atomic write is gone.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("グラフ.chf"));
    qel::test::writeFile(path, QByteArrayLiteral("an older file"));
    ASSERT_TRUE(ChartFile::save(populatedModel(), path).ok());
    ChartModel loaded;
    ASSERT_TRUE(ChartFile::load(path, loaded).ok());
    EXPECT_TRUE(loaded == populatedModel());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(ChartFileRoundTrip, RandomBitPatternsComeBackBitForBit)
{
    ChartModel m;
    m.resizeGrid(40, 500);
    std::mt19937_64 random(20240611);
    for (auto *grid : {&m.values, &m.xValues}) {
        for (float &v : *grid) {
            v = std::bit_cast<float>(quint32(random()));
            if (std::isnan(v)) // NaN never equals itself; the table below covers it
                v = std::bit_cast<float>(quint32(random()) >> 2);
        }
    }
    ChartModel loaded;
    ASSERT_TRUE(ChartFile::fromJson(ChartFile::toJson(m), loaded).ok());
    ASSERT_EQ(loaded.values.size(), m.values.size());
    ASSERT_EQ(loaded.xValues.size(), m.xValues.size());
    EXPECT_EQ(std::memcmp(loaded.values.data(), m.values.data(), m.values.size() * sizeof(float)),
              0);
    EXPECT_EQ(
        std::memcmp(loaded.xValues.data(), m.xValues.data(), m.xValues.size() * sizeof(float)), 0);
}

// Each value goes through every kind of double member the file holds.
TEST(ChartFileRoundTrip, EveryKindOfDoubleComesBackBitForBit)
{
    using L = std::numeric_limits<double>;
    // clang-format off
    const double values[] = {0.0, -0.0, 0.1, 1.0 / 3.0, EmptyPointValue,
                             std::nextafter(EmptyPointValue, HUGE_VAL),
                             std::nextafter(EmptyPointValue, 0.0), L::max(), L::min(),
                             L::denorm_min(), -L::denorm_min(), 9007199254740994.0,
                             9223372036854775808.0, -9223372036854775808.0, 1e22, -123456789012.0,
                             L::infinity(), -L::infinity(), L::quiet_NaN()};
    // clang-format on
    for (const double v : values) {
        ChartModel m;
        m.resizeGrid(1, 1);
        m.axisValues[AxisYMin] = m.fonts[0].pointSize = v;
        m.values[0] = m.xValues[0] = float(v);
        m.constants = {{v, QString()}};
        m.bands = {{v, v, 0}};
        ChartModel loaded;
        const ChartFileResult result = ChartFile::fromJson(ChartFile::toJson(m), loaded);
        ASSERT_TRUE(result.ok()) << v << " " << result.message.toStdString();
        for (const double b :
             {loaded.axisValues[AxisYMin], loaded.constants.at(0).value, loaded.bands.at(0).from,
              loaded.bands.at(0).till, loaded.fonts[0].pointSize}) {
            if (std::isnan(v))
                EXPECT_TRUE(std::isnan(b)); // the payload is not kept
            else
                EXPECT_EQ(std::bit_cast<quint64>(b), std::bit_cast<quint64>(v)) << v;
        }
        // The chart's values are singles.
        for (const float b : {loaded.values[0], loaded.xValues[0]}) {
            if (std::isnan(v))
                EXPECT_TRUE(std::isnan(b));
            else
                EXPECT_EQ(std::bit_cast<quint32>(b), std::bit_cast<quint32>(float(v))) << v;
        }
    }
}

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

TEST(ChartFileDamaged, EveryCutOfAFileIsRefusedAndLeavesTheModel)
{
    const QByteArray json = ChartFile::toJson(populatedModel()).trimmed();
    const qsizetype nameEnd = json.indexOf("\"qelPro-chart\"") + 14;
    ASSERT_GT(nameEnd, 14);
    for (qsizetype length = 0; length < json.size(); ++length) {
        ChartModel model;
        const ChartFileResult result = ChartFile::fromJson(json.left(length), model);
        // Before the format name nothing says whose file it is.
        ASSERT_EQ(result.code,
                  length < nameEnd ? ChartFileResult::NotChartFile : ChartFileResult::Damaged)
            << "cut at " << length;
        ASSERT_TRUE(model == ChartModel()) << "cut at " << length;
    }
    // Read from a file, the message names it and where it breaks.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("途中.chf"));
    qel::test::writeFile(path, json.left(json.size() / 2));
    ChartModel model = populatedModel();
    const ChartFileResult result = ChartFile::load(path, model);
    EXPECT_EQ(result.code, ChartFileResult::Damaged);
    EXPECT_TRUE(result.message.startsWith(QStringLiteral("図表ファイルが壊れています: ") + path));
    EXPECT_TRUE(result.message.contains(QStringLiteral("バイト目")));
    EXPECT_TRUE(model == populatedModel());
}

TEST(ChartFileDamaged, ForeignFilesAreNotTakenForChartFiles)
{
    const QString utf16 = QStringLiteral("{\"format\": \"qelPro-chart\"}");
    const QByteArray files[] = {
        QByteArray(), " \r\n\t ", rawBytes("\x00\x01\xFE\xFF{{[\x80garbage"),
        rawBytes("\x89PNG\r\n\x1A\n\x00\x00\x00\rIHDR"), "系列\t1月\t2月\r\nA\t1\t2\r\n",
        "{\"name\": \"x\", \"values\": [1, 2]}", "[1, 2, 3]", "42", QByteArray(200000, '['),
        "{\"format\": \"qelPro-table\", \"version\": 1}", "{\"format\": 1, \"version\": 1}",
        // Saved again by an editor as UTF-16: none of our bytes are where they belong.
        QByteArray(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2)};
    for (const QByteArray &bytes : files) {
        ChartModel model = populatedModel();
        const ChartFileResult result = ChartFile::fromJson(bytes, model, QStringLiteral("x.chf"));
        EXPECT_EQ(result.code, ChartFileResult::NotChartFile) << bytes.left(40).toStdString();
        EXPECT_EQ(result.message, QStringLiteral("qelPro の図表ファイルではありません: x.chf"));
        EXPECT_TRUE(model == populatedModel());
    }
}

TEST(ChartFileDamaged, LaterVersionIsRefusedWhateverItHolds)
{
    for (const char *file : {"{\"format\": \"qelPro-chart\", \"version\": 2, \"chart\": {}}",
                             "{\"format\": \"qelPro-chart\", \"version\": 2, \"chart\": \"??\"}",
                             "{\"format\": \"qelPro-chart\", \"version\": 1000000}"}) {
        ChartModel model = populatedModel();
        const ChartFileResult result = ChartFile::fromJson(file, model, QStringLiteral("新.chf"));
        EXPECT_EQ(result.code, ChartFileResult::Newer) << file;
        EXPECT_EQ(
            result.message,
            QStringLiteral(
                "新しい版の qelPro で作られた図表ファイルです。この版では読めません: 新.chf"));
        EXPECT_TRUE(model == populatedModel());
    }
}

namespace {

// Applies "key=json" changes, separated by blanks, to the saved populated chart: a key names
// a member of "chart" ("/key" one of the top level) with an optional [index] and .member;
// the value "-" removes it, "pop" and "push" shorten and lengthen an array.
QByteArray damaged(const char *changes)
{
    QJsonObject top = QJsonDocument::fromJson(ChartFile::toJson(populatedModel())).object();
    for (const QString &change : QString::fromUtf8(changes).split(u' ')) {
        const qsizetype eq = change.indexOf(u'=');
        QString key = change.left(eq), member;
        const QString value = change.mid(eq + 1);
        const bool atTop = key.startsWith(u'/');
        QJsonObject object = atTop ? top : top.value(QStringLiteral("chart")).toObject();
        key.remove(0, atTop ? 1 : 0);
        qsizetype index = -1;
        if (const qsizetype open = key.indexOf(u'['); open > 0) {
            member = key.mid(key.indexOf(u']') + 2);
            index = key.mid(open + 1, key.indexOf(u']') - open - 1).toInt();
            key.truncate(open);
        } else if (const qsizetype dot = key.indexOf(u'.'); dot > 0) {
            member = key.mid(dot + 1);
            key.truncate(dot);
        }
        const QJsonValue json = QJsonDocument::fromJson("[" + value.toUtf8() + "]").array().at(0);
        QJsonArray array = object.value(key).toArray();
        if (value == u"-") {
            object.remove(key);
        } else if (value == u"pop" || value == u"push") {
            value == u"pop" ? array.removeLast() : array.append(1);
            object[key] = array;
        } else if (index < 0 && member.isEmpty()) {
            object[key] = json;
        } else if (index < 0) {
            QJsonObject inner = object.value(key).toObject();
            inner[member] = json;
            object[key] = inner;
        } else {
            if (member.isEmpty()) {
                array[index] = json;
            } else {
                QJsonObject element = array.at(index).toObject();
                element[member] = json;
                array[index] = element;
            }
            object[key] = array;
        }
        if (atTop)
            top = object;
        else
            top[QStringLiteral("chart")] = object;
    }
    return QJsonDocument(top).toJson();
}

} // namespace

TEST(ChartFileDamaged, IsRefusedNamingTheFaultAndLeavesTheModel)
{
    const struct
    {
        const char *changes;
        const char *complaint; // a part of the message that says what is wrong
    } rows[] = {
        // Counts, and counts that would ask for more memory than any machine has
        {"seriesCount=\"3\"", "「seriesCount」の型が違います"},
        {"seriesCount=2.5", "「seriesCount」の型が違います"},
        {"seriesCount=-1", "系列数 -1 が範囲外"},
        {"seriesCount=32768", "系列数 32768 が範囲外"},
        {"pointCount=2147483648", "「pointCount」の値 2147483648 が範囲外"},
        {"seriesCount=-", "「seriesCount」がありません"},
        {"seriesCount=32767 pointCount=2147483647", "大きすぎます"},
        {"seriesCount=4001 pointCount=4000", "大きすぎます"},
        {"seriesCount=0 pointCount=16000001", "大きすぎます"},
        {"seriesCount=4000 pointCount=4000", "「values」の要素数が 12 です（16000000 個のはず"},
        // Value grid
        {"values=-", "「values」がありません"},
        {"values=pop", "「values」の要素数が 11 です"},
        {"values=\"1,2,3\"", "「values」の型が違います"},
        {"values[3]=\"12\"", "「values[3]」の型が違います"},
        {"values[0]=null", "「values[0]」の型が違います"},
        {"values[1]=true", "「values[1]」の型が違います"},
        {"values[2]=\"inf\"", "「values[2]」の型が違います"},
        {"xValues=push", "「xValues」の要素数が 13 です"},
        // Per-point and per-series lists
        {"pointCaptions=[\"a\"]", "「pointCaptions」の要素数が 1 です（4 個のはず"},
        {"pointCaptions[1]=5", "「pointCaptions[1]」の型が違います"},
        {"markerStyles=[0,0,0,0]", "「markerStyles」の要素数"},
        {"markerStyles[0]=40000", "「markerStyles[0]」の値 40000 が範囲外"},
        {"seriesColors=[]", "「seriesColors」が空"},
        {"titles=[\"a\",\"b\",\"c\"]", "「titles」の要素数が 3 です（4 個のはず"},
        // Colours and flags
        {"backColorA=-1", "「backColorA」の値 -1 が範囲外"},
        {"backColorB=4294967296", "「backColorB」の値 4294967296 が範囲外"},
        {"view3D=1", "「view3D」の型が違います"},
        {"clickLog=null", "「clickLog」の型が違います"},
        // Fonts, constants, bands
        {"fonts=pop", "「fonts」の要素数が 5 です（6 個のはず"},
        {"fonts[2].weight=\"bold\"", "「fonts[2].weight」の型が違います"},
        {"fonts[1]=3", "「fonts[1]」の型が違います"},
        {"constants[0]=5", "「constants[0]」の型が違います"},
        {"bands[0]={\"color\":1.5}", "「bands[0].color」の型が違います"},
        // The background gradient
        {"backgroundGradient=4", "「backgroundGradient」の型が違います"},
        {"backgroundGradient.kind=\"box\"", "「backgroundGradient.kind」の型が違います"},
        {"backgroundGradient.color2=4294967296",
         "「backgroundGradient.color2」の値 4294967296 が範囲外"},
        // Maps
        {"axisValues={\"y\":1}", "「axisValues」のキー「y」が整数ではありません"},
        {"axisValues={\"01\":1}", "「axisValues」のキー「01」が整数ではありません"},
        {"axisValues={\"0\":\"5\"}", "「axisValues.0」の型が違います"},
        {"indexedColors={\"99999999999\":1}", "キー「99999999999」が整数ではありません"},
        {"axisDecimals=[1]", "「axisDecimals」の型が違います"},
        // Top level
        {"/chart=-", "「chart」がありません"},
        {"/chart=[]", "「chart」の型が違います"},
        {"/version=-", "「version」がありません"},
        {"/version=\"1\"", "「version」の型が違います"},
        {"/version=1.5", "「version」の型が違います"},
        {"/version=0", "「version」の値 0 が範囲外"},
    };
    for (const auto &row : rows) {
        ChartModel model;
        const ChartFileResult result =
            ChartFile::fromJson(damaged(row.changes), model, QStringLiteral("d.chf"));
        EXPECT_EQ(result.code, ChartFileResult::Damaged) << row.changes;
        EXPECT_TRUE(
            result.message.startsWith(QStringLiteral("図表ファイルが壊れています: d.chf（")))
            << row.changes << " " << result.message.toStdString();
        EXPECT_TRUE(result.message.contains(QString::fromUtf8(row.complaint)))
            << row.changes << " " << result.message.toStdString();
        EXPECT_TRUE(model == ChartModel()) << row.changes;
    }
}

TEST(ChartFileDamaged, OversizedFileIsRefusedUnread)
{
    QTemporaryDir dir;
    // Sparse files: nothing of their size is written to the disk.
    const QString ours = dir.filePath(QStringLiteral("ours.chf"));
    const QString other = dir.filePath(QStringLiteral("other.chf"));
    qel::test::writeFile(ours, "{\"format\": \"qelPro-chart\", \"version\": 1, \"chart\": {");
    qel::test::writeFile(other, "MZ");
    for (const QString &path : {ours, other})
        ASSERT_TRUE(QFile(path).resize(ChartFile::MaxFileSize + 1));
    ChartModel model = populatedModel();
    ChartFileResult result = ChartFile::load(ours, model);
    EXPECT_EQ(result.code, ChartFileResult::Damaged);
    EXPECT_TRUE(result.message.contains(QStringLiteral("大きすぎます")))
        << result.message.toStdString();
    EXPECT_EQ(ChartFile::load(other, model).code, ChartFileResult::NotChartFile);
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

TEST(ChartFileUnwritable, FailsWithoutTouchingTheFolderOrTheEarlierFile)
{
    const struct
    {
        const char *name;
        QString (*prepare)(const QDir &dir); // returns the path to save to
        bool needsNonRoot;
    } rows[] = {
        {"folder missing", [](const QDir &d) { return d.filePath(QStringLiteral("no/a.chf")); },
         false},
        {"parent is a file",
         [](const QDir &d) {
             qel::test::writeFile(d.filePath(QStringLiteral("plain")), "x");
             return d.filePath(QStringLiteral("plain/a.chf"));
         },
         false},
        {"read-only folder",
         [](const QDir &d) {
             d.mkdir(QStringLiteral("ro"));
             qel::test::writeFile(d.filePath(QStringLiteral("ro/old.chf")), "earlier");
             QFile::setPermissions(d.filePath(QStringLiteral("ro")),
                                   QFileDevice::ReadOwner | QFileDevice::ExeOwner);
             return d.filePath(QStringLiteral("ro/old.chf"));
         },
         true},
    };
    for (const auto &row : rows) {
        if (row.needsNonRoot && ::geteuid() == 0)
            continue; // root writes into read-only folders
        QTemporaryDir dir;
        const QString path = row.prepare(QDir(dir.path()));
        const QStringList before = listing(dir.path());
        const ChartFileResult result = ChartFile::save(populatedModel(), path);
        EXPECT_EQ(result.code, ChartFileResult::Unwritable) << row.name;
        EXPECT_TRUE(
            result.message.startsWith(QStringLiteral("図表ファイルを書き込めません: ") + path))
            << row.name << " " << result.message.toStdString();
        EXPECT_EQ(listing(dir.path()), before) << row.name;
        if (QFile::exists(path)) {
            EXPECT_EQ(qel::test::readFile(path), QByteArrayLiteral("earlier")) << row.name;
        }
        QFile::setPermissions(dir.filePath(QStringLiteral("ro")), QFileDevice::ReadOwner |
                                                                      QFileDevice::WriteOwner |
                                                                      QFileDevice::ExeOwner);
    }
}

// A chart whose sizes disagree would make a file that cannot be read back: it is not written.
TEST(ChartFileUnwritable, AChartThatCannotBeReadBackIsNotWritten)
{
    const struct
    {
        void (*spoil)(ChartModel &m);
        const char *complaint;
    } rows[] = {
        {[](ChartModel &m) { m.values.pop_back(); }, "「values」の要素数が 11 です"},
        {[](ChartModel &m) { m.pointCaptions.append(QStringLiteral("余分")); },
         "「pointCaptions」の要素数が 5 です"},
        {[](ChartModel &m) { m.secondYAxis.clear(); }, "「secondYAxis」の要素数が 0 です"},
        {[](ChartModel &m) { m.seriesColors.clear(); }, "「seriesColors」が空"},
        {[](ChartModel &m) { m.seriesCount = 40000; }, "系列数 40000 が範囲外"},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.chf"));
    qel::test::writeFile(path, QByteArrayLiteral("earlier"));
    for (const auto &row : rows) {
        ChartModel model = populatedModel();
        row.spoil(model);
        EXPECT_FALSE(ChartFile::canStore(model)) << row.complaint;
        const ChartFileResult result = ChartFile::save(model, path);
        EXPECT_EQ(result.code, ChartFileResult::Unwritable);
        EXPECT_TRUE(result.message.contains(QString::fromUtf8(row.complaint)))
            << result.message.toStdString();
        EXPECT_EQ(qel::test::readFile(path), QByteArrayLiteral("earlier"));
    }
}
