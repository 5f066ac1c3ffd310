#pragma once

#include <QString>

#include <optional>

namespace nolvea {

// Starting Nolvea when the desktop session starts, as an XDG autostart entry
// ($XDG_CONFIG_HOME/autostart/nolvea.desktop).
class LaunchAtLogin {
public:
    static QString entryPath();
    // The entry exists and is not switched off inside.
    static bool isEnabled();
    // Writes or removes the entry starting `program`; the reason when that failed.
    static std::optional<QString> setEnabled(bool enabled, const QString& program);
    // The entry's text for `program`.
    static QByteArray entry(const QString& program);
    // `program` as one argument of an Exec line.
    static QString execArgument(const QString& program);

    LaunchAtLogin() = delete;
};

} // namespace nolvea
