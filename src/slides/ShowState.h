#pragma once

#include <QtGlobal>

namespace qel::slides {

// What a slide show shares with the voice output while it waits: the stop signal
// (0 slide running, 1 slide ended by the user, 2 show ended) and the slide window's hold box
// CheckHold (0 released, 1 ticked, 2 grayed). The slide window keeps them in step with its
// controls; the voice output reads and sets them inside its waits.
struct ShowState
{
    qint16 slideSignal = 0;
    int checkHold = 0;
};

} // namespace qel::slides
