#include "settings/VoiceSettings.h"
#include "os/IniSettingsStore.h"
#include "slides/ReaderCatalog.h"
#include "slides/SpeechFakes.h"
#include "support/FakeDialogs.h"
#include "support/RecordingSpeech.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;
using settings::VoiceSettings;
using slides::VoiceSystem;

namespace {

struct VoiceSettingsFixture : ::testing::Test
{
    QTemporaryDir configDir;
    QTemporaryDir dictionary;
    os::IniSettingsStore store{configDir.path()};
    QString voicePgm;
    QString tableEditorPath;
    test::FakeDialogs dialogs;
    QStringList said;
    test::RecordingSpeech speech{said};
    test::FakeReaderProcess::Script script;
    slides::ReaderCatalog readers{paths(true), test::fakeReaderFactory(script)};
    double clock = 500.3;
    int pumps = 0;
    std::function<void()> onPump;
    QStringList hooked;
    std::unique_ptr<VoiceSettings> settings = make(&readers);

    slides::ReaderCatalog::Paths paths(bool found)
    {
        slides::ReaderCatalog::Paths p;
        if (found)
            p.espeak = QStringLiteral("/bin/espeak-ng");
        p.dictionary = dictionary.path();
        return p;
    }

    std::unique_ptr<VoiceSettings> make(slides::ReaderCatalog *catalog)
    {
        VoiceSettings::Context c{store,
                                 voicePgm,
                                 tableEditorPath,
                                 QStringLiteral("/home/u/.local/share/qelPro"),
                                 QStringLiteral("3.0.0"),
                                 dialogs,
                                 speech,
                                 catalog,
                                 {},
                                 {},
                                 {}};
        c.timeOfDay = [this] { return clock; };
        c.pumpEvents = [this] {
            ++pumps;
            clock += 0.5;
            if (onPump)
                onPump();
        };
        c.now = [] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)); };
        VoiceSettings::Hooks h;
        h.showSettings = [this](int tab) { hooked << QStringLiteral("showSettings %1").arg(tab); };
        h.endProgram = [this] { hooked << QStringLiteral("endProgram"); };
        h.chooseTableEditor = [this] { hooked << QStringLiteral("chooseTableEditor"); };
        h.startReaderChooser = [this] {
            hooked << QStringLiteral("startReaderChooser");
            return true;
        };
        h.setVoiceEDitAvailable = [this] { hooked << QStringLiteral("setVoiceEDitAvailable"); };
        return std::make_unique<VoiceSettings>(c, h);
    }

    QString stored(const QString &key) const
    {
        return store.value(QStringLiteral("qelPro"), QStringLiteral("Startup"), key);
    }
    void put(const QString &key, const QString &value)
    {
        store.setValue(QStringLiteral("qelPro"), QStringLiteral("Startup"), key, value);
    }
    // A start with the folder, the editor and the voice already known.
    void known(const QString &voice)
    {
        put(QStringLiteral("Qel.Path"), QStringLiteral("/home/u/.local/share/qelPro"));
        put(QStringLiteral("Table Editor"), QStringLiteral("/usr/bin/localc"));
        put(QStringLiteral("Voice pgm"), voice);
    }
};

} // namespace

