#pragma once

#include <QString>

#include <optional>

namespace qel::stats {

// The four range boxes of the settings window (txtGrp0, txtGrp1, txtCpg0, txtCpg1), 1-based.
// The settings window owns the boxes; it hands their texts in here and takes them back, and
// moves the focus to the box named in focus when a routine asks for it.
struct RegressionFields
{
    enum class Field { FirstGroup, LastGroup, FirstPoint, LastPoint };

    QString firstGroup;
    QString lastGroup;
    QString firstPoint;
    QString lastPoint;

    // Set when a routine refused and wants the user to correct that box.
    std::optional<Field> focus;
};

} // namespace qel::stats
