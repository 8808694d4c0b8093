#include "os/ui/SystemClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace qel::os {

void SystemClipboard::setMimeData(QMimeData *data)
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setMimeData(data);
    else
        delete data;
}

} // namespace qel::os
