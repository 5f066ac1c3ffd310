#pragma once

#include <QString>

#include <optional>

namespace nolvea {

// Starting the program when the person logs in: an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/nolvea.desktop, that runs this executable.
class LoginItem {
public:
    enum class Status { notRegistered, enabled };

    // `entry` is the autostart file, `program` the executable it starts.
    LoginItem(QString entry, QString program);
    // This program's entry in the user's autostart folder.
    static LoginItem current();
    static QString defaultEntryPath();

    // Enabled while the entry exists and is neither hidden nor switched off.
    Status status() const;
    // Writes the entry for `program`, replacing any earlier one in one step: a failed write
    // leaves the old entry as it was.
    bool registerItem() const;
    bool unregisterItem() const;

    // The Exec value that runs `program` with no arguments, quoted and escaped as desktop
    // entries require; nothing for a path that cannot be written there (a line break).
    static std::optional<QString> execValue(const QString& program);

    QString entryPath() const { return m_entry; }

private:
    QString m_entry;
    QString m_program;
};

} // namespace nolvea
