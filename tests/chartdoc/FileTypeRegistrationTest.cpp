#include "chartdoc/FileTypeRegistration.h"
#include "support/TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// Start-up skips a registration that is current; anything missing or changed makes it due, and
// registering again rewrites only that.
TEST(FileTypeRegistration, IsCurrentUntilAnyOfItsFilesIsMissingOrChanged)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString home = dir.path();
    const FileTypeRegistration reg(home, QStringLiteral("/usr/bin/qelpro"));
    EXPECT_FALSE(reg.isCurrent(false)) << "nothing registered yet";
    ASSERT_TRUE(reg.registerFileTypes(false));

    const QString chfIcon =
        home + QStringLiteral("/icons/hicolor/scalable/mimetypes/application-x-qel-chf.svg");
    const struct
    {
        const char *damage;
        QString path;
        bool remove;
    } cases[] = {
        {"desktop entry removed", reg.desktopEntryPath(), true},
        {"desktop entry changed", reg.desktopEntryPath(), false},
        {"MIME package changed", reg.mimePackagePath(), false},
        {"icon removed", chfIcon, true},
        {"icon changed", chfIcon, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.damage);
        ASSERT_TRUE(reg.isCurrent(false));
        const QByteArray before = qel::test::readFile(c.path);
        if (c.remove) {
            ASSERT_TRUE(QFile::remove(c.path));
        } else {
            QFile file(c.path);
            ASSERT_TRUE(file.open(QIODevice::Append));
            file.write("\n");
        }
        EXPECT_FALSE(reg.isCurrent(false));
        const QDateTime untouched =
            QFileInfo(home + QStringLiteral("/icons/hicolor/scalable/apps/qelpro.svg"))
                .lastModified();
        ASSERT_TRUE(reg.registerFileTypes(false));
        EXPECT_EQ(qel::test::readFile(c.path), before);
        EXPECT_EQ(QFileInfo(home + QStringLiteral("/icons/hicolor/scalable/apps/qelpro.svg"))
                      .lastModified(),
                  untouched)
            << "a file that was current is not written again";
    }
    EXPECT_TRUE(reg.isCurrent(false));
    EXPECT_FALSE(FileTypeRegistration(home, QStringLiteral("/opt/other/qelpro")).isCurrent(false))
        << "a program that moved registers itself again";
}
