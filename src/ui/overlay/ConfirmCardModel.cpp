#include "ui/overlay/ConfirmCardModel.h"

#include "ui/animation/SpringValue.h"
#include "ui/components/Theme.h"

#include <algorithm>

namespace nolvea {

QList<ConfirmDetailLine> ConfirmCardModel::detailLines(const QStringList& details) {
    QList<ConfirmDetailLine> lines;
    for (const QString& d : details) {
        if (d.isEmpty()) continue;
        const int n = int(lines.size());
        lines.append({d, n == 0, n == 0 ? 4 : 2, (n + 1) * 60});
    }
    return lines;
}

QList<ConfirmDetailLine> ConfirmCardModel::plainDetailLines(const QStringList& details) {
    QList<ConfirmDetailLine> lines;
    for (const QString& d : details)
        if (!d.isEmpty()) lines.append({d, false, 2, 0});
    return lines;
}

double ConfirmCardModel::detailProgress(const ConfirmDetailLine& line, double elapsed) {
    const double run = elapsed - line.delayMs / 1000.0;
    if (run <= 0) return 0;
    SpringValue spring(0, Theme::snappy());
    spring.retarget(1);
    spring.advance(run);
    return spring.value();
}

double ConfirmCardModel::entranceDuration(const QList<ConfirmDetailLine>& lines) {
    // The quick spring is at rest well within a second.
    constexpr double kSettle = 1.0;
    double last = 0;
    for (const ConfirmDetailLine& l : lines)
        last = std::max(last, l.delayMs / 1000.0);
    return last + kSettle;
}

bool ConfirmCardModel::acceptsKeys(Clock::Duration shown, Clock::Duration now) {
    return now - shown >= kKeyGuard;
}

} // namespace nolvea