TEST_F(VoiceSettingsFixture, SaveAndLoadRoundTrip)
{
    tableEditorPath = QStringLiteral("/usr/bin/gnumeric");
    settings->Save1Load2XclVoiceIni(1);
    EXPECT_EQ(stored(QStringLiteral("Table Editor")), QStringLiteral("/usr/bin/gnumeric"));
    EXPECT_EQ(stored(QStringLiteral("Qel.Path")), QStringLiteral("/home/u/.local/share/qelPro"));
    EXPECT_EQ(stored(QStringLiteral("Create")), QStringLiteral("2024/05/06 07:08:09"));

    put(QStringLiteral("Voice pgm"), QStringLiteral("TTS.EXE espeak-ng"));
    tableEditorPath.clear();
    hooked.clear();
    settings->Save1Load2XclVoiceIni(2);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << "the folder has not moved";
    EXPECT_EQ(tableEditorPath, QStringLiteral("/usr/bin/gnumeric"));
    EXPECT_EQ(voicePgm, QStringLiteral("TTS.EXE espeak-ng"));
    EXPECT_EQ(hooked, QStringList{QStringLiteral("setVoiceEDitAvailable")});
    const VoiceSettings::Labels l = settings->labels();
    EXPECT_EQ(l.system, VoiceSystem::TextReader);
    EXPECT_EQ(l.qelVoicePgm, QStringLiteral("テキストリーダー (espeak-ng)"));
    EXPECT_EQ(l.qelVoicePgmFile, QStringLiteral("TTS.EXE espeak-ng"));
}

TEST_F(VoiceSettingsFixture, AMovedFolderIsAskedOnce)
{
    known(QStringLiteral("MSAPI"));
    put(QStringLiteral("Qel.Path"), QStringLiteral("/opt/old/qelPro"));
    settings->Save1Load2XclVoiceIni(2);
    ASSERT_EQ(dialogs.messages.size(), 1);
    const os::MessageRequest &q = dialogs.messages[0];
    EXPECT_EQ(q.text, VoiceSettings::movedFolderText());
    EXPECT_EQ(q.title, QStringLiteral("qelPro 3.0.0j  for Linux"));
    EXPECT_EQ(q.buttons, os::MessageButtons::OkCancel);
    EXPECT_EQ(q.icon, os::MessageIcon::Exclamation);
    EXPECT_EQ(stored(QStringLiteral("Qel.Path")), QStringLiteral("/home/u/.local/share/qelPro"));
    settings->Save1Load2XclVoiceIni(2);
    EXPECT_EQ(dialogs.messages.size(), 1) << "asked once";

    // The case of the letters does not make a move.
    put(QStringLiteral("Qel.Path"), QStringLiteral("/HOME/U/.local/share/QELPRO"));
    settings->Save1Load2XclVoiceIni(2);
    EXPECT_EQ(dialogs.messages.size(), 1);

    // Cancel ends the program at once; nothing else is read or written.
    put(QStringLiteral("Qel.Path"), QString());
    put(QStringLiteral("Voice pgm"), QString());
    dialogs.answers = {os::MessageAnswer::Cancel};
    hooked.clear();
    settings->Save1Load2XclVoiceIni(2);
    EXPECT_EQ(dialogs.messages.size(), 2) << "the very first start asks as well";
    EXPECT_EQ(hooked, QStringList{QStringLiteral("endProgram")});
    EXPECT_TRUE(stored(QStringLiteral("Qel.Path")).isEmpty());
}

TEST_F(VoiceSettingsFixture, NoVoiceOpensTheSettingsOnTheSecondTabOnce)
{
    known(QString());
    settings->hooks().showSettings = [this](int tab) {
        hooked << QStringLiteral("showSettings %1").arg(tab);
    };
    settings->Save1Load2XclVoiceIni(2);
    EXPECT_EQ(hooked.first(), QStringLiteral("showSettings 1"));
    EXPECT_EQ(voicePgm, QStringLiteral("未設定"));
    EXPECT_EQ(stored(QStringLiteral("Voice pgm")), QStringLiteral("未設定"));
    EXPECT_EQ(settings->labels().system, VoiceSystem::None);
    hooked.clear();
    settings->Save1Load2XclVoiceIni(2);
    EXPECT_FALSE(hooked.contains(QStringLiteral("showSettings 1"))) << "not asked at every start";

    // A choice made while the window was up is what is read afterwards.
    put(QStringLiteral("Voice pgm"), QString());
    settings->hooks().showSettings = [this](int) {
        put(QStringLiteral("Voice pgm"), QStringLiteral("MSAPI"));
    };
    settings->Save1Load2XclVoiceIni(2);
    EXPECT_EQ(voicePgm, QStringLiteral("MSAPI"));

    // An empty editor path runs the editor choice.
    put(QStringLiteral("Table Editor"), QString());
    hooked.clear();
    settings->Save1Load2XclVoiceIni(2);
    EXPECT_EQ(hooked.first(), QStringLiteral("chooseTableEditor"));
}

