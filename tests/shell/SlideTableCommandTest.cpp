#include "os/TextCodec.h"
#include "support/TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ProgramRun
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

ProgramRun slideTable(const QString &script)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QELPRO_BINARY), {QStringLiteral("--slide-table"), script});
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(SlideTableCommand, PrintsTheTableOfACp932Script)
{
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("talk.sld"));
    qel::test::writeFile(script,
                         qel::os::encodeText(QStringLiteral(
                             "<TEXT>前置き\r\n<file> 売上.chf\r\n<TEXT>説明\r\n<FILE> p.jpg\r\n")));

    const ProgramRun run = slideTable(script);
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    const QJsonObject root = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(root[QStringLiteral("count")].toInt(), 2);
    const QJsonArray rows = root[QStringLiteral("rows")].toArray();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].toObject()[QStringLiteral("narration")].toString(), QStringLiteral("前置き"));
    EXPECT_EQ(rows[1].toObject()[QStringLiteral("file")].toString(), QStringLiteral("売上.CHF"));
    EXPECT_EQ(rows[1].toObject()[QStringLiteral("narration")].toString(), QStringLiteral("説明"));
}

TEST(SlideTableCommand, FailsWithTheFileNamedForWhatIsNoScript)
{
    QTemporaryDir dir;
    for (const QString &bad : {dir.filePath(QStringLiteral("missing.sld")), dir.path()}) {
        const ProgramRun run = slideTable(bad);
        EXPECT_NE(run.exitCode, 0);
        EXPECT_TRUE(run.err.contains(bad)) << qPrintable(run.err);
        EXPECT_TRUE(run.out.isEmpty());
    }
}

} // namespace
