#include "stats/ui/StatTextViewer.h"

#include "os/TextCodec.h"

#include <QApplication>
#include <QFile>
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

    QFile file(path);
    QString text;
    if (file.open(QIODevice::ReadOnly))
        text = os::splitLines(os::decodeText(file.readAll()).text).join(u'\n');

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
