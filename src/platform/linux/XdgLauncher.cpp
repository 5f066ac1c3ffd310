#include "platform/linux/XdgLauncher.h"

#include "platform/LaunchError.h"
#include "platform/linux/DesktopApplications.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

namespace nolvea {

namespace {

const QString kFileManagerService = QStringLiteral("org.freedesktop.FileManager1");

// Whether a file manager answers the common "show these items" call on the session bus.
bool fileManagerAvailable() {
    auto bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) return false;
    if (bus.interface()->isServiceRegistered(kFileManagerService)) return true;
    const auto activatable = bus.interface()->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(kFileManagerService);
}

} // namespace

void XdgLauncher::launch(const DesktopEntry& entry, const QStringList& targets) {
    QStringList argv = entry.command(targets);
    if (argv.isEmpty())
        throw LaunchError(QStringLiteral("O app \"%1\" tem um comando inválido.").arg(entry.name));
    if (entry.terminal) {
        const QString terminal =
            QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator"));
        if (terminal.isEmpty())
            throw LaunchError(QStringLiteral("O app \"%1\" precisa de um terminal, e nenhum está "
                                             "instalado.")
                                  .arg(entry.name));
        argv = QStringList{terminal, QStringLiteral("-e")} + argv;
    }
    const QString program = argv.takeFirst();
    const QString folder =
        QFileInfo(entry.workingDirectory).isDir() ? entry.workingDirectory : QDir::homePath();
    if (!QProcess::startDetached(program, argv, folder))
        throw LaunchError(QStringLiteral("Não foi possível abrir o app \"%1\".").arg(entry.name));
}

void XdgLauncher::openFile(const QString& path) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    const auto app = DesktopApplications().defaultFor(type.name());
    if (!app)
        throw LaunchError(QStringLiteral("Nenhum app está configurado para abrir \"%1\" (%2).")
                              .arg(QFileInfo(path).fileName(), type.name()));
    launch(*app, {path});
}

void XdgLauncher::revealFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (fileManagerAvailable()) {
        auto call = QDBusMessage::createMethodCall(
            kFileManagerService, QStringLiteral("/org/freedesktop/FileManager1"),
            kFileManagerService, QStringLiteral("ShowItems"));
        call << QStringList{QUrl::fromLocalFile(absolute).toString()} << QString();
        const auto reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
        if (reply.type() == QDBusMessage::ReplyMessage) return;
    }
    // Without such a file manager, the folder that holds the item is the closest thing.
    openFile(QFileInfo(absolute).absolutePath());
}

void XdgLauncher::openURL(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    DesktopApplications apps;
    auto app = apps.defaultFor(QStringLiteral("x-scheme-handler/") + scheme);
    if (!app && (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
        app = apps.defaultFor(QStringLiteral("text/html"));
    if (!app) {
        if (scheme == QLatin1String("mailto"))
            throw LaunchError(QStringLiteral("Nenhum app de e-mail está configurado para abrir o "
                                             "link."));
        throw LaunchError(QStringLiteral("Nenhum navegador está configurado para abrir o link."));
    }
    launch(*app, {url.toString(QUrl::FullyEncoded)});
}

void XdgLauncher::openApplication(const QString& name) {
    const auto app = DesktopApplications().find(name);
    if (!app)
        throw LaunchError(QStringLiteral("Nenhum app chamado \"%1\" está instalado.").arg(name));
    launch(*app, {});
}

} // namespace nolvea
