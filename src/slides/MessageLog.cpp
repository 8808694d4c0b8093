#include "slides/MessageLog.h"

namespace qel::slides {

void MessageLog::frmMsgShow(const QString &title, const QString &message)
{
    m_visible = true;
    m_back = false;
    m_title = title;
    m_message = message;
    if (m_titles.isEmpty() || m_titles.constLast() != title)
        m_titles.append(title);
    ++m_shows;
}

} // namespace qel::slides
