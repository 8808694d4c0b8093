#include "os/Resources.h"

#include <QtGlobal>

static void initIconsResource()
{
    Q_INIT_RESOURCE(icons);
}

namespace qel::os {

void initIconResources()
{
    static const bool done = (initIconsResource(), true);
    Q_UNUSED(done);
}

} // namespace qel::os
