#include "ui/notch/NotchGeometry.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace nolvea {

NotchGeometry NotchGeometry::measure(const QList<NotchScreen>& screens) {
    for (const NotchScreen& s : screens) {
        if (s.safeTop <= 0) continue;
        const int w = s.frame.width() - s.auxLeft - s.auxRight;
        return {QSize(w > 0 ? w : 200, s.safeTop), true, s.frame};
    }
    const auto main =
        std::find_if(screens.begin(), screens.end(), [](const NotchScreen& s) { return s.isMain; });
    const NotchScreen* screen =
        main != screens.end() ? &*main : (screens.isEmpty() ? nullptr : &screens.first());
    if (!screen) return {};
    const int panel = screen->available.top() - screen->frame.top();
    return {QSize(190, std::max(panel, 24)), false, screen->frame};
}

NotchGeometry NotchGeometry::current() {
    QList<NotchScreen> screens;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* s : QGuiApplication::screens())
        screens << NotchScreen{s->geometry(), s->availableGeometry(), 0, 0, 0, s == primary};
    return measure(screens);
}

QRect NotchGeometry::islandRect(QSize islandSize) const {
    const QSize s = islandSize.width() != 0 || islandSize.height() != 0 ? islandSize : notchSize;
    const int centre = screenFrame.x() + screenFrame.width() / 2;
    return {centre - s.width() / 2, screenFrame.top(), s.width(), s.height()};
}

QRect NotchGeometry::hoverZone(QSize islandSize) const {
    return islandRect(islandSize).adjusted(-12, -16, 12, 16);
}

QRect NotchGeometry::panelFrame() const {
    const int centre = screenFrame.x() + screenFrame.width() / 2;
    return {centre - kPanelSize.width() / 2, screenFrame.top(), kPanelSize.width(),
            kPanelSize.height()};
}

} // namespace nolvea
