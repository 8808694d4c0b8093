#pragma once

#include "os/Result.h"

#include <QWidget>

class QTextBrowser;

namespace qel::shell {

// The help window: the program's HTML help, with its links followed inside the window.
// It opens beside the window it belongs to, or centred on it when there is no room beside.
class HelpBrowser : public QWidget
{
    Q_OBJECT

public:
    explicit HelpBrowser(QWidget *parent = nullptr);

    static QString defaultTitle() { return QStringLiteral("qelPro ヘルプ"); }

    // Shows the help file. A file that is missing, empty, too large or no regular file (a
    // FIFO would block the window) is refused with a message naming it and the reason; the
    // pages and pictures the help links to are read the same way.
    os::Result open(const QString &path);

    static constexpr qint64 MaxFileSize = qint64(16) << 20;
    QTextBrowser *browser() const { return m_browser; }

    // Where a window of size goes next to owner on a screen whose free area is available:
    // to the right of owner, else to its left, else centred on it; always on the screen.
    static QRect placeBeside(const QRect &owner, const QSize &size, const QRect &available);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QTextBrowser *m_browser;
    bool m_placed = false;
};

} // namespace qel::shell
