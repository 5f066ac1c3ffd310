#include "ui/settings/LaunchAtLogin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace nolvea {

QString LaunchAtLogin::entryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/nolvea.desktop");
}

bool LaunchAtLogin::isEnabled() {
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false") return false;
    }
    return true;
}

QString LaunchAtLogin::execArgument(const QString& program) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = false;
    for (QChar c : program)
        if (reserved.contains(c)) quote = true;
    QString arg;
    for (QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') arg += u'\\';
        arg += c;
    }
    if (quote) arg = u'"' + arg + u'"';
    // Exec is a string value: its own backslashes are escaped once more.
    arg.replace(u'\\', QStringLiteral("\\\\"));
    // A field code would be expanded by the launcher.
    arg.replace(u'%', QStringLiteral("%%"));
    return arg;
}

QByteArray LaunchAtLogin::entry(const QString& program) {
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=Nolvea\n"
                                  "Comment=Assistente de voz\nExec=");
    text += execArgument(program);
    text += QStringLiteral("\nTerminal=false\nX-GNOME-Autostart-enabled=true\n");
    return text.toUtf8();
}

std::optional<QString> LaunchAtLogin::setEnabled(bool enabled, const QString& program) {
    const QString path = entryPath();
    if (!enabled) {
        if (!QFileInfo::exists(path) || QFile::remove(path)) return std::nullopt;
        return QStringLiteral("Não deu para apagar ") + path;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QStringLiteral("Não deu para criar a pasta de início automático");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(entry(program)) < 0 || !file.commit())
        return QStringLiteral("Não deu para gravar ") + path;
    return std::nullopt;
}

} // namespace nolvea
