#include "slides/ui/FormSlide.h"

#include "os/MessageWindow.h"
#include "os/UserDialogs.h"
#include "slides/ShowState.h"
#include "slides/SpeechOutput.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include <cmath>

namespace qel::slides {

namespace {

const QString Pau = QStringLiteral("Pau");
const QString Seq = QStringLiteral("Seq");
const QString Sil = QStringLiteral("Sil");
const QString Edit = QStringLiteral("Edit");
const QString EditOk = QStringLiteral("EditOk");
const QString Cancel = QStringLiteral("cancel");
const QString Printing = QStringLiteral("Prnting");
const QString BackAllowed = QStringLiteral(" ");

// The time of day in whole seconds: the waits count from there.
QDateTime wholeSeconds(const QDateTime &when)
{
    QDateTime whole = when;
    whole.setTime(QTime(when.time().hour(), when.time().minute(), when.time().second()));
    return whole;
}

// A number with the blank a positive number is printed with.
QString withSign(int value)
{
    return value < 0 ? QString::number(value) : u' ' + QString::number(value);
}

} // namespace

FormSlide::FormSlide(Context context, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_context(std::move(context))
{
    setObjectName(QStringLiteral("FormSlide"));
    setWindowTitle(QStringLiteral("qel Slide"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    QPalette dark = palette();
    dark.setColor(QPalette::Window, Qt::black);
    dark.setColor(QPalette::WindowText, QColor(200, 200, 200));
    setPalette(dark);
    setAutoFillBackground(true);

    m_image = new QLabel(this);
    m_image->setObjectName(QStringLiteral("ImageChfJpg"));
    m_image->setAlignment(Qt::AlignCenter);

    m_hold = new QCheckBox(this);
    m_hold->setObjectName(QStringLiteral("CheckHold"));
    m_hold->setTristate(true);
    m_hold->setToolTip(QStringLiteral("ここを押すとスライドショーを終わります"));

    m_nonStop = new QPushButton(Pau, this);
    m_nonStop->setObjectName(QStringLiteral("CmdNonStop"));
    m_nonStop->setToolTip(QStringLiteral("Pau: 説明の後で止まる / Seq: 説明が終われば次へ / "
                                         "Sil: 説明なし"));
    connect(m_nonStop, &QPushButton::clicked, this, &FormSlide::CmdNonStop_Click);

    m_edit = new QPushButton(Edit, this);
    m_edit->setObjectName(QStringLiteral("CmdEdit"));
    m_edit->setToolTip(QStringLiteral("スライドショーファイルをエディターで開く"));
    connect(m_edit, &QPushButton::clicked, this, [this] { CmdEdit_Click(false); });

    m_print = new QCheckBox(QStringLiteral("Print"), this);
    m_print->setObjectName(QStringLiteral("CheckPrn"));
    m_print->setToolTip(QStringLiteral("スライドを1枚ずつ印刷する"));
    connect(m_print, &QCheckBox::clicked, this, &FormSlide::tick);

    m_flag = new QLabel(this);
    m_flag->setObjectName(QStringLiteral("LabelFlag"));
    m_flag->hide();

    m_scriptFile = new QLabel(this);
    m_scriptFile->setObjectName(QStringLiteral("LblSldFile"));

    m_blank = new QWidget(this);
    m_blank->setObjectName(QStringLiteral("blankScreen"));
    m_blank->setAutoFillBackground(true);
    m_blank->hide();

    // Keys reach the window itself, whichever control was used last.
    for (QWidget *child :
         {static_cast<QWidget *>(m_image), static_cast<QWidget *>(m_hold),
          static_cast<QWidget *>(m_nonStop), static_cast<QWidget *>(m_edit),
          static_cast<QWidget *>(m_print), static_cast<QWidget *>(m_scriptFile), m_blank}) {
        child->setFocusPolicy(Qt::NoFocus);
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }

    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &FormSlide::tick);
    m_pointerTimer.setSingleShot(true);
    connect(&m_pointerTimer, &QTimer::timeout, this, &FormSlide::tick);
}

FormSlide::~FormSlide()
{
    if (m_loop.isRunning())
        m_loop.quit();
}

// ---- what the driver sets ------------------------------------------------------------------

QString FormSlide::labelFlag() const
{
    return m_flag->text();
}

void FormSlide::setLabelFlag(const QString &flag)
{
    m_flag->setText(flag);
}

void FormSlide::setScriptFile(const QString &path)
{
    m_scriptFile->setText(path);
}

void FormSlide::setNarrationMode(const QString &caption, bool visible)
{
    m_nonStop->setText(caption);
    m_nonStop->setVisible(visible);
}

void FormSlide::setEditButton(const QString &caption, bool visible)
{
    m_edit->setText(caption);
    m_edit->setVisible(visible);
}

void FormSlide::enablePrintBox()
{
    m_print->setEnabled(true);
}

void FormSlide::clearAndHidePrintBox()
{
    m_print->setChecked(false);
    m_print->hide();
}

void FormSlide::setHoldCaption(const QString &caption)
{
    m_hold->setText(caption);
}

void FormSlide::setPictureEnabled(bool enabled)
{
    m_image->setEnabled(enabled);
}

bool FormSlide::pictureVisible() const
{
    return !m_unloading && !m_image->isHidden();
}

QScreen *FormSlide::targetScreen() const
{
    if (m_context.anchor && m_context.anchor->screen())
        return m_context.anchor->screen();
    if (QScreen *own = screen())
        return own;
    return QGuiApplication::primaryScreen();
}

int FormSlide::barHeight() const
{
    return fontMetrics().height() + 12;
}

QSize FormSlide::pictureSize() const
{
    const QScreen *s = targetScreen();
    const QSize full = s ? s->geometry().size() : size();
    return QSize(full.width(), std::max(0, full.height() - barHeight()));
}

qreal FormSlide::pictureRatio() const
{
    const QScreen *s = targetScreen();
    return s ? s->devicePixelRatio() : devicePixelRatioF();
}

QRect FormSlide::pictureArea() const
{
    return QRect(0, 0, width(), std::max(0, height() - barHeight()));
}

void FormSlide::showWindow()
{
    if (!isVisible()) {
        if (QScreen *s = targetScreen()) {
            setScreen(s);
            setGeometry(s->geometry());
        }
        showFullScreen();
    }
    raise();
    activateWindow();
    setFocus();
}

void FormSlide::unload()
{
    m_unloading = true;
    endSlide();
    m_pointerTimer.stop();
    unsetCursor();
    close();
}

// ---- Showing -------------------------------------------------------------------------------

bool FormSlide::voiceSet() const
{
    return m_context.speech.voiceSystem() != VoiceSystem::None;
}

bool FormSlide::engineVoice() const
{
    return m_context.speech.voiceSystem() == VoiceSystem::Engine;
}

QColor FormSlide::holdColour(int kind, bool voice) const
{
    if (!voice)
        return QColor(192, 64, 0);
    switch (kind) {
    case CurrentChart:
        return QColor(0, 192, 192);
    case SelectionChart:
        return QColor(0, 255, 255);
    default:
        // The system's active-border colour: the desktop's button face stands in for it.
        return QGuiApplication::palette().color(QPalette::Active, QPalette::Button);
    }
}

void FormSlide::Showing(int kind, QString &narration, const QImage &picture, const QString &path)
{
    startSlide(kind, narration, picture, path);
    if (m_running && !m_loop.isRunning())
        m_loop.exec();
    finishSlide();
}

void FormSlide::startSlide(int kind, QString &narration, const QImage &picture, const QString &path)
{
    ShowState &show = m_context.show;
    show.slideSignal = 0;
    m_kind = kind;
    m_picture = picture;
    m_path = path;
    m_image->setPixmap(QPixmap::fromImage(picture));
    placePicture();
    if (kind == CurrentChart) {
        narration.clear();
        m_nonStop->hide();
        m_print->setChecked(false);
        m_print->hide();
        m_edit->hide();
    }
    QPalette colours = m_hold->palette();
    colours.setColor(QPalette::WindowText, holdColour(kind, true));
    // No narration while printing, not even the note that a slide has none.
    const bool printing = m_print->isChecked();
    if (printing) {
        m_nonStop->hide();
        narration.clear();
    }
    showWindow();
    m_start = wholeSeconds(m_context.now());
    m_printing = false;
    m_readerPollAt = QDateTime();
    m_running = true;
    setHold(1);
    if (kind == ScriptChart && narration.isEmpty() && !printing)
        narration = m_hold->text() + noDescriptionText();
    if (!voiceSet())
        colours.setColor(QPalette::WindowText, holdColour(kind, false));
    m_hold->setPalette(colours);
    m_narration = narration;
    if (!m_lastMove.isValid())
        pointerMoved(); // the pointer goes 2 seconds after the show starts, as after a move

    if (m_nonStop->text() != Sil) {
        setFocus();
        if (voiceSet() && !narration.isEmpty()) {
            // Clicks and keys during a reading only change the hold; the pass after it acts.
            m_inVoice = true;
            SpeechOutput &speech = m_context.speech;
            if (engineVoice()) {
                if (!speech.sapiBusy())
                    speech.sapiSpeak(narration);
            } else if (!speech.voiceBusy()) {
                Speak(narration);
            }
            m_inVoice = false;
        }
    }
    if (m_edit->text() == EditOk)
        CmdEdit_Click(true);
    m_clockPrefix = m_hold->text();
    m_lastClock.clear();
    emit slideStarted(kind, narration);
    if (m_running)
        tick();
}

void FormSlide::finishSlide()
{
    m_running = false;
    m_timer.stop();
    setHold(1);
    emit slideEnded();
    if (m_kind == CurrentChart) {
        m_context.messages.hide();
        unload();
    }
}

void FormSlide::endSlide()
{
    m_running = false;
    m_printing = false;
    m_timer.stop();
    if (m_loop.isRunning())
        m_loop.quit();
}

double FormSlide::secondsSince(const QDateTime &then) const
{
    return then.msecsTo(m_context.now()) / 1000.0;
}

void FormSlide::scheduleTick(int milliseconds)
{
    m_timer.start(std::max(0, milliseconds));
}

void FormSlide::tick()
{
    showHold();
    hidePointerIfStill();
    if (!m_running || m_inVoice)
        return;
    updateClock();
    if (m_printing) {
        printingPass();
        return;
    }
    if (m_print->isChecked()) {
        startPrinting();
        return;
    }
    ShowState &show = m_context.show;
    SpeechOutput &speech = m_context.speech;
    const QDateTime now = m_context.now();
    // The caption clock wants the next whole second.
    int next = 1000 - now.time().msec() + 10;
    if (show.checkHold == 0) {
        if (engineVoice())
            speech.sapiStop();
        endSlide();
        return;
    }
    if (show.checkHold == 1 && m_nonStop->text() == Seq) {
        if (engineVoice()) {
            if (!speech.sapiBusy()) {
                endSlide();
                return;
            }
            next = std::min(next, 250);
        } else if (voiceSet() && !m_narration.isEmpty()) {
            QDateTime askAt = m_start.addSecs(2);
            if (m_readerPollAt.isValid() && m_readerPollAt > askAt)
                askAt = m_readerPollAt;
            if (now >= askAt) {
                if (!speech.voiceBusy()) {
                    // As a click on the picture: the slide ends on the next pass.
                    ImageChfJpg_Click();
                    return;
                }
                m_readerPollAt = now.addSecs(ReaderPollSeconds);
                askAt = m_readerPollAt;
            }
            next = std::min(next, int(std::max<qint64>(0, now.msecsTo(askAt))));
        }
    }
    if (show.checkHold == 2)
        setHold(1);
    scheduleTick(next);
}

void FormSlide::updateClock()
{
    const QDateTime now = m_context.now();
    const QString time = now.toString(QStringLiteral("HH:mm:ss"));
    if (time == m_lastClock)
        return;
    m_lastClock = time;
    m_hold->setText(m_clockPrefix + u' ' + now.toString(QStringLiteral("MM-dd-yyyy")) + u' ' +
                    time);
}

// ---- the hold ------------------------------------------------------------------------------

int FormSlide::holdValue() const
{
    return m_context.show.checkHold;
}

void FormSlide::setHold(int value)
{
    m_context.show.checkHold = value;
    showHold();
}

void FormSlide::showHold()
{
    const int value = m_context.show.checkHold;
    const Qt::CheckState state = value == 0   ? Qt::Unchecked
                                 : value == 2 ? Qt::PartiallyChecked
                                              : Qt::Checked;
    if (m_hold->checkState() != state) {
        const QSignalBlocker block(m_hold);
        m_hold->setCheckState(state);
    }
}

void FormSlide::releaseHold()
{
    setHold(0);
    tick();
}

// ---- printing ------------------------------------------------------------------------------

void FormSlide::startPrinting()
{
    m_printing = true;
    m_printDeadline = wholeSeconds(m_context.now()).addSecs(PrintSeconds);
    m_remainingShown = false;
    printingPass();
}

void FormSlide::printingPass()
{
    if (m_context.show.checkHold == 0) {
        m_print->setText(Cancel);
        m_context.dialogs.beep();
        finishPrinting();
        return;
    }
    const qint64 left = m_context.now().msecsTo(m_printDeadline);
    const int remaining = int(std::lround(double(left) / 1000.0));
    if (!m_remainingShown || remaining != m_lastRemaining) {
        m_print->setText(withSign(remaining));
        m_lastRemaining = remaining;
        m_remainingShown = true;
    }
    if (m_print->isEnabled() || remaining < 0) {
        finishPrinting();
        return;
    }
    scheduleTick(250);
}

void FormSlide::finishPrinting()
{
    m_printing = false;
    m_print->setEnabled(false);
    // The slide ends before the printer is asked: its dialogue runs the events, and a slide
    // still running would start another countdown and print the slide twice.
    endSlide();
    if (m_print->text() == Cancel)
        return;
    m_context.dialogs.beep();
    m_print->setText(Printing);
    if (m_context.print && m_kind != CurrentChart && !m_context.print(m_kind, m_picture, m_path))
        m_print->setChecked(false); // declined: the next slides are not printed either
}

// ---- commands ------------------------------------------------------------------------------

void FormSlide::ImageChfJpg_Click()
{
    setHold(0);
    m_context.show.slideSignal = 1;
    tick();
}

void FormSlide::Form_Click()
{
    if (labelFlag() == BackAllowed) {
        setLabelFlag(QStringLiteral("Back"));
        releaseHold();
    } else {
        m_context.dialogs.beep();
    }
}

void FormSlide::firstSlide()
{
    if (labelFlag() == BackAllowed) {
        setLabelFlag(QStringLiteral("Home"));
        releaseHold();
    } else {
        m_context.dialogs.beep();
    }
}

void FormSlide::nextSlide()
{
    ImageChfJpg_Click();
}

void FormSlide::previousSlide()
{
    Form_Click();
}

void FormSlide::endOfShow()
{
    m_context.messages.frmMsgShow(endTitle(), endMessage());
    setLabelFlag(QStringLiteral("Quit"));
    m_context.speech.voiceStop();
    m_context.show.slideSignal = 1;
    releaseHold();
}

void FormSlide::CmdNonStop_Click()
{
    const QString mode = m_nonStop->text();
    if (mode == Pau) {
        m_nonStop->setText(Seq);
    } else if (mode == Seq) {
        m_nonStop->setText(Sil);
        setHold(0);
    } else if (mode == Sil) {
        m_nonStop->setText(Pau);
    } else {
        m_nonStop->setText(QString());
    }
    setFocus();
    tick();
}

void FormSlide::CmdEdit_Click(bool toFront)
{
    const QString script = m_scriptFile->text();
    if (script.isEmpty())
        return;
    m_edit->setText(EditOk);
    // An editor cannot be brought back to the front from here; it is started again only
    // when the user asks.
    if (!toFront && m_context.editScript)
        m_context.editScript(script);
}

void FormSlide::Speak(QString &narration)
{
    if (!voiceSet())
        return;
    m_context.speech.voiceSpeakWait(narration);
    setVoiceEDitAvailable();
}

void FormSlide::setVoiceEDitAvailable()
{
    if (!voiceSet()) {
        m_edit->setText(QStringLiteral("7171"));
        m_edit->hide();
    } else if (m_edit->text() != Edit && m_edit->text() != EditOk) {
        m_edit->setText(Edit);
        m_edit->show();
    }
}

// ---- blank screen and pointer --------------------------------------------------------------

void FormSlide::blankScreen(const QColor &colour)
{
    QPalette p = m_blank->palette();
    p.setColor(QPalette::Window, colour);
    m_blank->setPalette(p);
    m_blank->setGeometry(rect());
    m_blank->raise();
    m_blank->show();
}

bool FormSlide::isBlanked() const
{
    return !m_blank->isHidden();
}

void FormSlide::unblank()
{
    m_blank->hide();
}

void FormSlide::pointerMoved()
{
    m_lastMove = m_context.now();
    if (m_pointerHidden) {
        unsetCursor();
        m_pointerHidden = false;
    }
    m_pointerTimer.start(PointerSeconds * 1000);
}

void FormSlide::hidePointerIfStill()
{
    if (m_pointerHidden || m_unloading || !m_lastMove.isValid())
        return;
    if (secondsSince(m_lastMove) >= PointerSeconds) {
        setCursor(Qt::BlankCursor);
        m_pointerHidden = true;
    } else if (!m_pointerTimer.isActive()) {
        m_pointerTimer.start(PointerSeconds * 1000);
    }
}

// ---- events --------------------------------------------------------------------------------

void FormSlide::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (isBlanked() && key != Qt::Key_Escape) {
        unblank();
        return;
    }
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_PageDown:
        nextSlide();
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Backspace:
    case Qt::Key_PageUp:
        previousSlide();
        break;
    case Qt::Key_Home:
        firstSlide();
        break;
    case Qt::Key_Escape:
        unblank();
        endOfShow();
        break;
    case Qt::Key_B:
    case Qt::Key_Period:
        blankScreen(Qt::black);
        break;
    case Qt::Key_W:
    case Qt::Key_Comma:
        blankScreen(Qt::white);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void FormSlide::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (isBlanked())
        unblank();
    else
        Form_Click();
}

void FormSlide::mouseMoveEvent(QMouseEvent *event)
{
    Q_UNUSED(event);
    pointerMoved();
    if (m_running && m_context.show.checkHold >= 1) {
        setHold(2); // grayed; the next pass ticks it again
        tick();
    }
}

bool FormSlide::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove) {
        mouseMoveEvent(static_cast<QMouseEvent *>(event));
        return false;
    }
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    const bool release = type == QEvent::MouseButtonRelease;
    if (!press && !release)
        return QWidget::eventFilter(watched, event);
    const bool left = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
    if (watched == m_blank) {
        if (release && left)
            unblank();
        return true;
    }
    if (watched == m_hold) {
        if (type == QEvent::MouseButtonPress && left) {
            if (isBlanked())
                unblank();
            else
                endOfShow();
        }
        return true; // the box is the show's state, never ticked by hand
    }
    if (watched == m_image) {
        if (release && left) {
            if (isBlanked())
                unblank();
            else if (m_image->isEnabled())
                ImageChfJpg_Click();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FormSlide::closeEvent(QCloseEvent *event)
{
    if (m_unloading) {
        event->accept();
        return;
    }
    // Closed by the window system: the show ends as with Esc.
    event->ignore();
    endOfShow();
}

void FormSlide::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void FormSlide::layoutControls()
{
    const int bar = barHeight();
    const int top = height() - bar;
    const int h = bar - 6;
    int left = 8;
    const int holdWidth = std::max(200, width() * 2 / 5);
    m_hold->setGeometry(left, top + 3, holdWidth, h);
    left += holdWidth + 8;
    const int button = fontMetrics().horizontalAdvance(QStringLiteral("EditOk")) + 24;
    m_nonStop->setGeometry(left, top + 3, button, h);
    left += button + 6;
    m_edit->setGeometry(left, top + 3, button, h);
    left += button + 12;
    const int printWidth = fontMetrics().horizontalAdvance(QStringLiteral("Prnting")) + 36;
    m_print->setGeometry(left, top + 3, printWidth, h);
    left += printWidth + 12;
    m_scriptFile->setGeometry(left, top + 3, std::max(0, width() - left - 8), h);
    m_blank->setGeometry(rect());
    placePicture();
}

void FormSlide::placePicture()
{
    const QRect area = pictureArea();
    QSize size = m_picture.isNull() ? QSize() : m_picture.deviceIndependentSize().toSize();
    size = size.boundedTo(area.size());
    m_image->setGeometry(area.left() + (area.width() - size.width()) / 2,
                         area.top() + (area.height() - size.height()) / 2, size.width(),
                         size.height());
}

} // namespace qel::slides
