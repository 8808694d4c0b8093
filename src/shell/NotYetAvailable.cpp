#include "shell/NotYetAvailable.h"

namespace qel::shell {

QString NotYetAvailable::text(const QString &feature)
{
    return QStringLiteral("「%1」はまだ使えません。\n(not yet available)").arg(feature);
}

} // namespace qel::shell
