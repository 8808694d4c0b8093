#pragma once

class QMimeData;

namespace qel::os {

// The system clipboard. The program puts pictures of its chart there; tests keep what was put.
class Clipboard
{
public:
    virtual ~Clipboard() = default;

    // Replaces the clipboard's content; the clipboard takes ownership of data.
    virtual void setMimeData(QMimeData *data) = 0;
};

} // namespace qel::os
