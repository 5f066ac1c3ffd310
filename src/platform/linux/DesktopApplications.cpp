#include "platform/linux/DesktopApplications.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSet>

namespace nolvea {

namespace {

QString homeFolder(const char* variable, const QString& fallback) {
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? QDir::homePath() + fallback : value;
}

QStringList folderList(const char* variable, const QString& fallback) {
    QString value = qEnvironmentVariable(variable);
    if (value.isEmpty()) value = fallback;
    return value.split(u':', Qt::SkipEmptyParts);
}

// "[Group]" -> key -> ";"-separated IDs, keeping the first value of each key per file.
void readMimeApps(const QString& path, QMap<QString, QStringList>& defaults,
                  QMap<QString, QStringList>& added, QMap<QString, QStringList>& removed) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    QMap<QString, QStringList>* group = nullptr;
    QSet<QString> seen;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        if (line.startsWith(u'[')) {
            if (line == QLatin1String("[Default Applications]"))
                group = &defaults;
            else if (line == QLatin1String("[Added Associations]"))
                group = &added;
            else if (line == QLatin1String("[Removed Associations]"))
                group = &removed;
            else
                group = nullptr;
            seen.clear();
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!group || eq <= 0) continue;
        const QString type = line.left(eq).trimmed();
        if (seen.contains(type)) continue;
        seen.insert(type);
        // Files read earlier matter more: their IDs stay in front.
        (*group)[type] += line.mid(eq + 1).split(u';', Qt::SkipEmptyParts);
    }
}

// Lower case without accents, so "calculadora" finds "Calculadora" and "musica" "Música".
QString folded(const QString& text) {
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing) out += c.toCaseFolded();
    return out.trimmed();
}

} // namespace

QStringList DesktopApplications::applicationFolders() {
    QStringList folders{homeFolder("XDG_DATA_HOME", QStringLiteral("/.local/share")) +
                        QStringLiteral("/applications")};
    for (const QString& dir :
         folderList("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share")))
        folders << dir + QStringLiteral("/applications");
    return folders;
}

DesktopApplications::DesktopApplications() {
    QSet<QString> ids;
    for (const QString& folder : applicationFolders()) {
        QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files,
                        QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        QStringList found;
        while (it.hasNext())
            found << it.next();
        found.sort();
        for (const QString& path : found) {
            // The ID is the path below the folder with "/" turned into "-".
            const QString id = QDir(folder).relativeFilePath(path).replace(u'/', u'-');
            if (ids.contains(id)) continue; // an earlier folder overrides this one
            ids.insert(id);
            if (auto entry = DesktopEntry::load(path, id)) m_entries << *entry;
        }
    }

    // mimeapps.list lookup order: config home, config dirs, data home, data dirs; in each
    // folder the desktop's own list first.
    QStringList desktops;
    for (const QString& d :
         qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts))
        desktops << d.toLower();
    QStringList folders{homeFolder("XDG_CONFIG_HOME", QStringLiteral("/.config"))};
    folders << folderList("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    folders << applicationFolders();
    for (const QString& folder : folders) {
        for (const QString& d : desktops)
            readMimeApps(folder + u'/' + d + QStringLiteral("-mimeapps.list"), m_defaults, m_added,
                         m_removed);
        readMimeApps(folder + QStringLiteral("/mimeapps.list"), m_defaults, m_added, m_removed);
    }
    // The older name of the defaults file, read last.
    for (const QString& folder : applicationFolders())
        readMimeApps(folder + QStringLiteral("/defaults.list"), m_defaults, m_added, m_removed);
}

std::optional<DesktopEntry> DesktopApplications::byId(const QString& id) const {
    for (const auto& e : m_entries)
        if (e.id == id) return e;
    return std::nullopt;
}

std::optional<DesktopEntry> DesktopApplications::handlerFor(const QString& mimeType) const {
    const QStringList removed = m_removed.value(mimeType);
    const auto usable = [&](const QString& id) -> std::optional<DesktopEntry> {
        if (removed.contains(id)) return std::nullopt;
        auto e = byId(id);
        if (e && e->isLaunchable()) return e;
        return std::nullopt;
    };
    for (const QString& id : m_defaults.value(mimeType))
        if (auto e = usable(id)) return e;
    for (const QString& id : m_added.value(mimeType))
        if (auto e = usable(id)) return e;
    for (const auto& e : m_entries)
        if (e.mimeTypes.contains(mimeType) && !removed.contains(e.id) && e.isLaunchable()) return e;
    return std::nullopt;
}

std::optional<DesktopEntry> DesktopApplications::defaultFor(const QString& mimeType) const {
    if (auto e = handlerFor(mimeType)) return e;
    const QMimeType type = QMimeDatabase().mimeTypeForName(mimeType);
    if (type.isValid())
        for (const QString& parent : type.allAncestors())
            if (auto e = handlerFor(parent)) return e;
    return std::nullopt;
}

std::optional<DesktopEntry> DesktopApplications::forWindowClass(const QString& windowClass) const {
    if (windowClass.isEmpty()) return std::nullopt;
    const auto same = [&windowClass](const QString& s) {
        return s.compare(windowClass, Qt::CaseInsensitive) == 0;
    };
    const auto stem = [](const DesktopEntry& e) { return e.id.chopped(8); }; // ".desktop"
    const std::function<bool(const DesktopEntry&)> rules[] = {
        [&](const DesktopEntry& e) { return same(e.startupWMClass); },
        [&](const DesktopEntry& e) { return same(stem(e)); },
        [&](const DesktopEntry& e) { return same(stem(e).section(u'.', -1)); },
        [&](const DesktopEntry& e) {
            const auto argv = DesktopEntry::splitExec(e.exec);
            return argv && !argv->isEmpty() && same(QFileInfo(argv->first()).fileName());
        },
    };
    for (const auto& rule : rules)
        for (const auto& e : m_entries)
            if (!e.hidden && e.id.endsWith(QLatin1String(".desktop")) && rule(e)) return e;
    return std::nullopt;
}

std::optional<DesktopEntry> DesktopApplications::find(const QString& name) const {
    const QString wanted = folded(name);
    if (wanted.isEmpty()) return std::nullopt;
    const auto program = [](const DesktopEntry& e) {
        const auto argv = DesktopEntry::splitExec(e.exec);
        return argv && !argv->isEmpty() ? QFileInfo(argv->first()).fileName() : QString();
    };
    QString idWanted = wanted;
    if (!idWanted.endsWith(QLatin1String(".desktop"))) idWanted += QStringLiteral(".desktop");
    // Most telling first; within a rule, entries shown in menus before hidden helpers.
    const std::function<bool(const DesktopEntry&)> rules[] = {
        [&](const DesktopEntry& e) { return folded(e.name) == wanted; },
        [&](const DesktopEntry& e) { return folded(e.plainName) == wanted; },
        [&](const DesktopEntry& e) {
            return folded(e.id) == idWanted || folded(e.id).endsWith(u'.' + idWanted);
        },
        [&](const DesktopEntry& e) { return folded(program(e)) == wanted; },
        [&](const DesktopEntry& e) { return folded(e.genericName) == wanted; },
    };
    for (const auto& rule : rules)
        for (bool shown : {true, false})
            for (const auto& e : m_entries)
                if (e.noDisplay != shown && e.isLaunchable() && rule(e)) return e;
    return std::nullopt;
}

} // namespace nolvea
