#pragma once

#include <QString>
#include <QStringList>

namespace nolvea::test {

// Applications for the XDG tests: real .desktop files in this process's temporary home, with
// the system folders pointed away from /usr/share. Each application is a small script that
// writes its arguments, one a line, to a file of `calls()`.
class DesktopFixture {
public:
    DesktopFixture();
    ~DesktopFixture();

    // Writes <data home>/applications/<id> for a recording program; `extra` lines are added
    // to the [Desktop Entry] group. Returns the file that receives its arguments.
    QString addApp(const QString& id, const QString& name, const QString& exec,
                   const QStringList& extra = {});
    // Writes a [Default Applications] line into the user's mimeapps.list.
    void setDefault(const QString& mimeType, const QString& id);

    // The recording program (put it in Exec with its arguments).
    QString recorder() const { return m_root + QStringLiteral("/record"); }
    // Where the recorder of `id` writes.
    QString callsOf(const QString& id) const;
    // Waits until the recorder of `id` has written, then returns the lines.
    QStringList waitForCall(const QString& id) const;

    QString root() const { return m_root; }

private:
    QString m_root;
    QStringList m_defaults;
};

} // namespace nolvea::test
