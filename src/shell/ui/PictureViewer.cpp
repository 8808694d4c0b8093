#include "shell/ui/PictureViewer.h"

#include "os/FileAccess.h"

#include <QBuffer>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QVBoxLayout>

namespace qel::shell {

PictureViewer::PictureViewer(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmJpg"));
    setWindowTitle(QStringLiteral("JPG File:   click print"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(m_picture);
    m_fileName = new QLabel(this);
    m_fileName->setObjectName(QStringLiteral("lblFileName"));
    m_fileName->hide();
}

bool PictureViewer::jpgShow(const QString &path)
{
    m_fileName->clear();
    QImage image;
    if (!readPicture(path, image))
        return false;
    m_picture->setPixmap(QPixmap::fromImage(image));
    m_picture->setFixedSize(image.size());
    adjustSize();
    show();
    raise();
    m_fileName->setText(path);
    return true;
}

os::Result PictureViewer::readPicture(const QString &path, QImage &image)
{
    QByteArray bytes;
    const os::Result read = os::FileAccess::readRegularFile(path, bytes, MaxFileSize);
    if (!read)
        return read;
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    image = reader.read();
    if (image.isNull())
        return os::Result::failure(os::FileAccess::describe(
            path, QStringLiteral("画像として読めません（%1）").arg(reader.errorString())));
    return os::Result::success();
}

QString PictureViewer::fileName() const
{
    return m_fileName->text();
}

void PictureViewer::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit printRequested();
    QWidget::mousePressEvent(event);
}

void PictureViewer::mouseDoubleClickEvent(QMouseEvent *event)
{
    Q_UNUSED(event);
    close();
}

} // namespace qel::shell
