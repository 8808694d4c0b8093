#pragma once

#include "os/Clipboard.h"

namespace qel::os {

// The desktop's clipboard (QGuiApplication::clipboard()).
class SystemClipboard : public Clipboard
{
public:
    void setMimeData(QMimeData *data) override;
};

} // namespace qel::os
