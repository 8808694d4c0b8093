#include "LoadFixture.h"

#include "chartdoc/LegacyFileReader.h"
#include "chartview/ChartModel.h"

#include <gtest/gtest.h>

using namespace qel;
using namespace qel::chartdoc;
using namespace qel::chartview;
using qel::settings::Form2State;
using qel::test::LoadFixture;

TEST(LegacyFileReader, LineFileWithTypeOptionAndTrailingSections)
{
    LoadFixture f;
    ASSERT_EQ(f.loadFixture(QStringLiteral("line211.dfl")), QStringLiteral("OK"));
    const TableImage &t = f.table;
    EXPECT_EQ(t.fileVersion, 2);
    EXPECT_EQ(t.chartType, 1);
    EXPECT_EQ(t.typeOpt, 11);
    EXPECT_EQ(t.createStamp, QStringLiteral("QEL VER2.0 line"));
    EXPECT_EQ(t.groupLegend.mid(1), QStringList({QStringLiteral("新A"), QStringLiteral("新B")}))
        << "=CPG.NAME replaces the names";
    EXPECT_TRUE(os::isMissingNumber(t.y(1, 2))) << "a Y of 0 is no value";
    EXPECT_FLOAT_EQ(t.x(1, 3), 3.0f);
    EXPECT_FLOAT_EQ(t.y(2, 3), 7.0f);
    EXPECT_EQ(f.form2.text(Form2State::TxtBottom), QStringLiteral("横軸\r\n\r\n"));
    EXPECT_EQ(f.form2.text(Form2State::TxtLeft), QStringLiteral("縦軸\r\n"));
    EXPECT_EQ(f.form2.text(Form2State::TxtRight), QStringLiteral("\r\n"));
    EXPECT_EQ(f.chart.ChartType(), GalleryScatter);
    EXPECT_TRUE(isEmptyPoint(f.y(0, 1)));
}

TEST(LegacyFileReader, BarFilesNumberTheirPoints)
{
    LoadFixture f;
    ASSERT_EQ(f.loadFixture(QStringLiteral("bar213.dfb")), QStringLiteral("OK"));
    EXPECT_EQ(f.table.fileVersion, 2);
    EXPECT_EQ(f.table.chartType, 3);
    EXPECT_EQ(f.table.typeOpt, 0);
    for (int p = 1; p <= 4; ++p)
        EXPECT_FLOAT_EQ(f.table.x(1, p), float(p)) << "the file's 100, 200, ... are not used";
    EXPECT_EQ(f.chart.ChartType(), GalleryPie);
}

TEST(LegacyFileReader, AGroupEndsEarlyAtTwoMissingValues)
{
    LoadFixture f;
    ASSERT_EQ(f.loadFixture(QStringLiteral("early_group_end.dfl")), QStringLiteral("OK"));
    EXPECT_FLOAT_EQ(f.table.y(1, 1), 3.0f);
    EXPECT_TRUE(os::isMissingNumber(f.table.x(1, 3)));
    EXPECT_FLOAT_EQ(f.table.y(2, 1), 1.0f) << "the next group starts right after the end mark";
    EXPECT_FLOAT_EQ(f.table.y(2, 3), 3.0f);
}

TEST(LegacyFileReader, DfsFileAsksToSwapGroupsAndPoints)
{
    LoadFixture f;
    f.dialogs.answers = {os::MessageAnswer::Yes};
    ASSERT_EQ(f.loadFixture(QStringLiteral("swap304.DFS")), QStringLiteral("OK"));
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].text, LegacyFileReader::swapQuestion());
    EXPECT_EQ(f.dialogs.messages[0].buttons, os::MessageButtons::YesNo);
    EXPECT_EQ(f.dialogs.messages[0].defaultAnswer, os::MessageAnswer::Yes);
    EXPECT_EQ(f.table.chartType, 4);
    EXPECT_EQ(f.chart.SeriesTotal(), 12);
    EXPECT_EQ(f.chart.PointTotal(), 3);
    EXPECT_EQ(f.table.pointLegend[2], QStringLiteral("g2"));
    // The file's groups become the points: its pairs run across the new groups first.
    EXPECT_FLOAT_EQ(f.table.y(2, 1), 102.0f);
    EXPECT_FLOAT_EQ(f.table.y(1, 2), 201.0f);
    EXPECT_FLOAT_EQ(f.table.y(12, 3), 312.0f);

    // Answered No, the file reads as it stands (each group closed by its extra pair).
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("n.DFS"));
    QByteArray text = "\"DFS VER3\",304,2,3\r\nA\r\nB\r\nskip\r\n";
    for (int g = 1; g <= 2; ++g) {
        for (int p = 1; p <= 3; ++p)
            text += QByteArray::number(p) + ',' + QByteArray::number(g * 10 + p) + "\r\n";
        text += "0,0\r\n";
    }
    text += "=AXIS.NAME\r\nx,y,z legend\r\n";
    qel::test::writeFile(path, text);
    LoadFixture no;
    no.dialogs.answers = {os::MessageAnswer::No};
    ASSERT_EQ(no.load(path), QStringLiteral("OK"));
    EXPECT_EQ(no.chart.SeriesTotal(), 2);
    EXPECT_EQ(no.chart.PointTotal(), 3);
    EXPECT_FLOAT_EQ(no.table.y(2, 3), 23.0f);
    EXPECT_EQ(no.form2.text(Form2State::TxtRight), QStringLiteral("z legend\r\n"))
        << "type 4 keeps its Z legend";
}

TEST(LegacyFileReader, TypeCodeDecoding)
{
    struct Row
    {
        int code;
        const char *result;
        int version;
        int type;
        int typeOpt;
    };
    const Row rows[] = {
        {213, "OK", 2, 3, 0},     {113, "OLD-FILE", 1, 3, 0}, {211, "OK", 2, 1, 11},
        {2, "OLD-FILE", 0, 2, 0}, {102, "OK", 1, 2, 0},       {1005, "OK", 10, 5, 0},
    };
    QTemporaryDir dir;
    for (const Row &r : rows) {
        const QString path = dir.filePath(QStringLiteral("t%1.dfl").arg(r.code));
        qel::test::writeFile(
            path, QStringLiteral("\"VER\",%1,1,3\r\nname\r\nskip\r\n1,1\r\n2,5\r\n3,2\r\n0,0\r\n")
                      .arg(r.code)
                      .toLatin1());
        LoadFixture f;
        EXPECT_EQ(f.load(path), QString::fromLatin1(r.result)) << r.code;
        if (QString::fromLatin1(r.result) != QStringLiteral("OK"))
            continue;
        EXPECT_EQ(f.table.fileVersion, r.version) << r.code;
        EXPECT_EQ(f.table.chartType, r.type) << r.code;
        EXPECT_EQ(f.table.typeOpt, r.typeOpt) << r.code;
    }
}

TEST(LegacyFileReader, QuotedFieldsKeepCommas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("q.dfl"));
    qel::test::writeFile(path, "\"VER, quoted\" , 211 ,1, 2\r\nn\r\nskip\r\n1,1\r\n2,2\r\n0,0\r\n"
                               "=AXIS.NAME\r\n\"x, with comma\",y,z\r\n");
    LoadFixture f;
    ASSERT_EQ(f.load(path), QStringLiteral("OK"));
    EXPECT_EQ(f.table.createStamp, QStringLiteral("VER, quoted"));
    EXPECT_EQ(f.form2.text(Form2State::TxtBottom), QStringLiteral("x, with comma\r\n\r\n"));
}
