#include "stats/ui/StatTextViewer.h"

#include "os/FileAccess.h"
#include "os/TextCodec.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace qel::stats {

StatTextViewer::StatTextViewer(QWidget *parent)
    : m_parent(parent)
{}

int StatTextViewer::closeViewers()
{
    int closed = 0;
    // One window at a time, as long as one is there: closing may change the list.
    for (bool found = true; found;) {
        found = false;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->windowTitle() == title()) {
                w->close();
                ++closed;
                found = true;
                break;
            }
        }
    }
    return closed;
}

void StatTextViewer::showReport(const QString &path)
{
    closeViewers();

    QByteArray bytes;
    m_lastRead = os::FileAccess::readRegularFile(path, bytes, MaxFileSize);
    const QString text =
        m_lastRead ? os::splitLines(os::decodeText(bytes).text).join(u'\n')
                   : QStringLiteral("統計処理の記録を表示できません。\n") + m_lastRead.message;

    auto *view = new QPlainTextEdit(m_parent);
    view->setObjectName(QStringLiteral("statTxt"));
    view->setWindowFlag(Qt::Window);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setWindowTitle(title());
    view->setReadOnly(true);
    // The report lines up its tables in print zones of fixed width.
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    // IPAGothic gives half-width characters one column and full-width ones two; should it be
    // missing, other fixed-pitch Japanese fonts keep the zones in line.
    QFont font(QStringLiteral("IPAGothic"));
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                      QStringLiteral("TakaoGothic"), QStringLiteral("VL Gothic")});
    font.setStyleHint(QFont::Monospace);
    view->setFont(font);
    view->setPlainText(text);
    view->resize(760, 520);
    view->show();
    view->raise();
    view->activateWindow();
    view->moveCursor(QTextCursor::End);
    view->ensureCursorVisible();
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    m_window = view;
}

} // namespace qel::stats
