#include "os/IniSettingsStore.h"

#include "support/SpecialFiles.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using qel::os::IniSettingsStore;

TEST(IniSettingsStore, KeepsApplicationsApartAndSurvivesReopening)
{
    QTemporaryDir dir;
    {
        IniSettingsStore store(dir.path());
        store.setValue(QStringLiteral("qelPro"), QStringLiteral("Startup"),
                       QStringLiteral("Voice pgm"), QStringLiteral("espeak-ng"));
        store.setValue(QStringLiteral("vokPath"), QStringLiteral("Varnholt(NR)"),
                       QStringLiteral("Wordpad.exe"), QStringLiteral("/usr/bin/日本語エディタ"));
    }
    IniSettingsStore store(dir.path());
    EXPECT_EQ(store.value(QStringLiteral("qelPro"), QStringLiteral("Startup"),
                          QStringLiteral("Voice pgm")),
              QStringLiteral("espeak-ng"));
    EXPECT_EQ(store.value(QStringLiteral("vokPath"), QStringLiteral("Varnholt(NR)"),
                          QStringLiteral("Wordpad.exe")),
              QStringLiteral("/usr/bin/日本語エディタ"));
    EXPECT_EQ(store.value(QStringLiteral("qelPro"), QStringLiteral("Startup"),
                          QStringLiteral("Wordpad.exe"), QStringLiteral("#ReadError#")),
              QStringLiteral("#ReadError#"));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("qelPro.ini"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("vokPath.ini"))));

    store.remove(QStringLiteral("qelPro"), QStringLiteral("Startup"), QStringLiteral("Voice pgm"));
    EXPECT_TRUE(
        store
            .value(QStringLiteral("qelPro"), QStringLiteral("Startup"), QStringLiteral("Voice pgm"))
            .isEmpty());
}

namespace {

const QString App = QStringLiteral("qelPro");
const QString Section = QStringLiteral("Startup");
const QString Key = QStringLiteral("Voice pgm");

} // namespace

// A settings name that is no file is never opened (a FIFO would stop the window from ever
// opening), renamed or replaced; the settings then live for this run only.
TEST(IniSettingsStore, SettingsNameThatIsNoFileIsLeftAloneAndReported)
{
    struct Row
    {
        const char *name;
        void (*make)(const QDir &dir, const QString &ini);
    };
    const Row rows[] = {
        {"fifo", [](const QDir &d,
                    const QString &) { qel::test::makeFifo(d, App + QStringLiteral(".ini")); }},
        {"link to fifo",
         [](const QDir &d, const QString &ini) {
             qel::test::makeLink(d, QFileInfo(ini).fileName(),
                                 qel::test::makeFifo(d, QStringLiteral("pipe")));
         }},
        {"folder", [](const QDir &d, const QString &) { d.mkdir(App + QStringLiteral(".ini")); }},
    };
    for (const Row &row : rows) {
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        QStringList before;
        QString kind;
        {
            IniSettingsStore store(dir.path());
            const QString ini = store.fileName(App);
            row.make(dir, ini);
            before = qel::test::listing(dir);
            kind = qel::test::kindOf(ini);
            EXPECT_EQ(store.value(App, Section, Key, QStringLiteral("default")),
                      QStringLiteral("default"))
                << row.name;
            store.setValue(App, Section, Key, QStringLiteral("espeak-ng"));
            EXPECT_EQ(store.value(App, Section, Key), QStringLiteral("espeak-ng")) << row.name;
            EXPECT_TRUE(store.problem().contains(ini)) << row.name;
            EXPECT_EQ(store.problem().count(ini), 1) << row.name << ": told once";
            EXPECT_TRUE(store.value(QStringLiteral("vokPath"), Section, Key).isEmpty());
            EXPECT_EQ(store.problem().count(ini), 1) << row.name << ": other files are fine";
        }
        EXPECT_EQ(qel::test::listing(dir), before) << row.name;
        EXPECT_EQ(qel::test::kindOf(dir.filePath(App + QStringLiteral(".ini"))), kind) << row.name;
    }
}

TEST(IniSettingsStore, DamagedOrHugeFileIsSetAsideAndDefaultsAreUsed)
{
    struct Row
    {
        const char *name;
        QByteArray bytes;
    };
    QByteArray garbage(2 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 7919) % 251);
    QByteArray hugeButText;
    while (hugeButText.size() <= IniSettingsStore::MaxFileSize)
        hugeButText += "[Startup]\nkey=value\n";
    const Row rows[] = {
        {"binary garbage", garbage},
        {"small binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
        {"text that is no ini", "Voice pgm espeak-ng\nsome words\n"},
        {"too large", hugeButText},
    };
    for (const Row &row : rows) {
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        const QString ini = dir.filePath(App + QStringLiteral(".ini"));
        qel::test::writeFile(ini, row.bytes);
        {
            IniSettingsStore store(dir.path());
            EXPECT_EQ(store.value(App, Section, Key, QStringLiteral("default")),
                      QStringLiteral("default"))
                << row.name;
            EXPECT_TRUE(store.problem().contains(ini + QStringLiteral(".broken"))) << row.name;
            store.setValue(App, Section, Key, QStringLiteral("espeak-ng"));
        }
        EXPECT_EQ(qel::test::readFile(ini + QStringLiteral(".broken")), row.bytes) << row.name;
        EXPECT_LT(QFileInfo(ini).size(), 100) << row.name << ": the new file holds only ours";
        IniSettingsStore again(dir.path());
        EXPECT_EQ(again.value(App, Section, Key), QStringLiteral("espeak-ng")) << row.name;
        EXPECT_TRUE(again.problem().isEmpty()) << row.name;
    }
}

TEST(IniSettingsStore, FileIsReadOnceNotForEveryValue)
{
    QTemporaryDir tmp;
    IniSettingsStore store(tmp.path());
    store.setValue(App, Section, Key, QStringLiteral("first"));
    store.sync();
    const QString ini = store.fileName(App);
    ASSERT_EQ(store.value(App, Section, Key), QStringLiteral("first"));
    // Changed behind the store's back: what was read stays.
    QFile::remove(ini);
    qel::test::writeFile(ini, "[Startup]\nVoice%20pgm=second\n");
    EXPECT_EQ(store.value(App, Section, Key), QStringLiteral("first"));
    EXPECT_TRUE(store.problem().isEmpty());
}
