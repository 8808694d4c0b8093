#include "chartdoc/FileTypeRegistration.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using qel::chartdoc::FileTypeRegistration;

TEST(FileTypeRegistration, TheDesktopEntryStartsTheProgramForEveryType)
{
    const QString entry =
        FileTypeRegistration(QStringLiteral("/tmp/x"), QStringLiteral("/opt/qel/qelpro"))
            .desktopEntry();
    EXPECT_TRUE(entry.contains(QStringLiteral("Exec=/opt/qel/qelpro %f\n")));
    for (const auto &type : FileTypeRegistration::types())
        EXPECT_TRUE(entry.contains(type.mimeType + u';')) << type.mimeType.toStdString();
}

TEST(FileTypeRegistration, ProgramPathsWithBlanksAreQuoted)
{
    EXPECT_EQ(FileTypeRegistration::execProgram(QStringLiteral("/home/u/マイ プログラム/qelpro")),
              QStringLiteral("\"/home/u/マイ プログラム/qelpro\""));
    EXPECT_EQ(FileTypeRegistration::execProgram(QStringLiteral("/opt/a$b")),
              QStringLiteral("\"/opt/a\\\\$b\""));
}

TEST(FileTypeRegistration, WritesTheSameFilesEveryTimeAndTheSystemKnowsTheTypes)
{
    // In test mode this is a private folder, which QMimeDatabase reads as the user's.
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    FileTypeRegistration reg(home, QStringLiteral("/usr/bin/qelpro"));
    ASSERT_TRUE(reg.registerFileTypes());
    const QByteArray first = qel::test::readFile(reg.desktopEntryPath());
    ASSERT_TRUE(reg.registerFileTypes());
    EXPECT_EQ(qel::test::readFile(reg.desktopEntryPath()), first) << "written fresh, not appended";
    EXPECT_TRUE(QFile::exists(
        home + QStringLiteral("/icons/hicolor/scalable/mimetypes/application-x-qel-chf.svg")));
    EXPECT_TRUE(QFile::exists(home + QStringLiteral("/icons/hicolor/scalable/apps/qelpro.svg")));

    if (QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty())
        GTEST_SKIP() << "shared-mime-info is not installed";
    const QMimeDatabase db;
    EXPECT_EQ(db.mimeTypeForFile(QStringLiteral("売上.chf"), QMimeDatabase::MatchExtension).name(),
              QStringLiteral("application/x-qel-chf"));
    EXPECT_EQ(db.mimeTypeForFile(QStringLiteral("A.TBX"), QMimeDatabase::MatchExtension).name(),
              QStringLiteral("application/x-qel-tbx"));
    EXPECT_EQ(db.mimeTypeForName(QStringLiteral("application/x-qel-dfb")).comment(),
              QStringLiteral("qel dos bar"));
}

TEST(FileTypeRegistration, AnUnwritableFolderIsReportedNotFatal)
{
    FileTypeRegistration reg(QStringLiteral("/proc/qel-nowhere"),
                             QStringLiteral("/usr/bin/qelpro"));
    EXPECT_FALSE(reg.registerFileTypes(false));
}
