#pragma once

#include <QString>
#include <QStringList>
#include <qcoro/qcorotask.h>

namespace nolvea {

// Draws every surface of the application from canned states into PNG files at twice their
// size in points: the pill in eight states, the seven onboarding pages, the logo's states,
// the island in thirteen states, the history drawer, four settings sections and the tray
// window. Nothing is shown on screen and nothing of the application's own live state,
// settings or files is written; the user's settings, permissions and history are read as
// they are. Main thread.
class PreviewRenderer {
public:
    // Writes the pictures into `folder` (made with its parents when missing), one after the
    // other, and returns the names of those it could not write, in writing order.
    static QCoro::Task<QStringList> render(QString folder);

    PreviewRenderer() = delete;
};

} // namespace nolvea
