#include "shell/ui/PictureViewer.h"

#include "os/FileAccess.h"
#include "os/UserDialogs.h"
#include "print/PrintLayout.h"

#include <QApplication>
#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace qel::shell {

PictureViewer::PictureViewer(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmJpg"));
    setWindowTitle(caption());
    setFocusPolicy(Qt::StrongFocus);
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
    m_click.setSingleShot(true);
    connect(&m_click, &QTimer::timeout, this, &PictureViewer::Picture1_Click);
}

bool PictureViewer::jpgShow(const QString &path)
{
    m_fileName->clear();
    QImage image;
    m_error = readPicture(path, image);
    if (!m_error)
        return false;
    m_image = image;

    // The window fits around the picture; on a smaller screen the picture is shown smaller.
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const int dpiX = logicalDpiX() > 0 ? logicalDpiX() : 96;
    const int dpiY = logicalDpiY() > 0 ? logicalDpiY() : 96;
    const QSize frame = print::PrintLayout::viewerWindow(QSize(0, 0));
    const QSize room = screen ? screen->availableGeometry().size() -
                                    QSize(frame.width() * dpiX / print::PrintLayout::Twips,
                                          frame.height() * dpiY / print::PrintLayout::Twips)
                              : QSize();
    m_scale = 1;
    if (room.isValid() && !room.isEmpty())
        m_scale = std::min(
            {1.0, double(room.width()) / image.width(), double(room.height()) / image.height()});
    QPixmap shown = QPixmap::fromImage(image);
    if (m_scale < 1) {
        shown = shown.scaled(image.size() * m_scale, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        setWindowTitle(
            caption() +
            QStringLiteral("   （縮小表示 %1%）").arg(std::max(1, int(std::floor(m_scale * 100)))));
    } else {
        setWindowTitle(caption());
    }
    m_picture->setPixmap(shown);
    m_picture->setFixedSize(shown.size());
    adjustSize();
    show();
    raise();
    m_fileName->setText(path);
    return true;
}

os::Result PictureViewer::readPicture(const QString &path, QImage &image)
{
    image = QImage();
    QByteArray bytes;
    const os::Result read = os::FileAccess::readRegularFile(path, bytes, MaxFileSize);
    if (!read)
        return read;
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    // The size from the header, before anything is decoded: a huge picture is refused
    // instead of exhausting memory.
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > MaxPixels)
        return os::Result::failure(os::FileAccess::describe(
            path,
            QStringLiteral(
                "画像が大きすぎます（%1 × %2 ピクセル。表示できるのは %3 万ピクセルまでです）")
                .arg(size.width())
                .arg(size.height())
                .arg(MaxPixels / 10000)));
    reader.setAllocationLimit(int(MaxPixels * 4 / (1024 * 1024)) + 1);
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

void PictureViewer::Picture1_Click()
{
    if (!m_dialogs)
        return;
    os::MessageRequest question;
    question.text = printQuestion();
    question.buttons = os::MessageButtons::OkCancel;
    question.icon = os::MessageIcon::Information;
    question.defaultAnswer = os::MessageAnswer::Ok;
    if (m_dialogs->message(question) == os::MessageAnswer::Ok)
        objLprn();
}

void PictureViewer::Picture1_DblClick()
{
    m_click.stop();
    close();
}

void PictureViewer::objLprn()
{
    if (m_print && !m_image.isNull())
        m_print(m_image, fileName());
}

void PictureViewer::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !m_afterDoubleClick)
        m_click.start(QApplication::doubleClickInterval());
    m_afterDoubleClick = false;
    QWidget::mouseReleaseEvent(event);
}

void PictureViewer::mouseDoubleClickEvent(QMouseEvent *event)
{
    Q_UNUSED(event);
    m_afterDoubleClick = true;
    Picture1_DblClick();
}

void PictureViewer::keyPressEvent(QKeyEvent *event)
{
    // The keyboard's way to the same two actions.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Picture1_Click();
        return;
    case Qt::Key_Escape:
        Picture1_DblClick();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace qel::shell
