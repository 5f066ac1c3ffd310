#pragma once

#include "ui/animation/TransitionLook.h"

#include <QList>
#include <QString>

namespace nolvea {

// How the header's counts change: the digits that differ roll, the old ones out and the new
// ones in, upwards when the numbers grow and downwards when they shrink; the rest of the text
// only slides to its new place.
class DrawerCountMotion {
public:
    enum class Role { kept, entering, leaving };
    struct Piece {
        QString text;
        Role role = Role::kept;
        int from = -1; // index of the piece's first character in the old text; -1 if none
        int to = -1;   // and in the new one
        bool operator==(const Piece&) const = default;
    };

    // The old and new texts cut into pieces. Texts whose words match are compared number by
    // number, digits aligned from the right; any other change replaces the whole text.
    static QList<Piece> pieces(const QString& from, const QString& to);
    // +1 when the first number that changed grew, -1 when it shrank, +1 when none did.
    static int direction(const QString& from, const QString& to);
    // A piece's look at `progress` (0 at the change, 1 at rest), for text `lineHeight` high.
    static TransitionLook look(Role role, double progress, int direction, double lineHeight);

    DrawerCountMotion() = delete;
};

} // namespace nolvea
