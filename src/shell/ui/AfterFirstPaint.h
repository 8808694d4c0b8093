#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace qel::shell {

// Runs work once a window has been painted for the first time, so that what the user need
// not wait for (registering the file types, looking up theme icons) comes after the window
// is on the screen. The work runs from the event loop right after that paint; a window that
// is never painted never runs it.
class AfterFirstPaint : public QObject
{
    Q_OBJECT

public:
    static void call(QWidget &window, std::function<void()> work);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AfterFirstPaint(QWidget &window, std::function<void()> work);

    std::function<void()> m_work;
    bool m_painted = false;
};

} // namespace qel::shell
