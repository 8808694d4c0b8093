#include "shell/ui/SlideShowLink.h"

#include "chartdoc/ChartDocument.h"
#include "chartview/ChartView.h"
#include "os/PathParts.h"
#include "os/UserDialogs.h"
#include "shell/LoadSave.h"
#include "shell/ProgramState.h"
#include "shell/ui/PictureViewer.h"
#include "slides/ShowState.h"
#include "slides/SlidePreparation.h"
#include "slides/SlideShow.h"
#include "slides/SpeechOutput.h"
#include "slides/ui/FrmMsg.h"

#include <QEventLoop>
#include <QMainWindow>
#include <QScreen>
#include <QTime>
#include <QTimer>

#include <cmath>

namespace qel::shell {

SlideShowLink::SlideShowLink(Parts parts)
    : m_parts(std::move(parts))
{}

SlideShowLink::~SlideShowLink() = default;

std::unique_ptr<slides::FormSlide> SlideShowLink::makeSlideWindow()
{
    auto slide = std::make_unique<slides::FormSlide>(
        slides::FormSlide::Context{m_parts.show, m_parts.speech, m_parts.dialogs, m_parts.messages,
                                   &m_parts.window, m_parts.print, m_parts.editScript});
    if (m_created)
        m_created(*slide);
    return slide;
}

int SlideShowLink::multSlideShow(const QString &folder, QString &source, int mode)
{
    if (m_slide) {
        m_parts.dialogs.beep(); // one show at a time
        return 0;
    }
    m_slide = makeSlideWindow();
    ProgramState &state = m_parts.state;
    LoadSave &loadSave = m_parts.loadSave;
    const slides::SlidePreparation preparation(
        m_parts.document.chart(),
        [&state, &loadSave](const QString &path) {
            // Chart1LoadCHF loads the current file; a slide that fails leaves it as it was.
            const QString before = state.currentFile;
            state.currentFile = path;
            QString reason;
            if (loadSave.Chart1LoadCHF(&reason))
                return os::Result::success();
            state.currentFile = before;
            return os::Result::failure(reason);
        },
        &PictureViewer::readPicture);
    slides::SlideShow show(
        {*this, *m_slide, preparation, m_parts.dialogs, m_parts.speech, m_parts.show});
    const int result = show.multSlideShow(folder, source, mode);
    m_slide.reset();
    // "Please wait" is over with the show, however it ended.
    m_parts.messages.hide();
    return result;
}

void SlideShowLink::showCurrentChart()
{
    if (m_slide) {
        m_parts.dialogs.beep();
        return;
    }
    m_slide = makeSlideWindow();
    chartview::ChartView &chart = m_parts.document.chart();
    const slides::SlidePreparation preparation(chart, {}, {});
    slides::PreparedSlide current;
    current.path = m_parts.state.currentFile;
    current.file = os::PathParts::of(current.path).fileName;
    const QImage picture =
        preparation.render(current, m_slide->pictureSize(), m_slide->pictureRatio());
    m_slide->setHoldCaption(current.file);
    QString narration;
    m_slide->Showing(slides::SlidePlayer::CurrentChart, narration, picture, current.path);
    m_slide.reset();
}

void SlideShowLink::centreMainWindow()
{
    QMainWindow &window = m_parts.window;
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect frame = window.frameGeometry();
    const int shift = int(std::lround(800.0 * window.logicalDpiX() / 1440.0));
    window.move(area.left() + (area.width() - frame.width()) / 2 + shift,
                area.top() + (area.height() - frame.height()) / 2);
}

bool SlideShowLink::pictureViewerVisible() const
{
    const PictureViewer *viewer = m_parts.pictureViewer ? m_parts.pictureViewer() : nullptr;
    return viewer && viewer->isVisible();
}

void SlideShowLink::setPictureViewerVisible(bool visible)
{
    if (PictureViewer *viewer = m_parts.pictureViewer ? m_parts.pictureViewer() : nullptr)
        viewer->setVisible(visible);
}

void SlideShowLink::setDataPath(const QString &path)
{
    shell::setDataPath(m_parts.state, m_parts.loadSave.settings(), path);
}

void SlideShowLink::setCurrentFile(const QString &path)
{
    m_parts.state.currentFile = path;
}

void SlideShowLink::tableEditorFollows(const QString &path)
{
    if (m_parts.tableEditorFollows)
        m_parts.tableEditorFollows(path);
}

void SlideShowLink::hideSettingsWindow()
{
    if (m_parts.hideSettings)
        m_parts.hideSettings();
}

void SlideShowLink::hideMainWindow()
{
    m_parts.window.hide();
}

void SlideShowLink::showMainWindow()
{
    m_parts.window.show();
}

void SlideShowLink::endOfShowPause()
{
    // Until the time of day passes now + 0.2 s taken to the whole second, so a reader that
    // was told to stop falls silent before the main window returns.
    const QTime now = QTime::currentTime();
    const double seconds = now.msecsSinceStartOfDay() / 1000.0;
    const int waitMs = int(std::lround((std::round(seconds + 0.2) - seconds) * 1000.0));
    m_parts.messages.shrink();
    if (waitMs > 0) {
        QEventLoop loop;
        QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    m_parts.messages.hide();
}

} // namespace qel::shell
