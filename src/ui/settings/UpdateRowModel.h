#pragma once

#include "updates/UpdatePhase.h"

#include <QColor>
#include <QString>

#include <optional>

namespace nolvea::UpdateRowModel {

enum class Action { none, check, install };

// What the update row shows for one phase of the updater.
struct Look {
    bool progress = false; // a spinning indicator before the status
    QString status;        // "" when the button carries the label
    QString symbol;        // before the status, or on the button when there is none; "" for none
    QColor color;          // of the status
    int maxLines = 1;
    QString button; // "" for no button
    bool primary = false;
    bool enabled = true;
    Action action = Action::none;
};

// `canCheck`: a manifest address can be formed (only the idle phase asks).
Look look(const UpdatePhase& phase, bool canCheck);

} // namespace nolvea::UpdateRowModel
