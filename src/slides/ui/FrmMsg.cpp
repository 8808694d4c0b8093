#include "slides/ui/FrmMsg.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

namespace qel::slides {

FrmMsg::FrmMsg(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_title(new QLabel(this))
    , m_msg(new QLabel(this))
{
    setObjectName(QStringLiteral("frmMsg"));
    setWindowTitle(QStringLiteral("qel Message"));
    m_title->setObjectName(QStringLiteral("title"));
    m_msg->setObjectName(QStringLiteral("msg"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_msg->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(2);
    layout->addWidget(m_title);
    layout->addWidget(m_msg, 1);
}

int FrmMsg::toPixels(int twips, bool vertical) const
{
    const double dpi = vertical ? logicalDpiY() : logicalDpiX();
    return std::max(1, int(std::lround(twips * dpi / 1440.0)));
}

void FrmMsg::frmMsgShow(const QString &title, const QString &message)
{
    m_title->setText(title);
    m_msg->setText(message);
    resize(toPixels(WidthTwips, false), toPixels(HeightTwips, true));
    show();
    // A long load calls this every hundred values; the window is redrawn often enough when
    // events are processed a few dozen times a second.
    if (!m_lastPump.isValid() || m_lastPump.elapsed() >= 30) {
        QApplication::processEvents();
        m_lastPump.restart();
    }
    raise();
}

void FrmMsg::sendToBack()
{
    lower();
}

void FrmMsg::shrink()
{
    resize(toPixels(5, false), toPixels(5, true));
    show();
}

} // namespace qel::slides
