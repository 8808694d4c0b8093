#include "shell/PictureViewer.h"

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
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    m_picture->setPixmap(QPixmap::fromImage(image));
    m_picture->setFixedSize(image.size());
    adjustSize();
    show();
    raise();
    m_fileName->setText(path);
    return true;
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
