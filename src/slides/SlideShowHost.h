#pragma once

#include <QString>

namespace qel::slides {

// What a slide show asks of the main window around its slides. The main window implements
// it; tests record the calls.
class SlideShowHost
{
public:
    virtual ~SlideShowHost() = default;

    // The main window in the middle of its screen.
    virtual void centreMainWindow() = 0;
    // The picture viewer is hidden during a show and comes back after it.
    virtual bool pictureViewerVisible() const = 0;
    virtual void setPictureViewerVisible(bool visible) = 0;
    // setDataPath: the folder of path becomes the data folder.
    virtual void setDataPath(const QString &path) = 0;
    // currentFile: the chart slide on view.
    virtual void setCurrentFile(const QString &path) = 0;
    // The table-editor buttons follow the chart on view.
    virtual void tableEditorFollows(const QString &path) = 0;
    virtual void hideSettingsWindow() = 0;
    virtual void hideMainWindow() = 0;
    virtual void showMainWindow() = 0;
    // After the voice was stopped at the end of a show: a short pause for it to fall silent.
    virtual void endOfShowPause() = 0;
};

} // namespace qel::slides
