#include "shell/ui/HelpBrowser.h"

#include "os/FileAccess.h"

#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace qel::shell {

namespace {

// Reads the help's pages and pictures through FileAccess: a link to a FIFO or a device is
// shown as missing instead of blocking the window.
class RegularFileBrowser : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl &name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (!url.isLocalFile())
            return QTextBrowser::loadResource(type, name);
        QByteArray bytes;
        if (!os::FileAccess::readRegularFile(url.toLocalFile(), bytes, HelpBrowser::MaxFileSize))
            return QVariant();
        return bytes;
    }
};

} // namespace

HelpBrowser::HelpBrowser(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new RegularFileBrowser(this))
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

os::Result HelpBrowser::open(const QString &path)
{
    QByteArray bytes;
    const os::Result read = os::FileAccess::readRegularFile(path, bytes, MaxFileSize);
    if (!read)
        return read;
    if (bytes.trimmed().isEmpty())
        return os::Result::failure(
            os::FileAccess::describe(path, QStringLiteral("ファイルが空です")),
            os::FileAccess::Failed);
    m_browser->setSource(QUrl::fromLocalFile(path));
    const QString title = m_browser->documentTitle();
    setWindowTitle(title.isEmpty() ? defaultTitle() : title);
    return os::Result::success();
}

QRect HelpBrowser::placeBeside(const QRect &owner, const QSize &size, const QRect &available)
{
    constexpr int Gap = 8; // room for the window frames between the two
    const QSize fitted = size.boundedTo(available.size());
    const auto clamp = [](int v, int low, int high) { return std::max(low, std::min(v, high)); };
    const int top = clamp(owner.top(), available.top(), available.bottom() - fitted.height() + 1);
    const QRect right(QPoint(owner.right() + 1 + Gap, top), fitted);
    if (available.contains(right))
        return right;
    const QRect left(QPoint(owner.left() - Gap - fitted.width(), top), fitted);
    if (available.contains(left))
        return left;
    QRect centred(QPoint(), fitted);
    centred.moveCenter(owner.center());
    centred.moveTo(clamp(centred.left(), available.left(), available.right() - fitted.width() + 1),
                   clamp(centred.top(), available.top(), available.bottom() - fitted.height() + 1));
    return centred;
}

void HelpBrowser::showEvent(QShowEvent *event)
{
    // Placed once: after that the window stays where the user put it.
    if (!m_placed && parentWidget()) {
        m_placed = true;
        const QWidget *owner = parentWidget()->window();
        const QScreen *screen = owner->screen();
        const QRect available = screen ? screen->availableGeometry() : owner->frameGeometry();
        setGeometry(placeBeside(owner->frameGeometry(), size(), available));
    }
    QWidget::showEvent(event);
}

} // namespace qel::shell
