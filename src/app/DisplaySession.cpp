#include "app/DisplaySession.h"

#include "platform/linux/X11Display.h"

#include <QDir>
#include <QLibraryInfo>

namespace nolvea {

QString DisplaySession::noDisplayMessage() {
    return QStringLiteral("A Nolvea precisa de uma sessão de área de trabalho X11, e nenhuma tela "
                          "foi encontrada (DISPLAY está vazio). Abra a Nolvea de dentro da sessão "
                          "gráfica.");
}

QString DisplaySession::unreachableMessage(const QString& display) {
    return QStringLiteral("A Nolvea precisa de uma sessão de área de trabalho X11, mas a tela "
                          "\"%1\" não respondeu.")
        .arg(display);
}

QString DisplaySession::waylandNotice() {
    return QStringLiteral("Sessão Wayland: o atalho global de teclado e a colagem do texto no "
                          "aplicativo em frente precisam de X11 e não funcionam aqui. O restante "
                          "da Nolvea funciona.");
}

DisplaySession::Verdict DisplaySession::judge(const Environment& env) {
    const QString platform = env.qpaPlatform.section(u':', 0, 0).trimmed();
    const bool wayland = !env.waylandDisplay.isEmpty() || env.sessionType == u"wayland";
    // A platform without a screen (offscreen, vnc, …) was chosen on purpose.
    if (!platform.isEmpty() && platform != u"xcb" && !platform.startsWith(u"wayland"))
        return {true, {}, {}};
    const QString notice = wayland ? waylandNotice() : QString();
    if (!env.display.isEmpty() && env.x11Reachable && !platform.startsWith(u"wayland"))
        return {true, notice, platform.isEmpty() ? QByteArray("xcb") : QByteArray()};
    if (wayland && env.waylandPluginInstalled && platform != u"xcb")
        return {true, notice, platform.isEmpty() ? QByteArray("wayland") : QByteArray()};
    if (!env.display.isEmpty()) return {false, unreachableMessage(env.display), {}};
    return {false, noDisplayMessage(), {}};
}

DisplaySession::Environment DisplaySession::current() {
    Environment env;
    env.display = qEnvironmentVariable("DISPLAY");
    env.waylandDisplay = qEnvironmentVariable("WAYLAND_DISPLAY");
    env.sessionType = qEnvironmentVariable("XDG_SESSION_TYPE");
    env.qpaPlatform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (!env.display.isEmpty()) {
        auto opened = X11Display::open(env.display.toLocal8Bit());
        env.x11Reachable = std::holds_alternative<std::unique_ptr<X11Display>>(opened);
    }
    const QDir plugins(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                       QStringLiteral("/platforms"));
    env.waylandPluginInstalled =
        !plugins.entryList({QStringLiteral("libqwayland*.so")}, QDir::Files).isEmpty();
    return env;
}

} // namespace nolvea
