#pragma once

#include <QWidget>

class QTextBrowser;

namespace qel::shell {

// The help window: the program's HTML help, with its links followed inside the window.
class HelpBrowser : public QWidget
{
    Q_OBJECT

public:
    explicit HelpBrowser(QWidget *parent = nullptr);

    static QString defaultTitle() { return QStringLiteral("qelPro ヘルプ"); }

    // Shows the help file; false when it cannot be read.
    bool open(const QString &path);
    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};

} // namespace qel::shell
