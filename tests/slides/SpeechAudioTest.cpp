#include "slides/PcmConverter.h"
#include "slides/SapiFormat.h"
#include "slides/SoundDeviceOutput.h"
#include "slides/SoundDevices.h"
#include "slides/TextSegmenter.h"
#include "slides/VoiceMarks.h"
#include "slides/WavFile.h"
#include "slides/WavFileOutput.h"
#include "support/SpecialFiles.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace qel;
using slides::PcmFormat;
using slides::SoundDevices;
using slides::WavFile;

namespace {

QByteArray tone(int frames, qint16 amplitude)
{
    QByteArray pcm(frames * 2, Qt::Uninitialized);
    for (int i = 0; i < frames; ++i)
        qToLittleEndian(qint16(i % 2 ? amplitude : -amplitude), pcm.data() + 2 * i);
    return pcm;
}

} // namespace

TEST(SapiFormat, ThirtySixFormatsWithTheInterfaceNumbers)
{
    const auto &all = slides::SapiFormat::all();
    ASSERT_EQ(all.size(), 36);
    EXPECT_EQ(all.first().name, QStringLiteral("SAFT8kHz8BitMono"));
    EXPECT_EQ(all.first().number, 4);
    EXPECT_EQ(all.last().name, QStringLiteral("SAFT48kHz16BitStereo"));
    EXPECT_EQ(all.last().number, 39);
    const slides::SapiFormat standard = slides::SapiFormat::defaultFormat();
    EXPECT_EQ(standard.name, QStringLiteral("SAFT22kHz16BitMono"));
    EXPECT_EQ(standard.number, 22);
    EXPECT_EQ(standard.pcm, (PcmFormat{22050, 1, 2}));
    EXPECT_EQ(slides::SapiFormat::byName(QStringLiteral("SAFT11kHz8BitStereo")).pcm,
              (PcmFormat{11025, 2, 1}));
    EXPECT_EQ(slides::SapiFormat::byNumber(999).number, 22) << "unknown numbers fall back";
}

TEST(WavFile, RoundTripAndDamagedFiles)
{
    const PcmFormat format{16000, 2, 2};
    const QByteArray data = tone(1600, 1000) + tone(1600, 1000);
    const QByteArray file = WavFile::encode(format, data);
    PcmFormat read;
    QByteArray back;
    ASSERT_TRUE(WavFile::decode(file, read, back).ok());
    EXPECT_EQ(read, format);
    EXPECT_EQ(back, data);

    // A writer that died: the data chunk says more than there is. Taken as far as it goes,
    // whole frames only.
    ASSERT_TRUE(WavFile::decode(file.left(44 + 401), read, back).ok());
    EXPECT_EQ(back.size(), 400);

    const struct
    {
        const char *name;
        QByteArray bytes;
    } bad[] = {
        {"empty", QByteArray()},
        {"text", QByteArray("hello, this is no sound")},
        {"header only", file.left(20)},
        {"no data chunk", file.left(36)},
        {"float samples",
         [&] {
             QByteArray f = file;
             qToLittleEndian(quint16(3), f.data() + 20);
             return f;
         }()},
        {"24 bits",
         [&] {
             QByteArray f = file;
             qToLittleEndian(quint16(24), f.data() + 34);
             return f;
         }()},
    };
    for (const auto &b : bad) {
        const os::Result r = WavFile::decode(b.bytes, read, back);
        EXPECT_FALSE(r.ok()) << b.name;
        EXPECT_FALSE(r.message.isEmpty()) << b.name;
    }
}

TEST(WavFile, MeasureTellsLengthAndLoudness)
{
    const PcmFormat mono{8000, 1, 2};
    const WavFile::Measure silent = WavFile::measure(mono, QByteArray(16000, '\0'));
    EXPECT_DOUBLE_EQ(silent.seconds, 1.0);
    EXPECT_EQ(silent.peak, 0);
    const WavFile::Measure loud = WavFile::measure(mono, tone(8000, 12000));
    EXPECT_EQ(loud.peak, 12000);
    EXPECT_NEAR(loud.rms, 12000, 1);
}

