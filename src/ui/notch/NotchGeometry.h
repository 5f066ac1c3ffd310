#pragma once

#include <QList>
#include <QRect>
#include <QSize>

#include <optional>

namespace nolvea {

// What the island needs to know of one screen. PC screens have no camera notch, so the
// desktop always reports a zero top inset; the notched branch is reached only through this
// description.
struct NotchScreen {
    QRect frame;
    QRect available; // without the desktop's top panel
    int safeTop = 0; // height of a camera notch, 0 without one
    int auxLeft = 0; // width of the usable strips beside the notch
    int auxRight = 0;
    bool isMain = false;
};

// Where the island sits: the camera notch, or a notch-sized place at the top centre of the
// main screen. Coordinates are Qt's (y grows downward).
struct NotchGeometry {
    static constexpr QSize kPanelSize{760, 560};

    QSize notchSize{190, 24};
    bool hasHardwareNotch = false;
    QRect screenFrame{0, 0, 1440, 900};

    bool operator==(const NotchGeometry&) const = default;

    static NotchGeometry measure(const QList<NotchScreen>& screens);
    // The screens of the running desktop.
    static NotchGeometry current();

    // The island hanging from the top edge, centred; the notch size while it is unmeasured.
    QRect islandRect(QSize islandSize) const;
    // Where the pointer counts as on the island.
    QRect hoverZone(QSize islandSize) const;
    QRect panelFrame() const;
};

} // namespace nolvea
