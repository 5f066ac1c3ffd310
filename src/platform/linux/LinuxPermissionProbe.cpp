#include "platform/linux/LinuxPermissionProbe.h"

#include "platform/linux/AtspiAccessibilityReader.h"
#include "platform/linux/X11Display.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QProcess>
#include <QStandardPaths>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace nolvea {

namespace {

bool hasXInput2() {
    auto opened = X11Display::open();
    if (std::holds_alternative<DesktopError>(opened)) return false;
    Display* dpy = std::get<std::unique_ptr<X11Display>>(opened)->get();
    int opcode = 0, event = 0, error = 0;
    if (!XQueryExtension(dpy, "XInputExtension", &opcode, &event, &error)) return false;
    int major = 2, minor = 1;
    return XIQueryVersion(dpy, &major, &minor) == Success &&
           (major > 2 || (major == 2 && minor >= 1));
}

struct SettingsPage {
    const char* desktop; // as XDG_CURRENT_DESKTOP names it
    const char* program;
    const char* microphone;
    const char* accessibility;
};

constexpr SettingsPage pages[] = {
    {"GNOME", "gnome-control-center", "sound", "universal-access"},
    {"KDE", "systemsettings", "kcm_pulseaudio", "kcm_access"},
};

} // namespace

bool LinuxPermissionProbe::isGranted(PermissionKind kind) {
    switch (kind) {
    case PermissionKind::microphone:
        return !QMediaDevices::audioInputs().isEmpty();
    case PermissionKind::accessibility:
        return AtspiAccessibilityReader().isEnabled();
    case PermissionKind::inputMonitoring:
        return hasXInput2();
    }
    return false;
}

bool LinuxPermissionProbe::requestAccessibility() {
    AtspiAccessibilityReader::setEnabled(true);
    return isGranted(PermissionKind::accessibility);
}

bool LinuxPermissionProbe::requestInputMonitoring() {
    return isGranted(PermissionKind::inputMonitoring);
}

bool LinuxPermissionProbe::openSettings(PermissionKind kind) {
    if (kind == PermissionKind::inputMonitoring) return false; // no such page on Linux
    const QStringList desktops =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(':', Qt::SkipEmptyParts);
    for (const SettingsPage& page : pages) {
        if (!desktops.contains(QLatin1String(page.desktop), Qt::CaseInsensitive)) continue;
        const QString program = QStandardPaths::findExecutable(QLatin1String(page.program));
        if (program.isEmpty()) continue;
        const char* panel =
            kind == PermissionKind::microphone ? page.microphone : page.accessibility;
        return QProcess::startDetached(program, {QLatin1String(panel)});
    }
    return false;
}

} // namespace nolvea
