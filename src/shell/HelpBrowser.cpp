#include "shell/HelpBrowser.h"

#include <QFile>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace qel::shell {

HelpBrowser::HelpBrowser(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpBrowser"));
    setWindowTitle(defaultTitle());
    m_browser->setObjectName(QStringLiteral("helpText"));
    m_browser->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 560);
}

bool HelpBrowser::open(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0)
        return false;
    file.close();
    m_browser->setSource(QUrl::fromLocalFile(path));
    const QString title = m_browser->documentTitle();
    setWindowTitle(title.isEmpty() ? defaultTitle() : title);
    return true;
}

} // namespace qel::shell
