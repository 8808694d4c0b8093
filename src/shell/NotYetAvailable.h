#pragma once

#include <QString>

namespace qel::shell {

// The notice for a command whose work arrives with a later version of the program.
class NotYetAvailable
{
public:
    static QString text(const QString &feature);
};

} // namespace qel::shell
