#include "ui/overlay/PillPlacement.h"

#include <algorithm>

namespace nolvea {

std::optional<QRect> PillPlacement::panelFrame(QPoint pointer, const QList<ScreenArea>& screens,
                                               std::optional<ScreenArea> fallback) {
    std::optional<ScreenArea> target;
    for (const ScreenArea& s : screens)
        if (s.frame.contains(pointer)) {
            target = s;
            break;
        }
    if (!target) target = fallback;
    if (!target) return std::nullopt;
    const QRect a = target->available;
    return QRect(a.x() + a.width() / 2 - kPanelSize.width() / 2,
                 a.y() + a.height() - kBottomGap - kPanelSize.height(), kPanelSize.width(),
                 kPanelSize.height());
}

PillPlacement::Group PillPlacement::group(QSize panel, QSize pill, std::optional<QSize> bubble,
                                          bool agentDrop, bool lockDrop) {
    const int rowWidth = (agentDrop ? kAgentDrop + kDropGap : 0) + pill.width() +
                         (lockDrop ? kDropGap + kLockDrop : 0);
    const int rowHeight =
        std::max({pill.height(), agentDrop ? kAgentDrop : 0, lockDrop ? kLockDrop : 0});
    const int rowBottom = panel.height() - kBottomPadding;
    const int rowTop = rowBottom - rowHeight;
    const int centreY = rowTop + rowHeight / 2;
    int x = (panel.width() - rowWidth) / 2;

    Group g;
    if (agentDrop) {
        g.agentDrop = QRect(x, centreY - kAgentDrop / 2, kAgentDrop, kAgentDrop);
        x += kAgentDrop + kDropGap;
    }
    g.pill = QRect(x, rowTop + (rowHeight - pill.height()) / 2, pill.width(), pill.height());
    x += pill.width();
    if (lockDrop) g.lockDrop = QRect(x + kDropGap, centreY - kLockDrop / 2, kLockDrop, kLockDrop);
    if (bubble)
        g.bubble = QRect((panel.width() - bubble->width()) / 2,
                         rowTop - kBubbleGap - bubble->height(), bubble->width(), bubble->height());
    return g;
}

} // namespace nolvea
