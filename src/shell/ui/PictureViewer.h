#pragma once

#include "os/Result.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;

namespace qel::os {
class UserDialogs;
}

namespace qel::shell {

// frmJpg, "JPG File:   click print": one picture at its natural size in a window fitted
// around it, smaller when the screen is smaller (the caption then says so). A click asks
// whether to print the picture; a double click closes the viewer. Reads whatever Qt's image
// plugins read (JPEG, PNG, BMP, GIF, ...).
class PictureViewer : public QWidget
{
    Q_OBJECT

public:
    // objLprn's printer: the picture and lblFileName.
    using PrintFunction = std::function<void(const QImage &image, const QString &fileName)>;

    explicit PictureViewer(QWidget *parent = nullptr);

    void setDialogs(os::UserDialogs *dialogs) { m_dialogs = dialogs; }
    void setPrintFunction(PrintFunction print) { m_print = std::move(print); }

    // jpgShow: loads and shows the picture; lblFileName then holds the path, or stays empty
    // when the picture could not be read. Returns whether it was shown; lastError says why not.
    bool jpgShow(const QString &path);
    QString fileName() const;
    os::Result lastError() const { return m_error; }
    const QImage &picture() const { return m_image; }
    // The share of its natural size the picture is shown at (1 when it fits the screen).
    double shownScale() const { return m_scale; }

    // The click on the picture: "ピクチャーを印刷します．" with OK and Cancel; OK prints.
    void Picture1_Click();
    // Double click: the viewer closes.
    void Picture1_DblClick();
    // Prints the picture on show.
    void objLprn();

    // Reads a picture from a regular file only, refusing one too large to hold in memory
    // before decoding it; the message says why when it cannot.
    static os::Result readPicture(const QString &path, QImage &image);
    static constexpr qint64 MaxFileSize = qint64(256) << 20;
    static constexpr qint64 MaxPixels = qint64(64) * 1000 * 1000;

    static QString caption() { return QStringLiteral("JPG File:   click print"); }
    static QString printQuestion() { return QStringLiteral("ピクチャーを印刷します．"); }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLabel *m_picture;
    QLabel *m_fileName;
    QImage m_image;
    double m_scale = 1;
    os::Result m_error;
    os::UserDialogs *m_dialogs = nullptr;
    PrintFunction m_print;
    // A click waits for the double-click time, so a double click never asks to print first.
    QTimer m_click;
    bool m_afterDoubleClick = false;
};

} // namespace qel::shell
