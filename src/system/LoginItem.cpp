#include "system/LoginItem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace nolvea {

LoginItem::LoginItem(QString entry, QString program)
    : m_entry(std::move(entry))
    , m_program(std::move(program)) {}

QString LoginItem::defaultEntryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/nolvea.desktop");
}

LoginItem LoginItem::current() {
    return LoginItem(defaultEntryPath(), QCoreApplication::applicationFilePath());
}

LoginItem::Status LoginItem::status() const {
    QFile file(m_entry);
    if (!file.open(QIODevice::ReadOnly)) return Status::notRegistered;
    bool inEntry = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry) continue;
        const qsizetype eq = line.indexOf('=');
        if (eq < 0) continue;
        const QByteArray key = line.left(eq).trimmed();
        const QByteArray value = line.mid(eq + 1).trimmed();
        if (key == "Hidden" && value == "true") return Status::notRegistered;
        if (key == "X-GNOME-Autostart-enabled" && value == "false") return Status::notRegistered;
    }
    return Status::enabled;
}

std::optional<QString> LoginItem::execValue(const QString& program) {
    if (program.isEmpty() || program.contains(u'\n') || program.contains(u'\r'))
        return std::nullopt;
    // Inside double quotes the launcher takes \" \` \$ \\ as the character itself.
    QString quoted;
    for (QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
        quoted += c;
    }
    quoted = u'"' + quoted + u'"';
    // Then the value is a desktop-entry string, where a backslash is written twice, and a
    // field code starts at every percent sign.
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    quoted.replace(u'%', QStringLiteral("%%"));
    return quoted;
}

bool LoginItem::registerItem() const {
    const auto exec = execValue(m_program);
    if (!exec) return false;
    QDir().mkpath(QFileInfo(m_entry).absolutePath());
    QSaveFile file(m_entry);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Nolvea\n"
                                        "Comment=Assistente de voz\n"
                                        "Exec=%1\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(*exec);
    file.write(text.toUtf8());
    return file.commit();
}

bool LoginItem::unregisterItem() const {
    return !QFile::exists(m_entry) || QFile::remove(m_entry);
}

} // namespace nolvea
