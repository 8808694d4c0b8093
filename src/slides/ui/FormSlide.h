#pragma once

#include "slides/SlidePlayer.h"

#include <QDateTime>
#include <QEventLoop>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QScreen;

namespace qel::os {
class MessageWindow;
class UserDialogs;
} // namespace qel::os

namespace qel::slides {

class SpeechOutput;
struct ShowState;

// FormSlide: the full-screen slide window. Showing shows one slide on the screen of the main
// window, speaks its narration and waits, without using the processor, for the user, the end
// of the narration or the print countdown. The hold box CheckHold, LabelFlag and the stop
// signal carry what the user asked for to the show driver and the voice output.
class FormSlide : public QWidget, public SlidePlayer
{
    Q_OBJECT

public:
    // Prints a slide: kind 10 the picture (through the picture viewer), other kinds the
    // chart on a white background (the main window's print). path names the slide's file.
    // False when nothing was printed (the printer dialogue was cancelled, the print failed).
    using Printer = std::function<bool(int kind, const QImage &picture, const QString &path)>;

    struct Context
    {
        ShowState &show;
        SpeechOutput &speech;
        os::UserDialogs &dialogs;
        os::MessageWindow &messages;
        // The main window: the show runs full screen on its screen.
        QPointer<QWidget> anchor;
        Printer print;
        // Opens the script in the user's editor.
        std::function<void(const QString &script)> editScript;
        std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    };

    static constexpr int PrintSeconds = 7;
    static constexpr int PointerSeconds = 2;
    // How often a reader other than the speech engine is asked whether it still speaks.
    static constexpr int ReaderPollSeconds = 2;

    explicit FormSlide(Context context, QWidget *parent = nullptr);
    ~FormSlide() override;

    // SlidePlayer
    void Showing(int kind, QString &narration, const QImage &picture, const QString &path) override;
    QSize pictureSize() const override;
    qreal pictureRatio() const override;
    QString labelFlag() const override;
    void setLabelFlag(const QString &flag) override;
    void setScriptFile(const QString &path) override;
    void setNarrationMode(const QString &caption, bool visible) override;
    void setEditButton(const QString &caption, bool visible) override;
    void enablePrintBox() override;
    void clearAndHidePrintBox() override;
    void setHoldCaption(const QString &caption) override;
    void setPictureEnabled(bool enabled) override;
    bool pictureVisible() const override;
    void showWindow() override;
    void unload() override;

    // Showing in its parts: the slide is set up and its narration started; it runs until
    // the user, the narration or the printing ends it; then the hold is ticked again.
    void startSlide(int kind, QString &narration, const QImage &picture, const QString &path);
    bool slideRunning() const { return m_running; }
    void finishSlide();

    // One pass of the waiting: the caption clock, the hold, the narration mode, the print
    // countdown and the mouse pointer. The window's timers call it; tests call it after
    // moving their clock.
    void tick();

    // The window's commands.
    void ImageChfJpg_Click();
    void Form_Click();
    void endOfShow();
    void CmdNonStop_Click();
    // toFront: a slide asks for the editor again rather than the user.
    void CmdEdit_Click(bool toFront = false);
    void Speak(QString &narration);
    void setVoiceEDitAvailable();
    // A presenter's keys.
    void nextSlide();
    void previousSlide();
    void firstSlide();
    // B and W: the screen goes black or white; the next key or click brings the slide back.
    void blankScreen(const QColor &colour);
    bool isBlanked() const;

    int holdValue() const;
    bool pointerHidden() const { return m_pointerHidden; }
    int kind() const { return m_kind; }
    QImage picture() const { return m_picture; }

    static QString endTitle() { return QStringLiteral("  スライドショー終了"); }
    static QString endMessage()
    {
        return QStringLiteral(" お待ちください。\r\n  Ending SlideShow");
    }
    static QString noDescriptionText() { return QStringLiteral("の説明がありません"); }
    // The colour of CheckHold's caption for a slide of kind (no voice: its own colour).
    QColor holdColour(int kind, bool voiceSet) const;

signals:
    // A slide is on the screen, its narration started.
    void slideStarted(int kind, const QString &narration);
    void slideEnded();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool voiceSet() const;
    bool engineVoice() const;
    void setHold(int value);
    void showHold();
    void endSlide();
    void updateClock();
    void startPrinting();
    void printingPass();
    void finishPrinting();
    void pointerMoved();
    void hidePointerIfStill();
    void releaseHold();
    void unblank();
    void scheduleTick(int milliseconds);
    void layoutControls();
    void placePicture();
    QRect pictureArea() const;
    int barHeight() const;
    QScreen *targetScreen() const;
    double secondsSince(const QDateTime &then) const;

    Context m_context;
    QLabel *m_image = nullptr;        // ImageChfJpg
    QCheckBox *m_hold = nullptr;      // CheckHold
    QPushButton *m_nonStop = nullptr; // CmdNonStop
    QPushButton *m_edit = nullptr;    // CmdEdit
    QCheckBox *m_print = nullptr;     // CheckPrn
    QLabel *m_flag = nullptr;         // LabelFlag
    QLabel *m_scriptFile = nullptr;   // LblSldFile
    QWidget *m_blank = nullptr;

    QEventLoop m_loop;
    QTimer m_timer;
    QTimer m_pointerTimer;
    bool m_running = false;
    bool m_inVoice = false;
    bool m_unloading = false;
    int m_kind = 0;
    QString m_narration;
    QString m_path;
    QImage m_picture;
    QDateTime m_start;
    QString m_clockPrefix;
    QString m_lastClock;
    QDateTime m_readerPollAt;
    bool m_printing = false;
    QDateTime m_printDeadline;
    int m_lastRemaining = 0;
    bool m_remainingShown = false;
    QDateTime m_lastMove;
    bool m_pointerHidden = false;
};

} // namespace qel::slides
