#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace qel::slides {

// The slide window as the show driver sees it: the player Showing and the controls the
// driver sets and reads between slides. FormSlide is the real one; tests stand in for it.
class SlidePlayer
{
public:
    // The kinds of slide Showing is given.
    enum Kind : int {
        CurrentChart = 0, // the single view of the main window's chart
        ScriptChart = 1,
        SelectionChart = 2,
        Picture = 10,
    };

    virtual ~SlidePlayer() = default;

    // Shows picture as a slide of kind, speaks narration and returns when the slide has
    // ended. narration may come back replaced (the text that was spoken). path names the
    // slide's file for printing.
    virtual void Showing(int kind, QString &narration, const QImage &picture,
                         const QString &path) = 0;

    // The area a slide picture fills, in device-independent pixels, and the pixel ratio of
    // the screen it is shown on: pictures are drawn at that size, never stretched.
    virtual QSize pictureSize() const = 0;
    virtual qreal pictureRatio() const = 0;

    // LabelFlag: "" on the first slide, " " when going back is allowed, "Back", "Home", "Quit".
    virtual QString labelFlag() const = 0;
    virtual void setLabelFlag(const QString &flag) = 0;
    // LblSldFile: the script being played.
    virtual void setScriptFile(const QString &path) = 0;
    // CmdNonStop: the narration mode ("Pau", "Seq", "Sil").
    virtual void setNarrationMode(const QString &caption, bool visible) = 0;
    // CmdEdit: "Edit", "EditOk".
    virtual void setEditButton(const QString &caption, bool visible) = 0;
    // CheckPrn: printing each slide.
    virtual void enablePrintBox() = 0;
    virtual void clearAndHidePrintBox() = 0;
    // CheckHold's caption: the slide's file name.
    virtual void setHoldCaption(const QString &caption) = 0;
    // ImageChfJpg.
    virtual void setPictureEnabled(bool enabled) = 0;
    virtual bool pictureVisible() const = 0;

    virtual void showWindow() = 0;
    // The window closes; the show is over.
    virtual void unload() = 0;
};

} // namespace qel::slides
