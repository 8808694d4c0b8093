#include "shell/ui/AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace qel::shell {

AfterFirstPaint::AfterFirstPaint(QWidget &window, std::function<void()> work)
    : QObject(&window)
    , m_work(std::move(work))
{
    window.installEventFilter(this);
}

void AfterFirstPaint::call(QWidget &window, std::function<void()> work)
{
    new AfterFirstPaint(window, std::move(work));
}

bool AfterFirstPaint::eventFilter(QObject *watched, QEvent *event)
{
    // The window's own paint comes first; the queued call runs once the whole window has
    // been painted and handed to the screen.
    if (!m_painted && event->type() == QEvent::Paint) {
        m_painted = true;
        QTimer::singleShot(0, this, [this] {
            const std::function<void()> work = std::move(m_work);
            deleteLater();
            work();
        });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qel::shell
