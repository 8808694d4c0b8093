#pragma once

#include "slides/SlidePlayer.h"
#include "slides/SlideShowHost.h"
#include "slides/SpeechOutput.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

#include <functional>
#include <map>

namespace qel::test {

// A voice that records what it was asked and answers "busy" as told.
class FakeSpeech : public slides::SpeechOutput
{
public:
    int warikomiSpeech(const QString &text) override
    {
        log << QStringLiteral("warikomi:") + text;
        return 1;
    }
    void voiceSpeak(QString &text) override { log << QStringLiteral("voiceSpeak:") + text; }
    void voiceSpeakWait(QString &text) override
    {
        text.remove(QStringLiteral("{VoiceNotSelfend}"));
        log << QStringLiteral("voiceSpeakWait:") + text;
        readerBusy = speakingKeepsBusy;
    }
    bool voiceBusy() override
    {
        ++busyQuestions;
        return readerBusy;
    }
    void voiceStop() override { log << QStringLiteral("voiceStop"); }
    void sapiSpeak(const QString &text) override
    {
        log << QStringLiteral("sapiSpeak:") + text;
        engineBusy = speakingKeepsBusy;
    }
    bool sapiBusy() override { return engineBusy; }
    void sapiStop() override
    {
        log << QStringLiteral("sapiStop");
        engineBusy = false;
    }
    slides::VoiceSystem voiceSystem() const override { return system; }

    slides::VoiceSystem system = slides::VoiceSystem::None;
    bool speakingKeepsBusy = true; // a narration goes on until sapiStop or the test ends it
    bool engineBusy = false;
    bool readerBusy = false;
    int busyQuestions = 0;
    QStringList log;
};

// The main window's side of a show, recorded.
class FakeShowHost : public slides::SlideShowHost
{
public:
    void centreMainWindow() override { calls << QStringLiteral("centre"); }
    bool pictureViewerVisible() const override { return viewerVisible; }
    void setPictureViewerVisible(bool visible) override
    {
        viewerVisible = visible;
        calls << (visible ? QStringLiteral("viewer shown") : QStringLiteral("viewer hidden"));
    }
    void setDataPath(const QString &path) override { dataPath = path; }
    void setCurrentFile(const QString &path) override { currentFile = path; }
    void tableEditorFollows(const QString &path) override { editorFile = path; }
    void hideSettingsWindow() override { ++settingsHidden; }
    void hideMainWindow() override { mainVisible = false; }
    void showMainWindow() override
    {
        mainVisible = true;
        calls << QStringLiteral("main shown");
    }
    void endOfShowPause() override { calls << QStringLiteral("pause"); }

    QStringList calls;
    bool viewerVisible = false;
    bool mainVisible = true;
    QString dataPath;
    QString currentFile;
    QString editorFile;
    int settingsHidden = 0;
};

// The slide window as the driver sees it: every slide shown is recorded, and the user's
// answer to the n-th slide (0-based) is the flag given for it.
class FakePlayer : public slides::SlidePlayer
{
public:
    struct Shown
    {
        int kind;
        QString narration;
        QString path;
        QString caption;
        QSize pictureSize;
    };

    void Showing(int kind, QString &narration, const QImage &picture, const QString &path) override
    {
        shown.append({kind, narration, path, caption, picture.deviceIndependentSize().toSize()});
        const auto answer = answers.find(int(shown.size()) - 1);
        if (answer != answers.end())
            flag = answer->second;
        if (onShowing)
            onShowing(*this);
    }
    QSize pictureSize() const override { return size; }
    qreal pictureRatio() const override { return 1; }
    QString labelFlag() const override { return flag; }
    void setLabelFlag(const QString &f) override { flag = f; }
    void setScriptFile(const QString &path) override { scriptFile = path; }
    void setNarrationMode(const QString &c, bool visible) override
    {
        nonStop = c;
        nonStopVisible = visible;
    }
    void setEditButton(const QString &c, bool visible) override
    {
        edit = c;
        editVisible = visible;
    }
    void enablePrintBox() override { printEnabled = true; }
    void clearAndHidePrintBox() override { printVisible = false; }
    void setHoldCaption(const QString &c) override { caption = c; }
    void setPictureEnabled(bool enabled) override
    {
        pictureEnabled = enabled;
        pictureStates << enabled;
    }
    bool pictureVisible() const override { return !unloaded; }
    void showWindow() override { ++windowShows; }
    void unload() override { unloaded = true; }

    QStringList shownFiles() const
    {
        QStringList files;
        for (const Shown &s : shown)
            files << s.caption;
        return files;
    }

    QList<Shown> shown;
    std::map<int, QString> answers;
    std::function<void(FakePlayer &)> onShowing;
    QSize size{320, 200};
    QString flag;
    QString scriptFile;
    QString nonStop = QStringLiteral("?");
    QString edit = QStringLiteral("?");
    QString caption;
    bool nonStopVisible = true;
    bool editVisible = true;
    bool printEnabled = false;
    bool printVisible = true;
    bool pictureEnabled = true;
    QList<bool> pictureStates;
    bool unloaded = false;
    int windowShows = 0;
};

} // namespace qel::test
