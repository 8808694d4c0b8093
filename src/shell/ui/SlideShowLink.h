#pragma once

#include "slides/SlideShowHost.h"
#include "slides/ui/FormSlide.h"

#include <QPointer>

#include <functional>
#include <memory>

class QMainWindow;

namespace qel::chartdoc {
class ChartDocument;
}
namespace qel::os {
class UserDialogs;
}
namespace qel::slides {
class FrmMsg;
class SpeechOutput;
struct ShowState;
} // namespace qel::slides

namespace qel::shell {

class LoadSave;
class PictureViewer;
struct ProgramState;

// The main window's side of a slide show: it starts the show driver with a fresh slide window,
// loads chart slides through the window's Chart1LoadCHF and pictures through the picture
// loader, and does what the driver asks of the window around the slides.
class SlideShowLink : public slides::SlideShowHost
{
public:
    struct Parts
    {
        QMainWindow &window;
        ProgramState &state;
        LoadSave &loadSave;
        chartdoc::ChartDocument &document;
        os::UserDialogs &dialogs;
        slides::SpeechOutput &speech;
        slides::ShowState &show;
        slides::FrmMsg &messages;
        std::function<PictureViewer *()> pictureViewer;
        std::function<void(const QString &script)> editScript;
        slides::FormSlide::Printer print;
        std::function<void()> hideSettings;
        // setXcelOpenVisible: the table-editor buttons for the chart slide on view.
        std::function<void(const QString &path)> tableEditorFollows;
    };

    explicit SlideShowLink(Parts parts);
    ~SlideShowLink() override;

    // multSlideShow: mode 0 plays the script source, mode 1 the selection list in source
    // (which comes back as the generated script). Returns the driver's result.
    int multSlideShow(const QString &folder, QString &source, int mode);
    // Showing kind 0: the chart on view, full screen, until the user clicks.
    void showCurrentChart();
    bool showRunning() const { return bool(m_slide); }
    // The slide window while a show runs (tests drive it).
    slides::FormSlide *slideWindow() const { return m_slide.get(); }
    // Called with each new slide window before it is used (tests hook in here).
    void setSlideWindowCreated(std::function<void(slides::FormSlide &)> created)
    {
        m_created = std::move(created);
    }

    // SlideShowHost
    void centreMainWindow() override;
    bool pictureViewerVisible() const override;
    void setPictureViewerVisible(bool visible) override;
    void setDataPath(const QString &path) override;
    void setCurrentFile(const QString &path) override;
    void tableEditorFollows(const QString &path) override;
    void hideSettingsWindow() override;
    void hideMainWindow() override;
    void showMainWindow() override;
    void endOfShowPause() override;

private:
    std::unique_ptr<slides::FormSlide> makeSlideWindow();

    Parts m_parts;
    std::unique_ptr<slides::FormSlide> m_slide;
    std::function<void(slides::FormSlide &)> m_created;
};

} // namespace qel::shell
