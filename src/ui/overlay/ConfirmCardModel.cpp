#include "ui/overlay/ConfirmCardModel.h"

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

bool ConfirmCardModel::acceptsKeys(Clock::Duration shown, Clock::Duration now) {
    return now - shown >= kKeyGuard;
}

} // namespace nolvea
