#pragma once

#include <QByteArray>
#include <QString>

namespace nolvea {

// Whether the application can open its windows in this session, decided before Qt tries (Qt
// aborts the process when it finds no display). X11 is what the desktop layers speak; under
// Wayland the windows still open, but the global hotkey and the paste do not work.
class DisplaySession {
public:
    struct Environment {
        QString display;        // DISPLAY
        QString waylandDisplay; // WAYLAND_DISPLAY
        QString sessionType;    // XDG_SESSION_TYPE
        QString qpaPlatform;    // QT_QPA_PLATFORM, as the person set it
        bool x11Reachable = false;
        bool waylandPluginInstalled = false;
    };
    struct Verdict {
        bool canStart = false;
        QString message;     // why not, or the Wayland notice; empty otherwise
        QByteArray platform; // the Qt platform to ask for; empty leaves Qt's choice
    };

    static Verdict judge(const Environment& env);
    // This process's environment; reaching the X server only when one is named.
    static Environment current();

    static QString noDisplayMessage();
    static QString unreachableMessage(const QString& display);
    static QString waylandNotice();

    DisplaySession() = delete;
};

} // namespace nolvea