TEST(PcmConverter, RateWidthAndChannels)
{
    const QByteArray in = tone(1000, 8000); // 1000 frames at 1000 Hz: one second
    const struct
    {
        PcmFormat to;
        qsizetype bytes;
    } cases[] = {
        {{1000, 1, 2}, 2000},       {{22050, 1, 2}, 22050 * 2}, {{8000, 2, 1}, 8000 * 2},
        {{48000, 2, 2}, 48000 * 4}, {{500, 1, 2}, 1000},
    };
    for (const auto &c : cases) {
        const QByteArray out = slides::PcmConverter::convert(in, 1000, c.to);
        EXPECT_EQ(out.size(), c.bytes) << c.to.sampleRate << " " << c.to.channels;
        const WavFile::Measure m = WavFile::measure(c.to, out);
        EXPECT_NEAR(m.seconds, 1.0, 0.001);
        EXPECT_GT(m.peak, 4000) << "still sound, not silence";
    }
    // 8-bit samples are unsigned around 128.
    const QByteArray eight = slides::PcmConverter::convert(tone(2, 0), 1000, {1000, 1, 1});
    EXPECT_EQ(eight, QByteArray(2, char(128)));
    EXPECT_TRUE(slides::PcmConverter::convert(in, 0, {1000, 1, 2}).isEmpty());
}

TEST(WavFileOutput, RealTimeFollowsTheClockAndKeepsWhatWasHeard)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.wav"));
    slides::WavFileOutput out(path, true);
    qint64 now = 0;
    out.setClock([&now] { return now; });
    const PcmFormat f{1000, 1, 2};
    ASSERT_TRUE(out.open(f, nullptr));
    out.write(tone(3000, 5000)); // three seconds
    EXPECT_EQ(out.writtenFrames(), 3000);
    EXPECT_EQ(out.playedFrames(), 0);
    now = 1000;
    EXPECT_EQ(out.playedFrames(), 1000);
    out.setPaused(true);
    now = 5000;
    EXPECT_EQ(out.playedFrames(), 1000) << "a paused file does not move on";
    out.setPaused(false);
    now = 5500;
    EXPECT_EQ(out.playedFrames(), 1500);
    out.close(); // stopped half-way: the file has what a listener heard
    PcmFormat read;
    QByteArray data;
    ASSERT_TRUE(WavFile::decode(test::readFile(path), read, data).ok());
    EXPECT_EQ(read, f);
    EXPECT_EQ(data.size(), 1500 * 2);
    EXPECT_EQ(out.lastFrames(), 1500);
}

TEST(WavFileOutput, InstantWritesEverythingAndRefusesAFifo)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("all.wav"));
    slides::WavFileOutput out(path, false);
    ASSERT_TRUE(out.open({8000, 1, 2}, nullptr));
    out.setVolume(0.5);
    out.write(tone(8000, 10000));
    EXPECT_EQ(out.playedFrames(), 8000);
    out.close();
    PcmFormat read;
    QByteArray data;
    ASSERT_TRUE(WavFile::decode(test::readFile(path), read, data).ok());
    EXPECT_EQ(WavFile::measure(read, data).peak, 5000) << "the volume was applied";

    const QString fifo = test::makeFifo(QDir(dir.path()), QStringLiteral("fifo.wav"));
    ASSERT_FALSE(fifo.isEmpty());
    slides::WavFileOutput toFifo(fifo, false);
    QString why;
    EXPECT_FALSE(toFifo.open({8000, 1, 2}, &why));
    EXPECT_TRUE(why.contains(fifo)) << qPrintable(why);

    slides::WavFileOutput noFolder(dir.filePath(QStringLiteral("missing/x.wav")), false);
    EXPECT_FALSE(noFolder.open({8000, 1, 2}, &why));
    EXPECT_FALSE(why.isEmpty());
}

