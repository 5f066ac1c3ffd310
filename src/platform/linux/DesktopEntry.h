#pragma once

#include <QStringList>

#include <optional>

namespace nolvea {

// One application described by a freedesktop .desktop file (its [Desktop Entry] group).
class DesktopEntry {
public:
    // Nothing when the file cannot be read or is not a desktop entry.
    static std::optional<DesktopEntry> load(const QString& path, const QString& id);

    QString id;   // the desktop file ID, e.g. "org.gnome.Nautilus.desktop"
    QString path; // the file it came from
    QString type;
    QString name;        // localized for pt-BR where the file offers it
    QString plainName;   // the untranslated Name
    QString genericName; // localized
    QString exec;
    QString tryExec;
    QString workingDirectory; // Path
    QString icon;             // a theme icon name or a file
    QString startupWMClass;   // the class its windows carry, when it is not the file ID
    QStringList mimeTypes;
    bool hidden = false;
    bool noDisplay = false;
    bool terminal = false;

    // Whether this entry can be started here (an application whose program exists).
    bool isLaunchable() const;

    // The argument vector that starts it with `targets` (local paths or URLs), following the
    // Exec quoting and field codes; empty when Exec cannot be parsed.
    QStringList command(const QStringList& targets = {}) const;

    // Exec split into arguments, quoting removed, field codes left in place.
    static std::optional<QStringList> splitExec(const QString& exec);
};

} // namespace nolvea
