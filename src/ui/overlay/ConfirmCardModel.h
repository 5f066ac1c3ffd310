#pragma once

#include "support/Clock.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace nolvea {

// One detail line of a confirmation card and how it shows.
struct ConfirmDetailLine {
    QString text;
    bool primary = false;
    int maxLines = 2;
    int delayMs = 0; // when it fades in after the card appears

    bool operator==(const ConfirmDetailLine&) const = default;
};

// The rules of the pill's confirmation card.
class ConfirmCardModel {
public:
    // Return and Escape are ignored this long after the card appears, so a key meant for
    // another window cannot decide the action.
    static constexpr Clock::Duration kKeyGuard{400};

    // The details without the empty ones; the first stands out.
    static QList<ConfirmDetailLine> detailLines(const QStringList& details);
    // The island's: every non-empty detail alike, dimmed, up to two lines, all at once.
    static QList<ConfirmDetailLine> plainDetailLines(const QStringList& details);
    // How far `line` has risen and faded into place `elapsed` seconds after the card appeared:
    // 0 before its delay, then a quick spring to 1.
    static double detailProgress(const ConfirmDetailLine& line, double elapsed);
    // How long the entrance of `lines` takes, until the last one is at rest.
    static double entranceDuration(const QList<ConfirmDetailLine>& lines);
    static constexpr double kDetailRise = 6; // pixels a detail line rises as it fades in

    // Whether a key pressed at `now` may approve or decline a card that appeared at `shown`.
    static bool acceptsKeys(Clock::Duration shown, Clock::Duration now);

    ConfirmCardModel() = delete;
};

} // namespace nolvea
