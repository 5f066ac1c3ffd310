#pragma once

#include "platform/linux/DesktopEntry.h"

#include <QList>

namespace nolvea {

// The installed applications and the default application of each MIME type, read from the
// XDG folders as they are at the moment of the call ($XDG_DATA_HOME, $XDG_DATA_DIRS,
// $XDG_CONFIG_HOME, $XDG_CONFIG_DIRS and the desktop's own mimeapps lists).
class DesktopApplications {
public:
    DesktopApplications();

    const QList<DesktopEntry>& entries() const { return m_entries; }
    std::optional<DesktopEntry> byId(const QString& id) const;

    // The application that opens `mimeType` (or, failing that, one of its parent types):
    // the user's and the system's defaults first, then the added associations, then any
    // application that declares the type. Only launchable entries count.
    std::optional<DesktopEntry> defaultFor(const QString& mimeType) const;

    // The application a person means by `name`: the displayed name, the generic name, the
    // desktop file ID or the program, compared without case or accents.
    std::optional<DesktopEntry> find(const QString& name) const;

    // The application whose windows carry `windowClass`: its StartupWMClass, else its file ID
    // (in full or as the last part of a reverse domain name), else its program; compared
    // without case.
    std::optional<DesktopEntry> forWindowClass(const QString& windowClass) const;

    // Folders searched for .desktop files, most important first.
    static QStringList applicationFolders();

private:
    std::optional<DesktopEntry> handlerFor(const QString& mimeType) const;

    QList<DesktopEntry> m_entries;
    QMap<QString, QStringList> m_defaults; // type -> IDs, in order of preference
    QMap<QString, QStringList> m_added;
    QMap<QString, QStringList> m_removed;
};

} // namespace nolvea