TEST_F(VoiceSettingsFixture, LabelsTakeTheFirstMatch)
{
    const struct
    {
        const char *value;
        VoiceSystem system;
        const char *caption;
        const char *startsWith;
    } cases[] = {
        {"TTS.EXE", VoiceSystem::TextReader, "qelVoice", "テキストリーダー"},
        {"c:\\nec\\tts.exe", VoiceSystem::TextReader, "qelVoice", "テキストリーダー"},
        {"TTS.EXE MSAPI", VoiceSystem::TextReader, "qelVoice", "テキストリーダー"},
        {"DTALKER.EXE", VoiceSystem::DocumentTalker, "qelVoiceT", "ドキュメントトーカー"},
        {"msapi", VoiceSystem::Engine, "MSAPI", "音声合成エンジン"},
        {"未設定", VoiceSystem::None, "", "未設定"},
        {"", VoiceSystem::None, "", "未設定"},
    };
    for (const auto &c : cases) {
        const VoiceSettings::Labels l = settings->labelsFor(QString::fromUtf8(c.value));
        EXPECT_EQ(l.system, c.system) << c.value;
        EXPECT_EQ(l.qelVoiceCaption, QLatin1String(c.caption)) << c.value;
        EXPECT_TRUE(l.qelVoicePgm.startsWith(QString::fromUtf8(c.startsWith))) << c.value;
        EXPECT_FALSE(l.qelVoicePgm.contains(QStringLiteral("Microsoft"))) << c.value;
        EXPECT_EQ(l.qelVoicePgmFile, QString::fromUtf8(c.value));
    }
}

TEST_F(VoiceSettingsFixture, TheReaderChooserHasFiveSeconds)
{
    known(QStringLiteral("MSAPI"));
    const struct
    {
        int answerAtPump; // -1: never
        const char *answer;
        const char *voicePgm;
    } cases[] = {
        {3, "TTS.EXE espeak-ng", "TTS.EXE espeak-ng"},
        {0, "TTS.EXE open_jtalk", "TTS.EXE open_jtalk"},
        {11, "TTS.EXE espeak-ng", "MSAPI"}, // after the deadline
        {-1, "", "MSAPI"},
        {2, "/usr/bin/something", "MSAPI"}, // not a text reader
    };
    for (const auto &c : cases) {
        voicePgm = QStringLiteral("MSAPI");
        put(QStringLiteral("Voice pgm"), voicePgm);
        pumps = 0;
        clock = 500.3;
        const QString answer = QString::fromUtf8(c.answer);
        settings->hooks().startReaderChooser = [&] {
            EXPECT_EQ(stored(QStringLiteral("Set Voice pgm")), QStringLiteral("empty"));
            if (c.answerAtPump == 0)
                put(QStringLiteral("Set Voice pgm"), answer);
            return true;
        };
        onPump = [&] {
            if (pumps == c.answerAtPump)
                put(QStringLiteral("Set Voice pgm"), answer);
        };
        settings->cmdSetEditVoice_Click(1);
        EXPECT_EQ(voicePgm, QString::fromUtf8(c.voicePgm)) << c.answerAtPump;
        EXPECT_EQ(stored(QStringLiteral("Voice pgm")), voicePgm) << c.answerAtPump;
        EXPECT_LE(clock, 506.0) << "waits five whole seconds at most";
    }
    onPump = {};
}