#ifdef QEL_HAVE_MULTIMEDIA
TEST(SoundDevices, TheModuleIsFoundWhereTheBuildPutIt)
{
    // Without it every stream would quietly go to a file instead of the speakers.
    EXPECT_TRUE(SoundDevices::moduleLoaded()) << qPrintable(SoundDevices::moduleError());
}
#endif

TEST(SoundDeviceOutput, WithoutADeviceTheStreamGoesToTheFallbackFile)
{
    if (!SoundDevices::descriptions().isEmpty())
        GTEST_SKIP() << "this machine has a sound device";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("speech.wav"));
    slides::SoundDeviceOutput out(QString(), path);
    EXPECT_TRUE(out.description().contains(u"speech.wav")) << qPrintable(out.description());
    ASSERT_TRUE(out.open({8000, 1, 2}, nullptr));
    EXPECT_TRUE(out.isOpen());
    out.write(tone(800, 3000));
    EXPECT_EQ(out.writtenFrames(), 800);
    out.close();
    EXPECT_FALSE(out.isOpen());
    PcmFormat read;
    QByteArray data;
    ASSERT_TRUE(WavFile::decode(test::readFile(path), read, data).ok());
    EXPECT_EQ(read, (PcmFormat{8000, 1, 2}));
}

TEST(TextSegmenter, SentencesLanguagesAndLongText)
{
    using slides::TextSegmenter;
    const struct
    {
        const char16_t *text;
        QStringList pieces;
        QList<bool> japanese;
    } cases[] = {
        {u"今日は晴れ。明日は雨！",
         {QStringLiteral("今日は晴れ。"), QStringLiteral("明日は雨！")},
         {true, true}},
        {u"Version 3.0 is here. Next one",
         {QStringLiteral("Version 3.0 is here."), QStringLiteral(" Next one")},
         {false, false}},
        {u"行1\n行2", {QStringLiteral("行1 "), QStringLiteral("行2")}, {true, true}},
        {u"{VoiceNotSelfend}カナだけ", {QStringLiteral("                 カナだけ")}, {true}},
        {u"。。、、!!  ", {}, {}},
        {u"", {}, {}},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const auto pieces = TextSegmenter::split(text);
        QStringList got;
        QList<bool> japanese;
        for (const auto &p : pieces) {
            got << p.text;
            japanese << p.japanese;
            EXPECT_EQ(p.text.size(), p.length);
            EXPECT_LE(p.start + p.length, text.size());
        }
        EXPECT_EQ(got, c.pieces) << text.toStdString();
        EXPECT_EQ(japanese, c.japanese) << text.toStdString();
    }

    // A long sentence is cut at a comma or blank, never inside a surrogate pair.
    QString longText;
    for (int i = 0; i < 60; ++i)
        longText += QStringLiteral("ことば、");
    const auto cut = TextSegmenter::split(longText, 50);
    ASSERT_GT(cut.size(), 1);
    for (const auto &p : cut) {
        EXPECT_LE(p.length, 50);
        EXPECT_TRUE(p.text.endsWith(QStringLiteral("、")));
    }
    const QString emoji =
        QString(49, QLatin1Char('x')) + QString::fromUtf16(u"😀") + QStringLiteral("yyy");
    for (const auto &p : TextSegmenter::split(emoji, 50))
        EXPECT_FALSE(p.text.front().isLowSurrogate());
}

TEST(VoiceMarks, TakenOnceAndNeverSpoken)
{
    QString text = QStringLiteral("a{VoiceStop}b{VoiceStop}c");
    EXPECT_TRUE(slides::VoiceMarks::take(text, slides::VoiceMarks::stop()));
    EXPECT_EQ(text, QStringLiteral("ab{VoiceStop}c")) << "only the first one";
    EXPECT_FALSE(slides::VoiceMarks::take(text, QStringLiteral("{voicestop}"))) << "exact case";
    EXPECT_EQ(slides::VoiceMarks::blanked(QStringLiteral("x{VoiceSync}y")),
              QStringLiteral("x           y"));
}
