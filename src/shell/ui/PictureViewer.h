#pragma once

#include "os/Result.h"

#include <QWidget>

class QImage;
class QLabel;

namespace qel::shell {

// frmJpg, "JPG File:   click print": one picture at its natural size in a window fitted
// around it. Double-clicking the picture closes it; printing arrives with the picture
// viewer's own version.
class PictureViewer : public QWidget
{
    Q_OBJECT

public:
    explicit PictureViewer(QWidget *parent = nullptr);

    // jpgShow: loads and shows the picture; lblFileName then holds the path, or stays empty
    // when the picture could not be read. Returns whether it was shown.
    bool jpgShow(const QString &path);
    QString fileName() const;

    // Reads a picture from a regular file only; the message says why when it cannot.
    static os::Result readPicture(const QString &path, QImage &image);
    static constexpr qint64 MaxFileSize = qint64(256) << 20;

signals:
    void printRequested();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QLabel *m_picture;
    QLabel *m_fileName;
};

} // namespace qel::shell