TEST_F(VoiceSettingsFixture, ACancelledChoiceBeepsAndSaysSoInTheVoiceThere)
{
    const struct
    {
        const char *before;
        QStringList said;
    } cases[] = {
        {"TTS.EXE espeak-ng", {QStringLiteral("voiceSpeak キャンセルしました。")}},
        {"MSAPI",
         {QStringLiteral("voiceSpeak voice change was canceldo. .'.... キャンセルしました。")}},
        {"DTALKER.EXE", {}},
    };
    for (const auto &c : cases) {
        known(QString::fromUtf8(c.before));
        voicePgm = QString::fromUtf8(c.before);
        said.clear();
        const int beeps = dialogs.beeps;
        settings->hooks().startReaderChooser = [this] {
            put(QStringLiteral("Set Voice pgm"), QStringLiteral("cancel"));
            return true;
        };
        settings->cmdSetEditVoice_Click(1);
        EXPECT_EQ(dialogs.beeps, beeps + 1) << c.before;
        EXPECT_EQ(said, c.said) << c.before;
        EXPECT_EQ(voicePgm, QString::fromUtf8(c.before));
    }
}

TEST_F(VoiceSettingsFixture, TheDocumentTalkerAndTheEngine)
{
    known(QStringLiteral("TTS.EXE espeak-ng"));
    voicePgm = QStringLiteral("TTS.EXE espeak-ng");
    put(QStringLiteral("Set Voice pgm"), QStringLiteral("cancel")); // left from before
    settings->cmdSetEditVoice_Click(2);
    EXPECT_EQ(voicePgm, QStringLiteral("DTALKER.EXE"));
    EXPECT_EQ(stored(QStringLiteral("Voice pgm")), QStringLiteral("DTALKER.EXE"));

    settings->cmdSetEditVoice_Click(3);
    EXPECT_EQ(voicePgm, QStringLiteral("MSAPI"));
    EXPECT_EQ(said.last(), QStringLiteral("warikomiSpeech ") + VoiceSettings::engineSetText());

    // An engine without a voice is not chosen; the user is told what to install.
    speech.taken = 0;
    voicePgm = QStringLiteral("DTALKER.EXE");
    settings->cmdSetEditVoice_Click(3);
    EXPECT_EQ(voicePgm, QStringLiteral("DTALKER.EXE"));
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.messages.last().text.contains(QStringLiteral("apt-get install")));

    // No reader on the machine: no document talker either.
    test::FakeReaderProcess::Script none;
    slides::ReaderCatalog empty(paths(false), test::fakeReaderFactory(none));
    auto bare = make(&empty);
    voicePgm = QStringLiteral("MSAPI");
    bare->cmdSetEditVoice_Click(2);
    EXPECT_EQ(voicePgm, QStringLiteral("MSAPI"));
    EXPECT_TRUE(dialogs.messages.last().text.contains(QStringLiteral("espeak-ng")));
}

TEST_F(VoiceSettingsFixture, TheVoiceTestSaysWhatIsSetOrWhyNot)
{
    known(QStringLiteral("MSAPI"));
    voicePgm = QStringLiteral("MSAPI");
    settings->cmdKakunin_Click();
    ASSERT_EQ(said.size(), 1);
    EXPECT_EQ(said[0], QStringLiteral("voiceSpeak ") +
                           VoiceSettings::testText(settings->labels().qelVoicePgm));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_GE(pumps, 1) << "one second with events pumped";

    const struct
    {
        const char *voice;
        bool failed;
    } bad[] = {{"MSAPI", true}, {"", false}, {"未設定", false}};
    for (const auto &b : bad) {
        dialogs.messages.clear();
        voicePgm = QString::fromUtf8(b.voice);
        speech.failed = b.failed;
        settings->cmdKakunin_Click();
        ASSERT_EQ(dialogs.messages.size(), 1) << b.voice;
        EXPECT_EQ(dialogs.messages[0].text, VoiceSettings::testFailedText());
    }
}
