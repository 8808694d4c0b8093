#pragma once

#include <QString>

namespace qel::os {

// What an operation the user asked for came to: success, or an error code with the message
// that is shown to the user (and printed by the command line). Loaders, imports, exports,
// saves and regression jobs all answer with it.
struct Result
{
    qint32 code = 0; // 0 success; anything else names the failure
    QString message; // for the user; may be set on success too (a warning on the way)

    bool ok() const { return code == 0; }
    explicit operator bool() const { return ok(); }

    static Result success(const QString &note = QString()) { return {0, note}; }
    static Result failure(const QString &message, qint32 code = 1)
    {
        return {code == 0 ? 1 : code, message};
    }
};

} // namespace qel::os
