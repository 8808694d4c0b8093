#include "shell/RecentFileList.h"
#include "os/TextCodec.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using qel::shell::RecentFileList;
using namespace qel;

TEST(RecentFileList, EntryNamesTheFileAndKeepsThePath)
{
    const QString entry = RecentFileList::entryFor(QStringLiteral("/Data/Beef.CHF"));
    EXPECT_EQ(entry, QStringLiteral("beef.chf") + QString(20, QLatin1Char(' ')) +
                         QStringLiteral("*/Data/Beef.CHF"));
    EXPECT_EQ(RecentFileList::pathOf(entry), QStringLiteral("/Data/Beef.CHF"));
}

TEST(RecentFileList, OnlyChartsAndPicturesAreListedOnceNewestFirst)
{
    const struct
    {
        const char *path;
        bool listed;
        const char *why;
    } adds[] = {
        {"/d/a.chf", true, "a chart"},
        {"/d/b.jpg", true, "a picture"},
        {"/d/c.tbx", false, "a table"},
        {"/d/c.bmp", false, "a bitmap"},
        {"/d/show.sld", false, "a slide script"},
        {"/d/b.jpg", false, "already on top"},
        {"/D/A.chf", true, "the same file in other case moves up"},
    };
    RecentFileList list;
    for (const auto &add : adds)
        EXPECT_EQ(list.add(QString::fromLatin1(add.path)), add.listed) << add.why;
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(RecentFileList::pathOf(list.entry(0)), QStringLiteral("/D/A.chf"));
    EXPECT_EQ(RecentFileList::pathOf(list.entry(1)), QStringLiteral("/d/b.jpg"));
}

TEST(RecentFileList, StepsWrapAtBothEnds)
{
    RecentFileList list;
    for (const char *p : {"/a.chf", "/b.chf", "/c.chf"})
        list.add(QString::fromLatin1(p));
    const struct
    {
        int from, direction, to;
        bool wraps;
    } steps[] = {{0, -1, 2, true}, {2, +1, 0, true}, {0, +1, 1, false}, {2, -1, 1, false}};
    for (const auto &s : steps) {
        bool wrapped = !s.wraps;
        EXPECT_EQ(list.step(s.from, s.direction, &wrapped), s.to) << s.from << " " << s.direction;
        EXPECT_EQ(wrapped, s.wraps) << s.from << " " << s.direction;
    }
}

TEST(RecentFileList, ListFileRoundTripByteForByte)
{
    QTemporaryDir dir;
    RecentFileList list;
    list.add(QStringLiteral("/d/a,b.chf"));
    list.add(QStringLiteral("/d/売上.jpg"));
    const QString file = RecentFileList::listFileName(dir.path(), QStringLiteral("pc1"));
    EXPECT_TRUE(file.endsWith(QStringLiteral("/qelPropc1.ini")));
    ASSERT_TRUE(list.save(file));
    const QString blanks(20, QLatin1Char(' '));
    EXPECT_EQ(test::readFile(file), os::encodeText(QStringLiteral("qel file=,売上.jpg") + blanks +
                                                   QStringLiteral("*/d/売上.jpg\r\n") +
                                                   QStringLiteral("qel file=,a,b.chf") + blanks +
                                                   QStringLiteral("*/d/a,b.chf\r\n")));
    RecentFileList read;
    ASSERT_TRUE(read.load(file));
    EXPECT_EQ(read.entries(), list.entries()) << "commas after the first stay in the entry";
}

TEST(RecentFileList, LoadingStopsAfter101AndSkipsForeignLines)
{
    QTemporaryDir dir;
    QStringList lines = {QStringLiteral("[header]"), QStringLiteral("qel file =,x"),
                         QStringLiteral("other,y")};
    for (int i = 0; i < 150; ++i)
        lines << QStringLiteral("qel file=,f%1.chf                    */d/f%1.chf").arg(i);
    const QString file = dir.filePath(QStringLiteral("list.ini"));
    test::writeFile(file, os::encodeLines(lines));
    RecentFileList list;
    ASSERT_TRUE(list.load(file));
    EXPECT_EQ(list.count(), 101);
    EXPECT_EQ(RecentFileList::pathOf(list.entry(0)), QStringLiteral("/d/f0.chf"));
    EXPECT_FALSE(list.load(dir.filePath(QStringLiteral("missing.ini"))));
}

TEST(RecentFileList, SavingKeepsTheNewestHundredAndAnEmptyListWritesNothing)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("list.ini"));
    RecentFileList list;
    ASSERT_TRUE(list.save(file));
    EXPECT_TRUE(test::readFile(file).isEmpty());
    for (int i = 0; i < 120; ++i)
        list.add(QStringLiteral("/d/f%1.chf").arg(i));
    ASSERT_TRUE(list.save(file));
    RecentFileList read;
    read.load(file);
    EXPECT_EQ(read.count(), 100);
    EXPECT_EQ(RecentFileList::pathOf(read.entry(0)), QStringLiteral("/d/f119.chf"))
        << "the newest stays";
    EXPECT_FALSE(list.save(dir.filePath(QStringLiteral("no/dir/list.ini"))));
}

TEST(RecentFileList, MissingFileQuestionBreaksLongPaths)
{
    const QString path = QStringLiteral("/") + QString(119, QLatin1Char('a'));
    EXPECT_EQ(RecentFileList::brokenPath(path),
              (QStringList{path.left(50), path.mid(50, 50), path.mid(100)}));
    const QString q = RecentFileList::missingFileQuestion(3, path);
    EXPECT_TRUE(q.startsWith(QStringLiteral("3) /aaa")));
    EXPECT_TRUE(q.contains(QStringLiteral("が見つからないか読めません。")));
    EXPECT_FALSE(q.contains(QStringLiteral("ネットワーク")));
    EXPECT_TRUE(RecentFileList::missingFileQuestion(0, QStringLiteral("//srv/a.chf"))
                    .contains(QStringLiteral("ネットワークにアクセスできるか確認してください。")));
    EXPECT_TRUE(q.endsWith(QStringLiteral("このリストを削除しますか ?")));
}
