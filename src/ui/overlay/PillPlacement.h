#pragma once

#include <QList>
#include <QRect>
#include <QSize>

#include <optional>

namespace nolvea {

// One screen as placement sees it: its whole frame and the part left by panels and docks.
struct ScreenArea {
    QRect frame;
    QRect available;
};

// Where the pill's panel goes and where its glass shapes sit inside it.
class PillPlacement {
public:
    static constexpr QSize kPanelSize{640, 460};
    static constexpr int kBottomGap = 8;      // panel above the bottom of the usable area
    static constexpr int kBottomPadding = 14; // the glass group above the panel's bottom
    static constexpr int kDropGap = 8;
    static constexpr int kBubbleGap = 10;
    static constexpr int kAgentDrop = 40;
    static constexpr int kLockDrop = 36;

    // The panel frame centred at the bottom of the usable area of the first screen holding
    // `pointer`, else of `fallback` (the primary screen); none when there is no screen.
    static std::optional<QRect> panelFrame(QPoint pointer, const QList<ScreenArea>& screens,
                                           std::optional<ScreenArea> fallback);

    // The surfaces of the glass group in panel coordinates: a row of the drops around the
    // pill, the live-text bubble above it, all centred.
    struct Group {
        QRect bubble;
        QRect agentDrop;
        QRect pill;
        QRect lockDrop;
        bool operator==(const Group&) const = default;
    };
    static Group group(QSize panel, QSize pill, std::optional<QSize> bubble, bool agentDrop,
                       bool lockDrop);

    PillPlacement() = delete;
};

} // namespace nolvea
