#include "os/IniSettingsStore.h"

#include <QFile>
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
